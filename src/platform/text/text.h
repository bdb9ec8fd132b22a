// Text inside the program is UTF-8. Stored files are code page 936 on disk,
// read with a GB18030 decoder and written with a GB18030 encoder.
//
// The string helpers count characters (code points), never bytes, and use the
// 1-based positions that the program's algorithms are written in: position 1
// is the first character, 0 means "not found".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::text {

// ---- code page 936 (GB18030) <-> UTF-8 ----

// Decodes code page 936 / GB18030 bytes into UTF-8. The single byte 0x80 reads
// as "€"; an invalid or cut sequence becomes U+FFFD. Never throws.
std::string fromCp936(std::string_view bytes);

// Encodes UTF-8 as GB18030 (byte-identical to code page 936 for every
// character code page 936 has). Invalid UTF-8 input encodes as "?".
std::string toCp936(std::string_view utf8);

// Number of bytes the text takes in code page 936 (GB18030).
std::size_t cp936Length(std::string_view utf8);

// True when the bytes are well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

// Splits a text into lines at CR LF, a lone LF or a lone CR. A final line
// break does not start another (empty) line; "" gives no lines.
std::vector<std::string> splitLines(std::string_view text);

// The lines of a code page 936 text, decoded: the same as
// splitLines(fromCp936(bytes)), in one pass and without the whole text in
// between (the way to read a large stored file).
std::vector<std::string> linesFromCp936(std::string_view bytes);

// ---- character-counting helpers (UTF-8 in, UTF-8 out) ----

std::size_t len(std::string_view s);                  // characters
std::string left(std::string_view s, std::size_t n);  // first n characters
std::string right(std::string_view s, std::size_t n); // last n characters
// Characters from 1-based position start on, at most n of them (all when n is npos).
std::string mid(std::string_view s, std::size_t start, std::size_t n = std::string_view::npos);
// 1-based character position of the first needle at or after character
// position start; 0 when absent. An empty needle is found at start.
std::size_t inStr(std::string_view haystack, std::string_view needle, std::size_t start = 1);
// 1-based character position of the last needle; 0 when absent.
std::size_t inStrRev(std::string_view haystack, std::string_view needle);

// Byte offset <-> character position conversions for code that searches bytes.
std::size_t charPosOfByte(std::string_view s, std::size_t byteOffset);  // 1-based
std::size_t byteOfCharPos(std::string_view s, std::size_t charPos);     // charPos 1-based

std::string lcase(std::string_view s);  // ASCII A-Z only; never changes the length
std::string ucase(std::string_view s);  // ASCII a-z only
std::string trim(std::string_view s);   // blanks (spaces) at both ends
std::string ltrim(std::string_view s);
std::string rtrim(std::string_view s);
std::string replace(std::string_view s, std::string_view from, std::string_view to);
std::vector<std::string> split(std::string_view s, std::string_view separator);
bool startsWith(std::string_view s, std::string_view prefix);
bool endsWith(std::string_view s, std::string_view suffix);

// The numeric value of the leading number of a text, leading blanks skipped
// ("  12abc" -> 12, "abc" -> 0, "-3.5e2x" -> -350).
double val(std::string_view s);
// Two decimals with "." as the decimal point: 1.5 -> "1.50".
std::string format2(double x);

// Order of texts for sorted lists: ASCII case folded, then the GB18030 bytes
// compared (level-1 hanzi of GB2312 are in pinyin order). <0, 0, >0.
int compareText(std::string_view a, std::string_view b);

}  // namespace platform::text
