#include "discpage/note_file.h"

#include <algorithm>
#include <vector>

#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace discpage {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t npos = std::string_view::npos;

std::string joined(std::string_view a, std::string_view b, std::string_view c = {}) {
    std::string s;
    s.reserve(a.size() + b.size() + c.size());
    s.append(a).append(b).append(c);
    return s;
}

bool endsWithBreak(std::string_view text) {
    return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

// The length of the one line break that ends text (CR LF, a lone LF or a
// lone CR), 0 when it ends in none.
std::size_t finalBreak(std::string_view text) {
    if (text.ends_with(kCrLf)) return kCrLf.size();
    return endsWithBreak(text) ? 1 : 0;
}

// Where a record's text ends: before the line break that closes it, which
// stands before the next record (next) or at the end of the file (npos).
std::size_t textEnd(std::string_view text, std::size_t begin, std::size_t next) {
    const std::size_t end = next == npos ? text.size() : next;
    return end - finalBreak(text.substr(begin, end - begin));
}

// A record of key: where its marker stands, where its text begins (after
// "==") and where the next record begins (npos when none follows).
struct RecordSpan {
    std::size_t start;
    std::size_t textBegin;
    std::size_t next;
};

// True when key is one of the disc's own: its name and "\\" first, so that
// a key of a disc "Wx" is never one of "W".
bool keyOfDisc(std::string_view key, std::string_view discName) {
    return key.size() > discName.size() && key.starts_with(discName) &&
           key[discName.size()] == '\\';
}

std::optional<RecordSpan> findRecord(std::string_view text, std::string_view marker,
                                     std::string_view discName, std::string_view key) {
    if (!keyOfDisc(key, discName)) return std::nullopt;
    const std::string head = joined(marker, key, NoteSeparator);
    const std::size_t start = text.find(head);
    if (start == npos) return std::nullopt;
    const std::size_t textBegin = start + head.size();
    const std::string recordStart = joined(marker, discName);
    return RecordSpan{start, textBegin, text.find(recordStart, textBegin)};
}

std::string_view from(std::string_view text, std::size_t at) {
    return at == npos ? std::string_view{} : text.substr(at);
}

}  // namespace

std::string noteKey(std::string_view folderPath, std::string_view text, std::string_view type) {
    std::string key;
    key.reserve(folderPath.size() + text.size() + type.size() + 2);
    key.append(folderPath).append("\\").append(text).append(".").append(type);
    return key;
}

std::string withoutLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

bool noteTextCutsRecord(std::string_view text, std::string_view marker, std::string_view discName) {
    return text.find(joined(marker, discName)) != npos;
}

std::optional<std::string> readNote(std::string_view fileText, std::string_view marker,
                                    std::string_view discName, std::string_view key) {
    const auto record = findRecord(fileText, marker, discName, key);
    if (!record) return std::nullopt;
    const std::size_t end = textEnd(fileText, record->textBegin, record->next);
    return std::string(fileText.substr(record->textBegin, end - record->textBegin));
}

std::vector<NoteRecordSpan> noteRecords(std::string_view text, std::string_view marker,
                                        std::string_view discName) {
    const std::string recordStart = joined(marker, discName);
    std::vector<std::size_t> starts;
    for (std::size_t at = text.find(recordStart); at != npos; at = text.find(recordStart, at + 1))
        starts.push_back(at);

    // The first "==" after a record's disc name; kept while it lies ahead of
    // the next one, so the text is searched once.
    std::vector<NoteRecordSpan> records;
    records.reserve(starts.size());
    std::size_t separator = npos;
    bool searched = false;
    for (const std::size_t start : starts) {
        const std::size_t keyBegin = start + marker.size();
        // A record of another disc whose name begins with this one's ("Wx"
        // for "W") ends the record before it and is none of this disc's.
        if (!keyOfDisc(text.substr(keyBegin), discName)) continue;
        const std::size_t after = keyBegin + discName.size();
        if (!searched || (separator != npos && separator < after)) {
            separator = text.find(NoteSeparator, after);
            searched = true;
        }
        if (separator == npos) break;
        const std::size_t textBegin = separator + NoteSeparator.size();
        const auto next = std::lower_bound(starts.begin(), starts.end(), textBegin);
        const std::size_t end = textEnd(text, textBegin, next == starts.end() ? npos : *next);
        records.push_back({keyBegin, separator, textBegin, end});
    }
    return records;
}

