// The two catalogue trees of the main window: the disc list (one node per
// index file, discs that own mirror copies in the mirror colour) and the
// category tree (categories, sub-categories and discs of the catalogue file).
// The Form1 procedures that build, reload, fold and jump live in
// form1_disc_trees.cpp; the rules they follow are here, testable on their own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/control.h"

namespace platform {
class FileListBox;
class Node;
class TreeView;
}  // namespace platform

namespace catalogue {

// The mirror disc list in the program folder.
inline constexpr std::string_view MirrorDiscListName = "red.ini";

// The captions of the expand command, which carry its state.
inline constexpr std::string_view ExpandCaption = "把分类树展开";
inline constexpr std::string_view FoldCaption = "把分类树收合";

// Where a pop-up menu opens, from the point the tree reports (twips).
inline constexpr double PopupOffsetX = 100;
inline constexpr double PopupOffsetY = 800;

// The file names of the index files in "guangpan", listed through the given
// (hidden) file list, which is set back to "c:\" and "*.*" afterwards.
std::vector<std::string> listIndexFiles(platform::FileListBox& files,
                                        std::string_view programFolder);

// The disc name of an index file: its file name less the last four characters.
std::string discNameOfIndexFile(std::string_view fileName);
// The key of a disc or category node: its name and "*".
std::string treeNodeKey(std::string_view name);

// One node of the category tree, in the order it is added.
struct CategoryNodeAdd {
    bool topLevel = false;
    // For a child: the position in the plan of the category line it goes
    // under (the node holding that line's key). A position, not a copy of
    // the key, so that a long category name costs once, not once per disc.
    std::size_t parent = 0;
    std::string key;
    std::string text;
    int image = 0;
};

// The nodes of the category tree for a catalogue text, line by line: a
// category line adds a top-level node, a sub-category line a child of the
// last category line's node, a disc line a child of the node of the nearest
// category line above it of either level. The keys move on whether or not
// the node can later be added, so a node that cannot be added (its key is
// taken, its parent is missing) leaves the following lines filed as they
// would be.
std::vector<CategoryNodeAdd> planCategoryTree(std::string_view catalogueText);

// Adds the planned nodes to the tree, skipping every node that cannot be
// added, then expands every top-level node.
void addCategoryNodes(platform::TreeView& tree, const std::vector<CategoryNodeAdd>& nodes);

// Colours, for each line of the mirror disc list, the first node whose text
// equals the whole line (letter case counts).
void colourMirroredDiscs(platform::TreeView& tree, const std::vector<std::string>& mirrorLines,
                         platform::Color colour);

// The number-plus-Enter jump. An Enter with no digits typed, or only "0",
// is not taken: nothing happens and the digits stay. Otherwise the Enter is
// taken (the digits are dropped) and selects the n-th top-level node, the
// last one when n exceeds their count, none when n is 0 or there are none.
struct DiscJump {
    bool taken = false;
    int position = 0;  // 1-based among the top-level nodes; 0 selects nothing
};
DiscJump decideDiscJump(std::string_view typedDigits, int topLevelCount);

// The top-level nodes of a tree, in order.
std::vector<platform::Node*> topLevelNodes(const platform::TreeView& tree);

}  // namespace catalogue
