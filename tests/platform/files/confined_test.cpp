// The confined layer: every change stays beneath its root, whatever links,
// ".." or absolute paths the relative path or the folders on its way hold.
#include "platform/files/confined.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#include "files_fixture.h"
#include "platform/files/file_ops.h"
#include "platform/files/files_internal.h"
#include "platform/files/listing.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "support/outside_snapshot.h"

namespace {

using namespace platform::files;
using files_test::errorOf;
using files_test::readBytes;
using files_test::writeBytes;
namespace fs = std::filesystem;

const std::string Outside = "路径不在允许的文件夹里：";

using Snapshot = testsupport::OutsideSnapshot;

Snapshot snapshot(const fs::path& top, const fs::path& leftOut) {
    return testsupport::outsideSnapshot(top, leftOut);
}

// The error a change raised: its number and text.
struct Raised {
    int number = 0;
    std::string text;
};

Raised raisedBy(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::Error& e) {
        return {e.number(), e.description()};
    }
    return {};
}

// C:\root is the root; beside it C:\outside with a read-only file and a
// folder, and E:\e.txt on another drive. Every level of the root (the root,
// sub, sub\deep) holds links out: to the file and to the folder, by absolute
// and by relative ("..") text. Inside: a link to a folder inside (in -> sub)
// and to a file inside (sub\up -> ../a.txt).
class ConfinedLayout : public files_test::FilesTest {
  protected:
    ConfinedLayout() {
        writeBytes(root() + "/a.txt", "inside");
        writeBytes(root() + "/sub/b.txt", "b");
        writeBytes(root() + "/sub/deep/c.txt", "c");
        writeBytes(outside() + "/secret.txt", "secret");
        ::chmod((outside() + "/secret.txt").c_str(), 0444);
        writeBytes(outside() + "/dir/x.txt", "x");
        writeBytes(cd() + "/e.txt", "e");
        const std::string climb[] = {"../outside", "../../outside", "../../../outside"};
        for (std::size_t i = 0; i < levels().size(); ++i) {
            const std::string at = native(levels()[i]);
            fs::create_symlink(outside() + "/secret.txt", at + "/lf");
            fs::create_directory_symlink(outside() + "/dir", at + "/ld");
            fs::create_symlink(climb[i] + "/secret.txt", at + "/rf");
            fs::create_directory_symlink(climb[i] + "/dir", at + "/rd");
        }
        fs::create_directory_symlink("sub", root() + "/in");
        fs::create_symlink("../a.txt", root() + "/sub/up");
        fs::create_symlink("nothing-here", root() + "/sub/dangling");
    }
    std::string root() const { return c() + "/root"; }
    std::string outside() const { return c() + "/outside"; }
    static const std::vector<std::string>& levels() {
        static const std::vector<std::string> l = {"", "sub", "sub\\deep"};
        return l;
    }
    std::string native(const std::string& relative) const {
        std::string r = relative;
        std::replace(r.begin(), r.end(), '\\', '/');
        return r.empty() ? root() : root() + "/" + r;
    }
    static std::string under(const std::string& level, const std::string& name) {
        return level.empty() ? name : level + "\\" + name;
    }
    // Everything but the root.
    Snapshot world() const { return snapshot(fs::path(c()).parent_path(), root()); }

    mode_t modeOf(const std::string& path) const {
        struct stat st {};
        ::lstat(path.c_str(), &st);
        return st.st_mode & 07777;
    }
};

// The same with each of the two resolutions: openat2, and the walk that
// stands in for it where the system has none.
class ConfinedTest : public ConfinedLayout, public ::testing::WithParamInterface<Resolution> {
  protected:
    ConfinedTest() : resolution_(GetParam()) {}
    void SetUp() override {
        if (GetParam() == Resolution::Openat2 && !openat2Available())
            GTEST_SKIP() << "this system has no openat2";
    }

  private:
    ScopedResolution resolution_;
};

std::string resolutionName(const ::testing::TestParamInfo<Resolution>& info) {
    return info.param == Resolution::Openat2 ? "openat2" : "walk";
}

INSTANTIATE_TEST_SUITE_P(Resolutions, ConfinedTest,
                         ::testing::Values(Resolution::Openat2, Resolution::Walk), resolutionName);

// A change at a path, and which of its paths is the one refused.
struct Change {
    const char* name;
    std::function<void(const ConfinedRoot&, const std::string&)> run;
};

