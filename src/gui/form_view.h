// The view of a form: its window (the main window with the menu bar, or a
// modal dialog of fixed size), the canvas that holds one widget per control
// at absolute positions, and the menu bar built from the form's menus.
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gui/front_end.h"

class QDialog;
class QMainWindow;
class QMenu;
class QAction;
class QShortcut;

namespace platform {
class Control;
class Form;
class MenuItem;
}  // namespace platform

namespace gui {

class ControlView;

class FormView {
  public:
    FormView(FrontEnd& frontEnd, platform::Form& form, FrontEnd::WindowKind kind);
    ~FormView();
    FormView(const FormView&) = delete;
    FormView& operator=(const FormView&) = delete;

    platform::Form& form() const { return form_; }
    FrontEnd& frontEnd() const { return frontEnd_; }
    FrontEnd::WindowKind kind() const { return kind_; }
    QWidget* window() const { return window_; }
    QMainWindow* mainWindow() const;
    QDialog* dialog() const;
    // The widget whose area is the form's inner area; controls lie on it.
    QWidget* canvas() const { return canvas_; }

    // Brings the window, the menus and every control up to date.
    void sync(bool force = false);
    // The form's caption and the light controls only.
    void syncLight();

    // Shows the window for the first time, at its start position.
    void showWindow();

    // The view of a control of this form (nullptr for controls without one).
    ControlView* viewOf(const platform::Control& c) const;

    // Called once when the form has been unloaded (seen at a sync).
    std::function<void()> onUnloaded;

    // ---- from the window (the user's gestures) ----
    void userClose();
    // The window's inner size or state changed (the user's resize, minimise,
    // maximise or restore), or it moved.
    void windowResized();
    void windowMoved();
    void canvasMouseMove(QMouseEvent* e);
    // Enter and Esc press the form's default and cancel buttons; false when
    // the key is another or the form does nothing with it. (The main window
    // takes Esc through a shortcut while Form::takesEscape says so.)
    bool dialogKey(QKeyEvent* e);

  private:
    // Views for the form's controls as they are now.
    void matchControls();
    bool windowGestureAllowed() const;
    void syncWindow();
    void syncMenus(bool force);
    void restack();
    void reportFrame();
    QSize innerSize() const;

    FrontEnd& frontEnd_;
    platform::Form& form_;
    FrontEnd::WindowKind kind_;
    QPointer<QWidget> window_;
    QWidget* canvas_ = nullptr;
    QShortcut* escape_ = nullptr;               // the main window's Esc
    std::vector<platform::Control*> controls_;  // the controls the views were made for
    std::vector<std::unique_ptr<ControlView>> views_;
    std::vector<long> zOrder_;  // the z-indices last stacked, by view
    std::uint64_t formRevision_ = 0;
    std::uint64_t menuRevision_ = 0;
    std::vector<const platform::MenuItem*> menuShape_;
    bool shown_ = false;
    bool unloadedSeen_ = false;
    bool resizeRetry_ = false;
};

// A menu of Qt actions built from a menu item's visible sub-items; the
// chosen action's item is found through itemOf.
void fillMenu(QMenu* menu, const platform::MenuItem& item);
platform::MenuItem* itemOf(QAction* action);

}  // namespace gui
