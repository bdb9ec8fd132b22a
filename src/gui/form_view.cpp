#include "gui/form_view.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <numeric>

#include "gui/control_view.h"
#include "gui/icons.h"
#include "gui/qt_convert.h"
#include "platform/controls/control.h"
#include "platform/controls/form.h"
#include "platform/controls/menu.h"
#include "platform/controls/simple_controls.h"
#include "platform/ui/dispatcher.h"

namespace gui {

namespace {

// The canvas: the form's inner area.
class Canvas : public QWidget {
  public:
    explicit Canvas(FormView& view, QWidget* parent) : QWidget(parent), view_(view) {
        setMouseTracking(true);
    }

  protected:
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        view_.windowResized();
    }
    void mouseMoveEvent(QMouseEvent* e) override { view_.canvasMouseMove(e); }

  private:
    FormView& view_;
};

class MainWindow : public QMainWindow {
  public:
    explicit MainWindow(FormView& view) : view_(view) {}

  protected:
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        view_.userClose();
    }
    void changeEvent(QEvent* e) override {
        QMainWindow::changeEvent(e);
        if (e->type() == QEvent::WindowStateChange) view_.windowResized();
    }
    void moveEvent(QMoveEvent* e) override {
        QMainWindow::moveEvent(e);
        view_.windowMoved();
    }

  private:
    FormView& view_;
};

class DialogWindow : public QDialog {
  public:
    explicit DialogWindow(FormView& view) : view_(view) {}

    // Esc is the cancel button's (dialogKey); the dialog ends only when its
    // form unloads.
    void reject() override {}

  protected:
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        view_.userClose();
    }
    // Enter and Esc do only what the form's buttons do.
    void keyPressEvent(QKeyEvent* e) override {
        if (!view_.dialogKey(e) && e->key() != Qt::Key_Escape && e->key() != Qt::Key_Return &&
            e->key() != Qt::Key_Enter)
            QDialog::keyPressEvent(e);
    }

  private:
    FormView& view_;
};

// The menu items in menu order, the tree flattened (the shape of a menu bar).
void flatten(const platform::MenuItem& m, std::vector<const platform::MenuItem*>& out) {
    out.push_back(&m);
    for (const platform::MenuItem* c : m.items()) flatten(*c, out);
}

void applyItem(QAction* a, const platform::MenuItem& m) {
    a->setText(toQ(m.caption()));
    a->setCheckable(m.checked());
    a->setChecked(m.checked());
    a->setEnabled(m.enabled());
    a->setVisible(m.visible());
}

}  // namespace

// ---- menus ----

void fillMenu(QMenu* menu, const platform::MenuItem& item) {
    for (platform::MenuItem* sub : item.items()) {
        if (!sub->visible()) continue;
        if (sub->isSeparator()) {
            menu->addSeparator();
        } else if (!sub->items().empty()) {
            QMenu* child = menu->addMenu(toQ(sub->caption()));
            child->setEnabled(sub->enabled());
            fillMenu(child, *sub);
        } else {
            QAction* a = menu->addAction(toQ(sub->caption()));
            applyItem(a, *sub);
            a->setData(QVariant::fromValue(static_cast<void*>(sub)));
        }
    }
}

platform::MenuItem* itemOf(QAction* action) {
    return action ? static_cast<platform::MenuItem*>(action->data().value<void*>()) : nullptr;
}

// ---- the form view ----

FormView::FormView(FrontEnd& frontEnd, platform::Form& form, FrontEnd::WindowKind kind)
    : frontEnd_(frontEnd), form_(form), kind_(kind) {
    if (kind == FrontEnd::WindowKind::Main) {
        auto* w = new MainWindow(*this);
        canvas_ = new Canvas(*this, w);
        w->setCentralWidget(canvas_);
        w->setWindowIcon(applicationIcon());
        window_ = w;
        // Esc is the form's while it takes the key (Form::takesEscape: full
        // screen), wherever the focus is in the window (the web view too,
        // which keeps the keys it is given).
        escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), w, [this] {
            platform::Form& f = form_;
            if (windowGestureAllowed()) frontEnd_.gesture(nullptr, [&f] { f.userPressEscape(); });
        });
        escape_->setEnabled(false);
    } else {
        auto* d = new DialogWindow(*this);
        d->setModal(true);
        d->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
        canvas_ = new Canvas(*this, d);
        window_ = d;
    }
    window_->setAttribute(Qt::WA_DeleteOnClose, false);
    SyncScope scope(frontEnd_);
    matchControls();
}

