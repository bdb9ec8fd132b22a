#include "discpage/file_listing.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "catalogue/index_line.h"
#include "discpage/size_text.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace discpage {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The line without the blanks at its ends. A blank byte never lies inside a
// code page 936 character, so this works on raw bytes and on decoded text.
std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

struct TypeIcon {
    std::string_view type;
    int icon;
};

// The file-type pictures of ImageList1, by key.
constexpr auto OwnIcons = std::to_array<TypeIcon>({
    {"url", 2},  {"bat", 8},   {"bmp", 9},   {"doc", 10},  {"css", 11}, {"sys", 12}, {"exe", 13},
    {"gif", 14}, {"htm", 15},  {"html", 16}, {"jpg", 17},  {"ini", 18}, {"pdf", 19}, {"rm", 20},
    {"ppt", 21}, {"xls", 22},  {"dll", 23},  {"txt", 24},  {"zip", 25}, {"avi", 26}, {"bas", 27},
    {"chm", 28}, {"drv", 29},  {"fon", 30},  {"frm", 31},  {"hlp", 32}, {"ins", 33}, {"mdb", 34},
    {"reg", 35}, {"ttf", 36},  {"vbp", 37},  {"wav", 38},  {"wmf", 39}, {"xml", 40}, {"xsl", 41},
    {"vxd", 42}, {"asa", 48},  {"asf", 49},  {"mpeg", 50}, {"au", 51},  {"clr", 52}, {"pcx", 53},
    {"fla", 54}, {"tif", 55},  {"mid", 56},  {"wdl", 63},  {"swf", 64}, {"rar", 74}, {"psd", 75},
    {"cda", 91}, {"caj", 109},
});

// Types shown with another type's picture; they win over a picture of their own.
constexpr auto GroupIcons = std::to_array<TypeIcon>({
    {"wri", 11}, {"c", 11},   {"rc", 11},    {"jav", 11}, {"java", 11}, {"cpp", 11}, {"h", 11},
    {"dtd", 11}, {"asm", 11}, {"mpg", 20},   {"mp3", 20}, {"ra", 20},   {"rmm", 20}, {"rv", 20},
    {"smi", 20}, {"ssm", 20}, {"rnx", 20},   {"rt", 20},  {"rtf", 10},  {"wm", 49},  {"wmf", 49},
    {"lsf", 49}, {"wma", 50}, {"mpe", 50},   {"m1v", 50}, {"mp2", 50},  {"mpa", 50}, {"mov", 50},
    {"cab", 25}, {"z", 25},   {"tz", 25},    {"tgz", 25}, {"taz", 25},  {"arj", 25}, {"arc", 25},
    {"tar", 25}, {"gz", 25},  {"shtml", 15}, {"inf", 18}, {"jpeg", 17}, {"jar", 74},
});

static_assert(OwnIcons.size() == 51 && GroupIcons.size() == 41);

constexpr int OtherTypeIcon = 7;
constexpr int FolderIcon = 1;

std::optional<int> findIcon(std::string_view type, const auto& table) {
    for (const TypeIcon& t : table)
        if (t.type == type) return t.icon;
    return std::nullopt;
}

// True when a name takes the noStr prefix: it begins with a digit, or with
// the prefix itself (once or more) and then a digit, so that a key that
// begins with the prefix always had it put there.
bool takesNoStrPrefix(std::string_view name) {
    while (name.starts_with(NoStrPrefix)) name.remove_prefix(NoStrPrefix.size());
    return !name.empty() && isDigit(name.front());
}

std::string noStrKey(std::string key) {
    if (takesNoStrPrefix(key)) key.insert(0, NoStrPrefix);
    return key;
}

ListedEntry folderEntry(std::string_view name) {
    ListedEntry e;
    e.folder = true;
    e.key = noStrKey(std::string(name));
    e.text = name;
    e.type = FolderType;
    e.icon = FolderIcon;
    return e;
}

