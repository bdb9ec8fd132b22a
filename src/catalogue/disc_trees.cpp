// The rules of the disc list and the category tree (the Form1 procedures
// that follow them are in form1_disc_trees.cpp).
#include "catalogue/disc_trees.h"

#include <optional>
#include <string_view>
#include <unordered_map>

#include "catalogue/catalogue_file.h"
#include "catalogue/index_line.h"
#include "mainwindow/images.h"
#include "platform/controls/file_lists.h"
#include "platform/controls/treeview.h"
#include "platform/error.h"
#include "platform/text/text.h"

namespace catalogue {

namespace text = platform::text;

std::vector<std::string> listIndexFiles(platform::FileListBox& files,
                                        std::string_view programFolder) {
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
