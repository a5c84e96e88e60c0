#include "controls/HyperLink.h"

#include "platform/MessageBox.h"
#include "support/QtPrinting.h"
#include "support/WaitUntil.h"

#include <QFontMetrics>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cerrno>

namespace {
const QString kForum = QStringLiteral("https://forum.example/board?id=7");

UrlOpenResult started() {
    return {UrlOpenResult::Status::Started};
}
UrlOpenResult noHandler() {
    return {UrlOpenResult::Status::NoHandler};
}
UrlOpenResult notStarted(int error) {
    return {UrlOpenResult::Status::NotStarted, error};
}

// A link on a window, with openers that only record what they were asked and answer as told,
// and the message boxes it shows.
class HyperLink : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(300, 120);
        link = new CHyperLink(QStringLiteral("Visit forum"), &window);
        link->move(40, 30);
        link->SetTarget(kForum);
        link->setOpeners({[this](const QString& target) {
                              calls << "desktop " + target;
                              return desktopAnswer;
                          },
                          [this](const QString& target) {
                              calls << "browser " + target;
                              return browserAnswer;
                          }});
        previousPresenter = MessageBox::setPresenter(
            [this](const QString&, const QString& text) { shown << text; });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void TearDown() override { MessageBox::setPresenter(previousPresenter); }

    void hover() { QTest::mouseMove(link, link->rect().center()); }
    void leave() { QTest::mouseMove(&window, QPoint(5, 100)); }

    // Whether some pixel row holds the colour all along the middle of the text: an underline.
    bool drawnUnderlined(const QColor& colour) {
        const QImage image = link->grab().toImage();
        for (int y = 0; y < image.height(); ++y) {
            bool whole = true;
            for (int x = image.width() / 5; x < image.width() * 4 / 5 && whole; ++x)
                whole = image.pixelColor(x, y).rgb() == colour.rgb();
            if (whole)
                return true;
        }
        return false;
    }

    QWidget window;
    CHyperLink* link = nullptr;
    UrlOpenResult desktopAnswer = started();
    UrlOpenResult browserAnswer = started();
    QStringList calls;
    QStringList shown;
    MessageBox::Presenter previousPresenter;
};
}  // namespace

