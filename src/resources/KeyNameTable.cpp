#include "resources/KeyNameTable.h"

#include "platform/KeyboardLayout.h"

namespace {

// Codes with a name of their own; an empty result means "no entry".
QString fixedName(int code) {
    if (code >= 96 && code <= 105)
        return QStringLiteral("(%1)").arg(code - 96);
    if (code >= 112 && code <= 123)
        return QStringLiteral("F%1").arg(code - 111);
    switch (code) {
        case 8:
            return QStringLiteral("Backspace");
        case 9:
            return QStringLiteral("Tab");
        case 12:
            return QStringLiteral("Clr");
        case 13:
        case 43:
            return QStringLiteral("Enter");
        case 16:
            return QStringLiteral("Shift");
        case 17:
            return QStringLiteral("Ctrl");
        case 18:
            return QStringLiteral("Alt");
        case 19:
            return QStringLiteral("Pause");
        case 20:
            return QStringLiteral("CapsLock");
        case 27:
            return QStringLiteral("Esc");
        case 32:
            return QStringLiteral("Space");
        case 33:
            return QStringLiteral("PageUp");
        case 34:
            return QStringLiteral("PageDown");
        case 35:
            return QStringLiteral("End");
        case 36:
            return QStringLiteral("Home");
        case 37:
            return QStringLiteral("Left");
        case 38:
            return QStringLiteral("Up");
        case 39:
            return QStringLiteral("Right");
        case 40:
            return QStringLiteral("Down");
        case 41:
            return QStringLiteral("Select");
        case 42:
            return QStringLiteral("Print");
        case 44:
            return QStringLiteral("Snapshot");
        case 45:
            return QStringLiteral("Insert");
        case 46:
            return QStringLiteral("Delete");
        case 47:
            return QStringLiteral("Help");
        case 91:
            return QStringLiteral("Left Win");
        case 92:
            return QStringLiteral("Right Win");
        case 93:
            return QStringLiteral("Right App");
        case 106:
            return QStringLiteral("(*)");
        case 107:
            return QStringLiteral("(+)");
        case 108:
            return QStringLiteral("\\");
        case 109:
            return QStringLiteral("(-)");
        case 110:
            return QStringLiteral("(.)");
        case 111:
            return QStringLiteral("(/)");
        case 144:
            return QStringLiteral("Numlock");
        case 145:
            return QStringLiteral("Scroll Lock");
        case 160:
            return QStringLiteral("Left Shift");
        case 161:
            return QStringLiteral("Right Shift");
        case 162:
            return QStringLiteral("Left Ctrl");
        case 163:
            return QStringLiteral("Right Ctrl");
        case 164:
            return QStringLiteral("Left Alt");
        case 165:
            return QStringLiteral("Right Alt");
        case 173:
            return QStringLiteral("Mute");
        case 181:
            return QStringLiteral("Media Play");
        case 193:
            return QStringLiteral("Mode Key");
        case 194:
            return QStringLiteral("S-");
        case 195:
            return QStringLiteral("S+");
        case 196:
            return QStringLiteral("Win Key Lock");
        case 218:
            return QStringLiteral("(Enter)");
        default:
            return {};
    }
}

}  // namespace

QString KeyNameTable::name(int keyCode) {
    if (keyCode == 0 || keyCode == 255)
        return {};
    const QString fixed = fixedName(keyCode);
    return fixed.isEmpty() ? layoutName(keyCode) : fixed;
}

QString KeyNameTable::layoutName(int keyCode) {
    const char32_t c = KeyboardLayout::unshiftedCharacter(keyCode);
    if (c == 0)
        return {};
    // Simple case mapping: one character stays one character ("ß" does not become "SS").
    const char32_t upper = QChar::toUpper(c);
    return QString::fromUcs4(&upper, 1);
}
