// The send-to commands of the file list's pop-up menu: the selected file or
// folder of a catalogued CD (on the disc in the drive E:) or of a catalogued
// hard-disk folder is copied into "c:\My Documents\", "d:\" or the user's own
// folder, never over an existing item; a failure shows the error box.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "copies/sendto_dialog.h"
#include "discpage/disc_page_steps.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/ui/ui.h"

using namespace disc_page_test;
using Strings = std::vector<std::string>;

namespace {

namespace fs = std::filesystem;

constexpr const char* ErrorTitle = "出现错误，请仔细检查！";
const std::string FolderError =
    "可能有以下原因:\r\n1.你放错了光盘或者光驱中无光盘！\r\n2.硬盘上可能已经有同名文件夹！\r\n"
    "3.光盘或光驱有问题，读不出文件！";
const std::string FileError =
    "可能有以下原因:\r\n1.你放错了光盘或者光驱中无光盘！\r\n2.硬盘上可能已经有同名文件！\r\n"
    "3.光盘或光驱有问题，读不出文件！";
constexpr const char* DefineFirst = "首先点击［定义你的文件夹］菜单定义［你的文件夹］";

// A disc whose index names a folder "..", and a catalogue that files it
// beside the two discs of the disc page's tests.
constexpr std::string_view Bad = "[009]Bad";
const std::vector<std::string_view> BadIndex = {
    "E:\\|docs",
    "E:\\docs\\|..",
    "E:\\docs\\..\\x.txt[1]",
};
// A hard-disk folder whose index names a folder ".." in it.
constexpr std::string_view Up = "up_hard";
const std::vector<std::string_view> UpIndex = {
    "C:\\music\\pop\\|..",
};

class SendTo : public ::testing::Test {
  protected:
    void SetUp() override {
        h.write(indexPath(Tools), lines(ToolsIndex));
        h.write(indexPath(Pop), lines(PopIndex));
        h.write(indexPath(Bad), lines(BadIndex));
        h.write(indexPath(Up), lines(UpIndex));
        h.write("C:\\zelbrin\\ini.ini", std::string(Catalogue) + "|坏\r\n#" + std::string(Bad) +
                                            "#9#坏盘#\r\n#" + std::string(Up) + "#10#上#\r\n");
        // The disc in the drive and the catalogued hard-disk folder.
        h.write("E:\\setup.exe", "setup bytes");
        h.write("E:\\docs\\a.txt", "text of a");
        h.write("E:\\docs\\README", "read me");
        h.write("E:\\docs\\img\\b.gif", "GIF89a");
        h.write("E:\\docs\\img\\old\\c.wmf", "wmf bytes");
        h.write("C:\\music\\pop\\top.mp3", "top");
        h.write("C:\\music\\pop\\live\\a.mp3", "live a");
        h.write("C:\\music\\pop\\live\\b.mp3", "live b");
        // "c:\My Documents" is a folder of its own, as the documents folder.
        h.makeFolder("C:\\xdg\\Documents");
        h.drives().set({.name = "C:\\My Documents", .folder = h.nativePath("C:\\xdg\\Documents")});
        h.start();
    }
    Form1& f() { return h.form; }

    void clickDiscList(const std::vector<std::string_view>& paths) {
        if (!f().TreeView1.visible()) f().TabStrip1.userSelect(DiscTab);
        for (std::string_view p : paths) f().TreeView1.userClickNode(node(f().TreeView1, p));
    }
    // Right-click on the row of that text and choose the menu item.
    void send(std::string_view rowText, std::string item) {
        h.ui.choosePopup(std::move(item));
        f().ListView1.userMouseDown(platform::RightButton, 0, 100, 100, &row(f(), rowText));
    }
    // The same, expecting the error box.
    void sendFails(std::string_view rowText, std::string item, const std::string& text) {
        h.ui.answerMsgBox(platform::MsgOK, text);
        send(rowText, std::move(item));
        EXPECT_EQ(h.ui.log().back().title, ErrorTitle);
        EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
    }
    // Chooses the own folder through the menu item 定义你的文件夹.
    void defineOwnFolder(const std::string& folder) {
        h.ui.onModal<sendto>([folder](sendto& s) {
            s.Dir1.userOpen(folder);
            s.OKButton.userClick();
        });
        f().SendToDefine.userClick();
    }
    Strings boxes() const {
        Strings out;
        for (const auto& s : h.ui.log())
            if (s.kind == testsupport::ShownKind::MsgBox) out.push_back(s.title + ": " + s.prompt);
        return out;
    }

