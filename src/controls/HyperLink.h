#pragma once

#include "platform/Process.h"

#include <QColor>
#include <QLabel>
#include <QString>
#include <QTimer>

#include <functional>

// A text that is a web link: drawn in the link colour over whatever lies behind it, in the
// hover colour while the pointer is over it and in the visited colour after it was opened;
// underlined as its mode says; a pointing hand and a tooltip with the target; sized to its
// text. A click opens the target, and tells the user in a message box when it cannot.
class CHyperLink : public QLabel {
    Q_OBJECT

public:
    enum UnderlineMode {
        UnderlineWhileHovered = -1,
        UnderlineAlways = 1,
        UnderlineNever = 2,  // and any other value
    };
    static constexpr int HoverTimerMs = 100;

    // The two ways of opening a target, in the order they are tried. Tests put their own in
    // place so that nothing is started.
    struct Openers {
        std::function<UrlOpenResult(const QString&)> desktopHandler =
            &UrlOpener::openWithDesktopHandler;
        std::function<UrlOpenResult(const QString&)> webBrowser = &UrlOpener::openWithWebBrowser;
    };

    // The text is also the target until SetTarget gives another.
    explicit CHyperLink(const QString& text = {}, QWidget* parent = nullptr);

    // Stores the target, shows it as the text when there is none, fits the control to its text
    // and makes the target its tooltip.
    void SetTarget(const QString& target);
    QString target() const { return target_; }

    // Opens the target with the desktop's URL handler or else with the program registered
    // for web pages; never waits for either. Returns a result code above 32 on success;
    // otherwise the code nearest the failure (2 not found, 5 access denied, 31 no program
    // for it, ...), or the negated system error number when no code comes near.
    int OpenTarget(const QString& target);
    // "Unable to open hyperlink:\n\n" and the text for a failed result.
    static QString openFailureMessage(int result);

    void setLinkColor(const QColor& color);
    QColor linkColor() const { return linkColor_; }
    void setVisitedColor(const QColor& color);
    QColor visitedColor() const { return visitedColor_; }
    void setHoverColor(const QColor& color);
    QColor hoverColor() const { return hoverColor_; }

    void setUnderlineMode(int mode);
    int underlineMode() const { return underlineMode_; }
    // On by default; SetTarget resizes the control to its text while it is on.
    void setFitToText(bool fit) { fitToText_ = fit; }

    bool isHovered() const { return hovered_; }
    bool isVisited() const { return visited_; }
    bool isUnderlined() const { return underlined_; }
    bool isHoverTimerActive() const { return hoverTimer_.isActive(); }
    // The colour the text is drawn in now.
    QColor currentColor() const;

    void setOpeners(Openers openers) { openers_ = std::move(openers); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void fitToText();
    void checkPointerLeft();
    void click();
    QFont textFont(bool underlined) const;

    QColor linkColor_{0, 0, 238};
    QColor visitedColor_{85, 26, 139};
    QColor hoverColor_{255, 0, 0};
    bool hovered_ = false;
    bool visited_ = false;
    bool underlined_ = false;
    int underlineMode_ = UnderlineWhileHovered;
    bool fitToText_ = true;
    bool pressed_ = false;
    QString target_;
    // Watches, while the pointer is over the control, for it to have left.
    QTimer hoverTimer_;
    Openers openers_;
};
