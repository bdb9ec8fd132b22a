// The help file, the about box, the web links of the help menu and the
// desktop shortcut, each run from its menu item as the user runs it. The
// shell is the recording one: it opens nothing and says what it would open.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/about_dialog.h"
#include "mainwindow/desktop_entry.h"
#include "mainwindow/form1.h"
#include "platform/files/program_folder.h"
#include "platform/text/text.h"
#include "support/harness.h"
#include "support/temp_folder.h"

namespace {

using testsupport::Harness;

std::filesystem::path sourceTree() {
    const char* source = std::getenv("ZELBRIN_SOURCE_DIR");
    return source ? std::filesystem::path(source)
                  : std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

// Environment variables set for a test's length, then put back.
class ScopedEnv {
  public:
    void set(const char* name, const std::string& value) {
        const char* old = std::getenv(name);
        saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
        ::setenv(name, value.c_str(), 1);
    }
    void unset(const char* name) {
        const char* old = std::getenv(name);
        saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
        ::unsetenv(name);
    }
    ~ScopedEnv() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second)
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                ::unsetenv(it->first.c_str());
        }
    }

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class Help : public ::testing::Test {
  protected:
    void SetUp() override { h.start(); }
    Harness h;
};

// ---- the help file ----

TEST_F(Help, OpensTheInstalledHelpFileInTheHomeFolder) {
    // Installed as the program installs its resources.
    platform::files::installResources((sourceTree() / "webmodel").string(),
                                      h.nativePath("C:\\zelbrin"));
    const std::string help = h.readBytes("C:\\zelbrin\\help\\zelbrinhelp.htm");
    ASSERT_NE(help.find("<html"), std::string::npos);
    EXPECT_NE(help.find("扫描光盘生成索引文件"), std::string::npos);  // UTF-8, as the page says

    // The menu item and the toolbar's help button open it alike.
    h.form.content.userClick();
    h.form.Toolbar1.userClick("help");
    ASSERT_EQ(h.shell.calls().size(), 2u);
    for (const auto& call : h.shell.calls()) {
        EXPECT_EQ(call.target, "C:\\zelbrin\\help\\zelbrinhelp.htm");
        EXPECT_EQ(call.workDir, "C:\\");
        EXPECT_EQ(call.opened, h.nativePath("C:\\zelbrin\\help\\zelbrinhelp.htm"));
    }
    EXPECT_EQ(h.ui.pointers().back(), platform::PointerDefault);
    EXPECT_TRUE(h.ui.log().empty());
}

// The help file names every command of the menus, the pop-up menus and the
// toolbar by the caption the user sees, the pages, and the file list's
// columns as they are; its table of contents leads to sections that exist.
TEST(HelpFile, DescribesEveryCommandAndColumnTheWindowHas) {
    const std::string help =
        testsupport::readBytes(sourceTree() / "webmodel" / "help" / "zelbrinhelp.htm");
    ASSERT_TRUE(platform::text::isValidUtf8(help));
    ASSERT_NE(help.find("<meta charset=\"utf-8\">"), std::string::npos);
    Harness h;
    const Form1& f = h.form;

    std::vector<std::string> missing;
    auto expect = [&](const std::string& text) {
        if (help.find(text) == std::string::npos) missing.push_back(text);
    };
    std::function<void(const platform::MenuItem&)> walk = [&](const platform::MenuItem& item) {
        // The pop-up menus' own names are not shown; a caption that carries
        // a number is named by its words.
        const bool popup = item.parent() == nullptr && item.name().starts_with("pop");
        if (!popup && !item.isSeparator())
            expect(&item == &f.CopyAllSize ? "已经拷贝到硬盘上的文件大小是" : item.caption());
        for (const platform::MenuItem* sub : item.items()) walk(*sub);
    };
    for (const platform::MenuItem* menu : f.menus()) walk(*menu);
    for (const auto& button : f.Toolbar1.buttons())
        if (button->style() != platform::ToolbarButton::Separator) expect(button->toolTipText());
    for (const auto& tab : f.TabStrip1.tabs()) expect("<td>" + tab->caption() + "</td>");
    EXPECT_EQ(missing, std::vector<std::string>{});

    // The file list's columns, in their order and no other.
    ASSERT_EQ(f.ListView1.columns().size(), 5u);
    std::string columns = "文件列表有五栏：";
    for (std::size_t i = 0; i < f.ListView1.columns().size(); ++i)
        columns += (i ? "、<b>" : "<b>") + f.ListView1.columns()[i]->text() + "</b>";
    EXPECT_NE(help.find(columns + "。"), std::string::npos) << columns;

    // Every link of the page leads to an anchor of the page.
    for (std::size_t at = help.find("href=\"#"); at != std::string::npos;
         at = help.find("href=\"#", at + 1)) {
        const std::size_t start = at + 7;
        const std::string id = help.substr(start, help.find('"', start) - start);
        EXPECT_NE(help.find("id=\"" + id + "\""), std::string::npos) << id;
    }
}

