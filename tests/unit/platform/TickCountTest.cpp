#include "platform/TickCount.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(TickCount, CountsMillisecondsOfTheSteadyClock) {
    const auto before = std::chrono::steady_clock::now();
    const std::uint32_t first = TickCount::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const std::uint32_t second = TickCount::now();
    const auto passed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - before);
    // 32-bit differences, as the callers take them.
    EXPECT_GE(std::uint32_t(second - first), 30u);
    EXPECT_LE(std::uint32_t(second - first), std::uint32_t(passed.count()) + 1);
}

TEST(TickCount, TestsCanDecideTheTime) {
    std::uint32_t now = 0xFFFFFFF0u;
    TickCount::setSourceForTesting([&] { return now; });
    EXPECT_EQ(TickCount::now(), 0xFFFFFFF0u);
    now += 0x20;  // across the wrap
    EXPECT_EQ(TickCount::now(), 0x10u);
    TickCount::setSourceForTesting({});
    EXPECT_NE(TickCount::now(), 0x10u);
}
