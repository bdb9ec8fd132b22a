// The list control: rows (list items) with an optional unique key, a text,
// a small icon, sub-items for the further columns, a check box, a colour and
// a tooltip; column headers for the report view.
//
// While sorted() is on, the rows are kept in the order of the sort column
// (text comparison, stable: rows that compare equal keep their order), so a
// row's index is always its display position. Sorting happens once, when the
// order is next needed after rows were added or the sort settings changed.
//
// Changes by code raise no event (selecting a row, setting a check box).
// Nothing is ever selected automatically.
//
// A removed row or column header (remove, clear, clearColumns, or the list
// destroyed) stays allocated until the outermost running event has ended
// (see Dispatcher::retire); a procedure that still holds it gets error 35605
// from every member but serial() and removed().
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/controls/control.h"
#include "platform/controls/key_index.h"

namespace platform {

class ImageList;
class ListView;

class ListItem {
  public:
    ListView& listView() const { return check(), list_; }
    // The row's number of this run (see nextEntrySerial); readable also once
    // the row is removed.
    std::uint64_t serial() const { return serial_; }
    // True once the row is removed from its list.
    bool removed() const { return dead_; }

    // "" means no key. Keys are unique (35602); an all-numeric key is
    // refused (35603).
    const std::string& key() const;
    void setKey(const std::string& key);
    const std::string& text() const { return check(), text_; }
    void setText(std::string text);
    int smallIcon() const { return check(), smallIcon_; }
    void setSmallIcon(int image);
    // Sub-item i is the text of column i + 1: i runs from 1 to the column
    // count less one ("" when never set). Below 1 raises 35600, beyond the
    // columns 380.
    const std::string& subItem(int i) const;
    void setSubItem(int i, std::string text);
    // The sub-items up to the last one set (for drawing; never raises but
    // 35605).
    std::span<const std::string> subItems() const {
        return check(), std::span<const std::string>(subItems_.get(),
                                                     static_cast<std::size_t>(subItemCount_));
    }
    // Setting it by code raises no event.
    bool checked() const { return check(), checked_; }
    void setChecked(bool checked);
    Color foreColor() const { return check(), foreColor_; }
    void setForeColor(Color color);
    // One row at most is selected; selecting by code raises no event.
    bool selected() const;
    void setSelected(bool selected);
    const std::string& toolTipText() const;
    void setToolTipText(std::string text);
    // A text the program keeps with the row and never shows ("" when unset).
    const std::string& tag() const;
    void setTag(std::string tag);
    // Display position, from 1.
    int index() const;

    ListItem(const ListItem&) = delete;
    ListItem& operator=(const ListItem&) = delete;

  private:
    friend class ListView;
    ListItem(ListView& list, std::string key, std::string text, int smallIcon);
    // Raises 35605 for a removed row (the accessors read "return check(), field;").
    void check() const {
        if (dead_) raiseRemoved();
    }
    // Raises 35600 or 380 for a sub-item number outside the columns.
    void checkSubItem(int i) const;
    // The key without the check for a removed row.
    const std::string& keyText() const;

    // What few rows have, kept apart so that a row without them stays small
    // (a list may hold a great many rows).
    struct Extras {
        std::string key;
        std::string toolTipText;
        std::string tag;
    };
    Extras& extras();

    ListView& list_;
    std::uint64_t serial_;
    std::string text_;
    // Sub-items 1 .. subItemCount_ (room for subItemRoom_), made with room for
    // every column when the first is set.
    std::unique_ptr<std::string[]> subItems_;
    std::unique_ptr<Extras> extras_;
    int smallIcon_ = 0;
    Color foreColor_ = DefaultColor;
    mutable int index_ = 0;
    int subItemCount_ = 0;
    int subItemRoom_ = 0;
    bool checked_ = false;
    bool dead_ = false;
};

class ColumnHeader {
  public:
    const std::string& key() const { return check(), key_; }
    const std::string& text() const { return check(), text_; }
    void setText(std::string text);
    double width() const { return check(), width_; }
    void setWidth(double width);
    int index() const { return check(), index_; }
    bool removed() const { return dead_; }

    ColumnHeader(const ColumnHeader&) = delete;
    ColumnHeader& operator=(const ColumnHeader&) = delete;

  private:
    friend class ListView;
    ColumnHeader(ListView& list, std::string key, std::string text, double width, int index);
    void check() const {
        if (dead_) raiseRemoved();
    }
    ListView& list_;
    std::string key_;
    std::string text_;
    double width_;
    int index_;
    bool dead_ = false;
};

class ListView : public Control {
  public:
    enum View { Icons = 0, SmallIcons = 1, List = 2, Report = 3 };
    enum SortOrder { Ascending = 0, Descending = 1 };

