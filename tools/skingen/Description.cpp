#include "Description.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>

namespace {

// [left, top, right, bottom] with right and bottom exclusive, as the windows give them.
bool toRect(const QJsonValue& value, QRect& rect) {
    const QJsonArray a = value.toArray();
    if (a.size() != 4)
        return false;
    rect = QRect(QPoint(a[0].toInt(), a[1].toInt()), QPoint(a[2].toInt() - 1, a[3].toInt() - 1));
    return rect.isValid();
}

bool parseRect(const QString& text, QRect& rect) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return false;
    }
    rect = QRect(QPoint(v[0], v[1]), QPoint(v[2] - 1, v[3] - 1));
    return rect.isValid();
}

}  // namespace

bool readDescription(const QString& path, Description& out, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (doc.isNull()) {
        error = path + QStringLiteral(": ") + parseError.errorString();
        return false;
    }
    const QJsonObject root = doc.object();
    for (const QJsonValue& setValue : root.value(QStringLiteral("sets")).toArray()) {
        const QJsonObject s = setValue.toObject();
        SkinSet set;
        set.name = s.value(QStringLiteral("name")).toString();
        const QJsonArray size = s.value(QStringLiteral("size")).toArray();
        set.size = QSize(size.at(0).toInt(), size.at(1).toInt());
        for (const QJsonValue& st : s.value(QStringLiteral("states")).toArray())
            set.states << st.toString();
        set.roundedOutline = s.value(QStringLiteral("outline")).toString() == u"rounded";
        set.page = s.value(QStringLiteral("page")).toBool();
        if (set.name.isEmpty() || set.size.isEmpty() || set.states.isEmpty()) {
            error = QStringLiteral("a skin set lacks its name, size or states");
            return false;
        }
        for (const QJsonValue& itemValue : s.value(QStringLiteral("items")).toArray()) {
            const QJsonObject o = itemValue.toObject();
            SkinItem item;
            item.kind = o.value(QStringLiteral("kind")).toString();
            if (!toRect(o.value(QStringLiteral("rect")), item.rect)) {
                error = set.name + QStringLiteral(": an item of kind '") + item.kind +
                        QStringLiteral("' has no valid rect");
                return false;
            }
            item.alt = o.value(QStringLiteral("alt")).toString();
            item.icon = o.value(QStringLiteral("icon")).toString();
            item.label = o.value(QStringLiteral("label")).toString();
            item.art = o.value(QStringLiteral("art")).toString();
            const QJsonObject repeat = o.value(QStringLiteral("repeat")).toObject();
            const int count = repeat.isEmpty() ? 1 : repeat.value(QStringLiteral("count")).toInt();
            const int dy = repeat.value(QStringLiteral("dy")).toInt();
            for (int i = 0; i < count; ++i) {
                SkinItem copy = item;
                copy.rect.translate(0, i * dy);
                set.items << copy;
            }
        }
        out.sets << set;
    }
    const QJsonObject icons = root.value(QStringLiteral("icons")).toObject();
    out.iconSize = icons.value(QStringLiteral("size")).toInt(16);
    for (const QJsonValue& v : icons.value(QStringLiteral("files")).toArray()) {
        const QJsonObject o = v.toObject();
        out.icons << IconFile{
            o.value(QStringLiteral("file")).toString(), o.value(QStringLiteral("glyph")).toString(),
            o.value(QStringLiteral("selected")).toBool(), o.value(QStringLiteral("size")).toInt(0)};
    }
    if (out.sets.isEmpty()) {
        error = path + QStringLiteral(": no skin sets");
        return false;
    }
    return true;
}

bool readKeyLayout(const QString& path, QList<KeyCap>& out, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"key")
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        KeyCap key;
        key.name = a.value(QStringLiteral("name")).toString();
        bool ok = false;
        key.vkcode = a.value(QStringLiteral("vkcode")).toString().toInt(&ok, 16);
        if (!ok || !parseRect(a.value(QStringLiteral("CRect")).toString(), key.rect)) {
            error = path + QStringLiteral(": key '") + key.name +
                    QStringLiteral("' has a bad vkcode or CRect");
            return false;
        }
        out << key;
    }
    if (xml.hasError()) {
        error = path + QStringLiteral(": ") + xml.errorString();
        return false;
    }
    return true;
}
