// The disc page on the desktop: a scanned disc opened from the disc list, its
// folders browsed, files ticked through their check boxes, the views switched
// from the menu and the list sorted by a column header, all with the real
// widgets and the mouse; a file of the disc opened from the list's pop-up menu,
// a remark typed in the notes dialog.
#include <gtest/gtest.h>

#include <QCursor>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QTreeWidget>
#include <string>

#include "gui_fixture.h"

using guitest::chooseFromNextPopup;
using guitest::GuiMachine;

namespace {

QPoint centreOf(QTreeWidget* tree, const QString& text) {
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? QPoint(-1, -1) : tree->visualItemRect(found.first()).center();
}

// The report widget of the file list: the QTreeWidget that has columns.
QTreeWidget* reportOf(GuiMachine& m) { return guitest::reportOf(m, m.form.ListView1, 5); }

// The centre of the check box of the report row whose first column reads text.
QPoint checkBoxOf(QTreeWidget* report, const QString& text) {
    const auto found = report->findItems(text, Qt::MatchExactly);
    if (found.isEmpty()) return {-1, -1};
    QStyleOptionViewItem opt;
    opt.initFrom(report);
    opt.rect = report->visualItemRect(found.first());
    opt.features |= QStyleOptionViewItem::HasCheckIndicator;
    return report->style()
        ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, report)
        .center();
}

QStringList columnTexts(QTreeWidget* report, int column) {
    QStringList out;
    for (int i = 0; i < report->topLevelItemCount(); ++i)
        out << report->topLevelItem(i)->text(column);
    return out;
}

// Catalogues the disc Tools under 软件, shows the main window and its page
// 光盘 by a click on the tab; the disc list's widget (nullptr when missing).
QTreeWidget* showToolsOnTheDiscPage(GuiMachine& m, gui::FormView** view = nullptr) {
    m.h.write("C:\\zelbrin\\guangpan\\Tools.wcd",
              "E:\\|docs\r\nE:\\setup.exe[900]\r\nE:\\docs\\Readme.TXT[3000]\r\n"
              "E:\\docs\\y.gif[2048]($)\r\nE:\\docs\\z.zip[5000000]\r\n");
    m.h.write("C:\\zelbrin\\ini.ini", "|软件\r\n#Tools#3#工具盘&&2024-5-6#\r\n");
    gui::FormView& v = m.showMain();
    if (view) *view = &v;
    QTabBar* tabs = m.widgetOf<QWidget>(m.form.TabStrip1)->findChild<QTabBar*>();
    if (!tabs) return nullptr;
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_TRUE(m.form.TreeView1.visible());
    return m.widgetOf<QTreeWidget>(m.form.TreeView1);
}

// Shows Tools on the page 光盘 and lists its folder docs; the report widget
// of the file list (nullptr when missing).
QTreeWidget* listToolsDocs(GuiMachine& m) {
    QTreeWidget* discs = showToolsOnTheDiscPage(m);
    if (!discs) return nullptr;
    QTest::mouseClick(discs->viewport(), Qt::LeftButton, {}, centreOf(discs, "Tools"));
    QTest::mouseClick(discs->viewport(), Qt::LeftButton, {}, centreOf(discs, "E:"));
    m.form.TreeView1.item("E:").setExpanded(true);
    platform::dispatch([] {});
    QTest::mouseClick(discs->viewport(), Qt::LeftButton, {}, centreOf(discs, "docs"));
    return reportOf(m);
}

// The colour and underline of a link label.
bool linkIs(QLabel* label, Qt::GlobalColor colour, bool underlined) {
    return label->palette().color(QPalette::WindowText) == QColor(colour) &&
           label->font().underline() == underlined;
}

}  // namespace

