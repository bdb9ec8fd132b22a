// The search on the desktop: the toolbar's search button, the search options
// dialog filled in with the keyboard and the mouse, and the result list that
// opens across the bottom of the window with the hits.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "gui_fixture.h"

using guitest::GuiMachine;
using guitest::reportOf;

namespace {

QToolButton* toolButton(QToolBar* bar, const QString& toolTip) {
    for (QAction* a : bar->actions())
        if (a->toolTip() == toolTip) return qobject_cast<QToolButton*>(bar->widgetForAction(a));
    return nullptr;
}

TEST(Search, TheHitsOpenAcrossTheBottomOfTheWindow) {
    GuiMachine m;
    m.h.write("C:\\zelbrin\\ini.ini",
              "|软件\r\n#Tools#3#工具盘&&2024-5-6#\r\n"
              "|音乐\r\n#Songs#4#歌曲&&2024-5-7#\r\n");
    m.h.write("C:\\zelbrin\\guangpan\\Tools.wcd",
              "E:\\|docs\r\nE:\\setup.exe[900]\r\nE:\\docs\\Setup guide.txt[3000]($)\r\n");
    m.h.write("C:\\zelbrin\\guangpan\\Songs.wcd", "E:\\setup.mp3[12]\r\nE:\\other.mp3[5]\r\n");
    gui::FormView& v = m.showMain();
    Form1& f = m.form;
    QTabBar* tabs = m.widgetOf<QWidget>(f.TabStrip1)->findChild<QTabBar*>();
    ASSERT_TRUE(tabs);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    ASSERT_FALSE(f.ListView2.visible());
    QWidget* results = m.widgetOf<QWidget>(f.ListView2);
    ASSERT_TRUE(results);
    EXPECT_FALSE(results->isVisible());

    bool shown = false;
    guitest::whenModal<QDialog>(QStringLiteral("查找"), [&](QDialog* dialog) {
        shown = true;
        QComboBox* keyword = nullptr;
        for (QComboBox* c : dialog->findChildren<QComboBox*>())
            if (c->isEditable() && c->isEnabled() && !keyword) keyword = c;
        ASSERT_TRUE(keyword && keyword->lineEdit());
        keyword->lineEdit()->setFocus();
        QTest::keyClicks(keyword->lineEdit(), QStringLiteral("setup"));
        QPushButton* ok = guitest::buttonWithText(dialog, QStringLiteral("查找"));
        ASSERT_TRUE(ok);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QToolButton* find = toolButton(m.widgetOf<QToolBar>(f.Toolbar1), QStringLiteral("查找"));
    ASSERT_TRUE(find);
    QTest::mouseClick(find, Qt::LeftButton);
    ASSERT_TRUE(shown);
    QApplication::processEvents();

    EXPECT_EQ(f.find_Txt, "setup");
    EXPECT_TRUE(results->isVisible());
    // Across the bottom, the whole width, below the file list.
    const QWidget* fileList = m.widgetOf<QWidget>(f.ListView1);
    ASSERT_TRUE(fileList);
    EXPECT_GT(results->geometry().top(), fileList->geometry().top());
    EXPECT_EQ(results->geometry().left(), 0);
    QTreeWidget* report = reportOf(m, f.ListView2, 3);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->headerItem()->text(2), QStringLiteral("路径"));
    ASSERT_EQ(report->topLevelItemCount(), 3);
    EXPECT_EQ(report->topLevelItem(0)->text(0), QStringLiteral("Tools"));
    EXPECT_EQ(report->topLevelItem(0)->text(2), QStringLiteral("E:\\setup.exe[900]"));
    EXPECT_EQ(report->topLevelItem(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(report->topLevelItem(2)->text(0), QStringLiteral("Songs"));
    EXPECT_EQ(f.StatusBar1.panel(2).text(), "你已经查找到3个匹配项目！");

    EXPECT_TRUE(v.window()->grab().save(
        QString::fromStdString(guitest::artifactFolder() + "/search_results.png")));
}

}  // namespace