    testsupport::Harness h;
};

TEST_F(SendTo, FilesAndFoldersAreCopiedIntoTheTargetFolder) {
    h.makeFolder("C:\\work");
    h.makeFolder("C:\\d");
    h.drives().set({.name = "D:", .folder = h.nativePath("C:\\d")});
    defineOwnFolder("C:\\work");
    struct Case {
        std::string folder;
        std::string row;
        std::string item;
        std::string copy;
        std::string bytes;
    };
    for (const Case& c : std::vector<Case>{
             {"[003]Tools\\E:\\docs", "a", "SendToMyDocument", "C:\\xdg\\Documents\\a.txt",
              "text of a"},
             // A file without extension, a file in the scan root.
             {"[003]Tools\\E:\\docs", "README", "SendToDpan", "C:\\d\\README", "read me"},
             {"[003]Tools\\E:", "setup", "SendToCustom", "C:\\work\\setup.exe", "setup bytes"},
             // A catalogued hard-disk folder: where the folder lies.
             {"pop_hard\\pop", "top", "SendToCustom", "C:\\work\\top.mp3", "top"},
             {"pop_hard\\pop\\live", "a", "SendToMyDocument", "C:\\xdg\\Documents\\a.mp3",
              "live a"},
         }) {
        SCOPED_TRACE(c.copy);
        clickDiscList({c.folder.substr(0, c.folder.find('\\')), c.folder});
        const std::size_t pointersBefore = h.ui.pointers().size();
        send(c.row, c.item);
        EXPECT_EQ(h.readBytes(c.copy), c.bytes);
        EXPECT_EQ(std::vector<int>(h.ui.pointers().begin() + pointersBefore, h.ui.pointers().end()),
                  (std::vector<int>{platform::PointerHourglass, platform::PointerDefault}));
    }

    // A whole folder, with its subfolders.
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    send("img", "SendToDpan");
    EXPECT_EQ(h.readBytes("C:\\d\\img\\b.gif"), "GIF89a");
    EXPECT_EQ(h.readBytes("C:\\d\\img\\old\\c.wmf"), "wmf bytes");
    clickDiscList({Pop, "pop_hard\\pop"});
    send("live", "SendToCustom");
    EXPECT_EQ(h.readBytes("C:\\work\\live\\b.mp3"), "live b");

    EXPECT_TRUE(boxes().empty());
    // Nothing is recorded: the index files are as they were.
    EXPECT_EQ(h.read(indexPath(Tools)), lines(ToolsIndex));
    EXPECT_EQ(h.read(indexPath(Pop)), lines(PopIndex));
}

TEST_F(SendTo, AnExistingItemIsNeverOverwritten) {
    h.makeFolder("C:\\work\\img");
    h.write("C:\\work\\a.txt", "mine");
    defineOwnFolder("C:\\work");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    sendFails("a", "SendToCustom", FileError);
    sendFails("img", "SendToCustom", FolderError);
    EXPECT_EQ(h.readBytes("C:\\work\\a.txt"), "mine");
    EXPECT_FALSE(h.exists("C:\\work\\img\\b.gif"));
}

TEST_F(SendTo, AFolderCopyThatFailsKeepsWhatWasCopied) {
    h.makeFolder("C:\\work");
    defineOwnFolder("C:\\work");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    {
        platform::files::ScopedCommitHook failWmf([](platform::files::CommitStep step,
                                                     const std::string& path) {
            if (step == platform::files::CommitStep::Rename && fs::path(path).filename() == "c.wmf")
                throw platform::Error(platform::err::DeviceIO);
        });
        sendFails("img", "SendToCustom", FolderError);
    }
    EXPECT_EQ(h.readBytes("C:\\work\\img\\b.gif"), "GIF89a");
    EXPECT_TRUE(h.exists("C:\\work\\img\\old"));
    EXPECT_FALSE(h.exists("C:\\work\\img\\old\\c.wmf"));
}

TEST_F(SendTo, ReadOnlyFilesStayReadOnlyAndFoldersAreWritable) {
    fs::permissions(h.nativePath("E:\\docs\\img\\b.gif"), fs::perms::owner_read);
    fs::permissions(h.nativePath("E:\\docs\\img\\old"),
                    fs::perms::owner_read | fs::perms::owner_exec);
    h.makeFolder("C:\\work");
    defineOwnFolder("C:\\work");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    send("img", "SendToCustom");
    fs::permissions(h.nativePath("E:\\docs\\img\\old"), fs::perms::owner_all);
    const auto perms = [&](const char* p) { return fs::status(h.nativePath(p)).permissions(); };
    EXPECT_EQ(perms("C:\\work\\img\\b.gif") & fs::perms::all, fs::perms::owner_read);
    EXPECT_NE(perms("C:\\work\\img\\old") & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(h.readBytes("C:\\work\\img\\old\\c.wmf"), "wmf bytes");
}

TEST_F(SendTo, TheOwnFolderMustBeDefinedFirst) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    const std::size_t pointersBefore = h.ui.pointers().size();
    h.ui.answerMsgBox(platform::MsgOK, DefineFirst);
    send("a", "SendToCustom");
    EXPECT_EQ(boxes(), (Strings{std::string("提示: ") + DefineFirst}));
    EXPECT_EQ(h.ui.pointers().size(), pointersBefore);  // no copy was tried

    // The chooser's close box and Cancel define nothing.
    h.ui.onModal<sendto>([](sendto& s) {
        s.Dir1.userOpen("C:\\music");
        s.userClose();
    });
    f().SendToDefine.userClick();
    h.ui.onModal<sendto>([](sendto& s) { s.CancelButton.userClick(); });
    f().SendToDefine.userClick();
    EXPECT_EQ(f().SendToCustom.caption(), "你的文件夹");

    // Defined: the caption and the stored setting name it, and the copy
    // goes there.
    h.makeFolder("C:\\mine");
    defineOwnFolder("C:\\mine");
    EXPECT_EQ(f().SendToCustom.caption(), "C:\\mine");
    EXPECT_EQ(h.settings.get("Zelbrin", "Expiry", "yourfolder", ""), "C:\\mine");
    EXPECT_FALSE(f().fromMaker);
    send("a", "SendToCustom");
    EXPECT_EQ(h.readBytes("C:\\mine\\a.txt"), "text of a");
}

TEST_F(SendTo, PathsThatLeaveTheDiscOrTheFolderAreRefused) {
    h.makeFolder("C:\\work");
    defineOwnFolder("C:\\work");
    // A folder ".." named by an index.
    clickDiscList({Bad, "[009]Bad\\E:\\docs"});
    sendFails("..", "SendToCustom", FolderError);
    clickDiscList({Up, "up_hard\\pop"});
    sendFails("..", "SendToCustom", FolderError);
    // A folder of the disc that leads out of it through a link: refused and
    // named.
    h.write("C:\\secret\\a.txt", "secret");
    fs::remove_all(h.nativePath("E:\\docs"));
    fs::create_directory_symlink(h.nativePath("C:\\secret"), h.nativePath("E:\\docs"));
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    sendFails("a", "SendToCustom", "路径不在允许的文件夹里：E:\\docs\\a.txt");
    EXPECT_TRUE(fs::is_empty(h.nativePath("C:\\work")));
}

TEST_F(SendTo, NoDiscInTheDriveOrNoTargetShowsTheErrorBox) {
    h.makeFolder("C:\\work");
    defineOwnFolder("C:\\work");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    h.setCdReady(false);
    sendFails("a", "SendToCustom", FileError);
    sendFails("img", "SendToCustom", FolderError);
    h.setCdReady(true);
    // The hard-disk folder's index cannot be read any more.
    clickDiscList({Pop, "pop_hard\\pop"});
    fs::remove(h.nativePath(indexPath(Pop)));
    sendFails("top", "SendToMyDocument", FileError);
    EXPECT_FALSE(h.exists("C:\\xdg\\Documents\\top.mp3"));
}

// A target that cannot take the copy is told as it is, before anything is
// read, never with the causes of a failed copy (the disc, a name already
// there, a bad disc): D盘 without a folder drive D:, an own folder that is
// gone or whose drive is gone.
TEST_F(SendTo, ATargetThatIsNotThereIsToldAsItIs) {
    h.makeFolder("C:\\work");
    defineOwnFolder("C:\\work");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    const std::string noD = "驱动器 D: 不存在或没有映射到文件夹，请另选一个文件夹。";
    // No D: in the table.
    h.ui.answerMsgBox(platform::MsgOK, noD);
    send("a", "SendToDpan");
    // D: an optical drive.
    h.write("C:\\cd2\\x", "");
    h.drives().set({.name = "D:",
                    .folder = h.nativePath("C:\\cd2"),
                    .kind = platform::files::DriveKind::CdRom});
    h.ui.answerMsgBox(platform::MsgOK, noD);
    send("README", "SendToDpan");
    // The own folder is gone, or its drive.
    fs::remove_all(h.nativePath("C:\\work"));
    h.ui.answerMsgBox(platform::MsgOK, "文件夹不存在：C:\\work");
    send("a", "SendToCustom");
    h.ui.answerMsgBox(platform::MsgOK, "文件夹不存在：C:\\work");
    send("img", "SendToCustom");
    h.makeFolder("C:\\f");
    h.drives().set({.name = "F:", .folder = h.nativePath("C:\\f")});
    defineOwnFolder("F:\\");
    h.drives().remove("F:");
    h.ui.answerMsgBox(platform::MsgOK, "驱动器 F: 不存在或没有映射到文件夹，请另选一个文件夹。");
    send("a", "SendToCustom");

    for (const std::string& box : boxes()) EXPECT_EQ(box.rfind("提示: ", 0), 0u) << box;
    EXPECT_EQ(boxes().size(), 5u);
    EXPECT_FALSE(h.exists("C:\\a.txt"));
    EXPECT_FALSE(h.exists("C:\\README"));
    EXPECT_FALSE(h.exists("C:\\cd2\\README"));
    EXPECT_FALSE(h.exists("C:\\work"));
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
}

// The documents folder ("c:\My Documents") missing: it is made, and the copy
// goes in.
TEST_F(SendTo, AMissingDocumentsFolderIsMade) {
    fs::remove_all(h.nativePath("C:\\xdg\\Documents"));
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    send("a", "SendToMyDocument");
    EXPECT_EQ(h.readBytes("C:\\xdg\\Documents\\a.txt"), "text of a");
    send("img", "SendToMyDocument");
    EXPECT_EQ(h.readBytes("C:\\xdg\\Documents\\img\\b.gif"), "GIF89a");
    EXPECT_TRUE(boxes().empty());

    // Where it cannot be made (a file in its place), that is told.
    fs::remove_all(h.nativePath("C:\\xdg\\Documents"));
    h.write("C:\\xdg\\Documents", "a file");
    h.ui.answerMsgBox(platform::MsgOK);
    send("a", "SendToMyDocument");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].rfind("提示: 不能建立文件夹: c:\\My Documents", 0), 0u) << boxes()[0];
    EXPECT_EQ(h.read("C:\\xdg\\Documents"), "a file");
}

}  // namespace

