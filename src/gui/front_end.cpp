#include "gui/front_end.h"

#include <QApplication>
#include <QPointer>

#include "gui/form_view.h"
#include "platform/controls/control.h"
#include "platform/controls/form.h"
#include "platform/ui/dispatcher.h"

namespace gui {

FrontEnd::FrontEnd() : alive_(std::make_shared<FrontEnd*>(this)) {
    // The dispatcher keeps its listeners for good; this one goes quiet when
    // the front end is gone.
    std::weak_ptr<FrontEnd*> alive = alive_;
    platform::Dispatcher::instance().addIdleListener([alive] {
        if (auto p = alive.lock()) (*p)->syncAll();
    });
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        focusConnection_ = QObject::connect(app, &QApplication::focusChanged, app,
                                            [this](QWidget*, QWidget* now) { focusChanged(now); });
}

FrontEnd::~FrontEnd() {
    QObject::disconnect(focusConnection_);
    alive_.reset();
    // Dialogs first, the main window last.
    while (!views_.empty()) views_.pop_back();
}

FormView& FrontEnd::open(platform::Form& form, WindowKind kind) {
    if (FormView* v = find(form)) return *v;
    views_.push_back(std::make_unique<FormView>(*this, form, kind));
    return *views_.back();
}

void FrontEnd::close(const platform::Form& form) {
    for (auto it = views_.begin(); it != views_.end(); ++it) {
        if (&(*it)->form() != &form) continue;
        std::unique_ptr<FormView> v = std::move(*it);
        views_.erase(it);
        v.reset();
        return;
    }
}

FormView* FrontEnd::find(const platform::Form& form) const {
    for (const auto& v : views_)
        if (&v->form() == &form) return v.get();
    return nullptr;
}

FormView* FrontEnd::mainView() const {
    for (const auto& v : views_)
        if (v->kind() == WindowKind::Main) return v.get();
    return nullptr;
}

void FrontEnd::syncAll() {
    if (syncing()) return;
    // A view may close while another syncs (its form unloaded); iterate by index.
    for (std::size_t i = 0; i < views_.size(); ++i) views_[i]->sync();
}

void FrontEnd::syncLight() {
    if (syncing()) return;
    for (const auto& v : views_) v->syncLight();
}

void FrontEnd::gesture(ControlView* origin, const std::function<void()>& call) {
    if (syncing() || flushing_) return;
    // The widget tells whether the view is still there afterwards.
    QPointer<QWidget> w = origin ? origin->widget() : nullptr;
    // One event: an error that escapes is the dispatcher's to report, never
    // Qt's; so is one of the redraws after it.
    platform::Dispatcher& d = platform::Dispatcher::instance();
    d.dispatch(call);
    d.reportingErrors([&] {
        // Inside a modal form the redraw may not have run yet.
        if (d.inEvent()) syncAll();
        if (origin && w && viewOfWidget(w) == origin) {
            SyncScope scope(*this);
            origin->sync(true);
        }
    });
}

ControlView* FrontEnd::viewOfWidget(QWidget* w) const {
    for (; w; w = w->parentWidget()) {
        auto it = widgets_.find(w);
        if (it != widgets_.end()) return *it;
    }
    return nullptr;
}

void FrontEnd::registerWidget(QWidget* w, ControlView* view) { widgets_.insert(w, view); }

void FrontEnd::unregisterWidget(QWidget* w) { widgets_.remove(w); }

void FrontEnd::focusChanged(QWidget* now) {
    if (syncing() || flushing_ || !now) return;
    ControlView* v = viewOfWidget(now);
    if (!v) return;
    platform::Control& c = v->control();
    if (c.hasFocus() || !c.visible() || !c.enabled()) return;
    // The user moved the focus: the model follows (a combo box that loses
    // it raises LostFocus).
    gesture(nullptr, [&c] { c.setFocus(); });
}

}  // namespace gui
