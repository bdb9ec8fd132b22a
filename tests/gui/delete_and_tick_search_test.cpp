// Two things a user meets on the disc page, with the real widgets: the
// question before 从目录文件中删除这个文件 deletes a file of a catalogued
// hard-disk folder (No the default, so Enter keeps the file), and the search
// for the ticks (查找光盘里的勾(√)) listing only the ticked files. Each leaves
// a screenshot among the test artifacts.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>

#include "gui_fixture.h"

using guitest::chooseFromNextPopup;
using guitest::GuiMachine;
using guitest::reportOf;

namespace {

QPoint centreOf(QTreeWidget* tree, const QString& text) {
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? QPoint(-1, -1) : tree->visualItemRect(found.first()).center();
}

void clickTab(GuiMachine& m, int index) {
    QTabBar* tabs = m.widgetOf<QWidget>(m.form.TabStrip1)->findChild<QTabBar*>();
    ASSERT_TRUE(tabs);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

// A right click on the row of that text, then 从目录文件中删除这个文件.
void dropRow(QTreeWidget* files, const QString& text) {
    bool chosen = false;
    chooseFromNextPopup(
        QStringLiteral("从目录文件中删除这个文件(如果是扫描硬盘，就把硬盘上对应的文件删除)"),
        chosen);
    QTest::mouseClick(files->viewport(), Qt::RightButton, {}, centreOf(files, text));
    EXPECT_TRUE(chosen);
}

std::string artifact(const char* name) { return guitest::artifactFolder() + "/" + name; }

TEST(DeleteQuestion, AskedBeforeAHardDiskFileIsDeletedNoTheDefault) {
    GuiMachine m;
    m.h.write("C:\\zelbrin\\guangpan\\notes_hard.wcd",
              "C:\\data\\notes\\|old\r\nC:\\data\\notes\\plan.txt[12]\r\n"
              "C:\\data\\notes\\list.txt[8]\r\n");
    m.h.write("C:\\zelbrin\\ini.ini", "|文档\r\n#notes_hard#1#笔记#\r\n");
    m.h.write("C:\\data\\notes\\plan.txt", "第一行\n第二行\n");
    m.h.write("C:\\data\\notes\\list.txt", "list");
    gui::FormView& v = m.showMain();
    clickTab(m, 1);
    QTreeWidget* discs = m.widgetOf<QTreeWidget>(m.form.TreeView1);
    ASSERT_TRUE(discs);
    QTest::mouseClick(discs->viewport(), Qt::LeftButton, {},
                      centreOf(discs, QStringLiteral("notes_hard")));
    discs->expandAll();
    QApplication::processEvents();
    QTest::mouseClick(discs->viewport(), Qt::LeftButton, {},
                      centreOf(discs, QStringLiteral("notes")));
    QTreeWidget* files = reportOf(m, m.form.ListView1, 5);
    ASSERT_TRUE(files);
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                      centreOf(files, QStringLiteral("plan")));
    ASSERT_TRUE(m.form.ListView1.selectedItem());
    ASSERT_EQ(m.form.ListView1.selectedItem()->text(), "plan");

    QString text;
    QStringList buttons;
    QString defaultButton;
    guitest::whenModal<QMessageBox>(QStringLiteral("提示"), [&](QMessageBox* box) {
        text = box->text();
        for (QAbstractButton* b : box->buttons()) buttons << b->text();
        if (box->defaultButton()) defaultButton = box->defaultButton()->text();
        EXPECT_TRUE(box->grab().save(QString::fromStdString(artifact("delete_question.png"))));
        // Enter takes the default: No.
        QTest::keyClick(box, Qt::Key_Return);
    });
    dropRow(files, QStringLiteral("plan"));
    EXPECT_EQ(text, QStringLiteral("确实要删除 C:\\data\\notes\\plan.txt 文件吗？"));
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("是"), QStringLiteral("否")}));
    EXPECT_EQ(defaultButton, QStringLiteral("否"));
    EXPECT_TRUE(m.h.exists("C:\\data\\notes\\plan.txt"));
    EXPECT_EQ(files->topLevelItemCount(), 3);

    // Yes: the file and its row go.
    guitest::whenModal<QMessageBox>(QStringLiteral("提示"), [](QMessageBox* box) {
        QTest::mouseClick(guitest::buttonWithText(box, QStringLiteral("是")), Qt::LeftButton);
    });
    dropRow(files, QStringLiteral("plan"));
    QApplication::processEvents();
    EXPECT_FALSE(m.h.exists("C:\\data\\notes\\plan.txt"));
    EXPECT_EQ(files->topLevelItemCount(), 2);
    EXPECT_TRUE(files->findItems(QStringLiteral("plan"), Qt::MatchExactly).isEmpty());
    EXPECT_TRUE(v.window()->grab().save(QString::fromStdString(artifact("delete_done.png"))));
    EXPECT_GT(std::filesystem::file_size(artifact("delete_question.png")), 1000u);
}

