// The catalogue file: its line parsers, the line-end normaliser, and the
// operations on the whole text, asked about the names the text holds and
// about one name of the input's own.
#include <set>

#include "catalogue/catalogue_file.h"
#include "catalogue/index_line.h"
#include "fuzz_target.h"
#include "platform/error.h"
#include "platform/text/text.h"

namespace {

using namespace catalogue;
using platform::text::lcase;

bool has(std::string_view s, std::string_view what) {
    return s.find(what) != std::string_view::npos;
}

void checkNormalised(std::string_view raw, const std::string& text) {
    FUZZ_CHECK(normaliseLineEnds(text) == text);
    FUZZ_CHECK(text.empty() == raw.empty());
    FUZZ_CHECK(text.empty() || text.ends_with(LineEnd));
    std::string kept;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r')
            FUZZ_CHECK(i + 1 < text.size() && text[i + 1] == '\n');
        else if (text[i] == '\n')
            FUZZ_CHECK(i > 0 && text[i - 1] == '\r');
        else
            kept += text[i];
    }
    std::string rawKept;
    for (char c : raw) {
        if (c != '\r' && c != '\n') rawKept += c;
    }
    FUZZ_CHECK(kept == rawKept);
}

void checkLine(std::string_view line) {
    const CatalogueEntry entry = parseCatalogueLine(line);
    FUZZ_CHECK(entry.kind == catalogueLineKind(line));
    const auto disc = parseDiscLine(line);
    FUZZ_CHECK(disc.has_value() == (entry.kind == CatalogueLineKind::DiscLine));
    switch (entry.kind) {
        case CatalogueLineKind::CategoryLine:
            FUZZ_CHECK(formatCategoryLine(entry.name) == line);
            break;
        case CatalogueLineKind::SubCategoryLine:
            FUZZ_CHECK(formatSubCategoryLine(entry.name) == line);
            break;
        case CatalogueLineKind::DiscLine: {
            FUZZ_CHECK(disc->name == entry.name);
            FUZZ_CHECK(!has(disc->name, "#") && !has(disc->number, "#") && !has(disc->remark, "#"));
            FUZZ_CHECK(!has(disc->remark, "&&"));
            // Fields that would not read back (a date holding "&&" or beginning
            // with "&") are refused by the writer; every other line is rewritten
            // as it was read.
            if (discLineProblem(*disc)) break;
            const auto again = parseDiscLine(formatDiscLine(*disc));
            FUZZ_CHECK(again && again->name == disc->name && again->number == disc->number &&
                       again->remark == disc->remark && again->date == disc->date);
            break;
        }
        case CatalogueLineKind::Other:
            FUZZ_CHECK(entry.name.empty());
            break;
    }
}

void checkDiscName(const std::string& text, std::string_view name) {
    const auto at = FindDiscLine(text, name);
    const auto fields = ReadDiscFields(text, name);
    const auto removed = RemoveDiscLine(text, name);
    FUZZ_CHECK(at.has_value() == fields.has_value());
    FUZZ_CHECK(at.has_value() == removed.has_value());
    if (!at) return;
    FUZZ_CHECK(*at == 0 || text[*at - 1] == '\n');
    FUZZ_CHECK(lcase(text.substr(*at, name.size() + 2)) == "#" + lcase(name) + "#");
    FUZZ_CHECK(CatalogueNameTaken(text, name));
    const std::size_t end = text.find(LineEnd, *at);
    FUZZ_CHECK(end != std::string::npos);
    FUZZ_CHECK(*removed == text.substr(0, *at) + text.substr(end + LineEnd.size()));
    if (!has(name, "#")) FUZZ_CHECK(lcase(fields->name) == lcase(name));
    // (An empty path: no category line above, or a "|" line without a name.)
    if (!fields->categoryPath.empty() && !has(fields->categoryPath, "\\")) {
        FUZZ_CHECK(FindCategoryLine(text, fields->categoryPath).has_value());
    }
}

