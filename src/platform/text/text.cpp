// Character-counting string helpers on UTF-8 text, line splitting, and the
// number reading and writing the program uses.
//
// A character is a code point: every byte that is not a UTF-8 continuation
// byte (10xxxxxx) starts one. The escape of a byte read from a stored file
// (three bytes, ED B2 80 .. ED B3 BF) is one character too. Searching UTF-8 bytes is exact (a
// character's bytes never occur in the middle of another character), so the searches work on bytes
// and convert positions.
#include "platform/text/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/error.h"
#include "platform/text/scan.h"

namespace platform::text {
namespace {

inline bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

// ---- lines ----

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    const char* p = text.data();
    const char* end = p + text.size();
    lines.reserve(scan::countLf(p, end) + 1);
    while (p < end) {
        const char* q = scan::findBreak(p, end);
        lines.emplace_back(p, q);
        if (q == end) break;
        p = scan::afterBreak(q, end);
    }
    return lines;
}

// ---- positions ----

std::size_t charPosOfByte(std::string_view s, std::size_t byteOffset) {
    return len(s.substr(0, byteOffset)) + 1;
}

std::size_t byteOfCharPos(std::string_view s, std::size_t charPos) {
    if (charPos <= 1) return 0;
    std::size_t seen = 0;  // characters started so far
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!isContinuation(s[i])) {
            if (++seen == charPos) return i;
        }
    }
    return s.size();
}

std::size_t len(std::string_view s) {
    std::size_t n = 0;
    for (char c : s) {
        if (!isContinuation(c)) ++n;
    }
    return n;
}

std::string left(std::string_view s, std::size_t n) {
    if (n == std::string_view::npos) return std::string(s);
    return std::string(s.substr(0, byteOfCharPos(s, n + 1)));
}

std::string right(std::string_view s, std::size_t n) {
    if (n == 0) return {};
    std::size_t i = s.size();
    std::size_t count = 0;
    while (i > 0) {
        --i;
        if (!isContinuation(s[i]) && ++count == n) return std::string(s.substr(i));
    }
    return std::string(s);
}

std::string mid(std::string_view s, std::size_t start, std::size_t n) {
    const std::size_t from = byteOfCharPos(s, start);
    const std::string_view rest = s.substr(from);
    if (n == std::string_view::npos) return std::string(rest);
    return std::string(rest.substr(0, byteOfCharPos(rest, n + 1)));
}

std::size_t inStr(std::string_view haystack, std::string_view needle, std::size_t start) {
    if (start == 0) start = 1;
    const std::size_t from = byteOfCharPos(haystack, start);
    if (needle.empty()) return start <= len(haystack) + 1 ? start : 0;
    if (from >= haystack.size()) return 0;
    const std::size_t at = haystack.find(needle, from);
    if (at == std::string_view::npos) return 0;
    return start + (charPosOfByte(haystack.substr(from), at - from) - 1);
}

std::size_t inStrRev(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return len(haystack);
    const std::size_t at = haystack.rfind(needle);
    if (at == std::string_view::npos) return 0;
    return charPosOfByte(haystack, at);
}

// ---- case, blanks, pieces ----

std::string lcase(std::string_view s) {
    std::string r(s);
    lcaseInPlace(r);
    return r;
}

void lcaseInPlace(std::string& s) {
    char* p = s.data();
    char* const end = p + s.size();
    // Eight bytes at a time: a byte is an upper-case letter when its high bit
    // is clear and its low seven bits lie in 'A'..'Z'; adding to the low seven
    // bits of each byte carries into its high bit and never into the next byte.
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = ones * 0x80;
    for (; end - p >= 8; p += 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        const std::uint64_t low = w & ~highs;
        const std::uint64_t fromA = low + ones * (0x80 - 'A');
        const std::uint64_t pastZ = low + ones * (0x80 - 'Z' - 1);
        const std::uint64_t upper = fromA & ~pastZ & ~w & highs;
        w |= upper >> 2;  // the high bit of each letter moved to 0x20
        std::memcpy(p, &w, 8);
    }
    for (; p < end; ++p)
        if (*p >= 'A' && *p <= 'Z') *p = static_cast<char>(*p + 32);
}

std::string ucase(std::string_view s) {
    std::string r(s);
    for (char& c : r) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return r;
}

std::string ltrim(std::string_view s) {
    const std::size_t i = s.find_first_not_of(' ');
    return i == std::string_view::npos ? std::string() : std::string(s.substr(i));
}

std::string rtrim(std::string_view s) {
    const std::size_t i = s.find_last_not_of(' ');
    return i == std::string_view::npos ? std::string() : std::string(s.substr(0, i + 1));
}

