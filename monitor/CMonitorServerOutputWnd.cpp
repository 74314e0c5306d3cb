#include "monitor/CMonitorServerOutputWnd.h"

#include "gui/Prompter.h"
#include "gui/SlotGuard.h"
#include "monitor/MonitorControl.h"
#include "monitor/MonitorLogWriter.h"
#include "monitor/MonitorSource.h"
#include "monitor/MonitorStyle.h"

#include "common/Clock.h"
#include "common/LocalTime.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>

namespace kv::monitor {

namespace {

QFont arial8() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    return font;
}

// Cuts `text` to at most `max` bytes without splitting a UTF-8 sequence.
bool cutAt(std::string& text, std::size_t max) {
    if (text.size() <= max)
        return false;
    while (max > 0 && (static_cast<unsigned char>(text[max]) & 0xC0) == 0x80)
        --max;
    text.resize(max);
    return true;
}

} // namespace

CMonitorServerOutputWnd::CMonitorServerOutputWnd(MonitorSource& source, MonitorControl* control, MonitorOptions options,
                                                 gui::Prompter& prompter, QWidget* parent)
    : QWidget(parent), source_(source), control_(control), options_(std::move(options)), prompter_(prompter),
      font_(arial8()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    const QFontMetrics metrics(font_);
    lineHeight_ = metrics.height() + metrics.descent();

    auto makeButton = [this](const char* text) {
        auto* button = new QPushButton(QString::fromUtf8(text), this);
        button->setFont(font_);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    if (options_.hasStopButton())
        stop_ = makeButton("Stop Server");
    clear_ = makeButton("Clear Window");
    save_ = makeButton("Save To Disk");
    help_ = makeButton("Help");
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setRange(0, 0);

    if (stop_)
        connect(stop_, &QPushButton::clicked, this, gui::guarded([this](bool) { stopServer(); }));
    connect(clear_, &QPushButton::clicked, this, gui::guarded([this](bool) { clearWindow(); }));
    connect(save_, &QPushButton::clicked, this, gui::guarded([this](bool) { saveToDisk(); }));
    connect(help_, &QPushButton::clicked, this, gui::guarded([this](bool) {
                if (options_.help)
                    options_.help();
            }));
    connect(scroll_, &QScrollBar::actionTriggered, this, gui::guarded([this](int action) { onScrollAction(action); }));
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) {
        first_ = static_cast<std::size_t>(std::max(value, 0));
        update();
    });
    connect(&source_, &MonitorSource::linesChanged, this, gui::guarded([this](bool follow) { refresh(follow); }));
    if (control_)
        connect(control_.data(), &MonitorControl::stateChanged, this, [this] { updateStopButton(); });
    updateStopButton();
    layoutChildren();
}

CMonitorServerOutputWnd::~CMonitorServerOutputWnd() {
    // A window torn down without a close event still lets go of its server.
    if (!closing_ && control_) {
        closing_ = true;
        control_->monitorClosed();
    }
}

QRect CMonitorServerOutputWnd::outputArea() const {
    const int barWidth = scroll_ ? scroll_->sizeHint().width() : 0;
    return QRect(0, 0, std::max(0, width() - barWidth), std::max(0, height() - kButtonStrip));
}

int CMonitorServerOutputWnd::visibleLines() const {
    if (lineHeight_ <= 0)
        return 0;
    return std::max(0, outputArea().height() / lineHeight_ - 1);
}

std::size_t CMonitorServerOutputWnd::lastFirst() const {
    const std::size_t n = source_.lineCount();
    const std::size_t v = static_cast<std::size_t>(visibleLines());
    return n > v + 1 ? n - v - 1 : 0;
}

void CMonitorServerOutputWnd::setFirst(std::size_t first) {
    first_ = first;
    {
        const QSignalBlocker block(scroll_);
        scroll_->setValue(static_cast<int>(std::min<std::size_t>(first, INT_MAX)));
    }
    update();
}

void CMonitorServerOutputWnd::refresh(bool follow) {
    const std::size_t n = source_.lineCount();
    const std::size_t v = static_cast<std::size_t>(visibleLines());
    const std::size_t top = n > v ? n - v : 0;
    {
        const QSignalBlocker block(scroll_);
        scroll_->setRange(0, static_cast<int>(std::min<std::size_t>(top, INT_MAX)));
        scroll_->setPageStep(std::max(1, static_cast<int>(v)));
    }
    setFirst(follow ? lastFirst() : std::min(first_, top));
}

void CMonitorServerOutputWnd::onScrollAction(int action) {
    const std::size_t v = static_cast<std::size_t>(visibleLines());
    const std::size_t last = lastFirst();
    std::size_t target = first_;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        if (first_ > 0)
            target = first_ - 1;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        if (first_ < last)
            target = first_ + 1;
        break;
    case QAbstractSlider::SliderPageStepSub:
        if (options_.pageScrolling())
            target = first_ > v ? first_ - v : 0;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        if (options_.pageScrolling()) {
            if (last >= v && first_ < last - v)
                target = first_ + v;
            else if (first_ < last)
                target = last;
        }
        break;
    default:
        return; // dragging and releasing the thumb: its position stands
    }
    scroll_->setSliderPosition(static_cast<int>(std::min<std::size_t>(target, INT_MAX)));
}

void CMonitorServerOutputWnd::lineUp() {
    scroll_->triggerAction(QAbstractSlider::SliderSingleStepSub);
}
void CMonitorServerOutputWnd::lineDown() {
    scroll_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}
