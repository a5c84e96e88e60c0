#include "resources/LanguageTable.h"

LanguageTable& LanguageTable::instance() {
    static LanguageTable table;
    return table;
}

void LanguageTable::load(const QString&) {
    // The language file is not read yet: every string stays empty.
}

QString LanguageTable::text(const QString&) const {
    return {};
}
