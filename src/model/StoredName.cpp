#include "model/StoredName.h"

#include "platform/LittleEndian.h"

#include <algorithm>

QString StoredName::read(ConstField field) {
    QString name;
    for (std::size_t unit = 0; unit < std::size_t(Units); ++unit) {
        const char16_t c = le::readU16(field, unit * 2);
        if (c == 0)
            break;
        name.append(QChar(c));
    }
    return fit(name);
}

void StoredName::write(Field field, const QString& name) {
    std::ranges::fill(field, std::uint8_t(0));
    const QString stored = fit(name);
    for (qsizetype unit = 0; unit < stored.size(); ++unit)
        le::writeU16(field, std::size_t(unit) * 2, stored.at(unit).unicode());
}

QString StoredName::fit(const QString& name) {
    const qsizetype nul = name.indexOf(QChar(0));
    return cut(nul < 0 ? name : name.left(nul), MaxLength);
}

QString StoredName::cut(const QString& text, qsizetype units) {
    if (units <= 0)
        return {};
    if (text.size() <= units)
        return text;
    const bool splitsPair = text.at(units - 1).isHighSurrogate() && text.at(units).isLowSurrogate();
    return text.left(splitsPair ? units - 1 : units);
}
