#pragma once
// The progress bar control: Min, Max and Value are single-precision numbers,
// as the forms step them (100 / 3 three times makes 100, not the 99 or 98 an
// integer bar would show). The bar draws Value between Min and Max.

#include <QWidget>

class QProgressBar;

namespace ui {

class ProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);

    float Min() const { return min_; }
    void setMin(float min);
    float Max() const { return max_; }
    void setMax(float max);
    float Value() const { return value_; }
    // A value outside Min to Max raises 380 (invalid property value).
    void setValue(float value);

private:
    void draw();

    float min_ = 0;
    float max_ = 100;
    float value_ = 0;
    QProgressBar* bar_;
};

} // namespace ui