TEST(TickSearch, TheTickButtonListsOnlyTheTickedFiles) {
    GuiMachine m;
    m.h.write("C:\\zelbrin\\ini.ini", "|软件\r\n#Tools#3#工具盘&&2024-5-6#\r\n");
    m.h.write("C:\\zelbrin\\guangpan\\Tools.wcd",
              "E:\\|docs\r\nE:\\|价格($)\r\nE:\\setup.exe[900]($)\r\n"
              "E:\\docs\\guide.txt[3000]($)($)\r\nE:\\docs\\readme.txt[30]($)($)($)\r\n"
              "E:\\价格($)\\list.xls[77]\r\n");
    gui::FormView& v = m.showMain();
    clickTab(m, 1);

    QString keyword;
    guitest::whenModal<QDialog>(QStringLiteral("查找"), [&](QDialog* dialog) {
        QPushButton* ticks = guitest::buttonWithText(dialog, QStringLiteral("查找光盘里的勾(√)"));
        ASSERT_TRUE(ticks);
        QTest::mouseClick(ticks, Qt::LeftButton);
        for (QComboBox* c : dialog->findChildren<QComboBox*>())
            if (c->isEditable() && keyword.isEmpty()) keyword = c->currentText();
        QTest::mouseClick(guitest::buttonWithText(dialog, QStringLiteral("查找")), Qt::LeftButton);
    });
    QToolBar* bar = m.widgetOf<QToolBar>(m.form.Toolbar1);
    QToolButton* find = nullptr;
    for (QAction* a : bar->actions())
        if (a->toolTip() == QStringLiteral("查找"))
            find = qobject_cast<QToolButton*>(bar->widgetForAction(a));
    ASSERT_TRUE(find);
    QTest::mouseClick(find, Qt::LeftButton);
    QApplication::processEvents();

    EXPECT_EQ(keyword, QStringLiteral("($)"));
    QTreeWidget* report = reportOf(m, m.form.ListView2, 3);
    ASSERT_TRUE(report);
    ASSERT_EQ(report->topLevelItemCount(), 2);
    EXPECT_EQ(report->topLevelItem(0)->text(2), QStringLiteral("E:\\setup.exe[900]($)"));
    EXPECT_EQ(report->topLevelItem(1)->text(2),
              QStringLiteral("E:\\docs\\readme.txt[30]($)($)($)"));
    for (int i = 0; i < report->topLevelItemCount(); ++i)
        EXPECT_EQ(report->topLevelItem(i)->checkState(0), Qt::Checked);
    EXPECT_EQ(m.form.StatusBar1.panel(2).text(), "你已经查找到2个匹配项目！");
    EXPECT_TRUE(v.window()->grab().save(QString::fromStdString(artifact("tick_search.png"))));
    EXPECT_GT(std::filesystem::file_size(artifact("tick_search.png")), 1000u);
}

}  // namespace
