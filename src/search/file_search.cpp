// The search of the names in a disc's index file (searchDiscFiles).
//
// The index is read line by line as stored bytes (code page 936). Each line
// first goes through a cheap byte test: the term's bytes, in code page 936,
// must appear in the line (ASCII letters compared without regard to case when
// the search ignores case). A line without them cannot hold the term, since a
// decoded character always comes from the same bytes. The test can only rule
// a line out: an ASCII byte may also be the second byte of a Chinese
// character ("許" is D4 53 and "誠" D5 5C, an "S" and a "\" to a byte search),
// so a line that passes is decoded and tested again as text, where a term
// never matches across a character's bytes.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "catalogue/index_line.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"
#include "search/search.h"

namespace search {
namespace {

namespace text = platform::text;
namespace files = platform::files;

constexpr char Backslash = '\\';
constexpr char FolderBar = '|';

bool isUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool isLetter(unsigned char c) { return isUpper(c) || (c >= 'a' && c <= 'z'); }
unsigned char lower(unsigned char c) {
    return isUpper(c) ? static_cast<unsigned char>(c | 0x20) : c;
}

// How often a byte turns up in index lines, roughly: the two bytes of the
// term looked for first are the rarest pair.
int commonness(unsigned char c) {
    if (c == ' ' || c == Backslash || c == '.' || c == '[' || c == ']' || (c >= '0' && c <= '9'))
        return 3;
    if (c >= 0x80 || isLetter(c)) return 2;
    return 1;
}

// A byte of the term as the scan compares it: a stored byte b matches when
// (b | fold) == want. fold is 0x20 for a letter compared in either case
// (setting bit 5 folds "A".."Z" onto "a".."z" and makes no other byte a
// letter), else 0.
struct ScanByte {
    unsigned char want = 0;
    unsigned char fold = 0;
    bool matches(char b) const { return (static_cast<unsigned char>(b) | fold) == want; }
};

// The first place p in [p, last] where p[0] matches a and, when Two, p[1]
// matches b; a place after last when there is none. With Two, last[1] must
// be readable. Sixteen places at a time with SSE2, then eight at a time in
// one 64-bit word, then one by one.
template <bool Two>
const char* findPlace(const char* p, const char* last, ScanByte a, ScanByte b) {
#if defined(__SSE2__)
    {
        const __m128i foldA = _mm_set1_epi8(static_cast<char>(a.fold));
        const __m128i wantA = _mm_set1_epi8(static_cast<char>(a.want));
        const __m128i foldB = _mm_set1_epi8(static_cast<char>(b.fold));
        const __m128i wantB = _mm_set1_epi8(static_cast<char>(b.want));
        while (last - p >= 15) {
            __m128i m = _mm_cmpeq_epi8(
                _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), foldA), wantA);
            if constexpr (Two)
                m = _mm_and_si128(
                    m, _mm_cmpeq_epi8(
                           _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1)),
                                        foldB),
                           wantB));
            if (const int mask = _mm_movemask_epi8(m); mask != 0)
                return p + std::countr_zero(static_cast<unsigned>(mask));
            p += 16;
        }
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t ones = 0x0101010101010101ULL;
        constexpr std::uint64_t highs = 0x8080808080808080ULL;
        while (last - p >= 7) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            std::uint64_t x = (w | ones * a.fold) ^ (ones * a.want);
            if constexpr (Two) {
                std::memcpy(&w, p + 1, 8);
                x |= (w | ones * b.fold) ^ (ones * b.want);
            }
            // A zero byte of x is a match; the lowest flagged byte is always one.
            const std::uint64_t found = (x - ones) & ~x & highs;
            if (found != 0) return p + (std::countr_zero(found) >> 3);
            p += 8;
        }
    }
    for (; p <= last; ++p)
        if (a.matches(p[0]) && (!Two || b.matches(p[1]))) return p;
    return p;
}

