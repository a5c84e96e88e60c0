#include "WindowTables.h"

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QStringConverter>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// The strings under the first "config" element below the root, as the tool reads them.
QHash<QString, QString> shippedStrings() {
    QHash<QString, QString> strings;
    QFile file(appDir() + QStringLiteral("/language.xml"));
    if (!file.open(QIODevice::ReadOnly))
        return strings;
    QXmlStreamReader xml(&file);
    int depth = 0;
    bool inConfig = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (--depth == 1)
                inConfig = false;
        } else if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth == 2 && xml.name() == u"config" && strings.isEmpty())
                inConfig = true;
            else if (depth == 3 && inConfig && !strings.contains(xml.name().toString())) {
                const QString name = xml.name().toString();
                strings.insert(name, xml.readElementText());
                --depth;
            }
        }
    }
    if (xml.hasError())
        strings.clear();
    return strings;
}

const QStringList kKeys =
    QStringLiteral(
        "str_title str_restore str_config str_config_msg1 str_version str_settingdoc str_docname "
        "str_autopath str_autoswitch str_import str_export str_profile_title str_buttondefault "
        "str_buttonedit str_singlecomb str_macro str_base str_media str_mouse str_OK str_Cancel "
        "str_Apply str_Restore str_singlekey str_combkey str_input_key str_comblist "
        "str_startrecord "
        "str_endrecord str_new str_del str_baseinfo str_mouseinfo str_macrolist str_editlist "
        "str_looptimes str_autodelay str_modifydelay str_newmacro str_mouse_left str_mouse_right "
        "str_mouse_middle str_mouse_dbclick str_mouse_pre str_mouse_next str_swap str_close "
        "str_lock "
        "str_run str_show str_cut str_copy str_past str_all str_find str_print str_save str_undo "
        "str_media_info1 str_media_info2 str_players str_play str_stop str_pre str_next "
        "str_voldown "
        "str_volup str_mute str_back str_forword str_refresh str_b_stop str_search str_favorites "
        "str_home str_mail str_explorer str_cal str_exit str_configuration str_profile str_comb "
        "str_tip str_msg1 str_msg4 str_msg5 str_restore_title str_rate_title str_rate_msg "
        "str_enter_clup str_update_tip str_update_msg")
        .split(u' ');

TEST(LanguageFile, IsUtf8WithADeclarationAndHoldsEveryString) {
    QFile file(appDir() + QStringLiteral("/language.xml"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    auto decoder = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    EXPECT_FALSE(decoder.hasError());

    ASSERT_EQ(kKeys.size(), 92);
    const QHash<QString, QString> strings = shippedStrings();
    for (const QString& key : kKeys) {
        SCOPED_TRACE(key.toStdString());
        ASSERT_TRUE(strings.contains(key));
        EXPECT_FALSE(strings.value(key).trimmed().isEmpty());
    }
    EXPECT_TRUE(strings.value("str_title").contains(u"Halda"));
}

// Every shown string fits the room its window gives it, in the windows' own font.
TEST(LanguageFile, EveryShownStringFitsItsPlace) {
    const QHash<QString, QString> s = shippedStrings();
    ASSERT_FALSE(s.isEmpty());
    QFont painted(QStringLiteral("Arial"));
    painted.setPixelSize(14);
    painted.setWeight(QFont::Light);
    QFont list = painted;
    list.setWeight(QFont::Normal);
    const QFontMetrics text(painted), rows(list);
    // Captions start 8 pixels in and stop 5 before the right edge of their button.
    auto button = [](int width) { return width - 13; };
    // List rows start 5 pixels in; leave room for a vertical scroll bar.
    auto row = [](int width) { return width - 5 - 20; };

    struct Place {
        QString text;
        int width;
        const QFontMetrics* metrics;
    };
    const QList<Place> places = {
        {s["str_OK"], button(62), &text},
        {s["str_Cancel"], button(62), &text},
        {s["str_Apply"], button(64), &text},
        {s["str_config"], button(127), &text},
        {s["str_restore"], button(127), &text},
        {s["str_Restore"], button(106), &text},
        {s["str_singlecomb"], button(92), &text},
        {s["str_macro"], button(92), &text},
        {s["str_base"], button(91), &text},
        {s["str_media"], button(92), &text},
        {s["str_mouse"], button(93), &text},
        {s["str_singlekey"], button(64), &text},
        {s["str_combkey"], button(72), &text},
        {s["str_startrecord"], button(103), &text},
        {s["str_endrecord"], button(103), &text},
        {s["str_new"], button(57), &text},
        {s["str_del"], button(57), &text},
        {s["str_looptimes"], button(71), &text},
        {s["str_autodelay"], button(71), &text},
        {s["str_modifydelay"], button(65), &text},
        {s["str_import"], button(105), &text},
        {s["str_export"], button(104), &text},
        {s["str_profile_title"] + " 1", button(173), &text},
        {s["str_config_msg1"], 216, &text},
        {s["str_settingdoc"], 111, &text},
        {s["str_docname"], 108, &text},
        {s["str_autopath"], 107, &text},
        {s["str_autoswitch"], 111, &text},
        {s["str_version"] + ":V1.0", 178, &text},
        {s["str_buttonedit"], 140, &text},
        {s["str_buttondefault"] + u'\uFF1A', 80, &text},
        {s["str_input_key"], 104, &text},
        {s["str_comblist"], 113, &text},
        {s["str_combkey"], 139, &text},
        {s["str_baseinfo"], 231, &text},
        {s["str_macrolist"], 112, &text},
        {s["str_editlist"], 121, &text},
        {s["str_media_info1"], 127, &text},
        {s["str_media_info2"], 127, &text},
        {s["str_profile_title"], 140, &text},
        {s["str_rate_title"], 108, &text},
        {s["str_restore_title"], 108, &text},
        {s["str_rate_msg"], 229, &text},
        {s["str_msg5"], 227, &text},
        {s["str_enter_clup"], 91, &text},
        {s["str_newmacro"] + " 11", row(116), &rows},
        {s["str_comb"] + " 100", row(116), &rows},
        {s["str_mouse_left"], row(237), &rows},
        {s["str_mouse_right"], row(237), &rows},
        {s["str_mouse_middle"], row(237), &rows},
        {s["str_mouse_pre"], row(237), &rows},
        {s["str_mouse_next"], row(237), &rows},
    };
    for (const Place& p : places)
        EXPECT_LE(p.metrics->horizontalAdvance(p.text), p.width)
            << p.text.toStdString() << " is too wide for " << p.width << " pixels";
    for (const char* key :
         {"str_cut", "str_copy", "str_past", "str_all", "str_find", "str_new", "str_print",
          "str_save", "str_undo", "str_swap", "str_close", "str_lock", "str_run", "str_show"})
        EXPECT_LE(rows.horizontalAdvance(s[key]), row(352)) << key;
}

}  // namespace
