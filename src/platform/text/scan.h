// Word-at-a-time byte scans and the UTF-8 writer shared by the text
// functions (internal).
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace platform::text::scan {

// True when none of the eight bytes at p has its high bit set.
inline bool allAscii8(const void* p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return (w & 0x8080808080808080ULL) == 0;
}

// The first CR or LF in [p, end), or end.
inline const char* findBreak(const char* p, const char* end) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t ones = 0x0101010101010101ULL;
        constexpr std::uint64_t highs = 0x8080808080808080ULL;
        while (end - p >= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            const std::uint64_t lf = w ^ (ones * '\n');
            const std::uint64_t cr = w ^ (ones * '\r');
            // A zero byte in lf or cr marks a match. The lowest flagged byte is
            // always a real match (a false flag only follows a real one).
            const std::uint64_t found = ((lf - ones) & ~lf & highs) | ((cr - ones) & ~cr & highs);
            if (found != 0) return p + (std::countr_zero(found) >> 3);
            p += 8;
        }
    }
    while (p < end && *p != '\n' && *p != '\r') ++p;
    return p;
}

// Past the line break at q (CR LF, LF or CR; q < end).
inline const char* afterBreak(const char* q, const char* end) {
    return *q == '\r' && q + 1 < end && q[1] == '\n' ? q + 2 : q + 1;
}

// Number of LF bytes in [p, end).
inline std::size_t countLf(const char* p, const char* end) {
    std::size_t n = 0;
    for (; p < end; ++p) n += *p == '\n';
    return n;
}

// Writes the UTF-8 form of c at out; past it.
inline char* putUtf8(char* out, char32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

}  // namespace platform::text::scan
