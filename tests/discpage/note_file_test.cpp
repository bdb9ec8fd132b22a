#include "discpage/note_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/files/files_fixture.h"
#include "platform/text/text.h"
#include "support/unreadable_file.h"

namespace discpage {
namespace {

const std::string N(NoteMarker);
const std::string X(UsageMarker);
const std::string D = "[003]Tools";   // a CD disc
const std::string H = "歌曲誠_hard";  // a hard-disk folder

// The remarks of a CD disc: an empty first line, keys that begin other keys
// (each order), names with brackets, marks, "@", digits first, GBK trail
// bytes, a key holding the separator or ending in "=", a text of two lines,
// a text of blanks, a text holding "==", and a last record without its final
// CR LF.
// clang-format off
const std::string kCdNotes =
    "\r\n" +
    N + D + "\\E:\\web\\page.html==the long one\r\n" +
    N + D + "\\E:\\web\\page.htm==the short one\r\n" +
    N + D + "\\E:\\x.tar.gz==gz\r\n" +
    N + D + "\\E:\\a.txt.bak==backup\r\n" +
    N + D + "\\E:\\a.txt==plain\r\n" +
    N + D + "\\E:\\docs\\[1]($){x}@home.文件夹==brackets\r\n" +
    N + D + "\\E:\\docs\\1st.txt==digit first\r\n" +
    N + D + "\\E:\\誠遊\\許.txt==誠 遊 許\r\n" +
    N + D + "\\E:\\docs\\Readme.txt==See also\r\nsetup.txt\r\n" +
    N + D + "\\E:\\docs\\readme.txt==lower case\r\n" +
    N + D + "\\E:\\a==b.txt==holds the separator\r\n" +
    N + D + "\\E:\\blank.txt==   \r\n" +
    N + D + "\\E:\\x.tar==tar\r\n" +
    N + D + "\\E:\\eq.txt==a==b\r\n" +
    N + D + "\\E:\\x.a===type ends in =\r\n" +
    N + D + "\\E:\\last.txt==the last one";

// The usage notes of a hard-disk folder: a folder ending another folder's
// path, a remark marker (no record start in a usage file), and the record of
// a disc whose name begins with this one's.
const std::string kHardUsage =
    X + H + "\\歌曲\\Makefile.No扩展名==make it\r\n" +
    X + H + "\\歌曲\\pop\\kpop\\live\\a.mp3==kpop live\r\n" +
    X + H + "\\歌曲\\pop\\live\\a.mp3==live\r\n" +
    N + H + "\\歌曲\\wrong.txt==a remark\r\n" +
    X + H + "\\歌曲\\遊.文件夹==folder\r\n" +
    X + H + "_old\\歌曲\\x.txt==another disc's\r\n" +
    X + H + "\\歌曲\\after.txt==after it\r\n";
// clang-format on

TEST(NoteKey, FolderNameAndType) {
    EXPECT_EQ(noteKey("Tools\\E:\\docs", "Readme", "txt"), "Tools\\E:\\docs\\Readme.txt");
    EXPECT_EQ(noteKey("Tools\\E:", "docs", "文件夹"), "Tools\\E:\\docs.文件夹");
    EXPECT_EQ(noteKey("src_hard\\src", "Makefile", "No扩展名"), "src_hard\\src\\Makefile.No扩展名");
}

TEST(NoteText, ATextTakenFromAFileLosesEveryLineBreak) {
    EXPECT_EQ(withoutLineBreaks("一\r\n二\n三\r四"), "一二三四");
    EXPECT_EQ(withoutLineBreaks("\n\r\r\n"), "");
    EXPECT_EQ(withoutLineBreaks(" a b "), " a b ");
    // Stored, the record reads back whole and alone on its line.
    const NoteChange change =
        planStoreNote("", NoteMarker, "D", "D\\a.txt", withoutLineBreaks("x\ny"));
    EXPECT_EQ(noteTextAfter("", change), "@##note##@D\\a.txt==xy\r\n");
}

TEST(ReadNote, TheWholeKeyFindsItsRecord) {
    struct Case {
        const char* what;
        const std::string* text;
        std::string marker;
        std::string disc;
        std::string key;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"longer key first", &kCdNotes, N, D, D + "\\E:\\web\\page.htm", "the short one"},
        {"longer key itself", &kCdNotes, N, D, D + "\\E:\\web\\page.html", "the long one"},
        {"x.tar after x.tar.gz", &kCdNotes, N, D, D + "\\E:\\x.tar", "tar"},
        {"a.txt after a.txt.bak", &kCdNotes, N, D, D + "\\E:\\a.txt", "plain"},
        {"a prefix of a key only", &kCdNotes, N, D, D + "\\E:\\a.tx", std::nullopt},
        {"a key and more", &kCdNotes, N, D, D + "\\E:\\a.txt.ba", std::nullopt},
        {"brackets, marks, @", &kCdNotes, N, D, D + "\\E:\\docs\\[1]($){x}@home.文件夹",
         "brackets"},
        {"digit first", &kCdNotes, N, D, D + "\\E:\\docs\\1st.txt", "digit first"},
        {"GBK trail bytes", &kCdNotes, N, D, D + "\\E:\\誠遊\\許.txt", "誠 遊 許"},
        {"two lines", &kCdNotes, N, D, D + "\\E:\\docs\\Readme.txt", "See also\r\nsetup.txt"},
        {"letter case counts", &kCdNotes, N, D, D + "\\E:\\docs\\readme.txt", "lower case"},
        {"no such case", &kCdNotes, N, D, D + "\\E:\\docs\\README.txt", std::nullopt},
        {"key holding ==", &kCdNotes, N, D, D + "\\E:\\a==b.txt", "holds the separator"},
        {"key ending in =", &kCdNotes, N, D, D + "\\E:\\x.a=", "type ends in ="},
        {"text holding ==", &kCdNotes, N, D, D + "\\E:\\eq.txt", "a==b"},
        {"blanks", &kCdNotes, N, D, D + "\\E:\\blank.txt", "   "},
        {"last record without CR LF", &kCdNotes, N, D, D + "\\E:\\last.txt", "the last one"},
        {"other marker", &kCdNotes, X, D, D + "\\E:\\a.txt", std::nullopt},
        // the remark marker starts no record here: its line is part of the text
        {"kpop first", &kHardUsage, X, H, H + "\\歌曲\\pop\\live\\a.mp3",
         "live\r\n" + N + H + "\\歌曲\\wrong.txt==a remark"},
        {"no extension", &kHardUsage, X, H, H + "\\歌曲\\Makefile.No扩展名", "make it"},
        {"remark in usage file", &kHardUsage, X, H, H + "\\歌曲\\wrong.txt", std::nullopt},
        {"before a longer disc's", &kHardUsage, X, H, H + "\\歌曲\\遊.文件夹", "folder"},
        {"last record with CR LF", &kHardUsage, X, H, H + "\\歌曲\\after.txt", "after it"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readNote(*c.text, c.marker, c.disc, c.key), c.expected) << c.what;

    // The text ends before the line break that closes it, whichever break.
    EXPECT_EQ(readNote(N + "d\\a==x\r\n", N, "d", "d\\a"), "x");
    EXPECT_EQ(readNote(N + "d\\a==x\n" + N + "d\\b==y\n", N, "d", "d\\a"), "x");
    EXPECT_EQ(readNote(N + "d\\a==x" + N + "d\\b==y", N, "d", "d\\a"), "x");
    EXPECT_EQ(readNote("", N, "d", "d\\a"), std::nullopt);
}

TEST(NoteLookup, FindsWhatReadNoteFindsForEveryKey) {
    const std::pair<const std::string*, std::pair<std::string, std::string>> files[] = {
        {&kCdNotes, {N, D}},
        {&kHardUsage, {X, H}},
        {&kHardUsage, {N, H}},
        {&kCdNotes, {N, "[003]"}},  // the name of a shorter disc
    };
    for (const auto& [text, markerAndDisc] : files) {
        const auto& [marker, disc] = markerAndDisc;
        std::set<std::string> keys = {"", disc, disc + "\\", "Tools", D + "\\E:\\a"};
        for (std::size_t at = text->find('@'); at != std::string::npos;
             at = text->find('@', at + 1)) {
            const std::size_t end = text->find("==", at);
            if (end == std::string::npos) break;
            if (end < at + N.size()) continue;
            const std::string key = text->substr(at + N.size(), end - at - N.size());
            keys.insert(
                {key, key + "x", key + "=", key.substr(0, key.size() - 1), key + "==b.txt"});
        }
        const NoteLookup lookup(*text, marker, disc);
        for (const std::string& key : keys)
            EXPECT_EQ(lookup.find(key), readNote(*text, marker, disc, key).value_or(""))
                << disc << " " << key;
    }
    EXPECT_EQ(NoteLookup(kCdNotes, N, D).find(D + "\\E:\\web\\page.htm"), "the short one");
    EXPECT_TRUE(NoteLookup("", N, D).empty());
}

TEST(NoteLookup, CopiesAndMovesKeepTheirRecords) {
    // A text short enough to live inside the string object itself.
    NoteLookup original(N + "d\\a==x", N, "d");
    const NoteLookup copy = original;
    const NoteLookup moved = std::move(original);
    EXPECT_EQ(copy.find("d\\a"), "x");
    EXPECT_EQ(moved.find("d\\a"), "x");
}

TEST(PlanStoreNote, NewReplaceAndRemove) {
    const std::string page = N + D + "\\web\\page.html==L\r\n" + N + D + "\\web\\page.htm==S\r\n";
    const std::string tar = N + D + "\\x.tar.gz==gz\r\n" + N + D + "\\x.tar==t\r\n";
    struct Case {
        const char* what;
        std::string text;
        std::string key;
        std::string note;
        NoteChange::Kind kind;
        std::string after;
    };
    const Case cases[] = {
        {"replace page.htm after page.html", page, D + "\\web\\page.htm", "new",
         NoteChange::Rewrite,
         N + D + "\\web\\page.html==L\r\n" + N + D + "\\web\\page.htm==new\r\n"},
        {"remove page.htm after page.html", page, D + "\\web\\page.htm", "", NoteChange::Rewrite,
         N + D + "\\web\\page.html==L\r\n"},
        {"replace page.html before page.htm", page, D + "\\web\\page.html", "new",
         NoteChange::Rewrite,
         N + D + "\\web\\page.html==new\r\n" + N + D + "\\web\\page.htm==S\r\n"},
        {"new page.htm beside page.html", N + D + "\\web\\page.html==L\r\n", D + "\\web\\page.htm",
         "S", NoteChange::Append, page},
        {"remove x.tar after x.tar.gz", tar, D + "\\x.tar", "", NoteChange::Rewrite,
         N + D + "\\x.tar.gz==gz\r\n"},
        {"remove x.tar.gz before x.tar", tar, D + "\\x.tar.gz", "", NoteChange::Rewrite,
         N + D + "\\x.tar==t\r\n"},
        {"replace two lines by one", N + D + "\\a==1\r\n2\r\n" + N + D + "\\b==3\r\n", D + "\\a",
         "x", NoteChange::Rewrite, N + D + "\\a==x\r\n" + N + D + "\\b==3\r\n"},
        {"replace one line by two", N + D + "\\a==1\r\n" + N + D + "\\b==3\r\n", D + "\\a",
         "x\r\ny", NoteChange::Rewrite, N + D + "\\a==x\r\ny\r\n" + N + D + "\\b==3\r\n"},
        {"remove a record of two lines",
         N + D + "\\a==1\r\n" + N + D + "\\b==2\r\n3\r\n" + N + D + "\\c==4\r\n", D + "\\b", "",
         NoteChange::Rewrite, N + D + "\\a==1\r\n" + N + D + "\\c==4\r\n"},
        {"replace the last record", N + D + "\\a==1\r\n" + N + D + "\\b==2\r\n", D + "\\b", "22",
         NoteChange::Rewrite, N + D + "\\a==1\r\n" + N + D + "\\b==22\r\n"},
        {"replace the last record, no CR LF", N + D + "\\a==1\r\n" + N + D + "\\b==2", D + "\\b",
         "22", NoteChange::Rewrite, N + D + "\\a==1\r\n" + N + D + "\\b==22\r\n"},
        {"remove before a last record without CR LF", N + D + "\\a==1\r\n" + N + D + "\\b==2",
         D + "\\a", "", NoteChange::Rewrite, N + D + "\\b==2\r\n"},
        {"remove the only record", N + D + "\\a==1\r\n", D + "\\a", "", NoteChange::Rewrite,
         "\r\n"},
        {"remove the only record after the empty line", "\r\n" + N + D + "\\a==1\r\n", D + "\\a",
         "", NoteChange::Rewrite, "\r\n"},
        {"new record after the empty line", "\r\n", D + "\\a", "1", NoteChange::Append,
         "\r\n" + N + D + "\\a==1\r\n"},
        {"new record after a line without CR LF", N + D + "\\a==1", D + "\\b", "2",
         NoteChange::Append, N + D + "\\a==1\r\n" + N + D + "\\b==2\r\n"},
        {"new record in a new file", "", D + "\\a", "1", NoteChange::Append, N + D + "\\a==1\r\n"},
        {"blanks are stored", N + D + "\\a==1\r\n", D + "\\a", "  ", NoteChange::Rewrite,
         N + D + "\\a==  \r\n"},
        {"empty text, no record", N + D + "\\a==1\r\n", D + "\\b", "", NoteChange::Nothing,
         N + D + "\\a==1\r\n"},
        {"empty text, a longer key's record", N + D + "\\a.txt.bak==1\r\n", D + "\\a.txt", "",
         NoteChange::Nothing, N + D + "\\a.txt.bak==1\r\n"},
        {"key holding ==", N + D + "\\a==b.txt==1\r\n" + N + D + "\\a==2\r\n", D + "\\a==b.txt",
         "x", NoteChange::Rewrite, N + D + "\\a==b.txt==x\r\n" + N + D + "\\a==2\r\n"},
        {"remove a GBK key", N + D + "\\誠遊==1\r\n" + N + D + "\\許==2\r\n", D + "\\誠遊", "",
         NoteChange::Rewrite, N + D + "\\許==2\r\n"},
    };
    for (const Case& c : cases) {
        const NoteChange change = planStoreNote(c.text, N, D, c.key, c.note);
        EXPECT_EQ(change.kind, c.kind) << c.what;
        const std::string after = noteTextAfter(c.text, change);
        EXPECT_EQ(after, c.after) << c.what;
        const auto back = readNote(after, N, D, c.key);
        if (c.note.empty()) {
            EXPECT_EQ(back, std::nullopt) << c.what;
        } else {
            EXPECT_EQ(back, c.note) << c.what;
        }
    }
}

TEST(NoteText, TheMarkerAndTheDiscNameCutARecord) {
    EXPECT_TRUE(noteTextCutsRecord("see " + N + D + "\\x", N, D));
    EXPECT_FALSE(noteTextCutsRecord("see " + N + "other", N, D));
    EXPECT_FALSE(noteTextCutsRecord("see " + X + D, N, D));
    EXPECT_FALSE(noteTextCutsRecord("== two\r\nlines", N, D));
}

class StoreNoteTest : public files_test::FilesTest {
  protected:
    StoreNoteTest() { std::filesystem::create_directories(native()); }
    std::string native() const { return c() + "/zelbrin/guangpan"; }
    std::string nativeFile() const { return native() + "/Tools.note"; }
    static constexpr const char* path = "C:\\zelbrin\\guangpan\\Tools.note";
    std::string onDisk() const { return files_test::readBytes(nativeFile()); }
};

TEST_F(StoreNoteTest, TheWorkedExample) {
    const std::string readme = "Tools\\E:\\docs\\Readme.txt";
    const std::string docs = "Tools\\E:\\docs.文件夹";
    const std::string line1 = N + readme;
    const std::string line2 = N + docs + "==Manuals\r\n";
    struct Step {
        std::string key;
        std::string note;
        std::string after;
    };
    const Step steps[] = {
        {readme, "Install notes", line1 + "==Install notes\r\n"},
        {docs, "Manuals", line1 + "==Install notes\r\n" + line2},
        {readme, "See also\r\nsetup.txt", line1 + "==See also\r\nsetup.txt\r\n" + line2},
        {docs, "", line1 + "==See also\r\nsetup.txt\r\n"},
        {readme, "", "\r\n"},
        {docs, "Manuals", "\r\n" + line2},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(StoreNote(path, N, "Tools", s.key, s.note), s.after) << s.key << " " << s.note;
        EXPECT_EQ(onDisk(), platform::text::toCp936(s.after)) << s.key << " " << s.note;
    }
}

TEST_F(StoreNoteTest, AMissingFileIsCreatedByTheFirstTextOnly) {
    EXPECT_EQ(StoreNote(path, N, "Tools", "Tools\\E:\\a.txt", ""), "");
    EXPECT_FALSE(std::filesystem::exists(nativeFile()));

    const std::string key = "Tools\\E:\\誠\\遊.txt";
    EXPECT_EQ(StoreNote(path, N, "Tools", key, "許"), N + key + "==許\r\n");
    EXPECT_EQ(onDisk(), platform::text::toCp936(N + key + "==許\r\n"));
}

TEST_F(StoreNoteTest, AFileOnDiskIsReadInItsCodePage) {
    const std::string before = N + "Tools\\E:\\誠.txt==旧\r\n" + N + "Tools\\E:\\遊.txt==b\r\n";
    files_test::writeBytes(nativeFile(), platform::text::toCp936(before));
    StoreNote(path, N, "Tools", "Tools\\E:\\誠.txt", "新的");
    EXPECT_EQ(onDisk(), platform::text::toCp936(N + "Tools\\E:\\誠.txt==新的\r\n" + N +
                                                "Tools\\E:\\遊.txt==b\r\n"));
}

TEST_F(StoreNoteTest, AFileThatCannotBeReadIsNeverWritten) {
    for (testsupport::Unreadable kind : testsupport::unreadableKinds()) {
        for (const char* note : {"new", ""}) {
            std::filesystem::remove_all(nativeFile());
            testsupport::UnreadableFile bad(nativeFile(), kind);
            EXPECT_NE(
                files_test::errorOf([&] { StoreNote(path, N, "Tools", "Tools\\E:\\a.txt", note); }),
                0)
                << testsupport::kindName(kind) << " '" << note << "'";
            EXPECT_TRUE(bad.unchanged()) << testsupport::kindName(kind) << " '" << note << "'";
        }
    }
}

}  // namespace
}  // namespace discpage
