#include "gui/control_view.h"

#include <QApplication>
#include <QSignalBlocker>

#include "gui/form_view.h"
#include "gui/front_end.h"
#include "gui/icons.h"
#include "gui/qt_convert.h"
#include "platform/controls/control.h"
#include "platform/controls/imagelist.h"
#include "platform/ui/ui.h"

namespace gui {

ControlView::ControlView(platform::Control& control, FormView& form)
    : control_(control), form_(form) {}

ControlView::~ControlView() {
    if (widget_) {
        frontEnd().unregisterWidget(widget_);
        delete widget_.data();
    }
}

FrontEnd& ControlView::frontEnd() const { return form_.frontEnd(); }

void ControlView::setWidget(QWidget* w) {
    w->setParent(form_.canvas());
    if (widget_) {
        // The new widget takes the former one's place among the controls.
        w->stackUnder(widget_);
        frontEnd().unregisterWidget(widget_);
        widget_->hide();
        widget_->deleteLater();
    }
    widget_ = w;
    frontEnd().registerWidget(w, this);
    stale_ = true;
    revision_ = 0;
    shown_.reset();
}

void ControlView::sync(bool force) {
    if (!widget_) return;
    if (!control_.visible()) {
        // Hidden: nothing to draw until it shows again.
        if (shown_ != false) {
            QSignalBlocker blocker(widget_);
            widget_->setVisible(false);
            shown_ = false;
        }
        stale_ = true;
        return;
    }
    if (!force && !stale_ && control_.revision() == revision_) return;
    revision_ = control_.revision();
    stale_ = false;
    QSignalBlocker blocker(widget_);
    apply();
    applyCommon();
}

void ControlView::applyCommon() {
    QWidget* w = widget_;
    const QRect r = placement(QRect(px(control_.left()), px(control_.top()), px(control_.width()),
                                    px(control_.height())));
    if (w->geometry() != r) w->setGeometry(r);
    if (w->isEnabled() != control_.enabled()) w->setEnabled(control_.enabled());
    const Qt::CursorShape shape = pointerShape(control_.mousePointer());
    if (shape == Qt::ArrowCursor)
        w->unsetCursor();
    else
        w->setCursor(shape);
    if (shown_ != true) {
        w->setVisible(true);
        shown_ = true;
    }
    // The focus on a part of the widget (a tree's label editor) is its own.
    const QWidget* focus = QApplication::focusWidget();
    const bool focusInside = focus && (focus == w || w->isAncestorOf(focus));
    if (control_.hasFocus() && !focusInside && w->focusPolicy() != Qt::NoFocus)
        w->setFocus(Qt::OtherFocusReason);
}

void ControlView::gesture(const std::function<void()>& call) { frontEnd().gesture(this, call); }

double ControlView::twipsX(QWidget* from, double x) const {
    return twips(from && widget_ ? from->mapTo(widget_, QPointF(x, 0)).x() : x);
}

double ControlView::twipsY(QWidget* from, double y) const {
    return twips(from && widget_ ? from->mapTo(widget_, QPointF(0, y)).y() : y);
}

QIcon imageIcon(const platform::ImageList* list, int number) {
    if (!list || number < 1 || number > list->count()) return {};
    return icon(list->key(number));
}

// ---- the factory ----

ViewFactory::ViewFactory() {
    addBasicViews(*this);
    addTreeViews(*this);
    addListViews(*this);
    addBarViews(*this);
    addViewerViews(*this);
    addFileListViews(*this);
}

void ViewFactory::add(std::string kind, Maker maker) {
    makers_[std::move(kind)] = std::move(maker);
}

std::unique_ptr<ControlView> ViewFactory::create(platform::Control& control, FormView& form) const {
    auto it = makers_.find(std::string_view(control.kind()));
    if (it == makers_.end()) return nullptr;
    std::unique_ptr<ControlView> v = it->second(control, form);
    if (v) v->sync(true);
    return v;
}

}  // namespace gui
