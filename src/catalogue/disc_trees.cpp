// The disc list and the category tree: their builds from the stored files,
// the reload commands, expanding and folding, the pop-up menus and the
// number-plus-Enter jump of the disc list.
#include "catalogue/disc_trees.h"

#include <algorithm>
#include <optional>

#include "catalogue/catalogue_file.h"
#include "catalogue/index_line.h"
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace catalogue {

namespace text = platform::text;

std::vector<std::string> listIndexFiles(platform::FileListBox& files, std::string_view programFolder) {
    files.setPath(indexFolderPath(programFolder));
    files.setPattern(std::string(IndexFilePattern));
    std::vector<std::string> names = files.items();
    files.setPath("c:\\");
    files.setPattern("*.*");
    return names;
}

std::string discNameOfIndexFile(std::string_view fileName) {
    const std::size_t n = text::len(fileName);
    return text::left(fileName, n > 4 ? n - 4 : 0);
}

std::string treeNodeKey(std::string_view name) { return std::string(name) + "*"; }

std::vector<CategoryNodeAdd> planCategoryTree(std::string_view catalogueText) {
    std::vector<CategoryNodeAdd> nodes;
    std::string lastTopKey, currentParentKey;
    for (const std::string& line : text::splitLines(catalogueText)) {
        const CatalogueEntry entry = parseCatalogueLine(line);
        CategoryNodeAdd node;
        node.key = treeNodeKey(entry.name);
        node.text = entry.name;
        switch (entry.kind) {
            case CatalogueLineKind::CategoryLine:
                node.topLevel = true;
                node.image = images::Category;
                lastTopKey = currentParentKey = node.key;
                break;
            case CatalogueLineKind::SubCategoryLine:
                node.parentKey = lastTopKey;
                node.image = images::Category;
                currentParentKey = node.key;
                break;
            case CatalogueLineKind::DiscLine:
                // The current parent is always the last category key of
                // either level: the disc goes under it.
                node.parentKey = currentParentKey;
                node.image = images::Disc;
                break;
            case CatalogueLineKind::Other: continue;
        }
        nodes.push_back(std::move(node));
    }
    return nodes;
}

void addCategoryNodes(platform::TreeView& tree, const std::vector<CategoryNodeAdd>& nodes) {
    platform::SkipOnError skip;
    for (const CategoryNodeAdd& n : nodes) {
        // A taken key (35602) or a parent that was never added (35601) skips the node.
        skip.step([&] {
            if (n.topLevel)
                tree.add(n.key, n.text, n.image);
            else
                tree.addChild(n.parentKey, n.key, n.text, n.image);
        });
    }
    for (platform::Node* top : topLevelNodes(tree)) top->setExpanded(true);
}

void colourMirroredDiscs(platform::TreeView& tree, const std::vector<std::string>& mirrorLines,
                         platform::Color colour) {
    for (const std::string& line : mirrorLines) {
        const auto& nodes = tree.nodes();
        const auto match = std::find_if(nodes.begin(), nodes.end(), [&](const auto& n) { return n->text() == line; });
        if (match != nodes.end()) (*match)->setForeColor(colour);
    }
}

DiscJump decideDiscJump(std::string_view typedDigits, int topLevelCount) {
    if (typedDigits.empty() || typedDigits == "0") return {};
    const double n = text::val(typedDigits);
    if (n < 1 || topLevelCount < 1) return {true, 0};
    return {true, n >= topLevelCount ? topLevelCount : static_cast<int>(n)};
}

std::vector<platform::Node*> topLevelNodes(const platform::TreeView& tree) {
    std::vector<platform::Node*> nodes;
    for (platform::Node* n = tree.firstRoot(); n; n = n->next()) nodes.push_back(n);
    return nodes;
}

}  // namespace catalogue

// ---- the builds ----

