#include "resources/LanguageTable.h"

const std::array<const char16_t*, LanguageTable::LookupCount>& LanguageTable::lookupKeys() {
    static const std::array<const char16_t*, LookupCount> keys = {
        u"str_title",         u"str_restore",      u"str_config",        u"str_config_msg1",
        u"str_version",       u"str_settingdoc",   u"str_docname",       u"str_autopath",
        u"str_autoswitch",    u"str_import",       u"str_export",        u"str_profile_title",
        u"str_buttondefault", u"str_buttonedit",   u"str_singlecomb",    u"str_macro",
        u"str_base",          u"str_media",        u"str_mouse",         u"str_OK",
        u"str_Cancel",        u"str_Apply",        u"str_Restore",       u"str_singlekey",
        u"str_combkey",       u"str_input_key",    u"str_comblist",      u"str_startrecord",
        u"str_endrecord",     u"str_new",          u"str_del",           u"str_baseinfo",
        u"str_mouseinfo",     u"str_macrolist",    u"str_editlist",      u"str_looptimes",
        u"str_autodelay",     u"str_modifydelay",  u"str_newmacro",      u"str_mouse_left",
        u"str_mouse_right",   u"str_mouse_middle", u"str_mouse_dbclick", u"str_mouse_pre",
        u"str_mouse_next",    u"str_swap",         u"str_close",         u"str_lock",
        u"str_run",           u"str_show",         u"str_cut",           u"str_copy",
        u"str_past",          u"str_all",          u"str_find",          u"str_new",
        u"str_print",         u"str_save",         u"str_undo",          u"str_media_info1",
        u"str_media_info2",   u"str_players",      u"str_play",          u"str_stop",
        u"str_pre",           u"str_next",         u"str_voldown",       u"str_volup",
        u"str_mute",          u"str_back",         u"str_forword",       u"str_refresh",
        u"str_b_stop",        u"str_search",       u"str_favorites",     u"str_home",
        u"str_mail",          u"str_explorer",     u"str_cal",           u"str_exit",
        u"str_configuration", u"str_profile",      u"str_comb",          u"str_tip",
        u"str_msg1",          u"str_msg4",         u"str_msg5",          u"str_restore_title",
        u"str_rate_title",    u"str_rate_msg",     u"str_enter_clup",    u"str_update_tip",
        u"str_update_msg",
    };
    return keys;
}

LanguageTable& LanguageTable::instance() {
    static LanguageTable table;
    return table;
}

void LanguageTable::load(const QString& path) {
    strings_.clear();
    document_ = XmlDocument();
    if (document_.LoadFile(path))
        document_.ParseDocument();
    for (const char16_t* key : lookupKeys()) {
        const QString name = QString::fromUtf16(key);
        strings_.insert(name, lookUp(name));
    }
}

QString LanguageTable::lookUp(QStringView key) {
    document_.Rewind();
    while (document_.NextChildElement(u"config")) {
        document_.EnterElement();
        if (document_.NextChildElement(key))
            return document_.ChildText();
    }
    return {};
}

QString LanguageTable::text(const QString& key) const {
    return strings_.value(key);
}
