// The tree view: a QTreeWidget that mirrors the tree model. A sync compares
// the model's nodes with what the widget shows; when only texts, pictures,
// colours or folding changed those items are updated in place, and when nodes
// came or went the whole tree is rebuilt in one go (built detached, inserted
// at once, painted once), never node by node.
//
// Items know their node by its serial, never by its address: a click finds
// its node through the model, so a node removed meanwhile (and its memory
// reused) is never taken for another.
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "gui/control_view.h"
#include "gui/form_view.h"
#include "gui/item_widgets.h"
#include "gui/qt_convert.h"
#include "platform/controls/imagelist.h"
#include "platform/controls/simple_controls.h"
#include "platform/controls/treeview.h"

namespace gui {

namespace {

// Label editing writes nothing into the item: the model decides the text.
// Only the selected node shows the focus; Qt's own current item is not
// the model's.
class LabelDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}
    void paint(QPainter* p, const QStyleOptionViewItem& opt,
               const QModelIndex& index) const override {
        QStyleOptionViewItem o(opt);
        if (!(o.state & QStyle::State_Selected)) o.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(p, o, index);
    }
};

// The tree's branch area drawn as the style asks: dotted lines from each
// node to its parent and siblings, and a plus/minus box on each node that
// has children (a folded one shows "+"). The top-level nodes carry boxes
// too; lines run between them only with root lines.
class TreeWidget : public ModelDrivenView<QTreeWidget> {
  public:
    bool lines = true;
    bool signs = true;
    bool rootLines = false;

  protected:
    void drawBranches(QPainter* p, const QRect& rect, const QModelIndex& index) const override {
        const QTreeWidgetItem* item = itemFromIndex(index);
        if (!item || (!lines && !signs)) return;
        const int step = indentation();
        // The column of the item's own sign, then those of its ancestors to the left.
        const int rootColumns = rootIsDecorated() ? 1 : 0;
        int depth = 0;
        for (const QTreeWidgetItem* a = item->parent(); a; a = a->parent()) ++depth;
        const int columns = depth + rootColumns;
        if (columns == 0) return;
        const int right = rect.right() + 1;  // where the item's picture begins
        const int midY = rect.top() + rect.height() / 2;
        const QBrush dots(palette().color(QPalette::Dark), Qt::Dense4Pattern);
        auto vertical = [&](int x, int y0, int y1) {
            if (y1 > y0) p->fillRect(QRect(x, y0, 1, y1 - y0), dots);
        };
        if (lines) {
            // The item's own column: a stub to it, and the line along its siblings.
            const int x = right - step / 2 - 1;
            const bool topLevel = !item->parent();
            if (!topLevel || rootLines) {
                p->fillRect(QRect(x, midY, right - x - 2, 1), dots);
                const bool first =
                    topLevel && indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) == 0;
                vertical(x, first ? midY : rect.top(), midY);
                if (hasNextSibling(item)) vertical(x, midY, rect.bottom() + 1);
            }
            // The ancestors' columns: a line through the row where the
            // ancestor has a sibling below.
            int column = columns - 2;
            for (const QTreeWidgetItem* a = item->parent(); a && column >= 0;
                 a = a->parent(), --column) {
                if (!a->parent() && !rootLines) continue;
                if (hasNextSibling(a))
                    vertical(right - (columns - column) * step + step / 2 - 1, rect.top(),
                             rect.bottom() + 1);
            }
        }
        if (signs && item->childCount() > 0) {
            const QRect box(right - step / 2 - 5, midY - 4, 9, 9);
            p->save();
            p->fillRect(box, palette().color(QPalette::Base));
            p->setPen(palette().color(QPalette::Dark));
            p->drawRect(box.adjusted(0, 0, -1, -1));
            p->setPen(palette().color(QPalette::Text));
            p->drawLine(box.left() + 2, midY, box.right() - 2, midY);
            if (!item->isExpanded())
                p->drawLine(box.left() + 4, box.top() + 2, box.left() + 4, box.bottom() - 2);
            p->restore();
        }
    }

  private:
    bool hasNextSibling(const QTreeWidgetItem* item) const {
        auto* i = const_cast<QTreeWidgetItem*>(item);
        if (QTreeWidgetItem* parent = i->parent())
            return parent->indexOfChild(i) < parent->childCount() - 1;
        return indexOfTopLevelItem(i) < topLevelItemCount() - 1;
    }
};

