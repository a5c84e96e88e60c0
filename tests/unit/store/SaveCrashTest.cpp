// A save killed at any moment must leave every stored value and profile file whole: the
// content of one save, never a mix of two, a short file or an empty one.
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>
#include <optional>
#include <random>
#include <span>

namespace {
constexpr int Kills = 200;

std::int32_t wordAt(const QByteArray& bytes, qsizetype at) {
    return std::int32_t(std::uint32_t(std::uint8_t(bytes[at])) |
                        std::uint32_t(std::uint8_t(bytes[at + 1])) << 8 |
                        std::uint32_t(std::uint8_t(bytes[at + 2])) << 16 |
                        std::uint32_t(std::uint8_t(bytes[at + 3])) << 24);
}

// The round that every 32-bit word of the range holds; none when they differ.
std::optional<std::int32_t> commonWord(const QByteArray& bytes, qsizetype from, qsizetype size) {
    const std::int32_t first = wordAt(bytes, from);
    for (qsizetype at = from; at < from + size; at += 4)
        if (wordAt(bytes, at) != first)
            return std::nullopt;
    return first;
}

// The round of a key image written by the saver: every layout key an AssignMacro of it.
std::optional<std::int32_t> keyRound(const QByteArray& bytes, qsizetype from) {
    const std::int32_t round = wordAt(bytes, from + 8);
    for (int r = 0; r < 92; ++r) {
        const qsizetype at = from + r * 12;
        if (wordAt(bytes, at) != 20 + r || wordAt(bytes, at + 4) != 4 ||
            wordAt(bytes, at + 8) != round)
            return std::nullopt;
    }
    return round;
}

// The files live in memory where the system offers a memory file system: a kill tests the
// replacement by rename, which works alike on every file system, and without the disk's
// syncs two hundred rounds take seconds instead of half a minute.
QString crashRoot() {
    const QString memory = QStringLiteral("/dev/shm");
    return QFileInfo(memory).isDir() && QFileInfo(memory).isWritable() ? memory : QDir::tempPath();
}

class SaveCrash : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        QDir().mkpath(app);
        QDir().mkpath(config);
    }

    // Leftovers of writes that a kill cut short: proof that kills hit inside writes.
    int temporaryFiles() const {
        int count = 0;
        for (const QString& dir : {config + "/Quorv/Zelt", app, app + "Profile"})
            count += int(QDir(dir).entryList({".*.*"}, QDir::Files | QDir::Hidden).size());
        return count;
    }

    // Empty when the file is whole; otherwise what is wrong with it.
    std::string checkValue(const char* name, qsizetype size) const {
        const QByteArray bytes = fileBytes(config + "/Quorv/Zelt/" + name);
        if (bytes.size() != 4 + size || wordAt(bytes, 0) != 3)
            return std::string(name) + ": " + std::to_string(bytes.size()) + " bytes";
        const std::string name_(name);
        bool whole = true;
        if (name_ == "KeySetting")
            whole = keyRound(bytes, 4).has_value();
        else if (name_ == "MacroSetting" || name_ == "CombSetting")
            whole = commonWord(bytes, 4, size).has_value();
        else if (name_ == "ProSettingSel")
            whole = wordAt(bytes, 4) >= 0 && wordAt(bytes, 4) < 7;
        return whole ? std::string() : name_ + ": mixed content";
    }

    // A profile file holds a save of the saver or, before the first save of its index,
    // the default content it was made with.
    std::string checkProfile(const QString& file) const {
        const QByteArray bytes = fileBytes(app + "Profile/" + file);
        const std::string name = file.toStdString();
        if (bytes.size() != 185476)
            return name + ": " + std::to_string(bytes.size()) + " bytes";
        const auto comb = commonWord(bytes, 1564, 52404);
        const auto macro = commonWord(bytes, 53968, 130404);
        const auto keys = keyRound(bytes, 184372);
        if (commonWord(bytes, 0, 1564) == 0 && comb && comb == macro && comb == keys)
            return {};
        if (bytes.left(1564) == defaultHead(file) && comb == 0 && macro == 0 &&
            bytes.mid(184372) == defaultKeys())
            return {};
        return name + ": mixed content";
    }

    static QByteArray defaultHead(const QString& file) {
        QByteArray head(1564, 0);
        const QString name = file.chopped(4);
        for (qsizetype i = 0; i < name.size(); ++i)
            head[2 * i] = char(name.at(i).unicode());
        return head;
    }

    static QByteArray defaultKeys() {
        QByteArray keys(1104, 0);
        for (int r = 0; r < 92; ++r) {
            keys[r * 12] = char(20 + r);
            keys[r * 12 + 4] = 1;
        }
        return keys;
    }

    std::vector<std::string> problems() const {
        std::vector<std::string> found;
        const std::pair<const char*, qsizetype> values[] = {{"KeySetting", 1104},
                                                            {"MacroSetting", 130404},
                                                            {"CombSetting", 52404},
                                                            {"RateSetting", 4},
                                                            {"ProSettingSel", 4}};
        for (const auto& [name, size] : values)
            if (std::string problem = checkValue(name, size); !problem.empty())
                found.push_back(problem);

        const QStringList files = QDir(app + "Profile").entryList({"*.pro"}, QDir::Files);
        if (files.isEmpty())
            found.push_back("no profile file");
        for (const QString& file : files)
            if (std::string problem = checkProfile(file); !problem.empty())
                found.push_back(problem);

        // The index lists only whole lines naming the default files.
        const QByteArray ini = fileBytes(app + "Profile.ini");
        if (!ini.startsWith("[Profiles]\n") || !ini.endsWith(".pro\n"))
            found.push_back("Profile.ini: " + ini.toStdString());
        for (const QByteArray& line : ini.trimmed().split('\n').mid(1)) {
            const int n = line.mid(7, 1).toInt();
            if (line != "Profile" + QByteArray::number(n) + "=" +
                            QFile::encodeName(app + "Profile/Profile ") + QByteArray::number(n) +
                            ".pro")
                found.push_back("Profile.ini line: " + line.toStdString());
        }
        return found;
    }

    QTemporaryDir root{crashRoot() + "/halda-crash-XXXXXX"};
    const QString app = root.path() + "/app/";
    const QString config = root.path() + "/config";
};
}  // namespace

TEST_F(SaveCrash, SavesKilledAtRandomMomentsLeaveEveryFileWhole) {
    std::mt19937 random(std::random_device{}());
    // Within the first few saves after the first complete one: writes, syncs and renames
    // of every file all get hit.
    std::uniform_int_distribution<int> killAfterUs(0, 4000);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", config);
    for (int kill = 0; kill < Kills; ++kill) {
        QProcess saver;
        saver.setProcessEnvironment(environment);
        saver.start(HALDA_PROFILE_SAVER, {app, QString::number(kill * 100000)});
        ASSERT_TRUE(saver.waitForStarted(30000));
        while (!saver.canReadLine())
            ASSERT_TRUE(saver.waitForReadyRead(30000)) << "the saver did not get ready";
        ASSERT_EQ(saver.readLine(), "ready\n");

        ::usleep(useconds_t(killAfterUs(random)));
        ::kill(pid_t(saver.processId()), SIGKILL);
        ASSERT_TRUE(saver.waitForFinished(30000));
        ASSERT_EQ(saver.exitStatus(), QProcess::CrashExit) << "the saver ended by itself";

        const std::vector<std::string> found = problems();
        ASSERT_TRUE(found.empty()) << "after kill " << kill << ": " << found.front();
    }
    EXPECT_GT(temporaryFiles(), 0) << "no kill came while a file was being written";
}
