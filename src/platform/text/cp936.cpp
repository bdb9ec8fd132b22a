// Code page 936 on disk, UTF-8 inside the program.
//
// Stored files are read and written as code page 936, with GB18030 (its
// superset) serving the characters code page 936 lacks. Where the two give a
// character different codes, code page 936 wins: the euro sign is the single
// byte 0x80, not GB18030's A2E3, and A2E3 is the private-use character U+E76C,
// as in code page 936 (like its neighbour A2E4, U+E76D). GB18030's own code
// for U+E76C (8336C739) then reads as escaped bytes. The rest of the mapping
// comes from glibc's iconv: on first use the lookup tables below are filled by asking
// iconv about every two-byte code and every four-byte code of the Basic
// Multilingual Plane, and every character of it, a thousand in each call. The
// conversions themselves then run on the tables, which is many times faster
// than iconv on the long index files.
//
// Reading never loses a byte: each byte that does not start a character is
// kept as an escape, the unpaired surrogate U+DC00 + byte in its UTF-8 form
// (ED B2 80 .. ED B3 BF), and writing turns the escape back into the byte. A
// code is only read as a character when writing that character gives the same
// code back, so any bytes read and written again come out unchanged.
#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/text/scan.h"
#include "platform/text/text.h"

namespace platform::text {

namespace {

constexpr char32_t kEuro = 0x20AC;
constexpr unsigned kEuroByte = 0x80;
constexpr char32_t kA2E3 = 0xE76C;         // the character of code page 936's A2E3
constexpr char32_t kInvalid = 0xFFFFFFFF;  // malformed UTF-8

// The escape of a byte 0x80..0xFF that is not part of a character.
constexpr char32_t kEscapeBase = 0xDC00;
inline char32_t escape(unsigned byte) { return kEscapeBase + byte; }

// Four-byte codes of the BMP: 0x81308130 .. 0x8439FE39, numbered linearly.
constexpr int kFourByteBmpCount = 4 * 12600;  // 50400, more than the 39420 in use
// The BMP's four-byte codes in use: 0x81308130 .. 0x8431A439 (U+FFFF).
constexpr int kFourByteBmpInUse = 39420;

// Two-byte codes have a lead byte 0x81..0xFE and a trail byte 0x40..0x7E or
// 0x80..0xFE; the table has room for every pair of a high byte and any byte,
// so that one look-up also tells a valid pair from an invalid one.
inline unsigned twoByteIndex(unsigned lead, unsigned trail) { return ((lead & 0x7F) << 8) | trail; }
constexpr unsigned kTwoByteCount = 0x8000;

inline unsigned fourByteIndex(unsigned b1, unsigned b2, unsigned b3, unsigned b4) {
    return ((b1 * 10 + b2) * 126 + b3) * 10 + b4;  // each already relative to its base
}

struct Tables {
    // The UTF-8 bytes of each two-byte code, the first in the lowest byte
    // (their count follows from the first); 0 = not a character.
    std::vector<std::uint32_t> twoByteUtf8;
    std::vector<char16_t> fourByte;  // code point per four-byte BMP code; 0 = unmapped
    // Code page 936 bytes per BMP code point: 0 = not encodable; up to 0xFF
    // one byte (the euro sign and the escapes), up to 0xFFFF a two-byte code
    // (lead << 8 | trail), above it a four-byte code.
    std::vector<std::uint32_t> encode;
    // Four-byte codes beyond the BMP that read as a private-use character
    // instead of the character their number gives (see kMovedCharacters).
    std::vector<std::pair<char32_t, char16_t>> supplementaryOverrides;
    // Characters beyond the BMP whose code is not the one their number gives.
    std::vector<std::pair<char32_t, std::uint32_t>> supplementaryCodes;
};

// Characters that moved between a two-byte code and a four-byte code when
// GB18030 was revised (vertical forms, and hanzi that had private-use code
// points): the private-use character and the four-byte code it keeps. glibc's
// decoder reads the two-byte code as the standard character and has no code
// for the private-use one; giving it the four-byte code left free by the move
// (as the 2022 edition of GB18030 does) keeps every character encodable.
struct MovedCharacter {
    char16_t privateUse;
    std::uint32_t fourByte;
};
constexpr MovedCharacter kMovedCharacters[] = {
    {0xE78D, 0x84318236}, {0xE78E, 0x84318238}, {0xE78F, 0x84318237}, {0xE790, 0x84318239},
    {0xE791, 0x84318330}, {0xE792, 0x84318331}, {0xE793, 0x84318332}, {0xE794, 0x84318333},
    {0xE795, 0x84318334}, {0xE796, 0x84318335}, {0xE816, 0x95329031}, {0xE817, 0x95329033},
    {0xE818, 0x95329730}, {0xE81E, 0x82359037}, {0xE826, 0x82359038}, {0xE82B, 0x82359039},
    {0xE82C, 0x82359130}, {0xE831, 0x9536B937}, {0xE832, 0x82359131}, {0xE83B, 0x9630BA35},
    {0xE843, 0x82359132}, {0xE854, 0x82359133}, {0xE855, 0x9635B630}, {0xE864, 0x82359134},
};

class Iconv {
  public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Iconv() { iconv_close(cd_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts one whole unit; the number of output bytes, or 0 on failure.
    std::size_t convert(const char* in, std::size_t inLen, char* out, std::size_t outLen) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in);
        char* outPtr = out;
        std::size_t outLeft = outLen;
        std::size_t inLeft = inLen;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            inLeft != 0) {
            return 0;
        }
        return outLen - outLeft;
    }

