#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// One window message as it travels between processes: one connection carries one frame of
// 24 little-endian bytes {uint32 message, uint32 kind, uint64 wParam, int64 lParam}; for a
// send the receiver answers with the int64 little-endian result.
struct WindowFrame {
    enum Kind : std::uint32_t { Post = 0, Send = 1 };
    static constexpr std::size_t Size = 24;
    static constexpr std::size_t ReplySize = 8;

    std::uint32_t message = 0;
    std::uint32_t kind = Post;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;

    std::array<std::uint8_t, Size> encode() const;
    // Fails on a kind other than post or send: such a frame is dropped unread.
    static std::optional<WindowFrame> decode(const std::array<std::uint8_t, Size>& bytes);

    static std::array<std::uint8_t, ReplySize> encodeReply(std::int64_t result);
    static std::int64_t decodeReply(const std::array<std::uint8_t, ReplySize>& bytes);
};
