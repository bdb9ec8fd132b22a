#include "platform/text/document_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "platform/text/scan.h"
#include "platform/text/text.h"

namespace platform::text {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeBom = "\xFF\xFE";
constexpr std::string_view Utf16BeBom = "\xFE\xFF";
// How far into a page its meta declaration is looked for.
constexpr std::size_t DeclarationHead = 4096;
constexpr std::string_view Replacement = "\xEF\xBF\xBD";

void appendCodePoint(std::string& out, char32_t c) {
    char bytes[4];
    out.append(bytes, scan::putUtf8(bytes, c));
}

// The number of bytes at the end that begin a UTF-8 sequence without
// finishing it (0 when the text ends on a whole character).
std::size_t cutUtf8Tail(std::string_view bytes) {
    const std::size_t n = bytes.size();
    for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
        const auto c = static_cast<unsigned char>(bytes[n - back]);
        if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        const std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return need > back ? back : 0;
    }
    return 0;
}

// UTF-8, a sequence cut at the very end aside.
bool isUtf8(std::string_view bytes) {
    return isValidUtf8(bytes.substr(0, bytes.size() - cutUtf8Tail(bytes)));
}

bool hasMultiByte(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// Code page 936 text without a byte that starts no character: its decoded
// form holds no escape (ED B2 xx / ED B3 xx, which UTF-8 never holds).
bool readsCleanlyAsCp936(std::string_view bytes) {
    const std::string decoded = fromCp936(bytes);
    for (std::size_t i = decoded.find('\xED'); i != std::string::npos;
         i = decoded.find('\xED', i + 1))
        if (i + 1 < decoded.size() && (decoded[i + 1] == '\xB2' || decoded[i + 1] == '\xB3'))
            return false;
    return true;
}

bool isLabelChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' ||
           c == ':';
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// The label after "name" and "=" at i in a lower-case text (blanks and one
// quotation mark allowed before it); nothing when no "=" follows.
std::optional<std::string> labelAfter(std::string_view s, std::size_t i) {
    while (i < s.size() && isBlank(s[i])) ++i;
    if (i >= s.size() || s[i] != '=') return std::nullopt;
    ++i;
    while (i < s.size() && (isBlank(s[i]) || s[i] == '"' || s[i] == '\'')) ++i;
    std::size_t end = i;
    while (end < s.size() && isLabelChar(s[end])) ++end;
    return std::string(s.substr(i, end - i));
}

// The encoding of an XML declaration at the start of the text.
std::optional<std::string> xmlEncoding(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size() && isBlank(bytes[i])) ++i;
    const std::string head = lcase(bytes.substr(i, 1024));
    if (head.rfind("<?xml", 0) != 0) return std::nullopt;
    const std::string_view decl = std::string_view(head).substr(0, head.find("?>"));
    for (std::size_t at = decl.find("encoding"); at != std::string_view::npos;
         at = decl.find("encoding", at + 8))
        if (auto label = labelAfter(decl, at + 8)) return label;
    return std::nullopt;
}

// The character set named by the first "charset=" inside a <meta> tag.
std::optional<std::string> metaCharset(std::string_view bytes) {
    const std::string head = lcase(bytes.substr(0, DeclarationHead));
    const std::string_view s(head);
    for (std::size_t tag = s.find("<meta"); tag != std::string_view::npos;
         tag = s.find("<meta", tag + 5)) {
        const std::string_view inside = s.substr(tag, s.find('>', tag) - tag);
        for (std::size_t at = inside.find("charset"); at != std::string_view::npos;
             at = inside.find("charset", at + 7))
            if (auto label = labelAfter(inside, at + 7)) return label;
    }
    return std::nullopt;
}

// What a declared label names, among the character sets the program reads.
std::optional<DocumentCharset> charsetOfLabel(std::string_view label) {
    static constexpr std::array<std::string_view, 7> utf8 = {
        "utf-8", "utf8", "unicode-1-1-utf-8", "utf-16", "utf-16le", "utf-16be", "unicode"};
    static constexpr std::array<std::string_view, 12> cp936 = {
        "gb2312", "gbk",      "gb18030",     "cp936", "x-gbk",      "chinese",
        "euc-cn", "csgb2312", "windows-936", "ms936", "gb_2312-80", "iso-ir-58"};
    static constexpr std::array<std::string_view, 12> windows1252 = {
        "iso-8859-1", "iso8859-1", "iso_8859-1", "latin1",       "l1",    "us-ascii",
        "ascii",      "cp1252",    "x-cp1252",   "windows-1252", "cp819", "ibm819"};
    auto in = [label](const auto& list) {
        return std::find(list.begin(), list.end(), label) != list.end();
    };
    if (in(utf8)) return DocumentCharset::Utf8;
    if (in(cp936)) return DocumentCharset::Cp936;
    if (in(windows1252)) return DocumentCharset::Windows1252;
    return std::nullopt;
}

