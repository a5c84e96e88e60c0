#pragma once

// What the tests of the key setting dialog and its capturing pages share: a main window that
// records what the pages post to it, a key table, combination and macro tables of the test's
// choosing, the settings key in the test's own registry, a language file whose texts tell the
// strings apart, and the real key-capture library in the application folder.
#include "widgets/windows/WindowTestWorld.h"

#include "controls/GDIBitmapBtn.h"
#include "controls/ListBoxEx.h"
#include "model/CombTable.h"
#include "model/KeyTable.h"
#include "model/MacroTable.h"
#include "platform/KeyboardLayout.h"
#include "platform/Registry.h"
#include "platform/TickCount.h"
#include "resources/LanguageTable.h"
#include "shell/KeyCaptureLibrary.h"
#include "store/SettingsStore.h"
#include "support/RecordingWindow.h"
#include "support/TempWorld.h"
#include "windows/MainWindowReference.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

class KeyPageFixture : public ::testing::Test {
protected:
    void SetUp() override {
        installKeyCaptureLibrary();
        writeLanguageFile();
        KeyboardLayout::setLayout(QStringLiteral("us"));
        windowworld::clearKeysAndStoredRecords();
        CombTable::instance().clear();
        MacroTable::instance().clear();
        ASSERT_TRUE(Registry::createKey(SettingsStore::KeyPath));
        MainWindowReference::set(mainWindow.handle());
    }

    void TearDown() override {
        MainWindowReference::set(0);
        TickCount::setSourceForTesting({});
        KeyboardLayout::setLayout({});
    }

    static void installKeyCaptureLibrary() {
        const QString target =
            TempWorld::current().appDir() + QLatin1String(KeyCaptureLibrary::FileName);
        QFile::remove(target);
        ASSERT_TRUE(QFile::copy(QStringLiteral(HALDA_KEY_CAPTURE_LIBRARY), target));
    }

    static void assign(std::uint8_t code, AssignType type, std::int32_t value) {
        KeyTable::instance().entry(code) = {code, type, value};
    }
    static KeyAssignment assignment(std::uint8_t code) { return KeyTable::instance().entry(code); }

    // Stored combinations "C0", "C1", ..., the first key of each its index + 'A'.
    static void storeCombinations(int count) {
        CombTable table;
        for (int i = 0; i < count; ++i) {
            table.AddCombination(QStringLiteral("C%1").arg(i));
            const std::uint8_t key = std::uint8_t('A' + i);
            table.SetKeys(i, std::span(&key, 1));
        }
        table.SaveToImage(CombTable::image());
    }
    // Stored macros "M0", "M1", ..., each one press of its index + 'A'.
    static void storeMacros(int count) {
        MacroTable table;
        for (int i = 0; i < count; ++i) {
            table.AddMacro(QStringLiteral("M%1").arg(i));
            table.AppendEvent(i, std::uint8_t('A' + i), false);
        }
        table.SaveToImage(MacroTable::image());
    }

    // The value as the registry holds it; empty when it was never written.
    static std::vector<std::uint8_t> registryValue(const QString& name, std::size_t size) {
        std::vector<std::uint8_t> data(size);
        const std::optional<Registry> key = Registry::openKey(SettingsStore::KeyPath);
        if (!key)
            return {};
        const std::optional<Registry::ValueInfo> info = key->queryValue(name, data);
        if (!info || info->type != Registry::RegBinary)
            return {};
        data.resize(info->size);
        return data;
    }

    // Delivers everything posted so far (key messages, list notices, messages to the main
    // window), in the order it was posted.
    static void deliverPosts() { QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall); }

    // A key message as the capture library posts it.
    static void postKey(WindowHandle page, std::uint64_t virtualKey, bool released) {
        Messages::postMessage(page, KeyCaptureLibrary::KeyMessage, virtualKey,
                              released ? KeyCaptureLibrary::ReleasedFlag : 0);
        deliverPosts();
    }
    static void pressAndRelease(WindowHandle page, std::initializer_list<std::uint64_t> keys) {
        for (const std::uint64_t key : keys) {
            postKey(page, key, false);
            postKey(page, key, true);
        }
    }

    // The key codes of the messages with this number that reached the main window.
    std::vector<std::int64_t> keysPosted(std::uint32_t message) {
        deliverPosts();
        std::vector<std::int64_t> keys;
        for (const RecordingWindow::Message& m : mainWindow.messages(message))
            keys.push_back(m.lParam);
        return keys;
    }

    RecordingWindow mainWindow;

private:
    static void writeLanguageFile() {
        windowworld::loadLanguage({
            {"str_buttondefault", "Key"},
            {"str_buttonedit", "Edit key"},
            {"str_singlecomb", "Key/combo"},
            {"str_macro", "Macro"},
            {"str_base", "Functions"},
            {"str_media", "Media"},
            {"str_mouse", "Mouse"},
            {"str_OK", "OK"},
            {"str_Cancel", "Cancel"},
            {"str_Restore", "Reset key"},
            {"str_singlekey", "Single"},
            {"str_combkey", "Combination"},
            {"str_input_key", "Captured key"},
            {"str_comblist", "Combos"},
            {"str_startrecord", "Record"},
            {"str_endrecord", "Stop"},
            {"str_new", "New"},
            {"str_del", "Delete"},
            {"str_macrolist", "Macros"},
            {"str_editlist", "Events"},
            {"str_looptimes", "Repeat"},
            {"str_autodelay", "Delays"},
            {"str_modifydelay", "Set ms"},
            {"str_newmacro", "Recorded"},
            {"str_comb", "Combo"},
        });
    }
};

// One capturing page (single and combination key, or macro) on its own, with the library it
// captures through, and what the user does to it.
template <class Page>
class CapturingPageFixture : public KeyPageFixture {
protected:
    static constexpr std::uint8_t EditedKey = 112;  // F1

    // The page as the key setting dialog brings it to the front.
    Page& open(std::uint8_t keyCode = EditedKey) {
        // The page opened before goes first, while the library it calls into is still there.
        page_.reset();
        hook_ = std::make_unique<KeyCaptureLibrary>();
        page_ = std::make_unique<Page>(keyCode, *hook_);
        page_->resize(442, 186);
        page_->ShowAssignment();
        return *page_;
    }
    void TearDown() override {
        page_.reset();
        KeyPageFixture::TearDown();
    }

    CGDIBitmapBtn& button(const char* name) {
        auto* found = page_->template findChild<CGDIBitmapBtn*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    void click(const char* name) { QTest::mouseClick(&button(name), Qt::LeftButton); }
    void selectRow(CListBoxEx& list, int row) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.item(row)).center());
        deliverPosts();
    }
    WindowHandle page() const { return page_->handle(); }

    std::unique_ptr<KeyCaptureLibrary> hook_;
    std::unique_ptr<Page> page_;
};
