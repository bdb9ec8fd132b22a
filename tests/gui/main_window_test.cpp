// The main window drawn by the front end: its size, its widgets, and the
// user's clicks reaching the models and the procedures bound to them.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>
#include <vector>

#include "gui/qt_convert.h"
#include "gui_fixture.h"
#include "platform/controls/menu.h"

namespace {

using gui::px;
using guitest::GuiMachine;

QToolButton* toolButton(QToolBar* bar, const QString& toolTip) {
    for (QAction* a : bar->actions())
        if (a->toolTip() == toolTip) return qobject_cast<QToolButton*>(bar->widgetForAction(a));
    return nullptr;
}

QPoint centreOf(QTreeWidget* tree, const QString& text) {
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? QPoint(-1, -1) : tree->visualItemRect(found.first()).center();
}

TEST(MainWindow, RendersAtItsDesignSizeWithEveryPane) {
    GuiMachine m;
    gui::FormView& v = m.showMain();
    ASSERT_TRUE(v.window()->isVisible());
    EXPECT_EQ(v.window()->windowTitle(), QStringLiteral("Zelbrin18.0"));
    // 9675 x 6780 twips: 645 x 452 pixels of inner area.
    EXPECT_EQ(v.canvas()->size(), QSize(645, 452));
    QToolBar* bar = m.widgetOf<QToolBar>(m.form.Toolbar1);
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 645, 24));
    EXPECT_TRUE(toolButton(bar, QStringLiteral("去掉网格"))->isVisible());
    EXPECT_FALSE(
        toolButton(bar, QStringLiteral("后退"))->isVisible());  // the preview group is hidden
    QWidget* status = m.widgetOf<QWidget>(m.form.StatusBar1);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->geometry().bottom(), 451);
    QWidget* strip = m.widgetOf<QWidget>(m.form.TabStrip1);
    ASSERT_TRUE(strip);
    QTabBar* tabs = strip->findChild<QTabBar*>();
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("光盘"));
    // The page trees lie in the tab strip's page area, above the strip.
    QTreeWidget* tree = m.widgetOf<QTreeWidget>(m.form.TreeView2);
    ASSERT_TRUE(tree);
    EXPECT_TRUE(strip->geometry().contains(tree->geometry()));
    EXPECT_EQ(tree->geometry().topLeft(),
              QPoint(px(m.form.TabStrip1.clientLeft()), px(m.form.TabStrip1.clientTop())));
    EXPECT_EQ(v.canvas()->childAt(tree->geometry().center()), tree->viewport());
    // Hidden controls have no visible widget.
    EXPECT_FALSE(m.widgetOf<QWidget>(m.form.ListView2)->isVisible());

    const QString shot = QString::fromStdString(guitest::artifactFolder() + "/main_window.png");
    ASSERT_TRUE(v.window()->grab().save(shot));
    EXPECT_GT(std::filesystem::file_size(shot.toStdString()), 1000u);
}

