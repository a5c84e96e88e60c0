#include "platform/MessageBox.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

TEST(MessageBox, ShowsThroughThePresenterCaptionedWithTheApplicationName) {
    QCoreApplication::setApplicationName(QStringLiteral("Halda"));
    QStringList shown;
    const auto previous = MessageBox::setPresenter(
        [&](const QString& caption, const QString& text) { shown << caption + "|" + text; });
    MessageBox::show(QStringLiteral("error!"));
    MessageBox::setPresenter(previous);
    EXPECT_EQ(shown, QStringList{"Halda|error!"});
}
