#include "platform/ui/placement.h"

#include "platform/ui/twips.h"

#include <QRectF>
#include <QWidget>

#include <cmath>

namespace ui {

namespace {

constexpr const char* kProperty = "tarvexTwips";

int pixels(float twips) { return int(std::lround(twips / kTwipsPerPixel)); }

} // namespace

Placement::Box Placement::box() const
{
    const QVariant stored = widget_.property(kProperty);
    if (stored.isValid()) {
        const QRectF r = stored.toRectF();
        return {float(r.x()), float(r.y()), float(r.width()), float(r.height())};
    }
    const QRect g = widget_.geometry();
    return {float(g.x() * kTwipsPerPixel), float(g.y() * kTwipsPerPixel), float(g.width() * kTwipsPerPixel),
            float(g.height() * kTwipsPerPixel)};
}

Placement& Placement::apply(const Box& b)
{
    widget_.setProperty(kProperty, QRectF(b.left, b.top, b.width, b.height));
    widget_.setGeometry(pixels(b.left), pixels(b.top), std::max(0, pixels(b.width)), std::max(0, pixels(b.height)));
    return *this;
}

float Placement::left() const { return box().left; }
float Placement::top() const { return box().top; }
float Placement::width() const { return box().width; }
float Placement::height() const { return box().height; }

Placement& Placement::set(float Box::*side, float twips)
{
    Box b = box();
    b.*side = twips;
    return apply(b);
}

Placement& Placement::setLeft(float twips) { return set(&Box::left, twips); }
Placement& Placement::setTop(float twips) { return set(&Box::top, twips); }
Placement& Placement::setWidth(float twips) { return set(&Box::width, twips); }
Placement& Placement::setHeight(float twips) { return set(&Box::height, twips); }

} // namespace ui
