#pragma once

#include "platform/Process.h"

#include <functional>

// The process from start to end: language, companion start, the single-instance rule, then
// the main window, run modally; when it ends, the process ends.
class CHalda_ConfigApp {
public:
    static inline const QString InstanceLockName = QStringLiteral("Zelt_KEYBORAD_DRIVER");
    static constexpr unsigned CompanionStartPauseMs = 1000;

    // Runs start-up, the main window (through runMainWindow) and shutdown; returns the
    // process exit code. A second instance returns 0 without running the main window.
    int run(const std::function<void()>& runMainWindow);

private:
    void loadLanguage();
    void startCompanion();
    void shutdown();

    SingleInstanceLock instanceLock_{InstanceLockName};
};
