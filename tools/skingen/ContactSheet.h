#pragma once

#include <QImage>
#include <QList>
#include <QString>

struct SheetEntry {
    QString label;
    QImage image;
};

// Every picture of a set on one row, labelled, rows one under another; small images are
// shown enlarged so that icons can be judged.
QImage contactSheet(const QList<QList<SheetEntry>>& rows);
