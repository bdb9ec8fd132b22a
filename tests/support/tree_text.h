// A tree's nodes as text, for comparing a whole tree in one assertion.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/treeview.h"

namespace testsupport {

// One line per node in the order of adding: parent text ">" text, the key,
// the image, and "+" when the node is expanded.
inline std::vector<std::string> describeTree(const platform::TreeView& tree) {
    std::vector<std::string> out;
    for (const auto& n : tree.nodes()) {
        std::string line = n->parent() ? n->parent()->text() + ">" : std::string();
        line += n->text() + " [" + n->key() + "] " + std::to_string(n->image());
        if (n->expanded()) line += " +";
        out.push_back(line);
    }
    return out;
}

}  // namespace testsupport