    // Converts count units of unitLen bytes (unit(i, bytes) writes the bytes
    // of unit i) as convert would one by one, but a thousand in one call (one
    // call per unit costs more than the rest of the program's start), in
    // small buffers (fresh memory is dear too). Calls put(i, output, length)
    // for each unit converted. unitOut(p, left) tells the length of the
    // output unit at p (0: it cannot tell); a run whose output does not split
    // into one unit per input unit is converted unit by unit.
    template <class Unit, class UnitOut, class Put>
    void convertUnits(std::size_t count, std::size_t unitLen, Unit unit, UnitOut unitOut, Put put) {
        constexpr std::size_t Chunk = 1024;
        std::vector<char> in(Chunk * unitLen);
        std::vector<char> out(Chunk * 16);
        std::vector<std::size_t> lengths(Chunk);
        for (std::size_t first = 0; first < count;) {
            const std::size_t n = std::min(Chunk, count - first);
            for (std::size_t k = 0; k < n; ++k) unit(first + k, in.data() + k * unitLen);
            std::size_t done = 0;
            while (done < n) {
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                char* inPtr = in.data() + done * unitLen;
                std::size_t inLeft = (n - done) * unitLen;
                char* outPtr = out.data();
                std::size_t outLeft = out.size();
                const bool stopped =
                    iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1);
                const std::size_t run = ((n - done) * unitLen - inLeft) / unitLen;
                std::size_t split = 0;
                const char* p = out.data();
                while (split < run && p < outPtr) {
                    const std::size_t length = unitOut(p, static_cast<std::size_t>(outPtr - p));
                    if (length == 0 || length > static_cast<std::size_t>(outPtr - p)) break;
                    lengths[split++] = length;
                    p += length;
                }
                if (split == run && p == outPtr) {
                    p = out.data();
                    for (std::size_t k = 0; k < run; ++k) {
                        put(first + done + k, p, lengths[k]);
                        p += lengths[k];
                    }
                } else {
                    for (std::size_t k = 0; k < run; ++k)
                        one(in.data() + (done + k) * unitLen, unitLen, first + done + k, put);
                }
                done += run;
                // The unit the run stopped at is converted on its own (iconv
                // refuses it, or it did not fit).
                if (stopped && done < n) {
                    one(in.data() + done * unitLen, unitLen, first + done, put);
                    ++done;
                }
            }
            first += n;
        }
    }

  private:
    template <class Put>
    void one(const char* in, std::size_t unitLen, std::size_t unit, Put& put) {
        char out[16];
        if (const std::size_t n = convert(in, unitLen, out, sizeof out)) put(unit, out, n);
    }

