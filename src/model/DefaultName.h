#pragma once

#include <QString>
#include <QStringList>

// The name for a new macro or combination: "<prefix> <k>" with the smallest k >= 1 that no
// name in the list already equals (compared exactly, so letter case counts).
QString defaultName(const QString& prefix, const QStringList& names);