// The most characters of a label that an item shows; the model keeps the
// whole text. Qt lays out an item's whole text again for every size it works
// out, so a label of megabytes (one long line of a stored file) would cost
// seconds and hundreds of megabytes at each layout.
constexpr qsizetype MaxShownLabel = 1024;

QString shownLabel(std::string_view text) {
    // A character takes at most four bytes: the rest is never converted.
    QString s = toQ(text.substr(0, 4 * static_cast<std::size_t>(MaxShownLabel)));
    if (s.size() <= MaxShownLabel) return s;
    s.truncate(s[MaxShownLabel - 1].isHighSurrogate() ? MaxShownLabel - 1 : MaxShownLabel);
    return s + QChar(0x2026);  // "…"
}

// An item that knows its node's serial.
struct NodeItem : QTreeWidgetItem {
    explicit NodeItem(std::uint64_t s) : QTreeWidgetItem(UserType), serial(s) {}
    std::uint64_t serial;
};

std::uint64_t serialOf(const platform::Node* n) { return n ? n->serial() : 0; }

// The nodes in display order (each node, then its children).
template <class F>
void forEachNode(const platform::TreeView& tree, F&& f) {
    const platform::Node* n = tree.firstRoot();
    while (n) {
        f(*n);
        if (n->child()) {
            n = n->child();
            continue;
        }
        while (n && !n->next()) n = n->parent();
        if (n) n = n->next();
    }
}

}  // namespace

class TreeViewView : public ControlView {
  public:
    using Widget = TreeWidget;

    TreeViewView(platform::TreeView& m, FormView& f) : ControlView(m, f), m_(m) {
        tree_ = new Widget;
        tree_->setHeaderHidden(true);
        tree_->setColumnCount(1);
        tree_->setSortingEnabled(false);
        tree_->setUniformRowHeights(true);
        tree_->setExpandsOnDoubleClick(false);
        tree_->setAnimated(false);
        tree_->setIconSize(QSize(16, 16));
        tree_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        tree_->header()->setStretchLastSection(false);
        auto* delegate = new LabelDelegate(tree_);
        tree_->setItemDelegate(delegate);
        closeEditorConnection_ =
            QObject::connect(delegate, &QAbstractItemDelegate::closeEditor, tree_,
                             [this](QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
                                 editorClosed(editor, hint);
                             });
        tree_->onPress = [this](QMouseEvent* e) { press(e, false); };
        tree_->onDoubleClick = [this](QMouseEvent* e) { press(e, true); };
        tree_->onKey = [this](QKeyEvent* e) { key(e); };
        setWidget(tree_);
    }

    // The tree widget outlives this part of the view (the base deletes it):
    // an editor it closes while going away ends no edit of the model.
    ~TreeViewView() override {
        QObject::disconnect(closeEditorConnection_);
        editing_ = 0;
        editor_ = nullptr;
    }

  protected:
    void apply() override {
        // Style: 1 pictures, 2 plus/minus boxes, 4 lines (7 all three).
        const bool pictures = m_.style() & 1;
        tree_->signs = m_.style() & 2;
        tree_->lines = m_.style() & 4;
        tree_->rootLines = m_.lineStyle() == 1;
        tree_->setRootIsDecorated(tree_->signs || (tree_->lines && tree_->rootLines));
        if (pictures != pictures_ || m_.imageList() != imageList_) {
            pictures_ = pictures;
            imageList_ = m_.imageList();
            icons_.clear();
            rows_.clear();  // pictures change: draw every item again
        }
        // The nodes in display order with their parents; same shape means
        // the items can be updated in place.
        order_.clear();
        order_.reserve(static_cast<std::size_t>(m_.count()));
        forEachNode(m_, [&](const platform::Node& n) { order_.push_back(&n); });
        bool sameShape = order_.size() == rows_.size();
        for (std::size_t i = 0; sameShape && i < order_.size(); ++i)
            sameShape = rows_[i].serial == order_[i]->serial() &&
                        rows_[i].parent == serialOf(order_[i]->parent());
        if (sameShape)
            update();
        else
            rebuild();
        syncSelection();
        syncEditing();
    }

