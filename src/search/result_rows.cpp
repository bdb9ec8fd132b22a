#include "search/result_rows.h"

#include "catalogue/index_line.h"
#include "platform/text/text.h"

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

std::string resultRowKey(ResultLayout layout, const platform::ListItem& row) {
    const int column = resultPathColumn(layout);
    if (column == 0 || row.listView().columnCount() <= column) return {};
    const std::string& path = row.subItem(column);
    if (layout == ResultLayout::File) return path;
    return platform::text::replace(path, catalogue::TickMark, "");
}

bool isFolderNoteKey(std::string_view key) { return key.ends_with(FolderNoteSuffix); }

}  // namespace search