    iconv_t cd_;
};

// Little-endian order of a word read from or written to memory.
inline std::uint32_t le32(std::uint32_t w) {
    if constexpr (std::endian::native == std::endian::big) return __builtin_bswap32(w);
    return w;
}

// Number of bytes of a UTF-8 character, from its first byte (0xC0 and up).
inline unsigned utf8Length(unsigned firstByte) {
    return firstByte < 0xE0 ? 2 : firstByte < 0xF0 ? 3 : 4;
}

char32_t readUtf32le(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return static_cast<char32_t>(u[0] | (u[1] << 8) | (u[2] << 16) | (u[3] << 24));
}

std::uint32_t packUtf8(char32_t c) {
    char bytes[4] = {};
    scan::putUtf8(bytes, c);
    std::uint32_t packed;
    std::memcpy(&packed, bytes, 4);
    return le32(packed);
}

Tables buildTables() {
    Tables t;
    t.twoByteUtf8.assign(kTwoByteCount, 0);
    t.fourByte.assign(kFourByteBmpCount, 0);
    t.encode.assign(0x10000, 0);

    // Every two-byte code, every four-byte code of the BMP and every BMP
    // character.
    auto utf32 = [](const char*, std::size_t) -> std::size_t { return 4; };
    Iconv decoder("UTF-32LE", "GB18030");
    // The two-byte codes: lead 0x81..0xFE, trail 0x40..0xFE but 0x7F.
    constexpr unsigned trails = 0xFE - 0x40;
    auto pair = [](std::size_t i, unsigned& lead, unsigned& trail) {
        lead = 0x81 + static_cast<unsigned>(i / trails);
        trail = 0x40 + static_cast<unsigned>(i % trails);
        if (trail >= 0x7F) ++trail;
    };
    decoder.convertUnits((0xFE - 0x81 + 1) * trails, 2,
                         [&](std::size_t i, char* in) {
                             unsigned lead, trail;
                             pair(i, lead, trail);
                             in[0] = static_cast<char>(lead);
                             in[1] = static_cast<char>(trail);
                         },
                         utf32,
                         [&](std::size_t i, const char* out, std::size_t n) {
                             if (n != 4) return;
                             const char32_t c = readUtf32le(out);
                             unsigned lead, trail;
                             pair(i, lead, trail);
                             if (c >= 0x80 && c <= 0x10FFFF)
                                 t.twoByteUtf8[twoByteIndex(lead, trail)] = packUtf8(c);
                         });
    decoder.convertUnits(
        kFourByteBmpInUse, 4,
        [](std::size_t i, char* in) {
            in[0] = static_cast<char>(0x81 + i / 12600);
            in[1] = static_cast<char>(0x30 + i / 1260 % 10);
            in[2] = static_cast<char>(0x81 + i / 10 % 126);
            in[3] = static_cast<char>(0x30 + i % 10);
        },
        utf32,
        [&](std::size_t i, const char* out, std::size_t n) {
            if (n != 4) return;
            const char32_t c = readUtf32le(out);
            if (c > 0 && c < 0x10000) t.fourByte[i] = char16_t(c);
        });

    Iconv encoder("GB18030", "UTF-32LE");
    char out[16];
    // Every BMP character from U+0080 but the surrogates.
    auto character = [](std::size_t i) -> char32_t {
        const auto c = static_cast<char32_t>(0x80 + i);
        return c < 0xD800 ? c : c + 0x800;
    };
    // A GB18030 code is two bytes, or four when its second byte is a digit.
    auto gbLength = [](const char* p, std::size_t left) -> std::size_t {
        const auto b1 = static_cast<unsigned char>(p[0]);
        if (b1 < 0x81 || b1 > 0xFE || left < 2) return 0;
        const auto b2 = static_cast<unsigned char>(p[1]);
        return b2 >= 0x30 && b2 <= 0x39 ? 4 : 2;
    };
    encoder.convertUnits(
        0x10000 - 0x80 - 0x800, 4,
        [&](std::size_t i, char* in) {
            const char32_t c = character(i);
            in[0] = static_cast<char>(c & 0xFF);
            in[1] = static_cast<char>(c >> 8);
            in[2] = 0;
            in[3] = 0;
        },
        gbLength,
        [&](std::size_t i, const char* bytes, std::size_t n) {
            const auto* u = reinterpret_cast<const unsigned char*>(bytes);
            const char32_t c = character(i);
            if (n == 2) {
                t.encode[c] = (u[0] << 8) | u[1];
            } else if (n == 4) {
                t.encode[c] = (std::uint32_t(u[0]) << 24) | (u[1] << 16) | (u[2] << 8) | u[3];
            }
        });
    for (const MovedCharacter& m : kMovedCharacters) {
        if (t.encode[m.privateUse] != 0) continue;  // this glibc still has a code for it
        t.encode[m.privateUse] = m.fourByte;
        const unsigned b1 = m.fourByte >> 24;
        const unsigned k =
            fourByteIndex(b1 >= 0x90 ? b1 - 0x90 : b1 - 0x81, ((m.fourByte >> 16) & 0xFF) - 0x30,
                          ((m.fourByte >> 8) & 0xFF) - 0x81, (m.fourByte & 0xFF) - 0x30);
        if (b1 >= 0x90) {
            const char32_t standard = 0x10000 + k;
            t.supplementaryOverrides.emplace_back(standard, m.privateUse);
            const char in[4] = {static_cast<char>(standard & 0xFF),
                                static_cast<char>((standard >> 8) & 0xFF),
                                static_cast<char>(standard >> 16), 0};
            const auto* u = reinterpret_cast<const unsigned char*>(out);
            if (encoder.convert(in, 4, out, sizeof out) == 2) {
                t.supplementaryCodes.emplace_back(standard, (u[0] << 8) | u[1]);
            }
        } else {
            t.fourByte[k] = m.privateUse;
        }
    }
    return t;
}

