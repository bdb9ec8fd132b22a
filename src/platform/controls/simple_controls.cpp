#include "platform/controls/simple_controls.h"

#include <algorithm>
#include <iostream>

#include "platform/controls/control_helpers.h"
#include "platform/controls/form.h"
#include "platform/error.h"
#include "platform/text/text.h"
#include "platform/ui/dispatcher.h"

namespace platform {

namespace {

using detail::takesGestures;

void raiseEvent(const std::function<void()>& event) {
    if (event) event();
}

int textLength(const std::string& s) { return static_cast<int>(text::len(s)); }

// s without CR and LF (bytes that never occur inside a UTF-8 sequence).
std::string withoutLineBreaks(std::string s) {
    std::erase_if(s, [](char c) { return c == '\r' || c == '\n'; });
    return s;
}

}  // namespace

// ---- TextBox ----

TextBox::TextBox(Form& owner, std::string name) : Control(owner, std::move(name)) {}

std::string TextBox::fitted(std::string text) const {
    return multiLine_ ? text : withoutLineBreaks(std::move(text));
}

void TextBox::setText(std::string text) {
    text = fitted(std::move(text));
    if (text == text_) return;
    text_ = std::move(text);
    selStart_ = 0;
    selLength_ = 0;
    changed();
    raiseEvent(Change);
}

void TextBox::setMultiLine(bool v) {
    if (!setField(multiLine_, v)) return;
    text_ = fitted(std::move(text_));
    selStart_ = std::min(selStart_, textLength(text_));
    selLength_ = std::min(selLength_, textLength(text_) - selStart_);
}

void TextBox::setScrollBars(int v) { setField(scrollBars_, v); }

void TextBox::setPasswordChar(std::string c) { setField(passwordChar_, std::move(c)); }

void TextBox::setLocked(bool v) { setField(locked_, v); }

void TextBox::setSelStart(int start) {
    start = std::clamp(start, 0, textLength(text_));
    if (start == selStart_ && selLength_ == 0) return;
    selStart_ = start;
    selLength_ = 0;
    changed();
}

void TextBox::setSelLength(int length) {
    length = std::clamp(length, 0, textLength(text_) - selStart_);
    setField(selLength_, length);
}

void TextBox::userType(std::string newText) {
    if (!takesGestures(*this) || locked_) return;
    dispatch([&] {
        setFocus();
        newText = fitted(std::move(newText));
        const bool differs = newText != text_;
        text_ = std::move(newText);
        selStart_ = textLength(text_);
        selLength_ = 0;
        changed();
        if (differs) raiseEvent(Change);
    });
}

// ---- ComboBox ----

ComboBox::ComboBox(Form& owner, std::string name) : Control(owner, std::move(name)) {}

void ComboBox::setText(std::string text) {
    if (setField(text_, withoutLineBreaks(std::move(text)))) raiseEvent(Change);
}

void ComboBox::setStyle(int v) { setField(style_, v); }

void ComboBox::addItem(std::string item, int index) {
    if (index < -1 || index > listCount()) raise(err::InvalidCall);
    if (index == -1)
        items_.push_back(std::move(item));
    else
        items_.insert(items_.begin() + index, std::move(item));
    changed();
}

void ComboBox::removeItem(int index) {
    if (index < 0 || index >= listCount()) raise(err::InvalidCall);
    items_.erase(items_.begin() + index);
    changed();
}

void ComboBox::clear() {
    if (items_.empty()) return;
    items_.clear();
    changed();
}

const std::string& ComboBox::list(int index) const {
    if (index < 0 || index >= listCount()) detail::raiseBadListIndex();
    return items_[static_cast<std::size_t>(index)];
}

void ComboBox::userType(std::string newText) {
    if (!takesGestures(*this) || style_ == 2) return;
    dispatch([&] {
        setFocus();
        setText(std::move(newText));
    });
}

void ComboBox::userChoose(int index) {
    if (!takesGestures(*this) || index < 0 || index >= listCount()) return;
    dispatch([&] {
        setFocus();
        setField(text_, withoutLineBreaks(items_[static_cast<std::size_t>(index)]));
        raiseEvent(Click);
    });
}

void ComboBox::userLeave(Control* next) {
    dispatch([&] {
        if (next)
            next->setFocus();  // focusLost raises LostFocus
        else
            raiseEvent(LostFocus);
    });
}

void ComboBox::focusLost() { raiseEvent(LostFocus); }

// ---- Label ----

namespace {
// The label that a mouse press has captured until the release.
Label* capturedLabel = nullptr;
}  // namespace

Label::Label(Form& owner, std::string name) : Control(owner, std::move(name)) {}

Label::~Label() {
    if (capturedLabel == this) capturedLabel = nullptr;
}

void Label::setCaption(std::string caption) { setField(caption_, std::move(caption)); }

void Label::setForeColor(Color c) { setField(foreColor_, c); }

void Label::setFontUnderline(bool v) { setField(fontUnderline_, v); }

void Label::setAutoSize(bool v) { setField(autoSize_, v); }

Label& Label::mouseTarget(double& x, double& y) {
    Label* target = capturedLabel;
    if (!target || target == this || &target->form() != &form()) return *this;
    x += left() - target->left();
    y += top() - target->top();
    return *target;
}

void Label::userMouseDown(int button, int shift, double x, double y) {
    if (!takesGestures(*this)) return;
    capturedLabel = this;
    dispatch([&] {
        if (MouseDown) MouseDown(button, shift, x, y);
    });
}

void Label::userMouseMove(int button, int shift, double x, double y) {
    Label& target = mouseTarget(x, y);
    if (&target == this && !takesGestures(*this)) return;
    dispatch([&] {
        if (target.MouseMove) target.MouseMove(button, shift, x, y);
    });
}

void Label::userMouseUp(int button, int shift, double x, double y) {
    Label& target = mouseTarget(x, y);
    const bool wasPressed = capturedLabel == &target;
    capturedLabel = nullptr;
    if (!wasPressed && !takesGestures(target)) return;
    const bool inside = x >= 0 && y >= 0 && x < target.width() && y < target.height();
    dispatch([&] {
        dispatch([&] {
            if (target.MouseUp) target.MouseUp(button, shift, x, y);
        });
        if (wasPressed && inside && button == LeftButton)
            dispatch([&] { raiseEvent(target.Click); });
    });
}

void Label::userClick() {
    if (!takesGestures(*this)) return;
    const double x = width() / 2;
    const double y = height() / 2;
    dispatch([&] {
        userMouseDown(LeftButton, 0, x, y);
        userMouseUp(LeftButton, 0, x, y);
    });
}

// ---- CheckBox ----

CheckBox::CheckBox(Form& owner, std::string name) : Control(owner, std::move(name)) {}

void CheckBox::setCaption(std::string caption) { setField(caption_, std::move(caption)); }

void CheckBox::setValue(int v) {
    if (v < 0 || v > 2) raise(err::InvalidPropertyValue);
    if (setField(value_, v)) raiseEvent(Click);
}

void CheckBox::userClick() {
    if (!takesGestures(*this)) return;
    dispatch([this] {
        setFocus();
        setValue(value_ == 1 ? 0 : 1);
    });
}

// ---- Frame ----

Frame::Frame(Form& owner, std::string name) : Control(owner, std::move(name)) {}

void Frame::setCaption(std::string caption) { setField(caption_, std::move(caption)); }

// ---- OptionButton ----

OptionButton::OptionButton(Form& owner, std::string name, Frame* container)
    : Control(owner, std::move(name)), container_(container) {}

void OptionButton::setCaption(std::string caption) { setField(caption_, std::move(caption)); }

void OptionButton::setContainer(Frame* container) { setField(container_, container); }

void OptionButton::setValue(bool v) {
    if (!v) {
        setField(value_, false);
        return;
    }
    if (value_) return;
    for (Control* c : form().controls()) {
        auto* other = dynamic_cast<OptionButton*>(c);
        if (other && other != this && other->container_ == container_ && other->value_) {
            other->value_ = false;
            other->changed();
        }
    }
    value_ = true;
    changed();
    raiseEvent(Click);
}

void OptionButton::userClick() {
    if (!takesGestures(*this)) return;
    dispatch([this] {
        setFocus();
        setValue(true);
    });
}

// ---- CommandButton ----

CommandButton::CommandButton(Form& owner, std::string name) : Control(owner, std::move(name)) {}

void CommandButton::setCaption(std::string caption) { setField(caption_, std::move(caption)); }

void CommandButton::setBackColor(Color c) { setField(backColor_, c); }

void CommandButton::setGraphical(bool v) { setField(graphical_, v); }

void CommandButton::setDefault(bool v) { setField(default_, v); }

void CommandButton::setCancel(bool v) { setField(cancel_, v); }

void CommandButton::userClick() {
    if (!takesGestures(*this)) return;
    dispatch([this] {
        setFocus();
        raiseEvent(Click);
    });
}

// ---- ProgressBar ----

ProgressBar::ProgressBar(Form& owner, std::string name) : Control(owner, std::move(name)) {}

double ProgressBar::withinRange(double v) const { return std::max(min_, std::min(v, max_)); }

void ProgressBar::setMin(double v) {
    if (setField(min_, v)) value_ = withinRange(value_);
}

void ProgressBar::setMax(double v) {
    if (setField(max_, v)) value_ = withinRange(value_);
}

void ProgressBar::setValue(double v) {
    const double kept = withinRange(v);
#ifndef NDEBUG
    if (kept != v)
        std::cerr << "ProgressBar " << name() << ": value " << v << " outside " << min_ << ".."
                  << max_ << " kept at " << kept << '\n';
#endif
    setField(value_, kept);
}

// ---- Slider ----

Slider::Slider(Form& owner, std::string name) : Control(owner, std::move(name)) {}

bool Slider::store(int v) { return setField(value_, std::max(min_, std::min(v, max_))); }

void Slider::setMin(int v) {
    if (setField(min_, v) && store(value_)) raiseEvent(Change);
}

void Slider::setMax(int v) {
    if (setField(max_, v) && store(value_)) raiseEvent(Change);
}

void Slider::setValue(int v) {
    if (store(v)) raiseEvent(Change);
}

void Slider::userSetValue(int v) {
    if (!takesGestures(*this)) return;
    dispatch([&] {
        setFocus();
        if (!store(v)) return;
        raiseEvent(Scroll);
        raiseEvent(Change);
    });
}

}  // namespace platform
