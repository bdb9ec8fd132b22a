// The software category file: its lines, the category view built from them,
// and filing and unfiling a record's line in the whole text.
#include <map>
#include <string>

#include "fuzz_target.h"
#include "platform/controls/key_index.h"
#include "software/class_file.h"

namespace {

using namespace software;

// The lines of a text without the record lines of a name.
std::vector<std::string_view> linesWithout(std::string_view text, std::string_view name) {
    std::vector<std::string_view> out;
    for (const ClassLineSpan& span : classLineSpans(text)) {
        const ClassLine line = parseClassLine(span.line(text));
        if (line.kind == ClassLineKind::Record && line.name == name) continue;
        out.push_back(span.line(text));
    }
    return out;
}

}  // namespace

int fuzzOne(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size > 4096 ? 4096 : size);

    // The spans cover the text, one after the other; no line holds a CR.
    const std::vector<ClassLineSpan> spans = classLineSpans(text);
    std::size_t at = 0;
    for (const ClassLineSpan& span : spans) {
        FUZZ_CHECK(span.begin == at && span.begin <= span.end && span.end <= span.next);
        FUZZ_CHECK(span.line(text).find('\r') == std::string_view::npos);
        FUZZ_CHECK(span.next == span.end || text[span.end] == '\r');
        at = span.next;
    }
    FUZZ_CHECK(at == text.size());

    // The view: unique non-empty names, each with a key the tree takes that
    // gives the name back, each parent added before its child, paths made of
    // the parents' paths, and each node from a line of its kind.
    const std::vector<ClassTreeNode> nodes = classTreeNodes(text);
    std::map<std::string, const ClassTreeNode*> byKey;
    for (const ClassTreeNode& node : nodes) {
        FUZZ_CHECK(!node.name.empty() && !byKey.contains(node.key));
        FUZZ_CHECK(node.key == nodeKey(node.name) && nodeKeyName(node.key) == node.name);
        FUZZ_CHECK(!platform::isNumericKey(node.key));
        FUZZ_CHECK(node.line < spans.size());
        const ClassLine line = parseClassLine(spans[node.line].line(text));
        FUZZ_CHECK(line.name == node.name);
        FUZZ_CHECK(node.category == (line.kind != ClassLineKind::Record));
        if (node.parentKey.empty()) {
            FUZZ_CHECK(line.kind == ClassLineKind::Category && node.fullPath == node.name);
        } else {
            // A line whose name is already taken adds no node, and the lines
            // below it go to the node of that name, as the tree files them:
            // a record's node too, when a category line repeats its name.
            const auto parent = byKey.find(node.parentKey);
            FUZZ_CHECK(parent != byKey.end());
            FUZZ_CHECK(parent->second->line < node.line);
            FUZZ_CHECK(node.fullPath == parent->second->fullPath + "\\" + node.name);
        }
        byKey.emplace(node.key, &node);
    }

    // Filing a new name under each category (a few) adds exactly its node
    // there and leaves every other node as it was; unfiling gives the text back.
    const std::string fresh = "fz" + std::to_string(fuzz::numberFrom(text) % 1000);
    const bool freshUnused = text.find(fresh) == std::string_view::npos;
    std::map<std::string, int> categoriesOfPath;
    for (const ClassTreeNode& node : nodes)
        if (node.category) ++categoriesOfPath[node.fullPath];
    int filed = 0;
    for (const ClassTreeNode& node : nodes) {
        if (!node.category) continue;
        // A path two category nodes share (a name holding "\") finds neither.
        if (categoriesOfPath[node.fullPath] > 1) {
            FUZZ_CHECK(!categoryLine(text, node.fullPath));
            continue;
        }
        FUZZ_CHECK(categoryLine(text, node.fullPath) == node.line);
        if (!freshUnused || ++filed > 4) continue;
        const auto after = withRecordFiled(text, node.fullPath, fresh);
        FUZZ_CHECK(after.has_value());
        const std::vector<ClassTreeNode> then = classTreeNodes(*after);
        FUZZ_CHECK(then.size() == nodes.size() + 1);
        std::size_t i = 0;
        for (const ClassTreeNode& n : then) {
            if (n.name == fresh) {
                FUZZ_CHECK(n.parentKey == node.key && !n.category);
                continue;
            }
            FUZZ_CHECK(i < nodes.size() && n.fullPath == nodes[i].fullPath);
            ++i;
        }
        const std::string back = withoutRecordLines(*after, fresh);
        const bool hadBreak = spans[node.line].next != spans[node.line].end;
        FUZZ_CHECK(back == (hadBreak ? std::string(text) : std::string(text) + "\r\n"));
    }
    if (freshUnused) FUZZ_CHECK(!withRecordFiled(text, fresh, fresh));

    // Unfiling a record keeps every other line in its order.
    for (const ClassTreeNode& node : nodes) {
        if (node.category) continue;
        const std::string without = withoutRecordLines(text, node.name);
        const auto expected = linesWithout(text, node.name);
        std::vector<std::string_view> got;
        for (const ClassLineSpan& span : classLineSpans(without)) got.push_back(span.line(without));
        FUZZ_CHECK(got == expected);
        break;
    }
    return 0;
}
