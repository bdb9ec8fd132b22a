// The plain controls of the forms: text and combo boxes, labels, check boxes,
// option buttons and their frames, command buttons, the progress bar and the
// slider.
//
// Events are members that the owning form wires to its procedures. A change
// made by code raises an event only where the real control does: a text that
// changes raises Change, a check box whose value changes raises Click, an
// option button that becomes selected raises Click. Each user gesture enters
// through a user… method, which changes the state as the real control would
// and then raises the event, as an event of its own through the dispatcher.
// A control that is hidden or disabled ignores user gestures. A gesture on a
// control that takes the focus (all but labels) gives it the focus first, so
// that the control that had it loses it (a combo box then raises LostFocus).
//
// A single-line text box and a combo box never hold a line break: every CR
// and LF of a text set by code, typed or pasted is removed, and nothing takes
// its place ("a" CR LF "b" is kept as "ab"). So a field that goes into a
// line of a stored file cannot split that line. A multi-line text box keeps
// its line breaks.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/control.h"

namespace platform {

// Mouse buttons and shift states of the mouse events.
inline constexpr int LeftButton = 1;
inline constexpr int RightButton = 2;
inline constexpr int MiddleButton = 4;

class TextBox : public Control {
  public:
    TextBox(Form& owner, std::string name);
    const char* kind() const override { return "TextBox"; }

    const std::string& text() const { return text_; }
    // A single-line box drops CR and LF first. Raises Change when the text
    // then differs; the selection goes to the start.
    void setText(std::string text);

    bool multiLine() const { return multiLine_; }
    // Turning it off drops the line breaks of the text (raising no Change)
    // and keeps the selection within what is left.
    void setMultiLine(bool v);
    // 0 none, 1 horizontal, 2 vertical, 3 both.
    int scrollBars() const { return scrollBars_; }
    void setScrollBars(int v);
    // The character shown in place of each typed one ("" shows the text).
    const std::string& passwordChar() const { return passwordChar_; }
    void setPasswordChar(std::string c);
    // A locked box shows its text but cannot be typed into; code still sets it.
    bool locked() const { return locked_; }
    void setLocked(bool v);

    // The selection, in characters: its start (0 = before the first) and
    // length. Setting the start empties the selection; both are kept within
    // the text.
    int selStart() const { return selStart_; }
    int selLength() const { return selLength_; }
    void setSelStart(int start);
    void setSelLength(int length);

    // Event.
    std::function<void()> Change;

    // The user typed or pasted: the text becomes newText (without CR and LF
    // in a single-line box; the caret at its end), the box has the focus,
    // and Change runs when the text differs. A locked box ignores it. The
    // front end shows the stored text again when it dropped characters.
    void userType(std::string newText);

  private:
    // text without CR and LF unless the box is multi-line.
    std::string fitted(std::string text) const;

    std::string text_;
    bool locked_ = false;
    bool multiLine_ = false;
    int scrollBars_ = 0;
    std::string passwordChar_;
    int selStart_ = 0;
    int selLength_ = 0;
};

class ComboBox : public Control {
  public:
    ComboBox(Form& owner, std::string name);
    const char* kind() const override { return "ComboBox"; }

    const std::string& text() const { return text_; }
    // Drops CR and LF first; raises Change when the text then differs.
    void setText(std::string text);

    // 0 an editable drop-down combo, 2 a drop-down list (no typing).
    int style() const { return style_; }
    void setStyle(int v);

    // The list, indexed from 0. index -1 appends.
    void addItem(std::string item, int index = -1);
    void removeItem(int index);
    // Empties the list; the text stays.
    void clear();
    int listCount() const { return static_cast<int>(items_.size()); }
    // Error 381 for an index outside the list.
    const std::string& list(int index) const;
    const std::vector<std::string>& items() const { return items_; }

    // Events. Typing raises Change; a choice from the list raises Click (and
    // not Change); leaving the box raises LostFocus.
    std::function<void()> Change;
    std::function<void()> Click;
    std::function<void()> LostFocus;

    // The user typed or pasted: the text becomes newText without CR and LF,
    // and Change runs when it differs.
    void userType(std::string newText);
    // The user chose entry index from the list: the text becomes it (without
    // CR and LF), Click runs.
    void userChoose(int index);
    // The user moved the focus away from the box (to next, when given):
    // LostFocus runs.
    void userLeave(Control* next = nullptr);

  protected:
    void focusLost() override;

  private:
    std::string text_;
    int style_ = 0;
    std::vector<std::string> items_;
};

class Label : public Control {
  public:
    Label(Form& owner, std::string name);
    ~Label() override;
    const char* kind() const override { return "Label"; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    Color foreColor() const { return foreColor_; }
    void setForeColor(Color c);
    bool fontUnderline() const { return fontUnderline_; }
    void setFontUnderline(bool v);
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool v);

