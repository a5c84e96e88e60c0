// A key-capture library that lacks SetHookStatus and removehook, and notes every call made
// into it, for the tests of the tool's side.
#include <cstdint>
#include <string>

namespace {
std::string calls;
}

extern "C" __attribute__((visibility("default"))) void installhook(std::int32_t value) {
    calls += "installhook(" + std::to_string(value) + ") ";
}

extern "C" __attribute__((visibility("default"))) void setwindowhwnd(std::uint32_t window) {
    calls += "setwindowhwnd(" + std::to_string(window) + ") ";
}

extern "C" __attribute__((visibility("default"))) const char* fixtureCalls() {
    return calls.c_str();
}