TEST(DiscPageOnTheDesktop, OpenBrowseTickSwitchViewsAndSort) {
    GuiMachine m;
    gui::FormView* view = nullptr;
    QTreeWidget* discs = showToolsOnTheDiscPage(m, &view);
    ASSERT_TRUE(discs && view);
    gui::FormView& v = *view;

    QTest::mouseClick(discs->viewport(), Qt::LeftButton, {}, centreOf(discs, "Tools"));
    EXPECT_EQ(m.form.OpenedDisk, "Tools");
    QTreeWidget* report = reportOf(m);
    ASSERT_TRUE(report);
    EXPECT_EQ(columnTexts(report, 0),
              (QStringList{"3号光盘的备注：", "工具盘", "购买日期：", "2024-5-6"}));

    // The scan root shows under the disc; its folder opens below it.
    QTest::mouseClick(discs->viewport(), Qt::LeftButton, {}, centreOf(discs, "E:"));
    EXPECT_EQ(columnTexts(report, 0), (QStringList{"docs", "setup"}));
    m.form.TreeView1.item("E:").setExpanded(true);
    platform::dispatch([] {});
    QTest::mouseClick(discs->viewport(), Qt::LeftButton, {}, centreOf(discs, "docs"));
    ASSERT_EQ(report->topLevelItemCount(), 3);
    // Sorted by type, descending: zip, txt, gif.
    EXPECT_EQ(columnTexts(report, 0), (QStringList{"z", "Readme", "y"}));
    EXPECT_EQ(columnTexts(report, 2), (QStringList{"4.77M", "2K", "2K"}));
    EXPECT_EQ(report->topLevelItem(2)->checkState(0), Qt::Checked);

    // A click on a check box ticks the file in the index at once.
    QTest::mouseClick(report->viewport(), Qt::LeftButton, {}, checkBoxOf(report, "Readme"));
    EXPECT_EQ(m.h.read("C:\\zelbrin\\guangpan\\Tools.wcd"),
              "E:\\|docs\r\nE:\\setup.exe[900]\r\nE:\\docs\\Readme.TXT[3000]($)\r\n"
              "E:\\docs\\y.gif[2048]($)\r\nE:\\docs\\z.zip[5000000]\r\n");
    EXPECT_EQ(report->findItems("Readme", Qt::MatchExactly).first()->checkState(0), Qt::Checked);

    // A click on the header of 文件名 sorts by name (descending).
    QTest::mouseClick(
        report->header()->viewport(), Qt::LeftButton, {},
        QPoint(report->header()->sectionViewportPosition(0) + 20, report->header()->height() / 2));
    EXPECT_EQ(m.form.ListView1.sortKey(), 0);
    EXPECT_EQ(columnTexts(report, 0), (QStringList{"z", "y", "Readme"}));

    const QString shot =
        QString::fromStdString(guitest::artifactFolder() + "/disc_page_report.png");
    EXPECT_TRUE(v.window()->grab().save(shot));

    // 选项 → the list view: the rows show as a list, then as small icons.
    for (platform::MenuItem* item : {&m.form.AlterListviewStyle2, &m.form.AlterListviewStyle1}) {
        platform::dispatch([&] { item->userClick(); });
        QListView* icons = nullptr;
        for (QListView* l : m.widgetOf<QWidget>(m.form.ListView1)->findChildren<QListView*>())
            if (l->isVisible() && !qobject_cast<QTreeView*>(l)) icons = l;
        ASSERT_TRUE(icons) << item->name();
        EXPECT_EQ(icons->model()->rowCount(), 3);
        EXPECT_FALSE(report->isVisible());
    }
    const QString iconShot =
        QString::fromStdString(guitest::artifactFolder() + "/disc_page_icons.png");
    EXPECT_TRUE(v.window()->grab().save(iconShot));
    platform::dispatch([&] { m.form.AlterListviewStyle3.userClick(); });
    EXPECT_TRUE(report->isVisible());
}

