#pragma once

#include "controls/SkinImages.h"
#include "model/CombTable.h"
#include "model/KeyTable.h"
#include "model/MacroTable.h"
#include "resources/LanguageTable.h"
#include "support/TempWorld.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSize>
#include <QString>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

// What the window tests put into the test world before they open a window: skins and a
// language file in its application folder, and the process-wide tables to start from.
namespace windowworld {

// The skin set skins/<name>_<state>.bmp, each picture one flat colour, so that a pixel of a
// control tells which picture it shows.
inline void writeFlatSkin(const QString& name, QSize size,
                          const std::vector<std::pair<QString, QColor>>& looks) {
    QDir().mkpath(TempWorld::current().appDir() + QStringLiteral("skins"));
    for (const auto& [state, colour] : looks) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(colour);
        ASSERT_TRUE(picture.save(skinPath(name, state), "BMP"));
    }
}

// A language file with these texts by str_ key (and no others), loaded into the language
// table.
inline void loadLanguage(const std::vector<std::pair<QString, QString>>& texts) {
    QString xml =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<language><config>\n");
    for (const auto& [key, text] : texts)
        xml += QStringLiteral("<%1>%2</%1>\n").arg(key, text);
    xml += QStringLiteral("</config></language>\n");
    const QString path = TempWorld::current().appDir() + QStringLiteral("language.xml");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(xml.toUtf8());
    file.close();
    LanguageTable::instance().load(path);
}

// No key assignment in the key table, and no macro or combination in the stored images.
inline void clearKeysAndStoredRecords() {
    KeyTable::instance().clear();
    MacroTable::image().fill(0);
    CombTable::image().fill(0);
}

}  // namespace windowworld
