#include "SkinnedDialogTesting.h"

#include "controls/GDIBitmapBtn.h"
#include "platform/Messages.h"
#include "windows/DlgRate.h"
#include "windows/DlgRestore.h"

using namespace dialogs;

namespace {
constexpr std::uint32_t WM_CLOSE = 0x0010;
const QSize SkinSize(363, 211);

class RateAndRestore : public ::testing::Test {
protected:
    void SetUp() override {
        const QStringList states = {"Normal", "Down", "Over"};
        writeSkin("Rate", SkinSize, states);
        writeSkin("Restore", SkinSize, states);
    }
};

std::array<bool, 3> checkedChoices(const CDlgRate& dialog) {
    return {dialog.choice(0)->GetChecked(), dialog.choice(1)->GetChecked(),
            dialog.choice(2)->GetChecked()};
}
}  // namespace

TEST_F(RateAndRestore, RateOpensWithTheCurrentCodeAndAnUnknownOneAsTheFirstChoice) {
    struct Case {
        std::int32_t current;
        std::array<bool, 3> checked;
        std::int32_t okCode;
    };
    const Case cases[] = {{8, {true, false, false}, 8}, {2, {false, true, false}, 2},
                          {1, {false, false, true}, 1}, {4, {true, false, false}, 8},
                          {0, {true, false, false}, 8}, {-1, {true, false, false}, 8},
                          {16, {true, false, false}, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.current);
        CDlgRate dialog(c.current);
        EXPECT_EQ(checkedChoices(dialog), c.checked);
        EXPECT_EQ(runModal(dialog, [&] { click(dialog.okButton()); }), QDialog::Accepted);
        EXPECT_EQ(dialog.rateCode(), c.okCode);
    }
}

TEST_F(RateAndRestore, AChoiceChecksItselfAloneAndOkReturnsItsCode) {
    CDlgRate dialog(8);
    showActive(dialog);
    click(dialog.choice(2));
    EXPECT_EQ(checkedChoices(dialog), (std::array<bool, 3>{false, false, true}));
    EXPECT_EQ(dialog.rateCode(), 1);
    // The checked choice shows the pressed picture, the others the idle one.
    EXPECT_EQ(look(dialog.choice(2)), skinColour("Down"));
    EXPECT_EQ(look(dialog.choice(0)), skinColour("Normal"));
    click(dialog.choice(1));
    EXPECT_EQ(checkedChoices(dialog), (std::array<bool, 3>{false, true, false}));
    click(dialog.okButton());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.rateCode(), 2);
}

TEST_F(RateAndRestore, CancelCloseAndACloseRequestEndTheDialogsAsCancelled) {
    enum Way { Cancel, Close, CloseRequest };
    const auto end = [](CSkinnedDialog& dialog, QAbstractButton* cancel, QAbstractButton* close,
                        Way way) {
        if (way == Cancel)
            click(cancel);
        else if (way == Close)
            click(close);
        else  // as the main window closes what it finds open
            Messages::postMessage(Messages::findWindow(dialog.windowTitle()), WM_CLOSE, 0, 0);
    };
    for (const Way way : {Cancel, Close, CloseRequest}) {
        SCOPED_TRACE(way);
        // The owner reads the rate only after OK, so a choice followed by Cancel changes
        // nothing.
        CDlgRate rate(2);
        EXPECT_EQ(runModal(rate,
                           [&] {
                               click(rate.choice(2));
                               end(rate, rate.cancelButton(), rate.closeButton(), way);
                           }),
                  QDialog::Rejected);
        CDlgRestore restore;
        EXPECT_EQ(
            runModal(restore,
                     [&] { end(restore, restore.cancelButton(), restore.closeButton(), way); }),
            QDialog::Rejected);
    }
    CDlgRestore restore;
    EXPECT_EQ(runModal(restore, [&] { click(restore.okButton()); }), QDialog::Accepted);
}

TEST_F(RateAndRestore, TheKeyboardNeitherConfirmsNorCancels) {
    CDlgRate rate(2);
    CDlgRestore restore;
    for (QDialog* dialog : {static_cast<QDialog*>(&rate), static_cast<QDialog*>(&restore)}) {
        showActive(*dialog);
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space})
            QTest::keyClick(dialog, key);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), 0);
        dialog->hide();
    }
    EXPECT_EQ(rate.rateCode(), 2);
}

TEST_F(RateAndRestore, TheDialogsAreFoundByTitleWhileTheyLive) {
    WindowHandle rateHandle = 0, restoreHandle = 0;
    {
        CDlgRate rate(8);
        CDlgRestore restore;
        rateHandle = rate.handle();
        restoreHandle = restore.handle();
        EXPECT_EQ(rate.windowTitle(), "Halda_CDlgRate");
        EXPECT_EQ(restore.windowTitle(), "Halda_CDlgRestore");
        EXPECT_EQ(Messages::findWindow("Halda_CDlgRate"), rateHandle);
        EXPECT_EQ(Messages::findWindow("Halda_CDlgRestore"), restoreHandle);
        // As large as the skin, frameless.
        EXPECT_EQ(rate.size(), SkinSize);
        EXPECT_TRUE(restore.windowFlags() & Qt::FramelessWindowHint);
    }
    EXPECT_EQ(Messages::findWindow("Halda_CDlgRate"), 0u);
    EXPECT_EQ(Messages::findWindow("Halda_CDlgRestore"), 0u);
}

TEST_F(RateAndRestore, ACloseRequestAfterTheDialogEndedChangesNothing) {
    CDlgRestore restore;
    EXPECT_EQ(runModal(restore, [&] { click(restore.okButton()); }), QDialog::Accepted);
    Messages::postMessage(restore.handle(), WM_CLOSE, 0, 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(restore.result(), QDialog::Accepted);
}
