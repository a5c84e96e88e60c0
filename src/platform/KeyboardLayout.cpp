#include "platform/KeyboardLayout.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>

#include <xkbcommon/xkbcommon.h>

#include <array>
#include <memory>

namespace {

// One key: its virtual-key code, the evdev code of its position on a US keyboard and the
// character a US layout gives for it unshifted (0 for none), used when no layout compiles.
// Where codes share a key, the entry listed first is the one a key event maps back to.
struct Key {
    int virtualKey;
    int evdev;
    char32_t us;
};

// clang-format off
constexpr Key Keys[] = {
    {8, 14, 0},     // Backspace
    {9, 15, 0},     // Tab
    {13, 28, 0},    // Enter
    {13, 96, 0},    // keypad Enter
    {19, 119, 0},   // Pause
    {20, 58, 0},    // Caps Lock
    {27, 1, 0},     // Esc
    {32, 57, U' '}, // Space
    {33, 104, 0},   // Page Up
    {34, 109, 0},   // Page Down
    {35, 107, 0},   // End
    {36, 102, 0},   // Home
    {37, 105, 0},   // Left
    {38, 103, 0},   // Up
    {39, 106, 0},   // Right
    {40, 108, 0},   // Down
    {44, 99, 0},    // Print Screen
    {45, 110, 0},   // Insert
    {46, 111, 0},   // Delete
    // 0 to 9
    {48, 11, U'0'}, {49, 2, U'1'}, {50, 3, U'2'}, {51, 4, U'3'}, {52, 5, U'4'},
    {53, 6, U'5'}, {54, 7, U'6'}, {55, 8, U'7'}, {56, 9, U'8'}, {57, 10, U'9'},
    // A to Z
    {65, 30, U'a'}, {66, 48, U'b'}, {67, 46, U'c'}, {68, 32, U'd'}, {69, 18, U'e'},
    {70, 33, U'f'}, {71, 34, U'g'}, {72, 35, U'h'}, {73, 23, U'i'}, {74, 36, U'j'},
    {75, 37, U'k'}, {76, 38, U'l'}, {77, 50, U'm'}, {78, 49, U'n'}, {79, 24, U'o'},
    {80, 25, U'p'}, {81, 16, U'q'}, {82, 19, U'r'}, {83, 31, U's'}, {84, 20, U't'},
    {85, 22, U'u'}, {86, 47, U'v'}, {87, 17, U'w'}, {88, 45, U'x'}, {89, 21, U'y'},
    {90, 44, U'z'},
    {91, 125, 0},   // Left Win
    {92, 126, 0},   // Right Win
    {93, 127, 0},   // Menu
    {93, 139, 0},   // the menu key some keyboards report instead
    {95, 142, 0},   // Sleep
    // keypad 0 to 9 (read with NumLock off, as the layout starts), whatever the NumLock state
    {96, 82, 0}, {97, 79, 0}, {98, 80, 0}, {99, 81, 0}, {100, 75, 0},
    {101, 76, 0}, {102, 77, 0}, {103, 71, 0}, {104, 72, 0}, {105, 73, 0},
    // keypad * + separator - . /
    {106, 55, U'*'}, {107, 78, U'+'}, {108, 121, 0}, {109, 74, U'-'}, {110, 83, 0},
    {111, 98, U'/'},
    {12, 76, 0},    // Clear: keypad 5 without NumLock
    // F1 to F12
    {112, 59, 0}, {113, 60, 0}, {114, 61, 0}, {115, 62, 0}, {116, 63, 0}, {117, 64, 0},
    {118, 65, 0}, {119, 66, 0}, {120, 67, 0}, {121, 68, 0}, {122, 87, 0}, {123, 88, 0},
    // F13 to F24
    {124, 183, 0}, {125, 184, 0}, {126, 185, 0}, {127, 186, 0}, {128, 187, 0}, {129, 188, 0},
    {130, 189, 0}, {131, 190, 0}, {132, 191, 0}, {133, 192, 0}, {134, 193, 0}, {135, 194, 0},
    {144, 69, 0},   // Num Lock
    {145, 70, 0},   // Scroll Lock
    {160, 42, 0},   // Left Shift
    {161, 54, 0},   // Right Shift
    {162, 29, 0},   // Left Ctrl
    {163, 97, 0},   // Right Ctrl
    {164, 56, 0},   // Left Alt
    {165, 100, 0},  // Right Alt (AltGr)
    // Shift, Ctrl, Alt without a side: the left key
    {16, 42, 0}, {17, 29, 0}, {18, 56, 0},
    // browser back, forward, refresh, stop, search, favourites, home
    {166, 158, 0}, {167, 159, 0}, {168, 173, 0}, {169, 128, 0}, {170, 217, 0},
    {171, 156, 0}, {172, 172, 0},
    // mute, volume down, volume up
    {173, 113, 0}, {174, 114, 0}, {175, 115, 0},
    // next, previous, stop, play/pause (also where play and pause are separate keys)
    {176, 163, 0}, {177, 165, 0}, {178, 166, 0}, {179, 164, 0}, {179, 200, 0}, {179, 201, 0},
    // mail, media player, file browser ("my computer", two codes), calculator
    {180, 155, 0}, {181, 171, 0}, {182, 144, 0}, {182, 157, 0}, {183, 140, 0},
    // ; = , - . / ` [ \ ] '
    {186, 39, U';'}, {187, 13, U'='}, {188, 51, U','}, {189, 12, U'-'}, {190, 52, U'.'},
    {191, 53, U'/'}, {192, 41, U'`'}, {219, 26, U'['}, {220, 43, U'\\'}, {221, 27, U']'},
    {222, 40, U'\''},
    {226, 86, U'<'},  // the extra key beside Left Shift on 105-key boards
};
// clang-format on

const Key* keyForVirtualKey(int virtualKey) {
    for (const Key& key : Keys)
        if (key.virtualKey == virtualKey)
            return &key;
    return nullptr;
}

// A dead key gives no character of its own; what is printed on it is its spacing accent.
char32_t spacingAccent(xkb_keysym_t sym) {
    switch (sym) {
        case XKB_KEY_dead_grave:
            return U'`';
        case XKB_KEY_dead_acute:
            return U'\u00B4';
        case XKB_KEY_dead_circumflex:
            return U'^';
        case XKB_KEY_dead_tilde:
            return U'~';
        case XKB_KEY_dead_macron:
            return U'\u00AF';
        case XKB_KEY_dead_breve:
            return U'\u02D8';
        case XKB_KEY_dead_abovedot:
            return U'\u02D9';
        case XKB_KEY_dead_diaeresis:
            return U'\u00A8';
        case XKB_KEY_dead_abovering:
            return U'\u02DA';
        case XKB_KEY_dead_doubleacute:
            return U'\u02DD';
        case XKB_KEY_dead_caron:
            return U'\u02C7';
        case XKB_KEY_dead_cedilla:
            return U'\u00B8';
        case XKB_KEY_dead_ogonek:
            return U'\u02DB';
        default:
            return 0;
    }
}

bool printable(char32_t c) {
    return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0);
}

