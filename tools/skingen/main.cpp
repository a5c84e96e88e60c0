// Draws the skin pictures and list icons of the tool from the skin description and the key
// layout, and a contact sheet of all of them for review.
//
//   halda_skingen <skins.json> <ButtonPos.xml> <skins output folder> <contact sheet.png>

#include "ContactSheet.h"
#include "Description.h"
#include "SkinPainter.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

namespace {

bool save(const QImage& image, const QString& path, const char* format) {
    if (image.save(path, format))
        return true;
    QTextStream(stderr) << "halda_skingen: cannot write " << path << "\n";
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Painting text needs a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        QTextStream(stderr) << "usage: halda_skingen <skins.json> <ButtonPos.xml> <skins folder> "
                               "<contact sheet.png>\n";
        return 2;
    }
    Description description;
    QList<KeyCap> keys;
    QString error;
    if (!readDescription(args[1], description, error) || !readKeyLayout(args[2], keys, error)) {
        QTextStream(stderr) << "halda_skingen: " << error << "\n";
        return 1;
    }
    const QDir out(args[3]);
    if (!QDir().mkpath(out.filePath(QStringLiteral("icon")))) {
        QTextStream(stderr) << "halda_skingen: cannot create " << out.path() << "\n";
        return 1;
    }

    QList<QList<SheetEntry>> sheet;
    for (const SkinSet& set : description.sets) {
        QList<SheetEntry> row;
        for (const QString& state : set.states) {
            const QImage image = paintSkin(set, state, keys);
            const QString name = set.name + u'_' + state + QStringLiteral(".bmp");
            if (!save(image, out.filePath(name), "BMP"))
                return 1;
            row << SheetEntry{name, image};
        }
        sheet << row;
    }
    QList<SheetEntry> icons;
    for (const IconFile& icon : description.icons) {
        const QImage image = paintListIcon(icon, icon.size > 0 ? icon.size : description.iconSize);
        if (!save(image, out.filePath(QStringLiteral("icon/") + icon.file), "PNG"))
            return 1;
        icons << SheetEntry{icon.file, image};
    }
    sheet << icons;
    return save(contactSheet(sheet), args[4], "PNG") ? 0 : 1;
}
