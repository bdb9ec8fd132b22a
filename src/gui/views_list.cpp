// The list view: a report (a QTreeWidget with columns) or an icon or list
// arrangement (a QListWidget), one of them shown. The rows are drawn in the
// model's order; Qt never sorts. As with trees, a sync updates rows in place
// while the same rows are listed and rebuilds the whole list otherwise.
// Items know their row by its serial, never by its address.
#include <QHeaderView>
#include <QListWidget>
#include <QPainter>
#include <QStackedWidget>
#include <QStyleOption>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <cstdint>

#include "gui/control_view.h"
#include "gui/form_view.h"
#include "gui/item_widgets.h"
#include "gui/qt_convert.h"
#include "platform/controls/imagelist.h"
#include "platform/controls/listview.h"
#include "platform/controls/simple_controls.h"

namespace gui {

namespace {

// Draws the cells and, when on, the grid lines between them.
class GridDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool grid = false;
    void paint(QPainter* p, const QStyleOptionViewItem& opt,
               const QModelIndex& index) const override {
        // Only the selected row shows the focus; Qt's own current row is not the model's.
        QStyleOptionViewItem o(opt);
        if (!(o.state & QStyle::State_Selected)) o.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(p, o, index);
        if (!grid) return;
        p->save();
        p->setPen(opt.palette.color(QPalette::Midlight).darker(115));
        p->drawLine(opt.rect.bottomLeft(), opt.rect.bottomRight());
        p->drawLine(opt.rect.topRight(), opt.rect.bottomRight());
        p->restore();
    }
};

// The report's header: past the last column the bar goes on as one empty
// heading to the list's right edge.
class ReportHeader : public QHeaderView {
  public:
    explicit ReportHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

  protected:
    void paintEvent(QPaintEvent* e) override {
        QHeaderView::paintEvent(e);
        const int end = length() - offset();
        const int width = viewport()->width();
        if (count() == 0 || end >= width) return;
        QPainter p(viewport());
        QStyleOptionHeader opt;
        initStyleOption(&opt);
        opt.rect = QRect(end, 0, width - end, viewport()->height());
        opt.section = count();
        opt.position = QStyleOptionHeader::End;
        opt.state |= QStyle::State_Raised;
        if (isEnabled()) opt.state |= QStyle::State_Enabled;
        style()->drawControl(QStyle::CE_HeaderSection, &opt, &p, this);
    }
};

// Rows that know their list item's serial.
struct ReportItem : QTreeWidgetItem {
    explicit ReportItem(std::uint64_t s) : QTreeWidgetItem(UserType), serial(s) {}
    std::uint64_t serial;
};
struct IconItem : QListWidgetItem {
    explicit IconItem(std::uint64_t s) : QListWidgetItem(nullptr, UserType), serial(s) {}
    std::uint64_t serial;
};

struct Column {
    std::string text;
    double width;
    bool operator==(const Column&) const = default;
};

}  // namespace

class ListViewView : public ControlView {
  public:
    using Report = ModelDrivenView<QTreeWidget>;
    using Icons = ModelDrivenView<QListWidget>;

    ListViewView(platform::ListView& m, FormView& f) : ControlView(m, f), m_(m) {
        stack_ = new QStackedWidget;
        report_ = new Report;
        report_->setHeader(new ReportHeader(report_));
        report_->setRootIsDecorated(false);
        report_->setItemsExpandable(false);
        report_->setSortingEnabled(false);
        report_->setUniformRowHeights(true);
        report_->setAllColumnsShowFocus(true);
        report_->setIconSize(QSize(16, 16));
        report_->setTextElideMode(Qt::ElideRight);
        QHeaderView* header = report_->header();
        header->setSectionsClickable(true);
        header->setSortIndicatorShown(false);
        header->setSectionsMovable(false);
        header->setStretchLastSection(false);
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        QObject::connect(header, &QHeaderView::sectionClicked, report_, [this](int section) {
            platform::ListView& m = m_;
            gesture([&m, section] { m.userClickColumn(section + 1); });
        });
        grid_ = new GridDelegate(report_);
        report_->setItemDelegate(grid_);
        icons_ = new Icons;
        icons_->setMovement(QListView::Static);
        icons_->setResizeMode(QListView::Adjust);
        icons_->setWrapping(true);
        // Each row is as large as its own name (see fitGrid).
        icons_->setUniformItemSizes(false);
        icons_->setSortingEnabled(false);
        stack_->addWidget(report_);
        stack_->addWidget(icons_);
        for (QAbstractItemView* v :
             {static_cast<QAbstractItemView*>(report_), static_cast<QAbstractItemView*>(icons_)})
            v->setFocusPolicy(Qt::StrongFocus);
        stack_->setFocusProxy(report_);
        report_->onPress = icons_->onPress = [this](QMouseEvent* e) { press(e); };
        report_->onDoubleClick = icons_->onDoubleClick = [this](QMouseEvent* e) { press(e); };
        report_->onRelease = icons_->onRelease = [this](QMouseEvent* e) { release(e); };
        setWidget(stack_);
    }

