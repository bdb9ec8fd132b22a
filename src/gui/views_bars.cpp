// Views of the toolbar, the status bar and the tab strip.
#include <QAction>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

#include "gui/control_view.h"
#include "gui/form_view.h"
#include "gui/qt_convert.h"
#include "platform/controls/imagelist.h"
#include "platform/controls/statusbar.h"
#include "platform/controls/tabstrip.h"
#include "platform/controls/toolbar.h"

namespace gui {

// ---- Toolbar ----

// The toolbar's own metrics: no frame, margin or spacing around the buttons,
// and separators as wide as the model's, so that every button lies where the
// model's widths put it (the form places the keyword box by them).
class ToolbarStyle : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* opt, const QWidget* w) const override {
        switch (metric) {
            case PM_ToolBarFrameWidth:
            case PM_ToolBarItemMargin:
            case PM_ToolBarItemSpacing:
                return 0;
            case PM_ToolBarSeparatorExtent:
                return px(platform::Toolbar::SeparatorWidth);
            default:
                return QProxyStyle::pixelMetric(metric, opt, w);
        }
    }
};

class ToolbarView : public ControlView {
  public:
    ToolbarView(platform::Toolbar& m, FormView& f) : ControlView(m, f), m_(m) {
        bar_ = new QToolBar;
        style_ = new ToolbarStyle;
        style_->setParent(bar_);
        bar_->setStyle(style_);
        bar_->setMovable(false);
        bar_->setFloatable(false);
        bar_->setIconSize(QSize(16, 16));
        bar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
        bar_->setFocusPolicy(Qt::NoFocus);
        setWidget(bar_);
    }

  protected:
    void apply() override {
        std::vector<std::string> keys;
        for (const auto& b : m_.buttons())
            keys.push_back(b->key() +
                           (b->style() == platform::ToolbarButton::Separator ? "|" : ""));
        if (keys != shape_) rebuild(keys);
        const auto& buttons = m_.buttons();
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            const platform::ToolbarButton& b = *buttons[i];
            QAction* a = actions_[i];
            a->setVisible(b.visible());
            if (b.style() == platform::ToolbarButton::Separator) continue;
            a->setEnabled(b.enabled());
            a->setToolTip(toQ(b.toolTipText()));
            a->setText(toQ(b.caption().empty() ? b.toolTipText() : b.caption()));
            a->setIcon(imageIcon(m_.imageList(), b.image()));
            a->setChecked(b.value() == 1);
        }
    }

  private:
    void rebuild(const std::vector<std::string>& shape) {
        shape_ = shape;
        for (QAction* a : actions_) {
            bar_->removeAction(a);
            a->deleteLater();  // its click may be the one running
        }
        actions_.clear();
        for (const auto& b : m_.buttons()) {
            QAction* a = nullptr;
            if (b->style() == platform::ToolbarButton::Separator) {
                a = bar_->addSeparator();
                if (QWidget* gap = bar_->widgetForAction(a)) gap->setStyle(style_);
            } else {
                a = bar_->addAction(QString());
                // Every button can show a pressed state; only the model decides it.
                a->setCheckable(true);
                const std::string key = b->key();
                QObject::connect(a, &QAction::triggered, bar_, [this, key] {
                    platform::Toolbar& m = m_;
                    gesture([&m, &key] { m.userClick(key); });
                });
                if (auto* tb = qobject_cast<QToolButton*>(bar_->widgetForAction(a))) {
                    tb->setFocusPolicy(Qt::NoFocus);
                    tb->setFixedWidth(px(platform::Toolbar::ButtonWidth));
                }
            }
            actions_.push_back(a);
        }
    }

    platform::Toolbar& m_;
    QToolBar* bar_;
    ToolbarStyle* style_;
    std::vector<std::string> shape_;
    std::vector<QAction*> actions_;
};

// ---- StatusBar ----

class StatusBarWidget : public QFrame {
  public:
    std::function<void()> onDoubleClick;

  protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && onDoubleClick) onDoubleClick();
    }
};

class StatusBarView : public ControlView {
  public:
    StatusBarView(platform::StatusBar& m, FormView& f) : ControlView(m, f), m_(m) {
        bar_ = new StatusBarWidget;
        bar_->onDoubleClick = [this] {
            platform::StatusBar& m = m_;
            gesture([&m] { m.userDblClick(); });
        };
        setWidget(bar_);
    }
    bool light() const override { return true; }

