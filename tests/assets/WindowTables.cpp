#include "WindowTables.h"

QRect ltrb(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QString appDir() {
    return QStringLiteral(HALDA_APP_DIR);
}

namespace {

const QStringList kThree = {"Normal", "Down", "Over"};
const QStringList kFive = {"Normal", "Down", "Over", "Normal2", "Down2"};

SkinControl plain(QRect r) {
    return {r, true, false, false};
}
SkinControl captioned(QRect r) {
    return {r, true, false, true};
}
SkinControl captionedNoHover(QRect r) {
    return {r, false, false, true};
}

}  // namespace

QList<WindowSkin> windowSkins() {
    QList<WindowSkin> skins;

    WindowSkin main{"Halda", kFive, QSize(730, 531), {}, {}};
    main.controls = {plain(ltrb(707, 35, 725, 54)),
                     plain(ltrb(677, 35, 697, 54)),
                     captioned(ltrb(261, 480, 323, 509)),
                     captioned(ltrb(346, 480, 408, 509)),
                     captioned(ltrb(433, 480, 497, 509)),
                     captioned(ltrb(37, 482, 164, 506)),
                     captioned(ltrb(587, 482, 714, 506)),
                     captionedNoHover(ltrb(27, 442, 200, 465)),
                     captionedNoHover(ltrb(200, 442, 376, 465)),
                     captionedNoHover(ltrb(376, 442, 554, 465)),
                     {ltrb(554, 442, 726, 465), false, true, false}};
    main.texts = {ltrb(23, 386, 239, 410),  ltrb(23, 413, 200, 439),  ltrb(200, 413, 376, 439),
                  ltrb(376, 413, 554, 439), ltrb(554, 413, 729, 439), ltrb(376, 515, 554, 531),
                  ltrb(639, 58, 730, 74)};
    skins << main;

    WindowSkin setting{"Setting", kThree, QSize(469, 296), {}, {}};
    setting.controls = {plain(ltrb(445, 7, 460, 22)),        captioned(ltrb(299, 266, 380, 296)),
                        captioned(ltrb(380, 266, 460, 296)), captioned(ltrb(14, 266, 120, 293)),
                        captioned(ltrb(0, 30, 92, 63)),      captioned(ltrb(94, 30, 186, 63)),
                        captioned(ltrb(189, 30, 280, 63)),   captioned(ltrb(282, 30, 374, 63)),
                        captioned(ltrb(376, 30, 469, 63))};
    setting.texts = {ltrb(165, 0, 305, 21), ltrb(0, 9, 80, 28), ltrb(80, 9, 146, 28)};
    skins << setting;

    const QSize page(442, 186);
    skins << WindowSkin{"Base", kThree, page, {}, {ltrb(45, 12, 394, 35)}};

    WindowSkin single{"Single_Comb", kThree, page, {}, {}};
    single.controls = {captioned(ltrb(27, 7, 91, 24)),
                       captioned(ltrb(159, 7, 231, 24)),
                       captionedNoHover(ltrb(22, 103, 125, 127)),
                       captionedNoHover(ltrb(278, 138, 421, 162)),
                       captioned(ltrb(152, 139, 210, 162)),
                       captioned(ltrb(212, 139, 269, 162))};
    single.texts = {ltrb(22, 53, 126, 70), ltrb(156, 32, 269, 53), ltrb(282, 32, 421, 53),
                    ltrb(24, 72, 125, 93), ltrb(282, 55, 421, 128)};
    skins << single;

    WindowSkin macro{"Macro", kThree, page, {}, {}};
    macro.controls = {
        captionedNoHover(ltrb(271, 100, 415, 124)), captioned(ltrb(272, 40, 343, 56)),
        captioned(ltrb(272, 15, 343, 31)),          captioned(ltrb(10, 151, 68, 172)),
        captioned(ltrb(69, 151, 127, 172)),         captioned(ltrb(271, 65, 336, 88))};
    macro.texts = {ltrb(15, 11, 127, 31), ltrb(141, 11, 262, 31)};
    skins << macro;

    WindowSkin media{"Media", kThree, page, {}, {ltrb(49, 10, 176, 27), ltrb(49, 78, 176, 93)}};
    const int mediaButtons[18][4] = {{50, 29, 85, 64},    {94, 29, 130, 64},   {138, 29, 174, 64},
                                     {183, 29, 217, 64},  {228, 29, 263, 64},  {272, 29, 308, 64},
                                     {317, 29, 352, 64},  {361, 29, 397, 64},  {50, 97, 85, 131},
                                     {94, 97, 130, 131},  {138, 97, 174, 131}, {183, 97, 217, 131},
                                     {228, 97, 263, 131}, {272, 97, 308, 131}, {317, 97, 352, 131},
                                     {361, 97, 397, 131}, {50, 137, 85, 174},  {94, 137, 130, 174}};
    for (const auto& b : mediaButtons)
        media.controls << plain(ltrb(b[0], b[1], b[2], b[3]));
    skins << media;

    skins << WindowSkin{"Mouse", kThree, page, {}, {ltrb(24, 21, 255, 43)}};

    WindowSkin profile{"Profile", kFive, QSize(460, 296), {}, {}};
    profile.controls = {plain(ltrb(445, 7, 460, 22)), captioned(ltrb(299, 266, 380, 296)),
                        captioned(ltrb(380, 266, 460, 296)), captioned(ltrb(14, 267, 119, 293)),
                        captioned(ltrb(125, 267, 229, 293))};
    for (int i = 0; i < 7; ++i) {
        // Row cells take Normal as their hover image; the switch cell has the alternative look.
        const int top = 109 + 19 * i;
        profile.controls << captionedNoHover(ltrb(17, top, 126, top + 19))
                         << captionedNoHover(ltrb(126, top, 236, top + 19))
                         << captionedNoHover(ltrb(236, top, 346, top + 19))
                         << SkinControl{ltrb(346, top, 455, top + 19), false, true, false};
    }
    profile.texts = {ltrb(165, 0, 305, 21), ltrb(14, 83, 125, 109), ltrb(127, 83, 235, 109),
                     ltrb(236, 83, 343, 109), ltrb(345, 83, 456, 109)};
    skins << profile;

    WindowSkin rate{"Rate", kThree, QSize(353, 201), {}, {}};
    rate.controls = {plain(ltrb(337, 6, 353, 22)),        captioned(ltrb(194, 174, 271, 201)),
                     captioned(ltrb(274, 174, 351, 201)), plain(ltrb(50, 111, 113, 133)),
                     plain(ltrb(147, 111, 209, 133)),     plain(ltrb(246, 111, 309, 133))};
    rate.texts = {ltrb(126, 0, 234, 22), ltrb(24, 63, 253, 87)};
    skins << rate;

    WindowSkin restore{"Restore", kThree, QSize(353, 201), {}, {}};
    restore.controls = {plain(ltrb(337, 6, 353, 22)), captioned(ltrb(194, 174, 271, 201)),
                        captioned(ltrb(274, 174, 351, 201))};
    restore.texts = {ltrb(126, 0, 234, 22), ltrb(117, 100, 344, 130)};
    skins << restore;
    return skins;
}

#include <QFile>
#include <QXmlStreamReader>

QList<LayoutKey> shippedLayout() {
    QList<LayoutKey> keys;
    QFile file(appDir() + QStringLiteral("/ButtonPos.xml"));
    if (!file.open(QIODevice::ReadOnly))
        return keys;
    QXmlStreamReader xml(&file);
    int depth = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement)
            --depth;
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        if (depth == 2 && xml.name() == u"key") {
            const QXmlStreamAttributes a = xml.attributes();
            keys << LayoutKey{a.value("name").toString(), a.value("vkcode").toString(),
                              a.value("buttontip").toString(), a.value("CRect").toString(),
                              a.value("kstatus").toString()};
        }
    }
    if (xml.hasError())
        keys.clear();
    return keys;
}