  protected:
    void apply() override {
        const int view = m_.view();
        QAbstractItemView* shown =
            view == platform::ListView::Report ? static_cast<QAbstractItemView*>(report_) : icons_;
        if (stack_->currentWidget() != shown) {
            stack_->setCurrentWidget(shown);
            stack_->setFocusProxy(shown);
        }
        bool rebuildAll = false;
        if (view != view_ || m_.checkboxes() != checkboxes_ || m_.smallIcons() != imageList_) {
            view_ = view;
            checkboxes_ = m_.checkboxes();
            imageList_ = m_.smallIcons();
            iconCache_.clear();
            arrangeIcons();
            rebuildAll = true;
        }
        if (grid_->grid != m_.gridLines()) {
            grid_->grid = m_.gridLines();
            report_->viewport()->update();
        }
        if (syncColumns()) rebuildAll = true;
        const auto& items = m_.items();
        bool same = !rebuildAll && items.size() == rows_.size();
        for (std::size_t i = 0; same && i < items.size(); ++i)
            same = rows_[i].serial == items[i]->serial();
        if (same ? update(items) : (rebuild(), true)) fitGrid();
        syncSelection();
    }

  private:
    struct Row {
        std::uint64_t serial;
        std::string text;
        std::vector<std::string> subItems;
        int icon;
        bool checked;
        platform::Color fore;
        std::string tip;
        QTreeWidgetItem* report = nullptr;
        QListWidgetItem* icons = nullptr;
    };

    bool isReport() const { return view_ == platform::ListView::Report; }
    QAbstractItemView* shownView() const {
        return isReport() ? static_cast<QAbstractItemView*>(report_)
                          : static_cast<QAbstractItemView*>(icons_);
    }

    void arrangeIcons() {
        switch (view_) {
            case platform::ListView::Icons:
                icons_->setViewMode(QListView::IconMode);
                icons_->setIconSize(QSize(32, 32));
                icons_->setFlow(QListView::LeftToRight);
                icons_->setGridSize(QSize(76, 60));
                break;
            case platform::ListView::SmallIcons:
                icons_->setViewMode(QListView::ListMode);
                icons_->setIconSize(QSize(16, 16));
                icons_->setFlow(QListView::LeftToRight);
                break;
            default:
                icons_->setViewMode(QListView::ListMode);
                icons_->setIconSize(QSize(16, 16));
                icons_->setFlow(QListView::TopToBottom);
                break;
        }
        icons_->setWrapping(true);
    }

    // The list and small-icon views set their names on a grid as wide as the
    // widest of them, as a file manager does, so that no name is cut (a name
    // wider than the list scrolls it sideways).
    void fitGrid() {
        if (view_ != platform::ListView::List && view_ != platform::ListView::SmallIcons) return;
        QStyleOptionViewItem opt;
        icons_->initViewItemOption(&opt);
        const QAbstractItemModel* model = icons_->model();
        const QAbstractItemDelegate* delegate = icons_->itemDelegate();
        QSize widest(0, 20);
        for (int row = 0; row < model->rowCount(); ++row)
            widest = widest.expandedTo(delegate->sizeHint(opt, model->index(row, 0)));
        const QSize grid(std::max(widest.width() + GridGap, MinGridWidth), widest.height());
        if (icons_->gridSize() != grid) icons_->setGridSize(grid);
    }
    static constexpr int GridGap = 8;        // between one name and the next column's icon
    static constexpr int MinGridWidth = 76;  // an empty or one-letter list