ListedEntry fileEntry(const catalogue::IndexFileLine& line, std::string_view name, bool withTicks) {
    ListedEntry e;
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        e.text = name;
        e.type = NoExtensionType;
        e.icon = typeIcon(platform::text::lcase(name));
    } else {
        e.text = name.substr(0, dot);
        e.type = platform::text::lcase(name.substr(dot + 1));
        e.icon = typeIcon(e.type);
    }
    std::string key(name);
    key += '[';
    key += line.sizeText;
    key += ']';
    if (withTicks)
        for (int i = 0; i < line.ticks; ++i) key += catalogue::TickMark;
    e.key = noStrKey(std::move(key));
    e.bytes = line.bytes();
    e.size = sizeText(static_cast<double>(e.bytes));
    e.ticked = withTicks && line.ticked();
    e.mirrored = e.ticked && line.mirror.has_value();
    return e;
}

}  // namespace

std::string addNoStrPrefix(std::string_view key) { return noStrKey(std::string(key)); }

std::string stripNoStrPrefix(std::string_view key) {
    if (key.starts_with(NoStrPrefix) && takesNoStrPrefix(key.substr(NoStrPrefix.size())))
        key.remove_prefix(NoStrPrefix.size());
    return std::string(key);
}

int typeIcon(std::string_view lowerType) {
    if (const auto group = findIcon(lowerType, GroupIcons)) return *group;
    if (const auto own = findIcon(lowerType, OwnIcons)) return *own;
    return OtherTypeIcon;
}

std::string indexFolderPrefix(std::string_view firstLine, std::string_view folderPath,
                              bool hardDisc) {
    std::string prefix = hardDisc ? catalogue::HardDiscBase(firstLine) : std::string();
    prefix += folderPath;
    prefix += '\\';
    return prefix;
}

TreePath splitTreePath(std::string_view fullPath) {
    const std::size_t slash = fullPath.find('\\');
    if (slash == std::string_view::npos) return {std::string(fullPath), {}};
    return {std::string(fullPath.substr(0, slash)), std::string(fullPath.substr(slash + 1))};
}

namespace {

// A file row's name from its text and type column alone.
std::string shownFileName(std::string_view text, std::string_view type) {
    std::string name(text);
    if (type != NoExtensionType) {
        name += '.';
        name += type;
    }
    return name;
}

}  // namespace

std::string rowFileName(std::string_view text, std::string_view type, std::string_view key,
                        bool folder) {
    return folder ? std::string(text) : rowFile(text, type, key).name;
}

RowFile rowFile(std::string_view text, std::string_view type, std::string_view key) {
    RowFile file{shownFileName(text, type), {}};
    const auto keyed = catalogue::parseFileLine(stripNoStrPrefix(key));
    if (!keyed) return file;
    file.sizeText = keyed->sizeText;
    if (platform::text::lcase(keyed->path) == platform::text::lcase(file.name))
        file.name = keyed->path;
    return file;
}

std::string rowPlaceText(std::string_view text, std::string_view type, bool folder, int position,
                         int count) {
    std::string place(text);
    if (!folder) place.append(".").append(type);
    return place + "(" + std::to_string(position) + "/" + std::to_string(count) + ")";
}

