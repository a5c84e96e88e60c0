#pragma once

#include <cstdint>

// The exports of the key-capture library, looked up by name by the tool. Each takes at most
// one 32-bit argument and returns nothing.
#define KBGETKEY_EXPORT extern "C" __attribute__((visibility("default")))

// Starts watching keys; the argument is unused.
KBGETKEY_EXPORT void installhook(std::int32_t unused);
// Stops watching keys. Safe to call again, or without installhook.
KBGETKEY_EXPORT void removehook();
// The window that receives the keys from now on (a window handle of the tool's window table).
KBGETKEY_EXPORT void setwindowhwnd(std::uint32_t window);
// Nonzero: keys are wanted and reported; 0: nothing is reported.
KBGETKEY_EXPORT void SetHookStatus(std::int32_t status);
