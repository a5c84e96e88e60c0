#include "store/ProfileImage.h"

#include "model/StoredName.h"
#include "platform/LittleEndian.h"

#include <algorithm>

ProfileImage ProfileImage::fromFileContent(const QByteArray& content) {
    ProfileImage image;
    const std::size_t used = std::min<std::size_t>(std::size_t(content.size()), Size);
    std::copy_n(reinterpret_cast<const std::uint8_t*>(content.constData()), used,
                image.bytes_.begin());
    return image;
}

std::int32_t ProfileImage::autoSwitch() const {
    return le::readI32(bytes_, AutoSwitchOffset);
}

void ProfileImage::setAutoSwitch(std::int32_t autoSwitch) {
    le::writeI32(bytes_, AutoSwitchOffset, autoSwitch);
}

QByteArray ProfileImage::toByteArray() const {
    return QByteArray(reinterpret_cast<const char*>(bytes_.data()), qsizetype(Size));
}

QString ProfileImage::text(std::size_t offset) const {
    return StoredName::read(StoredName::ConstField(bytes_.data() + offset, StoredName::Bytes));
}

void ProfileImage::setText(std::size_t offset, const QString& text) {
    const QString stored = StoredName::fit(text);
    std::span<std::uint8_t> field(bytes_.data() + offset, StoredName::Bytes);
    for (qsizetype unit = 0; unit < stored.size(); ++unit)
        le::writeU16(field, std::size_t(unit) * 2, stored.at(unit).unicode());
    le::writeU16(field, std::size_t(stored.size()) * 2, 0);
}