// Decodes one UTF-8 character at s[i]. Returns its code point and sets len to
// its byte count; on malformed input returns kInvalid and len = 1.
inline char32_t nextUtf8(const unsigned char* s, std::size_t n, std::size_t i, std::size_t& len) {
    const unsigned b0 = s[i];
    len = 1;
    if (b0 < 0x80) return b0;
    auto cont = [&](std::size_t k) { return i + k < n && (s[i + k] & 0xC0) == 0x80; };
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (!cont(1)) return kInvalid;
        len = 2;
        return ((b0 & 0x1F) << 6) | (s[i + 1] & 0x3F);
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (!cont(1) || !cont(2)) return kInvalid;
        const char32_t c = ((b0 & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
        if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF)) return kInvalid;
        len = 3;
        return c;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3)) return kInvalid;
        const char32_t c = ((b0 & 0x07) << 18) | ((s[i + 1] & 0x3F) << 12) |
                           ((s[i + 2] & 0x3F) << 6) | (s[i + 3] & 0x3F);
        if (c < 0x10000 || c > 0x10FFFF) return kInvalid;
        len = 4;
        return c;
    }
    return kInvalid;
}

// The code page 936 code of one code point as packed bytes (see
// Tables::encode), or 0 when it has none.
inline std::uint32_t gbCode(const Tables& t, char32_t c) {
    if (c < 0x10000) return t.encode[c];
    for (const auto& [standard, code] : t.supplementaryCodes) {
        if (c == standard) return code;
    }
    const std::uint32_t i = c - 0x10000;
    return (std::uint32_t(0x90 + i / 12600) << 24) | (std::uint32_t(0x30 + i / 1260 % 10) << 16) |
           (std::uint32_t(0x81 + i / 10 % 126) << 8) | std::uint32_t(0x30 + i % 10);
}

// Number of bytes of a packed code (see Tables::encode; code != 0).
inline unsigned codeLength(std::uint32_t code) { return code > 0xFFFF ? 4 : code > 0xFF ? 2 : 1; }

inline char* putGb(char* out, std::uint32_t code) {
    if (code > 0xFFFF) {
        *out++ = static_cast<char>(code >> 24);
        *out++ = static_cast<char>(code >> 16);
    }
    if (code > 0xFF) *out++ = static_cast<char>(code >> 8);
    *out++ = static_cast<char>(code);
    return out;
}

