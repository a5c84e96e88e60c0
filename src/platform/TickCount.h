#pragma once

#include <cstdint>
#include <functional>

// The system's millisecond tick count: a steady clock, cut to 32 bits, so differences of two
// readings taken less than 49 days apart are right even across the wrap.
class TickCount {
public:
    static std::uint32_t now();
    // Replaces the clock for tests that need to decide how much time passes; an empty
    // function brings the steady clock back.
    static void setSourceForTesting(std::function<std::uint32_t()> source);
};
