#include "platform/Messages.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <vector>

namespace {
struct Delivery {
    std::uint32_t message;
    bool sent;
    bool operator==(const Delivery&) const = default;
};

struct Recorder : MessageReceiver {
    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t,
                                std::int64_t lParam) override {
        received.push_back({message, Messages::inSendMessage()});
        // A send handled inside a send, and a post from inside a send.
        if (message == 0x10)
            Messages::sendMessage(self, 0x11, 0, 0);
        if (message == 0x12)
            Messages::postMessage(self, 0x13, 0, 0);
        return lParam + 1;
    }
    WindowHandle self = 0;
    std::vector<Delivery> received;
};
}  // namespace

TEST(Messages, SendIsHandledAtOncePostFromTheEventLoop) {
    Recorder recorder;
    recorder.self = Messages::registerWindow(&recorder, QStringLiteral("Local"));
    EXPECT_EQ(Messages::findWindow(QStringLiteral("Local")), recorder.self);
    EXPECT_TRUE(Messages::isWindow(recorder.self));
    EXPECT_EQ(Messages::handleOf(&recorder), recorder.self);

    EXPECT_TRUE(Messages::postMessage(recorder.self, 0x1, 0, 0));
    EXPECT_EQ(Messages::sendMessage(recorder.self, 0x10, 0, 41), 42);
    EXPECT_EQ(Messages::sendMessage(recorder.self, 0x12, 0, 0), 1);
    EXPECT_EQ(recorder.received, (std::vector<Delivery>{{0x10, true}, {0x11, true}, {0x12, true}}));
    EXPECT_FALSE(Messages::inSendMessage());

    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.received,
              (std::vector<Delivery>{
                  {0x10, true}, {0x11, true}, {0x12, true}, {0x1, false}, {0x13, false}}));
}

TEST(Messages, UnregisteredWindowGetsNothingMore) {
    Recorder recorder;
    const WindowHandle window = Messages::registerWindow(&recorder, QStringLiteral("Gone"));
    EXPECT_TRUE(Messages::postMessage(window, 0x1, 0, 0));
    Messages::unregisterWindow(window);
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.received.empty());
    EXPECT_FALSE(Messages::isWindow(window));
    EXPECT_FALSE(Messages::postMessage(window, 0x1, 0, 0));
    EXPECT_EQ(Messages::sendMessage(window, 0x1, 0, 0), 0);
    EXPECT_EQ(Messages::findWindow(QStringLiteral("Gone")), 0u);
    EXPECT_EQ(Messages::handleOf(&recorder), 0u);
}
