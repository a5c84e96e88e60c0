// Removing a combination or a macro that other keys use: those keys lose it at once, and the
// keys of the records after it follow them to their new places only when the page stores the
// table (its OK). A removal the user drops never stored, so nothing moves then.
#include "windows/DlgMacro.h"
#include "windows/DlgSingleComb.h"

#include "controls/GDIBitmapBtn.h"
#include "controls/ListBoxEx.h"
#include "widgets/windows/KeyPageFixture.h"

#include <QTest>

#include <functional>
#include <memory>
#include <string>

namespace {

constexpr std::uint8_t EditedKey = 112;
constexpr std::uint8_t A = 'A', B = 'B', C = 'C', D = 'D';

enum class Step { Delete0, Delete1, New, ShowAgain };
enum class End { Ok, Cancel };

struct Case {
    const char* what;
    std::vector<Step> steps;
    End end;
    // Where A, B, C and D are afterwards: a record's index, or -1 for the default.
    std::array<int, 4> after;
    std::vector<std::int64_t> released;  // the keys reported with 0x614, in order
};

// Records 0, 1, 2; D uses 0, A and B use 1, C uses 2.
const Case Cases[] = {
    {"delete 1, OK", {Step::Delete1}, End::Ok, {-1, -1, 1, 0}, {A, B}},
    {"delete 1, Cancel", {Step::Delete1}, End::Cancel, {-1, -1, 2, 0}, {A, B}},
    {"delete 1 then 0, OK", {Step::Delete1, Step::Delete0}, End::Ok, {-1, -1, 0, -1}, {A, B, D}},
    {"delete 1, page shown again, OK",
     {Step::Delete1, Step::ShowAgain},
     End::Ok,
     {-1, -1, 2, 0},
     {A, B}},
    {"new, delete 0, OK", {Step::New, Step::Delete0}, End::Ok, {0, 0, 1, -1}, {D}},
    {"new, delete 1, 2 and the new one, OK",
     {Step::New, Step::Delete1, Step::Delete1, Step::Delete1},
     End::Ok,
     {-1, -1, -1, 0},
     {A, B, C}},
};

// One of the two pages that own a table, driven through what the user and the dialog do.
struct TablePage {
    AssignType type;
    std::function<std::unique_ptr<CRegionDlg>(const KeyCaptureLibrary&)> make;
    const char* listName;
    std::function<void()> storeThree;
};

class RecordDeletion : public KeyPageFixture {
protected:
    void run(const TablePage& table) {
        for (const Case& c : Cases) {
            SCOPED_TRACE(c.what);
            KeyTable::instance().clear();
            table.storeThree();
            assign(EditedKey, table.type, 0);
            assign(D, table.type, 0);
            assign(A, table.type, 1);
            assign(B, table.type, 1);
            assign(C, table.type, 2);
            deliverPosts();
            mainWindow.received.clear();

            KeyCaptureLibrary hook;
            std::unique_ptr<CRegionDlg> page = table.make(hook);
            page->ShowAssignment();
            auto* list = page->findChild<CListBoxEx*>(QLatin1String(table.listName));
            const auto click = [&](const char* name) {
                QTest::mouseClick(page->findChild<CGDIBitmapBtn*>(QLatin1String(name)),
                                  Qt::LeftButton);
            };
            for (const Step step : c.steps) {
                switch (step) {
                    case Step::Delete0:
                    case Step::Delete1:
                        list->setSelectedRow(step == Step::Delete0 ? 0 : 1);
                        click("deleteButton");
                        break;
                    case Step::New:
                        click("newButton");
                        break;
                    case Step::ShowAgain:
                        page->ShowAssignment();
                        break;
                }
            }
            if (c.end == End::Ok)
                page->ApplyAssignment();
            page.reset();

            const std::array<std::uint8_t, 4> keys{A, B, C, D};
            for (std::size_t i = 0; i < keys.size(); ++i) {
                SCOPED_TRACE(std::string(1, char(keys[i])));
                const KeyAssignment expected = c.after[i] < 0
                                                   ? KeyAssignment{keys[i], AssignDefault, 0}
                                                   : KeyAssignment{keys[i], table.type, c.after[i]};
                EXPECT_EQ(assignment(keys[i]), expected);
            }
            EXPECT_EQ(keysPosted(MainWindowReference::KeyReleased), c.released);
            for (const RecordingWindow::Message& m :
                 mainWindow.messages(MainWindowReference::KeyReleased))
                EXPECT_NE(m.wParam, 0u);  // the page's window
        }
    }
};

TEST_F(RecordDeletion, KeysFollowTheCombinationTable) {
    run({AssignCombination,
         [](const KeyCaptureLibrary& hook) {
             return std::make_unique<CDlgSingleComb>(EditedKey, hook);
         },
         "combinationList", [] { storeCombinations(3); }});
}

TEST_F(RecordDeletion, KeysFollowTheMacroTable) {
    run({AssignMacro,
         [](const KeyCaptureLibrary& hook) { return std::make_unique<CDlgMacro>(EditedKey, hook); },
         "macroList", [] { storeMacros(3); }});
}

}  // namespace
