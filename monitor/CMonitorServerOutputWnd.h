#pragma once

#include "monitor/MonitorOptions.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <cstddef>

class QPushButton;
class QScrollBar;

namespace kv::gui {
class Prompter;
}

namespace kv::monitor {

class MonitorControl;
class MonitorSource;

// The output monitor window: a black output area showing the visible lines of its source in their colours, a
// vertical scroll bar, and the button row "Stop Server", "Clear Window", "Save To Disk", "Help" in a 30-pixel strip
// at the bottom. Painting costs by visible lines only, never by the length of the list.
class CMonitorServerOutputWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kButtonStrip = 30;

    // `control` may be null (remote feed: no "Stop Server"). Source, control and prompter outlive the window.
    CMonitorServerOutputWnd(MonitorSource& source, MonitorControl* control, MonitorOptions options,
                            gui::Prompter& prompter, QWidget* parent = nullptr);
    ~CMonitorServerOutputWnd() override;

    // Recomputes the scroll range; follow = show the end of the list. Repaints.
    void refresh(bool follow);
    // The buttons' actions, each with its question.
    void clearWindow();
    void saveToDisk();
    void stopServer();
    // A close that the program asks for (restart, crash): no question.
    void closeWithoutAsking();

    // The scroll bar's steps.
    void lineUp();
    void lineDown();
    void pageUp();
    void pageDown();

    std::size_t firstVisibleLine() const { return first_; }
    // Lines that fit the output area less one (0 before the first paint).
    int visibleLines() const;
    int lineHeight() const { return lineHeight_; }
    QRect outputArea() const;
    const MonitorOptions& options() const { return options_; }
    QPushButton* stopButton() const { return stop_; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* helpButton() const { return help_; }
    QScrollBar* scrollBar() const { return scroll_; }

signals:
    // The window has decided to close; its control has been told.
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void layoutChildren();
    void updateStopButton();
    void onScrollAction(int action);
    std::size_t lastFirst() const;
    void setFirst(std::size_t first);

    MonitorSource& source_;
    QPointer<MonitorControl> control_;
    MonitorOptions options_;
    gui::Prompter& prompter_;
    QFont font_;
    QPushButton* stop_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* help_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    std::size_t first_ = 0;
    int lineHeight_ = 0;
    bool errorSeen_ = false;
    bool programClose_ = false;
    bool closing_ = false;
};

} // namespace kv::monitor