void FormView::matchControls() {
    const std::vector<platform::Control*>& now = form_.controls();
    if (now == controls_) return;
    // A control that went takes its view along; a new one gets a view.
    std::erase_if(views_, [&](const std::unique_ptr<ControlView>& v) {
        return std::find(now.begin(), now.end(), &v->control()) == now.end();
    });
    for (platform::Control* c : now) {
        if (std::find(controls_.begin(), controls_.end(), c) != controls_.end()) continue;
        std::unique_ptr<ControlView> v = frontEnd_.factory().create(*c, *this);
        if (v) views_.push_back(std::move(v));
    }
    controls_ = now;
    zOrder_.clear();
}

FormView::~FormView() {
    SyncScope scope(frontEnd_);
    views_.clear();
    delete window_.data();
}

QMainWindow* FormView::mainWindow() const { return dynamic_cast<QMainWindow*>(window_.data()); }

QDialog* FormView::dialog() const { return dynamic_cast<QDialog*>(window_.data()); }

ControlView* FormView::viewOf(const platform::Control& c) const {
    for (const auto& v : views_)
        if (&v->control() == &c) return v.get();
    return nullptr;
}

QSize FormView::innerSize() const { return {px(form_.scaleWidth()), px(form_.scaleHeight())}; }

void FormView::sync(bool force) {
    if (!window_) return;
    SyncScope scope(frontEnd_);
    matchControls();
    syncMenus(force);  // first: the menu bar's height counts in the window's size
    syncWindow();
    for (const auto& v : views_) v->sync(force);
    restack();
    if (escape_) escape_->setEnabled(form_.takesEscape());
    if (!form_.loaded() && !unloadedSeen_) {
        unloadedSeen_ = true;
        if (onUnloaded) onUnloaded();
    }
}

void FormView::syncLight() {
    if (!window_) return;
    SyncScope scope(frontEnd_);
    syncWindow();
    for (const auto& v : views_)
        if (v->light()) v->sync();
}

void FormView::syncWindow() {
    if (form_.revision() == formRevision_) return;
    formRevision_ = form_.revision();
    window_->setWindowTitle(toQ(form_.caption()));
    const QSize inner = innerSize();
    if (kind_ == FrontEnd::WindowKind::Dialog) {
        window_->setFixedSize(inner);
        canvas_->setGeometry(0, 0, inner.width(), inner.height());
    } else if (form_.windowState() == platform::WindowState::Normal && canvas_->size() != inner) {
        // The window is the inner area plus the menu bar (and whatever else
        // the main window puts around its central widget).
        const QSize extra = shown_ ? window_->size() - canvas_->size()
                                   : QSize(0, mainWindow()->menuBar()->sizeHint().height());
        window_->resize(inner + extra);
        canvas_->resize(inner);
    }
    if (shown_) {
        const bool wantVisible = form_.visible() && form_.loaded();
        if (wantVisible != window_->isVisible()) window_->setVisible(wantVisible);
        if (kind_ == FrontEnd::WindowKind::Main && wantVisible) {
            const Qt::WindowStates s = window_->windowState();
            switch (form_.windowState()) {
                case platform::WindowState::Minimized:
                    if (!(s & Qt::WindowMinimized)) window_->showMinimized();
                    break;
                case platform::WindowState::Maximized:
                    if (!(s & Qt::WindowMaximized)) window_->showMaximized();
                    break;
                case platform::WindowState::Normal:
                    if (s & (Qt::WindowMinimized | Qt::WindowMaximized)) window_->showNormal();
                    break;
            }
        }
    }
}

