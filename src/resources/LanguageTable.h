#pragma once

#include "resources/XmlDocument.h"

#include <QHash>
#include <QString>
#include <QStringView>
#include <array>

// Every user-interface string, keyed by its str_ name. One table in the process.
class LanguageTable {
public:
    // The keys in the order they are looked up; str_new comes twice, so 93 lookups fill 92
    // strings.
    static constexpr int LookupCount = 93;
    static constexpr int StringCount = 92;
    static const std::array<const char16_t*, LookupCount>& lookupKeys();

    static LanguageTable& instance();

    // Reads the language file; a missing or unreadable file leaves every string empty. A key
    // is taken from the first "config" element under the root, or from a "config" element
    // nested inside that one.
    void load(const QString& path);
    // The string for a str_ key; empty for an unknown key or a key the file lacks.
    QString text(const QString& key) const;

    // The document the strings were read from; it lives as long as the table.
    const XmlDocument& document() const { return document_; }

private:
    QString lookUp(QStringView key);

    XmlDocument document_;
    QHash<QString, QString> strings_;
};
