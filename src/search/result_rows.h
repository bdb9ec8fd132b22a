// What the commands of the search-result list (ListView2) read from it.
//
// The list's layout is told from its column headers alone: the file layout
// has "路径" in column 3 (the path column, sub-item 2, holds the whole index
// line as listed), the note layout has "路径" in column 2 (sub-item 1 holds
// the note key without the disc name: folders, name, "." and the type text
// - the lower-case extension, "文件夹" for a folder, "No扩展名" for a file
// without extension). Anything else, the list's first headers included, is
// the remark layout. Every row's text is its disc name.
#pragma once

#include <string>
#include <string_view>

#include "platform/controls/listview.h"

namespace search {

enum class ResultLayout { Remark, Note, File };

// The layout the list's headers show.
ResultLayout resultLayout(const platform::ListView& list);

// The sub-item that holds a row's path: 2 in the file layout, 1 in the note
// layout (0 for remark rows, which have none).
int resultPathColumn(ResultLayout layout);

// The text that stands for a row's file: the path column as shown (file
// layout), or with every tick mark "($)" the list's tick commands appended
// to it taken out (note layout); "" for a remark row.
std::string resultRowKey(ResultLayout layout, const platform::ListItem& row);

// True when a note key names a folder (its type text is "文件夹").
bool isFolderNoteKey(std::string_view key);

}  // namespace search
