#include "windows/KeyAssignmentText.h"

#include "model/CombTable.h"
#include "model/MacroTable.h"
#include "resources/KeyNameTable.h"
#include "resources/LanguageTable.h"

#include <QCoreApplication>

#include <array>
#include <optional>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("KeyAssignmentText", text);
}

QString text(const char16_t* key) {
    return LanguageTable::instance().text(QString::fromUtf16(key));
}

// The base function list: rows 0-8 are edit shortcuts, rows 9-13 system functions.
constexpr std::array<const char16_t*, 14> BaseFunctions = {
    u"str_cut",  u"str_copy", u"str_past", u"str_all",   u"str_find", u"str_new", u"str_print",
    u"str_save", u"str_undo", u"str_swap", u"str_close", u"str_lock", u"str_run", u"str_show"};

// The media page's buttons in index order.
constexpr std::array<const char16_t*, 18> MediaFunctions = {
    u"str_players",   u"str_play",   u"str_stop", u"str_pre",     u"str_next",     u"str_voldown",
    u"str_volup",     u"str_mute",   u"str_back", u"str_forword", u"str_b_stop",   u"str_refresh",
    u"str_favorites", u"str_search", u"str_mail", u"str_home",    u"str_explorer", u"str_cal"};

std::optional<QString> mouseButton(std::int32_t code) {
    switch (code) {
        case 1:
            return text(u"str_mouse_left");
        case 2:
            return text(u"str_mouse_right");
        case 4:
            return text(u"str_mouse_middle");
        case 16:
            return text(u"str_mouse_pre");
        case 8:
            return text(u"str_mouse_next");
        default:
            return std::nullopt;
    }
}

template <std::size_t N>
std::optional<QString> listed(const std::array<const char16_t*, N>& keys, std::int32_t index) {
    if (index < 0 || std::size_t(index) >= N)
        return std::nullopt;
    return text(keys[std::size_t(index)]);
}

std::optional<QString> macroName(std::int32_t index) {
    MacroTable macros;
    macros.LoadFromImage();
    if (const std::optional<tagMacroInfo> macro = macros.RecordAt(index))
        return macro->name;
    return std::nullopt;
}

std::optional<QString> combination(std::int32_t index) {
    CombTable combinations;
    combinations.LoadFromImage();
    const QString keys = combinations.DisplayText(index, &KeyNameTable::name);
    return keys.isEmpty() ? std::nullopt : std::optional(keys);
}

QString quoted(const QString& name) {
    return QChar(0x201C) + name + QChar(0x201D);
}

// "Kind: detail", or the kind alone when the stored value names nothing it knows.
QString withDetail(const QString& kind, const std::optional<QString>& detail) {
    return detail ? kind + QStringLiteral(": ") + *detail : kind;
}

}  // namespace

QString KeyAssignmentText::describe(const KeyAssignment& assignment) {
    const std::int32_t value = assignment.value;
    switch (assignment.type) {
        case AssignNone:
        case AssignDefault:
            return tr("Default");
        case AssignSystem:
            return withDetail(tr("System"),
                              value >= 9 ? listed(BaseFunctions, value) : std::nullopt);
        case AssignMouse:
            return withDetail(tr("Mouse"), mouseButton(value));
        case AssignMacro:
            return withDetail(tr("Macro"), macroName(value));
        case AssignMedia:
            return withDetail(tr("Media"), listed(MediaFunctions, value));
        case AssignEdit:
            return withDetail(tr("Edit"), value <= 8 ? listed(BaseFunctions, value) : std::nullopt);
        case AssignCombination:
            return withDetail(tr("Keys"), combination(value));
        case AssignSingleKey:
            return withDetail(tr("Key"), value >= 0 && value <= 255
                                             ? std::optional(quoted(KeyNameTable::name(value)))
                                             : std::nullopt);
        default:
            return tr("Unknown function");
    }
}