// Where code page 936 and GB18030 differ, and the escapes; then drops every
// code whose character is written as another code (such as GB18030's A2E3 for
// the euro sign), so that it reads as escaped bytes instead.
void makeLossless(Tables& t) {
    t.encode[kEuro] = kEuroByte;
    t.encode[kA2E3] = 0xA2E3;
    t.twoByteUtf8[twoByteIndex(0xA2, 0xE3)] = packUtf8(kA2E3);
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) t.encode[escape(byte)] = byte;

    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            std::uint32_t& packed = t.twoByteUtf8[twoByteIndex(lead, trail)];
            if (packed == 0) continue;
            char bytes[4];
            const std::uint32_t raw = le32(packed);
            std::memcpy(bytes, &raw, 4);
            std::size_t len;
            const char32_t c = nextUtf8(reinterpret_cast<const unsigned char*>(bytes), 4, 0, len);
            if (gbCode(t, c) != ((lead << 8) | trail)) packed = 0;
        }
    }
    for (unsigned k = 0; k < kFourByteBmpCount; ++k) {
        const char16_t c = t.fourByte[k];
        const std::uint32_t code =
            (std::uint32_t(0x81 + k / 12600) << 24) | (std::uint32_t(0x30 + k / 1260 % 10) << 16) |
            (std::uint32_t(0x81 + k / 10 % 126) << 8) | std::uint32_t(0x30 + k % 10);
        if (c != 0 && t.encode[c] != code) t.fourByte[k] = 0;
    }
}

const Tables& tables() {
    static const Tables t = [] {
        Tables built = buildTables();
        makeLossless(built);
        return built;
    }();
    return t;
}

// Decodes one character of the program's text at s[i]: a UTF-8 character or
// an escape. Returns its code point and sets len to its byte count; on
// anything else returns kInvalid and len = 1.
inline char32_t nextChar(const unsigned char* s, std::size_t n, std::size_t i, std::size_t& len) {
    const char32_t c = nextUtf8(s, n, i, len);
    if (c == kInvalid && s[i] == 0xED && i + 2 < n && (s[i + 1] & 0xFE) == 0xB2 &&
        (s[i + 2] & 0xC0) == 0x80) {
        len = 3;
        return 0xD000 | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
    }
    return c;
}

// Writes the code page 936 bytes of one character or escape, "?" for a
// character that has none or for malformed UTF-8. Returns the end of the output.
inline char* putCharacter(const Tables& t, char* out, char32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
        return out;
    }
    const std::uint32_t code = c == kInvalid ? 0 : gbCode(t, c);
    if (code == 0) {
        *out++ = '?';
        return out;
    }
    return putGb(out, code);
}

// The character of a high byte that is not the start of a valid two-byte
// code: the euro sign, a four-byte code, or the escape of the byte when it
// starts no character (the next byte is then read on its own). Sets used to
// the number of bytes it takes. A CR or LF byte is never taken as part of
// another character, so the lines of a text decode alike whether they are
// decoded one by one or as a whole.
char32_t decodeOther(const Tables& t, const unsigned char* s, std::size_t n, std::size_t i,
                     std::size_t& used) {
    const unsigned b1 = s[i];
    used = 1;
    if (b1 == kEuroByte) return kEuro;
    if (b1 == 0xFF || i + 3 >= n) return escape(b1);
    const unsigned b2 = s[i + 1];
    const unsigned b3 = s[i + 2];
    const unsigned b4 = s[i + 3];
    if (b2 < 0x30 || b2 > 0x39 || b3 < 0x81 || b3 > 0xFE || b4 < 0x30 || b4 > 0x39)
        return escape(b1);
    if (b1 <= 0x84) {
        const unsigned k = fourByteIndex(b1 - 0x81, b2 - 0x30, b3 - 0x81, b4 - 0x30);
        if (k < kFourByteBmpCount && t.fourByte[k] != 0) {
            used = 4;
            return t.fourByte[k];
        }
    } else if (b1 >= 0x90 && b1 <= 0xE3) {
        const unsigned k = fourByteIndex(b1 - 0x90, b2 - 0x30, b3 - 0x81, b4 - 0x30);
        if (k <= 0xFFFFF) {
            used = 4;
            for (const auto& [standard, privateUse] : t.supplementaryOverrides) {
                if (0x10000 + k == standard) return privateUse;
            }
            return 0x10000 + k;
        }
    }
    return escape(b1);
}