std::vector<Change> changes() {
    return {
        {"create folder", [](const ConfinedRoot& r, const std::string& p) { r.createFolder(p); }},
        {"create folders", [](const ConfinedRoot& r, const std::string& p) { r.createFolders(p); }},
        {"write", [](const ConfinedRoot& r, const std::string& p) { r.write(p, "new"); }},
        {"write new only", [](const ConfinedRoot& r,
                              const std::string& p) { r.write(p, "new", OnExisting::Refuse); }},
        {"append", [](const ConfinedRoot& r, const std::string& p) { r.append(p, "more"); }},
        {"rewrite text",
         [](const ConfinedRoot& r, const std::string& p) { WholeFileRewrite(r, p, "new"); }},
        {"text file",
         [](const ConfinedRoot& r, const std::string& p) {
             CommittedTextFile f(r, p, OnExisting::Replace);
             f.print("new");
             f.commit();
         }},
        {"copy into", [](const ConfinedRoot& r,
                         const std::string& p) { r.copyInto(p, r, "a.txt", OnExisting::Replace); }},
        {"copy from",
         [](const ConfinedRoot& r, const std::string& p) {
             r.copyInto("copy.txt", r, p, OnExisting::Replace);
         }},
        {"copy folder into",
         [](const ConfinedRoot& r, const std::string& p) {
             r.copyFolderInto(p, r, "sub\\deep", OnExisting::Replace);
         }},
        {"copy folder from",
         [](const ConfinedRoot& r, const std::string& p) {
             r.copyFolderInto("copied", r, p, OnExisting::Replace);
         }},
        {"rename from", [](const ConfinedRoot& r,
                           const std::string& p) { r.rename(p, "moved.txt", OnExisting::Refuse); }},
        {"rename to", [](const ConfinedRoot& r,
                         const std::string& p) { r.rename("a.txt", p, OnExisting::Replace); }},
        {"link from",
         [](const ConfinedRoot& r, const std::string& p) { r.hardLink(p, "linked.txt"); }},
        {"link to", [](const ConfinedRoot& r, const std::string& p) { r.hardLink("a.txt", p); }},
        {"delete", [](const ConfinedRoot& r, const std::string& p) { r.remove(p); }},
        {"delete read-only too",
         [](const ConfinedRoot& r, const std::string& p) { r.remove(p, ReadOnlyToo::Yes); }},
        {"delete folder", [](const ConfinedRoot& r, const std::string& p) { r.removeFolder(p); }},
        {"set attributes",
         [](const ConfinedRoot& r, const std::string& p) { r.setAttributes(p, attr::Archive); }},
        {"status", [](const ConfinedRoot& r, const std::string& p) { r.status(p); }},
        {"sub-root", [](const ConfinedRoot& r, const std::string& p) { r.folder(p); }},
    };
}

// Through a link out at any level, by a ".." above the root, or by an
// absolute path or another drive's: every change is refused with the path,
// and nothing outside the root changes (bytes, modes, names, new folders);
// the root keeps what it had.
TEST_P(ConfinedTest, EveryChangeThroughAPathThatLeavesTheRootIsRefusedAndChangesNothing) {
    struct Path {
        std::string relative;
        std::string shown;
    };
    std::vector<Path> paths;
    for (const std::string& level : levels()) {
        for (const char* link : {"ld", "rd"}) {
            for (const char* rest : {"x.txt", "new.txt", "new\\x.txt"}) {
                const std::string p = under(level, std::string(link) + "\\" + rest);
                paths.push_back({p, "C:\\root\\" + p});
            }
        }
    }
    for (const char* p : {"..\\outside\\secret.txt", "sub\\..\\..\\outside\\secret.txt",
                          "sub\\deep\\..\\..\\..\\outside\\dir\\x.txt", "..\\root2\\x.txt",
                          "sub/../../outside/new"}) {
        paths.push_back({p, "C:\\root\\" + std::string(p)});
        std::replace(paths.back().shown.begin(), paths.back().shown.end(), '/', '\\');
    }
    for (const char* p :
         {"C:\\outside\\secret.txt", "c:outside\\dir", "E:\\e.txt", "\\outside", "/etc/passwd"}) {
        paths.push_back({p, p});
    }

    const ConfinedRoot r = ConfinedRoot::open("C:\\root");
    const Snapshot outsideBefore = world();
    const Snapshot rootBefore = snapshot(root(), "");
    for (const Change& change : changes()) {
        for (const Path& path : paths) {
            SCOPED_TRACE(std::string(change.name) + " " + path.relative);
            const Raised raised = raisedBy([&] { change.run(r, path.relative); });
            EXPECT_EQ(raised.number, 75);
            EXPECT_EQ(raised.text, Outside + path.shown);
        }
        EXPECT_EQ(world(), outsideBefore) << change.name;
        EXPECT_EQ(snapshot(root(), ""), rootBefore) << change.name;
    }
}

