#pragma once

#include <QString>

#include <functional>

// The tool's few message boxes: OK only, captioned with the application's name.
// The presenter is a seam: the windows layer installs one that shows a real box, tests
// install one that records the text, and without either the text goes to stderr.
class MessageBox {
public:
    using Presenter = std::function<void(const QString& caption, const QString& text)>;

    static void show(const QString& text);
    static QString caption();
    // Returns the previous presenter so a test can restore it.
    static Presenter setPresenter(Presenter presenter);
};
