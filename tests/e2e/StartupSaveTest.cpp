#include "e2e/HaldaSession.h"
#include "support/QtPrinting.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

namespace {
// Where the main window's command buttons are, in its client coordinates.
constexpr int OkX = 292, OkY = 494;
constexpr int CancelX = 377, CancelY = 494;
constexpr int ApplyX = 465, ApplyY = 494;

bool isRecv(const QString& line) {
    return line.startsWith("recv ");
}

// The companion's messages after the main window registered itself.
QStringList messagesAfterRegistration(const QStringList& log) {
    QStringList messages;
    bool registered = false;
    for (const QString& line : log) {
        if (line.startsWith("recv 0x602 "))
            registered = true;
        else if (registered && isRecv(line))
            messages << line;
    }
    return messages;
}

class StartupSave : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.startXServer());
        // Running already, as a driver usually is: the tool gives the companion it starts
        // only a fixed pause to open its window, which a loaded machine may not keep.
        ASSERT_TRUE(session.startCompanion());
        ASSERT_TRUE(session.startHalda());
        ASSERT_TRUE(session.waitForLogLine(
            [](const QString& l) { return l.startsWith("recv 0x602 post "); }));
    }
    HaldaSession session;
};
}  // namespace

TEST_F(StartupSave, FirstStartStoresDefaultsAndOkSavesBetweenTheTwoNotices) {
    const QByteArray keysBefore = session.storedValue("KeySetting");
    ASSERT_EQ(keysBefore.size(), 1104);
    EXPECT_EQ(session.storedValue("MacroSetting"), QByteArray(130404, 0));
    EXPECT_EQ(session.storedValue("CombSetting"), QByteArray(52404, 0));
    EXPECT_EQ(session.storedValue("RateSetting"), QByteArray("\x08\x00\x00\x00", 4));
    EXPECT_EQ(session.storedValue("ProSettingSel"), QByteArray(4, 0));

    // The companion asks for profile 3; the next save stores that choice. The post and the
    // click reach the tool by different paths, so the click waits until the post is handled.
    ASSERT_EQ(session.companionControl({"--post-load-profile", "3"}), 0);
    ASSERT_TRUE(session.waitForToolToCatchUp());
    ASSERT_TRUE(session.click(OkX, OkY));
    int exitCode = -1;
    ASSERT_TRUE(session.waitForHaldaExit(exitCode));
    EXPECT_EQ(exitCode, 0);

    const QByteArray keysAfter = session.storedValue("KeySetting");
    EXPECT_EQ(session.storedValue("ProSettingSel"), QByteArray("\x03\x00\x00\x00", 4));
    EXPECT_EQ(messagesAfterRegistration(session.companionLog()),
              (QStringList{"recv 0x654 send w=0 l=0 key=" + HaldaSession::digest(keysBefore),
                           "recv 0x601 send w=0 l=0 key=" + HaldaSession::digest(keysAfter)}));
}

TEST_F(StartupSave, ApplyPostsItsNoticeAndWaitsWhileTheCompanionIsBusy) {
    const QString keysBefore = HaldaSession::digest(session.storedValue("KeySetting"));
    ASSERT_TRUE(session.click(ApplyX, ApplyY));
    ASSERT_TRUE(
        session.waitForLogLine([](const QString& l) { return l.startsWith("recv 0x601 "); }));
    const QString keysAfter = HaldaSession::digest(session.storedValue("KeySetting"));
    EXPECT_EQ(messagesAfterRegistration(session.companionLog()),
              (QStringList{"recv 0x654 send w=0 l=0 key=" + keysBefore,
                           "recv 0x601 post w=0 l=0 key=" + keysAfter}));

    ASSERT_EQ(session.companionControl({"--busy", "on"}), 0);
    ASSERT_TRUE(session.click(ApplyX, ApplyY));
    // A second tool started meanwhile starts the companion again and ends at once.
    const auto count = [&](const QString& line) {
        return int(session.companionLog().filter(line).size());
    };
    const int startsBefore = count("start pid=");
    const int refusalsBefore = count("already running");
    EXPECT_EQ(session.runSecondHalda(), 0);
    EXPECT_TRUE(waitUntil([&] { return count("already running") == refusalsBefore + 1; }, 60000));
    EXPECT_EQ(count("start pid="), startsBefore + 1);

    // Clicks are handled in order, so once Cancel has ended the tool, the busy Apply has been
    // handled too, while the busy window was still open.
    ASSERT_TRUE(session.click(CancelX, CancelY));
    int exitCode = -1;
    ASSERT_TRUE(session.waitForHaldaExit(exitCode));
    EXPECT_EQ(exitCode, 0);
    // Apply did nothing while the companion was busy, and Cancel writes nothing.
    EXPECT_EQ(messagesAfterRegistration(session.companionLog()).size(), 2);
}