  private:
    // What a row shows; rows_[i] is the node order_[i] while the shape holds.
    struct Row {
        std::uint64_t serial;
        std::uint64_t parent;  // 0 for a top-level node
        std::string text;
        int image;
        platform::Color fore;
        bool expanded;
        QTreeWidgetItem* item;
    };

    const QIcon& iconOf(int image) {
        auto it = icons_.find(image);
        if (it == icons_.end())
            it = icons_.emplace(image, pictures_ ? imageIcon(imageList_, image) : QIcon()).first;
        return it->second;
    }

    void fill(QTreeWidgetItem* item, const Row& r) {
        item->setText(0, shownLabel(r.text));
        item->setIcon(0, iconOf(r.image));
        const auto c = qColor(r.fore);
        item->setData(0, Qt::ForegroundRole, c ? QVariant(QBrush(*c)) : QVariant());
    }

    static Row rowOf(const platform::Node& n) {
        return {n.serial(),    serialOf(n.parent()), n.text(), n.image(),
                n.foreColor(), n.expanded(),         nullptr};
    }

    void rebuild() {
        tree_->setUpdatesEnabled(false);
        closeEditorQuietly();
        tree_->clear();
        rows_.clear();
        index_.clear();
        rows_.reserve(order_.size());
        index_.reserve(order_.size());
        QList<QTreeWidgetItem*> tops;
        for (const platform::Node* n : order_) {
            Row r = rowOf(*n);
            r.item = new NodeItem(r.serial);
            r.item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            fill(r.item, r);
            if (r.parent)
                rows_[index_.at(r.parent)].item->addChild(r.item);
            else
                tops.append(r.item);
            index_.emplace(r.serial, rows_.size());
            rows_.push_back(std::move(r));
        }
        tree_->addTopLevelItems(tops);
        for (std::size_t i = 0; i < rows_.size(); ++i)
            if (rows_[i].expanded && order_[i]->children() > 0) rows_[i].item->setExpanded(true);
        selected_ = 0;
        tree_->setUpdatesEnabled(true);
    }