void CMonitorServerOutputWnd::pageUp() {
    scroll_->triggerAction(QAbstractSlider::SliderPageStepSub);
}
void CMonitorServerOutputWnd::pageDown() {
    scroll_->triggerAction(QAbstractSlider::SliderPageStepAdd);
}

void CMonitorServerOutputWnd::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 40; // three lines per notch
    for (int i = 0; i < std::abs(steps); ++i)
        steps > 0 ? lineUp() : lineDown();
    event->accept();
}

void CMonitorServerOutputWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = outputArea();
    painter.fillRect(area, options_.background);
    painter.fillRect(QRect(0, area.bottom() + 1, width(), height() - area.height()), palette().color(QPalette::Window));
    painter.setFont(font_);
    const QFontMetrics metrics(font_);
    lineHeight_ = metrics.height() + metrics.descent();
    if (area.isEmpty())
        return;
    painter.setClipRect(area);
    painter.setBackgroundMode(Qt::TransparentMode);

    // Only what fits is fetched and shaped: the cost follows the window's size, not the list's length.
    const int rows = (area.height() + lineHeight_ - 1) / lineHeight_;
    const std::vector<MonitorLine> lines = source_.lines(first_, static_cast<std::size_t>(rows));
    const int textWidth = std::max(0, area.width() - 4);
    // No more characters are shaped than the narrowest glyph could fit across the area.
    const qsizetype maxChars = textWidth / std::max(1, metrics.horizontalAdvance(QLatin1Char('i'))) + 8;
    const std::size_t maxBytes = static_cast<std::size_t>(maxChars) * 4;
    const bool memory = source_.showMemory();
    bool ending = false;
    int y = area.top();
    for (const MonitorLine& line : lines) {
        if (y > area.bottom())
            break;
        std::string shown = monitor_style::displayText(line, memory);
        bool cut = cutAt(shown, maxBytes);
        QString text = QString::fromUtf8(shown);
        if (text.size() > maxChars) {
            text.truncate(maxChars);
            cut = true;
        }
        if (cut)
            text += QChar(0x2026);
        painter.setPen(monitor_style::lineColour(line.text, options_.text));
        painter.drawText(area.left() + 2, y + metrics.ascent(), metrics.elidedText(text, Qt::ElideRight, textWidth));
        ending = ending || monitor_style::endsServer(line.text);
        y += lineHeight_;
    }
    if (ending && !errorSeen_) {
        errorSeen_ = true;
        updateStopButton();
    }
}

void CMonitorServerOutputWnd::resizeEvent(QResizeEvent*) {
    layoutChildren();
}

void CMonitorServerOutputWnd::layoutChildren() {
    const QRect area = outputArea();
    scroll_->setGeometry(area.right() + 1, 0, width() - area.width(), area.height());
    const int top = height() - 25;
    int x = 10;
    auto place = [&](QPushButton* button, int w) {
        if (!button)
            return;
        button->setGeometry(x, top, w, 20);
        x += w + 20;
    };
    place(stop_, 90);
    place(clear_, 100);
    place(save_, 100);
    place(help_, 75);
    refresh(true);
}

void CMonitorServerOutputWnd::updateStopButton() {
    if (!stop_)
        return;
    if (control_)
        stop_->setText(control_->stopButtonText());
    stop_->setEnabled(control_ && control_->canStop() && !errorSeen_);
}

void CMonitorServerOutputWnd::clearWindow() {
    if (!prompter_.askYesNo(this, QStringLiteral("Are you sure you want to clear the monitor log window?"),
                            QStringLiteral("Clear Monitor Log")))
        return;
    source_.clearLines();
    refresh(false);
}

void CMonitorServerOutputWnd::saveToDisk() {
    const std::int64_t now = options_.clock ? options_.clock->nowSeconds() : currentSeconds();
    const QString proposed = QString::fromStdString(monitor_style::saveFileName(options_.setupName, now));
    // The dialog adds ".LOG" itself, so that its overwrite question is about the file that is written.
    const QString path =
        prompter_.saveFileName(this, QStringLiteral("Save To Disk"), proposed,
                               QStringLiteral("Log Files (*.LOG *.log);;All Files (*)"), QStringLiteral("LOG"));
    if (path.isEmpty())
        return;
    std::string error;
    if (!writeMonitorLog(source_, path.toStdString(), options_.stampedSave(), &error)) {
        prompter_.showError(this,
                            QStringLiteral("The log file could not be saved to the location specified.  You may not "
                                           "have sufficient rights to write to the location."),
                            QStringLiteral("Unable To Create Log File"));
    }
}

void CMonitorServerOutputWnd::stopServer() {
    if (!control_ || !stop_ || !stop_->isEnabled())
        return;
    if (!prompter_.askYesNo(this, options_.stopQuestion, QStringLiteral("Stop Server")))
        return;
    if (control_)
        control_->stopServer();
    updateStopButton();
}

void CMonitorServerOutputWnd::closeWithoutAsking() {
    programClose_ = true;
    close();
}

void CMonitorServerOutputWnd::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (!programClose_ && control_ && stop_ && stop_->isEnabled() &&
        !prompter_.askYesNo(this, options_.closeQuestion, QStringLiteral("Stop Server and Close Monitor"))) {
        event->ignore();
        return;
    }
    closing_ = true;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        if (control_)
            control_->monitorClosed();
    } catch (...) {
    }
    QGuiApplication::restoreOverrideCursor();
    emit closed();
    event->accept();
}

} // namespace kv::monitor
