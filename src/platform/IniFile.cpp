#include "platform/IniFile.h"

#include "platform/AtomicFile.h"

#include <QByteArrayList>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {
const QByteArray Utf8Bom("\xEF\xBB\xBF");

// The file as lines of raw bytes, so that lines a write does not touch keep their bytes
// even where they are not valid UTF-8.
struct Lines {
    QByteArrayList lines;
    QByteArray newline = "\n";
    bool bom = false;

    static std::optional<Lines> read(const QString& path) {
        Lines file;
        QFile in(path);
        if (!in.exists())
            return file;
        if (!in.open(QIODevice::ReadOnly))
            return std::nullopt;
        QByteArray bytes = in.readAll();
        if (in.error() != QFileDevice::NoError)
            return std::nullopt;
        if (bytes.startsWith(Utf8Bom)) {
            file.bom = true;
            bytes.remove(0, Utf8Bom.size());
        }
        const qsizetype firstBreak = bytes.indexOf('\n');
        if (firstBreak > 0 && bytes.at(firstBreak - 1) == '\r')
            file.newline = "\r\n";
        if (bytes.isEmpty())
            return file;
        file.lines = bytes.split('\n');
        if (file.lines.back().isEmpty())
            file.lines.pop_back();  // the break after the last line
        for (QByteArray& line : file.lines)
            if (line.endsWith('\r'))
                line.chop(1);
        return file;
    }

    QByteArray bytes() const {
        QByteArray out = bom ? Utf8Bom : QByteArray();
        for (const QByteArray& line : lines)
            out += line + newline;
        return out;
    }
};

QString text(const QByteArray& line) {
    return QString::fromUtf8(line).trimmed();
}

// The name of a section header line; null for any other line.
QString sectionOf(const QString& line) {
    if (!line.startsWith(QLatin1Char('[')))
        return {};
    const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
    if (close < 0)
        return {};
    const QString name = line.mid(1, close - 1).trimmed();
    return name.isNull() ? QStringLiteral("") : name;
}

struct Entry {
    QString key;
    std::optional<QString> value;  // none for a line without "="
};

std::optional<Entry> entryOf(const QString& line) {
    if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
        return std::nullopt;
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return Entry{line, std::nullopt};
    return Entry{line.left(equals).trimmed(), line.mid(equals + 1).trimmed()};
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isQuote(QChar c) {
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

// What the caller's buffer receives: a pair of quotes around the value taken off, then as
// much as fits before the NUL, never half of a surrogate pair.
QString intoBuffer(QString value) {
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    qsizetype length = std::min<qsizetype>(value.size(), IniFile::BufferUnits - 1);
    if (length < value.size() && length > 0 && value.at(length - 1).isHighSurrogate())
        --length;
    return value.left(length);
}

// The line range [begin, end) of the first section of that name: begin is its header.
struct SectionRange {
    qsizetype header = -1;
    qsizetype end = 0;
};

SectionRange findSection(const QByteArrayList& lines, const QString& section) {
    SectionRange range;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = sectionOf(text(lines[i]));
        if (name.isNull())
            continue;
        if (range.header >= 0) {
            range.end = i;
            return range;
        }
        if (sameName(name, section.trimmed()))
            range.header = i;
    }
    range.end = lines.size();
    return range;
}

bool breaksLines(const QString& s) {
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r')) || s.contains(QChar(0));
}

bool acceptable(const QString& section, const QString& key, const QString& value) {
    const QString trimmedKey = key.trimmed();
    return !breaksLines(section) && !breaksLines(key) && !breaksLines(value) &&
           !section.contains(QLatin1Char(']')) && !trimmedKey.isEmpty() &&
           !trimmedKey.contains(QLatin1Char('=')) && !trimmedKey.startsWith(QLatin1Char('[')) &&
           !trimmedKey.startsWith(QLatin1Char(';'));
}

// Reading takes the blanks and one pair of quotes off a value; quoting keeps such values
// as they are.
QString asWritten(const QString& value) {
    const bool blankAtEnds =
        !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    const bool quotedAlready =
        value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
    return blankAtEnds || quotedAlready ? QLatin1Char('"') + value + QLatin1Char('"') : value;
}
}  // namespace

bool IniFile::exists() const {
    return QFileInfo(path_).isFile();
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
    QString fallback = defaultValue;
    while (fallback.endsWith(QLatin1Char(' ')))
        fallback.chop(1);

    const std::optional<Lines> file = Lines::read(path_);
    if (!file)
        return intoBuffer(fallback);
    const SectionRange range = findSection(file->lines, section);
    if (range.header < 0)
        return intoBuffer(fallback);
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const std::optional<Entry> entry = entryOf(text(file->lines[i]));
        if (entry && sameName(entry->key, key.trimmed()))
            return intoBuffer(entry->value.value_or(fallback));
    }
    return intoBuffer(fallback);
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    if (!acceptable(section, key, value))
        return false;
    std::optional<Lines> file = Lines::read(path_);
    if (!file)
        return false;  // never replace a file that could not be read

    const QByteArray line = (key.trimmed() + QLatin1Char('=') + asWritten(value)).toUtf8();
    QByteArrayList& lines = file->lines;
    const SectionRange range = findSection(lines, section);
    if (range.header < 0) {
        if (!lines.isEmpty() && !text(lines.back()).isEmpty())
            lines.append(QByteArray());
        lines.append(('[' + section.trimmed() + ']').toUtf8());
        lines.append(line);
        return AtomicFile::replaceThroughLinks(path_, file->bytes());
    }

    qsizetype lastFilled = range.header;
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const QString current = text(lines[i]);
        const std::optional<Entry> entry = entryOf(current);
        if (entry && sameName(entry->key, key.trimmed())) {
            lines[i] = line;
            return AtomicFile::replaceThroughLinks(path_, file->bytes());
        }
        if (!current.isEmpty())
            lastFilled = i;
    }
    lines.insert(lastFilled + 1, line);
    return AtomicFile::replaceThroughLinks(path_, file->bytes());
}