// At the design size, with a disc open on the page 光盘 (whose preview pane
// shows nine more buttons), every button of the toolbar and the keyword box
// lie wholly inside the window, the box right of the last button; a larger
// window gives the box its design width again.
TEST(MainWindow, EveryToolbarControlShowsAtTheDesignSizeWithADiscOpen) {
    GuiMachine m;
    m.h.write("C:\\zelbrin\\guangpan\\Tools.wcd",
              "E:\\|docs\r\nE:\\setup.exe[900]\r\nE:\\docs\\Readme.TXT[3000]\r\n");
    m.h.write("C:\\zelbrin\\ini.ini", "|软件\r\n#Tools#3#工具盘&&2024-5-6#\r\n");
    gui::FormView& v = m.showMain();
    QTabBar* tabs = m.widgetOf<QWidget>(m.form.TabStrip1)->findChild<QTabBar*>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    auto* discs = m.widgetOf<QTreeWidget>(m.form.TreeView1);
    ASSERT_TRUE(discs);
    QTest::mouseClick(discs->viewport(), Qt::LeftButton, {}, centreOf(discs, "Tools"));
    ASSERT_EQ(m.form.OpenedDisk, "Tools");
    ASSERT_TRUE(m.form.Toolbar1.button("fullscreen").visible());

    QToolBar* bar = m.widgetOf<QToolBar>(m.form.Toolbar1);
    auto* keywords = m.widgetOf<QComboBox>(m.form.Combo2);
    ASSERT_TRUE(bar && keywords);
    const auto check = [&](int width) {
        SCOPED_TRACE(width);
        const QRect inside = v.canvas()->rect();
        int buttons = 0, lastEnd = 0;
        for (QToolButton* b : bar->findChildren<QToolButton*>()) {
            if (!b->isVisible() || !b->defaultAction()) continue;
            ++buttons;
            const QRect r(b->mapTo(v.canvas(), QPoint(0, 0)), b->size());
            EXPECT_TRUE(inside.contains(r)) << b->toolTip().toStdString();
            lastEnd = std::max(lastEnd, r.right() + 1);
        }
        EXPECT_EQ(buttons, 24);  // 15 buttons, and the preview pane's nine
        EXPECT_TRUE(keywords->isVisible());
        EXPECT_TRUE(inside.contains(keywords->geometry()))
            << keywords->geometry().left() << "+" << keywords->geometry().width();
        EXPECT_GT(keywords->geometry().left(), lastEnd);
        EXPECT_EQ(v.canvas()->childAt(keywords->geometry().center()), keywords->lineEdit());
    };
    EXPECT_EQ(v.window()->size(), QSize(645, 469));
    QApplication::processEvents();
    check(645);
    EXPECT_GE(keywords->width(), 40);
    const QString shot =
        QString::fromStdString(guitest::artifactFolder() + "/main_window_disc_page.png");
    ASSERT_TRUE(v.window()->grab().save(shot));

    v.window()->resize(v.window()->size() + QSize(300, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.form.scaleWidth() == 945 * 15; }, 2000));
    QApplication::processEvents();
    check(945);
    EXPECT_EQ(keywords->width(), px(2200));
    EXPECT_EQ(keywords->geometry().right() + 1, 945 - px(50));
}

TEST(MainWindow, ClickOnATreeNodeRunsNodeClickAndARightClickSelectsNothing) {
    GuiMachine m;
    platform::TreeView& t = m.form.TreeView2;
    std::vector<std::string> clicks, mouseDowns;
    t.NodeClick = [&](platform::Node& n) { clicks.push_back(n.key()); };
    t.MouseDown = [&](int button, int, double, double) {
        mouseDowns.push_back(std::to_string(button));
    };
    platform::dispatch([&] {
        t.add("a", "甲", 3);
        t.add("b", "乙", 3);
        t.addChild("a", "a1", "子", 1);
        t.item("a").setExpanded(true);
    });
    m.showMain();
    QTreeWidget* tree = m.widgetOf<QTreeWidget>(t);
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());

    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centreOf(tree, QStringLiteral("子")));
    EXPECT_EQ(clicks, std::vector<std::string>{"a1"});
    EXPECT_EQ(t.selectedItem(), &t.item("a1"));
    ASSERT_TRUE(tree->currentItem());
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("子"));

    // A right click raises MouseDown only; the selection stays.
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, centreOf(tree, QStringLiteral("乙")));
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(t.selectedItem(), &t.item("a1"));
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("子"));
    EXPECT_EQ(mouseDowns, (std::vector<std::string>{"1", "2"}));

    // Keys move the selection as the model says, and never click.
    QTest::keyClick(tree, Qt::Key_Up);
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(t.selectedItem(), &t.item("a"));
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("甲"));
}

TEST(MainWindow, ToolbarButtonReachesTheToolbarProcedure) {
    GuiMachine m;
    m.showMain();
    QToolBar* bar = m.widgetOf<QToolBar>(m.form.Toolbar1);
    QToolButton* grid = toolButton(bar, QStringLiteral("去掉网格"));
    ASSERT_TRUE(grid);
    platform::dispatch([&] { m.form.ListView1.setGridLines(true); });
    QTest::mouseClick(grid, Qt::LeftButton);
    // The two-state button is down, and Toolbar1_ButtonClick took the grid away.
    EXPECT_EQ(m.form.Toolbar1.button("grid").value(), 1);
    EXPECT_FALSE(m.form.ListView1.gridLines());
    EXPECT_TRUE(grid->isChecked());
    QTest::mouseClick(grid, Qt::LeftButton);
    EXPECT_EQ(m.form.Toolbar1.button("grid").value(), 0);
    EXPECT_TRUE(m.form.ListView1.gridLines());
    EXPECT_FALSE(grid->isChecked());

    // A plain button shows pressed only when the model says so.
    QToolButton* help = toolButton(bar, QStringLiteral("帮助"));
    QTest::mouseClick(help, Qt::LeftButton);
    EXPECT_EQ(m.form.Toolbar1.button("help").value(), 0);
    EXPECT_FALSE(help->isChecked());
}

