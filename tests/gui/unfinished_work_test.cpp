// What the user sees at a start that finds a record of unfinished work: a
// record the program cannot understand is set aside under a new name and
// told in one box before the main window, which then works as usual. The box
// is kept as a screenshot among the test artifacts.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QRegularExpression>
#include <filesystem>

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

}  // namespace
