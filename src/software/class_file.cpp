#include "software/class_file.h"

#include <unordered_map>

#include "platform/controls/key_index.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace software {

namespace text = platform::text;

std::string classFilePath(std::string_view programFolder) {
    std::string path(programFolder);
    if (path.empty() || path.back() != '\\') path += '\\';
    return path.append(ClassFileName);
}

std::string readClassText(std::string_view programFolder) {
    try {
        return platform::files::WholeFileRead(classFilePath(programFolder));
    } catch (const platform::Error& e) {
        if (e.number() == platform::err::FileNotFound) return {};
        throw;
    }
}

void writeClassText(std::string_view programFolder, std::string_view text) {
    // Written beneath the program folder: a link named "class.ini" is
    // followed only while it stays there.
    platform::files::WholeFileRewrite(platform::files::ConfinedRoot::open(programFolder),
                                      ClassFileName, text);
}

std::string nodeKey(std::string_view name) {
    std::string key(name);
    if (!name.empty() && ((name.front() >= '0' && name.front() <= '9') ||
                          platform::isNumericKey(name) || name.starts_with(NodeKeyPrefix)))
        key.insert(0, NodeKeyPrefix);
    return key;
}

std::string nodeKeyName(std::string_view key) {
    if (key.starts_with(NodeKeyPrefix)) key.remove_prefix(NodeKeyPrefix.size());
    return std::string(key);
}

ClassLine parseClassLine(std::string_view line) {
    const std::string trimmed = text::trim(line);
    const std::string_view t = trimmed;
    if (t.starts_with(CategoryPrefix))
        return {ClassLineKind::Category, std::string(t.substr(CategoryPrefix.size()))};
    if (t.starts_with(SubCategoryPrefix))
        return {ClassLineKind::SubCategory, std::string(t.substr(SubCategoryPrefix.size()))};
    if (t.starts_with(RecordLinePrefix))
        return {ClassLineKind::Record, std::string(t.substr(RecordLinePrefix.size()))};
    return {ClassLineKind::ThirdCategory, trimmed};
}

std::string recordLine(std::string_view name) {
    std::string line(RecordLinePrefix);
    return line.append(name);
}

std::vector<ClassLineSpan> classLineSpans(std::string_view text) {
    std::vector<ClassLineSpan> spans;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t cr = text.find('\r', at);
        if (cr == std::string_view::npos) {
            spans.push_back({at, text.size(), text.size()});
            break;
        }
        std::size_t next = cr + 1;
        if (next < text.size() && text[next] == '\n') ++next;
        spans.push_back({at, cr, next});
        at = next;
    }
    return spans;
}

namespace {

// The loader on an empty tree: which nodes the tree takes.
class TreePlan {
  public:
    std::vector<ClassTreeNode> nodes;

    void add(std::string_view parentName, bool root, const std::string& name, bool category,
             std::size_t line) {
        if (name.empty() || paths_.contains(name)) return;
        std::string fullPath = name;
        if (!root) {
            const auto parent = paths_.find(std::string(parentName));
            if (parent == paths_.end()) return;
            fullPath = parent->second + std::string(PathSeparator) + name;
        }
        paths_.emplace(name, fullPath);
        nodes.push_back({name, nodeKey(name), root ? std::string() : nodeKey(parentName), category,
                         std::move(fullPath), line});
    }

  private:
    std::unordered_map<std::string, std::string> paths_;
};

}  // namespace

std::vector<ClassTreeNode> classTreeNodes(std::string_view text) {
    TreePlan plan;
    std::string top, sub, third;
    // The number of the last category line of each level (0: none read yet).
    long lastTop = 0, lastSub = 0, lastThird = 0, counter = 0;
    const std::vector<ClassLineSpan> spans = classLineSpans(text);
    for (std::size_t i = 0; i < spans.size(); ++i) {
        ClassLine line = parseClassLine(spans[i].line(text));
        switch (line.kind) {
            case ClassLineKind::Category:
                plan.add({}, true, line.name, true, i);
                top = std::move(line.name);
                lastTop = ++counter;
                break;
            case ClassLineKind::SubCategory:
                plan.add(top, false, line.name, true, i);
                sub = std::move(line.name);
                lastSub = ++counter;
                break;
            case ClassLineKind::Record:
                if (lastTop > lastSub && lastTop > lastThird)
                    plan.add(top, false, line.name, false, i);
                else if (lastSub > lastTop && lastSub > lastThird)
                    plan.add(sub, false, line.name, false, i);
                else if (lastThird > lastTop && lastThird > lastSub)
                    plan.add(third, false, line.name, false, i);
                break;
            case ClassLineKind::ThirdCategory:
                plan.add(lastSub > lastTop ? sub : top, false, line.name, true, i);
                third = std::move(line.name);
                lastThird = ++counter;
                break;
        }
    }
    return std::move(plan.nodes);
}

std::optional<std::size_t> categoryLine(std::string_view text, std::string_view categoryPath) {
    std::optional<std::size_t> found;
    for (const ClassTreeNode& node : classTreeNodes(text)) {
        if (!node.category || node.fullPath != categoryPath) continue;
        // A hand-edited name holding "\" can give two nodes one path: which
        // of them is meant cannot be told, so neither is taken.
        if (found) return std::nullopt;
        found = node.line;
    }
    return found;
}

std::optional<std::string> withRecordFiled(std::string_view text, std::string_view categoryPath,
                                           std::string_view name) {
    const auto line = categoryLine(text, categoryPath);
    if (!line) return std::nullopt;
    const ClassLineSpan span = classLineSpans(text)[*line];
    std::string out(text.substr(0, span.next));
    if (span.next == span.end) out += "\r\n";
    out.append(recordLine(name)).append("\r\n");
    out.append(text.substr(span.next));
    return out;
}

bool isRecordFiledUnder(std::string_view text, std::string_view categoryPath,
                        std::string_view name) {
    const auto line = categoryLine(text, categoryPath);
    if (!line) return false;
    const std::vector<ClassLineSpan> spans = classLineSpans(text);
    for (std::size_t i = *line + 1; i < spans.size(); ++i) {
        const ClassLine below = parseClassLine(spans[i].line(text));
        if (below.kind != ClassLineKind::Record) return false;
        if (below.name == name) return true;
    }
    return false;
}

std::string withoutRecordLines(std::string_view text, std::string_view name) {
    std::string out;
    out.reserve(text.size());
    for (const ClassLineSpan& span : classLineSpans(text)) {
        const ClassLine line = parseClassLine(span.line(text));
        if (line.kind == ClassLineKind::Record && line.name == name) continue;
        // A line ended by a lone CR followed, once the lines between are gone,
        // by a line that begins with LF would take that LF into its break:
        // the earlier line's break becomes CR LF, so every line stays as it was.
        if (!out.empty() && out.back() == '\r' && text[span.begin] == '\n') out += '\n';
        out.append(text.substr(span.begin, span.next - span.begin));
    }
    return out;
}

std::string lastPathName(std::string_view categoryPath) {
    const std::size_t at = categoryPath.rfind(PathSeparator);
    if (at == std::string_view::npos) return std::string(categoryPath);
    return std::string(categoryPath.substr(at + PathSeparator.size()));
}

}  // namespace software
