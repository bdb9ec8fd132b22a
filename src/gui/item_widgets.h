// Item views whose mouse and keys go to the model alone: Qt's own selection,
// editing, dragging and keyboard moves are off, so that only the model
// decides what is selected, and a right click or an arrow key changes
// nothing the model did not change.
#pragma once

#include <QKeyEvent>
#include <QMouseEvent>
#include <functional>

namespace gui {

template <class Base>
class ModelDrivenView : public Base {
  public:
    ModelDrivenView() {
        this->setSelectionMode(QAbstractItemView::SingleSelection);
        this->setEditTriggers(QAbstractItemView::NoEditTriggers);
        this->setDragEnabled(false);
        this->setTabKeyNavigation(false);
    }

    // Positions are the viewport's. A handler that is not set ignores the event.
    std::function<void(QMouseEvent*)> onPress, onRelease, onDoubleClick;
    std::function<void(QKeyEvent*)> onKey;

    // The editor of an item (label editing started by the model).
    using Base::closeEditor;
    using Base::initViewItemOption;

  protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (onPress) onPress(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (onRelease) onRelease(e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (onDoubleClick) onDoubleClick(e);
    }
    void mouseMoveEvent(QMouseEvent*) override {}
    void keyPressEvent(QKeyEvent* e) override {
        if (onKey)
            onKey(e);
        else
            e->ignore();  // Enter and Esc go on to the dialog
    }
};

}  // namespace gui
