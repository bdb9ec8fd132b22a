#include "platform/controls/statusbar.h"

#include "platform/controls/control_helpers.h"
#include "platform/ui/dispatcher.h"

namespace platform {

void Panel::setText(std::string text) {
    if (assignChanged(text_, std::move(text))) bar_.panelChanged();
}

void Panel::setWidth(double width) {
    width = roundSize(width);
    if (assignChanged(width_, width)) bar_.panelChanged();
}

StatusBar::StatusBar(Form& owner, std::string name) : Control(owner, std::move(name)) {}

StatusBar::~StatusBar() = default;

Panel& StatusBar::addPanel(std::string text, double width) {
    panels_.push_back(std::unique_ptr<Panel>(new Panel(*this, count() + 1)));
    Panel& p = *panels_.back();
    p.text_ = std::move(text);
    p.width_ = roundSize(width);
    changed();
    return p;
}

Panel& StatusBar::panel(int index) const { return *detail::atIndex(panels_, index); }

void StatusBar::userDblClick() {
    dispatch([this] {
        if (DblClick) DblClick();
    });
}

}  // namespace platform
