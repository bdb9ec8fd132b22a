// The tab strip: tabs with a caption, a key and a tooltip, one of them
// selected. Selecting a tab, by code or by the user, raises Click when the
// selection changes. The page area inside the tabs and the border (client
// area) lies at fixed insets from the strip's edges, in the form's
// coordinates.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/control.h"

namespace platform {

class TabStrip;

class Tab {
  public:
    const std::string& key() const { return key_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    const std::string& toolTipText() const { return toolTipText_; }
    void setToolTipText(std::string text);
    int index() const { return index_; }
    bool selected() const;
    // Selecting a tab that was not selected raises the strip's Click.
    void setSelected();

    Tab(const Tab&) = delete;
    Tab& operator=(const Tab&) = delete;

  private:
    friend class TabStrip;
    Tab(TabStrip& strip, std::string key, std::string caption, int index);
    TabStrip& strip_;
    std::string key_;
    std::string caption_;
    std::string toolTipText_;
    int index_;
};

class TabStrip : public Control {
  public:
    // The client area's distance from the strip's edges, in twips: the tab
    // row and the border above, the border on the other three sides.
    static constexpr double InsetTop = 360;
    static constexpr double InsetLeft = 30;
    static constexpr double InsetRight = 30;
    static constexpr double InsetBottom = 30;

    TabStrip(Form& owner, std::string name);
    ~TabStrip() override;
    const char* kind() const override { return "TabStrip"; }

    // Appends a tab; the first tab added is selected (without an event).
    // 35602 for a key in use.
    Tab& add(std::string key, std::string caption, std::string toolTipText = {});
    int count() const { return static_cast<int>(tabs_.size()); }
    Tab& tab(int index) const;             // from 1; 35600 outside
    Tab& tab(std::string_view key) const;  // 35601 for an unknown key
    const std::vector<std::unique_ptr<Tab>>& tabs() const { return tabs_; }
    Tab* selectedItem() const { return selected_; }

    double clientLeft() const { return left() + InsetLeft; }
    double clientTop() const { return top() + InsetTop; }
    double clientWidth() const;
    double clientHeight() const;

    // Event.
    std::function<void()> Click;

    // The user clicks tab i (from 1; 35600 at once when there is none).
    void userSelect(int index);

  private:
    friend class Tab;
    void select(Tab& tab);
    void tabChanged() { changed(); }
    std::vector<std::unique_ptr<Tab>> tabs_;
    Tab* selected_ = nullptr;
};

}  // namespace platform