// The byte test of one term: rules out the stored lines that cannot hold it.
class ByteFilter {
  public:
    ByteFilter(std::string_view term, bool ignoreCase) : fold_(ignoreCase) {
        // An empty term is in every line; a term that is no valid text (it
        // has no one set of stored bytes) is left to the text test.
        if (term.empty() || !text::isValidUtf8(term)) return;
        needle_ = text::toCp936(term);
        if (fold_)
            for (char& c : needle_) c = static_cast<char>(lower(static_cast<unsigned char>(c)));
        const auto pairCommonness = [this](std::size_t i) {
            return commonness(byte(i)) + commonness(byte(i + 1));
        };
        for (std::size_t i = 1; i + 1 < needle_.size(); ++i)
            if (pairCommonness(i) < pairCommonness(anchor_)) anchor_ = i;
        for (const char c : needle_) breakInNeedle_ = breakInNeedle_ || files::isLineBreak(c);
        first_ = scanByte(anchor_);
        if (needle_.size() > 1) second_ = scanByte(anchor_ + 1);
        active_ = true;
    }

    // False when the stored line cannot hold the term.
    bool mayHold(std::string_view line) const {
        return !active_ || find(line.data(), line.data() + line.size()) != nullptr;
    }

    // True when the term's bytes can be looked for in a run of lines: every
    // line that may hold the term holds them, and they never span a break.
    bool findsInLines() const { return active_ && !breakInNeedle_; }

    // The first place in [begin, end) where the term's bytes begin; null
    // when there is none. The filter must be active.
    const char* find(const char* begin, const char* end) const {
        const std::size_t n = needle_.size();
        if (static_cast<std::size_t>(end - begin) < n) return nullptr;
        // The places the anchor can take.
        const char* p = begin + anchor_;
        const char* const last = end - n + anchor_;
        for (;; ++p) {
            p = n > 1 ? findPlace<true>(p, last, first_, second_)
                      : findPlace<false>(p, last, first_, second_);
            if (p > last) return nullptr;
            if (equalAt(p - anchor_)) return p - anchor_;
        }
    }

  private:
    unsigned char byte(std::size_t i) const { return static_cast<unsigned char>(needle_[i]); }

    ScanByte scanByte(std::size_t i) const {
        const bool bothCases = fold_ && isLetter(byte(i));
        return {byte(i), static_cast<unsigned char>(bothCases ? 0x20 : 0)};
    }

    bool equalAt(const char* s) const {
        if (!fold_) return std::memcmp(s, needle_.data(), needle_.size()) == 0;
        for (std::size_t i = 0; i < needle_.size(); ++i)
            if (lower(static_cast<unsigned char>(s[i])) != byte(i)) return false;
        return true;
    }

    std::string needle_;      // the term's stored bytes, lower-cased when folding
    std::size_t anchor_ = 0;  // where the pair of bytes looked for first begins
    ScanByte first_;
    ScanByte second_;
    bool fold_;
    bool active_ = false;
    bool breakInNeedle_ = false;
};

// Hands visit every line of the index that may hold the bytes of one of the
// filters' terms (every line, when a filter cannot look in runs of lines),
// in file order, as RawLineReader::next gives them. The terms are looked for
// in whole blocks of lines; only the lines they turn up in are cut out.
template <class Visit>
void visitLines(files::RawLineReader& lines, std::initializer_list<const ByteFilter*> filters,
                Visit&& visit) {
    bool everyLine = false;
    for (const ByteFilter* f : filters) everyLine = everyLine || !f->findsInLines();
    std::string_view block;
    while (lines.nextBlock(block)) {
        if (everyLine) {
            files::forEachRawLine(block, visit);
            continue;
        }
        const char* p = block.data();
        const char* const end = p + block.size();
        while (p < end) {
            const char* hit = nullptr;
            for (const ByteFilter* f : filters)
                if (const char* at = f->find(p, hit ? hit : end)) hit = at;
            if (!hit) break;
            const char* begin = hit;
            while (begin > p && !files::isLineBreak(begin[-1])) --begin;
            const char* stop = hit;
            while (stop < end && !files::isLineBreak(*stop)) ++stop;
            visit(std::string_view(begin, static_cast<std::size_t>(stop - begin)));
            p = stop + 1;
        }
    }
}

// A file line with an odd number of tick marks: the run after its size, read
// through the index-line grammar, so a "($)" in a name or a folder's name is
// no mark. Folder lines and other lines are never ticked.
bool ticked(std::string_view line) {
    if (line.find(catalogue::TickMark) == std::string_view::npos) return false;
    const auto file = catalogue::parseFileLine(line);
    return file && file->ticked();
}

FileHit fileRow(std::string line) {
    const bool tick = ticked(line);
    return {std::move(line), tick};
}