std::string scannedFolder(std::string_view base, std::string_view folderPath) {
    std::string folder(base);
    folder += folderPath.substr(0, folderPath.find('\\'));
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

FolderSpellings::FolderSpellings(std::string_view prefix)
    : prefix_(prefix), prefixBytes_(platform::text::toCp936(prefix)) {
    const std::string_view path = std::string_view(prefix_).substr(0, prefix_.size() - 1);
    const std::size_t slash = path.rfind('\\');
    if (!prefix_.empty() && slash != std::string_view::npos)
        folderLineBytes_ = platform::text::toCp936(path.substr(0, slash + 1)) + "|";
}

std::string FolderSpellings::take(std::string_view bytes) {
    if (bytes.starts_with(prefixBytes_)) {
        exact_ = true;
        return prefix_;
    }
    // Equal texts (ASCII case ignored) give equal bytes (ASCII case
    // ignored); the converse fails only where a trail byte looks like a
    // letter, so a line that passes is confirmed on its text.
    std::string spelling;
    if (platform::text::startsWithIgnoringCase(bytes, prefixBytes_)) {
        const std::string line = platform::text::fromCp936(bytes);
        if (platform::text::startsWithIgnoringCase(line, prefix_))
            spelling = line.substr(0, prefix_.size());
    } else if (!folderLineBytes_.empty() &&
               platform::text::startsWithIgnoringCase(bytes, folderLineBytes_)) {
        const auto folder = catalogue::parseFolderLine(platform::text::fromCp936(bytes));
        if (folder && folder->path().size() + 1 == prefix_.size() &&
            platform::text::startsWithIgnoringCase(prefix_, folder->path()))
            spelling = folder->path() + "\\";
    }
    if (spelling == prefix_) {
        exact_ = true;
    } else if (!spelling.empty() &&
               std::find(others_.begin(), others_.end(), spelling) == others_.end()) {
        others_.push_back(spelling);
    }
    return spelling;
}

std::optional<std::string> FolderSpellings::chosen() const {
    if (exact_) return prefix_;
    if (others_.size() == 1) return others_.front();
    return std::nullopt;
}

std::vector<ListedEntry> listFolder(platform::files::RawLineReader& lines,
                                    const ListingScope& scope) {
    std::string_view raw;
    if (!lines.next(raw)) return {};
    const std::string firstLine = platform::text::fromCp936(trimBlanks(raw));
    FolderListing listing(firstLine, scope);
    FolderSpellings spellings(listing.prefix());
    bool more = true;
    while (more) {
        // Until the folder's first line, every line is weighed for the
        // spelling of its prefix.
        if (!listing.seen()) spellings.take(trimBlanks(raw));
        more = listing.take(raw) && lines.next(raw);
    }
    const std::optional<std::string> other = spellings.chosen();
    if (listing.seen() || !other || *other == listing.prefix()) return std::move(listing).entries();
    // The folder's lines spell it otherwise: read again with their spelling.
    lines.seek(0);
    FolderListing again(scope, *other);
    while (lines.next(raw) && again.take(raw)) {
    }
    return std::move(again).entries();
}

FolderListing::FolderListing(std::string_view firstLine, const ListingScope& scope)
    : FolderListing(scope,
                    indexFolderPrefix(trimBlanks(firstLine), scope.folderPath, scope.hardDisc)) {}

FolderListing::FolderListing(const ListingScope& scope, std::string prefix)
    : scope_(scope),
      prefix_(std::move(prefix)),
      // The prefix as the file holds it, so that lines that cannot belong
      // are passed over without being decoded.
      prefixBytes_(platform::text::toCp936(prefix_)) {}

bool FolderListing::take(std::string_view raw) {
    const std::string& prefix = prefix_;
    const std::string_view bytes = trimBlanks(raw);
    bool belongs = bytes.starts_with(prefixBytes_);
    std::string line;
    if (belongs) {
        line = platform::text::fromCp936(bytes);
        belongs = line.starts_with(prefix);
    }
    if (!belongs) return !seen_;
    seen_ = true;
    const std::string_view rest = std::string_view(line).substr(prefix.size());
    if (rest.find('|') != std::string_view::npos) {
        const auto folder = catalogue::parseFolderLine(line);
        if (!folder) return true;
        // A subfolder's own subfolder: the run of the folder's lines is over.
        if (folder->parent.size() > prefix.size()) return false;
        if (folder->parent.size() < prefix.size()) return true;
        const std::string_view name = folder->shownName();
        if (name.empty()) return true;
        entries_.push_back(folderEntry(name));
        return true;
    }
    const auto file = catalogue::parseFileLine(line);
    if (!file || file->path.size() < prefix.size()) return true;
    const std::string_view name = std::string_view(file->path).substr(prefix.size());
    // A file of a subfolder: its contents follow the folder's own lines.
    if (name.find('\\') != std::string_view::npos) return false;
    if (name.empty() || name.front() == '.') return true;
    entries_.push_back(fileEntry(*file, name, scope_.withTicks));
    return true;
}

}  // namespace discpage
