#pragma once

#include "model/CombTable.h"
#include "model/KeySettingImage.h"
#include "model/MacroTable.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <span>
#include <vector>

// The 185476 bytes of a profile file, field by field (little-endian, no header):
// name, programPath and docName as 260 UTF-16 units each, autoSwitch (int32), then the
// combination, macro and key images as they are stored.
class ProfileImage {
public:
    static constexpr std::size_t NameOffset = 0;
    static constexpr std::size_t ProgramPathOffset = 520;
    static constexpr std::size_t DocNameOffset = 1040;
    static constexpr std::size_t AutoSwitchOffset = 1560;
    static constexpr std::size_t CombOffset = 1564;
    static constexpr std::size_t MacroOffset = CombOffset + CombTable::ImageSize;  // 53968
    static constexpr std::size_t KeyOffset = MacroOffset + MacroTable::ImageSize;  // 184372
    static constexpr std::size_t Size = KeyOffset + KeySettingImage::Size;         // 185476

    using CombSection = std::span<std::uint8_t, CombTable::ImageSize>;
    using MacroSection = std::span<std::uint8_t, MacroTable::ImageSize>;
    using KeySection = std::span<std::uint8_t, KeySettingImage::Size>;
    using ConstCombSection = std::span<const std::uint8_t, CombTable::ImageSize>;
    using ConstMacroSection = std::span<const std::uint8_t, MacroTable::ImageSize>;
    using ConstKeySection = std::span<const std::uint8_t, KeySettingImage::Size>;

    // All zero: empty strings and tables.
    ProfileImage() : bytes_(Size, 0) {}
    // The first Size bytes of a file's content; a shorter file leaves the rest zero.
    static ProfileImage fromFileContent(const QByteArray& content);

    // Each string up to its first NUL.
    QString name() const { return text(NameOffset); }
    QString programPath() const { return text(ProgramPathOffset); }
    QString docName() const { return text(DocNameOffset); }
    std::int32_t autoSwitch() const;

    // Writes the text (cut to 259 units) and one NUL; the field's bytes after that keep what
    // they held, as an edit over an existing image leaves them.
    void setName(const QString& name) { setText(NameOffset, name); }
    void setProgramPath(const QString& path) { setText(ProgramPathOffset, path); }
    void setDocName(const QString& docName) { setText(DocNameOffset, docName); }
    void setAutoSwitch(std::int32_t autoSwitch);

    CombSection combSection() {
        return CombSection(bytes_.data() + CombOffset, CombTable::ImageSize);
    }
    MacroSection macroSection() {
        return MacroSection(bytes_.data() + MacroOffset, MacroTable::ImageSize);
    }
    KeySection keySection() { return KeySection(bytes_.data() + KeyOffset, KeySettingImage::Size); }
    ConstCombSection combSection() const {
        return ConstCombSection(bytes_.data() + CombOffset, CombTable::ImageSize);
    }
    ConstMacroSection macroSection() const {
        return ConstMacroSection(bytes_.data() + MacroOffset, MacroTable::ImageSize);
    }
    ConstKeySection keySection() const {
        return ConstKeySection(bytes_.data() + KeyOffset, KeySettingImage::Size);
    }

    std::span<const std::uint8_t, Size> bytes() const {
        return std::span<const std::uint8_t, Size>(bytes_.data(), Size);
    }
    QByteArray toByteArray() const;

    friend bool operator==(const ProfileImage&, const ProfileImage&) = default;

private:
    QString text(std::size_t offset) const;
    void setText(std::size_t offset, const QString& text);

    std::vector<std::uint8_t> bytes_;  // always Size bytes; on the heap, as rows hold seven
};