    void update() {
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            Row& r = rows_[i];
            const platform::Node& n = *order_[i];
            if (n.text() != r.text || n.image() != r.image || n.foreColor() != r.fore) {
                r.text = n.text();
                r.image = n.image();
                r.fore = n.foreColor();
                fill(r.item, r);
            }
            if (n.expanded() != r.expanded) {
                r.expanded = n.expanded();
                r.item->setExpanded(r.expanded);
            }
        }
    }

    QTreeWidgetItem* itemOf(std::uint64_t serial) const {
        auto it = index_.find(serial);
        return it == index_.end() ? nullptr : rows_[it->second].item;
    }

    void syncSelection() {
        const std::uint64_t sel = serialOf(m_.selectedItem());
        if (sel == selected_ && (!sel || itemOf(sel) == tree_->currentItem())) return;
        selected_ = sel;
        QTreeWidgetItem* item = itemOf(sel);
        tree_->selectionModel()->clearSelection();
        if (item) {
            tree_->setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
            // Into view, unless it lies in a folded branch (Qt would unfold it).
            bool shown = true;
            for (QTreeWidgetItem* p = item->parent(); p && shown; p = p->parent())
                shown = p->isExpanded();
            if (shown) tree_->scrollToItem(item);
        } else {
            tree_->setCurrentItem(nullptr);
        }
    }

    // ---- label editing: only while the model has a node in edit ----

    void syncEditing() {
        const std::uint64_t editing = serialOf(m_.editingNode());
        if (editing == editing_) return;
        closeEditorQuietly();
        editing_ = editing;
        if (editing) openEditorLater(editing);
    }

    // The editor opens once the focus has settled: a rename chosen from a
    // pop-up menu starts the edit while the menu is closing, and the focus
    // coming back to the tree from the menu would close an editor opened
    // at once, with the label unchanged. The call is dropped with the view.
    void openEditorLater(std::uint64_t serial, int delayMs = 0) {
        QTimer::singleShot(delayMs, &lifetime_, [this, serial] { openEditor(serial); });
    }

    void openEditor(std::uint64_t serial) {
        // The model may have ended this edit, or started another, meanwhile.
        if (editing_ != serial || serialOf(m_.editingNode()) != serial || editor_) return;
        if (QApplication::activePopupWidget()) {
            openEditorLater(serial, 20);  // a pop-up still holds the focus
            return;
        }
        QTreeWidgetItem* item = itemOf(serial);
        if (!item) return;
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        tree_->editItem(item, 0);
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        editor_ = qobject_cast<QLineEdit*>(tree_->indexWidget(tree_->indexFromItem(item)));
        if (!editor_) editor_ = tree_->findChild<QLineEdit*>();
        // A long label is shown cut: the editor gets the whole of it.
        if (const QString whole = toQ(m_.editingNode()->text());
            editor_ && editor_->text() != whole) {
            editor_->setText(whole);
            editor_->selectAll();
        }
    }

    void closeEditorQuietly() {
        if (!editing_) return;
        editing_ = 0;
        if (editor_) tree_->closeEditor(editor_, QAbstractItemDelegate::NoHint);
        editor_ = nullptr;
    }

    void editorClosed(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
        if (!editing_) return;
        editing_ = 0;
        editor_ = nullptr;
        std::optional<std::string> text;
        if (hint != QAbstractItemDelegate::RevertModelCache)
            if (auto* line = qobject_cast<QLineEdit*>(editor)) text = fromQ(line->text());
        platform::TreeView& m = m_;
        gesture([&m, &text] { m.userEndLabelEdit(std::move(text)); });
    }

    // ---- mouse and keys ----

    // The serial of the node under a viewport point (0 for none), and
    // whether the point is on its plus/minus sign.
    std::uint64_t nodeAt(QPoint p, bool& onSign) const {
        onSign = false;
        QTreeWidgetItem* item = tree_->itemAt(p);
        if (!item) return 0;
        const QRect r = tree_->visualItemRect(item);
        onSign = p.x() < r.left() && p.x() >= r.left() - tree_->indentation();
        return static_cast<NodeItem*>(item)->serial;
    }

    void press(QMouseEvent* e, bool doubleClick) {
        if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton)
            tree_->setFocus(Qt::MouseFocusReason);
        bool onSign = false;
        const QPoint p = e->position().toPoint();
        const std::uint64_t serial = nodeAt(p, onSign);
        const int button = mouseButton(e->button()), shift = shiftState(e->modifiers());
        const double x = twipsX(tree_->viewport(), p.x()), y = twipsY(tree_->viewport(), p.y());
        platform::TreeView& m = m_;
        gesture([&] { m.userMouseDown(button, shift, x, y); });
        // The node as it is after MouseDown, which may have reloaded the tree.
        platform::Node* node = serial ? m.findSerial(serial) : nullptr;
        if (button != platform::LeftButton || !node) return;
        platform::Node& n = *node;
        if ((onSign || doubleClick) && n.children() > 0) {
            if (n.expanded())
                gesture([&] { m.userCollapse(n); });
            else
                gesture([&] { m.userExpand(n); });
        } else if (!onSign && !doubleClick) {
            gesture([&] { m.userClickNode(n); });
        }
    }

    void key(QKeyEvent* e) {
        // On a form with a default (cancel) button, Enter (Esc) presses it.
        if (formView().dialogKey(e)) return;
        const int code = keyCode(*e), ascii = keyAscii(*e), shift = shiftState(e->modifiers());
        platform::TreeView& m = m_;
        if (code) gesture([&] { m.userKeyDown(code, shift); });
        if (ascii) gesture([&] { m.userKeyPress(ascii); });
        if (!code && !ascii) e->ignore();
    }

    platform::TreeView& m_;
    Widget* tree_;
    std::vector<Row> rows_;
    std::vector<const platform::Node*> order_;
    std::unordered_map<std::uint64_t, std::size_t> index_;  // row by serial
    std::unordered_map<int, QIcon> icons_;
    const platform::ImageList* imageList_ = nullptr;
    bool pictures_ = true;
    std::uint64_t selected_ = 0;  // serials; 0 for none
    std::uint64_t editing_ = 0;
    QPointer<QLineEdit> editor_;
    QMetaObject::Connection closeEditorConnection_;
    QObject lifetime_;  // context of the deferred editor opening
};

void addTreeViews(ViewFactory& f) {
    f.add("TreeView", makerOf<TreeViewView, platform::TreeView>());
}

}  // namespace gui