// Whether the term lies in the line's last path component: its last
// occurrence has no "\" after it. The empty term is found at the line's end.
bool inLastComponent(std::string_view line, std::string_view term) {
    const std::size_t at = line.rfind(term);
    return at != std::string_view::npos && line.find(Backslash, at) == std::string_view::npos;
}

// The stored bytes after the line's last "\" that is surely one: a 5C byte
// right after a byte below 81 (or first in the line) is no character's second
// byte. A term that lies in the decoded line's last component lies in these
// bytes; the converse need not hold.
std::string_view lastComponentBytes(std::string_view raw) {
    const char* const begin = raw.data();
    for (std::size_t n = raw.size(); n > 0;) {
        const void* found = ::memrchr(begin, Backslash, n);
        if (!found) break;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(found) - begin);
        if (at == 0 || static_cast<unsigned char>(begin[at - 1]) < 0x81) return raw.substr(at + 1);
        n = at;
    }
    return raw;
}

// 1-based position (0 when absent), so the comparisons read as written.
std::size_t position(std::size_t at) { return at == std::string_view::npos ? 0 : at + 1; }

// The "与" and "非" tests: where the second term lies from the line's last
// "\" on, against the line's first "[" and first "]".
bool operatorTakes(std::string_view line, Operator op, std::string_view second) {
    if (op != Operator::And && op != Operator::Not) return true;
    const std::size_t b = position(line.rfind(Backslash));
    const std::size_t from = b == 0 ? 0 : b - 1;
    const std::size_t s = position(line.find(second, from));
    const std::size_t l = position(line.find('['));
    const std::size_t r = position(line.find(']'));
    if (op == Operator::And) return s != 0 && !(l < s && s < r);
    return s == 0 || (l <= s && s <= r);
}

// ---- the three modes ----

// Files whose name, the part before the size, ends in an extension that
// begins with the term.
class ExtensionSearch {
  public:
    explicit ExtensionSearch(std::string_view term)
        : dotTerm_("." + text::lcase(term)), filter_(dotTerm_, true) {}

    void line(std::string_view raw, std::vector<FileHit>& hits) const {
        if (!filter_.mayHold(raw)) return;
        std::string line = text::lcase(text::fromCp936(raw));
        if (line.find(FolderBar) != std::string::npos) return;
        const std::string_view name = std::string_view(line).substr(0, line.find('['));
        const std::size_t a = name.find(dotTerm_);
        if (a == std::string_view::npos) return;
        if (name.find(dotTerm_, a + 1) != std::string_view::npos ||
            name.find_first_of("\\.", a + 1) == std::string_view::npos)
            hits.push_back(fileRow(std::move(line)));
    }

    const ByteFilter& filter() const { return filter_; }

  private:
    std::string dotTerm_;
    ByteFilter filter_;
};

// Files whose name is the term and an extension, and folders whose name is
// the term (the folder-key "@"s left out). Each line gives at most one row;
// the folder rows follow the file rows.
class WholeWordSearch {
  public:
    WholeWordSearch(std::string_view term, bool caseSensitive)
        : term_(caseSensitive ? std::string(term) : text::lcase(term)),
          fold_(!caseSensitive),
          filter_(term, !caseSensitive) {}

    void line(std::string_view raw) {
        if (!filter_.mayHold(raw)) return;
        std::string line = text::fromCp936(raw);
        const std::string compared = fold_ ? text::lcase(line) : line;
        const std::size_t bar = compared.find(FolderBar);
        if (bar != std::string::npos) {
            const std::string_view key = std::string_view(compared).substr(bar + 1);
            if (catalogue::stripFolderKeySuffix(key) == term_)
                folders_.push_back({std::move(line), false});
            return;
        }
        const auto file = catalogue::parseFileLine(compared);
        if (!file) return;
        const std::string_view name = file->name();
        if (name.size() > term_.size() && name.starts_with(term_) && name[term_.size()] == '.')
            files_.push_back(fileRow(std::move(line)));
    }

    const ByteFilter& filter() const { return filter_; }

    std::vector<FileHit> hits() && {
        files_.insert(files_.end(), std::make_move_iterator(folders_.begin()),
                      std::make_move_iterator(folders_.end()));
        return std::move(files_);
    }

  private:
    std::string term_;
    bool fold_;
    ByteFilter filter_;
    std::vector<FileHit> files_;
    std::vector<FileHit> folders_;
};

