#pragma once

#include "platform/Messages.h"

#include <QWidget>

#include <cstdint>
#include <vector>

// A plain window that takes messages and remembers each one, in the order it got them, and
// whether it was sent (handled inside the sender's call) or posted (from the event loop).
// Controls placed on it report to it as to their parent window.
class RecordingWindow : public QWidget, public MessageReceiver {
public:
    struct Message {
        std::uint32_t message = 0;
        std::uint64_t wParam = 0;
        std::int64_t lParam = 0;
        bool sent = false;
        bool operator==(const Message&) const = default;
    };

    explicit RecordingWindow(QWidget* parent = nullptr) : QWidget(parent) {
        handle_ = Messages::registerWindow(this);
    }
    ~RecordingWindow() override { Messages::unregisterWindow(handle_); }

    WindowHandle handle() const { return handle_; }

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override {
        received.push_back({message, wParam, lParam, Messages::inSendMessage()});
        return 0;
    }

    // Only the messages with this number, in order.
    std::vector<Message> messages(std::uint32_t message) const {
        std::vector<Message> matching;
        for (const Message& m : received)
            if (m.message == message)
                matching.push_back(m);
        return matching;
    }

    std::vector<Message> received;

private:
    WindowHandle handle_ = 0;
};
