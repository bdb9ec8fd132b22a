// The view of one control model: a widget on the form's canvas at the
// model's position and size, redrawn from the model when its revision moved.
// Each kind of control has its own view class, made by the factory from the
// control's kind().
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace platform {
class Control;
class ImageList;
}  // namespace platform

namespace gui {

class FormView;
class FrontEnd;

class ControlView {
  public:
    ControlView(platform::Control& control, FormView& form);
    virtual ~ControlView();
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    platform::Control& control() const { return control_; }
    FormView& formView() const { return form_; }
    FrontEnd& frontEnd() const;
    // The outer widget, placed on the canvas.
    QWidget* widget() const { return widget_; }

    // Redraws the view when the model's revision moved since the last time
    // (always with force). A hidden control only follows its visibility; the
    // rest is drawn once it shows.
    void sync(bool force = false);
    // Views that a flush during a long command redraws (cheap ones).
    virtual bool light() const { return false; }

    // Where a point of the widget lies in the control, in twips.
    double twipsX(QWidget* from, double x) const;
    double twipsY(QWidget* from, double y) const;

  protected:
    // Draws the kind's own state (the common state is done by sync).
    virtual void apply() = 0;
    // Where the widget goes, given the model's rectangle in pixels (a label
    // grows past it rather than cut its text).
    virtual QRect placement(const QRect& model) const { return model; }
    // Puts the widget in place (replacing a former one, in its place in the
    // stacking order); the view owns it.
    void setWidget(QWidget* w);
    // A gesture of the user on this control (see FrontEnd::gesture).
    void gesture(const std::function<void()>& call);

  private:
    void applyCommon();

    platform::Control& control_;
    FormView& form_;
    QPointer<QWidget> widget_;
    std::uint64_t revision_ = 0;
    bool stale_ = true;
    std::optional<bool> shown_;  // the visibility last given to the widget
};

// The view of a Model drawn by one widget of class Widget (the view owns it).
template <class Model, class Widget>
class ModelView : public ControlView {
  public:
    ModelView(Model& m, FormView& f, Widget* w) : ControlView(m, f), m_(m), w_(w) { setWidget(w); }

  protected:
    // A gesture that calls a user… method of the model.
    template <class F>
    void toModel(F&& f) {
        Model& m = m_;
        gesture([&m, &f] { f(m); });
    }

    Model& m_;
    Widget* w_;
};

// The icons of an image list by picture number (0 or out of range: none).
QIcon imageIcon(const platform::ImageList* list, int number);

class ViewFactory {
  public:
    using Maker = std::function<std::unique_ptr<ControlView>(platform::Control&, FormView&)>;

    // The factory with every view of the front end.
    ViewFactory();

    void add(std::string kind, Maker maker);
    // The view of a control, or nullptr for kinds without a widget (image
    // lists, timers, the common dialog).
    std::unique_ptr<ControlView> create(platform::Control& control, FormView& form) const;

  private:
    std::map<std::string, Maker, std::less<>> makers_;
};

// The registrations of each group of views (one per source file).
void addBasicViews(ViewFactory& f);
void addTreeViews(ViewFactory& f);
void addListViews(ViewFactory& f);
void addBarViews(ViewFactory& f);
void addViewerViews(ViewFactory& f);
void addWebBrowserView(ViewFactory& f);
void addFileListViews(ViewFactory& f);

// A maker for a view class constructed with (Model&, FormView&).
template <class View, class Model>
ViewFactory::Maker makerOf() {
    return [](platform::Control& c, FormView& f) -> std::unique_ptr<ControlView> {
        return std::make_unique<View>(static_cast<Model&>(c), f);
    };
}

}  // namespace gui
