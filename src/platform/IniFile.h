#pragma once

#include <QString>
#include <QStringList>

// An INI file read and written as the Windows profile-string functions do it: section and
// key names compare without regard to case, a missing file, section or key gives the
// default, the first write creates the file and the section. Every call reads the file
// anew. On disk it is UTF-8; a write replaces the file atomically (through any symbolic
// link to the real file, keeping its mode).
class IniFile {
public:
    // A value is read into a buffer of this many UTF-16 units, NUL included.
    static constexpr int BufferUnits = 260;

    explicit IniFile(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }
    bool exists() const;

    // The key's value, without the blanks around it and without a pair of quotes around it,
    // or else the default without its trailing blanks; cut to BufferUnits - 1 units.
    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue = {}) const;

    // Sets the key's value: an existing key keeps its place, a new one ends its section,
    // a new section ends the file. Values with blanks or quotes at either end are written
    // in quotes so they read back as given. A name or value that would break the file's
    // lines (a line break or NUL; "=" or a leading "[" or ";" in a key; "]" in a section)
    // is refused and the file left as it was.
    bool writeString(const QString& section, const QString& key, const QString& value);

private:
    QString path_;
};
