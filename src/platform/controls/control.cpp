#include "platform/controls/control.h"

#include <cmath>

#include "platform/controls/form.h"
#include "platform/error.h"

namespace platform {

void raiseBadIndex() { raise(IndexOutOfBounds, "索引超出范围"); }

double roundToPixel(double twips) {
    return std::round(twips / TwipsPerPixel) * TwipsPerPixel;
}

Control::Control(Form& owner, std::string name) : owner_(owner), name_(std::move(name)) {
    owner_.addControl(*this);
}

Control::~Control() { owner_.removeControl(*this); }

void Control::changed() { ++revision_; }

void Control::setLeft(double v) {
    v = roundToPixel(v);
    if (assignChanged(left_, v)) changed();
}

void Control::setTop(double v) {
    v = roundToPixel(v);
    if (assignChanged(top_, v)) changed();
}

void Control::setWidth(double v) {
    v = roundToPixel(v < 0 ? 0 : v);
    if (assignChanged(width_, v)) changed();
}

void Control::setHeight(double v) {
    v = roundToPixel(v < 0 ? 0 : v);
    if (assignChanged(height_, v)) changed();
}

void Control::move(double left, double top, double width, double height) {
    setLeft(left);
    setTop(top);
    setWidth(width);
    setHeight(height);
}

void Control::setVisible(bool v) {
    if (assignChanged(visible_, v)) changed();
}

void Control::setEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    changed();
    enabledChanged();
}

void Control::zOrder(int position) {
    if (position == 1)
        owner_.sendToBack(*this);
    else
        owner_.bringToFront(*this);
    changed();
}

void Control::setFocus() { owner_.moveFocus(this); }

bool Control::hasFocus() const { return owner_.focusedControl() == this; }

void Control::setMousePointer(int pointer) {
    if (assignChanged(mousePointer_, pointer)) changed();
}

}  // namespace platform
