#include "model/StoredName.h"

#include "platform/LittleEndian.h"

#include <algorithm>

QString StoredName::read(ConstField field) {
    QString name;
    for (std::size_t unit = 0; unit < std::size_t(MaxLength); ++unit) {
        const char16_t c = le::readU16(field, unit * 2);
        if (c == 0)
            break;
        name.append(QChar(c));
    }
    return name;
}

void StoredName::write(Field field, const QString& name) {
    std::ranges::fill(field, std::uint8_t(0));
    const QString stored = fit(name);
    for (qsizetype unit = 0; unit < stored.size(); ++unit)
        le::writeU16(field, std::size_t(unit) * 2, stored.at(unit).unicode());
}

QString StoredName::fit(const QString& name) {
    qsizetype length = name.indexOf(QChar(0));
    if (length < 0)
        length = name.size();
    return name.left(std::min<qsizetype>(length, MaxLength));
}
