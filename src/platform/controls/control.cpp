#include "platform/controls/control.h"

#include <algorithm>
#include <cmath>

#include "platform/controls/form.h"
#include "platform/error.h"

namespace platform {

void raiseBadIndex() { raise(err::IndexOutOfBounds); }

void raiseRemoved() { raise(err::ControlDeleted); }

std::uint64_t nextEntrySerial() {
    static std::uint64_t last = 0;
    return ++last;
}

double roundToPixel(double twips) { return std::round(twips / TwipsPerPixel) * TwipsPerPixel; }

double roundSize(double twips) { return roundToPixel(std::max(0.0, twips)); }

Control::Control(Form& owner, std::string name) : owner_(owner), name_(std::move(name)) {
    owner_.addControl(*this);
}

Control::~Control() { owner_.removeControl(*this); }

void Control::changed() { ++revision_; }

void Control::setLeft(double v) { setField(left_, roundToPixel(v)); }

void Control::setTop(double v) { setField(top_, roundToPixel(v)); }

void Control::setWidth(double v) { setField(width_, roundSize(v)); }

void Control::setHeight(double v) { setField(height_, roundSize(v)); }

void Control::move(double left, double top, double width, double height) {
    setLeft(left);
    setTop(top);
    setWidth(width);
    setHeight(height);
}

void Control::setVisible(bool v) { setField(visible_, v); }

void Control::setEnabled(bool v) {
    if (setField(enabled_, v)) enabledChanged();
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

void Control::setMousePointer(int pointer) { setField(mousePointer_, pointer); }

}  // namespace platform