    // True when the columns changed.
    bool syncColumns() {
        std::vector<Column> cols;
        for (const auto& c : m_.columns()) cols.push_back({c->text(), c->width()});
        if (cols == columns_) return false;
        columns_ = cols;
        report_->setColumnCount(std::max<int>(1, static_cast<int>(cols.size())));
        QStringList labels;
        for (const Column& c : cols) labels << toQ(c.text);
        report_->setHeaderLabels(labels);
        report_->header()->setVisible(!cols.empty());
        for (std::size_t i = 0; i < cols.size(); ++i)
            report_->setColumnWidth(static_cast<int>(i), px(cols[i].width));
        return true;
    }

    const QIcon& iconOf(int image) {
        auto it = iconCache_.find(image);
        if (it == iconCache_.end())
            it = iconCache_.emplace(image, imageIcon(imageList_, image)).first;
        return it->second;
    }

    static Row rowOf(const platform::ListItem& i) {
        const auto subItems = i.subItems();
        return {i.serial(),     i.text(),    {subItems.begin(), subItems.end()},
                i.smallIcon(),  i.checked(), i.foreColor(),
                i.toolTipText()};
    }

    void fill(Row& r) {
        const auto colour = qColor(r.fore);
        const QVariant fore = colour ? QVariant(QBrush(*colour)) : QVariant();
        const QString tip = toQ(r.tip);
        if (r.report) {
            QTreeWidgetItem* t = r.report;
            t->setText(0, toQ(r.text));
            t->setIcon(0, iconOf(r.icon));
            if (checkboxes_) t->setCheckState(0, r.checked ? Qt::Checked : Qt::Unchecked);
            const int columns = std::max<int>(1, static_cast<int>(columns_.size()));
            for (int c = 0; c < columns; ++c) {
                if (c > 0)
                    t->setText(c, c - 1 < static_cast<int>(r.subItems.size())
                                      ? toQ(r.subItems[static_cast<std::size_t>(c - 1)])
                                      : QString());
                t->setData(c, Qt::ForegroundRole, fore);
                t->setToolTip(c, tip);
            }
        }
        if (r.icons) {
            QListWidgetItem* l = r.icons;
            l->setText(toQ(r.text));
            l->setIcon(iconOf(r.icon));
            if (checkboxes_) l->setCheckState(r.checked ? Qt::Checked : Qt::Unchecked);
            l->setData(Qt::ForegroundRole, fore);
            l->setToolTip(tip);
        }
    }

    void rebuild() {
        QAbstractItemView* v = shownView();
        v->setUpdatesEnabled(false);
        report_->clear();
        icons_->clear();
        rows_.clear();
        index_.clear();
        selected_ = 0;
        const auto& items = m_.items();
        rows_.reserve(items.size());
        QList<QTreeWidgetItem*> reportItems;
        for (const auto& it : items) {
            Row r = rowOf(*it);
            if (isReport()) {
                r.report = new ReportItem(r.serial);
                r.report->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                reportItems.append(r.report);
            } else {
                r.icons = new IconItem(r.serial);
                r.icons->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            }
            fill(r);
            index_.emplace(r.serial, rows_.size());
            rows_.push_back(std::move(r));
        }
        if (isReport())
            report_->addTopLevelItems(reportItems);
        else
            for (Row& r : rows_) icons_->addItem(r.icons);
        v->setUpdatesEnabled(true);
    }