TEST(DiscPageOnTheDesktop, ARightClickOnAFileOpensItWithItsProgram) {
    GuiMachine m;
    m.h.write("E:\\docs\\Readme.TXT", "read me");
    QTreeWidget* report = listToolsDocs(m);
    ASSERT_TRUE(report);
    const auto readme = report->findItems("Readme", Qt::MatchExactly);
    ASSERT_EQ(readme.size(), 1);

    // Right click on the row, 打开光盘上的文件 from the menu.
    bool chosen = false;
    chooseFromNextPopup(QStringLiteral("打开光盘上的文件"), chosen);
    QTest::mouseClick(report->viewport(), Qt::RightButton, {},
                      report->visualItemRect(readme.first()).center());
    ASSERT_TRUE(chosen);
    ASSERT_EQ(m.h.shell.calls().size(), 1u);
    EXPECT_EQ(m.h.shell.calls()[0].target, "E:\\docs\\Readme.TXT");
    EXPECT_EQ(m.h.shell.calls()[0].opened, m.h.nativePath("E:\\docs\\Readme.TXT"));
}

// In a window enlarged by the user the file list's pop-up menu still opens
// at the pointer, on the row clicked.
TEST(DiscPageOnTheDesktop, ThePopUpMenuOpensAtThePointerInAnEnlargedWindow) {
    GuiMachine m;
    QTreeWidget* report = listToolsDocs(m);
    ASSERT_TRUE(report);
    gui::FormView* v = m.frontEnd.find(m.form);
    ASSERT_TRUE(v);
    const QSize design = v->window()->size();
    v->window()->move(0, 0);
    v->window()->resize(design + QSize(120, 80));
    platform::dispatch([] {});
    ASSERT_GT(report->width(), 400);
    // Near the row's left end, so that the menu fits on the test's small screen.
    const auto rows = report->findItems("Readme", Qt::MatchExactly);
    ASSERT_EQ(rows.size(), 1);
    const QRect row = report->visualItemRect(rows.first());
    const QPoint readme(row.left() + 40, row.center().y());
    const QPoint pointer = report->viewport()->mapToGlobal(readme);
    QCursor::setPos(pointer);
    QPoint shownAt;
    guitest::whenPopup([&](QMenu* menu) {
        shownAt = menu->pos();
        menu->close();
    });
    QTest::mouseClick(report->viewport(), Qt::RightButton, {}, readme);
    EXPECT_EQ(shownAt, pointer);
}

