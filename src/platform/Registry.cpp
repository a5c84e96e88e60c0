#include "platform/Registry.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstring>

namespace {
constexpr std::size_t kTypeHeaderSize = 4;

bool isPlainName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}
}  // namespace

QString Registry::keyDirectory(const QString& keyPath) {
    QStringList parts = keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (!parts.isEmpty() &&
        parts.first().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    if (parts.isEmpty())
        return {};
    for (const QString& part : parts)
        if (!isPlainName(part))
            return {};
    return Paths::configHome() + QLatin1Char('/') + parts.join(QLatin1Char('/'));
}

std::optional<Registry> Registry::openKey(const QString& keyPath) {
    const QString directory = keyDirectory(keyPath);
    if (directory.isEmpty() || !QFileInfo(directory).isDir())
        return std::nullopt;
    return Registry(directory);
}

std::optional<Registry> Registry::createKey(const QString& keyPath) {
    const QString directory = keyDirectory(keyPath);
    if (directory.isEmpty() || !Paths::makeDirectories(directory) || !QFileInfo(directory).isDir())
        return std::nullopt;
    return Registry(directory);
}

QString Registry::valuePath(const QString& name) const {
    if (directory_.isEmpty() || !isPlainName(name))
        return {};
    return directory_ + QLatin1Char('/') + name;
}

std::optional<Registry::ValueInfo> Registry::queryValue(const QString& name,
                                                        std::span<std::uint8_t> buffer) const {
    const QString path = valuePath(name);
    if (path.isEmpty())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // One byte more than fits tells a too-long value from one that fits exactly.
    const QByteArray bytes = file.read(qint64(kTypeHeaderSize + buffer.size() + 1));
    if (bytes.size() < qsizetype(kTypeHeaderSize))
        return std::nullopt;
    const std::size_t dataSize = std::size_t(bytes.size()) - kTypeHeaderSize;
    if (dataSize > buffer.size())
        return std::nullopt;

    const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    ValueInfo info;
    info.type = std::uint32_t(raw[0]) | std::uint32_t(raw[1]) << 8 | std::uint32_t(raw[2]) << 16 |
                std::uint32_t(raw[3]) << 24;
    info.size = dataSize;
    if (dataSize > 0)
        std::memcpy(buffer.data(), raw + kTypeHeaderSize, dataSize);
    return info;
}

bool Registry::setValue(const QString& name, std::uint32_t type,
                        std::span<const std::uint8_t> data) {
    const QString path = valuePath(name);
    if (path.isEmpty() || !QFileInfo(directory_).isDir())
        return false;
    QByteArray bytes;
    bytes.reserve(qsizetype(kTypeHeaderSize + data.size()));
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((type >> shift) & 0xFF));
    bytes.append(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
    return AtomicFile::replace(path, bytes);
}
