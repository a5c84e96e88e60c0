#pragma once

#include <QString>

// Every user-interface string, keyed by its str_ name. One table in the process.
class LanguageTable {
public:
    static LanguageTable& instance();

    // Reads the language file; a missing or unreadable file leaves every string empty.
    void load(const QString& path);
    // The string for a str_ key; empty for an unknown key or a key the file lacks.
    QString text(const QString& key) const;
};
