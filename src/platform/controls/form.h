// The base of the main window and of every dialog. A form holds its own state
// (caption, size, window state, loaded and shown), the registry of its
// controls and menus, and the event entry points a concrete form overrides.
//
// Sizes are in twips. The inner area (scaleWidth x scaleHeight) is where the
// controls lie; the outer size adds the window's frame (borders, caption and
// menu bar), which the front end reports and a form may set at design time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class CommandButton;
class Control;
class MenuItem;
class TimerHost;
class Ui;

// What every form can reach: the windowing system and the timer host. The
// main window's own set of services (files, registry, shell, clock, ...)
// derives from this and is handed to Form1, which passes it on here.
struct Services {
    Ui& ui;
    TimerHost& timers;
};

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// Where a form first appears.
enum class StartPosition { Manual, CenterOwner, CenterScreen };

// Why a form is being unloaded (Form_QueryUnload's unloadMode).
enum class UnloadMode { CloseBox = 0, Code = 1 };

class Form {
  public:
    Form(Services& services, std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    Services& services() const { return services_; }
    Ui& ui() const;

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

    // ---- geometry (twips, whole pixels) ----
    // Inner area, where the controls lie.
    double scaleWidth() const { return innerWidth_; }
    double scaleHeight() const { return innerHeight_; }
    // Outer size and position of the whole window.
    double left() const { return left_; }
    double top() const { return top_; }
    double width() const { return innerWidth_ + frameWidth_; }
    double height() const { return innerHeight_ + frameHeight_; }
    void setLeft(double v);
    void setTop(double v);
    // Sets the outer size; the inner area changes by the same amount. While
    // the form is shown a change raises Form_Resize.
    void setWidth(double v);
    void setHeight(double v);
    // Sets the inner size (design values; the front end's resizes go through
    // userResize). While the form is shown a change raises Form_Resize.
    void setInnerSize(double width, double height);
    // The frame: outer size minus inner size (borders, caption bar, menu bar).
    double frameWidth() const { return frameWidth_; }
    double frameHeight() const { return frameHeight_; }
    void setFrame(double width, double height);

    WindowState windowState() const { return state_; }
    // While the form is shown a change raises Form_Resize.
    void setWindowState(WindowState state);

    StartPosition startPosition() const { return startPosition_; }
    void setStartPosition(StartPosition p);
    // A dialog's fixed border cannot be resized or maximised by the user.
    bool fixedBorder() const { return fixedBorder_; }
    void setFixedBorder(bool fixed);

    // ---- life cycle ----
    bool loaded() const { return loaded_; }
    bool visible() const { return visible_; }

    // Loads the form if needed (Form_Load) and shows it; the first showing
    // raises Form_Resize. When Form_Load unloaded the form, nothing is shown.
    void show();
    // Loads the form (Form_Load), shows it and runs it modally until it has
    // unloaded. Returns at once when Form_Load unloaded it.
    void showModal();
    // Hides the form; it stays loaded.
    void hide();
    // Form_QueryUnload and Form_Unload (either may cancel); then the form is
    // hidden and no longer loaded. Unloading an unloaded form does nothing.
    // Returns true when the form is unloaded afterwards.
    bool unload();

    // Shows a pop-up menu at (x, y) of the inner area; when the user chooses
    // an item its Click runs (as an event of its own) before this returns.
    void popupMenu(MenuItem& menu, double x, double y);

    // ---- the screen's mouse pointer (forwarded to the Ui) ----
    void setMousePointer(int pointer);
    int mousePointer() const { return mousePointer_; }

    // ---- controls and menus ----
    // Every control of the form, in creation order.
    const std::vector<Control*>& controls() const { return controls_; }
    // The control with that name, or nullptr.
    Control* find(std::string_view name) const;
    // The top-level menus (the menu bar, pop-up menus included), in order.
    const std::vector<MenuItem*>& menus() const { return menus_; }
    // The menu item with that name anywhere in the menus, or nullptr.
    MenuItem* findMenu(std::string_view name) const;

    // The control that has the keyboard focus (nullptr when none).
    Control* focusedControl() const { return focused_; }

    // Bumped when the form's own state (caption, size, state, visibility,
    // pointer) changes; menuRevision when any of its menu items changes.
    std::uint64_t revision() const { return revision_; }
    std::uint64_t menuRevision() const { return menuRevision_; }

    // ---- user gestures (the front end and tests; each is one event) ----
    // The close box. Runs onCloseBox().
    void userClose();
    // The user resized, minimised, maximised or restored the window: the
    // inner size (kept as it was when minimised) and the state are taken
    // over and Form_Resize runs.
    void userResize(double innerWidth, double innerHeight, WindowState state);
    // The mouse moved over the form's free area (twips, inner area).
    void userMouseMove(int button, int shift, double x, double y);
    // The Enter and Esc keys: they click the form's default or cancel command
    // button. Esc on a form without a cancel button runs onEscape() while
    // wantsEscape() says so. False (and nothing happens) otherwise.
    bool userPressEnter();
    bool userPressEscape();
    // True when Esc does something on the form now (the front end lets the
    // focused control have the key otherwise).
    bool takesEscape() const;

    // The command button Enter clicks (its default button) and the one Esc
    // clicks (its cancel button): the first visible and enabled one, or nullptr.
    CommandButton* defaultButton() const;
    CommandButton* cancelButton() const;

  protected:
    // Event entry points; the defaults do nothing.
    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(int& cancel, UnloadMode mode) {
        (void)cancel;
        (void)mode;
    }
    virtual void Form_Unload(int& cancel) { (void)cancel; }
    virtual void Form_MouseMove(int button, int shift, double x, double y) {
        (void)button;
        (void)shift;
        (void)x;
        (void)y;
    }
    // What the close box does. The default unloads the form; a dialog whose
    // close box counts as Cancel overrides it to run its Cancel command.
    virtual void onCloseBox();
    // Esc on a form without a cancel button: whether the form takes it now,
    // and what it does then (the main window leaves full screen). The
    // defaults take no Esc.
    virtual bool wantsEscape() const { return false; }
    virtual void onEscape() {}

    void changed();

  private:
    friend class Control;
    friend class MenuItem;
    void addControl(Control& c);
    void removeControl(Control& c);
    void addMenu(MenuItem& m);
    void removeMenu(MenuItem& m);
    void menuChanged() { ++menuRevision_; }
    void bringToFront(Control& c);
    void sendToBack(Control& c);
    void moveFocus(Control* c);
    // Loads and shows; false when Form_Load unloaded the form.
    bool loadAndShow();
    bool unloadAs(UnloadMode mode);

    Services& services_;
    std::string name_;
    std::string caption_;
    double left_ = 0, top_ = 0;
    double innerWidth_ = 0, innerHeight_ = 0;
    double frameWidth_ = 120, frameHeight_ = 480;
    WindowState state_ = WindowState::Normal;
    StartPosition startPosition_ = StartPosition::CenterOwner;
    bool fixedBorder_ = false;
    bool loaded_ = false;
    bool visible_ = false;
    bool unloading_ = false;
    int mousePointer_ = 0;
    std::vector<Control*> controls_;
    std::vector<MenuItem*> menus_;
    Control* focused_ = nullptr;
    long frontZ_ = 0, backZ_ = 0;
    std::uint64_t revision_ = 1;
    std::uint64_t menuRevision_ = 1;
};

}  // namespace platform