NoteLookup::NoteLookup(std::string fileText, std::string_view marker, std::string_view discName)
    : text_(std::move(fileText)), marker_(marker), discName_(discName) {
    const std::string_view text = text_;
    for (const NoteRecordSpan& r : noteRecords(text, marker, discName))
        records_.try_emplace(std::string(text.substr(r.keyBegin, r.keyEnd - r.keyBegin)),
                             r.textBegin, r.textEnd);
}

std::string NoteLookup::find(std::string_view key) const {
    // Keys the index cannot tell apart from others: ask the reading rule.
    if (!keyOfDisc(key, discName_) || key.find(NoteSeparator) != npos || key.ends_with('='))
        return readNote(text_, marker_, discName_, key).value_or("");
    const auto it = records_.find(key);
    if (it == records_.end()) return "";
    return text_.substr(it->second.first, it->second.second - it->second.first);
}

NoteChange planStoreNote(std::string_view fileText, std::string_view marker,
                         std::string_view discName, std::string_view key, std::string_view text) {
    NoteChange change;
    const auto record = findRecord(fileText, marker, discName, key);
    if (!record) {
        if (text.empty()) return change;
        change.kind = NoteChange::Append;
        // A file whose last line lost its break gets one first, so that the
        // new record starts a line of its own.
        if (!fileText.empty() && !endsWithBreak(fileText)) change.line = kCrLf;
        change.line.append(joined(marker, key, NoteSeparator)).append(text);
        return change;
    }

    std::string rewritten;
    if (text.empty()) {
        rewritten.append(fileText.substr(0, record->start));
    } else {
        rewritten.append(fileText.substr(0, record->textBegin)).append(text).append(kCrLf);
    }
    rewritten.append(from(fileText, record->next));
    // The file ends with exactly one CR LF: the break of its last line is
    // written anew; the only record gone, the file keeps one empty line.
    rewritten.resize(rewritten.size() - finalBreak(rewritten));
    rewritten.append(kCrLf);
    change.kind = NoteChange::Rewrite;
    change.text = std::move(rewritten);
    return change;
}

std::string noteTextAfter(std::string_view fileText, const NoteChange& change) {
    switch (change.kind) {
        case NoteChange::Append:
            return joined(fileText, change.line, kCrLf);
        case NoteChange::Rewrite:
            return change.text;
        case NoteChange::Nothing:
            break;
    }
    return std::string(fileText);
}

std::string readNoteText(std::string_view path) {
    try {
        return platform::files::WholeFileRead(path);
    } catch (const platform::Error&) {
        return {};
    }
}

std::string StoreNote(const platform::files::ConfinedRoot& root, std::string_view relative,
                      std::string_view marker, std::string_view discName, std::string_view key,
                      std::string_view text) {
    namespace files = platform::files;
    std::string fileText;
    const std::string path = root.windowsOf(relative);
    try {
        fileText = files::WholeFileRead(path);
    } catch (const platform::Error& e) {
        if (e.number() != platform::err::FileNotFound) throw;
    }
    const NoteChange change = planStoreNote(fileText, marker, discName, key, text);
    if (change.kind == NoteChange::Append) {
        root.append(relative, platform::text::toCp936(change.line + std::string(kCrLf)));
    } else if (change.kind == NoteChange::Rewrite) {
        files::WholeFileRewrite(root, relative, change.text);
    }
    return noteTextAfter(fileText, change);
}

std::string StoreNote(std::string_view path, std::string_view marker, std::string_view discName,
                      std::string_view key, std::string_view text) {
    const std::size_t cut = path.find_last_of('\\');
    const std::string folder(path.substr(0, cut == std::string_view::npos ? 0 : cut));
    const platform::files::ConfinedRoot root = platform::files::ConfinedRoot::open(folder);
    return StoreNote(root, root.relativeOf(path), marker, discName, key, text);
}

}  // namespace discpage
