#pragma once
// A widget's position and size in twips, kept exactly as a form sets them
// (single precision, as the forms compute them), and applied to the widget in
// pixels. A widget whose placement was never set reports its pixel geometry.

class QWidget;

namespace ui {

class Placement {
public:
    explicit Placement(QWidget& widget) : widget_(widget) {}

    float left() const;
    float top() const;
    float width() const;
    float height() const;

    Placement& setLeft(float twips);
    Placement& setTop(float twips);
    Placement& setWidth(float twips);
    Placement& setHeight(float twips);

private:
    struct Box {
        float left, top, width, height;
    };
    Box box() const;
    Placement& apply(const Box& box);
    Placement& set(float Box::*side, float twips);

    QWidget& widget_;
};

inline Placement Placed(QWidget& widget) { return Placement(widget); }

} // namespace ui
