#pragma once

#include <QString>

// The display name of a key code: fixed English words for the keys that have one, and for
// every other code the character the current keyboard layout prints on that key.
class KeyNameTable {
public:
    static QString name(int keyCode);

    // The unshifted character of the key in the current layout, letters upper-cased; empty
    // when the code gives no character. Shared by every table that falls back to the layout.
    static QString layoutName(int keyCode);
};
