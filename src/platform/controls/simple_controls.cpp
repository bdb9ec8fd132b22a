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

}  // namespace

// ---- TextBox ----

TextBox::TextBox(Form& owner, std::string name) : Control(owner, std::move(name)) {}

void TextBox::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    selStart_ = 0;
    selLength_ = 0;
    changed();
    raiseEvent(Change);
}

void TextBox::setMultiLine(bool v) {
    if (assignChanged(multiLine_, v)) changed();
}

void TextBox::setScrollBars(int v) {
    if (assignChanged(scrollBars_, v)) changed();
}

void TextBox::setPasswordChar(std::string c) {
    if (assignChanged(passwordChar_, std::move(c))) changed();
}

void TextBox::setLocked(bool v) {
    if (assignChanged(locked_, v)) changed();
}

void TextBox::setSelStart(int start) {
    start = std::clamp(start, 0, textLength(text_));
    if (start == selStart_ && selLength_ == 0) return;
    selStart_ = start;
    selLength_ = 0;
    changed();
}

void TextBox::setSelLength(int length) {
    length = std::clamp(length, 0, textLength(text_) - selStart_);
    if (assignChanged(selLength_, length)) changed();
}

void TextBox::userType(std::string newText) {
    if (!takesGestures(*this) || locked_) return;
    dispatch([&] {
        setFocus();
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
    if (!assignChanged(text_, std::move(text))) return;
    changed();
    raiseEvent(Change);
}

void ComboBox::setStyle(int v) {
    if (assignChanged(style_, v)) changed();
}

void ComboBox::addItem(std::string item, int index) {
    if (index < -1 || index > listCount()) raise(5);
    if (index == -1)
        items_.push_back(std::move(item));
    else
        items_.insert(items_.begin() + index, std::move(item));
    changed();
}

void ComboBox::removeItem(int index) {
    if (index < 0 || index >= listCount()) raise(5);
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
        if (assignChanged(text_, items_[static_cast<std::size_t>(index)])) changed();
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

void Label::setCaption(std::string caption) {
    if (assignChanged(caption_, std::move(caption))) changed();
}

void Label::setForeColor(Color c) {
    if (assignChanged(foreColor_, c)) changed();
}

void Label::setFontUnderline(bool v) {
    if (assignChanged(fontUnderline_, v)) changed();
}

void Label::setAutoSize(bool v) {
    if (assignChanged(autoSize_, v)) changed();
}

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
        if (wasPressed && inside && button == LeftButton) dispatch([&] { raiseEvent(target.Click); });
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

void CheckBox::setCaption(std::string caption) {
    if (assignChanged(caption_, std::move(caption))) changed();
}

void CheckBox::setValue(int v) {
    if (v < 0 || v > 2) raise(380, "无效的属性值");
    if (!assignChanged(value_, v)) return;
    changed();
    raiseEvent(Click);
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

void Frame::setCaption(std::string caption) {
    if (assignChanged(caption_, std::move(caption))) changed();
}

// ---- OptionButton ----

OptionButton::OptionButton(Form& owner, std::string name, Frame* container)
    : Control(owner, std::move(name)), container_(container) {}

void OptionButton::setCaption(std::string caption) {
    if (assignChanged(caption_, std::move(caption))) changed();
}

void OptionButton::setContainer(Frame* container) {
    if (assignChanged(container_, container)) changed();
}

void OptionButton::setValue(bool v) {
    if (!v) {
        if (assignChanged(value_, false)) changed();
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

void CommandButton::setCaption(std::string caption) {
    if (assignChanged(caption_, std::move(caption))) changed();
}

void CommandButton::setBackColor(Color c) {
    if (assignChanged(backColor_, c)) changed();
}

void CommandButton::setGraphical(bool v) {
    if (assignChanged(graphical_, v)) changed();
}

void CommandButton::setDefault(bool v) {
    if (assignChanged(default_, v)) changed();
}

void CommandButton::setCancel(bool v) {
    if (assignChanged(cancel_, v)) changed();
}

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
    if (!assignChanged(min_, v)) return;
    value_ = withinRange(value_);
    changed();
}

void ProgressBar::setMax(double v) {
    if (!assignChanged(max_, v)) return;
    value_ = withinRange(value_);
    changed();
}

void ProgressBar::setValue(double v) {
    const double kept = withinRange(v);
#ifndef NDEBUG
    if (kept != v)
        std::cerr << "ProgressBar " << name() << ": value " << v << " outside " << min_ << ".."
                  << max_ << " kept at " << kept << '\n';
#endif
    if (assignChanged(value_, kept)) changed();
}

// ---- Slider ----

Slider::Slider(Form& owner, std::string name) : Control(owner, std::move(name)) {}

bool Slider::store(int v) {
    v = std::max(min_, std::min(v, max_));
    if (!assignChanged(value_, v)) return false;
    changed();
    return true;
}

void Slider::setMin(int v) {
    if (!assignChanged(min_, v)) return;
    changed();
    if (store(value_)) raiseEvent(Change);
}

void Slider::setMax(int v) {
    if (!assignChanged(max_, v)) return;
    changed();
    if (store(value_)) raiseEvent(Change);
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
