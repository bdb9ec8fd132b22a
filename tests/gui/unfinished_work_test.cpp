// What the user sees at a start that finds a record of unfinished work: a
// mirror copy run cut short is finished forward with the copies it made, and
// a record the program cannot understand is set aside under a new name; each
// is told in one box before the main window, which then works as usual. The
// boxes are kept as screenshots among the test artifacts.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QRegularExpression>
#include <filesystem>

#include "catalogue/pending_work.h"
#include "copies/mirror_folders.h"
#include "copies/mirror_run.h"
#include "copies/mirror_steps.h"
#include "gui_fixture.h"

using guitest::GuiMachine;

namespace {

std::string artifact(const char* name) { return guitest::artifactFolder() + "/" + name; }

TEST(UnfinishedWorkOnTheDesktop, ARecordNotUnderstoodIsSetAsideAndToldInOneBox) {
    GuiMachine m;
    const std::string pending = "C:\\zelbrin\\guangpan\\pending.ini";
    m.h.write("C:\\zelbrin\\ini.ini", "|音乐\r\n#a#1#r#\r\n");
    m.h.write("C:\\zelbrin\\guangpan\\a.wcd", "E:\\\r\nE:\\x.txt[1]\r\n");
    // A record naming a live disc's index as a file its command made.
    m.h.write(pending, "import\r\nname=b\r\nmake=a.wcd\r\n");

    QString text;
    int boxes = 0;
    guitest::whenModal<QMessageBox>(QStringLiteral("提示"), [&](QMessageBox* box) {
        ++boxes;
        text = box->text();
        EXPECT_TRUE(box->grab().save(QString::fromStdString(artifact("pending_set_aside.png"))));
        QTest::keyClick(box, Qt::Key_Return);
    });
    gui::FormView& v = m.showMain();
    QApplication::processEvents();
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(text.contains(QString::fromStdString(pending))) << text.toStdString();
    const QRegularExpression setAside(
        QStringLiteral(R"(C:\\zelbrin\\guangpan\\pending-[0-9-]+\.bad)"));
    const QRegularExpressionMatch found = setAside.match(text);
    ASSERT_TRUE(found.hasMatch()) << text.toStdString();
    EXPECT_FALSE(m.h.exists(pending));
    EXPECT_EQ(m.h.read(found.captured().toStdString()), "import\r\nname=b\r\nmake=a.wcd\r\n");
    // Nothing the record named was touched, and the window is up.
    EXPECT_EQ(m.h.read("C:\\zelbrin\\guangpan\\a.wcd"), "E:\\\r\nE:\\x.txt[1]\r\n");
    EXPECT_TRUE(v.window()->isVisible());
    EXPECT_GT(std::filesystem::file_size(artifact("pending_set_aside.png")), 1000u);
}

// A run that had copied two of its files when it was cut: the next start
// records both copies in the index and says how many there are.
TEST(UnfinishedWorkOnTheDesktop, AMirrorRunCutShortIsFinishedForwardAndTold) {
    using namespace mirror_test;
    GuiMachine m;
    writeDiscs(m.h);
    const std::string target = Target;
    copies::recordMirrorFolder(m.h.settings, copies::resolvedFolderOf(target).value());
    m.h.write(
        "C:\\zelbrin\\guangpan\\pending.ini",
        catalogue::formatPendingWork(copies::mirrorRunRecord(
            Photos, PhotosIndex, target, copies::mirrorRunStartTime(), {"", "docs", "docs\\img"})));
    m.h.write(target + "\\c.txt", "ccccc");
    m.h.write(target + "\\docs\\a.txt", "aaaa");

    QString text;
    int boxes = 0;
    guitest::whenModal<QMessageBox>(QStringLiteral("提示"), [&](QMessageBox* box) {
        ++boxes;
        text = box->text();
        EXPECT_TRUE(box->grab().save(QString::fromStdString(artifact("mirror_run_finished.png"))));
        QTest::keyClick(box, Qt::Key_Return);
    });
    m.showMain();
    QApplication::processEvents();
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(text, QStringLiteral("上次没有做完的“把打标记的文件拷贝到硬盘形成映象文件”已经完成："
                                   "2个文件已经拷贝到硬盘。"));
    EXPECT_FALSE(m.h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    const std::string index = m.h.read(PhotosIndex);
    EXPECT_NE(index.find("F:\\c.txt[5]($){" + target + "\\c.txt}"), std::string::npos) << index;
    EXPECT_NE(index.find("F:\\docs\\a.txt[4]($){" + target + "\\docs\\a.txt}"), std::string::npos)
        << index;
}

}  // namespace
