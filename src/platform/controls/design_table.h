// A form's design as a table: one row per control with its caption and its
// place, {control, caption, left, top, width, height}, instead of a block of
// calls per control. The other design values (the default and cancel
// buttons, a password character, what is hidden) follow the table in code.
#pragma once

#include <cassert>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/controls/control.h"

namespace platform {

// One row. The caption goes to a control that has one (labels, buttons,
// check boxes, frames, option buttons); a control without a caption (text
// boxes, lists, trees) takes "" in that column. Places are in twips.
class DesignRow {
  public:
    template <class C>
    DesignRow(C& control, std::string_view caption, double left, double top, double width,
              double height)
        : control_(control),
          caption_(caption),
          left_(left),
          top_(top),
          width_(width),
          height_(height) {
        if constexpr (requires { control.setCaption(std::string()); })
            setCaption_ = [](Control& c, std::string_view text) {
                static_cast<C&>(c).setCaption(std::string(text));
            };
        else
            assert(caption.empty() && "a control without a caption takes \"\"");
    }

    void apply() const {
        if (setCaption_) setCaption_(control_, caption_);
        control_.move(left_, top_, width_, height_);
    }

  private:
    Control& control_;
    std::string_view caption_;
    double left_, top_, width_, height_;
    void (*setCaption_)(Control&, std::string_view) = nullptr;
};

// Gives each control of the table its caption and its place, row by row.
inline void applyDesign(std::initializer_list<DesignRow> rows) {
    for (const DesignRow& row : rows) row.apply();
}

}  // namespace platform
