#include "shell/Halda_ConfigApp.h"

#include "platform/Paths.h"
#include "resources/LanguageTable.h"
#include "store/Companion.h"

int CHalda_ConfigApp::run(const std::function<void()>& runMainWindow) {
    loadLanguage();
    // The companion is started before the single-instance test, so a second start of the
    // tool starts it once more; the companion copes with that.
    startCompanion();
    Process::sleepMs(CompanionStartPauseMs);  // time for the companion to open its window
    if (!instanceLock_.acquire())
        return 0;  // another tool runs: end without a word

    runMainWindow();
    shutdown();
    return 0;
}

void CHalda_ConfigApp::loadLanguage() {
    LanguageTable::instance().load(Paths::joinPath(
        Paths::executableDirectory(), QStringLiteral("language"), QStringLiteral("xml")));
}

void CHalda_ConfigApp::startCompanion() {
    // A missing companion is no error: every later lookup simply finds no window.
    Process::startDetached(
        Paths::joinPath(Paths::executableDirectory(), Companion::ExecutableName, {}));
}

void CHalda_ConfigApp::shutdown() {
    instanceLock_.release();
}
