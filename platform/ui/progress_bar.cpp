#include "platform/ui/progress_bar.h"

#include "platform/ui/control_errors.h"

#include <QProgressBar>
#include <QVBoxLayout>

#include <cmath>

namespace ui {

namespace {

// The bar's own scale: finer than any bar is wide, and coarse enough that a
// long run of small steps does not redraw it at every one.
constexpr int kSteps = 1000;

} // namespace

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent), bar_(new QProgressBar(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar_);
    bar_->setRange(0, kSteps);
    bar_->setTextVisible(false);
    draw();
}

void ProgressBar::setMin(float min)
{
    min_ = min;
    if (value_ < min_) value_ = min_;
    draw();
}

void ProgressBar::setMax(float max)
{
    max_ = max;
    if (value_ > max_) value_ = max_;
    draw();
}

void ProgressBar::setValue(float value)
{
    if (value < min_ || value > max_) RaiseControlError(kInvalidPropertyValue);
    value_ = value;
    draw();
}

void ProgressBar::draw()
{
    const float span = max_ - min_;
    const double share = span > 0 ? (value_ - min_) / span : 0.0;
    bar_->setValue(int(std::lround(share * kSteps)));
}

} // namespace ui
