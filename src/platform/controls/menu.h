// Menu items: the menu bar of a form and its pop-up menus. A top-level item
// belongs to the form (pop-up menus are top-level items that are not
// visible); every other item belongs to its parent item. An item whose
// caption is "-" is a separator.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class Form;

class MenuItem {
  public:
    // A top-level menu of the form.
    MenuItem(Form& form, std::string name, std::string caption = {});
    // An item appended to parent's sub-items.
    MenuItem(MenuItem& parent, std::string name, std::string caption = {});
    ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    const std::string& name() const { return name_; }
    Form& form() const { return form_; }
    // nullptr for a top-level menu.
    MenuItem* parent() const { return parent_; }
    // The sub-items in order.
    const std::vector<MenuItem*>& items() const { return items_; }
    // This item or the first item below it with that name; nullptr when none.
    MenuItem* find(std::string_view name);

    // Setting these raises no event.
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    bool isSeparator() const { return caption_ == "-"; }
    bool checked() const { return checked_; }
    void setChecked(bool v);
    bool enabled() const { return enabled_; }
    void setEnabled(bool v);
    bool visible() const { return visible_; }
    void setVisible(bool v);

    std::uint64_t revision() const { return revision_; }

    // Event.
    std::function<void()> Click;

    // The user chose the item (from the menu bar or a pop-up menu): its Click
    // runs as an event of its own. A disabled item or a separator does nothing.
    void userClick();

  private:
    void changed();

    Form& form_;
    MenuItem* parent_ = nullptr;
    std::string name_;
    std::string caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    std::vector<MenuItem*> items_;
    std::uint64_t revision_ = 1;
};

}  // namespace platform
