#include "platform/controls/form.h"

#include "platform/controls/control.h"
#include "platform/controls/menu.h"
#include "platform/controls/simple_controls.h"
#include "platform/ui/dispatcher.h"
#include "platform/ui/ui.h"

namespace platform {

Form::Form(Services& services, std::string name) : services_(services), name_(std::move(name)) {}

Form::~Form() = default;

Ui& Form::ui() const { return services_.ui; }

void Form::changed() { ++revision_; }

void Form::setCaption(std::string caption) {
    if (assignChanged(caption_, std::move(caption))) changed();
}

void Form::setLeft(double v) {
    if (assignChanged(left_, roundToPixel(v))) changed();
}

void Form::setTop(double v) {
    if (assignChanged(top_, roundToPixel(v))) changed();
}

void Form::setWidth(double v) { setInnerSize(v - frameWidth_, innerHeight_); }

void Form::setHeight(double v) { setInnerSize(innerWidth_, v - frameHeight_); }

void Form::setInnerSize(double width, double height) {
    width = roundSize(width);
    height = roundSize(height);
    if (width == innerWidth_ && height == innerHeight_) return;
    innerWidth_ = width;
    innerHeight_ = height;
    changed();
    if (visible_) Form_Resize();
}

void Form::setFrame(double width, double height) {
    frameWidth_ = roundSize(width);
    frameHeight_ = roundSize(height);
    changed();
}

void Form::setWindowState(WindowState state) {
    if (state == state_) return;
    state_ = state;
    changed();
    if (visible_) Form_Resize();
}

void Form::setStartPosition(StartPosition p) {
    startPosition_ = p;
    changed();
}

void Form::setFixedBorder(bool fixed) {
    fixedBorder_ = fixed;
    changed();
}

bool Form::loadAndShow() {
    if (!loaded_) {
        loaded_ = true;
        changed();
        Form_Load();
        if (!loaded_) return false;
    }
    if (!visible_) {
        visible_ = true;
        changed();
        Form_Resize();
    }
    return loaded_;
}

void Form::show() { loadAndShow(); }

void Form::showModal() {
    if (!loadAndShow()) return;
    ui().runModal(*this);
}

void Form::hide() {
    if (!visible_) return;
    visible_ = false;
    changed();
}

bool Form::unload() { return unloadAs(UnloadMode::Code); }

bool Form::unloadAs(UnloadMode mode) {
    if (!loaded_) return true;
    if (unloading_) return false;  // Unload from inside Form_Unload: already on its way
    unloading_ = true;
    int cancel = 0;
    Form_QueryUnload(cancel, mode);
    if (cancel == 0) Form_Unload(cancel);
    unloading_ = false;
    if (cancel != 0) return false;
    loaded_ = false;
    visible_ = false;
    if (focused_) moveFocus(nullptr);
    changed();
    return true;
}

void Form::onCloseBox() { unloadAs(UnloadMode::CloseBox); }

void Form::popupMenu(MenuItem& menu, double x, double y) {
    MenuItem* chosen = ui().popupMenu(*this, menu, x, y);
    if (chosen) chosen->userClick();
}

void Form::setMousePointer(int pointer) {
    mousePointer_ = pointer;
    changed();
    ui().setMousePointer(pointer);
}

Control* Form::find(std::string_view name) const {
    for (Control* c : controls_)
        if (c->name() == name) return c;
    return nullptr;
}

MenuItem* Form::findMenu(std::string_view name) const {
    for (MenuItem* m : menus_)
        if (MenuItem* found = m->find(name)) return found;
    return nullptr;
}

void Form::addControl(Control& c) {
    controls_.push_back(&c);
    c.zIndex_ = ++frontZ_;
}

void Form::removeControl(Control& c) {
    std::erase(controls_, &c);
    if (focused_ == &c) focused_ = nullptr;
}

void Form::addMenu(MenuItem& m) { menus_.push_back(&m); }

void Form::removeMenu(MenuItem& m) { std::erase(menus_, &m); }

void Form::bringToFront(Control& c) {
    if (c.zIndex_ == frontZ_ && frontZ_ != 0) return;
    c.zIndex_ = ++frontZ_;
}

void Form::sendToBack(Control& c) {
    if (c.zIndex_ == backZ_) return;
    c.zIndex_ = --backZ_;
}

void Form::moveFocus(Control* c) {
    if (c == focused_) return;
    Control* old = focused_;
    focused_ = c;
    if (old) {
        old->changed();
        old->focusLost();
    }
    if (focused_ == c && c) {
        c->changed();
        c->focusGained();
    }
}

void Form::userClose() {
    dispatch([this] {
        if (loaded_) onCloseBox();
    });
}

void Form::userResize(double innerWidth, double innerHeight, WindowState state) {
    dispatch([&] {
        if (state == WindowState::Minimized) {  // the inner area keeps its size
            innerWidth = innerWidth_;
            innerHeight = innerHeight_;
        }
        innerWidth = roundSize(innerWidth);
        innerHeight = roundSize(innerHeight);
        if (innerWidth == innerWidth_ && innerHeight == innerHeight_ && state == state_) return;
        innerWidth_ = innerWidth;
        innerHeight_ = innerHeight;
        state_ = state;
        changed();
        Form_Resize();
    });
}

void Form::userMouseMove(int button, int shift, double x, double y) {
    dispatch([&] { Form_MouseMove(button, shift, x, y); });
}

namespace {
template <class Pick>
CommandButton* firstButton(const std::vector<Control*>& controls, Pick pick) {
    for (Control* c : controls) {
        auto* b = dynamic_cast<CommandButton*>(c);
        if (b && b->visible() && b->enabled() && pick(*b)) return b;
    }
    return nullptr;
}
}  // namespace

CommandButton* Form::defaultButton() const {
    return firstButton(controls_, [](const CommandButton& b) { return b.isDefault(); });
}

CommandButton* Form::cancelButton() const {
    return firstButton(controls_, [](const CommandButton& b) { return b.cancel(); });
}

bool Form::userPressEnter() {
    CommandButton* b = defaultButton();
    if (b) b->userClick();
    return b != nullptr;
}

bool Form::userPressEscape() {
    if (CommandButton* b = cancelButton()) {
        b->userClick();
        return true;
    }
    if (!wantsEscape()) return false;
    dispatch([&] { onEscape(); });
    return true;
}

bool Form::takesEscape() const { return cancelButton() != nullptr || wantsEscape(); }

}  // namespace platform
