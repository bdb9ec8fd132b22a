#include "discpage/file_listing.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "discpage/size_text.h"
#include "index_fixture.h"

namespace {

using discpage::ListedEntry;
using discpage::ListingScope;
using discpage_test::IndexFixture;
using discpage_test::Tools;

// One row as a line: key, text, type, size, icon and the marks "ticked" and
// "mirrored" when set.
std::string rowOf(const ListedEntry& e) {
    std::string s =
        e.key + " | " + e.text + " | " + e.type + " | " + e.size + " | " + std::to_string(e.icon);
    if (e.folder) s += " | folder";
    if (e.ticked) s += " | ticked";
    if (e.mirrored) s += " | mirrored";
    return s;
}

class FileListingTest : public IndexFixture {
  protected:
    std::vector<std::string> list(const std::vector<std::string>& index, ListingScope scope) {
        auto lines = reader(index);
        std::vector<std::string> rows;
        for (const ListedEntry& e : discpage::listFolder(*lines, scope)) rows.push_back(rowOf(e));
        return rows;
    }
    std::vector<std::string> listCd(const std::vector<std::string>& index,
                                    const std::string& folder, bool withTicks = true) {
        return list(index, {.folderPath = folder, .hardDisc = false, .withTicks = withTicks});
    }
    std::vector<std::string> listHard(const std::vector<std::string>& index,
                                      const std::string& folder) {
        return list(index, {.folderPath = folder, .hardDisc = true, .withTicks = true});
    }
};

using Rows = std::vector<std::string>;

TEST_F(FileListingTest, AFolderListsItsOwnLinesAndStopsAtItsFirstSubfolder) {
    EXPECT_EQ(listCd(Tools, "E:\\docs"),
              (Rows{
                  "img | img | 文件夹 |  | 1 | folder",
                  "Readme.TXT[3000]($) | Readme | txt | 2K | 24 | ticked",
                  "a.txt[10]($) | a | txt | 1K | 24 | ticked | mirrored",
              }));
    EXPECT_EQ(listCd(Tools, "E:"), (Rows{
                                       "docs | docs | 文件夹 |  | 1 | folder",
                                       "pics | pics | 文件夹 |  | 1 | folder",
                                       "setup.exe[900] | setup | exe | 1K | 13",
                                   }));
    EXPECT_EQ(listCd(Tools, "E:\\docs\\img"), (Rows{
                                                  "old | old | 文件夹 |  | 1 | folder",
                                                  "b.gif[2048] | b | gif | 2K | 14",
                                              }));
    // The last folder of the file: its run ends at the end of the file.
    EXPECT_EQ(listCd(Tools, "E:\\pics"), (Rows{"c.jpg[1] | c | jpg | 1K | 17"}));
    // Letter case of the path is ignored (ASCII letters).
    EXPECT_EQ(listCd(Tools, "e:\\DOCS\\IMG").size(), 2u);
    // A folder without lines, or a folder that is not in the file.
    EXPECT_EQ(listCd(Tools, "E:\\docs\\img\\old"), Rows{});
    EXPECT_EQ(listCd(Tools, "E:\\nothing"), Rows{});
    EXPECT_EQ(listCd({}, "E:"), Rows{});
}

TEST_F(FileListingTest, TheReadingStopsAtTheEndOfTheRun) {
    // A line of the folder that stands after the run of another folder (a
    // damaged index) is not reached: the listing stops at the end of the run.
    const std::vector<std::string> index = {
        "E:\\a\\x.txt[1]",
        "E:\\b\\y.txt[1]",
        "E:\\a\\late.txt[1]",
    };
    EXPECT_EQ(listCd(index, "E:\\a"), (Rows{"x.txt[1] | x | txt | 1K | 24"}));
    // Lines before the run are passed over; a line that is neither kind is
    // passed over inside the run.
    const std::vector<std::string> withNoise = {
        "E:\\a\\x.txt[1]",
        "E:\\b\\y.txt[1]",
        "E:\\b\\not a file line",
        "E:\\b\\z.txt[2]",
    };
    EXPECT_EQ(listCd(withNoise, "E:\\b"),
              (Rows{"y.txt[1] | y | txt | 1K | 24", "z.txt[2] | z | txt | 1K | 24"}));
}

TEST_F(FileListingTest, FileRowsTakeTheirFieldsFromTheLineReadFromTheRight) {
    struct Case {
        const char* line;  // after "E:\d\"
        const char* row;   // "" when the file is left out
    };
    const Case cases[] = {
        {"a.txt[1234]($)($)($)", "a.txt[1234]($)($)($) | a | txt | 1K | 24 | ticked"},
        {"b.txt[5]($)($)", "b.txt[5]($)($) | b | txt | 1K | 24"},
        {"c.txt[0]", "c.txt[0] | c | txt | 0K | 24"},
        {"README[12]", "README[12] | README | No扩展名 | 1K | 7"},
        {"archive.tar.gz[100]", "archive.tar.gz[100] | archive.tar | gz | 1K | 25"},
        {".profile[20]", ""},
        {"1.txt[5]", "noStr1.txt[5] | 1 | txt | 1K | 24"},
        {"Nostradamus.TXT[80]", "Nostradamus.TXT[80] | Nostradamus | txt | 1K | 24"},
        // Pictures: groups win over a type's own picture; only file types.
        {"x.wmf[1]", "x.wmf[1] | x | wmf | 1K | 49"},
        {"x.JPEG[1]", "x.JPEG[1] | x | jpeg | 1K | 17"},
        {"x.mp3[1]", "x.mp3[1] | x | mp3 | 1K | 20"},
        {"x.htm[1]", "x.htm[1] | x | htm | 1K | 15"},
        {"x.xyz[1]", "x.xyz[1] | x | xyz | 1K | 7"},
        {"x.folder[1]", "x.folder[1] | x | folder | 1K | 7"},
        {"x.softw[1]", "x.softw[1] | x | softw | 1K | 7"},
        {"x.[1]", "x.[1] | x |  | 1K | 7"},
        // A file without extension: the picture of its whole name.
        {"Exe[1]", "Exe[1] | Exe | No扩展名 | 1K | 13"},
        // Mirror suffixes: shown nowhere; the colour only for a ticked file.
        {"m.txt[5]($)($){C:\\copies\\d\\m.txt}", "m.txt[5]($)($) | m | txt | 1K | 24"},
        {"w.txt[5]($){C:\\copies\\deep\\w.txt}",
         "w.txt[5]($) | w | txt | 1K | 24 | ticked | mirrored"},
        // Names holding the characters of the line's own tokens.
        {"Photo [1].jpg[500]", "Photo [1].jpg[500] | Photo [1] | jpg | 1K | 17"},
        {"Track [1][500]", "Track [1][500] | Track [1] | No扩展名 | 1K | 7"},
        {"a{b}.txt[5]", "a{b}.txt[5] | a{b} | txt | 1K | 24"},
        {"pay($).txt[5]($)", "pay($).txt[5]($) | pay($) | txt | 1K | 24 | ticked"},
        {"me@home.doc[5]", "me@home.doc[5] | me@home | doc | 1K | 10"},
        // Chinese names, trail bytes 0x5C and 0x5B among them.
        {"誠遊許.rtf[2048]", "誠遊許.rtf[2048] | 誠遊許 | rtf | 2K | 10"},
        {"2004年.JAR[1]", "noStr2004年.JAR[1] | 2004年 | jar | 1K | 74"},
        // A name that begins with the prefix and a digit takes it too.
        {"noStr5.txt[3]", "noStrnoStr5.txt[3] | noStr5 | txt | 1K | 24"},
        {"noStrX.txt[3]", "noStrX.txt[3] | noStrX | txt | 1K | 24"},
    };
    for (const Case& k : cases) {
        const Rows rows = listCd({std::string("E:\\d\\") + k.line}, "E:\\d");
        EXPECT_EQ(rows, *k.row ? Rows{k.row} : Rows{}) << k.line;
    }
}

TEST_F(FileListingTest, ANegativeSizeIsReadAsTheFileAbove2GbItIs) {
    auto lines = reader({"E:\\big.iso[-1048576]", "E:\\small.txt[1]"});
    const auto entries = discpage::listFolder(*lines, {.folderPath = "E:"});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].bytes, 4294967296u - 1048576u);
    EXPECT_EQ(entries[0].size, discpage::sizeText(4294967296.0 - 1048576.0));
    EXPECT_EQ(entries[0].key, "big.iso[-1048576]");
}

