#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// The skin pictures every window and button takes its look from. A skin is a set of
// pixel-aligned pictures of a whole window, one per look ("Normal", "Down", "Over",
// "Normal2", "Down2"); a control at rectangle R takes its images from R of each picture.

// executable directory + "skins/" + name + "_" + state + ".bmp"
QString skinPath(const QString& skinName, const QString& state);

// Loads the picture file into bitmap, replacing what it held, and returns its size. A missing
// or undecodable file leaves bitmap empty and returns 0 x 0: every control copes with an
// empty bitmap by drawing nothing.
QSize LoadPictureFile(const QString& path, QPixmap& bitmap);

// Makes target a copy of source's area [left, right) x [top, bottom). A source without an
// image leaves target as it was.
void CopyBitmapRect(QPixmap& target, const QPixmap& source, int left, int top, int right,
                    int bottom);