// The declared character set, when the bytes can be in it.
std::optional<DocumentCharset> believedDeclaration(std::string_view bytes) {
    std::optional<std::string> label = xmlEncoding(bytes);
    if (!label) label = metaCharset(bytes);
    if (!label) return std::nullopt;
    const std::optional<DocumentCharset> declared = charsetOfLabel(*label);
    if (!declared) return std::nullopt;
    switch (*declared) {
        case DocumentCharset::Utf8:
            if (!isUtf8(bytes)) return std::nullopt;
            break;
        case DocumentCharset::Cp936:
            if (!readsCleanlyAsCp936(bytes)) return std::nullopt;
            break;
        default:
            break;
    }
    return declared;
}

// windows-1252's characters for the bytes 80..9F (the other bytes are
// Latin-1); the five it leaves undefined stand for the C1 controls.
constexpr std::array<std::uint16_t, 32> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string fromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        appendCodePoint(out, c >= 0x80 && c < 0xA0 ? Windows1252High[c - 0x80] : c);
    }
    return out;
}

std::string fromUtf16(std::string_view bytes, bool littleEndian) {
    std::string out;
    out.reserve(bytes.size());
    auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return littleEndian ? (b << 8 | a) : (a << 8 | b);
    };
    // An odd last byte is a cut character: left out.
    const std::size_t n = bytes.size() / 2 * 2;
    for (std::size_t i = 0; i < n; i += 2) {
        const std::uint32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 2 < n) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                appendCodePoint(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (u >= 0xD800 && u < 0xE000)
            out += Replacement;
        else
            appendCodePoint(out, u);
    }
    return out;
}

// UTF-8 text with each byte that is no part of a character as U+FFFD.
std::string fromUtf8(std::string_view bytes) {
    if (isValidUtf8(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const std::size_t need = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
        if (need > 0 && i + need <= bytes.size() && isValidUtf8(bytes.substr(i, need))) {
            out += bytes.substr(i, need);
            i += need;
        } else {
            out += Replacement;
            ++i;
        }
    }
    return out;
}

constexpr std::string_view NoteText = "预览窗口不能显示这种文件：";

std::string base64(std::string_view bytes) {
    static constexpr char Digits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 2]);
        out += Digits[(v >> 18) & 63];
        out += Digits[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? Digits[(v >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? Digits[v & 63] : '=';
    }
    return out;
}

}  // namespace

DocumentCharset documentCharset(std::string_view bytes) {
    if (bytes.substr(0, Utf8Bom.size()) == Utf8Bom) return DocumentCharset::Utf8;
    if (bytes.substr(0, Utf16LeBom.size()) == Utf16LeBom) return DocumentCharset::Utf16Le;
    if (bytes.substr(0, Utf16BeBom.size()) == Utf16BeBom) return DocumentCharset::Utf16Be;
    if (const std::optional<DocumentCharset> declared = believedDeclaration(bytes))
        return *declared;
    if (hasMultiByte(bytes) && isUtf8(bytes)) return DocumentCharset::Utf8;
    return DocumentCharset::Cp936;
}

std::string decodeDocument(std::string_view bytes) {
    switch (documentCharset(bytes)) {
        case DocumentCharset::Utf8:
            if (bytes.substr(0, Utf8Bom.size()) == Utf8Bom) bytes.remove_prefix(Utf8Bom.size());
            return fromUtf8(bytes.substr(0, bytes.size() - cutUtf8Tail(bytes)));
        case DocumentCharset::Utf16Le:
            return fromUtf16(bytes.substr(Utf16LeBom.size()), true);
        case DocumentCharset::Utf16Be:
            return fromUtf16(bytes.substr(Utf16BeBom.size()), false);
        case DocumentCharset::Windows1252:
            return fromWindows1252(bytes);
        case DocumentCharset::Cp936:
            break;
    }
    return fromCp936(bytes);
}

std::string notePage(std::string_view windowsPath) {
    const std::size_t sep = windowsPath.find_last_of("\\/");
    const std::string name =
        htmlEscape(sep == std::string_view::npos ? windowsPath : windowsPath.substr(sep + 1));
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + name +
           "</title></head><body><p>" + std::string(NoteText) + name + "</p></body></html>";
}

std::string noteAddress(std::string_view windowsPath) {
    return "data:text/html;charset=utf-8;base64," + base64(notePage(windowsPath));
}

}  // namespace platform::text