void Form1::file1load() {
    for (const std::string& fileName : catalogue::listIndexFiles(File1, app().ProgramFolder)) {
        const std::string name = catalogue::discNameOfIndexFile(fileName);
        TreeView1.add(catalogue::treeNodeKey(name), name, images::Disc);
    }

    // The mirror disc list: a missing one is created empty, nothing is
    // reported. One that exists but cannot be read is left as it is (emptying
    // it would lose the record of the mirror copies); nothing is coloured.
    const std::string mirrorList = app().ProgramFolder + "\\" + std::string(catalogue::MirrorDiscListName);
    platform::SkipOnError skip;
    std::vector<std::string> lines;
    const bool read = skip.step([&] {
        platform::files::InputFile in(mirrorList);
        while (!in.eof()) lines.push_back(in.lineInput());
    });
    if (!read) {
        if (skip.number() == platform::err::FileNotFound)
            skip.step([&] { platform::files::OutputFile(mirrorList).close(); });
        return;
    }
    catalogue::colourMirroredDiscs(TreeView1, lines, CopyFileColor);
}

void Form1::Treeview2Load() {
    // A missing catalogue file reads as empty: an empty tree.
    const std::string text = catalogue::readCatalogueText(catalogue::catalogueFilePath(app().ProgramFolder));
    catalogue::addCategoryNodes(TreeView2, catalogue::planCategoryTree(text));
}

// ---- the commands ----

void Form1::refresh1_Click() {
    TreeView1.clear();
    file1load();
    firstClick = false;
}

void Form1::refresh2_Click() {
    TreeView2.clear();
    Treeview2Load();
    firstClick2 = false;
}

void Form1::expandtree_Click() {
    const bool expanding = expandtree.caption() == catalogue::ExpandCaption;
    for (const auto& node : TreeView2.nodes()) {
        if (node->image() != images::Category) continue;
        if (expanding && node->children() > 0) node->setExpanded(true);
        // Folding leaves the top-level categories as they are.
        if (!expanding && node->parent()) node->setExpanded(false);
    }
    const std::string caption(expanding ? catalogue::FoldCaption : catalogue::ExpandCaption);
    expandtree.setCaption(caption);
    expandtree1.setCaption(caption);
}

void Form1::expandtree1_Click() { expandtree_Click(); }

// ---- the trees' events ----

void Form1::TreeView1_Collapse(platform::Node& Node) {
    (void)Node;
    ListView1.clear();
}

void Form1::TreeView2_Collapse(platform::Node& Node) {
    (void)Node;
    ListView1.clear();
    Alreadystr2.clear();
}

void Form1::TreeView1_MouseDown(int Button, int Shift, double X, double Y) {
    (void)Shift;
    if (Button == platform::RightButton)
        popupMenu(pop4, X + catalogue::PopupOffsetX, Y + catalogue::PopupOffsetY);
}

void Form1::TreeView2_MouseDown(int Button, int Shift, double X, double Y) {
    (void)Shift;
    if (Button == platform::RightButton)
        popupMenu(pop1, X + catalogue::PopupOffsetX, Y + catalogue::PopupOffsetY);
}

void Form1::TreeView1_KeyPress(int& KeyAscii) {
    // The key is left to the tree's own handling afterwards.
    if (KeyAscii >= '0' && KeyAscii <= '9') {
        TypedDiscNumber += static_cast<char>(KeyAscii);
        StatusBar1.panel(2).setText(TypedDiscNumber + "/" + std::to_string(Cdrom_Num));
        return;
    }
    if (KeyAscii != 13) return;
    const std::vector<platform::Node*> discs = catalogue::topLevelNodes(TreeView1);
    const catalogue::DiscJump jump = catalogue::decideDiscJump(TypedDiscNumber, static_cast<int>(discs.size()));
    if (!jump.taken) return;
    if (jump.position > 0) TreeView1.setSelectedItem(discs[static_cast<std::size_t>(jump.position - 1)]);
    TypedDiscNumber.clear();
    StatusBar1.panel(2).setText("");
}

// ---- the hidden drive, folder and file lists ----

void Form1::Drive1_Change() { Dir1.setPath(Drive1.drive()); }

void Form1::Dir1_Change() { File1.setPath(Dir1.path()); }
