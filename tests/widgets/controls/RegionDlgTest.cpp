#include "controls/RegionDlg.h"

#include "support/WaitUntil.h"

#include <QPalette>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// A page that records what reaches it.
class RecordingPage : public CRegionDlg {
public:
    using CRegionDlg::CRegionDlg;
    void ShowAssignment() override { calls.push_back("ShowAssignment"); }
    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t) override {
        calls.push_back(std::to_string(message) + ":" + std::to_string(wParam));
        return 7;
    }
    std::vector<std::string> calls;
};
}  // namespace

TEST(RegionDlg, IsAChildWindowThatTakesMessagesForItsLife) {
    QWidget dialog;
    auto* page = new RecordingPage(0x41, &dialog);
    EXPECT_EQ(page->keyCode(), 0x41);
    EXPECT_FALSE(page->isWindow());
    EXPECT_EQ(page->parentWidget(), &dialog);

    const WindowHandle handle = page->handle();
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(Messages::handleOf(page), handle);
    EXPECT_EQ(Messages::sendMessage(handle, 0x40A, 0x20, 0), 7);
    ASSERT_TRUE(Messages::postMessage(handle, 0x40A, 0x20 | 0x80, 0));
    ASSERT_TRUE(waitUntil([&] { return page->calls.size() == 2; }));

    // The dialog drives its pages through the base.
    CRegionDlg& base = *page;
    base.ShowAssignment();
    base.BuildPage();
    EXPECT_EQ(page->calls, (std::vector<std::string>{"1034:32", "1034:160", "ShowAssignment"}));

    delete page;
    EXPECT_FALSE(Messages::isWindow(handle));
}

TEST(RegionDlg, PaintsNothingOverWhatLiesBeneath) {
    QWidget dialog;
    dialog.resize(100, 80);
    QPalette palette = dialog.palette();
    palette.setColor(QPalette::Window, QColor(200, 30, 30));
    dialog.setPalette(palette);
    dialog.setAutoFillBackground(true);

    CRegionDlg page(0x41, &dialog);
    page.setGeometry(15, 20, 60, 40);
    // Were the page to fill its background, it would show this.
    palette.setColor(QPalette::Window, QColor(30, 200, 30));
    page.setPalette(palette);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    EXPECT_EQ(dialog.grab().toImage().pixel(40, 40), qRgb(200, 30, 30));
}