TEST(MainWindow, TabClickSelectsThePageThroughTheModel) {
    GuiMachine m;
    int clicks = 0;
    m.form.TabStrip1.Click = [&] { ++clicks; };
    m.showMain();
    QTabBar* tabs = m.widgetOf<QWidget>(m.form.TabStrip1)->findChild<QTabBar*>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(m.form.TabStrip1.selectedItem()->caption(), "软件");
    EXPECT_EQ(tabs->currentIndex(), 2);
    // Keys and the wheel do not switch pages.
    QTest::keyClick(tabs, Qt::Key_Left);
    EXPECT_EQ(m.form.TabStrip1.selectedItem()->caption(), "软件");
}

TEST(MainWindow, SplitterLabelTakesTheMouseAndGetsItsRelease) {
    GuiMachine m;
    std::vector<std::string> events;
    m.form.Label1.MouseDown = [&](int b, int, double x, double) {
        events.push_back("down " + std::to_string(b) + " " + std::to_string(int(x)));
    };
    m.form.Label1.MouseUp = [&](int b, int, double x, double) {
        events.push_back("up " + std::to_string(b) + " " + std::to_string(int(x)));
    };
    m.showMain();
    auto* label = m.widgetOf<QLabel>(m.form.Label1);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->cursor().shape(), Qt::SizeHorCursor);
    // The bar lies behind the panes: the point in the gap is the bar's.
    const QPoint gap(px(m.form.ListView1.left()) - 1 - label->x(), label->height() / 2);
    QTest::mousePress(label, Qt::LeftButton, {}, gap);
    // Released 10 pixels further right, over the list: the bar gets it.
    QTest::mouseRelease(label, Qt::LeftButton, {}, gap + QPoint(10, 0));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], "down 1 " + std::to_string(gap.x() * 15));
    EXPECT_EQ(events[1], "up 1 " + std::to_string((gap.x() + 10) * 15));
}

TEST(MainWindow, UserResizeRunsTheLayoutAfterAnyRunningEvent) {
    GuiMachine m;
    gui::FormView& v = m.showMain();
    const QSize grow(100, 60);
    v.window()->resize(v.window()->size() + grow);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.form.scaleWidth() == (645 + 100) * 15; }, 2000));
    EXPECT_EQ(m.form.scaleHeight(), (452 + 60) * 15);
    // Form_Resize laid the bars out again, and the widgets followed.
    EXPECT_EQ(m.widgetOf<QToolBar>(m.form.Toolbar1)->width(), 745);
    EXPECT_EQ(m.widgetOf<QWidget>(m.form.StatusBar1)->geometry().bottom(), 452 + 60 - 1);
    // A resize during a command waits until the command has ended.
    platform::dispatch([&] {
        v.window()->resize(v.window()->size() + QSize(20, 0));
        QTest::qWait(100);
        EXPECT_EQ(m.form.scaleWidth(), 745 * 15);
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return m.form.scaleWidth() == 765 * 15; }, 2000));
}

