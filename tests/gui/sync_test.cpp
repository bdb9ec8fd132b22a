// Syncing the widgets from the models: only what changed, in place where the
// same nodes and rows are shown, in one rebuild where they are not, and never
// as a gesture of the user. Also the timers and the repaint of long commands.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTreeWidget>

#include "gui_fixture.h"

namespace {

using guitest::GuiMachine;

TEST(TreeSync, ChangesInPlaceKeepTheItemsAndNewNodesRebuildInOneGo) {
    GuiMachine m;
    platform::TreeView& t = m.form.TreeView2;
    int clicks = 0;
    t.NodeClick = [&](platform::Node&) { ++clicks; };
    platform::dispatch([&] {
        t.add("r", "根", 3);
        for (int i = 0; i < 100; ++i)
            t.addChild("r", "n" + std::to_string(i), "节点" + std::to_string(i), 1);
    });
    m.showMain();
    QTreeWidget* tree = m.widgetOf<QTreeWidget>(t);
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 100);
    QTreeWidgetItem* before = tree->topLevelItem(0)->child(5);

    // Text, colour, folding and selection by code: the same items, updated.
    platform::dispatch([&] {
        t.item("n5").setText("改");
        t.item("n5").setForeColor(0x0000FF);
        t.item("r").setExpanded(true);
        t.item("n7").setSelected(true);
    });
    EXPECT_EQ(tree->topLevelItem(0)->child(5), before);
    EXPECT_EQ(before->text(0), QStringLiteral("改"));
    EXPECT_EQ(before->foreground(0).color(), QColor(255, 0, 0));
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0)->child(7));
    EXPECT_EQ(clicks, 0);  // selecting by code is no click

    // A node added and one removed: the tree is drawn anew, in model order.
    platform::dispatch([&] {
        t.remove("n0");
        t.addChild("n5", "n5a", "新", 1);
    });
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 99);
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("节点1"));
    EXPECT_EQ(tree->topLevelItem(0)->child(4)->child(0)->text(0), QStringLiteral("新"));
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("节点7"));
    EXPECT_EQ(clicks, 0);
}

TEST(TreeSync, AClickFindsItsNodeByItsSerialNeverByItsAddress) {
    GuiMachine m;
    platform::TreeView& t = m.form.TreeView2;
    std::vector<std::string> clicks;
    bool reloadOnPress = true;
    auto load = [&] {
        t.clear();
        t.add("a", "甲", 3);
        t.add("b", "乙", 3);
    };
    t.NodeClick = [&](platform::Node& n) { clicks.push_back(n.key()); };
    // A press reloads the tree: the node under the mouse is gone, and its
    // memory may hold a new node by the time the click is taken.
    t.MouseDown = [&](int, int, double, double) {
        if (reloadOnPress) load();
    };
    platform::dispatch(load);
    m.showMain();
    QTreeWidget* tree = m.widgetOf<QTreeWidget>(t);
    ASSERT_TRUE(tree);
    const QPoint at = tree->visualItemRect(tree->topLevelItem(1)).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(t.selectedItem(), nullptr);
    // The items now stand for the new nodes.
    reloadOnPress = false;
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(clicks, std::vector<std::string>{"b"});
    EXPECT_EQ(t.selectedItem(), &t.item("b"));
}

TEST(ListSync, AClickOnARowRemovedByItsMouseDownIsNoItemClick) {
    GuiMachine m;
    platform::ListView& l = m.form.ListView1;
    std::vector<std::string> clicks;
    l.ItemClick = [&](platform::ListItem& i) { clicks.push_back(i.key()); };
    l.MouseDown = [&](int, int, double, double) {
        l.clear();
        l.add("k1", "a.txt", 24);
    };
    platform::dispatch([&] { l.add("k1", "a.txt", 24); });
    m.showMain();
    auto* report = m.widgetOf<QStackedWidget>(l)->findChild<QTreeWidget*>();
    ASSERT_TRUE(report);
    QTest::mouseClick(report->viewport(), Qt::LeftButton, {},
                      report->visualItemRect(report->topLevelItem(0)).center());
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(l.count(), 1);
}

TEST(TreeSync, LabelEditingOpensOnlyWhenTheModelStartsIt) {
    GuiMachine m;
    platform::TreeView& t = m.form.TreeView2;
    std::string edited;
    t.AfterLabelEdit = [&](int&, const std::string& text) { edited = text; };
    platform::dispatch([&] {
        t.add("a", "旧名", 3);
        t.setLabelEdit(1);
    });
    m.showMain();
    QTreeWidget* tree = m.widgetOf<QTreeWidget>(t);
    // A double click on the label starts nothing.
    const QPoint at = tree->visualItemRect(tree->topLevelItem(0)).center();
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(tree->findChild<QLineEdit*>(), nullptr);
    // The rename command starts it: an editor opens; Enter ends it through
    // the model, which decides the text.
    platform::dispatch([&] {
        t.setSelectedItem(&t.item("a"));
        t.startLabelEdit();
    });
    // The editor opens once the focus has settled, from the event loop.
    QLineEdit* editor = nullptr;
    EXPECT_TRUE(QTest::qWaitFor([&] { return (editor = tree->findChild<QLineEdit*>()); }));
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->text(), QStringLiteral("旧名"));
    editor->setText(QStringLiteral("新名"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // Qt ends the edit from its event loop
    EXPECT_EQ(edited, "新名");
    EXPECT_EQ(t.editingNode(), nullptr);
    EXPECT_EQ(t.item("a").text(), "新名");
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("新名"));

    // The window closing with the editor open ends no edit of the model.
    platform::dispatch([&] { t.startLabelEdit(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree->findChild<QLineEdit*>() != nullptr; }));
    edited.clear();
    m.frontEnd.close(m.form);
    EXPECT_EQ(edited, "");
    EXPECT_EQ(t.editingNode(), &t.item("a"));
}