TEST_F(Help, AMissingHelpFileOpensNothingAndSaysNothing) {
    h.form.content.userClick();
    ASSERT_EQ(h.shell.calls().size(), 1u);
    EXPECT_EQ(h.shell.calls()[0].opened, "");
    EXPECT_TRUE(h.ui.log().empty());
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
}

// ---- the web links ----

TEST_F(Help, EachWebLinkOpensItsOwnAddress) {
    Form1& f = h.form;
    const std::string site = "https://zelbrin.example.com/";
    struct Row {
        platform::MenuItem& item;
        std::string address;
    };
    const std::vector<Row> rows = {
        {f.Homepage, site},
        {f.HomepageDownload, site},
        {f.HomepageNewF, site + "newfun.html"},
        {f.HomepageFaq, site + "faq.htm"},
        {f.HomepageFaq1, site},
        {f.HomepageFAQ2, site + "links.htm"},
        {f.HomepageFAQ3, site + "default.htm"},
        {f.HomepageFAQ4, site + "news.htm"},
        {f.HomepageFAQ5, "mailto:author@zelbrin.example.com"},
        {f.HomepageSoft1, site + "download/discprint-setup.deb"},
        {f.HomepageSoft2, site + "download/tagrename-setup.deb"},
        {f.HomepageSoft3, site + "download/filecompare.tar.gz"},
        {f.HomepageSoft4, site + "download/webalbum.tar.gz"},
    };
    for (const Row& r : rows) {
        r.item.userClick();
        ASSERT_FALSE(h.shell.calls().empty());
        EXPECT_EQ(h.shell.calls().back().target, r.address) << r.item.name();
        EXPECT_EQ(h.shell.calls().back().workDir, "") << r.item.name();
    }
    EXPECT_EQ(h.shell.calls().size(), rows.size());
    EXPECT_TRUE(h.ui.log().empty());
}

// ---- the about box ----

TEST_F(Help, AboutBoxShowsTheLinksBlueThenRedAndOpensThem) {
    for (int round = 0; round < 2; ++round) {
        h.ui.onModal<about1>([&](about1& box) {
            EXPECT_EQ(box.caption(), "关于");
            EXPECT_EQ(box.Label1.caption(), "Zelbrin18.0");
            for (platform::Label* link : {&box.Label7, &box.Label9, &box.Label10}) {
                EXPECT_EQ(link->foreColor(), about1::LinkColor) << link->name();
                EXPECT_TRUE(link->fontUnderline()) << link->name();
                EXPECT_TRUE(link->autoSize()) << link->name();
            }
            EXPECT_EQ(box.Label7.caption(), "https://zelbrin.example.com/");
            EXPECT_EQ(box.Label9.caption(), "https://directory.example.com/");
            EXPECT_EQ(box.Label10.caption(), "https://books.example.com/");
            // Once the mouse has passed over a link, it stays red.
            box.Label9.userMouseMove(0, 0, 30, 30);
            box.userMouseMove(0, 0, 10, 10);
            EXPECT_EQ(box.Label9.foreColor(), about1::HoverColor);
            EXPECT_TRUE(box.Label9.fontUnderline());
            EXPECT_EQ(box.Label7.foreColor(), about1::LinkColor);
            box.Label10.userClick();
            box.CancelButton.userClick();
            EXPECT_FALSE(box.loaded());
        });
        h.form.about.userClick();
        h.ui.verifyAllUsed();
    }
    ASSERT_EQ(h.shell.calls().size(), 2u);
    EXPECT_EQ(h.shell.calls()[1].target, "https://books.example.com/");
    EXPECT_EQ(h.shell.calls()[1].workDir, "");
}