    // Events; x and y are twips relative to the label.
    std::function<void()> Click;
    std::function<void(int button, int shift, double x, double y)> MouseDown;
    std::function<void(int button, int shift, double x, double y)> MouseMove;
    std::function<void(int button, int shift, double x, double y)> MouseUp;

    // Mouse gestures, with x and y relative to this label. A press captures
    // the mouse: until the release, moves and the release go to the pressed
    // label (with x and y taken relative to it), wherever the pointer is. A
    // release that lies within the pressed label also raises its Click.
    void userMouseDown(int button, int shift, double x, double y);
    void userMouseMove(int button, int shift, double x, double y);
    void userMouseUp(int button, int shift, double x, double y);
    // A click with the left button in the middle of the label: MouseDown,
    // MouseUp and Click, as the real control raises them.
    void userClick();

  private:
    // The label that holds the mouse, and x, y taken relative to it.
    Label& mouseTarget(double& x, double& y);

    std::string caption_;
    Color foreColor_ = DefaultColor;
    bool fontUnderline_ = false;
    bool autoSize_ = false;
};

class CheckBox : public Control {
  public:
    CheckBox(Form& owner, std::string name);
    const char* kind() const override { return "CheckBox"; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    // 0 clear, 1 ticked, 2 greyed. A change raises Click.
    int value() const { return value_; }
    void setValue(int v);

    std::function<void()> Click;

    // The user clicked the box: a tick is cleared, anything else ticked; Click runs.
    void userClick();

  private:
    std::string caption_;
    int value_ = 0;
};

class Frame : public Control {
  public:
    Frame(Form& owner, std::string name);
    const char* kind() const override { return "Frame"; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

  private:
    std::string caption_;
};

// Option buttons in the same container (a frame, or the form itself) form one
// group: at most one of them is selected.
class OptionButton : public Control {
  public:
    OptionButton(Form& owner, std::string name, Frame* container = nullptr);
    const char* kind() const override { return "OptionButton"; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    // The frame that holds the button; nullptr for the form.
    Frame* container() const { return container_; }
    void setContainer(Frame* container);

    bool value() const { return value_; }
    // true: the other options of the container are cleared, and Click runs
    // when the button was not selected before. false: clears it, no event.
    void setValue(bool v);

    std::function<void()> Click;

    // The user clicked the button: it becomes selected (Click runs when it
    // was not selected already).
    void userClick();

  private:
    std::string caption_;
    Frame* container_ = nullptr;
    bool value_ = false;
};

class CommandButton : public Control {
  public:
    CommandButton(Form& owner, std::string name);
    const char* kind() const override { return "CommandButton"; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    // The face colour; shown by a graphical button.
    Color backColor() const { return backColor_; }
    void setBackColor(Color c);
    bool graphical() const { return graphical_; }
    void setGraphical(bool v);
    // The button Enter presses (default) and the one Esc presses (cancel).
    bool isDefault() const { return default_; }
    void setDefault(bool v);
    bool cancel() const { return cancel_; }
    void setCancel(bool v);

    std::function<void()> Click;

    void userClick();

  private:
    std::string caption_;
    Color backColor_ = DefaultColor;
    bool graphical_ = false;
    bool default_ = false;
    bool cancel_ = false;
};

// Min, Max and Value are single-precision numbers. Value is kept within
// Min..Max: a value outside is clamped (and reported on the error stream in
// debug builds), and so is the value when Min or Max move past it.
class ProgressBar : public Control {
  public:
    ProgressBar(Form& owner, std::string name);
    const char* kind() const override { return "ProgressBar"; }

    double min() const { return min_; }
    double max() const { return max_; }
    double value() const { return value_; }
    void setMin(double v);
    void setMax(double v);
    void setValue(double v);

  private:
    double withinRange(double v) const;

    double min_ = 0;
    double max_ = 100;
    double value_ = 0;
};

// Value is kept within Min..Max.
class Slider : public Control {
  public:
    Slider(Form& owner, std::string name);
    const char* kind() const override { return "Slider"; }

    int min() const { return min_; }
    int max() const { return max_; }
    int value() const { return value_; }
    void setMin(int v);
    void setMax(int v);
    // A change raises Change.
    void setValue(int v);

    // Events: Scroll while the user moves the slider, Change when the value
    // has changed.
    std::function<void()> Scroll;
    std::function<void()> Change;

    // The user moved the slider to v (kept within the range): when the value
    // changes, Scroll and then Change run.
    void userSetValue(int v);

  private:
    // Stores v kept within the range; true when the value changed.
    bool store(int v);

    int min_ = 0;
    int max_ = 10;
    int value_ = 0;
};

}  // namespace platform