// A link as the last name: a delete or rename acts on the link itself, a
// copy replaces it, a change of attributes and a write that would follow it
// out are refused; its target never changes.
TEST_P(ConfinedTest, ALinkAsTheLastNameIsActedOnItselfOrRefusedNeverItsTarget) {
    const ConfinedRoot r = ConfinedRoot::open("C:\\root");
    const Snapshot outsideBefore = world();
    struct Case {
        const char* name;
        std::function<void(const std::string&)> run;
        int error;             // 0: done
        bool linkStays;        // the link is still there, as it was
        const char* replaced;  // the bytes of the file now in its place, or nothing
    };
    const Case cases[] = {
        {"delete", [&](const std::string& p) { r.remove(p); }, 0, false, nullptr},
        {"delete read-only too", [&](const std::string& p) { r.remove(p, ReadOnlyToo::Yes); }, 0,
         false, nullptr},
        {"delete folder", [&](const std::string& p) { r.removeFolder(p); }, 0, false, nullptr},
        {"rename", [&](const std::string& p) { r.rename(p, "renamed", OnExisting::Refuse); }, 0,
         false, nullptr},
        {"set attributes", [&](const std::string& p) { r.setAttributes(p, attr::Archive); }, 75,
         true, nullptr},
        {"set read-only", [&](const std::string& p) { r.setAttributes(p, attr::ReadOnly); }, 75,
         true, nullptr},
        {"write", [&](const std::string& p) { r.write(p, "new"); }, 75, true, nullptr},
        {"append", [&](const std::string& p) { r.append(p, "more"); }, 75, true, nullptr},
        {"rewrite text", [&](const std::string& p) { WholeFileRewrite(r, p, "new"); }, 75, true,
         nullptr},
        {"copy over it",
         [&](const std::string& p) { r.copyInto(p, r, "a.txt", OnExisting::Replace); }, 0, false,
         "inside"},
        {"copy beside it",
         [&](const std::string& p) { r.copyInto(p, r, "a.txt", OnExisting::Refuse); }, 75, true,
         nullptr},
        {"copy from it",
         [&](const std::string& p) { r.copyInto("copy", r, p, OnExisting::Replace); }, 75, true,
         nullptr},
        {"create folder", [&](const std::string& p) { r.createFolder(p); }, 75, true, nullptr},
        {"link to it", [&](const std::string& p) { r.hardLink("a.txt", p); }, 75, true, nullptr},
        {"rename beside it",
         [&](const std::string& p) { r.rename("sub\\b.txt", p, OnExisting::Refuse); }, 75, true,
         nullptr},
        {"copy folder beside it",
         [&](const std::string& p) { r.copyFolderInto(p, r, "sub\\deep", OnExisting::Refuse); }, 75,
         true, nullptr},
        {"create folders", [&](const std::string& p) { r.createFolders(p); }, 75, true, nullptr},
        {"rename over it",
         [&](const std::string& p) { r.rename("sub\\b.txt", p, OnExisting::Replace); }, 0, false,
         "b"},
    };
    // Links out to names not made yet, by absolute and by relative text.
    for (const std::string& level : levels()) {
        fs::create_symlink(outside() + "/none.txt", native(under(level, "ln")));
        fs::create_symlink("../../../../outside/none", native(under(level, "rn")));
    }
    for (const std::string& level : levels()) {
        for (const char* link : {"lf", "rf", "ld", "rd", "ln", "rn"}) {
            const std::string p = under(level, link);
            const std::string at = native(p);
            for (const Case& k : cases) {
                SCOPED_TRACE(std::string(k.name) + " " + p);
                const std::string text = fs::read_symlink(at).string();
                if (!fs::exists(root() + "/sub/b.txt")) writeBytes(root() + "/sub/b.txt", "b");
                const Raised raised = raisedBy([&] { k.run(p); });
                EXPECT_EQ(raised.number, k.error) << raised.text;
                if (k.error == 75) {
                    EXPECT_EQ(raised.text, Outside + "C:\\root\\" + p);
                }
                EXPECT_EQ(fs::is_symlink(at), k.linkStays);
                if (k.replaced) {
                    EXPECT_EQ(readBytes(at), k.replaced);
                } else if (!k.linkStays) {
                    EXPECT_FALSE(fs::exists(fs::symlink_status(at)));
                }
                EXPECT_EQ(world(), outsideBefore);
                // Put the link back as it was.
                std::error_code ec;
                fs::remove(at, ec);
                fs::remove(root() + "/renamed", ec);
                fs::create_symlink(text, at);
            }
        }
    }
    EXPECT_EQ(modeOf(outside() + "/secret.txt"), 0444u);
}

