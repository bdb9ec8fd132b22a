// The text of a document that the program shows or reads as text: a page or
// a text file previewed, the remark taken from a file, a page's title. Such
// files come from anywhere (a Windows disc in code page 936, a Linux user's
// own UTF-8 files), so their character set is worked out from their bytes:
//
//   1. A byte-order mark decides: EF BB BF is UTF-8, FF FE UTF-16 LE,
//      FE FF UTF-16 BE.
//   2. Else a declaration decides, when the bytes can be in the character set
//      it names: an XML declaration's encoding ("<?xml ... encoding="..."?>"
//      at the start), else the first "charset=" inside a "<meta" tag of the
//      first 4 KiB (<meta charset=...>, or <meta http-equiv=Content-Type
//      content="text/html; charset=...">). UTF-8 is believed only when the
//      bytes are UTF-8; gb2312, gbk, gb18030 (code page 936) only when they
//      read cleanly as code page 936; iso-8859-1, latin1, us-ascii,
//      windows-1252 always (as windows-1252, as browsers read them). A
//      declaration of UTF-16 without a byte-order mark means UTF-8, and a
//      character set the program does not read counts as no declaration.
//   3. Else bytes that are UTF-8 and hold at least one multi-byte sequence
//      are UTF-8 (a sequence cut at the very end, as by a partial read,
//      does not count against it).
//   4. Else code page 936.
//
// The program's own stored files are not read this way: they are code page
// 936 always (text.h).
#pragma once

#include <string>
#include <string_view>

namespace platform::text {

enum class DocumentCharset { Utf8, Utf16Le, Utf16Be, Cp936, Windows1252 };

// The character set the document's bytes are read in (the rules above).
DocumentCharset documentCharset(std::string_view bytes);

// The document's text as UTF-8, read in its character set; the byte-order
// mark is dropped, and so is a UTF-8 sequence cut at the very end. A
// character that cannot be read becomes U+FFFD (code page 936: its escape,
// as fromCp936 gives it).
std::string decodeDocument(std::string_view bytes);

// The page the browser shows in place of a document it cannot show (UTF-8
// HTML): the note "预览窗口不能显示这种文件：" and the file's name (the last
// name of windowsPath).
std::string notePage(std::string_view windowsPath);

// The address of that page, for the browser's model ("data:text/html;
// charset=utf-8;base64,...").
std::string noteAddress(std::string_view windowsPath);

}  // namespace platform::text
