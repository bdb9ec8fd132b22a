// Steps and views shared by the tests that drive the catalogue's commands
// through Form1: the stored files' names, the contents of "guangpan", the
// trees' node paths, a click in the scan dialog's category chooser and what
// a refused scan or import must leave as it was.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/scan_dialog.h"
#include "platform/controls/treeview.h"
#include "support/harness.h"

namespace catalogue_test {

inline constexpr std::string_view Catalogue = "C:\\zelbrin\\ini.ini";
inline constexpr std::string_view Guangpan = "C:\\zelbrin\\guangpan";
inline constexpr std::string_view MirrorList = "C:\\zelbrin\\red.ini";

// A file of the disc in "guangpan": the disc's name with the extension
// (".wcd", ".note", ".exam").
inline std::string discFile(std::string_view disc, std::string_view extension) {
    return std::string(Guangpan) + "\\" + std::string(disc) + std::string(extension);
}

// The disc's index file.
inline std::string indexPath(std::string_view disc) { return discFile(disc, ".wcd"); }

// The names in "guangpan", hidden ones included, sorted.
inline std::vector<std::string> guangpanEntries(const testsupport::Harness& h) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(h.nativePath(Guangpan)))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The full path of every node of the tree, in order.
inline std::vector<std::string> nodePaths(const platform::TreeView& tree) {
    std::vector<std::string> out;
    for (const auto& n : tree.nodes()) out.push_back(n->fullPath());
    return out;
}

// Clicks the category of that path in the scan dialog's chooser.
inline void clickCategory(Dialog& d, std::string_view path) {
    for (const auto& node : d.TreeView1.nodes()) {
        if (node->fullPath() == path) return d.TreeView1.userClickNode(*node);
    }
    ADD_FAILURE() << "no category " << path << " in the chooser";
}

// Everything a refused or failed scan or import must leave as it was.
struct Snapshot {
    std::string catalogue;
    std::vector<std::string> indexFiles, discList, categoryTree;
    int discs;
};

inline Snapshot snapshot(const testsupport::Harness& h) {
    return {h.read(Catalogue), guangpanEntries(h), nodePaths(h.form.TreeView1),
            nodePaths(h.form.TreeView2), h.form.Cdrom_Num};
}

inline void expectSameSnapshot(const testsupport::Harness& h, const Snapshot& before) {
    const Snapshot now = snapshot(h);
    EXPECT_EQ(now.catalogue, before.catalogue);
    EXPECT_EQ(now.indexFiles, before.indexFiles);
    EXPECT_EQ(now.discList, before.discList);
    EXPECT_EQ(now.categoryTree, before.categoryTree);
    EXPECT_EQ(now.discs, before.discs);
}

}  // namespace catalogue_test