// Links inside the root that stay inside are followed for the folders on the
// way, and by a write at the last name: the file it names is replaced.
TEST_P(ConfinedTest, LinksThatStayInsideAreFollowed) {
    const ConfinedRoot r = ConfinedRoot::open("C:\\root");
    r.write("in\\b.txt", "through in");
    EXPECT_EQ(readBytes(root() + "/sub/b.txt"), "through in");
    r.write("sub\\up", "through up");
    EXPECT_TRUE(fs::is_symlink(root() + "/sub/up"));
    EXPECT_EQ(readBytes(root() + "/a.txt"), "through up");
    r.createFolders("in\\deep\\new\\more");
    EXPECT_TRUE(fs::is_directory(root() + "/sub/deep/new/more"));
    r.copyInto("in\\copy.txt", r, "sub\\up", OnExisting::Refuse);
    EXPECT_EQ(readBytes(root() + "/sub/copy.txt"), "through up");
    EXPECT_EQ(r.status("in\\deep\\c.txt")->size, 1u);
    EXPECT_TRUE(r.status("sub\\up", Follow::No)->isLink);
    EXPECT_EQ(r.status("sub\\up")->size, 10u);
    EXPECT_FALSE(r.status("sub\\dangling"));
    EXPECT_TRUE(r.exists("sub\\dangling"));
    EXPECT_FALSE(r.exists("sub\\missing\\x"));
    // A sub-root reached through a link inside, and its own refusals.
    const ConfinedRoot sub = r.folder("IN");
    EXPECT_EQ(sub.windowsPath(), "C:\\root\\IN");
    sub.write("deep\\d.txt", "d");
    EXPECT_EQ(readBytes(root() + "/sub/deep/d.txt"), "d");
    const Raised raised = raisedBy([&] { sub.write("..\\a.txt", "out of sub"); });
    EXPECT_EQ(raised.number, 75);
    EXPECT_EQ(raised.text, Outside + "C:\\root\\IN\\..\\a.txt");
    EXPECT_EQ(readBytes(root() + "/a.txt"), "through up");
}

// Names are found as the drive table finds them: exactly, else the one entry
// that matches ignoring case; a delete and a change of mode only exactly.
TEST_P(ConfinedTest, NamesAreFoundExactlyOrByTheOneMatchIgnoringCase) {
    const ConfinedRoot r = ConfinedRoot::open("c:\\ROOT");
    EXPECT_EQ(r.windowsPath(), "C:\\ROOT");
    EXPECT_EQ(r.relativeOf("C:\\root\\Sub\\B.TXT"), "Sub\\B.TXT");
    EXPECT_EQ(r.relativeOf("C:\\root"), "");
    EXPECT_EQ(r.relativeOf("C:\\root\\sub\\..\\a.txt"), "a.txt");
    for (const char* p : {"C:\\root\\..\\outside\\secret.txt", "C:\\root2\\a.txt", "E:\\e.txt",
                          "C:\\My Documents\\x", "C:\\"}) {
        const Raised raised = raisedBy([&] { r.relativeOf(p); });
        EXPECT_EQ(raised.number, 75) << p;
        EXPECT_EQ(raised.text, Outside + p);
    }
    EXPECT_EQ(errorOf([&] { r.relativeOf("C:\\..\\..\\etc"); }), 52);
    EXPECT_EQ(errorOf([&] { r.relativeOf("Q:\\root"); }), 68);

    r.write("SUB\\B.TXT", "found");
    EXPECT_EQ(readBytes(root() + "/sub/b.txt"), "found");
    EXPECT_FALSE(fs::exists(root() + "/SUB"));
    // A delete or a change of mode never by a match ignoring case.
    EXPECT_EQ(errorOf([&] { r.remove("sub\\B.TXT"); }), 53);
    EXPECT_EQ(errorOf([&] { r.setAttributes("sub\\B.TXT", attr::ReadOnly); }), 53);
    EXPECT_EQ(readBytes(root() + "/sub/b.txt"), "found");
    EXPECT_EQ(modeOf(root() + "/sub/b.txt") & 0200, 0200u);
    // Two names that match ignoring case: neither is taken for a third
    // spelling. A change that makes the name makes it beside them; any other
    // refuses the third spelling, as a read refuses it.
    writeBytes(root() + "/Two.txt", "1");
    writeBytes(root() + "/two.txt", "2");
    for (const Change& change : changes()) {
        SCOPED_TRACE(change.name);
        const Raised raised = raisedBy([&] { change.run(r, "TWO.TXT"); });
        const std::string name = change.name;
        if (name == "create folder" || name == "create folders" || name == "write new only" ||
            name == "copy into" || name == "copy folder into" || name == "link to") {
            // (sub\deep, copied as TWO.TXT, holds a link leading out.)
            if (name == "copy folder into")
                EXPECT_EQ(raised.text, Outside + "C:\\ROOT\\sub\\deep\\ld");
            else
                EXPECT_EQ(raised.number, 0) << raised.text;
            EXPECT_TRUE(fs::exists(root() + "/TWO.TXT"));
            fs::remove_all(root() + "/TWO.TXT");
        } else if (name == "delete" || name == "delete read-only too" || name == "set attributes") {
            EXPECT_EQ(raised.number, 53);  // never a name but the exact one
        } else if (name == "delete folder") {
            EXPECT_EQ(raised.number, 76);
        } else {
            EXPECT_EQ(raised.number, 75);
            EXPECT_EQ(raised.text, std::string(AmbiguousNameText) + "C:\\ROOT\\TWO.TXT");
        }
    }
    EXPECT_EQ(errorOf([] { WholeFileRead("C:\\root\\TWO.TXT"); }), 75);
    EXPECT_EQ(readBytes(root() + "/Two.txt"), "1");
    EXPECT_EQ(readBytes(root() + "/two.txt"), "2");
    EXPECT_FALSE(fs::exists(root() + "/TWO.TXT"));
    // A rename to another letter case renames in place.
    r.rename("a.txt", "A.TXT", OnExisting::Refuse);
    EXPECT_EQ(readBytes(root() + "/A.TXT"), "inside");
    EXPECT_FALSE(fs::exists(root() + "/a.txt"));
    EXPECT_EQ(errorOf([&] { r.rename("A.TXT", "sub\\b.txt", OnExisting::Refuse); }), 58);
}

