// The desktop front end: it keeps one view per shown form, brings the views
// up to date after every event, and turns the user's gestures into the
// controls' user… calls.
//
// It holds no program state: every view draws its control model, and every
// gesture goes to the model, which raises the program's events through the
// dispatcher. After the outermost event the dispatcher's idle listener syncs
// every view whose model changed; gestures inside a modal form (an event
// already running) are synced right after they return.
#pragma once

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "gui/control_view.h"

namespace platform {
class Control;
class Form;
}  // namespace platform

namespace gui {

class FormView;

class FrontEnd {
  public:
    FrontEnd();
    ~FrontEnd();
    FrontEnd(const FrontEnd&) = delete;
    FrontEnd& operator=(const FrontEnd&) = delete;

    // The view of a form: the main window (menu bar, resizable) or a modal
    // dialog (fixed size). Opening a form that has a view returns that one.
    enum class WindowKind { Main, Dialog };
    FormView& open(platform::Form& form, WindowKind kind);
    // Destroys the form's view (nothing when it has none).
    void close(const platform::Form& form);
    FormView* find(const platform::Form& form) const;
    // The main window's view (the first opened as Main), or nullptr.
    FormView* mainView() const;

    // Brings every view up to date (only what changed).
    void syncAll();
    // Shows caption, status and progress changes at once, leaving
    // the heavy controls (trees, lists) for the next full sync.
    void syncLight();
    bool syncing() const { return syncDepth_ > 0; }

    // While set, gestures are dropped (a long command repaints meanwhile).
    void setFlushing(bool on) { flushing_ = on; }
    bool flushing() const { return flushing_; }

    // Runs one gesture of the user on a control's view: the model's user…
    // call. Dropped while syncing or flushing, so that a sync never becomes
    // a gesture. Afterwards the views are synced, and the gesture's own view
    // is redrawn from its model even when the model did not change (so that a
    // widget that changed itself on the click shows the model again).
    void gesture(ControlView* origin, const std::function<void()>& call);

    const ViewFactory& factory() const { return factory_; }

    // The control view whose widget is w or holds w, or nullptr.
    ControlView* viewOfWidget(QWidget* w) const;
    void registerWidget(QWidget* w, ControlView* view);
    void unregisterWidget(QWidget* w);

  private:
    friend class SyncScope;
    void focusChanged(QWidget* now);

    ViewFactory factory_;
    std::vector<std::unique_ptr<FormView>> views_;
    QHash<QWidget*, ControlView*> widgets_;
    int syncDepth_ = 0;
    bool flushing_ = false;
    std::shared_ptr<FrontEnd*> alive_;
    QMetaObject::Connection focusConnection_;
};

// Marks the front end as syncing for its lifetime.
class SyncScope {
  public:
    explicit SyncScope(FrontEnd& f) : f_(f) { ++f_.syncDepth_; }
    ~SyncScope() { --f_.syncDepth_; }
    SyncScope(const SyncScope&) = delete;
    SyncScope& operator=(const SyncScope&) = delete;

  private:
    FrontEnd& f_;
};

}  // namespace gui
