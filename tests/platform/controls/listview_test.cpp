#include "platform/controls/listview.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "probe_ui.h"

namespace {

using namespace platform;
using ctltest::errorOf;

class ListTest : public ::testing::Test, public ctltest::Env {
  protected:
    ListTest() {
        // Name and type: rows have one sub-item.
        list.addColumn("", "名称", 1500);
        list.addColumn("", "类型", 900);
    }
    ctltest::OneControlForm<ListView> form{services, "list"};
    ListView& list = form.control;

    ListItem& row(const std::string& key, const std::string& text, const std::string& type) {
        ListItem& it = list.add(key, text, 7);
        it.setSubItem(1, type);
        return it;
    }
    // Texts in display order, each checked against its index.
    std::vector<std::string> shown() {
        std::vector<std::string> texts;
        for (int i = 1; i <= list.count(); ++i) {
            EXPECT_EQ(list.item(i).index(), i);
            texts.push_back(list.item(i).text());
        }
        return texts;
    }
};

TEST_F(ListTest, SortIsStableAndIndexIsDisplayPosition) {
    list.setSortKey(1);
    list.setSorted(true);
    row("k1", "b", "txt");
    row("k2", "a", "doc");
    row("k3", "c", "txt");
    row("k4", "d", "doc");
    EXPECT_EQ(shown(), (std::vector<std::string>{"a", "d", "b", "c"}));
    EXPECT_EQ(list.item("k3").index(), 4);

    list.setSortOrder(ListView::Descending);  // ties keep their order
    EXPECT_EQ(shown(), (std::vector<std::string>{"b", "c", "a", "d"}));

    list.setSortKey(0);
    EXPECT_EQ(shown(), (std::vector<std::string>{"d", "c", "b", "a"}));

    list.setSorted(false);  // stays as it is; new rows go to the end
    list.add("", "0");
    EXPECT_EQ(shown(), (std::vector<std::string>{"d", "c", "b", "a", "0"}));
}

TEST_F(ListTest, RowsWithEqualSortTextKeepInsertionOrder) {
    // Information rows added while the list is still sorted by the type column.
    list.setSortKey(1);
    list.setSorted(true);
    for (const char* t : {"编号", "备注", "日期", "分类"}) list.add("", t, 94);
    EXPECT_EQ(shown(), (std::vector<std::string>{"编号", "备注", "日期", "分类"}));
}

TEST_F(ListTest, SortComparesTextIgnoringAsciiCase) {
    list.setSorted(true);
    for (const char* t : {"b", "A", "a", "B"}) list.add("", t);
    EXPECT_EQ(shown(), (std::vector<std::string>{"A", "a", "b", "B"}));
}

TEST_F(ListTest, KeysAreUnique) {
    list.add("noStr1.txt", "1");
    EXPECT_EQ(errorOf([&] { list.add("noStr1.txt", "again"); }), err::KeyNotUnique);
    EXPECT_EQ(errorOf([&] { list.add("2024", "x"); }), err::InvalidKey);
    EXPECT_EQ(errorOf([&] { list.item("missing"); }), err::ElementNotFound);
    EXPECT_EQ(errorOf([&] { list.item(2); }), err::IndexOutOfBounds);
    EXPECT_EQ(errorOf([&] {
                  list.add("", "a");
                  list.add("", "b");
              }),
              0);
    EXPECT_EQ(list.count(), 3);
    list.remove("noStr1.txt");
    list.add("noStr1.txt", "free again");
}

TEST_F(ListTest, ARowsKeyAndToolTipChangeByCode) {
    ListItem& a = list.add("", "a");
    ListItem& b = list.add("kb", "b");
    EXPECT_EQ(a.key(), "");
    EXPECT_EQ(a.toolTipText(), "");

    a.setKey("ka");
    EXPECT_EQ(a.key(), "ka");
    EXPECT_EQ(list.find("ka"), &a);
    // A key in use or all digits is refused and the row keeps its own.
    EXPECT_EQ(errorOf([&] { a.setKey("kb"); }), err::KeyNotUnique);
    EXPECT_EQ(errorOf([&] { a.setKey("7"); }), err::InvalidKey);
    EXPECT_EQ(a.key(), "ka");
    EXPECT_EQ(list.find("kb"), &b);

    // A new key frees the old one; "" leaves the row without a key.
    b.setKey("kb2");
    EXPECT_EQ(list.find("kb"), nullptr);
    EXPECT_EQ(list.find("kb2"), &b);
    a.setKey("");
    EXPECT_EQ(a.key(), "");
    EXPECT_EQ(list.find("ka"), nullptr);
    list.add("ka", "c");

    const auto before = form.control.revision();
    a.setToolTipText("");  // no change
    EXPECT_EQ(form.control.revision(), before);
    a.setToolTipText("提示");
    EXPECT_EQ(a.toolTipText(), "提示");
    EXPECT_GT(form.control.revision(), before);
    a.setToolTipText("");
    EXPECT_EQ(a.toolTipText(), "");

    list.remove(b);
    EXPECT_EQ(list.find("kb2"), nullptr);
    EXPECT_EQ(errorOf([&] { b.key(); }), err::ControlDeleted);
    EXPECT_EQ(errorOf([&] { b.toolTipText(); }), err::ControlDeleted);
}

TEST_F(ListTest, ItemCheckAfterTheFlipAndSettingBackRaisesNothing) {
    list.setCheckboxes(true);
    ListItem& folder = list.add("docs", "docs", 1);
    int events = 0;
    bool stateDuring = false;
    list.ItemCheck = [&](ListItem& it) {
        ++events;
        stateDuring = it.checked();
        if (it.smallIcon() == 1) it.setChecked(false);  // folders cannot be ticked
    };
    list.userToggleCheck(folder);
    EXPECT_EQ(events, 1);
    EXPECT_TRUE(stateDuring);
    EXPECT_FALSE(folder.checked());
}

TEST_F(ListTest, NothingIsSelectedAutomatically) {
    list.add("a", "a");
    list.add("b", "b");
    EXPECT_EQ(list.selectedItem(), nullptr);
    list.item("b").setSelected(true);
    list.item("a").setSelected(true);  // single selection
    EXPECT_FALSE(list.item("b").selected());
    list.remove("a");
    EXPECT_EQ(list.selectedItem(), nullptr);
    EXPECT_EQ(list.item("b").index(), 1);
    list.item("b").setSelected(true);
    list.clear();
    EXPECT_EQ(list.selectedItem(), nullptr);
}

TEST_F(ListTest, PressOverARowSelectsItBeforeMouseDown) {
    ListItem& a = list.add("a", "a");
    ListItem& b = list.add("b", "b");
    a.setSelected(true);
    ListItem* seen = nullptr;
    list.MouseDown = [&](int, int, double, double) { seen = list.selectedItem(); };
    list.userMouseDown(2, 0, 200, 300, &b);
    EXPECT_EQ(seen, &b);
    list.userMouseDown(2, 0, 200, 3000);  // empty space: the selection stays
    EXPECT_EQ(seen, &b);
}

TEST_F(ListTest, SubItemsStayWithinTheColumns) {
    ListItem& it = list.add("", "x");
    EXPECT_EQ(it.subItem(1), "");  // never set
    it.setSubItem(1, "c");
    EXPECT_EQ(it.subItem(1), "c");
    const struct {
        const char* what;
        std::function<void()> f;
        int error;
    } rows[] = {
        {"read below 1", [&] { it.subItem(0); }, err::IndexOutOfBounds},
        {"set below 1", [&] { it.setSubItem(0, "a"); }, err::IndexOutOfBounds},
        {"read the column count", [&] { it.subItem(2); }, err::InvalidPropertyValue},
        {"set the column count", [&] { it.setSubItem(2, "a"); }, err::InvalidPropertyValue},
        {"set far beyond", [&] { it.setSubItem(1000000, "a"); }, err::InvalidPropertyValue},
    };
    for (const auto& row : rows) EXPECT_EQ(errorOf(row.f), row.error) << row.what;
    const auto subItems = it.subItems();
    EXPECT_EQ(std::vector<std::string>(subItems.begin(), subItems.end()),
              (std::vector<std::string>{"c"}));  // nothing grew

    // A third column makes room for a second sub-item; without columns
    // there is none.
    list.addColumn("", "路径", 2007.0);
    it.setSubItem(2, "p");
    EXPECT_EQ(it.subItem(2), "p");
    EXPECT_EQ(list.column(3).width(), 2010.0);  // whole pixels
    list.clearColumns();
    EXPECT_EQ(errorOf([&] { it.subItem(1); }), err::InvalidPropertyValue);
    list.addColumn("", "光盘", 1500.0);
    EXPECT_EQ(list.columnCount(), 1);
    EXPECT_EQ(list.column(1).text(), "光盘");
}

TEST_F(ListTest, SortingByAColumnBeyondTheSubItemsSortsAsEmpty) {
    list.setSorted(true);
    list.setSortKey(5);
    row("k1", "b", "txt");
    list.add("k2", "a");
    EXPECT_EQ(shown(), (std::vector<std::string>{"b", "a"}));  // all equal: as added
}

TEST_F(ListTest, LargeSortedListAddsAndLooksUp) {
    constexpr int n = 12000;
    list.setSorted(true);
    for (int i = n; i >= 1; --i) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "f%05d", i);
        list.add(std::string("noStr") + buf, buf);
    }
    EXPECT_EQ(list.item(1).text(), "f00001");
    EXPECT_EQ(list.item("noStrf12000").index(), n);
}

}  // namespace
