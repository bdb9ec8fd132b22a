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
#include <algorithm>
#include <bit>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "catalogue/index_line.h"
#include "platform/error.h"
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

// The first CR or LF in [p, end), or end.
const char* lineEnd(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (mask != 0) return p + std::countr_zero(static_cast<unsigned>(mask));
    }
#endif
    while (p < end && !files::isLineBreak(*p)) ++p;
    return p;
}

// The byte after the last CR or LF in [begin, p), or begin.
const char* lineBegin(const char* begin, const char* p) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; p - begin >= 16; p -= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 16));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (mask != 0) return p - std::countl_zero(static_cast<unsigned>(mask) << 16);
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        // Eight bytes at once: a byte is a break exactly where the flag is set.
        constexpr std::uint64_t ones = 0x0101010101010101ULL;
        constexpr std::uint64_t lows = ones * 0x7F;
        const auto zeroBytes = [](std::uint64_t x) { return ~(((x & lows) + lows) | x | lows); };
        for (; p - begin >= 8; p -= 8) {
            std::uint64_t w;
            std::memcpy(&w, p - 8, 8);
            const std::uint64_t found = zeroBytes(w ^ (ones * '\r')) | zeroBytes(w ^ (ones * '\n'));
            if (found != 0) return p - (std::countl_zero(found) >> 3);
        }
    }
    while (p > begin && !files::isLineBreak(p[-1])) --p;
    return p;
}

// Where visitLines found a term's bytes in a line: the filter and the place
// (the first place of its bytes in the line). Nothing for a line handed on
// without a look.
struct Found {
    const ByteFilter* filter = nullptr;
    const char* at = nullptr;
};

