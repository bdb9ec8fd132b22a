// The disc list and the category tree: their builds from the stored files,
// the reload commands, expanding and folding, the pop-up menus and the
// number-plus-Enter jump of the disc list.
#include "catalogue/disc_trees.h"

#include <optional>
#include <string_view>
#include <unordered_map>

#include "catalogue/catalogue_file.h"
#include "catalogue/index_line.h"
#include "mainwindow/form1.h"
#include "mainwindow/startup.h"
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
    constexpr std::size_t None = static_cast<std::size_t>(-1);
    std::vector<CategoryNodeAdd> nodes;
    std::size_t lastTop = None, currentParent = None;
    for (const std::string& line : text::splitLines(catalogueText)) {
        CatalogueEntry entry = parseCatalogueLine(line);
        if (entry.kind == CatalogueLineKind::Other) continue;
        CategoryNodeAdd node;
        node.key = treeNodeKey(entry.name);
        node.text = std::move(entry.name);
        switch (entry.kind) {
            case CatalogueLineKind::CategoryLine:
                node.topLevel = true;
                node.image = images::Category;
                lastTop = currentParent = nodes.size();
                break;
            case CatalogueLineKind::SubCategoryLine:
                node.parent = lastTop;
                node.image = images::Category;
                currentParent = nodes.size();
                break;
            case CatalogueLineKind::DiscLine:
                // The current parent is always the last category line of
                // either level: the disc goes under it.
                node.parent = currentParent;
                node.image = images::Disc;
                break;
            case CatalogueLineKind::Other:
                break;
        }
        nodes.push_back(std::move(node));
    }
    return nodes;
}

void addCategoryNodes(platform::TreeView& tree, const std::vector<CategoryNodeAdd>& nodes) {
    // The node that holds each planned line's key once the line is done
    // (the one added, or the one that had the key already): a child goes
    // under it. Keys stay put while the tree is built, so each key is looked
    // up once, however many discs a category holds.
    std::vector<platform::Node*> holder(nodes.size(), nullptr);
    platform::SkipOnError skip;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const CategoryNodeAdd& n = nodes[i];
        // A taken key (35602) or a parent that was never added (35601) skips the node.
        platform::Node* parent = n.topLevel || n.parent >= i ? nullptr : holder[n.parent];
        skip.step([&] {
            if (n.topLevel)
                holder[i] = &tree.add(n.key, n.text, n.image);
            else if (!parent)
                platform::raise(platform::err::ElementNotFound);
            else
                holder[i] = &tree.addChild(*parent, n.key, n.text, n.image);
        });
        if (!holder[i] && n.image == images::Category) holder[i] = tree.find(n.key);
    }
    for (platform::Node* top : topLevelNodes(tree)) top->setExpanded(true);
}

void colourMirroredDiscs(platform::TreeView& tree, const std::vector<std::string>& mirrorLines,
                         platform::Color colour) {
    // Each line colours the first node of its text; the nodes are indexed
    // once, so a long list costs in proportion to its length.
    std::unordered_map<std::string_view, platform::Node*> firstOfText;
    firstOfText.reserve(tree.nodes().size());
    for (const auto& n : tree.nodes()) firstOfText.try_emplace(n->text(), n.get());
    for (const std::string& line : mirrorLines) {
        const auto match = firstOfText.find(line);
        if (match != firstOfText.end()) match->second->setForeColor(colour);
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
    // reported. One that exists but cannot be read is told and left as it is
    // (emptying it would lose the record of the mirror copies); nothing is
    // coloured.
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
        else
            startup::reportUnreadableFile(ui(), mirrorList, skip.description());
        return;
    }
    catalogue::colourMirroredDiscs(TreeView1, lines, CopyFileColor);
}

void Form1::Treeview2Load() {
    // A missing catalogue file reads as empty: an empty tree. One that cannot
    // be read is told and the tree stays empty; the file is left as it is.
    const std::string path = catalogue::catalogueFilePath(app().ProgramFolder);
    platform::SkipOnError skip;
    std::string text;
    if (!skip.step([&] { text = catalogue::readCatalogueText(path); })) {
        startup::reportUnreadableFile(ui(), path, skip.description());
        return;
    }
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
