// What the front end draws beyond the widgets' own look: tree lines and
// plus/minus boxes by the tree's style, the file list's header across the
// whole list, toolbar buttons where the model's widths put them (the keyword
// box beside them), and the drive list's pictures by drive type.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "copies/sendto_dialog.h"
#include "gui/icons.h"
#include "gui/qt_convert.h"
#include "gui_fixture.h"

namespace {

using gui::px;
using guitest::buttonWithText;
using guitest::GuiMachine;

// The pixels of r that are not the background colour.
int inked(const QImage& img, QRect r, QRgb background) {
    int n = 0;
    r &= img.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += img.pixel(x, y) != background;
    return n;
}

QTreeWidgetItem* itemWithText(QTreeWidget* tree, const QString& text) {
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

struct TreeShot {
    QImage image;
    QRgb background;
    QRect sign(QTreeWidget* tree, QTreeWidgetItem* item) const {
        const QRect r = tree->visualItemRect(item);
        return {r.left() - tree->indentation(), r.top(), tree->indentation(), r.height()};
    }
};

TreeShot categoryTree(GuiMachine& m, int style) {
    platform::TreeView& t = m.form.TreeView2;
    platform::dispatch([&] {
        t.clear();
        t.setStyle(style);
        t.add("music", "音乐", images::Category);
        t.addChild("music", "pop", "流行01", images::Disc);
        t.addChild("music", "foreign", "外国", images::Category);
        t.addChild("foreign", "rock", "摇滚02", images::Disc);
        t.add("soft", "软件", images::Category);
        t.addChild("soft", "tools", "工具盘", images::Disc);
        t.item("music").setExpanded(true);
    });
    auto* tree = m.widgetOf<QTreeWidget>(t);
    return {tree->viewport()->grab().toImage(),
            tree->viewport()->palette().color(QPalette::Base).rgb()};
}

TEST(TreeDrawing, StyleSevenDrawsLinesAndBoxesAndAFoldedCategoryShowsAPlus) {
    GuiMachine m;
    m.showMain();
    const TreeShot shot = categoryTree(m, 7);
    auto* tree = m.widgetOf<QTreeWidget>(m.form.TreeView2);
    ASSERT_TRUE(tree);
    QTreeWidgetItem* music = itemWithText(tree, QStringLiteral("音乐"));
    QTreeWidgetItem* foreign = itemWithText(tree, QStringLiteral("外国"));
    QTreeWidgetItem* soft = itemWithText(tree, QStringLiteral("软件"));
    QTreeWidgetItem* pop = itemWithText(tree, QStringLiteral("流行01"));
    ASSERT_TRUE(music && foreign && soft && pop);
    EXPECT_TRUE(music->isExpanded());
    EXPECT_FALSE(soft->isExpanded());
    shot.image.save(QString::fromStdString(guitest::artifactFolder() + "/tree_style7.png"));

    // A box on every node with children, the top-level ones too: its centre
    // row is drawn (the minus); a folded node's box has the plus's stroke
    // through the centre column above and below that row.
    for (QTreeWidgetItem* item : {music, foreign, soft}) {
        const QRect sign = shot.sign(tree, item);
        const QPoint c(sign.center().x(), sign.center().y());
        EXPECT_GT(inked(shot.image, sign, shot.background), 20) << item->text(0).toStdString();
        const bool plus = inked(shot.image, QRect(c.x() - 1, c.y() - 2, 3, 2), shot.background) > 0;
        EXPECT_EQ(plus, !item->isExpanded()) << item->text(0).toStdString();
    }
    // A leaf has no box, only the dotted line from its parent: a few pixels.
    const QRect leaf = shot.sign(tree, pop);
    const int lineDots = inked(shot.image, leaf, shot.background);
    EXPECT_GT(lineDots, 3);
    EXPECT_LT(lineDots, 20);
    // The line runs on below the first child to its sibling "外国".
    EXPECT_GT(inked(shot.image,
                    QRect(leaf.left(), leaf.center().y() + 2, leaf.width() / 2 + 1,
                          leaf.height() / 2 - 2),
                    shot.background),
              0);
}

TEST(TreeDrawing, PicturesAndTextAloneDrawNoBranches) {
    GuiMachine m;
    m.showMain();
    const TreeShot shot = categoryTree(m, 1);
    auto* tree = m.widgetOf<QTreeWidget>(m.form.TreeView2);
    QTreeWidgetItem* pop = itemWithText(tree, QStringLiteral("流行01"));
    QTreeWidgetItem* foreign = itemWithText(tree, QStringLiteral("外国"));
    ASSERT_TRUE(pop && foreign);
    EXPECT_EQ(inked(shot.image, shot.sign(tree, pop), shot.background), 0);
    EXPECT_EQ(inked(shot.image, shot.sign(tree, foreign), shot.background), 0);
    EXPECT_FALSE(tree->rootIsDecorated());
}

// Past the last column the header goes on as an empty heading: a column of
// it looks like a column of a heading's empty part.
TEST(ListDrawing, TheHeaderReachesTheListsRightEdge) {
    GuiMachine m;
    gui::FormView& v = m.showMain();
    v.window()->resize(1400, 900);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.form.ListView1.width() > gui::twips(820); }, 3000));
    QHeaderView* header = m.widgetOf<QWidget>(m.form.ListView1)->findChild<QHeaderView*>();
    ASSERT_TRUE(header);
    const int end = header->length() - header->offset();
    ASSERT_LT(end + 20, header->viewport()->width());
    const QImage img = header->viewport()->grab().toImage();
    const int inLast = end - 10;  // inside the last heading, right of its text
    for (int y = 0; y < img.height(); ++y)
        EXPECT_EQ(img.pixel(end + 10, y), img.pixel(inLast, y)) << "row " << y;
}