// A name a change makes is taken exactly as spelt: beside a file "Only.txt"
// and a folder "Dir", each create of "only.txt", "ONLY.TXT" or "DIR" makes
// that name and leaves the one spelt alike as it was; an exact name that is
// there is what a create that refuses existing names refuses. A rewrite (a
// write or rename that may replace) still finds the one name spelt alike,
// as does a folder on the way. With and without the listings of a run.
TEST_P(ConfinedTest, NamesAChangeMakesAreTakenExactlyAsSpelt) {
    struct Case {
        const char* name;
        std::function<void(const ConfinedRoot&)> run;
        int error;                                 // raised, 0 none
        std::vector<std::string> names;            // of the folder afterwards, sorted
        std::map<std::string, std::string> files;  // their bytes afterwards
    };
    const std::vector<std::string> before = {"Dir", "Only.txt", "a.txt"};
    const std::vector<Case> cases = {
        // Makes the name given beside the one spelt alike.
        {"create folder",
         [](const ConfinedRoot& r) { r.createFolder("ONLY.TXT"); },
         0,
         {"Dir", "ONLY.TXT", "Only.txt", "a.txt"},
         {}},
        {"create folders",
         [](const ConfinedRoot& r) { r.createFolders("DIR\\x"); },
         0,
         {"DIR", "Dir", "Only.txt", "a.txt"},
         {}},
        {"write new only",
         [](const ConfinedRoot& r) { r.write("only.txt", "new", OnExisting::Refuse); },
         0,
         {"Dir", "Only.txt", "a.txt", "only.txt"},
         {{"only.txt", "new"}}},
        {"text file new only",
         [](const ConfinedRoot& r) {
             CommittedTextFile f(r, "only.txt", OnExisting::Refuse);
             f.print("new");
             f.commit();
         },
         0,
         {"Dir", "Only.txt", "a.txt", "only.txt"},
         {{"only.txt", "new\r\n"}}},
        {"copy into",
         [](const ConfinedRoot& r) { r.copyInto("only.txt", r, "a.txt", OnExisting::Refuse); },
         0,
         {"Dir", "Only.txt", "a.txt", "only.txt"},
         {{"only.txt", "A"}}},
        {"copy into replacing",
         [](const ConfinedRoot& r) { r.copyInto("only.txt", r, "a.txt", OnExisting::Replace); },
         0,
         {"Dir", "Only.txt", "a.txt", "only.txt"},
         {{"only.txt", "A"}}},
        {"copy folder into",
         [](const ConfinedRoot& r) { r.copyFolderInto("DIR", r, "Dir", OnExisting::Refuse); },
         0,
         {"DIR", "Dir", "Only.txt", "a.txt"},
         {{"DIR/in.txt", "in"}}},
        {"copy folder into replacing",
         [](const ConfinedRoot& r) { r.copyFolderInto("dir", r, "Dir", OnExisting::Replace); },
         0,
         {"Dir", "Only.txt", "a.txt", "dir"},
         {{"dir/in.txt", "in"}}},
        {"rename new only",
         [](const ConfinedRoot& r) { r.rename("a.txt", "ONLY.TXT", OnExisting::Refuse); },
         0,
         {"Dir", "ONLY.TXT", "Only.txt"},
         {{"ONLY.TXT", "A"}}},
        {"hard link",
         [](const ConfinedRoot& r) { r.hardLink("a.txt", "only.txt"); },
         0,
         {"Dir", "Only.txt", "a.txt", "only.txt"},
         {{"only.txt", "A"}}},
        // The exact name is there: refused, nothing made.
        {"create folder there",
         [](const ConfinedRoot& r) { r.createFolder("Dir"); },
         58,
         before,
         {}},
        {"write new only there",
         [](const ConfinedRoot& r) { r.write("Only.txt", "new", OnExisting::Refuse); },
         58,
         before,
         {}},
        {"copy into there",
         [](const ConfinedRoot& r) { r.copyInto("Only.txt", r, "a.txt", OnExisting::Refuse); },
         58,
         before,
         {}},
        {"rename new only there",
         [](const ConfinedRoot& r) { r.rename("a.txt", "Only.txt", OnExisting::Refuse); },
         58,
         before,
         {}},
        {"hard link there",
         [](const ConfinedRoot& r) { r.hardLink("a.txt", "Only.txt"); },
         58,
         before,
         {}},
        // A rewrite finds the one name spelt alike, which keeps its name.
        {"write",
         [](const ConfinedRoot& r) { r.write("only.txt", "new"); },
         0,
         before,
         {{"Only.txt", "new"}}},
        {"append",
         [](const ConfinedRoot& r) { r.append("ONLY.TXT", "+"); },
         0,
         before,
         {{"Only.txt", "only+"}}},
        {"rewrite text",
         [](const ConfinedRoot& r) { WholeFileRewrite(r, "only.TXT", "new"); },
         0,
         before,
         {{"Only.txt", "new\r\n"}}},
        {"rename replacing",
         [](const ConfinedRoot& r) { r.rename("a.txt", "only.txt", OnExisting::Replace); },
         0,
         {"Dir", "Only.txt"},
         {{"Only.txt", "A"}}},
        // A folder on the way is found by the rule; the name made is exact.
        {"copy into a folder on the way",
         [](const ConfinedRoot& r) { r.copyInto("DIR\\IN.TXT", r, "a.txt", OnExisting::Refuse); },
         0,
         before,
         {{"Dir/IN.TXT", "A"}, {"Dir/in.txt", "in"}}},
    };
    for (const bool kept : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (kept ? ", listings kept" : ""));
            const std::string folder = root() + "/case";
            fs::remove_all(folder);
            writeBytes(folder + "/a.txt", "A");
            writeBytes(folder + "/Only.txt", "only");
            writeBytes(folder + "/Dir/in.txt", "in");
            FolderListings listings;
            ConfinedRoot r = ConfinedRoot::open("C:\\root").folder("case");
            if (kept) r.useListings(&listings);
            EXPECT_EQ(errorOf([&] { c.run(r); }), c.error);
            std::vector<std::string> names;
            for (const auto& e : fs::directory_iterator(folder))
                names.push_back(e.path().filename().string());
            std::sort(names.begin(), names.end());
            EXPECT_EQ(names, c.names);
            std::map<std::string, std::string> files = {{"Only.txt", "only"}, {"Dir/in.txt", "in"}};
            for (const auto& [name, bytes] : c.files) files[name] = bytes;
            for (const auto& [name, bytes] : files) {
                ASSERT_TRUE(fs::is_regular_file(folder + "/" + name)) << name;
                EXPECT_EQ(readBytes(folder + "/" + name), bytes) << name;
            }
            const std::string name = c.name;
            if (name == "create folders") {
                EXPECT_TRUE(fs::is_directory(folder + "/DIR/x"));
            }
            if (name == "create folder") {
                EXPECT_TRUE(fs::is_directory(folder + "/ONLY.TXT"));
            }
            // Nothing was made in the folder spelt alike, but what is found on the way.
            EXPECT_EQ(
                std::distance(fs::directory_iterator(folder + "/Dir"), fs::directory_iterator()),
                name == "copy into a folder on the way" ? 2 : 1);
        }
    }
}

