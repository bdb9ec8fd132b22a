// The software page on a fresh install: the category file comes with the
// program and is installed with the other resources on the first start, never
// over a category file the user already has; with it the page can be used at
// once (a sub-category made, a record saved under it).
#include <cstdlib>
#include <filesystem>
#include <string>

#include "catalogue/name_dialog.h"
#include "platform/files/program_folder.h"
#include "platform/text/text.h"
#include "software/software_steps.h"

using namespace software_test;

namespace {

std::filesystem::path sourceTree() {
    const char* source = std::getenv("ZELBRIN_SOURCE_DIR");
    return source ? std::filesystem::path(source)
                  : std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

// The categories the program comes with, the catch-all of filed imports last.
const Strings Installed = {"==系统工具", "==网络工具",      "==办公软件", "==图形图像",
                           "==影音播放", "==编程开发",      "==安全防护", "==教育学习",
                           "==游戏娱乐", "==无相应类别软件"};

class FirstStart : public SoftwarePage {
  protected:
    // The resources installed into the program folder as the program does it
    // before start-up; the number of files copied.
    int install() {
        return platform::files::installResources((sourceTree() / "webmodel").string(),
                                                 h.nativePath("C:\\zelbrin"));
    }
};

TEST_F(FirstStart, TheCategoryFileIsInstalledOnceInCodePage936WithCrLf) {
    ASSERT_FALSE(h.exists(ClassFile));
    EXPECT_GT(install(), 0);
    EXPECT_EQ(h.readBytes(ClassFile), platform::text::toCp936(lines(Installed)));
    // The next start copies nothing: every resource is there.
    EXPECT_EQ(install(), 0);
    EXPECT_EQ(h.readBytes(ClassFile), platform::text::toCp936(lines(Installed)));
}

TEST_F(FirstStart, AnExistingCategoryFileIsNeverReplaced) {
    // The user's own categories, and an empty file.
    for (const std::string& own : {lines({"==工具", "=网络", "{#$}A"}), std::string()}) {
        SCOPED_TRACE(own);
        h.write(ClassFile, own);
        install();
        EXPECT_EQ(h.read(ClassFile), own);
    }
}

TEST_F(FirstStart, TheSoftwarePageMakesASubCategoryAndSavesARecordUnderIt) {
    install();
    start("");
    categoryView();
    EXPECT_EQ(tree().size(), Installed.size());
    EXPECT_EQ(tree().front(), "系统工具 [系统工具] 94");

    // 建立该分类目录的子目录 below 网络工具.
    click("网络工具");
    h.ui.onModal<Dialog1>([](Dialog1& d) {
        EXPECT_EQ(d.Label2.caption(), "    你将建立一个目录，是 {网络工具} 目录的子目录！");
        d.Text1.userType("下载工具");
        d.OKButton.userClick();
    });
    h.ui.choosePopup("insertSoftChild");
    f.TreeView3.userMouseDown(platform::RightButton, 0, 100, 100);
    EXPECT_EQ(f.TreeView3.item("下载工具").parent()->key(), "网络工具");

    // A new record filed in it.
    newRecord("快传");
    click("下载工具");
    f.SoftVersionT.userType("2.1");
    save("你要保存新建软件快传?");
    h.ui.verifyAllUsed();
    // The save's question is the only message.
    EXPECT_EQ(h.ui.messages(), Strings{"你要保存新建软件快传?"});

    Strings expected = Installed;
    expected.insert(expected.begin() + 2, {"=下载工具", "{#$}快传"});
    EXPECT_EQ(h.readBytes(ClassFile), platform::text::toCp936(lines(expected)));
    EXPECT_NE(h.read(recordPath("快传")).find("软件分类：网络工具\\下载工具\r\n"),
              std::string::npos);
    EXPECT_EQ(f.TreeView3.item("快传").parent()->key(), "下载工具");
    // Reloaded from the file, the tree is the same.
    f.refreshSoft.userClick();
    EXPECT_EQ(f.TreeView3.item("快传").parent()->key(), "下载工具");
    EXPECT_EQ(f.TreeView3.item("下载工具").parent()->key(), "网络工具");
}

}  // namespace
