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
// layout; the line's tick marks follow its size, so a name's own "($)" is
// never taken for one), or, in the note layout, the note key without the
// disc's name that the row was listed with: the path column less the tick
// marks "($)" the list's tick commands appended to it. A "($)" of the file's
// own name stays, also at the end of its type text ("a.bak($)"): a note row
// remembers the path it was listed with (rememberListedPath), and a row that
// does not, or whose column no longer begins with it, loses the trailing run
// of marks only. "" for a remark row and for a row without a path.
std::string resultRowKey(ResultLayout layout, const platform::ListItem& row);

// Remembers a note row's path column as listed (in its tag), so that the
// marks appended to the column later are told apart from the name's own.
void rememberListedPath(platform::ListItem& row);

// True when a note key names a folder (its type text is "文件夹").
bool isFolderNoteKey(std::string_view key);

}  // namespace search