// Copies the run of ASCII bytes at s[i] (up to stop), eight at a time while it
// lasts, and advances i past it. Returns the end of the output.
inline char* copyAscii(const unsigned char* s, std::size_t& i, std::size_t stop, char* out) {
    while (i + 8 <= stop && scan::allAscii8(s + i)) {
        std::memcpy(out, s + i, 8);
        out += 8;
        i += 8;
    }
    while (i < stop && s[i] < 0x80) *out++ = static_cast<char>(s[i++]);
    return out;
}

// Decodes the characters that start in s[i, stop) of a text of n bytes into
// out, which has room for 3 * (stop - i) + 8 bytes (no byte grows beyond
// three; four are written at a time). Returns the end of the output and sets
// i to the first byte not decoded (stop, or up to three bytes beyond it).
char* decodeRun(const unsigned char* s, std::size_t n, std::size_t& i, std::size_t stop,
                char* out) {
    const Tables* t = nullptr;
    while (i < stop) {
        const unsigned b1 = s[i];
        if (b1 < 0x80) {
            out = copyAscii(s, i, stop, out);
            continue;
        }
        if (!t) t = &tables();
        if (i + 1 < n) {
            const std::uint32_t packed = t->twoByteUtf8[twoByteIndex(b1, s[i + 1])];
            if (packed != 0) {
                const std::uint32_t bytes4 = le32(packed);
                std::memcpy(out, &bytes4, 4);
                out += utf8Length(packed & 0xFF);
                i += 2;
                continue;
            }
        }
        std::size_t used;
        out = scan::putUtf8(out, decodeOther(*t, s, n, i, used));
        i += used;
    }
    return out;
}

constexpr std::size_t kChunk = 16 * 1024;

// Converts a whole text with a run function (decodeRun, encodeRun) whose
// output takes at most growth bytes per input byte, into result (emptied
// first; the room it has is used again). Pieces are converted into a small
// buffer that stays in the cache and then appended; reserving room without
// filling it leaves the pages untouched until they are used.
template <std::size_t growth, typename Run>
void convertInPieces(std::string_view text, std::size_t expectedSize, Run run,
                     std::string& result) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    result.clear();
    result.reserve(expectedSize);
    char buffer[growth * kChunk + 8];
    std::size_t i = 0;
    while (i < n) {
        char* end = run(s, n, i, std::min(n, i + kChunk), buffer);
        result.append(buffer, end);
    }
}

