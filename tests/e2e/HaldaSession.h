#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

// One run of the real tool as a user has it: its own X server, an application folder holding
// the built program with the fake companion beside it, and a mouse driven by xdotool.
class HaldaSession {
public:
    HaldaSession();  // starts Xvfb and lays out the application folder
    ~HaldaSession();

    bool startXServer();
    QString appDir() const;
    QString display() const { return display_; }

    // Starts halda and waits until its main window is on screen; false when it is not.
    // It runs under umockdev with the simulated devices of setDevices.
    bool startHalda();
    // The umockdev description (in tests/data) of the devices halda sees; by default one
    // attached Halda keyboard.
    void setDevices(const QString& description) { devices_ = description; }
    // The halda process itself (umockdev-run starts it as its child); 0 while there is none.
    qint64 haldaPid() const;
    QString windowId() const { return window_; }
    // Halda's standard error goes to this file instead of the test's.
    void setErrorOutput(const QString& path) {
        forwardErrors_ = false;
        halda_.setStandardErrorFile(path);
    }
    // Starts another halda and waits for it to end; returns its exit code (-1 on time-out).
    int runSecondHalda();
    // Clicks at window client coordinates of the main window.
    bool click(int x, int y);
    bool waitForHaldaExit(int& exitCode);

    // The companion's log, and the same for the tool's side of the window-message folder.
    QStringList companionLog() const;
    bool waitForLogLine(const std::function<bool(const QString&)>& matches,
                        std::chrono::milliseconds timeout = std::chrono::seconds(10));
    int companionControl(const QStringList& arguments);

    QByteArray storedValue(const QString& name) const;  // data without the type header
    static QString digest(const QByteArray& data);

private:
    bool xdotool(const QStringList& arguments, QString* output = nullptr);

    pid_t xvfbPid_ = -1;
    QString display_;
    QProcess halda_;
    QString window_;
    QString devices_ = QStringLiteral("devices/halda-keyboard.umockdev");
    bool forwardErrors_ = true;
};
