#pragma once

#include "model/KeyAssignment.h"

#include <QString>

// A key's assignment in words, for screen readers: "Default", "Media: Mute", "Macro: Greeting",
// "Keys: “Ctrl” + “C”", "Key: “A”", "Mouse: Left button", "Edit: Copy", "System: Lock
// computer". The function names are the language strings the assignment pages show for them;
// macros and combinations are looked up in the stored images, which are always current.
class KeyAssignmentText {
public:
    static QString describe(const KeyAssignment& assignment);
};
