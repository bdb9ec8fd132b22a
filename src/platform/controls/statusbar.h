// The status bar: panels side by side, each with a text and a width.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/control.h"

namespace platform {

class StatusBar;

class Panel {
  public:
    const std::string& text() const { return text_; }
    void setText(std::string text);
    double width() const { return width_; }
    void setWidth(double width);  // twips, whole pixels
    int index() const { return index_; }

    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

  private:
    friend class StatusBar;
    Panel(StatusBar& bar, int index) : bar_(bar), index_(index) {}
    StatusBar& bar_;
    std::string text_;
    double width_ = 0;
    int index_;
};

class StatusBar : public Control {
  public:
    StatusBar(Form& owner, std::string name);
    ~StatusBar() override;
    const char* kind() const override { return "StatusBar"; }

    Panel& addPanel(std::string text = {}, double width = 0);
    int count() const { return static_cast<int>(panels_.size()); }
    Panel& panel(int index) const;  // from 1; 35600 outside
    const std::vector<std::unique_ptr<Panel>>& panels() const { return panels_; }

    // Event.
    std::function<void()> DblClick;
    void userDblClick();

  private:
    friend class Panel;
    void panelChanged() { changed(); }
    std::vector<std::unique_ptr<Panel>> panels_;
};

}  // namespace platform