// ---- the desktop shortcut ----

// The Exec value read back as a launcher reads it: the string escapes first,
// then the arguments split at blanks outside quotes, the backslash escapes
// inside quotes undone, and "%%" made "%".
std::vector<std::string> launcherArguments(const std::string& value) {
    std::string line;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            line += value[i];
            continue;
        }
        const char e = value[++i];
        line += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e == 's' ? ' ' : e;
    }
    std::vector<std::string> args;
    std::string arg;
    bool quoted = false, inArg = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < line.size()) {
                const char n = line[++i];
                EXPECT_NE(std::string("\"`$\\").find(n), std::string::npos) << "\\" << n;
                arg += n;
            } else {
                EXPECT_TRUE(c != '`' && c != '$' && c != '"') << "unescaped " << c;
                arg += c;
            }
        } else if (c == ' ') {
            if (inArg) args.push_back(arg);
            arg.clear();
            inArg = false;
            continue;
        } else if (c == '"') {
            quoted = true;
        } else {
            // Outside quotes no reserved character may stand.
            EXPECT_EQ(std::string(" \t\n\"'\\><~|&;$*?#()`").find(c), std::string::npos)
                << "reserved " << c << " in " << value;
            arg += c;
        }
        inArg = true;
    }
    EXPECT_FALSE(quoted) << value;
    if (inArg) args.push_back(arg);
    for (std::string& a : args) {
        std::string out;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i] == '%') {
                EXPECT_TRUE(i + 1 < a.size() && a[i + 1] == '%') << "field code in " << a;
                ++i;
            }
            out += a[i];
        }
        a = out;
    }
    return args;
}

