#pragma once
// The status bar control: panels side by side from the left, each as wide as
// set in twips (never narrower than its minimum width), showing a text, the
// current date or the current time; the date and time panels keep current.
// Other widgets (a progress bar) can be placed over the panels by position.

#include "platform/sys/datetime.h"

#include <QStatusBar>

#include <memory>
#include <string>
#include <vector>

class QLabel;
class QTimer;

namespace ui {

enum class PanelStyle { Text = 0, Time = 5, Date = 6 };

class StatusBar;

class StatusPanel {
public:
    PanelStyle Style() const { return style_; }
    std::string Text() const;
    void setText(const std::string& text);
    float Width() const { return width_; }
    void setWidth(float twips);
    float MinWidth() const { return minWidth_; }
    void setMinWidth(float twips);

private:
    friend class StatusBar;
    StatusPanel(StatusBar& bar, QLabel* label, PanelStyle style) : bar_(bar), label_(label), style_(style) {}

    StatusBar& bar_;
    QLabel* label_;
    PanelStyle style_;
    float width_ = 1440;
    float minWidth_ = 0;
};

class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent = nullptr);
    ~StatusBar() override;

    void AddPanel(PanelStyle style, float width, float minWidth, const std::string& text = {});
    int Count() const { return int(panels_.size()); }
    // The panel at the 1-based index; 35600 out of range.
    StatusPanel& Panels(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class StatusPanel;
    void arrange();
    void showClock();

    std::vector<std::unique_ptr<StatusPanel>> panels_;
    QTimer* clock_;
};

// The texts the date and time panels show: "12/7/2026" and "10:44 PM".
std::string PanelDateText(sys::DateTime time);
std::string PanelTimeText(sys::DateTime time);

} // namespace ui