// Encodes the characters that start in s[i, stop) of a UTF-8 text of n bytes
// into out, which has room for 2 * (stop - i) + 8 bytes (no byte of UTF-8
// needs more than two here: U+0080 takes four). Returns the end of the output
// and sets i to the first byte not encoded.
char* encodeRun(const unsigned char* s, std::size_t n, std::size_t& i, std::size_t stop,
                char* out) {
    const Tables* t = nullptr;
    while (i < stop) {
        if (s[i] < 0x80) {
            out = copyAscii(s, i, stop, out);
            continue;
        }
        if (!t) t = &tables();
        // Most of it: a character of three UTF-8 bytes with a two-byte code.
        if (s[i] >= 0xE0 && s[i] <= 0xEF && i + 2 < n && (s[i + 1] & 0xC0) == 0x80 &&
            (s[i + 2] & 0xC0) == 0x80) {
            const char32_t c = ((s[i] & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
            const std::uint32_t code = t->encode[c];
            // A two-byte code; false for other codes and for surrogates.
            if (c >= 0x800 && code - 0x100 < 0xFF00) {
                out[0] = static_cast<char>(code >> 8);
                out[1] = static_cast<char>(code);
                out += 2;
                i += 3;
                continue;
            }
        }
        std::size_t len;
        const char32_t c = nextChar(s, n, i, len);
        i += len;
        out = putCharacter(*t, out, c);
    }
    return out;
}

}  // namespace

std::string fromCp936(std::string_view bytes) {
    std::string text;
    convertInPieces<3>(bytes, bytes.size() + bytes.size() / 2, decodeRun, text);
    return text;
}

void fromCp936(std::string_view bytes, std::string& text) {
    if (bytes.size() > kChunk) {
        convertInPieces<3>(bytes, bytes.size() + bytes.size() / 2, decodeRun, text);
        return;
    }
    // A short text (a line) is decoded straight into the room text has.
    const std::size_t n = bytes.size();
    text.resize(3 * n + 8);
    std::size_t i = 0;
    const char* end =
        decodeRun(reinterpret_cast<const unsigned char*>(bytes.data()), n, i, n, text.data());
    text.resize(static_cast<std::size_t>(end - text.data()));
}

std::vector<std::string> linesFromCp936(std::string_view bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    std::vector<std::string> lines;
    lines.reserve(scan::countLf(p, end) + 1);
    std::string buffer(3 * kChunk + 8, '\0');
    while (p < end) {
        const char* q = scan::findBreak(p, end);
        // The line on its own: no character takes a CR or LF byte.
        std::size_t i = static_cast<std::size_t>(p - bytes.data());
        const std::size_t stop = static_cast<std::size_t>(q - bytes.data());
        if (buffer.size() < 3 * (stop - i) + 8) buffer.resize(3 * (stop - i) + 8);
        char* out = decodeRun(s, stop, i, stop, buffer.data());
        lines.emplace_back(buffer.data(), out);
        if (q == end) break;
        p = scan::afterBreak(q, end);
    }
    return lines;
}

std::string toCp936(std::string_view utf8) {
    // Chinese shrinks from three bytes to two; ASCII stays as it is.
    std::string bytes;
    convertInPieces<2>(utf8, utf8.size(), encodeRun, bytes);
    return bytes;
}

std::size_t cp936Length(std::string_view utf8) {
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < n) {
        if (s[i] < 0x80) {
            ++count;
            ++i;
            continue;
        }
        std::size_t len;
        const char32_t c = nextChar(s, n, i, len);
        i += len;
        const std::uint32_t code = c == kInvalid ? 0 : gbCode(tables(), c);
        count += code == 0 ? 1 : codeLength(code);
    }
    return count;
}

bool isValidUtf8(std::string_view bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        if (i + 8 <= n && scan::allAscii8(s + i)) {
            i += 8;
            continue;
        }
        std::size_t len;
        if (nextUtf8(s, n, i, len) == kInvalid) return false;
        i += len;
    }
    return true;
}

int compareText(std::string_view a, std::string_view b) {
    const auto* sa = reinterpret_cast<const unsigned char*>(a.data());
    const auto* sb = reinterpret_cast<const unsigned char*>(b.data());
    std::size_t i = 0;
    std::size_t j = 0;
    auto fold = [](char32_t c) -> char32_t { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    const Tables& t = tables();
    // The codes of characters form a prefix-free set, so comparing the codes
    // character by character orders the texts as comparing their whole byte
    // sequences. An escaped byte sorts before the codes that start with it.
    while (i < a.size() && j < b.size()) {
        std::size_t la;
        std::size_t lb;
        const char32_t ca = fold(nextChar(sa, a.size(), i, la));
        const char32_t cb = fold(nextChar(sb, b.size(), j, lb));
        i += la;
        j += lb;
        if (ca == cb) continue;
        char ba[4];
        char bb[4];
        const std::size_t na = static_cast<std::size_t>(putCharacter(t, ba, ca) - ba);
        const std::size_t nb = static_cast<std::size_t>(putCharacter(t, bb, cb) - bb);
        const int r = std::memcmp(ba, bb, std::min(na, nb));
        if (r != 0) return r < 0 ? -1 : 1;
        if (na != nb) return na < nb ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

}  // namespace platform::text