// A disc line filed under a category is found there, reads back, and goes
// again without a trace.
void checkInsert(const std::string& text, std::string_view categoryPath, const DiscLine& disc) {
    const auto category = FindCategoryLine(text, categoryPath);
    if (discLineProblem(disc)) {
        bool refused = false;
        try {
            (void)formatDiscLine(disc);
        } catch (const platform::Error&) {
            refused = true;
        }
        FUZZ_CHECK(refused);
        return;
    }
    const std::string line = formatDiscLine(disc);
    const auto inserted = InsertDiscLine(text, categoryPath, line);
    FUZZ_CHECK(category.has_value() == inserted.has_value());
    if (!inserted) return;
    FUZZ_CHECK(inserted->size() == text.size() + line.size() + LineEnd.size());
    const std::size_t expected = *category + categoryLineFor(categoryPath).size() + LineEnd.size();
    FUZZ_CHECK(FindDiscLine(*inserted, disc.name) == expected);
    const auto fields = ReadDiscFields(*inserted, disc.name);
    FUZZ_CHECK(fields && fields->name == disc.name && fields->number == disc.number &&
               fields->remark == disc.remark && fields->date == disc.date);
    if (!has(categoryPath, "\\")) FUZZ_CHECK(lcase(fields->categoryPath) == lcase(categoryPath));
    FUZZ_CHECK(RemoveDiscLine(*inserted, disc.name) == text);
}

}  // namespace

int fuzzOne(const std::uint8_t* data, std::size_t size) {
    const std::string_view raw = fuzz::asText(data, size);
    const std::string text = normaliseLineEnds(raw);
    checkNormalised(raw, text);

    const std::vector<std::string_view> lines = fuzz::cut(text, LineEnd, 32);
    std::set<std::string> discNames;
    std::set<std::string> categoryPaths;
    std::string top;
    for (std::string_view line : lines) {
        checkLine(line);
        const CatalogueEntry entry = parseCatalogueLine(line);
        if (entry.kind == CatalogueLineKind::DiscLine) discNames.insert(entry.name);
        if (entry.kind == CatalogueLineKind::CategoryLine) {
            top = entry.name;
            categoryPaths.insert(top);
        }
        if (entry.kind == CatalogueLineKind::SubCategoryLine) {
            categoryPaths.insert(top + "\\" + entry.name);
        }
    }
    // One name of the input's own: its last line read, whatever it holds (the
    // text ends with a line end, so the last piece is empty).
    const std::string_view own = lines.size() >= 2 ? lines[lines.size() - 2] : std::string_view();
    discNames.insert(std::string(own));
    categoryPaths.insert(std::string(own));

    for (const std::string& name : discNames) {
        checkDiscName(text, name);
        if (!has(name, "\\")) {
            // A name is taken when a disc or category line spells it in any
            // letter case, also when several spell it and none exactly (the
            // look-ups then find none).
            const std::string lower = lcase(text);
            const std::string lowerName = lcase(name);
            const bool taken = FindDiscLine(lower, lowerName) ||
                               FindCategoryLine(lower, lowerName) ||
                               FindCategoryLine(lower, "x\\" + lowerName);
            FUZZ_CHECK(CatalogueNameTaken(text, name) == taken);
            const bool found = FindDiscLine(text, name) || FindCategoryLine(text, name) ||
                               FindCategoryLine(text, "x\\" + name);
            FUZZ_CHECK(!found || taken);
        }
    }

    // A new disc whose fields come from the input.
    const std::vector<std::string_view> parts = fuzz::cut(own, "#", 4);
    DiscLine disc;
    disc.name = parts[0].empty() ? "new" : parts[0];
    disc.number = parts.size() > 1 ? parts[1] : "";
    disc.remark = parts.size() > 2 ? parts[2] : "";
    disc.date = parts.size() > 3 ? parts[3] : "";
    const bool fresh =
        !FindDiscLine(text, disc.name) && !has(disc.remark, "&&") && !disc.remark.ends_with('&');
    for (const std::string& path : categoryPaths) {
        if (fresh) checkInsert(text, path, disc);
    }
    return 0;
}