    ListView(Form& owner, std::string name);
    ~ListView() override;
    const char* kind() const override { return "ListView"; }

    // ---- column headers (left-aligned) ----
    ColumnHeader& addColumn(std::string key, std::string text, double width);
    void clearColumns();
    int columnCount() const { return static_cast<int>(columns_.size()); }
    ColumnHeader& column(int index) const;  // from 1; 35600 outside
    const std::vector<std::unique_ptr<ColumnHeader>>& columns() const { return columns_; }

    // ---- rows ----
    // Appends a row (it moves to its sorted place while sorted() is on).
    // 35602 for a key in use, 35603 for an all-numeric key.
    ListItem& add(std::string key, std::string text, int smallIcon = 0);
    // Removes a row (35600 bad index, 35601 unknown key, 35605 a row
    // removed before, 35601 a row of another list).
    void remove(int index);
    void remove(std::string_view key);
    void remove(ListItem& item);
    void clear();
    int count() const { return static_cast<int>(items_.size()); }
    ListItem& item(int index) const;             // display position; 35600 outside
    ListItem& item(std::string_view key) const;  // 35601 for an unknown key
    ListItem* find(std::string_view key) const;  // nullptr for an unknown key
    // The rows in display order.
    const std::vector<std::unique_ptr<ListItem>>& items() const;
    // The row of the list with that serial, or nullptr (removed, or never
    // of this list).
    ListItem* findSerial(std::uint64_t serial) const;

    // ---- selection (no event) ----
    ListItem* selectedItem() const { return selected_; }
    // 35605 for a removed row.
    void setSelectedItem(ListItem* item);

    // ---- settings ----
    int view() const { return view_; }
    void setView(int view);
    bool gridLines() const { return gridLines_; }
    void setGridLines(bool on);
    bool checkboxes() const { return checkboxes_; }
    void setCheckboxes(bool on);
    bool sorted() const { return sorted_; }
    void setSorted(bool on);
    // 0 sorts by the text, k by sub-item k.
    int sortKey() const { return sortKey_; }
    void setSortKey(int key);
    int sortOrder() const { return sortOrder_; }
    void setSortOrder(int order);
    ImageList* smallIcons() const { return smallIcons_; }
    void setSmallIcons(ImageList* list);
    void refresh();

    // ---- events ----
    std::function<void(ListItem&)> ItemClick;
    // Raised after the box flipped; the handler may set it back (no event).
    std::function<void(ListItem&)> ItemCheck;
    std::function<void(ColumnHeader&)> ColumnClick;
    std::function<void(int button, int shift, double x, double y)> MouseDown;
    std::function<void(int button, int shift, double x, double y)> MouseUp;

    // ---- user gestures (each one event) ----
    // The gestures on a row raise 35605 for a removed one (before any event).
    // A click on a row: it becomes the selected row, then ItemClick.
    void userClickItem(ListItem& item);
    // A click on a row's check box (only while check boxes are shown): the
    // box flips, then ItemCheck.
    void userToggleCheck(ListItem& item);
    // A click on column header i (from 1; 35600 at once when there is
    // none): ColumnClick.
    void userClickColumn(int index);
    // A mouse button pressed over the list (x, y in twips relative to the
    // list). over is the row under the pointer, if any: it becomes the
    // selected row first, with either button.
    void userMouseDown(int button, int shift, double x, double y, ListItem* over = nullptr);
    void userMouseUp(int button, int shift, double x, double y);

  private:
    friend class ListItem;
    friend class ColumnHeader;
    void itemChanged() { changed(); }
    // Raises unless item is a row of this list that is not removed.
    void checkOwn(const ListItem& item) const;
    void ensureOrder() const;
    void orderChanged();

    std::vector<std::unique_ptr<ColumnHeader>> columns_;
    mutable std::vector<std::unique_ptr<ListItem>> items_;
    KeyIndex<ListItem> keys_;
    ListItem* selected_ = nullptr;
    mutable bool orderDirty_ = false;
    mutable bool indexDirty_ = false;
    int view_ = Report;
    bool gridLines_ = false;
    bool checkboxes_ = false;
    bool sorted_ = false;
    int sortKey_ = 0;
    int sortOrder_ = Ascending;
    ImageList* smallIcons_ = nullptr;
};

}  // namespace platform