// The toolbar's buttons lie at the model's widths, so the keyword box that
// the layout puts right of the last button never covers one, whichever
// buttons show.
TEST(ToolbarDrawing, ButtonsLieAtTheModelsWidthsAndTheKeywordBoxBesideThem) {
    GuiMachine m;
    m.showMain();
    QToolBar* bar = m.widgetOf<QToolBar>(m.form.Toolbar1);
    auto* keywords = m.widgetOf<QComboBox>(m.form.Combo2);
    ASSERT_TRUE(bar && keywords);
    EXPECT_EQ(keywords->currentText(), QString());
    auto lastButtonEnd = [&] {
        int end = 0;
        for (QToolButton* b : bar->findChildren<QToolButton*>())
            if (b->isVisible() && b->defaultAction())
                end = std::max(end, b->geometry().right() + 1);
        return end;
    };
    EXPECT_EQ(lastButtonEnd(), px(m.form.Toolbar1.buttonsWidth()));
    EXPECT_EQ(keywords->geometry().left(), px(7425));
    // The disc page opens the preview pane: its nine buttons show.
    QTabBar* tabs = m.widgetOf<QWidget>(m.form.TabStrip1)->findChild<QTabBar*>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    ASSERT_TRUE(m.form.Toolbar1.button("fullscreen").visible());
    // (The toolbar lays its buttons out when the events have run.)
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return lastButtonEnd() == px(m.form.Toolbar1.buttonsWidth()); }, 2000))
        << lastButtonEnd();
    EXPECT_GT(keywords->geometry().left(), lastButtonEnd());
}

// The folder chooser lists each drive with the picture of its type.
TEST(DriveListDrawing, EachDriveShowsItsType) {
    GuiMachine m;
    m.showMain();
    sendto chooser(m.form);
    EXPECT_TRUE(guitest::showModalWith(chooser, [&](QWidget* w) {
        auto* drives = w->findChild<QComboBox*>();
        ASSERT_TRUE(drives);
        ASSERT_GE(drives->count(), 2);
        const QImage cd = gui::iconPixmap("drivecd").toImage(),
                     fixed = gui::iconPixmap("drivefixed").toImage();
        EXPECT_NE(cd, fixed);
        for (int i = 0; i < drives->count(); ++i) {
            const QString entry = drives->itemText(i);
            const QImage shownIcon =
                drives->itemIcon(i).pixmap(16, 16).toImage().convertToFormat(cd.format());
            EXPECT_EQ(shownIcon, entry.startsWith(QStringLiteral("e:")) ? cd : fixed)
                << entry.toStdString();
        }
        QTest::mouseClick(buttonWithText(w, QStringLiteral("取消")), Qt::LeftButton);
    }));
}

}  // namespace
