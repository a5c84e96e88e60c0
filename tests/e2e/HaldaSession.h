#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

// One run of the real tool as a user has it: its own X server, an application folder holding
// the built program with the fake companion beside it, and a mouse driven by xdotool.
// Every wait is bounded by a time far beyond what a loaded machine needs: the waits end as
// soon as what they wait for is seen, so the bounds only matter when something is broken.
class HaldaSession {
public:
    HaldaSession();  // starts Xvfb and lays out the application folder
    ~HaldaSession();

    bool startXServer();
    QString appDir() const;
    QString display() const { return display_; }

    // Starts the fake companion as the tool would and waits until its windows can be found.
    bool startCompanion();
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
                        std::chrono::milliseconds timeout = std::chrono::seconds(60));
    int companionControl(const QStringList& arguments);
    // Returns once the tool's main window has handled every message posted to it before the
    // call, such as the 0x610 the companion posts; false when the tool does not answer.
    bool waitForToolToCatchUp();

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
