// Texts taken from a previewed file or from the text selected in the preview
// browser: the remark a file gives itself (a page's title, a text's first 30
// characters), the remark and the file name made of a selection, and the
// index file changed for a file that takes a new name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/name_lookup.h"

namespace preview {

// Which part of a file gives its remark, by the type column (lower case):
// the title of a page (htm, html), the opening of a text (txt, log, asp,
// ini, css, doc), or none.
enum class RemarkSource { Title, Opening, None };
RemarkSource remarkSourceOf(std::string_view type);

// How many bytes of a file are read for its remark at most (1 MiB).
inline constexpr std::size_t RemarkReadLimit = 1024 * 1024;

// The text between the first "<title>" and the first "</title>" (the tags in
// any ASCII letter case), as it stands: not trimmed, line breaks kept; ""
// when either tag is missing or the closing tag comes first.
std::string pageTitle(std::string_view text);

// The opening of a text: every line break removed (CR LF, a lone CR or LF:
// a remark keeps none), then the spaces at both ends, then the first 30
// characters. Nothing when no character is left after the line breaks are
// removed.
std::optional<std::string> textOpening(std::string_view text);

// A selection as a remark: every line break removed (CR LF, a lone CR or
// LF), then the spaces at both ends.
std::string remarkOfSelection(std::string_view selection);

// A selection as a file name (without the extension): characters that code
// page 936 cannot write become "?" (as the clipboard hands them to an ANSI
// program); spaces at both ends removed; every "/", "\", "*", ">", "<", ":",
// "?", "|", CR and LF removed; at most 100 characters, and fewer when the
// name with extensionBytes more bytes would not fit in 255 bytes.
std::string nameOfSelection(std::string_view selection, std::size_t extensionBytes);

// The extension of a path's file name, from its last "." on ("" without one).
std::string_view extensionOf(std::string_view path);

// The path of the file after it takes the name: its folder, the name and its
// old extension (D:\data\a.txt and "New" give D:\data\New.txt).
std::string renamedPath(std::string_view oldPath, std::string_view name);

// The index text with the file line of oldPath changed to newPath (the rest
// of the line as it was). The line is chosen as catalogue/name_lookup.h
// says: the one whose path is oldPath (the drive letter in any case); when
// none is, the one line whose path equals it in any ASCII letter case.
// match tells what was found; text is set only when it is Found.
struct RenamedIndex {
    catalogue::NameMatch match = catalogue::NameMatch::None;
    std::string text;
};
RenamedIndex renameFileLine(std::string_view indexText, std::string_view oldPath,
                            std::string_view newPath);

}  // namespace preview
