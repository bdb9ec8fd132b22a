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
    : list_(list), serial_(nextEntrySerial()), text_(std::move(text)), smallIcon_(smallIcon) {
    if (!key.empty()) extras().key = std::move(key);
}

ListItem::Extras& ListItem::extras() {
    if (!extras_) extras_ = std::make_unique<Extras>();
    return *extras_;
}

const std::string& ListItem::keyText() const { return extras_ ? extras_->key : emptyText; }

const std::string& ListItem::key() const { return check(), keyText(); }

void ListItem::setKey(const std::string& key) {
    check();
    if (key == keyText()) return;
    if (list_.keys_.rekey(this, extras().key, key)) list_.itemChanged();
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
    return i <= subItemCount_ ? subItems_[static_cast<std::size_t>(i - 1)] : emptyText;
}

void ListItem::setSubItem(int i, std::string text) {
    checkSubItem(i);
    if (i > subItemRoom_) {
        // Room for every column's sub-item (i lies within the columns).
        const int room = std::max(i, list_.columnCount() - 1);
        auto grown = std::make_unique<std::string[]>(static_cast<std::size_t>(room));
        std::move(subItems_.get(), subItems_.get() + subItemCount_, grown.get());
        subItems_ = std::move(grown);
        subItemRoom_ = room;
    }
    if (i > subItemCount_) subItemCount_ = i;
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

const std::string& ListItem::tag() const { return check(), extras_ ? extras_->tag : emptyText; }

void ListItem::setTag(std::string tag) {
    check();
    if (!tag.empty() || extras_) extras().tag = std::move(tag);
}

const std::string& ListItem::toolTipText() const {
    return check(), extras_ ? extras_->toolTipText : emptyText;
}

void ListItem::setToolTipText(std::string text) {
    check();
    if (text.empty() && !extras_) return;
    if (assignChanged(extras().toolTipText, std::move(text))) list_.itemChanged();
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
    keys_.add(item->keyText(), item);
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
    keys_.erase(item.keyText());
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
            return column <= it.subItemCount_ ? it.subItems_[static_cast<std::size_t>(column - 1)]
                                              : emptyText;
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