std::string withCrLf(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string trim(std::string_view s) {
    const std::size_t a = s.find_first_not_of(' ');
    if (a == std::string_view::npos) return {};
    const std::size_t b = s.find_last_not_of(' ');
    return std::string(s.substr(a, b - a + 1));
}

std::string replace(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string r;
    r.reserve(s.size());
    std::size_t i = 0;
    for (;;) {
        const std::size_t at = s.find(from, i);
        if (at == std::string_view::npos) break;
        r.append(s.substr(i, at - i));
        r.append(to);
        i = at + from.size();
    }
    r.append(s.substr(i));
    return r;
}

std::vector<std::string> split(std::string_view s, std::string_view separator) {
    std::vector<std::string> parts;
    if (separator.empty()) {
        parts.emplace_back(s);
        return parts;
    }
    std::size_t i = 0;
    for (;;) {
        const std::size_t at = s.find(separator, i);
        if (at == std::string_view::npos) break;
        parts.emplace_back(s.substr(i, at - i));
        i = at + separator.size();
    }
    parts.emplace_back(s.substr(i));
    return parts;
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.starts_with(prefix); }

bool endsWith(std::string_view s, std::string_view suffix) { return s.ends_with(suffix); }

bool startsWithIgnoringCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (fold(s[i]) != fold(prefix[i])) return false;
    return true;
}

// ---- numbers ----

double val(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const std::size_t begin = i;
    auto digits = [&] {
        const std::size_t from = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
        return i - from;
    };
    std::size_t count = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        count += digits();
    }
    if (count == 0) return 0.0;
    std::size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (digits() > 0) end = i;
    }
    double x = 0.0;
    const auto [ptr, ec] = std::from_chars(s.data() + begin, s.data() + end, x);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Too small rounds to zero; too large is an overflow, as it always was.
        const std::string_view number = s.substr(begin, end - begin);
        const std::size_t e = number.find_first_of("eE");
        if (e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-')
            return 0.0;
        raise(err::Overflow);
    }
    return negative ? -x : x;
}

std::string format2(double x) {
    if (!std::isfinite(x)) {
        char buf[32];
        const auto r = std::to_chars(buf, buf + sizeof buf, x);
        return std::string(buf, r.ptr);
    }
    // The value to 15 significant digits (what the number means, without the
    // noise of its binary form), then rounded half away from zero to
    // hundredths: 0.125 -> "0.13", 2.675 -> "2.68".
    char buf[64];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    const std::string_view sci(buf, static_cast<std::size_t>(r.ptr - buf));  // d.(14 d)e[+-]xx
    const std::size_t ePos = sci.find('e');
    int exponent = 0;
    std::from_chars(sci.data() + ePos + (sci[ePos + 1] == '+' ? 2 : 1), sci.data() + sci.size(),
                    exponent);
    std::string digits;  // the 15 significant digits D: |x| = D * 10^(exponent - 14)
    for (std::size_t k = 0; k < ePos; ++k) {
        if (sci[k] != '.') digits.push_back(sci[k]);
    }
    // Hundredths: D * 10^(exponent - 12), rounded on the first digit dropped.
    const int shift = exponent - 12;
    std::string hundredths;
    if (shift >= 0) {
        hundredths = digits + std::string(static_cast<std::size_t>(shift), '0');
    } else if (-shift <= static_cast<int>(digits.size())) {
        const std::size_t keep = digits.size() - static_cast<std::size_t>(-shift);
        hundredths = digits.substr(0, keep);
        if (digits[keep] >= '5') {
            std::size_t k = hundredths.size();
            while (k > 0 && hundredths[k - 1] == '9') hundredths[--k] = '0';
            if (k == 0) {
                hundredths = '1' + hundredths;
            } else {
                ++hundredths[k - 1];
            }
        }
    }
    hundredths.erase(0, std::min(hundredths.find_first_not_of('0'), hundredths.size()));
    const bool negative = x < 0 && !hundredths.empty();
    if (hundredths.size() < 3) hundredths = std::string(3 - hundredths.size(), '0') + hundredths;
    const std::size_t point = hundredths.size() - 2;
    std::string result = negative ? "-" : "";
    result.append(hundredths, 0, point).append(1, '.').append(hundredths, point, 2);
    return result;
}

std::string htmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string percentEncode(std::string_view name) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(name.size());
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            out += ch;
        } else {
            out += '%';
            out += Hex[c >> 4];
            out += Hex[c & 15];
        }
    }
    return out;
}

}  // namespace platform::text
