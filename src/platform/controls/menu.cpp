#include "platform/controls/menu.h"

#include <algorithm>

#include "platform/controls/control.h"
#include "platform/controls/form.h"
#include "platform/ui/dispatcher.h"

namespace platform {

MenuItem::MenuItem(Form& form, std::string name, std::string caption)
    : form_(form), name_(std::move(name)), caption_(std::move(caption)) {
    form_.addMenu(*this);
    form_.menuChanged();
}

MenuItem::MenuItem(MenuItem& parent, std::string name, std::string caption)
    : form_(parent.form_), parent_(&parent), name_(std::move(name)), caption_(std::move(caption)) {
    parent.items_.push_back(this);
    parent.changed();
}

MenuItem::~MenuItem() {
    for (MenuItem* child : items_) child->parent_ = nullptr;
    if (parent_)
        std::erase(parent_->items_, this);
    else
        form_.removeMenu(*this);
    form_.menuChanged();
}

MenuItem* MenuItem::find(std::string_view name) {
    if (name_ == name) return this;
    for (MenuItem* child : items_)
        if (MenuItem* found = child->find(name)) return found;
    return nullptr;
}

void MenuItem::changed() {
    ++revision_;
    form_.menuChanged();
}

void MenuItem::setCaption(std::string caption) {
    if (assignChanged(caption_, std::move(caption))) changed();
}

void MenuItem::setChecked(bool v) {
    if (assignChanged(checked_, v)) changed();
}

void MenuItem::setEnabled(bool v) {
    if (assignChanged(enabled_, v)) changed();
}

void MenuItem::setVisible(bool v) {
    if (assignChanged(visible_, v)) changed();
}

void MenuItem::userClick() {
    if (!enabled_ || isSeparator()) return;
    dispatch([this] {
        if (Click) Click();
    });
}

}  // namespace platform