TEST_F(FileListingTest, TheCategoryTreeShowsNoMarksNoTicksAndNoColour) {
    const Rows rows = listCd(Tools, "E:\\docs", /*withTicks=*/false);
    EXPECT_EQ(rows, (Rows{
                        "img | img | 文件夹 |  | 1 | folder",
                        "Readme.TXT[3000] | Readme | txt | 2K | 24",
                        "a.txt[10] | a | txt | 1K | 24",
                    }));
}

TEST_F(FileListingTest, FolderRowsShowTheNameWithoutTheKeySuffixOnly) {
    const std::vector<std::string> index = {
        "E:\\|2004", "E:\\|me@home", "E:\\|img@@", "E:\\|.git", "E:\\|-1", "E:\\|誠",
    };
    EXPECT_EQ(listCd(index, "E:"), (Rows{
                                       "noStr2004 | 2004 | 文件夹 |  | 1 | folder",
                                       "me@home | me@home | 文件夹 |  | 1 | folder",
                                       "img | img | 文件夹 |  | 1 | folder",
                                       ".git | .git | 文件夹 |  | 1 | folder",
                                       "-1 | -1 | 文件夹 |  | 1 | folder",
                                       "誠 | 誠 | 文件夹 |  | 1 | folder",
                                   }));
    // A folder whose name holds "@" is listed under its whole name.
    EXPECT_EQ(listCd({"E:\\|me@home", "E:\\me@home\\a.txt[1]"}, "E:\\me@home"),
              (Rows{"a.txt[1] | a | txt | 1K | 24"}));
}