// What each change does where nothing leads out, with the numbers the
// commands already know.
TEST_P(ConfinedTest, ChangesInsideDoWhatTheySayWithTheKnownErrorNumbers) {
    const ConfinedRoot r = ConfinedRoot::open("C:\\root");
    ::chmod((root() + "/sub/b.txt").c_str(), 0640);
    r.write("sub\\b.txt", "kept mode");
    EXPECT_EQ(modeOf(root() + "/sub/b.txt"), 0640u);
    r.append("sub\\b.txt", "+more");
    EXPECT_EQ(readBytes(root() + "/sub/b.txt"), "kept mode+more");
    r.append("new.log", "first");
    EXPECT_EQ(readBytes(root() + "/new.log"), "first");
    EXPECT_EQ(errorOf([&] { r.write("sub\\b.txt", "x", OnExisting::Refuse); }), 58);
    EXPECT_EQ(errorOf([&] { r.write("sub", "x"); }), 75);
    EXPECT_EQ(errorOf([&] { r.write("", "x"); }), 75);
    EXPECT_EQ(errorOf([&] { r.write("missing\\x.txt", "x"); }), 76);
    EXPECT_EQ(errorOf([&] { r.write("a*.txt", "x"); }), 52);

    r.setAttributes("sub\\b.txt", attr::ReadOnly);
    EXPECT_EQ(modeOf(root() + "/sub/b.txt"), 0440u);
    EXPECT_EQ(r.status("sub\\b.txt")->attributes, attr::ReadOnly | attr::Archive);
    EXPECT_EQ(errorOf([&] { r.write("sub\\b.txt", "x"); }), 75);
    EXPECT_EQ(errorOf([&] { r.copyInto("sub\\b.txt", r, "a.txt", OnExisting::Replace); }), 70);
    EXPECT_EQ(errorOf([&] { r.remove("sub\\b.txt"); }), 75);
    r.remove("sub\\b.txt", ReadOnlyToo::Yes);
    EXPECT_FALSE(fs::exists(root() + "/sub/b.txt"));
    EXPECT_EQ(errorOf([&] { r.remove("sub\\b.txt"); }), 53);
    EXPECT_EQ(errorOf([&] { r.remove("sub"); }), 53);
    EXPECT_EQ(errorOf([&] { r.remove("nofolder\\x"); }), 76);
    EXPECT_EQ(errorOf([&] { r.setAttributes("missing", attr::Archive); }), 53);

    EXPECT_EQ(errorOf([&] { r.createFolder("sub"); }), 58);
    EXPECT_EQ(errorOf([&] { r.createFolder("no\\sub"); }), 76);
    EXPECT_EQ(errorOf([&] { r.createFolders("a.txt\\x"); }), 58);
    EXPECT_TRUE(r.createFolders("n1\\n2"));
    EXPECT_FALSE(r.createFolders("n1\\n2"));
    r.removeFolder("n1\\n2");
    EXPECT_EQ(errorOf([&] { r.removeFolder("n1\\n2"); }), 76);
    EXPECT_EQ(errorOf([&] { r.removeFolder("sub"); }), 58);
    EXPECT_EQ(errorOf([&] { r.removeFolder("a.txt"); }), 75);

    EXPECT_EQ(errorOf([&] { r.copyInto("c.txt", r, "missing", OnExisting::Refuse); }), 53);
    EXPECT_EQ(errorOf([&] { r.copyInto("c.txt", r, "sub", OnExisting::Refuse); }), 53);
    EXPECT_EQ(errorOf([&] { r.copyInto("a.txt", r, "A.TXT", OnExisting::Replace); }), 70);
    EXPECT_EQ(errorOf([&] { r.copyInto("no\\c.txt", r, "a.txt", OnExisting::Refuse); }), 76);
    // A copy keeps the source's time and its read-only attribute.
    ::chmod((root() + "/a.txt").c_str(), 0444);
    const auto then = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(root() + "/a.txt", then);
    const ConfinedRoot cdRoot = ConfinedRoot::open("E:\\");
    cdRoot.copyInto("from-c.txt", r, "a.txt", OnExisting::Refuse);
    EXPECT_EQ(readBytes(cd() + "/from-c.txt"), "inside");
    EXPECT_EQ(modeOf(cd() + "/from-c.txt"), 0444u);
    EXPECT_EQ(fs::last_write_time(cd() + "/from-c.txt"), then);

    r.rename("sub\\deep", "moved", OnExisting::Refuse);
    EXPECT_EQ(readBytes(root() + "/moved/c.txt"), "c");
    EXPECT_EQ(errorOf([&] { r.rename("missing", "x", OnExisting::Refuse); }), 53);
    EXPECT_EQ(errorOf([&] { r.rename("", "x", OnExisting::Refuse); }), 75);
    EXPECT_EQ(errorOf([&] { r.rename("moved", "no\\x", OnExisting::Refuse); }), 76);
    writeBytes(root() + "/old.txt", "old");
    r.rename("moved\\c.txt", "old.txt", OnExisting::Replace);
    EXPECT_EQ(readBytes(root() + "/old.txt"), "c");

    r.hardLink("old.txt", "second.txt");
    EXPECT_EQ(fs::hard_link_count(root() + "/old.txt"), 2u);
    EXPECT_EQ(errorOf([&] { r.hardLink("old.txt", "second.txt"); }), 58);

    // A folder copy: links that stay inside the source are followed, one that
    // leads out is told and left out, a loop is copied once.
    fs::create_directory_symlink("../sub", root() + "/sub/loop");
    std::vector<std::string> refused;
    cdRoot.copyFolderInto("tree", r, "sub", OnExisting::Refuse,
                          [&](const std::string& p) { refused.push_back(p); });
    EXPECT_EQ(readBytes(cd() + "/tree/up"), "inside");
    EXPECT_FALSE(fs::exists(cd() + "/tree/loop"));
    EXPECT_FALSE(fs::exists(cd() + "/tree/lf"));
    EXPECT_FALSE(fs::exists(cd() + "/tree/ld"));
    std::sort(refused.begin(), refused.end());
    const std::vector<std::string> expected = {"C:\\root\\sub\\ld", "C:\\root\\sub\\lf",
                                               "C:\\root\\sub\\rd", "C:\\root\\sub\\rf"};
    EXPECT_EQ(refused, expected);
    EXPECT_EQ(errorOf([&] { cdRoot.copyFolderInto("tree", r, "sub", OnExisting::Refuse); }), 58);
    EXPECT_EQ(errorOf([&] { r.copyFolderInto("sub\\x", r, "sub", OnExisting::Replace); }), 75);
}

