// The main window as the X server shows it: its outline, the keys marked from a profile the
// companion asks for, the profile file rewritten by every save, and the start without a
// keyboard.
#include "e2e/HaldaSession.h"
#include "support/QtPrinting.h"
#include "support/TempWorld.h"
#include "support/WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr int OkX = 292, OkY = 494;
constexpr int CancelX = 377, CancelY = 494;
constexpr int ApplyX = 465, ApplyY = 494;
constexpr qsizetype KeyOffset = 184372;  // the key section of a profile file
constexpr qsizetype MarkOffset = 300;    // inside the name field, far after its NUL
const QByteArray Mark("left by the test");

QImage skin(const char* state) {
    return QImage(QStringLiteral(HALDA_APP_BUILD_DIR "/skins/Halda_%1.bmp").arg(state))
        .convertToFormat(QImage::Format_RGB32);
}

QString shipped(const QString& name) {
    return QString::fromUtf8([&] {
        QFile file(QStringLiteral(HALDA_APP_BUILD_DIR "/") + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }());
}

// A key's rectangle in the shipped layout.
QRect keyRect(const QString& vkcode) {
    const QRegularExpression key(
        QStringLiteral("vkcode=\"%1\"[^>]*CRect=\"(\\d+),(\\d+),(\\d+),(\\d+)\"").arg(vkcode));
    const QRegularExpressionMatch m = key.match(shipped(QStringLiteral("ButtonPos.xml")));
    return m.hasMatch() ? QRect(QPoint(m.captured(1).toInt(), m.captured(2).toInt()),
                                QPoint(m.captured(3).toInt() - 1, m.captured(4).toInt() - 1))
                        : QRect();
}

QString shippedText(const char* key) {
    const QRegularExpression text(QStringLiteral("<%1>([^<]*)</%1>").arg(key));
    return text.match(shipped(QStringLiteral("language.xml"))).captured(1);
}

// What the X server shows: the whole screen, or one window's contents.
QImage screenShot(const QString& window = {}) {
    QProcess shot;
    const QString source = window.isEmpty() ? QStringLiteral("-root") : "-id " + window;
    shot.start(QStringLiteral("sh"), {"-c", "xwd -silent " + source + " | xwdtopnm 2>/dev/null"});
    if (!shot.waitForFinished(10000))
        return {};
    QImage image;
    image.loadFromData(shot.readAllStandardOutput(), "PPM");
    return image.convertToFormat(QImage::Format_RGB32);
}

QPoint windowPosition(const QString& window) {
    QProcess geometry;
    geometry.start(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", window});
    geometry.waitForFinished(10000);
    const QString out = QString::fromLatin1(geometry.readAllStandardOutput());
    const auto value = [&](const char* name) {
        return QRegularExpression(QStringLiteral("%1=(-?\\d+)").arg(name))
            .match(out)
            .captured(1)
            .toInt();
    };
    return {value("X"), value("Y")};
}

QString profileFolder() {
    return TempWorld::current().appDir() + "Profile/";
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// The {type, value} of a key code in a key image of 12-byte records.
std::pair<std::int32_t, std::int32_t> keyRecord(const QByteArray& keys, std::uint8_t code) {
    for (qsizetype at = 0; at + 12 <= keys.size(); at += 12)
        if (std::uint8_t(keys[at]) == code) {
            std::int32_t type = 0, value = 0;
            std::memcpy(&type, keys.constData() + at + 4, 4);
            std::memcpy(&value, keys.constData() + at + 8, 4);
            return {type, value};
        }
    return {-99, -99};
}

void setKeyRecord(QByteArray& keys, std::uint8_t code, std::int32_t type, std::int32_t value) {
    for (qsizetype at = 0; at + 12 <= keys.size(); at += 12)
        if (std::uint8_t(keys[at]) == code) {
            std::memcpy(keys.data() + at + 4, &type, 4);
            std::memcpy(keys.data() + at + 8, &value, 4);
        }
}

bool marked(const QByteArray& profile) {
    return profile.mid(MarkOffset, Mark.size()) == Mark;
}

QByteArray withMark(QByteArray profile) {
    return profile.replace(MarkOffset, Mark.size(), Mark);
}

class MainWindowOnScreen : public ::testing::Test {
protected:
    void startWithKeyboard() {
        ASSERT_TRUE(session.startXServer());
        ASSERT_TRUE(session.startHalda());
        ASSERT_TRUE(session.waitForLogLine(
            [](const QString& l) { return l.startsWith("recv 0x602 post "); }));
    }
    HaldaSession session;
};

}  // namespace

TEST_F(MainWindowOnScreen, IsShapedShowsTheSkinAndCancelWritesNoProfile) {
    startWithKeyboard();
    const QImage normal = skin("Normal");
    ASSERT_FALSE(normal.isNull());
    const QRect keyboard(26, 80, 694, 284);
    QImage screen;
    QPoint at;
    ASSERT_TRUE(waitUntil(
        [&] {
            at = windowPosition(session.windowId());
            screen = screenShot();
            return screen.copy(keyboard.translated(at)) == normal.copy(keyboard);
        },
        10000));
    // The corners are key colour in the picture and not part of the window: the screen
    // behind shows there, as it does far away from the window.
    ASSERT_EQ(normal.pixel(0, 0), qRgb(215, 0, 255));
    const QRgb behind = screen.pixel(0, 0);
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(normal.width() - 1, 0), QPoint(0, normal.height() - 1),
          QPoint(normal.width() - 1, normal.height() - 1)}) {
        SCOPED_TRACE(corner.x() * 1000 + corner.y());
        EXPECT_EQ(screen.pixel(corner + at), behind);
    }
    EXPECT_NE(behind, qRgb(215, 0, 255));

    const QString profile = profileFolder() + "Profile 1.pro";
    ASSERT_EQ(readFile(profile).size(), 185476);
    writeFile(profile, withMark(readFile(profile)));
    ASSERT_TRUE(session.click(CancelX, CancelY));
    int exitCode = -1;
    ASSERT_TRUE(session.waitForHaldaExit(exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(marked(readFile(profile)));
}

TEST_F(MainWindowOnScreen, TheCompanionsProfileShowsOnTheKeysAndEverySaveRewritesIt) {
    startWithKeyboard();
    // A profile with key A sending B, recorded as the third profile.
    const QByteArray first = readFile(profileFolder() + "Profile 1.pro");
    ASSERT_EQ(first.size(), 185476);
    QByteArray racing = first;
    QByteArray keys = racing.mid(KeyOffset);
    setKeyRecord(keys, 0x41, 9, 0x42);
    racing.replace(KeyOffset, keys.size(), keys);
    const QString racingPath = profileFolder() + "Racing.pro";
    writeFile(racingPath, withMark(racing));
    QFile ini(TempWorld::current().appDir() + "Profile.ini");
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write(("\nProfile3=" + racingPath + "\n").toUtf8());
    ini.close();

    // The key shows its pressed look once the profile is loaded.
    ASSERT_EQ(session.companionControl({"--post-load-profile", "2"}), 0);
    const QRect a = keyRect("41");
    ASSERT_FALSE(a.isEmpty());
    const QImage down = skin("Down");
    EXPECT_TRUE(
        waitUntil([&] { return screenShot(session.windowId()).copy(a) == down.copy(a); }, 10000));

    ASSERT_TRUE(session.click(ApplyX, ApplyY));
    ASSERT_TRUE(
        session.waitForLogLine([](const QString& l) { return l.startsWith("recv 0x601 "); }));
    EXPECT_FALSE(marked(readFile(racingPath)));
    EXPECT_EQ(keyRecord(readFile(racingPath).mid(KeyOffset), 0x41), std::pair(9, 0x42));
    EXPECT_EQ(keyRecord(session.storedValue("KeySetting"), 0x41), std::pair(9, 0x42));
    EXPECT_EQ(session.storedValue("ProSettingSel"), QByteArray("\x02\x00\x00\x00", 4));

    writeFile(racingPath, withMark(readFile(racingPath)));
    ASSERT_TRUE(session.click(OkX, OkY));
    int exitCode = -1;
    ASSERT_TRUE(session.waitForHaldaExit(exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(marked(readFile(racingPath)));
    EXPECT_EQ(readFile(racingPath).size(), 185476);
}

TEST_F(MainWindowOnScreen, WithoutAKeyboardItSaysSoAndEndsWithoutRegistering) {
    ASSERT_TRUE(session.startXServer());
    session.setDevices(QStringLiteral("devices/near-misses.umockdev"));
    const QString errors = TempWorld::current().root() + "/halda-errors.txt";
    session.setErrorOutput(errors);
    qputenv("QT_LOGGING_RULES", "halda.messagebox.debug=true");
    // What halda shows now is the message box.
    ASSERT_TRUE(session.startHalda());
    const QString message = shippedText("str_msg4");
    ASSERT_FALSE(message.isEmpty());
    EXPECT_TRUE(waitUntil([&] { return QString::fromUtf8(readFile(errors)).contains(message); }));

    QProcess::execute(QStringLiteral("xdotool"), {"windowfocus", session.windowId()});
    QProcess::execute(QStringLiteral("xdotool"), {"key", "Return"});
    int exitCode = -1;
    ASSERT_TRUE(session.waitForHaldaExit(exitCode));
    EXPECT_EQ(exitCode, 0);
    const QStringList log = session.companionLog();
    EXPECT_FALSE(log.filter("start pid=").isEmpty());  // the companion was started, as always
    EXPECT_TRUE(log.filter("recv ").isEmpty());
    EXPECT_FALSE(QDir(profileFolder()).exists());
}
