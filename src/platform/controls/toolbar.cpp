#include "platform/controls/toolbar.h"

#include "platform/controls/control_helpers.h"
#include "platform/error.h"
#include "platform/ui/dispatcher.h"

namespace platform {

ToolbarButton::ToolbarButton(Toolbar& bar, std::string key, Style style, int index)
    : bar_(bar), key_(std::move(key)), style_(style), index_(index) {}

void ToolbarButton::setValue(int value) {
    value = value != 0 ? 1 : 0;
    if (assignChanged(value_, value)) bar_.buttonChanged();
}

void ToolbarButton::setVisible(bool visible) {
    if (!assignChanged(visible_, visible)) return;
    bar_.buttonChanged();
    if (bar_.ButtonsArranged) bar_.ButtonsArranged();
}

void ToolbarButton::setEnabled(bool enabled) {
    if (assignChanged(enabled_, enabled)) bar_.buttonChanged();
}

void ToolbarButton::setToolTipText(std::string text) {
    if (assignChanged(toolTipText_, std::move(text))) bar_.buttonChanged();
}

void ToolbarButton::setImage(int image) {
    if (assignChanged(image_, image)) bar_.buttonChanged();
}

void ToolbarButton::setCaption(std::string caption) {
    if (assignChanged(caption_, std::move(caption))) bar_.buttonChanged();
}

Toolbar::Toolbar(Form& owner, std::string name) : Control(owner, std::move(name)) {}

Toolbar::~Toolbar() = default;

ToolbarButton& Toolbar::add(std::string key, ToolbarButton::Style style, std::string toolTipText,
                            int image) {
    if (detail::findByKey(buttons_, key)) raise(err::KeyNotUnique);
    buttons_.push_back(std::unique_ptr<ToolbarButton>(
        new ToolbarButton(*this, std::move(key), style, count() + 1)));
    ToolbarButton& b = *buttons_.back();
    b.toolTipText_ = std::move(toolTipText);
    b.image_ = image;
    changed();
    return b;
}

ToolbarButton& Toolbar::button(int index) const { return *detail::atIndex(buttons_, index); }

ToolbarButton& Toolbar::button(std::string_view key) const { return detail::atKey(buttons_, key); }

void Toolbar::setImageList(ImageList* list) {
    imageList_ = list;
    changed();
}

double Toolbar::buttonsWidth() const {
    double w = 0;
    for (const auto& b : buttons_)
        if (b->visible())
            w += b->style() == ToolbarButton::Separator ? SeparatorWidth : ButtonWidth;
    return w;
}

void Toolbar::userClick(std::string_view key) { userClick(button(key)); }

void Toolbar::userClick(ToolbarButton& b) {
    if (!b.visible_ || !b.enabled_ || b.style_ == ToolbarButton::Separator) return;
    dispatch([&] {
        if (b.style_ == ToolbarButton::Check) {
            b.setValue(b.value_ == 0 ? 1 : 0);
        } else if (b.style_ == ToolbarButton::Group) {
            // The group is the run of adjacent group buttons around b.
            std::size_t i = static_cast<std::size_t>(b.index_ - 1), first = i, last = i;
            while (first > 0 && buttons_[first - 1]->style_ == ToolbarButton::Group) --first;
            while (last + 1 < buttons_.size() && buttons_[last + 1]->style_ == ToolbarButton::Group)
                ++last;
            for (std::size_t k = first; k <= last; ++k) buttons_[k]->setValue(k == i ? 1 : 0);
        }
        if (ButtonClick) ButtonClick(b);
    });
}

}  // namespace platform