// The two resolutions agree: for each path, both open the same file or both
// fail with the same error.
TEST_F(ConfinedLayout, TheWalkResolvesAsOpenat2Does) {
    if (!openat2Available()) GTEST_SKIP() << "this system has no openat2";
    fs::create_symlink("loop2", root() + "/loop1");
    fs::create_symlink("loop1", root() + "/loop2");
    fs::create_directory_symlink("../sub", root() + "/sub/self");
    fs::create_symlink("/proc/self/root", root() + "/proc");
    const std::string paths[] = {
        "",
        ".",
        "a.txt",
        "sub/b.txt",
        "in/b.txt",
        "in/../a.txt",
        "sub/up",
        "sub/self/self/b.txt",
        "sub/deep/../../a.txt",
        "..",
        "sub/../..",
        "lf",
        "ld/x.txt",
        "rf",
        "rd",
        "sub/rd/x.txt",
        "sub/deep/rf",
        "sub/dangling",
        "loop1",
        "a.txt/x",
        "missing/x",
        "sub/deep/",
        "proc/etc",
    };
    const detail::Fd top = detail::openFolder(root());
    for (const int flags : {O_PATH, O_PATH | O_NOFOLLOW, O_RDONLY, O_PATH | O_DIRECTORY}) {
        for (const std::string& p : paths) {
            SCOPED_TRACE(p + " flags " + std::to_string(flags));
            struct Result {
                int error = 0;
                dev_t device = 0;
                ino_t inode = 0;
            };
            const auto with = [&](Resolution how) {
                const ScopedResolution use(how);
                Result result;
                const detail::Fd fd(detail::openBeneath(top.get(), p, flags));
                struct stat st {};
                if (!fd.valid()) {
                    result.error = errno;
                } else if (::fstat(fd.get(), &st) == 0) {
                    result.device = st.st_dev;
                    result.inode = st.st_ino;
                }
                return result;
            };
            const Result kernel = with(Resolution::Openat2);
            const Result walk = with(Resolution::Walk);
            EXPECT_EQ(walk.error, kernel.error);
            EXPECT_EQ(walk.device, kernel.device);
            EXPECT_EQ(walk.inode, kernel.inode);
        }
    }
}

