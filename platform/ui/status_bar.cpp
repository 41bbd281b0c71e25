#include "platform/ui/status_bar.h"

#include "platform/ui/control_errors.h"
#include "platform/ui/twips.h"

#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace ui {

std::string PanelDateText(sys::DateTime time)
{
    const sys::DateParts parts = sys::SplitDateTime(time);
    return std::to_string(parts.month) + "/" + std::to_string(parts.day) + "/" + std::to_string(parts.year);
}

std::string PanelTimeText(sys::DateTime time)
{
    const sys::DateParts parts = sys::SplitDateTime(time);
    const int hour = parts.hour % 12 == 0 ? 12 : parts.hour % 12;
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d %s", hour, parts.minute, parts.hour < 12 ? "AM" : "PM");
    return text;
}

std::string StatusPanel::Text() const { return label_->text().toStdString(); }
void StatusPanel::setText(const std::string& text)
{
    const QString shown = QString::fromStdString(text);
    if (label_->text() != shown) label_->setText(shown);
}

void StatusPanel::setWidth(float twips)
{
    width_ = twips;
    bar_.arrange();
}

void StatusPanel::setMinWidth(float twips)
{
    minWidth_ = twips;
    bar_.arrange();
}

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent), clock_(new QTimer(this))
{
    setSizeGripEnabled(false);
    connect(clock_, &QTimer::timeout, this, &StatusBar::showClock);
    clock_->start(1000);
}

StatusBar::~StatusBar() = default;

void StatusBar::AddPanel(PanelStyle style, float width, float minWidth, const std::string& text)
{
    auto* label = new QLabel(this);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setContentsMargins(3, 0, 3, 0);
    label->show();
    std::unique_ptr<StatusPanel> panel(new StatusPanel(*this, label, style));
    panel->width_ = width;
    panel->minWidth_ = minWidth;
    panel->setText(text);
    panels_.push_back(std::move(panel));
    arrange();
    showClock();
}

StatusPanel& StatusBar::Panels(int index)
{
    if (index < 1 || index > Count()) RaiseControlError(kIndexOutOfBounds);
    return *panels_[index - 1];
}

void StatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    arrange();
}

void StatusBar::arrange()
{
    float left = 0;
    for (const auto& panel : panels_) {
        const float width = std::max(panel->width_, panel->minWidth_);
        panel->label_->setGeometry(TwipsToPixels(int(left)), 0, TwipsToPixels(int(width)), height());
        left += width;
    }
}

void StatusBar::showClock()
{
    const sys::DateTime now = sys::Now();
    for (const auto& panel : panels_) {
        if (panel->style_ == PanelStyle::Date) panel->setText(PanelDateText(now));
        if (panel->style_ == PanelStyle::Time) panel->setText(PanelTimeText(now));
    }
}

} // namespace ui
