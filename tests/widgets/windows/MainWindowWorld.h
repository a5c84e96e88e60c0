#pragma once

// Mouse input goes through the window system interface, as real input does: Qt's implicit
// grab, enter and leave.
#define QTEST_QPA_MOUSE_HANDLING

#include "WindowTestWorld.h"

#include "model/CombTable.h"
#include "model/KeyTable.h"
#include "model/MacroTable.h"
#include "platform/Messages.h"
#include "platform/Registry.h"
#include "resources/KeyLayout.h"
#include "resources/LanguageTable.h"
#include "store/ProfileFiles.h"
#include "store/SettingsStore.h"
#include "support/TempWorld.h"
#include "windows/Halda_ConfigDlg.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <vector>

// The application folder of the test world with the shipped look in it, and what the main
// window's tests prepare and read there.
namespace mainwindow {

inline QString shipped(const QString& name) {
    return QStringLiteral(HALDA_APP_BUILD_DIR "/") + name;
}

inline QString appFile(const QString& name) {
    return TempWorld::current().appDir() + name;
}

// A fresh folder and fresh process-wide state for each test, also when one process runs
// several: the shipped texts, layout and skins, nothing stored, no profile.
inline void prepareWorld() {
    QDir(TempWorld::current().configHome() + QStringLiteral("/Quorv")).removeRecursively();
    QDir(appFile(QStringLiteral("Profile"))).removeRecursively();
    for (const QString& name : {QStringLiteral("Profile.ini"), QStringLiteral("language.xml"),
                                QStringLiteral("ButtonPos.xml"), QStringLiteral("skins")})
        QFile::remove(appFile(name));
    QFile::copy(shipped(QStringLiteral("language.xml")), appFile(QStringLiteral("language.xml")));
    QFile::copy(shipped(QStringLiteral("ButtonPos.xml")), appFile(QStringLiteral("ButtonPos.xml")));
    QFile::link(shipped(QStringLiteral("skins")), appFile(QStringLiteral("skins")));
    LanguageTable::instance().load(appFile(QStringLiteral("language.xml")));
    windowworld::clearKeysAndStoredRecords();
}

inline QString text(const char* key) {
    return LanguageTable::instance().text(QString::fromLatin1(key));
}

inline QImage skin(const char* state) {
    return QImage(shipped(QStringLiteral("skins/Halda_%1.bmp").arg(QLatin1String(state))))
        .convertToFormat(QImage::Format_RGB32);
}

inline QImage shot(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline KeyLayout shippedLayout() {
    KeyLayout layout;
    layout.load(shipped(QStringLiteral("ButtonPos.xml")));
    return layout;
}

inline QRect rectOf(const KeyLayoutEntry& entry) {
    return QRect(entry.rect.left, entry.rect.top, entry.rect.right - entry.rect.left,
                 entry.rect.bottom - entry.rect.top);
}

// Stores a configuration as a user would have left it: the shipped layout's keys with the
// given assignments (the rest at their defaults), the macros and combinations, in the settings
// store and in the first profile's file. The process-wide tables are emptied afterwards, so
// the window reads everything back from the files.
struct Configuration {
    std::map<std::uint8_t, KeyAssignment> keys;
    std::vector<QString> macros;
    std::vector<std::vector<std::uint8_t>> combinations;
};

inline void storeConfiguration(const Configuration& configuration) {
    const KeyLayout layout = shippedLayout();
    ProfileFiles profiles;
    profiles.setLayoutCodes(layout.layoutCodes());
    profiles.setTexts(text("str_profile_title"), text("str_profile"));
    // The first profile as the first start makes it: default keys, named "<title> 1".
    profiles.LoadCurrentProfile(0);
    for (const auto& [code, assignment] : configuration.keys)
        KeyTable::instance().entry(code) = assignment;
    MacroTable macros;
    for (const QString& name : configuration.macros)
        macros.AddMacro(name);
    macros.SaveToImage();
    CombTable combinations;
    for (const auto& keys : configuration.combinations)
        combinations.SetKeys(combinations.AddCombination(QStringLiteral("Combo")), keys);
    combinations.SaveToImage();

    SettingsStore store;
    store.setLayoutCodes(layout.layoutCodes());
    store.setProfiles(&profiles);
    store.saveAll(SettingsStore::NoticeEdit);

    windowworld::clearKeysAndStoredRecords();
}

inline KeyAssignment assigned(std::uint8_t code, std::int32_t type, std::int32_t value = 0) {
    return {code, type, value};
}

inline QByteArray storedValue(const QString& name) {
    QFile file(TempWorld::current().configHome() + QStringLiteral("/Quorv/Zelt/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().mid(4);
}

inline QByteArray fileContent(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString profilePath(int index) {
    return appFile(
        QStringLiteral("Profile/%1 %2.pro").arg(text("str_profile_title")).arg(index + 1));
}

// The record of a key code in a 1104-byte key image, as {type, value}; {-99, -99} when the
// image holds none.
inline std::pair<std::int32_t, std::int32_t> keyRecord(const QByteArray& keys, std::uint8_t code) {
    for (qsizetype at = 0; at + 12 <= keys.size(); at += 12)
        if (std::uint8_t(keys[at]) == code) {
            auto word = [&](qsizetype offset) {
                std::int32_t v = 0;
                std::memcpy(&v, keys.constData() + at + offset, 4);
                return v;
            };
            return {word(4), word(8)};
        }
    return {-99, -99};
}

// The layout file with some positions given the codes of others, so that one code sits on two
// keys: {position that takes the code, position whose code it takes}.
inline void writeLayoutWithRepeatedCodes(const std::vector<std::pair<int, int>>& repeats) {
    QString layout = QString::fromUtf8(fileContent(shipped(QStringLiteral("ButtonPos.xml"))));
    static const QRegularExpression code(QStringLiteral("vkcode=\"([0-9A-Fa-f]+)\""));
    std::vector<QRegularExpressionMatch> codes;
    for (auto it = code.globalMatch(layout); it.hasNext();)
        codes.push_back(it.next());
    // Replaced from the end, so that earlier offsets stay valid.
    std::map<qsizetype, std::pair<qsizetype, QString>, std::greater<>> edits;
    for (const auto& [target, source] : repeats)
        edits[codes[std::size_t(target)].capturedStart(1)] = {
            codes[std::size_t(target)].capturedLength(1), codes[std::size_t(source)].captured(1)};
    for (const auto& [start, edit] : edits)
        layout.replace(start, edit.first, edit.second);
    QFile file(appFile(QStringLiteral("ButtonPos.xml")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(layout.toUtf8());
}

// A window of this process under a title, remembering what it is sent and posted; several may
// share one log to show the order across them.
class TitledRecorder : public MessageReceiver {
public:
    struct Entry {
        QString title;
        std::uint32_t message = 0;
        std::uint64_t wParam = 0;
        std::int64_t lParam = 0;
        bool sent = false;
        bool operator==(const Entry&) const = default;
    };

    TitledRecorder(const QString& title, std::vector<Entry>& log) : title_(title), log_(log) {
        handle_ = Messages::registerWindow(this, title);
    }
    ~TitledRecorder() override { Messages::unregisterWindow(handle_); }

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override {
        log_.push_back({title_, message, wParam, lParam, Messages::inSendMessage()});
        return 0;
    }
    WindowHandle handle() const { return handle_; }

private:
    QString title_;
    std::vector<Entry>& log_;
    WindowHandle handle_ = 0;
};

inline void PrintTo(const TitledRecorder::Entry& e, std::ostream* out) {
    *out << e.title.toStdString() << " 0x" << std::hex << e.message << std::dec << " w=" << e.wParam
         << " l=" << e.lParam << (e.sent ? " sent" : " posted");
}

inline std::unique_ptr<CHalda_ConfigDlg> makeWindow() {
    return std::make_unique<CHalda_ConfigDlg>([] { return true; });
}

// Runs the window as the application does, with the given steps once it is up; returns how
// it ended (-1 when it did not end in time, then it is ended as cancelled).
inline int execWith(CHalda_ConfigDlg& window, const std::function<void()>& steps) {
    QTimer::singleShot(0, &window, [&] {
        steps();
        // A safety net: a test whose steps do not end the window must still end.
        QTimer::singleShot(10000, &window, [&] { window.done(-1); });
    });
    return window.exec();
}

}  // namespace mainwindow