TEST_F(FileListingTest, AFolderIsMatchedFromTheLineStartOnly) {
    // A folder whose name begins with the listed folder's name.
    const std::vector<std::string> siblings = {
        "E:\\docsold\\a.txt[1]",
        "E:\\docs\\b.txt[1]",
    };
    EXPECT_EQ(listCd(siblings, "E:\\docs"), (Rows{"b.txt[1] | b | txt | 1K | 24"}));
    EXPECT_EQ(listCd(siblings, "E:\\docsold"), (Rows{"a.txt[1] | a | txt | 1K | 24"}));
}

TEST_F(FileListingTest, ATrailByteThatLooksLikeALetterDoesNotMatch) {
    // 許 is D4 53 and 詓 D4 73: their bytes are equal with ASCII case ignored.
    const std::vector<std::string> index = {
        "E:\\|許",
        "E:\\|詓",
        "E:\\許\\a.txt[1]",
        "E:\\詓\\b.txt[2]",
    };
    EXPECT_EQ(listCd(index, "E:\\詓"), (Rows{"b.txt[2] | b | txt | 1K | 24"}));
    EXPECT_EQ(listCd(index, "E:\\許"), (Rows{"a.txt[1] | a | txt | 1K | 24"}));
}

TEST_F(FileListingTest, AHardDiskFolderIsFoundBelowTheScannedFolderSParent) {
    // A scan of D:\mydocs\docs: the folder "docs" also ends "mydocs".
    const std::vector<std::string> docs = {
        "D:\\mydocs\\docs\\|sub",
        "D:\\mydocs\\docs\\a.txt[1]",
        "D:\\mydocs\\docs\\sub\\b.txt[2]",
    };
    EXPECT_EQ(listHard(docs, "docs"), (Rows{
                                          "sub | sub | 文件夹 |  | 1 | folder",
                                          "a.txt[1] | a | txt | 1K | 24",
                                      }));
    EXPECT_EQ(listHard(docs, "docs\\sub"), (Rows{"b.txt[2] | b | txt | 1K | 24"}));

    // A scan of D:\music\pop: pop\kpop\live stands before pop\live, and a
    // mirror path there names pop\live.
    const std::vector<std::string> pop = {
        "D:\\music\\pop\\|kpop",
        "D:\\music\\pop\\|live",
        "D:\\music\\pop\\kpop\\|live@",
        "D:\\music\\pop\\kpop\\live\\k.mp3[7]($){C:\\copies\\pop\\live\\k.mp3}",
        "D:\\music\\pop\\live\\l.mp3[8]($){C:\\copies\\pop\\kpop\\live\\l.mp3}",
    };
    EXPECT_EQ(listHard(pop, "pop\\live"),
              (Rows{"l.mp3[8]($) | l | mp3 | 1K | 20 | ticked | mirrored"}));
    EXPECT_EQ(listHard(pop, "pop\\kpop\\live"),
              (Rows{"k.mp3[7]($) | k | mp3 | 1K | 20 | ticked | mirrored"}));
    // The scanned folder's parent repeats the folder path: D:\x\pop\live\pop.
    const std::vector<std::string> nested = {
        "D:\\x\\pop\\live\\pop\\|live",
        "D:\\x\\pop\\live\\pop\\live\\a.mp3[1]",
    };
    EXPECT_EQ(listHard(nested, "pop"), (Rows{"live | live | 文件夹 |  | 1 | folder"}));
    EXPECT_EQ(listHard(nested, "pop\\live"), (Rows{"a.mp3[1] | a | mp3 | 1K | 20"}));
    // The scan root of a folder without subfolders: the first line is a file.
    EXPECT_EQ(listHard({"D:\\work\\photos\\a.jpg[100]", "D:\\work\\photos\\b.jpg[200]"}, "photos"),
              (Rows{"a.jpg[100] | a | jpg | 1K | 17", "b.jpg[200] | b | jpg | 1K | 17"}));
    // A scan of a whole drive has no base.
    EXPECT_EQ(listHard({"D:\\|x", "D:\\y.txt[1]"}, "D:"),
              (Rows{"x | x | 文件夹 |  | 1 | folder", "y.txt[1] | y | txt | 1K | 24"}));
}

