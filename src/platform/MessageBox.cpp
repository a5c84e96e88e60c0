#include "platform/MessageBox.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
MessageBox::Presenter& currentPresenter() {
    static MessageBox::Presenter presenter;
    return presenter;
}
}  // namespace

void MessageBox::show(const QString& text) {
    if (currentPresenter()) {
        currentPresenter()(caption(), text);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption()), qPrintable(text));
}

QString MessageBox::caption() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Halda") : name;
}

MessageBox::Presenter MessageBox::setPresenter(Presenter presenter) {
    return std::exchange(currentPresenter(), std::move(presenter));
}
