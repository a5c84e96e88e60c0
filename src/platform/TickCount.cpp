#include "platform/TickCount.h"

#include <chrono>
#include <utility>

namespace {
std::function<std::uint32_t()>& testSource() {
    static std::function<std::uint32_t()> source;
    return source;
}
}  // namespace

std::uint32_t TickCount::now() {
    if (const auto& source = testSource())
        return source();
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return std::uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void TickCount::setSourceForTesting(std::function<std::uint32_t()> source) {
    testSource() = std::move(source);
}