  protected:
    void apply() override {
        const auto& panels = m_.panels();
        while (labels_.size() < panels.size()) {
            auto* l = new QLabel(bar_);
            l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            l->setTextFormat(Qt::PlainText);
            l->setIndent(3);
            l->show();
            labels_.push_back(l);
        }
        while (labels_.size() > panels.size()) {
            delete labels_.back();
            labels_.pop_back();
        }
        // The panels side by side at the widths the model gives; a panel of
        // width 0 takes what is left.
        const int h = px(m_.height());
        int x = 0;
        for (std::size_t i = 0; i < panels.size(); ++i) {
            int w = px(panels[i]->width());
            if (w <= 0) w = std::max(0, px(m_.width()) - x);
            labels_[i]->setGeometry(x + 1, 2, std::max(0, w - 2), std::max(0, h - 3));
            labels_[i]->setText(toQ(panels[i]->text()));
            x += w;
        }
    }

  private:
    platform::StatusBar& m_;
    StatusBarWidget* bar_;
    std::vector<QLabel*> labels_;
};

// ---- TabStrip ----

// A tab bar whose clicks go to the model; keys and the wheel do not switch.
class TabBar : public QTabBar {
  public:
    std::function<void(int)> onClick;
    int maxTabHeight = 0;  // the room above the page area

  protected:
    // A tab is no taller than the room the strip leaves it, so that its
    // caption is centred in what shows.
    QSize tabSizeHint(int index) const override {
        QSize s = QTabBar::tabSizeHint(index);
        if (maxTabHeight > 0) s.setHeight(std::min(s.height(), maxTabHeight));
        return s;
    }
    QSize minimumTabSizeHint(int index) const override {
        QSize s = QTabBar::minimumTabSizeHint(index);
        if (maxTabHeight > 0) s.setHeight(std::min(s.height(), maxTabHeight));
        return s;
    }
    void mousePressEvent(QMouseEvent* e) override {
        const int i = tabAt(e->position().toPoint());
        if (e->button() == Qt::LeftButton && i >= 0 && onClick) onClick(i);
    }
    void mouseReleaseEvent(QMouseEvent*) override {}
    void keyPressEvent(QKeyEvent* e) override { e->ignore(); }
    void wheelEvent(QWheelEvent* e) override { e->ignore(); }
};

// The strip: the tabs along the top and a frame around the page area. The
// page area itself lets the mouse and the picture through to the controls
// that lie there (the trees are separate widgets on the canvas).
class TabStripWidget : public QWidget {
  public:
    QRect client;  // the page area, in the strip's coordinates

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QStyleOptionTabWidgetFrame opt;
        opt.initFrom(this);
        opt.rect = QRect(0, client.top() - 2, width(), height() - client.top() + 2);
        style()->drawPrimitive(QStyle::PE_FrameTabWidget, &opt, &p, this);
    }
};

class TabStripView : public ControlView {
  public:
    TabStripView(platform::TabStrip& m, FormView& f) : ControlView(m, f), m_(m) {
        strip_ = new TabStripWidget;
        tabs_ = new TabBar;
        tabs_->setParent(strip_);
        tabs_->maxTabHeight = px(platform::TabStrip::InsetTop) - 1;
        tabs_->setExpanding(false);
        tabs_->setDrawBase(false);
        tabs_->setUsesScrollButtons(true);
        tabs_->setFocusPolicy(Qt::NoFocus);
        tabs_->onClick = [this](int i) {
            platform::TabStrip& m = m_;
            gesture([&m, i] { m.userSelect(i + 1); });
        };
        setWidget(strip_);
    }

  protected:
    void apply() override {
        const auto& tabs = m_.tabs();
        while (tabs_->count() > static_cast<int>(tabs.size())) tabs_->removeTab(tabs_->count() - 1);
        while (tabs_->count() < static_cast<int>(tabs.size())) tabs_->addTab(QString());
        for (std::size_t i = 0; i < tabs.size(); ++i) {
            const int qi = static_cast<int>(i);
            tabs_->setTabText(qi, toQ(tabs[i]->caption()));
            tabs_->setTabToolTip(qi, toQ(tabs[i]->toolTipText()));
        }
        {
            QSignalBlocker b(tabs_);
            tabs_->setCurrentIndex(m_.selectedItem() ? m_.selectedItem()->index() - 1 : -1);
        }
        // Geometry: the page area at the model's insets.
        const int w = px(m_.width()), h = px(m_.height());
        const QRect client(px(platform::TabStrip::InsetLeft), px(platform::TabStrip::InsetTop),
                           std::max(0, px(m_.clientWidth())), std::max(0, px(m_.clientHeight())));
        strip_->client = client;
        tabs_->setGeometry(0, 0, w, tabs_->maxTabHeight);
        QRegion shape(0, 0, w, h);
        shape -= QRegion(client);
        strip_->setMask(shape);
        strip_->update();
    }

  private:
    platform::TabStrip& m_;
    TabStripWidget* strip_;
    TabBar* tabs_;
};

void addBarViews(ViewFactory& f) {
    f.add("Toolbar", makerOf<ToolbarView, platform::Toolbar>());
    f.add("StatusBar", makerOf<StatusBarView, platform::StatusBar>());
    f.add("TabStrip", makerOf<TabStripView, platform::TabStrip>());
}

}  // namespace gui
