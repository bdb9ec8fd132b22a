// The base of every control model. A control holds all of its on-screen state;
// the program reads and writes it, and the front end draws it.
//
// Geometry is in twips (15 twips = 1 pixel at 96 dpi), relative to the inner
// area of the owning form. Every value set is rounded to whole pixels, so that
// what code reads back is what the screen shows.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace platform {

class Form;

// A colour is 0x00BBGGRR.
using Color = std::uint32_t;
// "The control's default colour": a system-colour value no palette colour equals.
inline constexpr Color DefaultColor = 0x80000008;
// The 16-colour palette by number; error 5 outside 0..15.
Color qbColor(int n);

// Error 35600 (err::IndexOutOfBounds) of a collection index outside 1..count.
[[noreturn]] void raiseBadIndex();
// Error 35605 ("控件已被删除") of a tree node, list item or column header
// used after it was removed from its control.
[[noreturn]] void raiseRemoved();

// A number no tree node, list item or column header of this run had before
// (counting up from 1). The front end finds an entry by it, never by its
// address, which a later entry may reuse.
std::uint64_t nextEntrySerial();

// Gives field the value; true when that changed it (the setters' pattern:
// a change calls changed(), an equal value does nothing).
template <class T, class U>
bool assignChanged(T& field, U&& value) {
    if (field == value) return false;
    field = std::forward<U>(value);
    return true;
}

inline constexpr int TwipsPerPixel = 15;
// Rounds a twip value to whole pixels (half away from zero).
double roundToPixel(double twips);
// A width or height: a negative value is taken as 0, then rounded to pixels.
double roundSize(double twips);

class Control {
  public:
    Control(Form& owner, std::string name);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    Form& form() const { return owner_; }
    // The kind of control ("TreeView", "ListView", ...), for the front end's factory.
    virtual const char* kind() const = 0;

    double left() const { return left_; }
    double top() const { return top_; }
    double width() const { return width_; }
    double height() const { return height_; }
    void setLeft(double v);
    void setTop(double v);
    void setWidth(double v);
    void setHeight(double v);
    // Moves and sizes at once; a negative width or height is taken as 0.
    void move(double left, double top, double width, double height);

    bool visible() const { return visible_; }
    void setVisible(bool v);
    bool enabled() const { return enabled_; }
    void setEnabled(bool v);

    // 0 brings the control to the front, 1 sends it to the back.
    void zOrder(int position = 0);
    // Higher draws above lower; maintained per form.
    long zIndex() const { return zIndex_; }

    // The control that has the keyboard focus is the form's; this asks for it.
    void setFocus();
    bool hasFocus() const;

    // The pointer shown while the mouse is over this control (0 default,
    // 7 north-south and 9 west-east sizing arrows, 11 hourglass).
    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);

    // Bumped on every change of state; the front end redraws a control whose
    // revision moved since it last drew it.
    std::uint64_t revision() const { return revision_; }

  protected:
    // Every state change calls this.
    void changed();
    // Gives field the value and calls changed() when that changed it; true then.
    template <class T, class U>
    bool setField(T& field, U&& value) {
        if (!assignChanged(field, std::forward<U>(value))) return false;
        changed();
        return true;
    }
    // Called by the form when the keyboard focus comes to or leaves this
    // control (by code or by the user).
    virtual void focusGained() {}
    virtual void focusLost() {}
    // Called after enabled() changed.
    virtual void enabledChanged() {}

  private:
    Form& owner_;
    std::string name_;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    long zIndex_ = 0;
    int mousePointer_ = 0;
    std::uint64_t revision_ = 1;

    friend class Form;
};

}  // namespace platform
