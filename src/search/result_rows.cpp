#include "search/result_rows.h"

#include "catalogue/index_line.h"

namespace search {

namespace {
constexpr std::string_view PathHeading = "路径";
constexpr std::string_view FolderNoteSuffix = ".文件夹";

bool headingIs(const platform::ListView& list, int column, std::string_view text) {
    const auto& columns = list.columns();
    return static_cast<int>(columns.size()) >= column && columns[column - 1]->text() == text;
}
}  // namespace

ResultLayout resultLayout(const platform::ListView& list) {
    if (headingIs(list, 3, PathHeading)) return ResultLayout::File;
    if (headingIs(list, 2, PathHeading)) return ResultLayout::Note;
    return ResultLayout::Remark;
}

int resultPathColumn(ResultLayout layout) {
    switch (layout) {
        case ResultLayout::File:
            return 2;
        case ResultLayout::Note:
            return 1;
        case ResultLayout::Remark:
            break;
    }
    return 0;
}

namespace {
// True when text is nothing but tick marks.
bool onlyMarks(std::string_view text) {
    while (text.starts_with(catalogue::TickMark)) text.remove_prefix(catalogue::TickMark.size());
    return text.empty();
}
}  // namespace

std::string resultRowKey(ResultLayout layout, const platform::ListItem& row) {
    const int column = resultPathColumn(layout);
    if (column == 0 || row.listView().columnCount() <= column) return {};
    const std::string& path = row.subItem(column);
    if (layout == ResultLayout::File) return path;
    const std::string& listed = row.tag();
    if (!listed.empty() && path.starts_with(listed) &&
        onlyMarks(std::string_view(path).substr(listed.size())))
        return listed;
    std::string_view key = path;
    while (key.ends_with(catalogue::TickMark)) key.remove_suffix(catalogue::TickMark.size());
    return std::string(key);
}

void rememberListedPath(platform::ListItem& row) {
    row.setTag(row.subItem(resultPathColumn(ResultLayout::Note)));
}

bool isFolderNoteKey(std::string_view key) { return key.ends_with(FolderNoteSuffix); }

}  // namespace search
