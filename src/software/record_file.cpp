#include "software/record_file.h"

#include <locale.h>
#include <wctype.h>

#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace software {

namespace text = platform::text;
namespace files = platform::files;

std::string formatRecordText(const RecordValues& values) {
    std::string out;
    for (std::size_t i = 0; i < RecordFieldCount; ++i) {
        out.append(RecordKeys[i]).append(KeyColon);
        if (i == DescriptionField)
            out.append(text::replace(values[i], "\r\n", ""));
        else
            out.append(values[i]);
        out.append("\r\n");
    }
    return out;
}

ParsedRecord parseRecordText(std::string_view text) {
    ParsedRecord record;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t cr = text.find('\r', at);
        if (cr == std::string_view::npos) cr = text.size();
        const std::string line = text::trim(text.substr(at, cr - at));
        at = cr + 1;
        if (at < text.size() && text[at] == '\n') ++at;

        const std::size_t colon = line.find(KeyColon);
        if (colon == std::string::npos) continue;
        const std::string_view key = std::string_view(line).substr(0, colon);
        for (std::size_t i = 0; i < RecordFieldCount; ++i) {
            if (key == RecordKeys[i]) {
                record[i] = text::trim(std::string_view(line).substr(colon + KeyColon.size()));
                break;
            }
        }
    }
    return record;
}

bool isPlainRecordName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    if (name.front() == ' ' || name.back() == ' ') return false;
    if (!text::isValidUtf8(name)) return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F) return false;
        if (std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    }
    return true;
}

namespace {

// One code point of well-formed UTF-8 at s[at], with its length; nothing for
// a byte that starts none (an escape of a stored byte, say).
std::optional<char32_t> decodeAt(std::string_view s, std::size_t at, std::size_t& length) {
    const auto c = static_cast<unsigned char>(s[at]);
    if (c < 0x80) {
        length = 1;
        return c;
    }
    std::size_t n = 0;
    char32_t cp = 0;
    if ((c & 0xE0) == 0xC0) {
        n = 2;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        n = 4;
        cp = c & 0x07;
    } else {
        return std::nullopt;
    }
    if (at + n > s.size()) return std::nullopt;
    for (std::size_t i = 1; i < n; ++i) {
        const auto b = static_cast<unsigned char>(s[at + i]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    length = n;
    return cp;
}

void encode(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t lowerCase(char32_t cp) {
    // The C library's Unicode case table, when the system has a UTF-8 locale;
    // ASCII and full-width Latin letters in any case.
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    if (cp >= U'A' && cp <= U'Z') return cp + 32;
    if (cp >= U'\uFF21' && cp <= U'\uFF3A') return cp + 32;
    if (utf8 && cp >= 0x80) {
        const wint_t lower = towlower_l(static_cast<wint_t>(cp), utf8);
        if (lower != WEOF && lower < 0x110000) return static_cast<char32_t>(lower);
    }
    return cp;
}

}  // namespace

std::string foldRecordName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t at = 0; at < name.size();) {
        std::size_t length = 1;
        const auto cp = decodeAt(name, at, length);
        if (cp)
            encode(lowerCase(*cp), out);
        else
            out += name[at];
        at += length;
    }
    return out;
}

HeldRecordName findHeldRecordName(std::string_view subject, const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (subject.find(names[i]) != std::string_view::npos) return {i, false};
    const std::string foldedSubject = foldRecordName(subject);
    std::vector<std::string> folded;
    folded.reserve(names.size());
    for (const std::string& name : names) folded.push_back(foldRecordName(name));
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (foldedSubject.find(folded[i]) == std::string::npos) continue;
        for (std::size_t j = 0; j < names.size(); ++j)
            if (j != i && folded[j] == folded[i]) return {std::nullopt, true};
        return {i, false};
    }
    return {};
}

std::string softwareFolderPath(std::string_view programFolder) {
    std::string path(programFolder);
    if (path.empty() || path.back() != '\\') path += '\\';
    return path.append(SoftwareFolderName);
}

std::string recordFilePath(std::string_view programFolder, std::string_view name) {
    std::string path = softwareFolderPath(programFolder);
    return path.append("\\").append(name).append(RecordExtension);
}

std::string recordFileName(std::string_view name) {
    if (!isPlainRecordName(name)) platform::raise(platform::err::BadFileName);
    return std::string(name).append(RecordExtension);
}

platform::files::ConfinedRoot openSoftwareFolder(std::string_view programFolder) {
    // Opened beneath the program folder: a software folder that is a link
    // out of it is refused (75), never written through.
    return files::ConfinedRoot::open(programFolder).folder(SoftwareFolderName);
}

ParsedRecord readRecordFile(std::string_view programFolder, std::string_view name) {
    if (!isPlainRecordName(name)) platform::raise(platform::err::BadFileName);
    return parseRecordText(files::WholeFileRead(recordFilePath(programFolder, name)));
}

int probeRecordFile(std::string_view programFolder, std::string_view name) {
    if (!isPlainRecordName(name)) return platform::err::BadFileName;
    try {
        files::InputFile probe(recordFilePath(programFolder, name));
        return 0;
    } catch (const platform::Error& e) {
        return e.number();
    }
}

void writeRecordFile(std::string_view programFolder, std::string_view name,
                     const RecordValues& values) {
    // Written beneath the software folder: a link of the record's name is
    // followed only while it stays there.
    files::WholeFileRewrite(openSoftwareFolder(programFolder), recordFileName(name),
                            formatRecordText(values));
}

}  // namespace software