TEST(DesktopEntry, ExecQuotesThePathAsTheDesktopEntryFormatWants) {
    struct Row {
        std::string path, home, exec;
    };
    for (const Row& r : std::vector<Row>{
             {"/usr/bin/zelbrin", "", R"("/usr/bin/zelbrin")"},
             {"/opt/my apps/zelbrin", "", R"("/opt/my apps/zelbrin")"},
             {"/opt/a$b/zel`x`", "", R"("/opt/a\\$b/zel\\`x\\`")"},
             {"/opt/\"q\"/z", "", R"("/opt/\\"q\\"/z")"},
             {"/opt/back\\slash/z", "", R"("/opt/back\\\\slash/z")"},
             {"/opt/100%/z", "", R"("/opt/100%%/z")"},
             {"/opt/line\nbreak/z", "", R"("/opt/line\nbreak/z")"},
             {"/opt/光盘/zelbrin", "", R"("/opt/光盘/zelbrin")"},
             // The portable folder goes along through env.
             {"/usr/bin/zelbrin", "/data/zel",
              R"(env "ZELBRIN_HOME=/data/zel" "/usr/bin/zelbrin")"},
             {"/opt/z b/zelbrin", "/home/u/My Discs",
              R"(env "ZELBRIN_HOME=/home/u/My Discs" "/opt/z b/zelbrin")"},
             {"/usr/bin/zelbrin", "/d/50%$HOME`x`\"q\"\\b",
              R"(env "ZELBRIN_HOME=/d/50%%\\$HOME\\`x\\`\\"q\\"\\\\b" "/usr/bin/zelbrin")"},
             {"/usr/bin/zelbrin", "/d/a'b;c&d|e<f>g~h#i*j?k(l)",
              R"x(env "ZELBRIN_HOME=/d/a'b;c&d|e<f>g~h#i*j?k(l)" "/usr/bin/zelbrin")x"},
             {"/usr/bin/zelbrin", "/home/用户/光盘 目录",
              R"(env "ZELBRIN_HOME=/home/用户/光盘 目录" "/usr/bin/zelbrin")"},
             {"/usr/bin/zelbrin", "/d/tab\there\nline",
              R"(env "ZELBRIN_HOME=/d/tab\there\nline" "/usr/bin/zelbrin")"},
         }) {
        SCOPED_TRACE(r.path + " | " + r.home);
        EXPECT_EQ(desktopentry::execValue(r.path, r.home), r.exec);
        std::vector<std::string> expected;
        if (!r.home.empty()) expected = {"env", "ZELBRIN_HOME=" + r.home};
        expected.push_back(r.path);
        EXPECT_EQ(launcherArguments(desktopentry::execValue(r.path, r.home)), expected);
    }
    // Names no entry can carry give no entry: bytes that are not UTF-8,
    // control characters without an escape, no program.
    for (const auto& [path, home] : std::vector<std::pair<std::string, std::string>>{
             {"/opt/\xb9\xe2/zelbrin", ""},
             {"/usr/bin/zelbrin", "/d/\xff"},
             {"/opt/bell\a/zelbrin", ""},
             {"/usr/bin/zelbrin", "/d/\x1b"},
             {"", "/d"},
         }) {
        EXPECT_EQ(desktopentry::execValue(path, home), "") << path << " | " << home;
        EXPECT_EQ(desktopentry::entryText(path, home), "") << path << " | " << home;
    }
}

class Shortcut : public Help {
  protected:
    void SetUp() override {
        env.set("HOME", home.path().string());
        env.set("XDG_CONFIG_HOME", (home / ".config").string());
        env.unset("ZELBRIN_HOME");
        Help::SetUp();
    }
    std::string expectedEntry() const {
        return "[Desktop Entry]\n"
               "Type=Application\n"
               "Version=1.0\n"
               "Name=Zelbrin\n"
               "Comment=光盘目录管理\n"
               "Exec=" +
               desktopentry::execValue(desktopentry::runningProgram()) +
               "\n"
               "Icon=zelbrin\n"
               "Terminal=false\n";
    }
    testsupport::TempFolder home;
    ScopedEnv env;
};

TEST_F(Shortcut, WritesTheEntryIntoTheDesktopFolderOfUserDirs) {
    testsupport::writeBytes(home / ".config" / "user-dirs.dirs",
                            "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n");
    std::filesystem::create_directories(home / "桌面");
    h.form.CreateShortcut.userClick();
    const std::filesystem::path entry = home / "桌面" / "Zelbrin.desktop";
    EXPECT_EQ(testsupport::readBytes(entry), expectedEntry());
    struct stat st {};
    ASSERT_EQ(::stat(entry.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    EXPECT_FALSE(std::filesystem::exists(home / "Desktop"));
    EXPECT_TRUE(h.ui.log().empty());
    EXPECT_EQ(h.ui.pointers(),
              (std::vector<int>{platform::PointerHourglass, platform::PointerDefault}));
    // The exec line names the running program, quoted.
    EXPECT_NE(expectedEntry().find("Exec=\"/"), std::string::npos);
}

TEST_F(Shortcut, WithoutUserDirsGoesToDesktopAndReplacesAnOldEntry) {
    testsupport::writeBytes(home / "Desktop" / "Zelbrin.desktop", "old");
    h.form.CreateShortcut.userClick();
    EXPECT_EQ(testsupport::readBytes(home / "Desktop" / "Zelbrin.desktop"), expectedEntry());
    EXPECT_EQ(testsupport::entryCount(home / "Desktop"), 1);  // no temporary file left
}

TEST_F(Shortcut, APortableFolderGoesIntoTheCommandLine) {
    // Started with its data in a folder of its own, the program's shortcut
    // starts it on the same folder.
    const std::filesystem::path portable = home / "My Discs";
    env.set("ZELBRIN_HOME", portable.string() + "/");
    h.form.CreateShortcut.userClick();
    const std::string entry = testsupport::readBytes(home / "Desktop" / "Zelbrin.desktop");
    const std::string program = desktopentry::runningProgram();
    EXPECT_NE(
        entry.find("\nExec=env \"ZELBRIN_HOME=" + portable.string() + "\" \"" + program + "\"\n"),
        std::string::npos)
        << entry;
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(Shortcut, ADesktopThatCannotBeWrittenPassesSilently) {
    // A file where the desktop folder should be.
    testsupport::writeBytes(home / "Desktop", "not a folder");
    h.form.CreateShortcut.userClick();
    EXPECT_EQ(testsupport::readBytes(home / "Desktop"), "not a folder");
    EXPECT_TRUE(h.ui.log().empty());
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
}

}  // namespace