TEST(FileListing, IndexFolderPrefix) {
    using discpage::indexFolderPrefix;
    EXPECT_EQ(indexFolderPrefix("E:\\|docs", "E:", false), "E:\\");
    EXPECT_EQ(indexFolderPrefix("E:\\|docs", "E:\\docs", false), "E:\\docs\\");
    EXPECT_EQ(indexFolderPrefix("D:\\work\\photos\\|2004", "photos\\2004", true),
              "D:\\work\\photos\\2004\\");
    EXPECT_EQ(indexFolderPrefix("D:\\work\\photos\\a.jpg[100]", "photos", true),
              "D:\\work\\photos\\");
    EXPECT_EQ(indexFolderPrefix("D:\\|docs", "D:", true), "D:\\");
}

TEST(FileListing, NoStrPrefix) {
    using discpage::addNoStrPrefix;
    using discpage::stripNoStrPrefix;
    EXPECT_EQ(addNoStrPrefix("2004"), "noStr2004");
    EXPECT_EQ(addNoStrPrefix("1.txt[5]"), "noStr1.txt[5]");
    EXPECT_EQ(addNoStrPrefix("a2004"), "a2004");
    EXPECT_EQ(addNoStrPrefix(""), "");
    EXPECT_EQ(stripNoStrPrefix("noStr1.txt[5]"), "1.txt[5]");
    EXPECT_EQ(stripNoStrPrefix("noStr2004"), "2004");
    for (const char* kept : {"Nostradamus.txt[80]", "nostril.jpg[7]", "noStrX.txt[1]", "noStr",
                             "NOSTR1.txt[1]", "monostrings.txt[80]"})
        EXPECT_EQ(stripNoStrPrefix(kept), kept);
    // Every name comes back from its key, and two names never share one.
    const std::vector<std::string> names = {
        "5.txt[3]",
        "noStr5.txt[3]",
        "noStrnoStr5.txt[3]",
        "noStrnoStr",
        "noStr",
        "noStrX.txt[1]",
        "noStrnoStrX.txt[1]",
        "2004",
        "noStr2004",
        "",
        "nostr5.txt[3]",
        "monostr5.txt[3]",
        "noStr 5.txt[3]",
        "a.txt[3]",
    };
    std::set<std::string> keys;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(stripNoStrPrefix(addNoStrPrefix(name)), name);
        EXPECT_TRUE(keys.insert(addNoStrPrefix(name)).second);
    }
    EXPECT_EQ(addNoStrPrefix("noStr5.txt[3]"), "noStrnoStr5.txt[3]");
    EXPECT_EQ(addNoStrPrefix("noStrnoStr5"), "noStrnoStrnoStr5");
    EXPECT_EQ(addNoStrPrefix("noStrX"), "noStrX");
}

