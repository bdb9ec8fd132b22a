#include "platform/controls/listview.h"

#include <algorithm>

#include "platform/controls/control_helpers.h"
#include "platform/text/text.h"
#include "platform/ui/dispatcher.h"

namespace platform {

namespace {
const std::string emptyText;
}

// ---- ListItem ----

ListItem::ListItem(ListView& list, std::string key, std::string text, int smallIcon)
    : list_(list),
      serial_(nextEntrySerial()),
      key_(std::move(key)),
      text_(std::move(text)),
      smallIcon_(smallIcon) {}

void ListItem::setKey(const std::string& key) {
    check();
    if (list_.keys_.rekey(this, key_, key)) list_.itemChanged();
}

void ListItem::setText(std::string text) {
    check();
    if (assignChanged(text_, std::move(text))) list_.itemChanged();
}

void ListItem::setSmallIcon(int image) {
    check();
    if (assignChanged(smallIcon_, image)) list_.itemChanged();
}

void ListItem::checkSubItem(int i) const {
    check();
    if (i < 1) raiseBadIndex();
    if (i >= list_.columnCount()) raise(err::InvalidPropertyValue);
}

const std::string& ListItem::subItem(int i) const {
    checkSubItem(i);
    return static_cast<std::size_t>(i) <= subItems_.size()
               ? subItems_[static_cast<std::size_t>(i - 1)]
               : emptyText;
}

void ListItem::setSubItem(int i, std::string text) {
    checkSubItem(i);
    if (static_cast<std::size_t>(i) > subItems_.size())
        subItems_.resize(static_cast<std::size_t>(i));
    if (assignChanged(subItems_[static_cast<std::size_t>(i - 1)], std::move(text)))
        list_.itemChanged();
}

void ListItem::setChecked(bool checked) {
    check();
    if (assignChanged(checked_, checked)) list_.itemChanged();
}

void ListItem::setForeColor(Color color) {
    check();
    if (assignChanged(foreColor_, color)) list_.itemChanged();
}

bool ListItem::selected() const { return check(), list_.selected_ == this; }

void ListItem::setSelected(bool selected) {
    check();
    if (selected)
        list_.setSelectedItem(this);
    else if (list_.selected_ == this)
        list_.setSelectedItem(nullptr);
}

void ListItem::setToolTipText(std::string text) {
    check();
    if (assignChanged(toolTipText_, std::move(text))) list_.itemChanged();
}

int ListItem::index() const {
    check();
    list_.ensureOrder();
    return index_;
}

// ---- ColumnHeader ----

ColumnHeader::ColumnHeader(ListView& list, std::string key, std::string text, double width,
                           int index)
    : list_(list),
      key_(std::move(key)),
      text_(std::move(text)),
      width_(roundSize(width)),
      index_(index) {}

void ColumnHeader::setText(std::string text) {
    check();
    if (assignChanged(text_, std::move(text))) list_.itemChanged();
}

void ColumnHeader::setWidth(double width) {
    check();
    width = roundSize(width);
    if (assignChanged(width_, width)) list_.itemChanged();
}

// ---- ListView ----

ListView::ListView(Form& owner, std::string name) : Control(owner, std::move(name)) {}

ListView::~ListView() {
    // A procedure running now may still hold a row or a column header.
    for (const auto& i : items_) i->dead_ = true;
    for (const auto& c : columns_) c->dead_ = true;
    if (Dispatcher::instance().inEvent()) {
        Dispatcher::instance().retire(std::move(items_));
        Dispatcher::instance().retire(std::move(columns_));
    }
}

ColumnHeader& ListView::addColumn(std::string key, std::string text, double width) {
    columns_.push_back(std::unique_ptr<ColumnHeader>(
        new ColumnHeader(*this, std::move(key), std::move(text), width, columnCount() + 1)));
    changed();
    return *columns_.back();
}

void ListView::clearColumns() {
    for (const auto& c : columns_) c->dead_ = true;
    Dispatcher::instance().retire(std::move(columns_));
    columns_.clear();
    changed();
}

ColumnHeader& ListView::column(int index) const { return *detail::atIndex(columns_, index); }

ListItem& ListView::add(std::string key, std::string text, int smallIcon) {
    keys_.check(key);
    items_.push_back(
        std::unique_ptr<ListItem>(new ListItem(*this, std::move(key), std::move(text), smallIcon)));
    ListItem* item = items_.back().get();
    item->index_ = count();
    keys_.add(item->key_, item);
    if (sorted_) orderDirty_ = true;
    changed();
    return *item;
}

void ListView::remove(int index) { remove(item(index)); }

void ListView::remove(std::string_view key) { remove(item(key)); }

void ListView::checkOwn(const ListItem& item) const {
    if (item.dead_) raiseRemoved();
    if (&item.list_ != this) raise(err::ElementNotFound);
}

void ListView::remove(ListItem& item) {
    checkOwn(item);
    keys_.erase(item.key_);
    if (selected_ == &item) selected_ = nullptr;
    item.dead_ = true;
    auto it = std::find_if(items_.begin(), items_.end(),
                           [&](const std::unique_ptr<ListItem>& p) { return p.get() == &item; });
    Dispatcher::instance().retire(std::move(*it));
    items_.erase(it);
    indexDirty_ = true;
    changed();
}

void ListView::clear() {
    for (const auto& i : items_) i->dead_ = true;
    Dispatcher::instance().retire(std::move(items_));
    items_.clear();
    keys_.clear();
    selected_ = nullptr;
    orderDirty_ = indexDirty_ = false;
    changed();
}

ListItem& ListView::item(int index) const {
    ensureOrder();
    return *detail::atIndex(items_, index);
}

ListItem& ListView::item(std::string_view key) const { return keys_.at(key); }

ListItem* ListView::find(std::string_view key) const { return keys_.find(key); }

const std::vector<std::unique_ptr<ListItem>>& ListView::items() const {
    ensureOrder();
    return items_;
}

ListItem* ListView::findSerial(std::uint64_t serial) const {
    for (const auto& it : items_)
        if (it->serial_ == serial) return it.get();
    return nullptr;
}

void ListView::ensureOrder() const {
    if (orderDirty_) {
        const int column = sortKey_;
        const bool descending = sortOrder_ == Descending;
        // A sort column without a sub-item (or beyond the columns) sorts as "".
        auto textOf = [column](const ListItem& it) -> const std::string& {
            if (column == 0) return it.text_;
            const auto k = static_cast<std::size_t>(column);
            return k <= it.subItems_.size() ? it.subItems_[k - 1] : emptyText;
        };
        std::stable_sort(items_.begin(), items_.end(), [&](const auto& a, const auto& b) {
            const int c = text::compareText(textOf(*a), textOf(*b));
            return descending ? c > 0 : c < 0;
        });
        orderDirty_ = false;
        indexDirty_ = true;
    }
    if (indexDirty_) {
        int i = 0;
        for (const auto& it : items_) it->index_ = ++i;
        indexDirty_ = false;
    }
}

void ListView::orderChanged() {
    if (sorted_) orderDirty_ = true;
    changed();
}

void ListView::setSelectedItem(ListItem* item) {
    if (item) checkOwn(*item);
    setField(selected_, item);
}

void ListView::setView(int view) { setField(view_, view); }

void ListView::setGridLines(bool on) { setField(gridLines_, on); }

void ListView::setCheckboxes(bool on) { setField(checkboxes_, on); }

void ListView::setSorted(bool on) {
    if (assignChanged(sorted_, on)) orderChanged();
}

void ListView::setSortKey(int key) {
    if (key < 0) key = 0;
    if (assignChanged(sortKey_, key)) orderChanged();
}

void ListView::setSortOrder(int order) {
    order = order == Descending ? Descending : Ascending;
    if (assignChanged(sortOrder_, order)) orderChanged();
}

void ListView::setSmallIcons(ImageList* list) {
    smallIcons_ = list;
    changed();
}

void ListView::refresh() { changed(); }

// ---- user gestures ----

void ListView::userClickItem(ListItem& item) {
    checkOwn(item);
    dispatch([&] {
        setSelectedItem(&item);
        if (ItemClick) ItemClick(item);
    });
}

void ListView::userToggleCheck(ListItem& item) {
    checkOwn(item);
    dispatch([&] {
        if (!checkboxes_) return;
        item.setChecked(!item.checked());
        if (ItemCheck) ItemCheck(item);
    });
}

void ListView::userClickColumn(int index) {
    ColumnHeader& header = column(index);
    dispatch([&] {
        if (ColumnClick) ColumnClick(header);
    });
}

void ListView::userMouseDown(int button, int shift, double x, double y, ListItem* over) {
    if (over) checkOwn(*over);
    dispatch([&] {
        if (over) setSelectedItem(over);
        if (MouseDown) MouseDown(button, shift, x, y);
    });
}

void ListView::userMouseUp(int button, int shift, double x, double y) {
    dispatch([&] {
        if (MouseUp) MouseUp(button, shift, x, y);
    });
}

}  // namespace platform