TEST(MainWindow, MenuBarComesFromTheMenusAndRunsTheirClicks) {
    GuiMachine m;
    gui::FormView& v = m.showMain();
    platform::MenuItem top(m.form, "testTop", "测试");
    platform::MenuItem item(top, "testItem", "打勾的项");
    platform::MenuItem pop(m.form, "testPop", "弹出");
    platform::MenuItem popItem(pop, "testPopItem", "不在菜单栏");
    int clicks = 0;
    platform::dispatch([&] {
        item.setChecked(true);
        pop.setVisible(false);  // a pop-up menu
    });
    item.Click = [&] { ++clicks; };
    QMenuBar* bar = v.mainWindow()->menuBar();
    QAction* shownTop = nullptr;
    QAction* hiddenTop = nullptr;
    for (QAction* a : bar->actions()) {
        if (a->text() == QStringLiteral("测试")) shownTop = a;
        if (a->text() == QStringLiteral("弹出")) hiddenTop = a;
    }
    ASSERT_TRUE(shownTop && hiddenTop);
    EXPECT_TRUE(shownTop->isVisible());
    EXPECT_FALSE(hiddenTop->isVisible());
    QAction* action = shownTop->menu()->actions().value(0);
    ASSERT_TRUE(action);
    EXPECT_EQ(action->text(), QStringLiteral("打勾的项"));
    EXPECT_TRUE(action->isChecked());
    action->trigger();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(action->isChecked());  // the model's mark, not Qt's flip
    platform::dispatch([&] { item.setCaption("改了"); });
    EXPECT_EQ(action->text(), QStringLiteral("改了"));
}

TEST(MainWindow, TheMenuBarShowsTheMenusAndNoPopUpMenu) {
    GuiMachine m;
    gui::FormView& v = m.showMain();
    std::vector<std::string> shown;
    for (QAction* a : v.mainWindow()->menuBar()->actions())
        if (a->isVisible()) shown.push_back(a->text().toStdString());
    EXPECT_EQ(shown, (std::vector<std::string>{"文件", "选项", "搜索", "制作网页", "播放音乐",
                                               "软件管理", "帮助"}));
}

TEST(MainWindow, ClosingTheWindowUnloadsTheForm) {
    GuiMachine m;
    gui::FormView& v = m.showMain();
    bool unloaded = false;
    v.onUnloaded = [&] { unloaded = true; };
    v.window()->close();
    EXPECT_FALSE(m.form.loaded());
    EXPECT_TRUE(unloaded);
    EXPECT_FALSE(v.window()->isVisible());
}

TEST(MainWindow, RenamingACategoryFromItsPopupMenuEditsTheLabelInPlace) {
    GuiMachine m;
    const std::string catalogue = std::string(m.h.ProgramFolder) + "\\ini.ini";
    m.h.write(catalogue, "|A\r\n@s\r\n");
    m.showMain();
    platform::TreeView& t = m.form.TreeView2;
    QTreeWidget* tree = m.widgetOf<QTreeWidget>(t);
    ASSERT_TRUE(tree);
    tree->window()->activateWindow();  // the focus moves as on a desktop
    ASSERT_TRUE(QTest::qWaitForWindowActive(tree->window()));
    const QPoint at = centreOf(tree, QStringLiteral("A"));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(t.selectedItem(), &t.item("A*"));

    // Right click, 修改目录名 from the menu: the menu closing gives the focus
    // back to the tree, and the editor must stay open through that.
    bool chosen = false;
    guitest::whenPopup([&](QMenu* menu) {
        for (QAction* a : menu->actions())
            if (a->isVisible() && a->text() == QStringLiteral("修改目录名")) {
                chosen = true;
                menu->setActiveAction(a);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        menu->close();
    });
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, at);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(t.editingNode(), &t.item("A*"));
    QLineEdit* editor = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        editor = tree->findChild<QLineEdit*>();
        return editor && editor->isVisible();
    }));
    EXPECT_EQ(editor->text(), QStringLiteral("A"));
    QTest::qWait(50);  // a focus change still due would close it now
    ASSERT_TRUE(tree->findChild<QLineEdit*>()) << "the editor closed by itself";
    editor->selectAll();
    QInputMethodEvent typed;  // Chinese text comes from the input method
    typed.setCommitString(QStringLiteral("音乐"));
    QCoreApplication::sendEvent(editor, &typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(t.editingNode(), nullptr);
    EXPECT_EQ(t.find("A*"), nullptr);
    ASSERT_NE(t.find("音乐*"), nullptr);
    EXPECT_EQ(t.item("音乐*").text(), "音乐");
    EXPECT_EQ(m.h.read(catalogue), "|音乐\r\n@s\r\n");
    EXPECT_FALSE(tree->findItems(QStringLiteral("音乐"), Qt::MatchExactly).isEmpty());
}

}  // namespace
