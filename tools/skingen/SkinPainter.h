#pragma once

#include "Description.h"

#include <QImage>

// The look a control shows in one picture of its set.
struct ControlLook {
    enum Kind { Idle, Hover, Pressed } kind = Idle;
    bool alternative = false;  // Normal2 and Down2
};

// The look every control has in the picture of the given state word.
ControlLook lookForState(const QString& state);

// A whole-window picture of the set in one state; keys are drawn where the set has a keyboard.
// The result holds no key-colour pixel except outside a rounded outline.
QImage paintSkin(const SkinSet& set, const QString& state, const QList<KeyCap>& keys);

// One list icon, transparent around its mark; the glyph "app" is the application's icon.
QImage paintListIcon(const IconFile& icon, int size);
