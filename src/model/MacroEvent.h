#pragma once

#include <cstdint>

// One recorded key transition, 8 bytes when stored: keyCode, released, two zero bytes,
// then the pause after it.
struct MacroEvent {
    static constexpr int RecordSize = 8;

    std::uint8_t keyCode = 0;
    std::uint8_t released = 0;  // 0 press, 1 release
    std::int32_t delayMs = 0;   // pause before the next event; 0 for none

    friend bool operator==(const MacroEvent&, const MacroEvent&) = default;
};
