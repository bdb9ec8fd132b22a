// Text inside the program is UTF-8. Stored files are code page 936 on disk,
// with GB18030 serving the characters code page 936 lacks. Reading a stored
// file and writing it back gives the same bytes, whatever they are: a byte
// that starts no character is kept in the text as an escape (see fromCp936).
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

// Decodes code page 936 bytes, and GB18030's four-byte codes, into UTF-8.
// Where the two differ, code page 936 wins: the single byte 0x80 reads as "€"
// and A2E3 as the private-use character U+E76C (GB18030's code for U+E76C,
// 8336C739, then starts no character). Each byte that starts no character (a
// lone lead byte, a lead byte with an invalid trail byte, 0xFF, a broken or
// unassigned four-byte code, ...) becomes an escape and decoding goes on with
// the next byte. The escape of byte b (0x80..0xFF) is the unpaired surrogate
// U+DC00 + b in its UTF-8 form, ED B2 80 .. ED B3 BF: it is one character to
// the helpers below but not valid UTF-8 (isValidUtf8 is false; Qt shows each
// of its three bytes as U+FFFD). No two byte strings decode to the same text.
// Never throws.
std::string fromCp936(std::string_view bytes);
// The same into text, which it replaces; the room text has is used again (the
// way to decode many short lines one after the other).
void fromCp936(std::string_view bytes, std::string& text);

// Encodes UTF-8 as code page 936, GB18030 serving the characters code page
// 936 lacks: "€" is the byte 0x80, U+E76C is A2E3. An escape (see fromCp936)
// encodes as its byte, so toCp936(fromCp936(b)) == b for all bytes b. Other
// invalid UTF-8 input encodes as "?" (one per byte).
std::string toCp936(std::string_view utf8);

// Number of bytes toCp936 makes of the text (an escape counts as 1).
std::size_t cp936Length(std::string_view utf8);

// True when the bytes are well-formed UTF-8 (escapes are not).
bool isValidUtf8(std::string_view bytes);

// Splits a text into lines at CR LF, a lone LF or a lone CR. A final line
// break does not start another (empty) line; "" gives no lines.
std::vector<std::string> splitLines(std::string_view text);

// The lines of a code page 936 text, decoded: the same as
// splitLines(fromCp936(bytes)), escapes included, in one pass and without the
// whole text in between (the way to read a large stored file).
std::vector<std::string> linesFromCp936(std::string_view bytes);

// ---- character-counting helpers (UTF-8 in, UTF-8 out) ----
// An escape counts as one character.

std::size_t len(std::string_view s);                   // characters
std::string left(std::string_view s, std::size_t n);   // first n characters
std::string right(std::string_view s, std::size_t n);  // last n characters
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
void lcaseInPlace(std::string& s);      // the same, in s itself
std::string ucase(std::string_view s);  // ASCII a-z only
std::string trim(std::string_view s);   // blanks (spaces) at both ends
// Every line break as CR LF (a lone LF or CR becomes one).
std::string withCrLf(std::string_view s);
// Text for an HTML page: "&", "<", ">", '"' and "'" written as character references.
std::string htmlEscape(std::string_view text);
// A name as the relative address of a link: every byte but ASCII letters,
// digits and "-._~" written as "%XX" (the bytes of its UTF-8 form).
std::string percentEncode(std::string_view name);
std::string ltrim(std::string_view s);
std::string rtrim(std::string_view s);
std::string replace(std::string_view s, std::string_view from, std::string_view to);
std::vector<std::string> split(std::string_view s, std::string_view separator);
bool startsWith(std::string_view s, std::string_view prefix);
bool endsWith(std::string_view s, std::string_view suffix);
// startsWith with ASCII letter case ignored (bytes other than A-Z compare as they are).
bool startsWithIgnoringCase(std::string_view s, std::string_view prefix);

// The numeric value of the leading number of a text, leading blanks skipped
// ("  12abc" -> 12, "abc" -> 0, "-3.5e2x" -> -350).
double val(std::string_view s);
// Two decimals with "." as the decimal point: 1.5 -> "1.50".
std::string format2(double x);

// Order of texts for sorted lists: ASCII case folded, then the code page 936
// bytes compared (level-1 hanzi of GB2312 are in pinyin order; an escape
// compares as its byte). <0, 0, >0.
int compareText(std::string_view a, std::string_view b);

}  // namespace platform::text