// Lines whose last path component holds the first term, combined with the
// second term by the operator; "或" lists the lines of the first term, then
// those of the second. A line equal to the last row listed is not listed
// again (so the same line never comes twice in a row), except that, ignoring
// case, the query "($)" lists every line that holds a tick mark.
class PlainSearch {
  public:
    PlainSearch(const Query& query, bool caseSensitive)
        : op_(query.op),
          fold_(!caseSensitive),
          first_(fold_ ? text::lcase(query.first) : query.first),
          second_(fold_ ? text::lcase(query.second) : query.second),
          tickQuery_(fold_ && query.first == catalogue::TickMark),
          firstFilter_(query.first, fold_),
          secondFilter_(query.second, fold_) {}

    void line(std::string_view raw) {
        bool forFirst = firstFilter_.mayHold(raw);
        bool forSecond = op_ == Operator::Or && secondFilter_.mayHold(raw);
        // Only the "($)" query ignoring case takes lines whose last component
        // lacks the term; every other line must have the term there.
        if ((forFirst || forSecond) && !tickQuery_) {
            const std::string_view last = lastComponentBytes(raw);
            forFirst = forFirst && firstFilter_.mayHold(last);
            forSecond = forSecond && secondFilter_.mayHold(last);
        }
        if ((!forFirst && !forSecond) || raw.empty()) return;
        // The line as stored, and the text the terms are looked for in
        // (lower-cased when the search ignores case; the same length).
        std::string stored = text::fromCp936(raw);
        const std::string lowered = fold_ ? text::lcase(stored) : std::string();
        const std::string_view compared = fold_ ? std::string_view(lowered) : stored;
        if (forFirst && compared.find(first_) != std::string_view::npos)
            firstPass(stored, compared);
        if (forSecond && compared.find(second_) != std::string_view::npos) {
            const bool holds = inLastComponent(compared, second_);
            if (holds || tickQuery_) seconds_.push_back({std::move(stored), holds});
        }
    }

    const ByteFilter& firstFilter() const { return firstFilter_; }
    const ByteFilter& secondFilter() const { return secondFilter_; }

    std::vector<FileHit> hits() && {
        for (SecondLine& s : seconds_)
            if ((s.holds && s.line != lastRow()) || tickQuery_) take(std::move(s.line));
        return std::move(hits_);
    }

  private:
    struct SecondLine {
        std::string line;
        bool holds;  // the second term lies in the last component
    };

    void firstPass(const std::string& stored, std::string_view compared) {
        if (inLastComponent(compared, first_) && stored != lastRow()) {
            if (operatorTakes(compared, op_, second_)) take(stored);
        } else if (tickQuery_) {
            take(stored);
        }
    }

    void take(std::string line) { hits_.push_back(fileRow(std::move(line))); }

    // The line of the last row listed for this disc ("" before the first).
    std::string_view lastRow() const {
        return hits_.empty() ? std::string_view() : std::string_view(hits_.back().line);
    }

    Operator op_;
    bool fold_;
    std::string first_;
    std::string second_;
    bool tickQuery_;
    ByteFilter firstFilter_;
    ByteFilter secondFilter_;
    std::vector<FileHit> hits_;
    std::vector<SecondLine> seconds_;  // the second pass's lines, in file order
};

}  // namespace

std::vector<FileHit> searchDiscFiles(platform::files::RawLineReader& lines, const Query& query,
                                     const FileSearchOptions& options) {
    if (options.extension) {
        const ExtensionSearch search(query.first);
        std::vector<FileHit> hits;
        visitLines(lines, {&search.filter()},
                   [&](std::string_view raw) { search.line(raw, hits); });
        return hits;
    }
    if (options.wholeWord) {
        WholeWordSearch search(query.first, options.caseSensitive);
        visitLines(lines, {&search.filter()}, [&](std::string_view raw) { search.line(raw); });
        return std::move(search).hits();
    }
    PlainSearch search(query, options.caseSensitive);
    const auto visit = [&](std::string_view raw) { search.line(raw); };
    if (query.op == Operator::Or)
        visitLines(lines, {&search.firstFilter(), &search.secondFilter()}, visit);
    else
        visitLines(lines, {&search.firstFilter()}, visit);
    return std::move(search).hits();
}

}  // namespace search
