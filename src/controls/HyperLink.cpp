#include "controls/HyperLink.h"

#include "platform/MessageBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <cerrno>

namespace {
// Success is any result above 32; this is the one the shell usually gives.
constexpr int kOpened = 42;

int resultCode(const UrlOpenResult& outcome) {
    switch (outcome.status) {
        case UrlOpenResult::Status::Started:
            return kOpened;
        case UrlOpenResult::Status::NoHandler:
            return 31;
        case UrlOpenResult::Status::NotStarted:
            break;
    }
    switch (outcome.systemError) {
        case ENOENT:
        case ELOOP:
        case ENAMETOOLONG:
            return 2;
        case ENOTDIR:
            return 3;
        case EACCES:
        case EPERM:
            return 5;
        case ENOMEM:
            return 8;
        case ENOEXEC:
            return 11;
        case ETXTBSY:
            return 26;
        default:
            // Negated, so that no system error number reads as a success or as one of the
            // codes above.
            return -outcome.systemError;
    }
}

QString failureText(int result) {
    switch (result) {
        case 0:
            return QStringLiteral("The operating system is out\nof memory or resources.");
        case 2:
            return QStringLiteral("The specified file was not found.");
        case 3:
            return QStringLiteral("The specified path was not found.");
        case 5:
            return QStringLiteral("The operating system denied\naccess to the specified file.");
        case 8:
            return QStringLiteral("There was not enough memory to complete the operation.");
        case 11:
            return QStringLiteral(
                "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
        case 26:
            return QStringLiteral("A sharing violation occurred. ");
        case 27:
            return QStringLiteral("The filename association is\nincomplete or invalid.");
        case 28:
            return QStringLiteral(
                "The DDE transaction could not\nbe completed because the request timed out.");
        case 29:
            return QStringLiteral("The DDE transaction failed.");
        case 30:
            return QStringLiteral(
                "The DDE transaction could not\nbe completed because other DDE "
                "transactions\nwere being processed.");
        case 31:
            return QStringLiteral(
                "There is no application associated\nwith the given filename extension.");
        case 32:
            return QStringLiteral("The specified dynamic-link library was not found.");
        default:
            return QStringLiteral("Unknown Error (%1) occurred.")
                .arg(result < 0 ? -result : result);
    }
}
}  // namespace

CHyperLink::CHyperLink(const QString& text, QWidget* parent) : QLabel(text, parent), target_(text) {
    setTextFormat(Qt::PlainText);
    // A plain static text: its text at the top left, which is also where fitting anchors it.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    hoverTimer_.setInterval(HoverTimerMs);
    connect(&hoverTimer_, &QTimer::timeout, this, &CHyperLink::checkPointerLeft);
    fitToText();
    setToolTip(target_);
}

void CHyperLink::SetTarget(const QString& target) {
    target_ = target;
    if (text().isEmpty())
        setText(target);
    fitToText();
    setToolTip(target);
}

int CHyperLink::OpenTarget(const QString& target) {
    const UrlOpenResult desktop = openers_.desktopHandler(target);
    if (desktop.status == UrlOpenResult::Status::Started)
        return resultCode(desktop);
    const UrlOpenResult browser = openers_.webBrowser(target);
    // Without a program for web pages the user learns why the first way failed.
    return resultCode(browser.status == UrlOpenResult::Status::NoHandler ? desktop : browser);
}

QString CHyperLink::openFailureMessage(int result) {
    return QStringLiteral("Unable to open hyperlink:\n\n") + failureText(result);
}

void CHyperLink::setLinkColor(const QColor& color) {
    linkColor_ = color;
    update();
}

void CHyperLink::setVisitedColor(const QColor& color) {
    visitedColor_ = color;
    update();
}

void CHyperLink::setHoverColor(const QColor& color) {
    hoverColor_ = color;
    update();
}

void CHyperLink::setUnderlineMode(int mode) {
    underlineMode_ = mode;
    underlined_ = mode == UnderlineAlways || (mode == UnderlineWhileHovered && hovered_);
    update();
}

QColor CHyperLink::currentColor() const {
    return hovered_ ? hoverColor_ : visited_ ? visitedColor_ : linkColor_;
}

QFont CHyperLink::textFont(bool underlined) const {
    QFont f = font();
    f.setUnderline(underlined);
    return f;
}

void CHyperLink::fitToText() {
    if (!fitToText_)
        return;
    // Measured underlined, as the text may be drawn so; the frame keeps its size.
    const QSize textSize = QFontMetrics(textFont(true)).size(Qt::TextSingleLine, text());
    const QSize frame = size() - contentsRect().size();
    const int width = textSize.width() + frame.width();
    const int height = textSize.height() + frame.height();
    QRect area = geometry();
    if (alignment() & Qt::AlignVCenter) {
        const int half = (area.height() - height) / 2;
        area.adjust(0, half, 0, -half);
    } else {
        area.setHeight(height);
    }
    if (alignment() & Qt::AlignHCenter) {
        const int half = (area.width() - width) / 2;
        area.adjust(half, 0, -half, 0);
    } else if (alignment() & Qt::AlignRight) {
        area.setLeft(area.x() + area.width() - width);
    } else {
        area.setWidth(width);
    }
    setGeometry(area);
}

void CHyperLink::paintEvent(QPaintEvent*) {
    // No background: the window behind shows around the letters.
    QPainter painter(this);
    painter.setFont(textFont(underlined_));
    painter.setPen(isEnabled() ? currentColor()
                               : palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(contentsRect(), int(alignment()) | Qt::TextSingleLine, text());
}

void CHyperLink::mouseMoveEvent(QMouseEvent* event) {
    if (!hovered_) {
        hovered_ = true;
        if (underlineMode_ == UnderlineWhileHovered)
            underlined_ = true;
        update();
        hoverTimer_.start();
    }
    QLabel::mouseMoveEvent(event);
}

void CHyperLink::checkPointerLeft() {
    if (underMouse())
        return;
    hovered_ = false;
    hoverTimer_.stop();
    if (underlineMode_ != UnderlineAlways)
        underlined_ = false;
    update();
}

void CHyperLink::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
    QLabel::mousePressEvent(event);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
    const bool clicked = pressed_ && event->button() == Qt::LeftButton &&
                         rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (clicked)
        click();
}

void CHyperLink::click() {
    hovered_ = false;
    const int result = OpenTarget(target_);
    visited_ = result > 32;
    update();
    if (visited_)
        return;
    QApplication::beep();
    MessageBox::show(openFailureMessage(result));
}