void FormView::syncMenus(bool force) {
    QMainWindow* mw = mainWindow();
    if (!mw || (!force && form_.menuRevision() == menuRevision_)) return;
    menuRevision_ = form_.menuRevision();
    std::vector<const platform::MenuItem*> shape;
    for (const platform::MenuItem* m : form_.menus()) flatten(*m, shape);
    QMenuBar* bar = mw->menuBar();
    if (shape != menuShape_) {
        // Rebuilt: the old actions go later, since one of them may be the
        // one whose click is running.
        menuShape_ = shape;
        for (QAction* a : bar->actions()) {
            bar->removeAction(a);
            if (QMenu* m = a->menu())
                m->deleteLater();
            else
                a->deleteLater();
        }
        // A command item runs its Click; Qt's own flip of a check mark is
        // undone by showing the model's again.
        auto command = [this](QAction* a, platform::MenuItem* item) {
            QObject::connect(a, &QAction::triggered, a, [this, item] {
                frontEnd_.gesture(nullptr, [item] { item->userClick(); });
                SyncScope scope(frontEnd_);
                syncMenus(true);
            });
        };
        std::function<void(QMenu*, const platform::MenuItem&)> build =
            [&](QMenu* menu, const platform::MenuItem& item) {
                for (platform::MenuItem* sub : item.items()) {
                    QAction* a = nullptr;
                    if (!sub->items().empty()) {
                        QMenu* child = menu->addMenu(QString());
                        a = child->menuAction();
                        build(child, *sub);
                    } else if (sub->isSeparator()) {
                        a = menu->addSeparator();
                    } else {
                        a = menu->addAction(QString());
                        command(a, sub);
                    }
                    a->setData(QVariant::fromValue(static_cast<void*>(sub)));
                }
            };
        for (platform::MenuItem* top : form_.menus()) {
            QAction* a = nullptr;
            if (top->items().empty()) {
                // A command of its own on the menu bar.
                a = bar->addAction(QString());
                command(a, top);
            } else {
                auto* menu = new QMenu(bar);
                a = menu->menuAction();
                bar->addMenu(menu);
                build(menu, *top);
            }
            a->setData(QVariant::fromValue(static_cast<void*>(top)));
        }
    }
    // Captions, check marks, enabled and visible, in place.
    std::function<void(QWidget*)> update = [&](QWidget* w) {
        for (QAction* a : w->actions()) {
            auto* item = itemOf(a);
            if (!item) continue;
            if (item->isSeparator()) {
                a->setVisible(item->visible());
                continue;
            }
            applyItem(a, *item);
            if (a->menu()) {
                a->setCheckable(false);
                update(a->menu());
            }
        }
    };
    update(bar);
}

void FormView::restack() {
    std::vector<long> z;
    z.reserve(views_.size());
    for (const auto& v : views_) z.push_back(v->control().zIndex());
    if (z == zOrder_) return;
    zOrder_ = z;
    std::vector<std::size_t> order(views_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return z[a] < z[b]; });
    for (std::size_t i : order)
        if (QWidget* w = views_[i]->widget()) w->raise();
}

void FormView::showWindow() {
    sync(true);
    if (!form_.loaded()) return;
    QScreen* screen = QGuiApplication::primaryScreen();
    const QSize inner = innerSize();
    const QSize outer =
        kind_ == FrontEnd::WindowKind::Main
            ? QSize(inner.width(), inner.height() + mainWindow()->menuBar()->sizeHint().height())
            : inner;
    QPoint at(px(form_.left()), px(form_.top()));
    QWidget* owner = frontEnd_.mainView() && frontEnd_.mainView() != this
                         ? frontEnd_.mainView()->window()
                         : nullptr;
    switch (form_.startPosition()) {
        case platform::StartPosition::Manual:
            break;
        case platform::StartPosition::CenterOwner:
            if (owner && owner->isVisible()) {
                at =
                    owner->frameGeometry().center() - QPoint(outer.width() / 2, outer.height() / 2);
                break;
            }
            [[fallthrough]];
        case platform::StartPosition::CenterScreen:
            if (screen)
                at = screen->availableGeometry().center() -
                     QPoint(outer.width() / 2, outer.height() / 2);
            break;
    }
    window_->move(at);
    shown_ = true;
    {
        SyncScope scope(frontEnd_);
        if (form_.visible()) window_->show();
        // The inner area at its design size, whatever the bars around it took.
        const QSize missing = inner - canvas_->size();
        if (kind_ == FrontEnd::WindowKind::Main && !missing.isNull())
            window_->resize(window_->size() + missing);
    }
    reportFrame();
    windowMoved();
}