    // rows_[i] shows items[i]. True when a row changed.
    bool update(const std::vector<std::unique_ptr<platform::ListItem>>& items) {
        bool changed = false;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            Row& r = rows_[i];
            Row now = rowOf(*items[i]);
            if (now.text == r.text && now.subItems == r.subItems && now.icon == r.icon &&
                now.checked == r.checked && now.fore == r.fore && now.tip == r.tip)
                continue;
            now.report = r.report;
            now.icons = r.icons;
            r = std::move(now);
            fill(r);
            changed = true;
        }
        return changed;
    }

    void syncSelection() {
        const platform::ListItem* item = m_.selectedItem();
        const std::uint64_t sel = item ? item->serial() : 0;
        if (sel == selected_) return;
        selected_ = sel;
        auto it = index_.find(sel);
        const Row* r = it == index_.end() ? nullptr : &rows_[it->second];
        if (isReport()) {
            report_->selectionModel()->clearSelection();
            if (r) {
                report_->setCurrentItem(
                    r->report, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                report_->scrollToItem(r->report);
            }
        } else {
            icons_->selectionModel()->clearSelection();
            if (r) {
                icons_->setCurrentItem(r->icons, QItemSelectionModel::ClearAndSelect);
                icons_->scrollToItem(r->icons);
            }
        }
    }

    // ---- mouse ----

    // The serial of the row under a viewport point, 0 for none.
    std::uint64_t serialAt(QPoint p) const {
        if (isReport()) {
            auto* t = static_cast<ReportItem*>(report_->itemAt(p));
            return t ? t->serial : 0;
        }
        auto* l = static_cast<IconItem*>(icons_->itemAt(p));
        return l ? l->serial : 0;
    }
    // The model's row of that serial, or nullptr (none, or removed).
    platform::ListItem* rowOfSerial(std::uint64_t serial) const {
        return serial ? m_.findSerial(serial) : nullptr;
    }

    // Whether a viewport point lies on the check box of the row there.
    bool onCheckBox(QPoint p) const {
        if (!checkboxes_) return false;
        QAbstractItemView* v = shownView();
        const QModelIndex index = v->indexAt(p);
        if (!index.isValid() || index.column() != 0) return false;
        QStyleOptionViewItem opt;
        if (isReport())
            report_->initViewItemOption(&opt);
        else
            icons_->initViewItemOption(&opt);
        opt.rect = v->visualRect(index);
        opt.features |= QStyleOptionViewItem::HasCheckIndicator;
        const QRect box =
            v->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, v);
        return box.adjusted(-2, -2, 2, 2).contains(p);
    }

    void press(QMouseEvent* e) {
        QAbstractItemView* v = shownView();
        v->setFocus(Qt::MouseFocusReason);
        const QPoint p = e->position().toPoint();
        const std::uint64_t over = serialAt(p);
        const int button = mouseButton(e->button()), shift = shiftState(e->modifiers());
        const double x = twipsX(v->viewport(), p.x()), y = twipsY(v->viewport(), p.y());
        platform::ListView& m = m_;
        pressed_ = 0;
        if (button == platform::LeftButton && over && onCheckBox(p)) {
            gesture([&] { m.userMouseDown(button, shift, x, y, nullptr); });
            // The row as it is after MouseDown, which may have reloaded the list.
            if (platform::ListItem* item = rowOfSerial(over))
                gesture([&] { m.userToggleCheck(*item); });
            return;
        }
        platform::ListItem* target = rowOfSerial(over);
        gesture([&] { m.userMouseDown(button, shift, x, y, target); });
        if (button == platform::LeftButton && rowOfSerial(over)) pressed_ = over;
    }

    void release(QMouseEvent* e) {
        QAbstractItemView* v = shownView();
        const QPoint p = e->position().toPoint();
        const int button = mouseButton(e->button()), shift = shiftState(e->modifiers());
        const double x = twipsX(v->viewport(), p.x()), y = twipsY(v->viewport(), p.y());
        platform::ListView& m = m_;
        const std::uint64_t pressed = pressed_;
        pressed_ = 0;
        platform::ListItem* item = button == platform::LeftButton && serialAt(p) == pressed
                                       ? rowOfSerial(pressed)
                                       : nullptr;
        if (item) gesture([&] { m.userClickItem(*item); });
        gesture([&] { m.userMouseUp(button, shift, x, y); });
    }

    platform::ListView& m_;
    QStackedWidget* stack_;
    Report* report_;
    Icons* icons_;
    GridDelegate* grid_;
    std::vector<Row> rows_;
    std::unordered_map<std::uint64_t, std::size_t> index_;  // row by serial
    std::vector<Column> columns_;
    std::unordered_map<int, QIcon> iconCache_;
    const platform::ImageList* imageList_ = nullptr;
    int view_ = -1;
    bool checkboxes_ = false;
    std::uint64_t selected_ = 0;  // serials; 0 for none
    std::uint64_t pressed_ = 0;
};

void addListViews(ViewFactory& f) {
    f.add("ListView", makerOf<ListViewView, platform::ListView>());
}

}  // namespace gui
