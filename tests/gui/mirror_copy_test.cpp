// The mirror copy command on the desktop widgets: the question, the target
// dialog typed into and confirmed with Enter, the copies and the disc node in
// the mirror colour.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "gui_fixture.h"
#include "platform/controls/treeview.h"

namespace {

using guitest::buttonWithText;
using guitest::GuiMachine;
using guitest::whenModal;

TEST(MirrorCopyGui, TheTargetDialogTypedAndConfirmedWithEnter) {
    GuiMachine m;
    m.h.write("C:\\zelbrin\\guangpan\\[005]Photos.wcd",
              "F:\\|docs\r\nF:\\c.txt[5]($)\r\nF:\\docs\\a.txt[4]($)\r\n");
    m.h.write("C:\\zelbrin\\ini.ini", "|照片\r\n#[005]Photos#5#照片盘#\r\n");
    m.h.write("E:\\c.txt", "ccccc");
    m.h.write("E:\\docs\\a.txt", "aaaa");
    m.showMain();
    platform::dispatch([&] {
        m.form.TabStrip1.userSelect(2);
        m.form.TreeView1.userClickNode(*m.form.TreeView1.find("[005]Photos*"));
    });

    whenModal<QMessageBox>(QStringLiteral("信息"), [](QMessageBox* box) {
        EXPECT_EQ(box->text(), QStringLiteral("要拷贝的光盘名是[005]Photos！是否正确？"));
        QTest::mouseClick(buttonWithText(box, QStringLiteral("是")), Qt::LeftButton);
    });
    QString proposed;
    whenModal<QDialog>(QStringLiteral("把打勾的文件拷贝到硬盘里！"), [&](QDialog* w) {
        auto* label = w->findChild<QLabel*>();
        ASSERT_TRUE(label);
        EXPECT_EQ(label->text(), QStringLiteral("请输入要建立的文件夹的名字："));
        EXPECT_EQ(w->minimumSize(), w->maximumSize());
        auto* edit = w->findChild<QLineEdit*>();
        ASSERT_TRUE(edit);
        proposed = edit->text();
        EXPECT_TRUE(w->grab().save(
            QString::fromStdString(guitest::artifactFolder() + "/mirror_copy_dialog.png")));
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("C:\\mirror\\photos"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    platform::dispatch([&] { m.form.copytag.userClick(); });

    // No folder drive D: here: the proposal is on C:.
    EXPECT_EQ(proposed, QStringLiteral("c:\\zelbrin\\[005]Photos"));
    EXPECT_EQ(m.h.read("C:\\mirror\\photos\\c.txt"), "ccccc");
    EXPECT_EQ(m.h.read("C:\\mirror\\photos\\docs\\a.txt"), "aaaa");
    EXPECT_EQ(m.h.read("C:\\zelbrin\\guangpan\\[005]Photos.wcd"),
              "F:\\|docs\r\nF:\\c.txt[5]($){C:\\mirror\\photos\\c.txt}\r\n"
              "F:\\docs\\a.txt[4]($){C:\\mirror\\photos\\docs\\a.txt}\r\n");
    EXPECT_EQ(m.form.TreeView1.find("[005]Photos*")->foreColor(), m.form.CopyFileColor);
    EXPECT_EQ(m.form.StatusBar1.panel(2).text(), "2个文件已经拷贝到硬盘！");
}

}  // namespace
