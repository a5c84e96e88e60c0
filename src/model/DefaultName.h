#pragma once

#include <QString>
#include <QStringList>

// The name for a new macro or combination: "<prefix> <k>" with the smallest k >= 1 that no
// name in the list already equals (compared exactly, so letter case counts). Candidates and
// names are compared as they will be stored: the prefix is shortened so that the whole
// candidate, number included, fits the name field (see StoredName).
QString defaultName(const QString& prefix, const QStringList& names);
