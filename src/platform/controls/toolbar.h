// The toolbar: picture buttons addressed by key. A check-style button stays
// pressed (value 1) after one click and is released by the next; a button of
// a group is pressed by a click and releases the other buttons of its group.
// The click handler reads the value after the click. Setting a value by code
// raises nothing.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/control.h"

namespace platform {

class ImageList;
class Toolbar;

class ToolbarButton {
  public:
    enum Style { Default = 0, Check = 1, Group = 2, Separator = 3 };

    const std::string& key() const { return key_; }
    Style style() const { return style_; }
    int index() const { return index_; }
    // 1 pressed, 0 released; no event.
    int value() const { return value_; }
    void setValue(int value);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    const std::string& toolTipText() const { return toolTipText_; }
    void setToolTipText(std::string text);
    int image() const { return image_; }
    void setImage(int image);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

    ToolbarButton(const ToolbarButton&) = delete;
    ToolbarButton& operator=(const ToolbarButton&) = delete;

  private:
    friend class Toolbar;
    ToolbarButton(Toolbar& bar, std::string key, Style style, int index);
    Toolbar& bar_;
    std::string key_;
    Style style_;
    int index_;
    int value_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::string toolTipText_;
    int image_ = 0;
    std::string caption_;
};

class Toolbar : public Control {
  public:
    Toolbar(Form& owner, std::string name);
    ~Toolbar() override;
    const char* kind() const override { return "Toolbar"; }

    // Appends a button (35602 for a key in use; "" is allowed for
    // separators).
    ToolbarButton& add(std::string key, ToolbarButton::Style style = ToolbarButton::Default,
                       std::string toolTipText = {}, int image = 0);
    int count() const { return static_cast<int>(buttons_.size()); }
    ToolbarButton& button(int index) const;             // from 1; 35600 outside
    ToolbarButton& button(std::string_view key) const;  // 35601 for an unknown key
    const std::vector<std::unique_ptr<ToolbarButton>>& buttons() const { return buttons_; }

    ImageList* imageList() const { return imageList_; }
    void setImageList(ImageList* list);

    // The buttons lie side by side from the toolbar's left edge, each this
    // wide (twips; a 16-pixel picture and its frame), a separator narrower;
    // hidden ones take no room.
    static constexpr double ButtonWidth = 345;
    static constexpr double SeparatorWidth = 120;
    // The room the visible buttons and separators take from the toolbar's left.
    double buttonsWidth() const;

    // Event.
    std::function<void(ToolbarButton&)> ButtonClick;
    // Called after a button was shown or hidden, so that the form can move
    // what lies beside the buttons (a notice for the layout, not a user event).
    std::function<void()> ButtonsArranged;

    // The user clicks a button: a check button flips, a group button is
    // pressed (releasing the rest of its group), then ButtonClick. A hidden
    // or disabled button and a separator do nothing. An unknown key raises
    // 35601 at once (a fault of the caller, not an event).
    void userClick(std::string_view key);
    void userClick(ToolbarButton& button);

  private:
    friend class ToolbarButton;
    void buttonChanged() { changed(); }

    std::vector<std::unique_ptr<ToolbarButton>> buttons_;
    ImageList* imageList_ = nullptr;
};

}  // namespace platform