// Links that lead out of the disc or the catalogued folder, as the item or
// inside a folder sent, at each level: nothing outside is read into the
// target and each is named; the rest of a folder is copied.
TEST_F(SendTo, LinksThatLeadOutOfTheDiscOrTheFolderAreNamed) {
    h.write("C:\\secret\\a.txt", "secret");
    h.write("C:\\secret\\in\\b.txt", "secret b");
    h.makeFolder("C:\\work");
    defineOwnFolder("C:\\work");
    // README on the disc is a link to a file outside.
    fs::remove(h.nativePath("E:\\docs\\README"));
    fs::create_symlink(h.nativePath("C:\\secret\\a.txt"), h.nativePath("E:\\docs") + "/README");
    // img holds a link to a file and one to a folder outside, one level down.
    fs::create_symlink(h.nativePath("C:\\secret\\a.txt"), h.nativePath("E:\\docs\\img") + "/x.txt");
    fs::create_directory_symlink(h.nativePath("C:\\secret\\in"),
                                 h.nativePath("E:\\docs\\img\\old") + "/in");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    sendFails("README", "SendToCustom", "路径不在允许的文件夹里：E:\\docs\\README");
    EXPECT_FALSE(h.exists("C:\\work\\README"));
    h.ui.answerMsgBox(platform::MsgOK,
                      "路径不在允许的文件夹里：E:\\docs\\img\\old\\in\r\n"
                      "路径不在允许的文件夹里：E:\\docs\\img\\x.txt");
    send("img", "SendToCustom");
    EXPECT_EQ(h.readBytes("C:\\work\\img\\b.gif"), "GIF89a");
    EXPECT_EQ(h.readBytes("C:\\work\\img\\old\\c.wmf"), "wmf bytes");
    EXPECT_FALSE(h.exists("C:\\work\\img\\x.txt"));
    EXPECT_FALSE(h.exists("C:\\work\\img\\old\\in"));
    // A file of the catalogued hard-disk folder that is a link out of it.
    fs::remove(h.nativePath("C:\\music\\pop\\top.mp3"));
    fs::create_symlink(h.nativePath("C:\\secret\\a.txt"),
                       h.nativePath("C:\\music\\pop") + "/top.mp3");
    clickDiscList({Pop, "pop_hard\\pop"});
    sendFails("top", "SendToCustom", "路径不在允许的文件夹里：C:\\music\\pop\\top.mp3");
    EXPECT_FALSE(h.exists("C:\\work\\top.mp3"));
    EXPECT_EQ(h.readBytes("C:\\secret\\a.txt"), "secret");
}

// The target holds the item's name as a link to a file outside: it is never
// written through (an existing name is never replaced).
TEST_F(SendTo, ALinkInTheTargetIsNeverWrittenThrough) {
    h.write("C:\\secret\\a.txt", "secret");
    h.makeFolder("C:\\work");
    fs::create_symlink(h.nativePath("C:\\secret\\a.txt"), h.nativePath("C:\\work") + "/a.txt");
    defineOwnFolder("C:\\work");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    // Told as the refusal it is, not as a file that exists.
    sendFails("a", "SendToCustom", "路径不在允许的文件夹里：C:\\work\\a.txt");
    EXPECT_EQ(h.readBytes("C:\\secret\\a.txt"), "secret");
    EXPECT_TRUE(fs::is_symlink(h.nativePath("C:\\work") + "/a.txt"));
}
