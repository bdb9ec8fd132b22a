// Exporting an index file through the desktop front end: the menu item opens
// the save dialog, a name typed without extension gets ".wcd", and an
// existing file is replaced only after the dialog has asked.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <string>

#include "gui_fixture.h"

namespace {

using guitest::GuiMachine;
using guitest::whenModal;

constexpr std::string_view Index =
    "E:\\\xd2\xf4\xc0\xd6\\\xb8\xe8.mp3[4096]($)\r\n";  // E:\音乐\歌.mp3

// Exports the disc "老歌" to C:\out\老歌 (typed without extension), where an
// older export lies; the replace question is answered with the button.
void exportOver(GuiMachine& m, QMessageBox::StandardButton answer, bool& asked) {
    gui::FormView& v = m.showMain();
    m.form.OpenedDisk = "老歌";
    const QString typed = QString::fromStdString(m.h.nativePath("C:\\out") + "/老歌");
    const QString title = QStringLiteral("选择你要导出的目录：");
    whenModal<QFileDialog>(title, [&, answer](QFileDialog* dlg) {
        whenModal<QMessageBox>(title, [&, answer](QMessageBox* box) {
            asked = true;
            box->button(answer)->click();
        });
        guitest::typeFileName(dlg, typed);
        QMetaObject::invokeMethod(dlg, "accept");
        // Refused: the dialog stays open until it is cancelled.
        if (dlg->isVisible()) dlg->reject();
    });
    QAction* item = guitest::menuAction(v.mainWindow(), QStringLiteral("文件"),
                                        QStringLiteral("导出光盘索引文件"));
    ASSERT_TRUE(item);
    item->trigger();
}

struct ExportTest : ::testing::Test {
    GuiMachine m;
    void SetUp() override {
        m.h.writeBytes("C:\\zelbrin\\guangpan\\老歌.wcd", Index);
        m.h.writeBytes("C:\\out\\老歌.wcd", "an older export");
    }
};

TEST_F(ExportTest, ANameWithoutExtensionGetsWcdAndReplacesAfterTheQuestion) {
    bool asked = false;
    exportOver(m, QMessageBox::Yes, asked);
    EXPECT_TRUE(asked);
    EXPECT_EQ(m.h.readBytes("C:\\out\\老歌.wcd"), Index);
    EXPECT_FALSE(m.h.exists("C:\\out\\老歌"));
}

TEST_F(ExportTest, ANoToTheQuestionKeepsTheFile) {
    bool asked = false;
    exportOver(m, QMessageBox::No, asked);
    EXPECT_TRUE(asked);
    EXPECT_EQ(m.h.readBytes("C:\\out\\老歌.wcd"), "an older export");
}

}  // namespace