// Hands visit every line of the index that may hold the bytes of one of the
// filters' terms (every line, when a filter cannot look in runs of lines),
// in file order, as RawLineReader::next gives them, with where the bytes
// were found. The terms are looked for in whole blocks of lines; only the
// lines they turn up in are cut out.
template <class Visit>
void visitLines(files::RawLineReader& lines, std::initializer_list<const ByteFilter*> filters,
                Visit&& visit) {
    bool everyLine = false;
    for (const ByteFilter* f : filters) everyLine = everyLine || !f->findsInLines();
    std::string_view block;
    while (lines.nextBlock(block)) {
        if (everyLine) {
            files::forEachRawLine(block, [&](std::string_view line) { visit(line, Found{}); });
            continue;
        }
        const char* p = block.data();
        const char* const end = p + block.size();
        while (p < end) {
            Found found;
            for (const ByteFilter* f : filters)
                if (const char* at = f->find(p, found.at ? found.at : end)) found = {f, at};
            if (!found.at) break;
            const char* begin = lineBegin(p, found.at);
            const char* stop = lineEnd(found.at, end);
            visit(std::string_view(begin, static_cast<std::size_t>(stop - begin)), found);
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

// The query that lists the ticked files: the tick mark as the first term,
// whatever the switches.
bool isTickQuery(const Query& query) { return query.first == catalogue::TickMark; }

// Adds a file row: ticked by its line's tick marks.
void addFileRow(FileHits& hits, std::string_view line) { hits.add(line, ticked(line)); }

// A stored line decoded, and the text its terms are looked for in: the same,
// or lower-cased when the search ignores case (which keeps every position).
// The two buffers are used again line after line; a hit takes a copy of the
// decoded line into its list's text.
class DecodedLine {
  public:
    explicit DecodedLine(bool fold) : fold_(fold) {}

    void decode(std::string_view raw) {
        text::fromCp936(raw, stored_);
        if (!fold_) return;
        lowered_ = stored_;
        text::lcaseInPlace(lowered_);
    }
    const std::string& stored() const { return stored_; }
    std::string_view compared() const { return fold_ ? lowered_ : stored_; }

  private:
    bool fold_;
    std::string stored_;
    std::string lowered_;
};

// Whether the term lies in the line's last path component: its last
// occurrence has no "\" after it. The empty term is found at the line's end.
// That is: the term has no "\" and lies in what follows the line's last "\".
bool inLastComponent(std::string_view line, std::string_view term) {
    if (term.find(Backslash) != std::string_view::npos) return false;
    std::string_view last = line;
    if (const void* slash = ::memrchr(line.data(), Backslash, line.size()))
        last = line.substr(static_cast<std::size_t>(static_cast<const char*>(slash) - line.data()) +
                           1);
    return last.find(term) != std::string_view::npos;
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

    void line(std::string_view raw, Found found, FileHits& hits) {
        if (found.filter != &filter_ && !filter_.mayHold(raw)) return;
        // The row shows the line lower-cased.
        text::fromCp936(raw, line_);
        text::lcaseInPlace(line_);
        const std::string_view line = line_;
        if (line.find(FolderBar) != std::string_view::npos) return;
        const std::string_view name = line.substr(0, line.find('['));
        const std::size_t a = name.find(dotTerm_);
        if (a == std::string_view::npos) return;
        if (name.find(dotTerm_, a + 1) != std::string_view::npos ||
            name.find_first_of("\\.", a + 1) == std::string_view::npos)
            addFileRow(hits, line_);
    }

    const ByteFilter& filter() const { return filter_; }

  private:
    std::string dotTerm_;
    ByteFilter filter_;
    std::string line_;  // the line looked at, used again for the next
};

// Files whose name is the term and an extension, and folders whose name is
// the term (the folder-key "@"s left out). Each line gives at most one row;
// the folder rows follow the file rows.
class WholeWordSearch {
  public:
    // The rows go to hits.
    WholeWordSearch(std::string_view term, bool caseSensitive, FileHits& hits)
        : term_(caseSensitive ? std::string(term) : text::lcase(term)),
          filter_(term, !caseSensitive),
          line_(!caseSensitive),
          files_(hits) {}

    void line(std::string_view raw, Found found) {
        if (found.filter != &filter_ && !filter_.mayHold(raw)) return;
        line_.decode(raw);
        const std::string_view compared = line_.compared();
        const std::size_t bar = compared.find(FolderBar);
        if (bar != std::string_view::npos) {
            const std::string_view key = compared.substr(bar + 1);
            if (catalogue::stripFolderKeySuffix(key) == term_) folders_.add(line_.stored(), false);
            return;
        }
        const auto file = catalogue::parseFileLine(compared);
        if (!file) return;
        const std::string_view name = file->name();
        if (name.size() > term_.size() && name.starts_with(term_) && name[term_.size()] == '.')
            addFileRow(files_, line_.stored());
    }

    const ByteFilter& filter() const { return filter_; }

    // The folder rows after the file rows, once every line was looked at.
    void finish() { files_.append(folders_); }

  private:
    std::string term_;
    ByteFilter filter_;
    DecodedLine line_;
    FileHits& files_;
    FileHits folders_;
};

// Lines whose last path component holds the first term, combined with the
// second term by the operator; "或" lists the lines of the first term, then
// those of the second. A line equal to the last row listed is not listed
// again (so the same line never comes twice in a row). The tick mark "($)"
// as the first term stands for the ticked files: it takes exactly the file
// lines the disc page shows ticked (an odd run of marks after the size),
// never a folder, an unticked file or a name that merely holds "($)".
class PlainSearch {
  public:
    // The rows go to hits.
    PlainSearch(const Query& query, bool caseSensitive, FileHits& hits)
        : op_(query.op),
          fold_(!caseSensitive),
          first_(fold_ ? text::lcase(query.first) : query.first),
          second_(fold_ ? text::lcase(query.second) : query.second),
          tickQuery_(isTickQuery(query)),
          firstFilter_(query.first, fold_),
          secondFilter_(query.second, fold_),
          line_(fold_),
          hits_(hits) {}

    void line(std::string_view raw, Found found) {
        // A filter whose bytes were found in the line need not look again.
        const auto holds = [&](const ByteFilter& filter, std::string_view bytes) {
            return (found.filter == &filter && found.at >= bytes.data()) || filter.mayHold(bytes);
        };
        bool forFirst = holds(firstFilter_, raw);
        bool forSecond = op_ == Operator::Or && holds(secondFilter_, raw);
        // A term must lie in the last component; a tick lies after it.
        if (forFirst || forSecond) {
            const std::string_view last = lastComponentBytes(raw);
            forFirst = forFirst && (tickQuery_ || holds(firstFilter_, last));
            forSecond = forSecond && holds(secondFilter_, last);
        }
        if ((!forFirst && !forSecond) || raw.empty()) return;
        line_.decode(raw);
        const std::string_view compared = line_.compared();
        if (forFirst && compared.find(first_) != std::string_view::npos) firstPass(compared);
        if (forSecond && inLastComponent(compared, second_)) seconds_.add(line_.stored(), true);
    }

    const ByteFilter& firstFilter() const { return firstFilter_; }
    const ByteFilter& secondFilter() const { return secondFilter_; }

    // The second pass's rows, once every line was looked at.
    void finish() {
        for (const FileHit s : seconds_)
            if (s.line != lastRow()) addFileRow(hits_, s.line);
    }

  private:
    void firstPass(std::string_view compared) {
        const std::string& stored = line_.stored();
        const bool takes = tickQuery_ ? ticked(stored) : inLastComponent(compared, first_);
        if (takes && stored != lastRow() && operatorTakes(compared, op_, second_))
            addFileRow(hits_, stored);
    }

    // The line of the last row listed for this disc ("" before the first).
    std::string_view lastRow() const {
        return hits_.empty() ? std::string_view() : hits_.back().line;
    }

    Operator op_;
    bool fold_;
    std::string first_;
    std::string second_;
    bool tickQuery_;
    ByteFilter firstFilter_;
    ByteFilter secondFilter_;
    DecodedLine line_;
    FileHits& hits_;
    // The second pass's lines (the second term in their last component), in
    // file order.
    FileHits seconds_;
};

}  // namespace

FileHits searchDiscFiles(platform::files::RawLineReader& lines, const Query& query,
                         const FileSearchOptions& options) {
    FileHits hits;
    searchDiscFiles(lines, query, options, hits);
    return hits;
}

void searchDiscFiles(platform::files::RawLineReader& lines, const Query& query,
                     const FileSearchOptions& options, FileHits& hits) {
    hits.clear();
    if (options.extension && !isTickQuery(query)) {
        ExtensionSearch search(query.first);
        visitLines(lines, {&search.filter()},
                   [&](std::string_view raw, Found found) { search.line(raw, found, hits); });
        return;
    }
    if (options.wholeWord && !isTickQuery(query)) {
        WholeWordSearch search(query.first, options.caseSensitive, hits);
        visitLines(lines, {&search.filter()},
                   [&](std::string_view raw, Found found) { search.line(raw, found); });
        search.finish();
        return;
    }
    PlainSearch search(query, options.caseSensitive, hits);
    const auto visit = [&](std::string_view raw, Found found) { search.line(raw, found); };
    if (query.op == Operator::Or)
        visitLines(lines, {&search.firstFilter(), &search.secondFilter()}, visit);
    else
        visitLines(lines, {&search.firstFilter()}, visit);
    search.finish();
}

namespace {

// The hits of an opened index file into hits (none without one, or when it
// cannot be read to its end).
void searchOpened(files::RawLineReader* lines, const Query& query, const FileSearchOptions& options,
                  FileHits& hits) {
    hits.clear();
    if (!lines) return;
    try {
        searchDiscFiles(*lines, query, options, hits);
    } catch (const platform::Error&) {
        hits.clear();
    }
}

using OpenFile = std::function<std::unique_ptr<files::RawLineReader>(std::size_t)>;

std::unique_ptr<files::RawLineReader> openOrNone(const OpenFile& open, std::size_t i) {
    try {
        return open(i);
    } catch (const platform::Error&) {
        return nullptr;
    }
}

// The worker threads of searchDiscFilesInOrder: each takes the next file
// offered, searches it and leaves its hits in the file's slot. The hits'
// lists come back once taken and are filled again for later files, so their
// room is made once for the whole search, not again for each file.
class InOrderSearch {
  public:
    InOrderSearch(std::size_t files, unsigned threads, const Query& query,
                  const FileSearchOptions& options)
        : query_(query), options_(options), slots_(files) {
        for (unsigned t = 0; t < threads; ++t) workers_.emplace_back([this] { work(); });
    }
    ~InOrderSearch() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        offered_.notify_all();
        for (std::thread& w : workers_) w.join();
    }
    InOrderSearch(const InOrderSearch&) = delete;
    InOrderSearch& operator=(const InOrderSearch&) = delete;

    // Hands file i (the next in order) to the workers; null when it could not
    // be opened.
    void offer(std::size_t i, std::unique_ptr<files::RawLineReader> lines) {
        {
            const std::lock_guard lock(mutex_);
            slots_[i].lines = std::move(lines);
            ++offeredCount_;
        }
        offered_.notify_one();
    }

    // The hits of file i once searched (an error of the search raised here).
    FileHits hits(std::size_t i) {
        std::unique_lock lock(mutex_);
        searched_.wait(lock, [&] { return slots_[i].searched; });
        Slot slot = std::move(slots_[i]);
        lock.unlock();
        if (slot.error) std::rethrow_exception(slot.error);
        return std::move(slot.hits);
    }

    // A list of hits taken, to be filled again.
    void giveBack(FileHits hits) {
        const std::lock_guard lock(mutex_);
        spare_.push_back(std::move(hits));
    }

  private:
    struct Slot {
        std::unique_ptr<files::RawLineReader> lines;
        FileHits hits;
        std::exception_ptr error;
        bool searched = false;
    };

    void work() {
        for (;;) {
            std::unique_ptr<files::RawLineReader> lines;
            FileHits hits;
            std::size_t i;
            {
                std::unique_lock lock(mutex_);
                offered_.wait(lock, [&] { return stop_ || next_ < offeredCount_; });
                if (stop_) return;
                i = next_++;
                lines = std::move(slots_[i].lines);
                if (!spare_.empty()) {
                    hits = std::move(spare_.back());
                    spare_.pop_back();
                }
            }
            std::exception_ptr error;
            try {
                searchOpened(lines.get(), query_, options_, hits);
            } catch (...) {
                error = std::current_exception();
            }
            lines.reset();  // the file closed
            {
                const std::lock_guard lock(mutex_);
                Slot& slot = slots_[i];
                slot.hits = std::move(hits);
                slot.error = error;
                slot.searched = true;
            }
            searched_.notify_all();
        }
    }

    const Query& query_;
    const FileSearchOptions& options_;
    std::mutex mutex_;
    std::condition_variable offered_;   // a file offered, or the end
    std::condition_variable searched_;  // a file searched
    std::vector<Slot> slots_;
    std::vector<FileHits> spare_;  // lists taken, to be filled again
    std::size_t offeredCount_ = 0;
    std::size_t next_ = 0;  // the next file for a worker
    bool stop_ = false;
    std::vector<std::thread> workers_;  // last: started once the rest is made
};

}  // namespace

void searchDiscFilesInOrder(std::size_t files, unsigned threads, const OpenFile& open,
                            const Query& query, const FileSearchOptions& options,
                            const std::function<void(std::size_t, const FileHits&)>& take) {
    if (threads <= 1 || files <= 1) {
        FileHits hits;
        for (std::size_t i = 0; i < files; ++i) {
            searchOpened(openOrNone(open, i).get(), query, options, hits);
            take(i, hits);
        }
        return;
    }
    InOrderSearch search(files, threads, query, options);
    // The files open at once: those searched or waiting to be, and those
    // whose hits wait to be taken.
    const std::size_t ahead = 2 * static_cast<std::size_t>(threads);
    std::size_t offered = 0;
    for (std::size_t i = 0; i < files; ++i) {
        for (; offered < files && offered < i + ahead; ++offered)
            search.offer(offered, openOrNone(open, offered));
        FileHits hits = search.hits(i);
        take(i, hits);
        search.giveBack(std::move(hits));
    }
}

unsigned searchThreadCount() { return std::clamp(std::thread::hardware_concurrency(), 1u, 4u); }

}  // namespace search