void FormView::reportFrame() {
    // The outer size the form reports: the window's frame around the canvas.
    const QSize frame = window_->frameGeometry().size() - canvas_->size();
    const double w = twips(std::max(0, frame.width())), h = twips(std::max(0, frame.height()));
    if (w != form_.frameWidth() || h != form_.frameHeight()) form_.setFrame(w, h);
}

// ---- gestures from the window ----

bool FormView::windowGestureAllowed() const {
    if (frontEnd_.syncing() || frontEnd_.flushing()) return false;
    // The main window takes the user's window gestures only between events
    // (a modal form or a long command keeps them waiting); a dialog only
    // while it is the modal window on top.
    if (kind_ == FrontEnd::WindowKind::Main) return !platform::Dispatcher::instance().inEvent();
    QWidget* modal = QApplication::activeModalWidget();
    return !modal || modal == window_;
}

void FormView::userClose() {
    if (!windowGestureAllowed()) return;  // the user can try again
    platform::Form& f = form_;
    frontEnd_.gesture(nullptr, [&f] { f.userClose(); });
}

void FormView::windowResized() {
    if (kind_ != FrontEnd::WindowKind::Main || !shown_ || frontEnd_.syncing()) return;
    const QSize size = canvas_->size();
    const Qt::WindowStates s = window_->windowState();
    const platform::WindowState state = (s & Qt::WindowMinimized) ? platform::WindowState::Minimized
                                        : (s & (Qt::WindowMaximized | Qt::WindowFullScreen))
                                            ? platform::WindowState::Maximized
                                            : platform::WindowState::Normal;
    if (size == innerSize() && state == form_.windowState()) return;
    if (!windowGestureAllowed()) {
        // Taken over once the running event has ended.
        if (!resizeRetry_) {
            resizeRetry_ = true;
            QTimer::singleShot(50, canvas_, [this] {
                resizeRetry_ = false;
                windowResized();
            });
        }
        return;
    }
    platform::Form& f = form_;
    frontEnd_.gesture(nullptr, [&f, size, state] {
        f.userResize(twips(size.width()), twips(size.height()), state);
    });
}

void FormView::windowMoved() {
    if (kind_ != FrontEnd::WindowKind::Main || !shown_ || frontEnd_.syncing()) return;
    // Where the window is, for the forms placed relative to it.
    const QPoint at = window_->frameGeometry().topLeft();
    form_.setLeft(twips(at.x()));
    form_.setTop(twips(at.y()));
}

void FormView::canvasMouseMove(QMouseEvent* e) {
    const QPointF p = e->position();
    // Only the free area is the form's: a move over a control (one that does
    // not take it itself and passes it up) is nobody's.
    if (canvas_->childAt(p.toPoint())) return;
    const int buttons = mouseButtons(e->buttons()), shift = shiftState(e->modifiers());
    platform::Form& f = form_;
    frontEnd_.gesture(nullptr, [&f, p, buttons, shift] {
        f.userMouseMove(buttons, shift, twips(p.x()), twips(p.y()));
    });
}

bool FormView::dialogKey(QKeyEvent* e) {
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    const bool esc = e->key() == Qt::Key_Escape;
    if (!enter && !esc) return false;
    // Esc goes to the cancel button, or to the form itself where it takes
    // the key (the main window in full screen).
    platform::CommandButton* b = enter ? form_.defaultButton() : form_.cancelButton();
    if (enter ? !b : !form_.takesEscape()) return false;
    frontEnd_.gesture(b ? viewOf(*b) : nullptr, [this, enter] {
        if (enter)
            form_.userPressEnter();
        else
            form_.userPressEscape();
    });
    return true;
}

}  // namespace gui
