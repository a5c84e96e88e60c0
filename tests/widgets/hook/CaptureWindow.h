#pragma once

#include "shell/KeyCaptureLibrary.h"
#include "support/RecordingWindow.h"
#include "support/TempWorld.h"
#include "support/WaitUntil.h"

#include <QFile>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <vector>

// A tool window as the key setting dialog is one: it swallows Enter, Escape and Space in its
// own key handlers and takes the key messages of the capture library. Keys typed in it go
// to a focused child that passes them on, so each key is delivered to the window, the child
// and the window widget in turn, as in a real dialog.
class CaptureWindow : public RecordingWindow {
public:
    CaptureWindow() : child_(this) {
        resize(200, 120);
        child_.setGeometry(10, 10, 100, 40);
        child_.setFocusPolicy(Qt::StrongFocus);
        child_.setFocus();
    }

    // The Qt keys that reached this window's own handlers, and those it swallowed, presses
    // and releases alike.
    std::vector<int> handled;
    std::vector<int> swallowed;

    // The key messages, as {wParam, lParam}, that arrived before a marker posted now: once the
    // marker is here, nothing posted before it is still on its way.
    std::vector<std::pair<std::uint64_t, std::int64_t>> keyMessages() {
        constexpr std::uint32_t Marker = 0x7FFF;
        const std::size_t before = messages(Marker).size();
        Messages::postMessage(handle(), Marker, 0, 0);
        EXPECT_TRUE(waitUntil([&] { return messages(Marker).size() > before; }));
        std::vector<std::pair<std::uint64_t, std::int64_t>> keys;
        for (const Message& m : messages(KeyCaptureLibrary::KeyMessage))
            keys.emplace_back(m.wParam, m.lParam);
        return keys;
    }

protected:
    void keyPressEvent(QKeyEvent* event) override { swallowOrPass(event); }
    void keyReleaseEvent(QKeyEvent* event) override { swallowOrPass(event); }

private:
    void swallowOrPass(QKeyEvent* event) {
        handled.push_back(event->key());
        switch (event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Escape:
            case Qt::Key_Space:
                swallowed.push_back(event->key());
                event->accept();
                return;
            default:
                event->ignore();  // on to whoever wants it, as QWidget does
        }
    }

    QWidget child_;
};

// The built library, put into this test's application folder, where the tool looks for it.
inline void installKeyCaptureLibrary() {
    const QString target =
        TempWorld::current().appDir() + QLatin1String(KeyCaptureLibrary::FileName);
    QFile::remove(target);
    ASSERT_TRUE(QFile::copy(QStringLiteral(HALDA_KEY_CAPTURE_LIBRARY), target));
}

inline std::pair<std::uint64_t, std::int64_t> pressed(std::uint64_t virtualKey) {
    return {virtualKey, 0};
}
inline std::pair<std::uint64_t, std::int64_t> released(std::uint64_t virtualKey) {
    return {virtualKey, KeyCaptureLibrary::ReleasedFlag};
}
