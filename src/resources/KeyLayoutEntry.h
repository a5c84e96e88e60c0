#pragma once

#include <QString>
#include <cstdint>

// One on-screen key of the keyboard picture.
struct KeyLayoutEntry {
    struct Rect {
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t right = 0;
        std::int32_t bottom = 0;
        friend bool operator==(const Rect&, const Rect&) = default;
    };

    QString name;
    std::uint8_t vkcode = 0;
    QString buttontip;
    Rect rect;                 // main window client pixels
    std::int32_t kstatus = 0;  // 0 or 1

    friend bool operator==(const KeyLayoutEntry&, const KeyLayoutEntry&) = default;
};