// A hard link inside the root to a read-only file outside is one file with
// two names: removing the name inside never changes the file's mode, and its
// read-only attribute is never changed through it.
TEST_P(ConfinedTest, AHardLinkToAReadOnlyFileOutsideNeverChangesItsMode) {
    const ConfinedRoot r = ConfinedRoot::open("C:\\root");
    struct Case {
        const char* name;
        std::function<void(const std::string&)> run;
        int error;  // 0: done
        bool linkStays;
    };
    const Case cases[] = {
        {"delete read-only too", [&](const std::string& p) { r.remove(p, ReadOnlyToo::Yes); }, 0,
         false},
        {"delete", [&](const std::string& p) { r.remove(p); }, 75, true},
        {"clear read-only", [&](const std::string& p) { r.setAttributes(p, attr::Archive); }, 75,
         true},
        {"set read-only, as it is",
         [&](const std::string& p) { r.setAttributes(p, attr::ReadOnly); }, 0, true},
        {"write", [&](const std::string& p) { r.write(p, "new"); }, 75, true},
    };
    for (const std::string& level : levels()) {
        const std::string p = under(level, "hard.txt");
        for (const Case& k : cases) {
            SCOPED_TRACE(std::string(k.name) + " " + p);
            std::error_code ec;
            fs::remove(native(p), ec);
            fs::create_hard_link(outside() + "/secret.txt", native(p));
            const Snapshot outsideBefore = world();
            const Raised raised = raisedBy([&] { k.run(p); });
            EXPECT_EQ(raised.number, k.error) << raised.text;
            if (std::string(k.name) == "clear read-only") {
                EXPECT_EQ(raised.text, std::string(SeveralNamesText) + "C:\\root\\" + p);
            }
            EXPECT_EQ(fs::exists(native(p)), k.linkStays);
            EXPECT_EQ(modeOf(outside() + "/secret.txt"), 0444u);
            EXPECT_EQ(readBytes(outside() + "/secret.txt"), "secret");
            EXPECT_EQ(world(), outsideBefore);
        }
    }
    // A file with one name changes as asked.
    r.setAttributes("a.txt", attr::ReadOnly);
    EXPECT_EQ(modeOf(root() + "/a.txt") & 0222, 0u);
    r.setAttributes("a.txt", attr::Archive);
    EXPECT_EQ(modeOf(root() + "/a.txt") & 0200, 0200u);
}

}  // namespace