struct ContextDeleter {
    void operator()(xkb_context* context) const { xkb_context_unref(context); }
};
struct KeymapDeleter {
    void operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
};
struct StateDeleter {
    void operator()(xkb_state* state) const { xkb_state_unref(state); }
};

// The system keyboard setting as Debian keeps it for the console and X.
QString systemSetting(const QString& field) {
    QFile file(QStringLiteral("/etc/default/keyboard"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QRegularExpression line(QStringLiteral("^\\s*%1\\s*=\\s*\"?([^\"\\s]*)\"?").arg(field),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromUtf8(file.read(64 * 1024)));
    return match.hasMatch() ? match.captured(1) : QString();
}

class Layout {
public:
    static Layout& current() {
        static Layout layout;
        return layout;
    }

    void choose(const QString& layout, const QString& variant) {
        state_.reset();
        keymap_.reset();
        name_ = QStringLiteral("us");
        // A fresh context reads the environment (XKB_CONFIG_ROOT, XKB_DEFAULT_*) as it is now.
        context_.reset(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
        if (!context_)
            return;
        // An unknown layout name falls back to US; it is not something to print.
        xkb_context_set_log_level(context_.get(), XKB_LOG_LEVEL_CRITICAL);
        if (layout.isEmpty() && qEnvironmentVariableIsEmpty("XKB_DEFAULT_LAYOUT")) {
            const QString setting = systemSetting(QStringLiteral("XKBLAYOUT"));
            if (!setting.isEmpty() && compile(setting, systemSetting(QStringLiteral("XKBVARIANT"))))
                return;
        } else if (compile(layout, variant)) {
            return;
        }
        compile(QStringLiteral("us"), {});
    }

    const QString& name() const { return name_; }

    char32_t character(int virtualKey) const {
        const Key* key = keyForVirtualKey(virtualKey);
        if (!key)
            return 0;
        if (!state_)
            return key->us;
        const xkb_keycode_t code = xkb_keycode_t(key->evdev + 8);
        char32_t c = xkb_state_key_get_utf32(state_.get(), code);
        if (c == 0)
            c = spacingAccent(xkb_state_key_get_one_sym(state_.get(), code));
        return printable(c) ? c : 0;
    }

private:
    Layout() { choose({}, {}); }

    // An empty layout lets xkbcommon take the XKB_DEFAULT_* environment variables.
    bool compile(const QString& layout, const QString& variant) {
        const QByteArray layoutBytes = layout.toUtf8();
        const QByteArray variantBytes = variant.toUtf8();
        xkb_rule_names names{};
        if (!layout.isEmpty()) {
            names.rules = "evdev";
            names.model = "pc105";
            names.layout = layoutBytes.constData();
            names.variant = variantBytes.constData();
            names.options = "";
        }
        std::unique_ptr<xkb_keymap, KeymapDeleter> keymap(
            xkb_keymap_new_from_names(context_.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
        if (!keymap)
            return false;
        std::unique_ptr<xkb_state, StateDeleter> state(xkb_state_new(keymap.get()));
        if (!state)
            return false;
        name_ = layout.isEmpty() ? qEnvironmentVariable("XKB_DEFAULT_LAYOUT") : layout;
        keymap_ = std::move(keymap);
        state_ = std::move(state);
        return true;
    }

    std::unique_ptr<xkb_context, ContextDeleter> context_;
    std::unique_ptr<xkb_keymap, KeymapDeleter> keymap_;
    std::unique_ptr<xkb_state, StateDeleter> state_;
    QString name_ = QStringLiteral("us");
};

}  // namespace

void KeyboardLayout::setLayout(const QString& layout, const QString& variant) {
    Layout::current().choose(layout, variant);
}

QString KeyboardLayout::layout() {
    return Layout::current().name();
}

char32_t KeyboardLayout::unshiftedCharacter(int virtualKey) {
    return Layout::current().character(virtualKey);
}

int KeyboardLayout::evdevCode(int virtualKey) {
    const Key* key = keyForVirtualKey(virtualKey);
    return key ? key->evdev : 0;
}

int KeyboardLayout::virtualKey(int evdevCode) {
    for (const Key& key : Keys)
        if (key.evdev == evdevCode)
            return key.virtualKey;
    return 0;
}

int KeyboardLayout::virtualKeyOfNativeKey(quint32 nativeScanCode) {
    // XKB numbers its keys from 8, the first code X11 can carry; evdev code 0 is no key.
    constexpr quint32 XkbOffset = 8;
    if (nativeScanCode <= XkbOffset || nativeScanCode > XkbOffset + 0xFFFF)
        return 0;
    return virtualKey(int(nativeScanCode - XkbOffset));
}
