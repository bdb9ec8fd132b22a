// Scanning a folder through the desktop front end: the menu item opens the
// scan dialog, "选择硬盘目录" opens the folder chooser, the caption counts
// up during the walk, and the disc shows in both trees.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>
#include <filesystem>
#include <string>

#include "gui/qt_convert.h"
#include "gui_fixture.h"

namespace {

using guitest::buttonWithText;
using guitest::GuiMachine;
using guitest::menuAction;
using guitest::whenModal;

QTreeWidgetItem* itemWithText(QTreeWidget* tree, const QString& text) {
    const QList<QTreeWidgetItem*> found =
        tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

// The folder chooser starts on the process's current folder.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::filesystem::path& to)
        : before_(std::filesystem::current_path()) {
        std::filesystem::current_path(to);
    }
    ~CurrentFolder() { std::filesystem::current_path(before_); }

  private:
    std::filesystem::path before_;
};

TEST(Scan, AFolderIsScannedWithTheCaptionCountingAndShowsInBothTrees) {
    GuiMachine m;
    m.h.write("C:\\zelbrin\\ini.ini", "|音乐\r\n|软件\r\n");
    m.h.setCdReady(false);
    for (const char* f :
         {"C:\\music\\pop\\a.mp3", "C:\\music\\pop\\x\\b.mp3", "C:\\music\\pop\\y\\c.txt"})
        m.h.writeBytes(f, "12345");
    gui::FormView& v = m.showMain();
    QStringList titles;
    QObject::connect(v.mainWindow(), &QWidget::windowTitleChanged,
                     [&titles](const QString& t) { titles << t; });
    const QString shot = QString::fromStdString(guitest::artifactFolder() + "/scan_dialog.png");
    CurrentFolder cwd(m.h.nativePath("C:\\music\\pop"));

    bool sawChooser = false;
    whenModal<QDialog>(QStringLiteral("information"), [&](QDialog* dialog) {
        whenModal<QDialog>(QStringLiteral("选择文件夹"), [&](QDialog* chooser) {
            sawChooser = true;
            QTest::mouseClick(buttonWithText(chooser, QStringLiteral("确定")), Qt::LeftButton);
        });
        QTest::mouseClick(buttonWithText(dialog, QStringLiteral("选择硬盘目录")), Qt::LeftButton);
        auto* chooserTree = dialog->findChild<QTreeWidget*>();
        ASSERT_TRUE(chooserTree);
        QTreeWidgetItem* music = itemWithText(chooserTree, QStringLiteral("音乐"));
        ASSERT_TRUE(music);
        QTest::mouseClick(chooserTree->viewport(), Qt::LeftButton, {},
                          chooserTree->visualItemRect(music).center());
        dialog->grab().save(shot);
        QTest::mouseClick(buttonWithText(dialog, QStringLiteral("确定")), Qt::LeftButton);
    });
    QAction* scan =
        menuAction(v.mainWindow(), QStringLiteral("文件"), QStringLiteral("扫描光盘生成索引文件"));
    ASSERT_TRUE(scan);
    scan->trigger();

    EXPECT_TRUE(sawChooser);
    EXPECT_EQ(m.form.SearchPath, "C:\\music\\pop\\");
    EXPECT_TRUE(m.h.exists("C:\\zelbrin\\guangpan\\pop_hard.wcd"));
    // The walk's progress showed in the caption before it became the name.
    ASSERT_FALSE(titles.isEmpty());
    EXPECT_TRUE(titles.filter(QStringLiteral("文件夹：")).size() >= 1)
        << titles.join("|").toStdString();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return v.mainWindow()->windowTitle() == QStringLiteral("Zelbrin"); }, 2000));

    // The category page shows the disc under its category; the disc page's
    // list shows it once that page is chosen.
    auto* categories = m.widgetOf<QTreeWidget>(m.form.TreeView2);
    ASSERT_TRUE(categories);
    QTreeWidgetItem* filed = itemWithText(categories, QStringLiteral("pop_hard"));
    ASSERT_TRUE(filed);
    ASSERT_TRUE(filed->parent());
    EXPECT_EQ(filed->parent()->text(0), QStringLiteral("音乐"));
    QTabBar* tabs = m.widgetOf<QWidget>(m.form.TabStrip1)->findChild<QTabBar*>();
    ASSERT_TRUE(tabs);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    auto* discList = m.widgetOf<QTreeWidget>(m.form.TreeView1);
    ASSERT_TRUE(discList);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return itemWithText(discList, QStringLiteral("pop_hard")) != nullptr; }, 2000));
}

}  // namespace
