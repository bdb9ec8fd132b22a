#include "discpage/folder_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "index_fixture.h"

namespace {

using discpage::DiscFolderTree;
using discpage::FolderNodePlan;
using discpage_test::IndexFixture;

using Nodes = std::vector<std::string>;

// One node as a line: "parent's key > key | text" ("disc" for the scan root's
// parent).
Nodes nodesOf(const DiscFolderTree& tree) {
    Nodes out;
    for (const FolderNodePlan& n : tree.nodes) {
        const std::string parent =
            n.parent == FolderNodePlan::DiscNode ? "disc" : tree.nodes.at(n.parent).key;
        out.push_back(parent + " > " + n.key + " | " + n.text);
    }
    return out;
}

class FolderTreeTest : public IndexFixture {
  protected:
    DiscFolderTree plan(const std::vector<std::string>& index) {
        auto lines = reader(index);
        DiscFolderTree tree = discpage::planDiscFolderTree(*lines);
        for (std::size_t i = 0; i < tree.nodes.size(); ++i) {
            // Parents stand before their children.
            if (i == 0)
                EXPECT_EQ(tree.nodes[i].parent, FolderNodePlan::DiscNode);
            else
                EXPECT_LT(tree.nodes[i].parent, i);
        }
        return tree;
    }
};

TEST_F(FolderTreeTest, ACdGetsItsDriveAsScanRootAndOneNodePerFolderLine) {
    const DiscFolderTree tree = plan(discpage_test::Tools);
    EXPECT_EQ(nodesOf(tree), (Nodes{
                                 "disc > E: | E:",
                                 "E: > docs | docs",
                                 "E: > pics | pics",
                                 "docs > img | img",
                                 "img > old | old",
                             }));
    EXPECT_EQ(tree.firstLine, "E:\\|docs");
    EXPECT_TRUE(tree.driveLetterKnown);
    EXPECT_EQ(tree.driveLetter, "E");
    EXPECT_EQ(tree.folderCount, 4);
}

TEST_F(FolderTreeTest, ParentsAreFoundByTheirPath) {
    // Two folders "img" in different places; "docs" beside "docsold@".
    const DiscFolderTree tree = plan({
        "E:\\|a",
        "E:\\|b",
        "E:\\|docsold",
        "E:\\a\\|img",
        "E:\\a\\|docs",
        "E:\\a\\|docsold@",
        "E:\\a\\img\\|x",
        "E:\\a\\docs\\|c1",
        "E:\\a\\docsold\\|c2",
        "E:\\b\\|img@",
        "E:\\b\\img\\|y",
    });
    EXPECT_EQ(nodesOf(tree), (Nodes{
                                 "disc > E: | E:",
                                 "E: > a | a",
                                 "E: > b | b",
                                 "E: > docsold | docsold",
                                 "a > img | img",
                                 "a > docs | docs",
                                 "a > docsold@ | docsold",
                                 "img > x | x",
                                 "docs > c1 | c1",
                                 "docsold@ > c2 | c2",
                                 "b > img@ | img",
                                 "img@ > y | y",
                             }));
}

TEST_F(FolderTreeTest, NamesKeepAnAtInsideAndGetTheNoStrPrefixBeforeADigit) {
    const DiscFolderTree tree = plan({
        "E:\\|me@home",
        "E:\\|2004",
        "E:\\|誠",
        "E:\\me@home\\|sub",
        "E:\\2004\\|x",
        "E:\\誠\\|遊",
        "E:\\誠\\遊\\|許",
    });
    EXPECT_EQ(nodesOf(tree), (Nodes{
                                 "disc > E: | E:",
                                 "E: > me@home | me@home",
                                 "E: > noStr2004 | 2004",
                                 "E: > 誠 | 誠",
                                 "me@home > sub | sub",
                                 "noStr2004 > x | x",
                                 "誠 > 遊 | 遊",
                                 "遊 > 許 | 許",
                             }));
}

TEST_F(FolderTreeTest, KeysAreUniqueAndNeverAllNumeric) {
    // A hand-made index: names repeat without key suffixes; "noStr2004" names
    // a folder of its own; names that read as numbers.
    const DiscFolderTree tree = plan({
        "E:\\|a",
        "E:\\|b",
        "E:\\|2004",
        "E:\\|noStr2004",
        "E:\\|-1",
        "E:\\|+2",
        "E:\\a\\|img",
        "E:\\b\\|img",
        "E:\\b\\img\\|a",
        "E:\\b\\img\\a\\|deep",
    });
    EXPECT_EQ(nodesOf(tree), (Nodes{
                                 "disc > E: | E:",
                                 "E: > a | a",
                                 "E: > b | b",
                                 "E: > noStr2004 | 2004",
                                 "E: > noStrnoStr2004 | noStr2004",
                                 "E: > noStr-1 | -1",
                                 "E: > noStr+2 | +2",
                                 "a > img | img",
                                 "b > img@ | img",
                                 "img@ > a@ | a",
                                 "a@ > deep | deep",
                             }));
}

TEST_F(FolderTreeTest, AFolderWhoseParentIsMissingIsLeftOutWithItsSubtree) {
    const DiscFolderTree tree = plan({
        "E:\\|a",
        "E:\\x\\|orphan",
        "E:\\x\\orphan\\|deeper",
        "E:\\a\\|ok",
        "F:\\|elsewhere",
    });
    EXPECT_EQ(nodesOf(tree), (Nodes{"disc > E: | E:", "E: > a | a", "a > ok | ok"}));
    EXPECT_EQ(tree.folderCount, 5);
}

TEST_F(FolderTreeTest, AHardDiskFolderIsItsOwnScanRoot) {
    const DiscFolderTree photos = plan({
        "D:\\work\\photos\\|2004",
        "D:\\work\\photos\\a.jpg[100]",
        "D:\\work\\photos\\2004\\|may",
    });
    EXPECT_EQ(nodesOf(photos), (Nodes{
                                   "disc > photos | photos",
                                   "photos > noStr2004 | 2004",
                                   "noStr2004 > may | may",
                               }));
    EXPECT_EQ(photos.driveLetter, "D");
    EXPECT_TRUE(photos.driveLetterKnown);

    // A scanned folder named 2004, holding a folder of its own name.
    const DiscFolderTree year = plan({
        "D:\\work\\2004\\|jan",
        "D:\\work\\2004\\|2004@",
        "D:\\work\\2004\\2004\\|feb",
    });
    EXPECT_EQ(nodesOf(year), (Nodes{
                                 "disc > noStr2004 | 2004",
                                 "noStr2004 > jan | jan",
                                 "noStr2004 > noStr2004@ | 2004",
                                 "noStr2004@ > feb | feb",
                             }));
    // A scan root whose name is a number with a sign.
    EXPECT_EQ(nodesOf(plan({"D:\\work\\-1\\|a"})),
              (Nodes{"disc > noStr-1 | -1", "noStr-1 > a | a"}));
}

TEST_F(FolderTreeTest, WithoutFolderLinesTheFirstLineNamesTheScanRoot) {
    struct Case {
        std::vector<std::string> index;
        const char* root;
        bool driveLetterKnown;
        const char* driveLetter;
    };
    const Case cases[] = {
        {{"D:\\work\\photos\\a.jpg[100]", "D:\\work\\photos\\b.jpg[1]"},
         "disc > photos | photos",
         false,
         ""},
        {{"D:\\work\\2004\\a.jpg[100]"}, "disc > noStr2004 | 2004", false, ""},
        {{"E:\\a.txt[5]", "E:\\b.txt[6]"}, "disc > E: | E:", true, "E"},
        {{}, "disc > : | :", true, ""},
        // "亅" is 81 7C: the byte "|" as a trail byte makes no folder line.
        {{"E:\\亅.txt[5]"}, "disc > E: | E:", true, "E"},
    };
    for (const Case& k : cases) {
        const DiscFolderTree tree = plan(k.index);
        const std::string first = k.index.empty() ? "" : k.index.front();
        EXPECT_EQ(nodesOf(tree), Nodes{k.root}) << first;
        EXPECT_EQ(tree.driveLetterKnown, k.driveLetterKnown) << first;
        EXPECT_EQ(tree.driveLetter, k.driveLetter) << first;
        EXPECT_EQ(tree.folderCount, 0) << first;
        EXPECT_EQ(tree.firstLine, first);
    }
}

TEST_F(FolderTreeTest, ATrailByteBarInAFolderNameIsNoSeparator) {
    // 亅 is 81 7C and 誠 D5 5C: "|" and "\" as trail bytes.
    const DiscFolderTree tree = plan({
        "E:\\|亅誠",
        "E:\\亅誠\\亅.txt[5]",
        "E:\\亅誠\\|x",
    });
    EXPECT_EQ(nodesOf(tree), (Nodes{"disc > E: | E:", "E: > 亅誠 | 亅誠", "亅誠 > x | x"}));
    EXPECT_EQ(tree.folderCount, 2);
}

}  // namespace