TEST(ListSync, RowsColumnsChecksAndColoursFollowTheModel) {
    GuiMachine m;
    platform::ListView& l = m.form.ListView1;
    std::vector<std::string> events;
    l.ItemCheck = [&](platform::ListItem& i) {
        events.push_back("check " + i.key() + (i.checked() ? " 1" : " 0"));
    };
    l.ItemClick = [&](platform::ListItem& i) { events.push_back("click " + i.key()); };
    platform::dispatch([&] {
        l.setCheckboxes(true);
        l.setSorted(true);
        l.setSortKey(1);
        l.add("k1", "b.txt", 24).setSubItem(1, "txt");
        l.add("k2", "a.htm", 15).setSubItem(1, "htm");
        l.item("k1").setForeColor(0x0000FF);
    });
    m.showMain();
    auto* tree = m.widgetOf<QStackedWidget>(l)->findChild<QTreeWidget*>();
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->headerItem()->text(0), QStringLiteral("文件名"));
    // Sorted by the type column in the model: htm before txt.
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("a.htm"));
    EXPECT_EQ(tree->topLevelItem(1)->foreground(0).color(), QColor(255, 0, 0));
    EXPECT_EQ(tree->topLevelItem(1)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(tree->currentItem(), nullptr);  // nothing selected by itself

    // A click on the row: ItemClick; on its check box: ItemCheck only.
    const QRect row = tree->visualItemRect(tree->topLevelItem(1));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, row.center());
    QStyleOptionViewItem opt;
    opt.rect = tree->visualRect(tree->model()->index(1, 0));
    opt.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration;
    opt.decorationSize = QSize(16, 16);
    const QRect box =
        tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, tree);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_EQ(events, (std::vector<std::string>{"click k1", "check k1 1"}));
    EXPECT_EQ(tree->topLevelItem(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(l.selectedItem(), &l.item("k1"));

    // Another view style shows the same rows in the list arrangement.
    platform::dispatch([&] { l.setView(platform::ListView::List); });
    auto* list = m.widgetOf<QStackedWidget>(l)->findChild<QListWidget*>();
    ASSERT_EQ(m.widgetOf<QStackedWidget>(l)->currentWidget(), list);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("b.txt"));
    EXPECT_EQ(list->item(1)->checkState(), Qt::Checked);
}

TEST(ControlSync, CodeChangesRaiseOnlyTheModelsOwnEvents) {
    GuiMachine m;
    int changes = 0, clicks = 0;
    m.form.SoftVersionT.Change = [&] { ++changes; };
    m.form.SoftRankT.Click = [&] { ++clicks; };
    platform::dispatch([&] {
        for (platform::Control* c :
             std::initializer_list<platform::Control*>{&m.form.SoftVersionT, &m.form.SoftRankT})
            c->setVisible(true);
    });
    m.showMain();
    platform::dispatch([&] {
        m.form.SoftVersionT.setText("名字");
        m.form.SoftRankT.setText("3");
    });
    // The model raised Change once; drawing the text raised nothing more.
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 0);
    auto* edit = m.widgetOf<QLineEdit>(m.form.SoftVersionT);
    EXPECT_EQ(edit->text(), QStringLiteral("名字"));
    EXPECT_EQ(m.widgetOf<QComboBox>(m.form.SoftRankT)->currentText(), QStringLiteral("3"));
    // Typing is the user's: Change per keystroke.
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_End);  // the caret went to the start when code set the text
    QTest::keyClicks(edit, "ab");
    EXPECT_EQ(m.form.SoftVersionT.text(), "名字ab");
    EXPECT_EQ(changes, 3);
    // A choice from the list raises Click.
    auto* combo = m.widgetOf<QComboBox>(m.form.SoftRankT);
    combo->activated(4);
    EXPECT_EQ(m.form.SoftRankT.text(), "1");
    EXPECT_EQ(clicks, 1);
}