// A remark typed in the notes dialog from the file list's pop-up shows in the
// list's 备注 column; the file name is a link whose colours follow the real
// mouse and whose click opens the file.
TEST(DiscPageOnTheDesktop, ARemarkTypedInTheNotesDialogShowsInTheList) {
    GuiMachine m;
    m.h.write("E:\\docs\\Readme.TXT", "read me");
    QTreeWidget* report = listToolsDocs(m);
    ASSERT_TRUE(report);
    const QPoint readme = centreOf(report, "Readme");
    ASSERT_NE(readme, QPoint(-1, -1));
    QTest::mouseClick(report->viewport(), Qt::LeftButton, {}, readme);

    bool chosen = false;
    chooseFromNextPopup(QStringLiteral("修改或添加备注"), chosen);
    bool shown = false;
    guitest::whenModal<QDialog>(QStringLiteral("添加备注"), [&](QDialog* dialog) {
        shown = true;
        auto* label = dialog->findChild<QLabel*>();
        auto* text = dialog->findChild<QPlainTextEdit*>();
        ASSERT_TRUE(label && text);
        EXPECT_EQ(label->text(), QStringLiteral("Readme.TXT"));
        // The focus comes with the dialog's first resize, which the window
        // system may deliver a moment after the dialog shows.
        for (int i = 0; i < 200 && !text->hasFocus(); ++i) QTest::qWait(10);
        EXPECT_TRUE(text->hasFocus());
        // Enter starts a new line: the dialog has no default button.
        QTest::keyClicks(text, QStringLiteral("Install"));
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClicks(text, QStringLiteral("notes"));
        EXPECT_TRUE(dialog->isVisible());

        // The link: red and underlined over the label, still red over a
        // button, blue again over the free area.
        EXPECT_TRUE(linkIs(label, Qt::blue, false));
        QTest::mouseMove(label, label->rect().center());
        EXPECT_TRUE(linkIs(label, Qt::red, true));
        QPushButton* ok = guitest::buttonWithText(dialog, QStringLiteral("确定"));
        ASSERT_TRUE(ok);
        QTest::mouseMove(ok, ok->rect().center());
        EXPECT_TRUE(linkIs(label, Qt::red, true));
        QWidget* canvas = label->parentWidget();
        const QPoint free(label->x() / 2, label->y() + label->height() / 2);
        ASSERT_EQ(canvas->childAt(free), nullptr);
        QTest::mouseMove(canvas, free);
        EXPECT_TRUE(linkIs(label, Qt::blue, false));
        // Sized to its text.
        EXPECT_EQ(label->width(),
                  label->fontMetrics().size(Qt::TextSingleLine, label->text()).width());
        EXPECT_TRUE(dialog->grab().save(
            QString::fromStdString(guitest::artifactFolder() + "/notes_dialog.png")));

        // A click on the name opens the file; the dialog stays.
        QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
        ASSERT_EQ(m.h.shell.calls().size(), 1u);
        EXPECT_EQ(m.h.shell.calls()[0].target, "E:\\docs\\Readme.TXT");
        EXPECT_TRUE(dialog->isVisible());
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QTest::mouseClick(report->viewport(), Qt::RightButton, {}, readme);
    EXPECT_TRUE(chosen);
    EXPECT_TRUE(shown);

    const auto found = report->findItems(QStringLiteral("Readme"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found.first()->text(3), QStringLiteral("Install\r\nnotes"));
    EXPECT_EQ(m.h.read("C:\\zelbrin\\guangpan\\Tools.note"),
              "@##note##@Tools\\E:\\docs\\Readme.txt==Install\r\nnotes\r\n");
}

// Esc in the notes dialog, the focus in its text, is its 取消 button: the
// dialog closes, the remark typed is dropped and the note file stays as it
// was, exactly as after a click on 取消.
TEST(DiscPageOnTheDesktop, EscInTheNotesDialogIsItsCancelButton) {
    for (const bool esc : {true, false}) {
        SCOPED_TRACE(esc ? "Esc" : "取消");
        GuiMachine m;
        m.h.write("E:\\docs\\Readme.TXT", "read me");
        m.h.write("C:\\zelbrin\\guangpan\\Tools.note",
                  "@##note##@Tools\\E:\\docs\\Readme.txt==old\r\n");
        QTreeWidget* report = listToolsDocs(m);
        ASSERT_TRUE(report);
        const QPoint readme = centreOf(report, "Readme");
        QTest::mouseClick(report->viewport(), Qt::LeftButton, {}, readme);
        bool chosen = false, closed = false;
        chooseFromNextPopup(QStringLiteral("修改或添加备注"), chosen);
        guitest::whenModal<QDialog>(QStringLiteral("添加备注"), [&](QDialog* dialog) {
            auto* text = dialog->findChild<QPlainTextEdit*>();
            ASSERT_TRUE(text);
            for (int i = 0; i < 200 && !text->hasFocus(); ++i) QTest::qWait(10);
            QTest::keyClicks(text, QStringLiteral(" new"));
            if (esc)
                QTest::keyClick(text, Qt::Key_Escape);
            else
                QTest::mouseClick(guitest::buttonWithText(dialog, QStringLiteral("取消")),
                                  Qt::LeftButton);
            closed = !dialog->isVisible();
            // Left open, the test ends it.
            if (!closed)
                QTest::mouseClick(guitest::buttonWithText(dialog, QStringLiteral("取消")),
                                  Qt::LeftButton);
        });
        QTest::mouseClick(report->viewport(), Qt::RightButton, {}, readme);
        EXPECT_TRUE(chosen);
        EXPECT_TRUE(closed);
        const auto found = report->findItems(QStringLiteral("Readme"), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        EXPECT_EQ(found.first()->text(3), QStringLiteral("old"));
        EXPECT_EQ(m.h.read("C:\\zelbrin\\guangpan\\Tools.note"),
                  "@##note##@Tools\\E:\\docs\\Readme.txt==old\r\n");
    }
}

// The number of pixels of the report's grid colour in a column of pixels
// between the first two columns' texts (the line between them, when drawn).
int gridPixels(QTreeWidget* report) {
    const QImage img = report->viewport()->grab().toImage();
    const QRgb grid = report->palette().color(QPalette::Midlight).darker(115).rgb();
    const int x = report->header()->sectionViewportPosition(1) - 1;
    int n = 0;
    for (int y = 0; y < img.height() && x >= 0 && x < img.width(); ++y)
        n += img.pixel(x, y) == grid;
    return n;
}

TEST(DiscPageOnTheDesktop, TheGridMenuItemTakesTheLinesAwayAndBringsThemBack) {
    GuiMachine m;
    QTreeWidget* report = listToolsDocs(m);
    ASSERT_TRUE(report);
    ASSERT_EQ(report->topLevelItemCount(), 3);
    const int drawn = gridPixels(report);
    EXPECT_GT(drawn, 3 * 10);  // the lines of three rows

    QMainWindow* window = qobject_cast<QMainWindow*>(report->window());
    ASSERT_TRUE(window);
    QAction* item =
        guitest::menuAction(window, QStringLiteral("选项"), QStringLiteral("去掉网格线"));
    ASSERT_TRUE(item);
    item->trigger();
    EXPECT_FALSE(m.form.ListView1.gridLines());
    EXPECT_EQ(item->text(), QStringLiteral("加上网格线"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return gridPixels(report) == 0; }, 2000));
    report->window()->grab().save(
        QString::fromStdString(guitest::artifactFolder() + "/file_list_without_grid.png"));

    item->trigger();
    EXPECT_TRUE(m.form.ListView1.gridLines());
    EXPECT_EQ(item->text(), QStringLiteral("去掉网格线"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return gridPixels(report) == drawn; }, 2000));
}

TEST(DiscPageOnTheDesktop, FunctionKeysOfTheDiscListAndTheCategoryTree) {
    GuiMachine m;
    QTreeWidget* discs = showToolsOnTheDiscPage(m);
    ASSERT_TRUE(discs);
    discs->setFocus();
    QTest::keyClick(discs, Qt::Key_F1);
    ASSERT_EQ(m.h.shell.calls().size(), 1u);
    EXPECT_EQ(m.h.shell.calls()[0].target, "C:\\zelbrin\\help\\zelbrinhelp.htm");
    bool about = false;
    guitest::whenModal<QDialog>(QStringLiteral("关于"), [&](QDialog* w) {
        about = true;
        QTest::mouseClick(guitest::buttonWithText(w, QStringLiteral("取消")), Qt::LeftButton);
    });
    QTest::keyClick(discs, Qt::Key_F2);
    EXPECT_TRUE(about);
    // F3 is the category tree's alone.
    QTest::keyClick(discs, Qt::Key_F3);
    EXPECT_EQ(m.form.expandtree.caption(), "把分类树展开");

    QTabBar* tabs = m.widgetOf<QWidget>(m.form.TabStrip1)->findChild<QTabBar*>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    QTreeWidget* categories = m.widgetOf<QTreeWidget>(m.form.TreeView2);
    ASSERT_TRUE(categories && categories->isVisible());
    categories->setFocus();
    QTest::keyClick(categories, Qt::Key_F3);
    EXPECT_EQ(m.form.expandtree.caption(), "把分类树收合");
    QTest::keyClick(categories, Qt::Key_F1);
    EXPECT_EQ(m.h.shell.calls().size(), 2u);
}
