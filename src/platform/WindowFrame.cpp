#include "platform/WindowFrame.h"

#include "platform/LittleEndian.h"

namespace {
void writeU64(std::span<std::uint8_t> bytes, std::size_t offset, std::uint64_t value) {
    le::writeU32(bytes, offset, std::uint32_t(value));
    le::writeU32(bytes, offset + 4, std::uint32_t(value >> 32));
}

std::uint64_t readU64(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return std::uint64_t(le::readU32(bytes, offset)) | std::uint64_t(le::readU32(bytes, offset + 4))
                                                           << 32;
}
}  // namespace

std::array<std::uint8_t, WindowFrame::Size> WindowFrame::encode() const {
    std::array<std::uint8_t, Size> bytes{};
    le::writeU32(bytes, 0, message);
    le::writeU32(bytes, 4, kind);
    writeU64(bytes, 8, wParam);
    writeU64(bytes, 16, std::uint64_t(lParam));
    return bytes;
}

std::optional<WindowFrame> WindowFrame::decode(const std::array<std::uint8_t, Size>& bytes) {
    WindowFrame frame;
    frame.message = le::readU32(bytes, 0);
    frame.kind = le::readU32(bytes, 4);
    if (frame.kind != Post && frame.kind != Send)
        return std::nullopt;
    frame.wParam = readU64(bytes, 8);
    frame.lParam = std::int64_t(readU64(bytes, 16));
    return frame;
}

std::array<std::uint8_t, WindowFrame::ReplySize> WindowFrame::encodeReply(std::int64_t result) {
    std::array<std::uint8_t, ReplySize> bytes{};
    writeU64(bytes, 0, std::uint64_t(result));
    return bytes;
}

std::int64_t WindowFrame::decodeReply(const std::array<std::uint8_t, ReplySize>& bytes) {
    return std::int64_t(readU64(bytes, 0));
}