// A line break pasted into a single-line box: the model drops it and the
// line edit shows what the model holds, the caret after it. A multi-line box
// keeps the pasted lines.
TEST(ControlSync, APastedLineBreakIsDroppedInASingleLineBox) {
    GuiMachine m;
    platform::dispatch([&] {
        m.form.SoftVersionT.setVisible(true);
        m.form.SoftDescriptionT.setVisible(true);
    });
    m.showMain();
    auto* edit = m.widgetOf<QLineEdit>(m.form.SoftVersionT);
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("live\r\n|evil\n"));
    QTest::keySequence(edit, QKeySequence::Paste);
    EXPECT_EQ(m.form.SoftVersionT.text(), "live|evil");
    EXPECT_EQ(edit->text(), QStringLiteral("live|evil"));
    EXPECT_EQ(edit->cursorPosition(), 9);
    QTest::keyClicks(edit, "x");
    EXPECT_EQ(m.form.SoftVersionT.text(), "live|evilx");

    auto* plain = m.widgetOf<QPlainTextEdit>(m.form.SoftDescriptionT);
    ASSERT_NE(plain, nullptr);
    plain->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("a\nb"));
    QTest::keySequence(plain, QKeySequence::Paste);
    EXPECT_EQ(m.form.SoftDescriptionT.text(), "a\r\nb");
}

TEST(TimerHost, TicksAreHeldDuringAnEventAndDeliveredOnce) {
    GuiMachine m;
    int ticks = 0;
    m.form.Timer2.Tick = [&] { ++ticks; };
    platform::dispatch([&] {
        m.form.Timer2.setInterval(20);
        m.form.Timer2.setEnabled(true);
    });
    EXPECT_TRUE(m.timers.ticking(m.form.Timer2));
    // A long command that lets the window repaint: several intervals pass,
    // no tick runs inside it.
    platform::dispatch([&] {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 150) m.ui.flush();
        EXPECT_EQ(ticks, 0);
    });
    // Afterwards the held tick runs once (and then the timer goes on).
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(ticks, 1);
    platform::dispatch([&] { m.form.Timer2.setEnabled(false); });
    EXPECT_FALSE(m.timers.ticking(m.form.Timer2));
    const int now = ticks;
    QTest::qWait(60);
    EXPECT_EQ(ticks, now);
}

TEST(TimerHost, TicksRunWhileAMessageBoxWaits) {
    GuiMachine m;
    int ticks = 0, ticksWhileOpen = 0;
    m.form.Timer2.Tick = [&] { ++ticks; };
    guitest::whenModal<QMessageBox>(QStringLiteral("提示"), [&](QMessageBox* box) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 3000));
        ticksWhileOpen = ticks;
        QTest::keyClick(box, Qt::Key_Escape);
    });
    platform::dispatch([&] {
        m.form.Timer2.setInterval(20);
        m.form.Timer2.setEnabled(true);
        m.ui.msgBox("等一下", platform::MsgButtons::OK, "提示");
        m.form.Timer2.setEnabled(false);
    });
    EXPECT_GE(ticksWhileOpen, 3);
}

TEST(TimerHost, ATickThatUnloadsAModalFormEndsItsShowing) {
    GuiMachine m;
    m.showMain();
    guitest::TestDialog dlg(m.services);
    // Nothing to do in the window: the tick closes it (or, failing that,
    // the driver does after five seconds).
    guitest::whenModal<QDialog>(QStringLiteral("信息"), [](QDialog*) {});
    m.form.Timer2.Tick = [&] {
        m.form.Timer2.setEnabled(false);
        dlg.unload();
    };
    platform::dispatch([&] {
        m.form.Timer2.setInterval(20);
        m.form.Timer2.setEnabled(true);
        dlg.showModal();
    });
    EXPECT_FALSE(dlg.loaded());
    EXPECT_EQ(m.frontEnd.find(dlg), nullptr);
}

TEST(Flush, ShowsCaptionAndStatusDuringALongCommand) {
    GuiMachine m;
    gui::FormView& v = m.showMain();
    QString captionSeen, statusSeen;
    platform::dispatch([&] {
        m.form.setCaption("正在扫描 12%");
        m.form.StatusBar1.panel(1).setText("E:\\docs");
        m.form.TreeView2.add("x", "x", 1);  // heavy controls wait for the end
        m.ui.flush();
        captionSeen = v.window()->windowTitle();
        statusSeen = m.widgetOf<QWidget>(m.form.StatusBar1)->findChild<QLabel*>()->text();
        EXPECT_EQ(m.widgetOf<QTreeWidget>(m.form.TreeView2)->topLevelItemCount(), 0);
    });
    EXPECT_EQ(captionSeen, QStringLiteral("正在扫描 12%"));
    EXPECT_EQ(statusSeen, QStringLiteral("E:\\docs"));
    EXPECT_EQ(m.widgetOf<QTreeWidget>(m.form.TreeView2)->topLevelItemCount(), 1);
}

TEST(Pointer, HourglassAndSizingArrowsAreTheApplicationsCursor) {
    GuiMachine m;
    m.ui.setMousePointer(platform::PointerHourglass);
    ASSERT_TRUE(QApplication::overrideCursor());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    m.ui.setMousePointer(platform::PointerSizeWE);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::SizeHorCursor);
    m.ui.setMousePointer(platform::PointerDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
