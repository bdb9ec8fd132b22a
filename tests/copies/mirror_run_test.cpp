// The suffixes of a mirror copy run applied to the index as it is at the
// run's end: each to its own file's line, chosen by name and size.
#include "copies/mirror_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using copies::MirrorCopyMade;

const std::vector<MirrorCopyMade> Copies = {
    {"F:\\c.txt", "5", "D:\\m\\c.txt"},
    {"F:\\docs\\a.txt", "4", "D:\\m\\docs\\a.txt"},
};

TEST(ApplyMirrorCopies, EachCopyFindsItsOwnLineAsTheIndexIsNow) {
    struct Case {
        const char* name;
        std::string index;
        std::string expected;
        int added;
        double bytes;
    };
    const std::vector<Case> cases = {
        {"lines moved, marks changed, last line without a break",
         "F:\\new.txt[1]($)\r\nF:\\docs\\a.txt[4]($)($)($)\r\nF:\\c.txt[5]",
         "F:\\new.txt[1]($)\r\nF:\\docs\\a.txt[4]($)($)($){D:\\m\\docs\\a.txt}\r\n"
         "F:\\c.txt[5]{D:\\m\\c.txt}",
         2, 9},
        {"a line mirrored meanwhile keeps its path; a line gone takes nothing",
         "F:\\c.txt[5]($){E:\\other\\c.txt}\n", "F:\\c.txt[5]($){E:\\other\\c.txt}\n", 0, 0},
        {"another size is another file; a longer name is another name",
         "F:\\c.txt[6]($)\r\nF:\\docs\\a.txt.bak[4]($)\r\n",
         "F:\\c.txt[6]($)\r\nF:\\docs\\a.txt.bak[4]($)\r\n", 0, 0},
        {"the one spelling in another letter case", "F:\\DOCS\\A.TXT[4]($)\r\n",
         "F:\\DOCS\\A.TXT[4]($){D:\\m\\docs\\a.txt}\r\n", 1, 4},
        {"two spellings in other letter cases: neither",
         "F:\\DOCS\\A.TXT[4]($)\r\nF:\\Docs\\A.txt[4]($)\r\n",
         "F:\\DOCS\\A.TXT[4]($)\r\nF:\\Docs\\A.txt[4]($)\r\n", 0, 0},
        {"a name that stands twice: its first line", "F:\\c.txt[5]($)\r\nF:\\c.txt[5]($)\r\n",
         "F:\\c.txt[5]($){D:\\m\\c.txt}\r\nF:\\c.txt[5]($)\r\n", 1, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const copies::MirrorCopiesApplied applied = copies::applyMirrorCopies(c.index, Copies);
        EXPECT_EQ(applied.text, c.expected);
        EXPECT_EQ(applied.added, c.added);
        EXPECT_EQ(applied.bytes, c.bytes);
        EXPECT_EQ(applied.changed(), c.added > 0);
    }
}

// One line takes one suffix, also when two copies name it.
TEST(ApplyMirrorCopies, OneLineTakesOneSuffix) {
    const copies::MirrorCopiesApplied applied = copies::applyMirrorCopies(
        "F:\\c.txt[5]($)\r\n", {{"F:\\c.txt", "5", "D:\\m\\c.txt"}, {"F:\\C.TXT", "5", "D:\\x"}});
    EXPECT_EQ(applied.text, "F:\\c.txt[5]($){D:\\m\\c.txt}\r\n");
    EXPECT_EQ(applied.added, 1);
    EXPECT_EQ(applied.bytes, 5);
}

}  // namespace
