#include "platform/controls/tabstrip.h"

#include <algorithm>

#include "platform/controls/control_helpers.h"
#include "platform/error.h"
#include "platform/ui/dispatcher.h"

namespace platform {

Tab::Tab(TabStrip& strip, std::string key, std::string caption, int index)
    : strip_(strip), key_(std::move(key)), caption_(std::move(caption)), index_(index) {}

void Tab::setCaption(std::string caption) {
    if (assignChanged(caption_, std::move(caption))) strip_.tabChanged();
}

void Tab::setToolTipText(std::string text) {
    if (assignChanged(toolTipText_, std::move(text))) strip_.tabChanged();
}

bool Tab::selected() const { return strip_.selected_ == this; }

void Tab::setSelected() { strip_.select(*this); }

TabStrip::TabStrip(Form& owner, std::string name) : Control(owner, std::move(name)) {}

TabStrip::~TabStrip() = default;

Tab& TabStrip::add(std::string key, std::string caption, std::string toolTipText) {
    if (detail::findByKey(tabs_, key)) raise(err::KeyNotUnique);
    tabs_.push_back(
        std::unique_ptr<Tab>(new Tab(*this, std::move(key), std::move(caption), count() + 1)));
    Tab& t = *tabs_.back();
    t.toolTipText_ = std::move(toolTipText);
    if (!selected_) selected_ = &t;
    changed();
    return t;
}

Tab& TabStrip::tab(int index) const { return *detail::atIndex(tabs_, index); }

Tab& TabStrip::tab(std::string_view key) const { return detail::atKey(tabs_, key); }

double TabStrip::clientWidth() const { return std::max(0.0, width() - InsetLeft - InsetRight); }

double TabStrip::clientHeight() const { return std::max(0.0, height() - InsetTop - InsetBottom); }

void TabStrip::select(Tab& tab) {
    if (setField(selected_, &tab) && Click) Click();
}

void TabStrip::userSelect(int index) {
    Tab& t = tab(index);
    dispatch([&] { select(t); });
}

}  // namespace platform