TEST_F(HyperLink, TargetAndTextStandInForEachOther) {
    EXPECT_EQ(link->text(), "Visit forum");
    EXPECT_EQ(link->target(), kForum);
    EXPECT_EQ(link->toolTip(), kForum);

    CHyperLink untargeted(QStringLiteral("Visit forum"), &window);
    EXPECT_EQ(untargeted.target(), "Visit forum");
    EXPECT_EQ(untargeted.toolTip(), "Visit forum");

    CHyperLink textless(QString(), &window);
    textless.SetTarget(kForum);
    EXPECT_EQ(textless.text(), kForum);
    EXPECT_EQ(textless.target(), kForum);
    EXPECT_EQ(textless.cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(HyperLink, FitsItselfToItsTextKeepingTheEdgeItsAlignmentNames) {
    QFont underlined = link->font();
    underlined.setUnderline(true);
    const QSize text = QFontMetrics(underlined).size(Qt::TextSingleLine, "Visit forum");
    const QRect placed(639, 58, 91, 16);  // as the main window places it
    const int dx = placed.width() - text.width();
    const int dy = placed.height() - text.height();
    const struct {
        Qt::Alignment alignment;
        QRect expected;
    } cases[] = {
        {Qt::AlignLeft | Qt::AlignTop, QRect(placed.topLeft(), text)},
        {Qt::AlignRight | Qt::AlignTop,
         QRect(placed.left() + dx, placed.top(), text.width(), text.height())},
        {Qt::AlignHCenter | Qt::AlignTop,
         QRect(placed.left() + dx / 2, placed.top(), placed.width() - 2 * (dx / 2), text.height())},
        {Qt::AlignLeft | Qt::AlignVCenter,
         QRect(placed.left(), placed.top() + dy / 2, text.width(), placed.height() - 2 * (dy / 2))},
    };
    for (const auto& c : cases) {
        link->setAlignment(c.alignment);
        link->setGeometry(placed);
        link->SetTarget(kForum);
        EXPECT_EQ(link->geometry(), c.expected) << int(c.alignment);
    }

    link->setFitToText(false);
    link->setGeometry(placed);
    link->SetTarget(kForum);
    EXPECT_EQ(link->geometry(), placed);
}

TEST_F(HyperLink, HoverLooksAndTheTimerThatWatchesForTheLeave) {
    const struct {
        int mode;
        bool underlinedHovered;
        bool underlinedAfter;
    } cases[] = {
        {CHyperLink::UnderlineWhileHovered, true, false},
        {CHyperLink::UnderlineAlways, true, true},
        {CHyperLink::UnderlineNever, false, false},
    };
    for (const auto& c : cases) {
        link->setUnderlineMode(c.mode);
        EXPECT_EQ(link->isUnderlined(), c.mode == CHyperLink::UnderlineAlways) << c.mode;
        EXPECT_FALSE(link->isHoverTimerActive());

        hover();
        EXPECT_TRUE(link->isHovered());
        EXPECT_TRUE(link->isHoverTimerActive());
        EXPECT_EQ(link->currentColor(), link->hoverColor());
        EXPECT_EQ(link->isUnderlined(), c.underlinedHovered) << c.mode;
        EXPECT_EQ(drawnUnderlined(link->hoverColor()), c.underlinedHovered) << c.mode;

        leave();
        EXPECT_TRUE(waitUntil([&] { return !link->isHovered(); })) << c.mode;
        EXPECT_FALSE(link->isHoverTimerActive());
        EXPECT_EQ(link->currentColor(), link->linkColor());
        EXPECT_EQ(link->isUnderlined(), c.underlinedAfter) << c.mode;
        EXPECT_EQ(drawnUnderlined(link->linkColor()), c.underlinedAfter) << c.mode;
    }
}

TEST_F(HyperLink, TheDesktopHandlerIsTriedFirstAndASuccessMarksTheLinkVisited) {
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(calls, QStringList{"desktop " + kForum});
    EXPECT_TRUE(link->isVisited());
    EXPECT_FALSE(link->isHovered());
    EXPECT_EQ(link->currentColor(), link->visitedColor());
    EXPECT_TRUE(shown.isEmpty());

    calls.clear();
    desktopAnswer = noHandler();
    EXPECT_GT(link->OpenTarget("https://other.example/"), 32);
    EXPECT_EQ(calls,
              (QStringList{"desktop https://other.example/", "browser https://other.example/"}));
}

TEST_F(HyperLink, AFailedOpenTellsWhyAndTakesBackTheVisitedColour) {
    const QString prefix = QStringLiteral("Unable to open hyperlink:\n\n");
    const struct {
        UrlOpenResult desktop;
        UrlOpenResult browser;
        QString message;
    } cases[] = {
        // Without a program for web pages the desktop's failure is told.
        {notStarted(ETXTBSY), noHandler(), prefix + "A sharing violation occurred. "},
        {notStarted(EINTR), noHandler(), prefix + "Unknown Error (4) occurred."},
        {notStarted(ELIBBAD), noHandler(), prefix + "Unknown Error (80) occurred."},
        {noHandler(), noHandler(),
         prefix + "There is no application associated\nwith the given filename extension."},
        // Otherwise the web browser's.
        {noHandler(), notStarted(ENOENT), prefix + "The specified file was not found."},
        {notStarted(ENOENT), notStarted(EACCES),
         prefix + "The operating system denied\naccess to the specified file."},
        {notStarted(ENOENT), notStarted(ENOEXEC),
         prefix + "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    };
    for (const auto& c : cases) {
        desktopAnswer = started();
        QTest::mouseClick(link, Qt::LeftButton);
        ASSERT_TRUE(link->isVisited());

        calls.clear();
        shown.clear();
        desktopAnswer = c.desktop;
        browserAnswer = c.browser;
        QTest::mouseClick(link, Qt::LeftButton);
        EXPECT_EQ(calls, (QStringList{"desktop " + kForum, "browser " + kForum}));
        EXPECT_EQ(shown, QStringList{c.message});
        EXPECT_FALSE(link->isVisited());
        EXPECT_EQ(link->currentColor(), link->linkColor());
    }
}

TEST(HyperLinkMessages, TheResultTableAndUnknownCodes) {
    EXPECT_EQ(CHyperLink::openFailureMessage(26),
              "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(CHyperLink::openFailureMessage(4),
              "Unable to open hyperlink:\n\nUnknown Error (4) occurred.");
    EXPECT_EQ(CHyperLink::openFailureMessage(0),
              "Unable to open hyperlink:\n\nThe operating system is out\nof memory or resources.");
    EXPECT_EQ(CHyperLink::openFailureMessage(32),
              "Unable to open hyperlink:\n\nThe specified dynamic-link library was not found.");
}
