// The search results on the desktop: a click on a row's check box ticks the
// file in its disc's index, and the right button opens the list's pop-up
// menu, whose tick-all item ticks the others.
#include <gtest/gtest.h>

#include <QMenu>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QTreeWidget>

#include "gui_fixture.h"

using guitest::GuiMachine;

namespace {

constexpr std::string_view Index = "C:\\zelbrin\\guangpan\\Tools.wcd";

// The report widget of the result list: the QTreeWidget with three columns.
QTreeWidget* resultReport(GuiMachine& m) {
    QWidget* w = m.widgetOf<QWidget>(m.form.ListView2);
    if (!w) return nullptr;
    for (QTreeWidget* t : w->findChildren<QTreeWidget*>())
        if (t->columnCount() == 3) return t;
    return nullptr;
}

QPoint checkBoxOf(QTreeWidget* report, QTreeWidgetItem* item) {
    QStyleOptionViewItem opt;
    opt.initFrom(report);
    opt.rect = report->visualItemRect(item);
    opt.features |= QStyleOptionViewItem::HasCheckIndicator;
    return report->style()
        ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, report)
        .center();
}

TEST(ResultListOnTheDesktop, ACheckBoxTicksItsFileAndThePopupTicksAll) {
    GuiMachine m;
    m.h.write("C:\\zelbrin\\ini.ini", "|软件\r\n#Tools#3#工具盘&&2024-5-6#\r\n");
    m.h.write(Index, "E:\\|docs\r\nE:\\setup.exe[900]\r\nE:\\docs\\guide.txt[30]\r\n");
    m.showMain();
    QTabBar* tabs = m.widgetOf<QWidget>(m.form.TabStrip1)->findChild<QTabBar*>();
    ASSERT_TRUE(tabs);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    // Two file rows as a search of the disc's files lists them.
    platform::dispatch([&] {
        platform::ListView& l = m.form.ListView2;
        l.clear();
        l.clearColumns();
        l.addColumn("光盘名", "光盘名", 2700);
        l.addColumn("光盘序号", "序号", 550);
        l.addColumn("路径", "路径", 11499);
        for (const char* line : {"E:\\setup.exe[900]", "E:\\docs\\guide.txt[30]"}) {
            platform::ListItem& r = l.add({}, "Tools", 73);
            r.setSubItem(1, "2");
            r.setSubItem(2, line);
        }
        m.form.ShowResultList();
    });
    QApplication::processEvents();
    QTreeWidget* report = resultReport(m);
    ASSERT_TRUE(report);
    ASSERT_EQ(report->topLevelItemCount(), 2);

    QTreeWidgetItem* setup = report->topLevelItem(0);
    QTest::mouseClick(report->viewport(), Qt::LeftButton, {}, checkBoxOf(report, setup));
    QApplication::processEvents();
    EXPECT_EQ(m.h.read(Index), "E:\\|docs\r\nE:\\setup.exe[900]($)\r\nE:\\docs\\guide.txt[30]\r\n");
    EXPECT_TRUE(m.form.ListView2.item(1).checked());
    EXPECT_EQ(report->topLevelItem(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(report->topLevelItem(0)->text(2), QStringLiteral("E:\\setup.exe[900]($)"));

    bool chosen = false;
    guitest::whenPopup([&](QMenu* menu) {
        for (QAction* a : menu->actions())
            if (a->isVisible() && a->text() == QStringLiteral("为所有的查询结果打勾")) {
                chosen = true;
                menu->setActiveAction(a);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        menu->close();
    });
    QTest::mouseClick(report->viewport(), Qt::RightButton, {},
                      report->visualItemRect(report->topLevelItem(1)).center());
    ASSERT_TRUE(chosen);
    EXPECT_EQ(m.h.read(Index),
              "E:\\|docs\r\nE:\\setup.exe[900]($)\r\nE:\\docs\\guide.txt[30]($)\r\n");
    EXPECT_EQ(report->topLevelItem(1)->checkState(0), Qt::Checked);
    EXPECT_FALSE(m.form.addnotes111.enabled());
}

}  // namespace