// The file a row names, as the index spells it: from the key while the key
// names the row's text and type; the key's size always.
TEST(FileListing, RowFile) {
    using discpage::rowFile;
    struct Case {
        const char* text;
        const char* type;
        const char* key;
        const char* file;  // name "|" size
    };
    const Case cases[] = {
        {"Photo", "jpg", "Photo.JPG[50]($)", "Photo.JPG|50"},
        {"a", "txt", "a.txt[5]", "a.txt|5"},
        {"A", "txt", "A.TXT[5]", "A.TXT|5"},
        {"README", "No扩展名", "README[12]", "README|12"},
        {"5", "txt", "noStr5.txt[3]", "5.txt|3"},
        {"noStr5", "txt", "noStrnoStr5.txt[3]", "noStr5.txt|3"},
        {"許($)", "doc", "許($).doc[7]($)($)", "許($).doc|7"},
        {"x[1]", "txt", "x[1].txt[8]", "x[1].txt|8"},
        {"y{z}", "txt", "y{z}.txt[9]", "y{z}.txt|9"},
        {"me@home", "txt", "me@home.txt[10]", "me@home.txt|10"},
        // A row whose text took a new name keeps its old key: its text and
        // type, with the key's size.
        {"报告", "txt", "a.txt[5]", "报告.txt|5"},
        {"plain", "txt", "", "plain.txt|"},
        {"plain", "No扩展名", "no size", "plain|"},
    };
    for (const Case& c : cases) {
        const discpage::RowFile f = rowFile(c.text, c.type, c.key);
        EXPECT_EQ(f.name + "|" + f.sizeText, c.file) << c.key;
    }
}

TEST(FileListing, TypeIcons) {
    using discpage::typeIcon;
    struct Case {
        const char* type;
        int icon;
    };
    const Case cases[] = {
        {"url", 2},    {"bat", 8},       {"doc", 10},  {"txt", 24},  {"zip", 25},  {"asa", 48},
        {"asf", 49},   {"mpeg", 50},     {"tif", 55},  {"mid", 56},  {"wdl", 63},  {"swf", 64},
        {"rar", 74},   {"psd", 75},      {"cda", 91},  {"caj", 109}, {"wri", 11},  {"asm", 11},
        {"rt", 20},    {"rtf", 10},      {"wm", 49},   {"wmf", 49},  {"mov", 50},  {"gz", 25},
        {"z", 25},     {"shtml", 15},    {"inf", 18},  {"jpeg", 17}, {"jar", 74},  {"html", 16},
        {"folder", 7}, {"whitedisc", 7}, {"softw", 7}, {"dot", 7},   {"eject", 7}, {"t1", 7},
        {"", 7},       {"TXT", 7},
    };
    for (const Case& k : cases) EXPECT_EQ(typeIcon(k.type), k.icon) << k.type;
}

}  // namespace
