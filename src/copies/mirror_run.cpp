// The end of a mirror copy run and its completion at the next start (see
// mirror_run.h).
#include "copies/mirror_run.h"

#include <time.h>

#include <algorithm>
#include <charconv>
#include <unordered_map>
#include <unordered_set>

#include "catalogue/catalogue_file.h"
#include "catalogue/index_line.h"
#include "catalogue/name_lookup.h"
#include "catalogue/scan_command.h"
#include "copies/mirror_files.h"
#include "copies/mirror_folders.h"
#include "discpage/disc_file_path.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace copies {

namespace files = platform::files;

namespace {

// The keys of the record.
constexpr std::string_view DiscKey = "disc";
constexpr std::string_view IndexKey = "index";
constexpr std::string_view TargetKey = "target";
constexpr std::string_view FolderKey = "folder";
constexpr std::string_view TotalKey = "total";
constexpr std::string_view FileKey = "file";
constexpr std::string_view SizeKey = "size";
constexpr std::string_view CopyKey = "copy";
constexpr std::string_view StartedKey = "started";

// The total as size.ini writes it, without its blank and line break.
std::string totalText(double total) {
    std::string text = copiedSizeText(total);
    text.resize(text.size() - catalogue::LineEnd.size());
    if (text.front() == ' ') text.erase(0, 1);
    return text;
}

// A ticked file's folders below the disc root ("docs\img", "" for the root)
// and its name.
struct BelowRoot {
    std::string_view folderPath;
    std::string_view name;
};
BelowRoot belowRoot(std::string_view path) {
    const std::string_view rest = path.size() > 3 ? path.substr(3) : std::string_view();
    const std::size_t slash = rest.rfind('\\');
    if (slash == std::string_view::npos) return {{}, rest};
    return {rest.substr(0, slash), rest.substr(slash + 1)};
}

// A folder of the record below the target: "" or plain names.
bool plainFolder(std::string_view folder) {
    if (folder.empty()) return true;
    for (const std::string& name : platform::text::split(folder, "\\"))
        if (!isPlainName(name)) return false;
    return true;
}

std::optional<std::int64_t> startedOf(const catalogue::PendingWork& work) {
    const std::string text = work.field(StartedKey);
    std::int64_t started = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), started);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || started < 0)
        return std::nullopt;
    return started;
}

// The results of the record, each copy as it was added; nothing when the
// record has none.
std::optional<std::vector<MirrorCopyMade>> resultsOf(const catalogue::PendingWork& work) {
    if (work.valuesOf(TotalKey).empty()) return std::nullopt;
    const std::vector<std::string> paths = work.valuesOf(FileKey);
    const std::vector<std::string> sizes = work.valuesOf(SizeKey);
    const std::vector<std::string> mirrors = work.valuesOf(CopyKey);
    if (paths.size() != sizes.size() || paths.size() != mirrors.size()) return std::nullopt;
    std::vector<MirrorCopyMade> copies;
    copies.reserve(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i)
        copies.push_back({paths[i], sizes[i], mirrors[i]});
    return copies;
}

// Removes the temporary files a cut-short run left in the target's folders
// it copied into (each resolved beneath the target; one that leads out, or
// is missing, is passed over).
void sweepTarget(const files::ConfinedRoot& target, const catalogue::PendingWork& work) {
    for (const std::string& folder : work.valuesOf(FolderKey)) {
        try {
            const std::string native =
                folder.empty() ? target.resolvedPath() : target.folder(folder).resolvedPath();
            files::sweepTempFiles(native, files::programStartTime());
        } catch (const platform::Error&) {
        }
    }
}

// The size a whole copy of a hard-disk folder's file has: the file's size
// now (the folder is there to be read, and its files change after a scan);
// nothing when it is gone.
std::optional<std::uint64_t> hardDiscFileSize(const files::ConfinedRoot& folder,
                                              const std::string& path) {
    try {
        const std::optional<files::EntryStatus> status = folder.status(folder.relativeOf(path));
        if (status && !status->isFolder) return status->size;
    } catch (const platform::Error&) {
    }
    return std::nullopt;
}

// The whole copies a run that began at started made of the ticked lines of
// the index (those without a mirror path, from a CD): a regular file at the
// line's place below the target, of the line's size (from a hard disk, of
// its file's size now), changed after started. From a hard disk each
// place counts once.
std::vector<MirrorCopyMade> wholeCopiesOf(std::string_view indexText, std::string_view target,
                                          const files::ConfinedRoot& root, bool hardDisc,
                                          std::int64_t started) {
    std::vector<MirrorCopyMade> copies;
    std::unordered_set<std::string> places;
    std::optional<files::ConfinedRoot> folder;
    if (hardDisc) {
        try {
            folder.emplace(files::ConfinedRoot::open(
                discpage::hardDiscFolder(indexText.substr(0, indexText.find_first_of("\r\n")))
                    .folder));
        } catch (const platform::Error&) {
        }
    }
    for (const MarkedLine& marked : markedLines(indexText)) {
        const std::string_view line = indexText.substr(marked.begin, marked.end - marked.begin);
        std::optional<catalogue::IndexFileLine> file =
            hardDisc ? catalogue::parseFileLine(line) : cdLineToCopy(line);
        if (!file || !file->ticked()) continue;
        const std::optional<CopyPlace> place =
            hardDisc ? hardDiscCopyPlace(file->path) : cdCopyPlace(target, file->path);
        if (!place) continue;
        std::optional<files::EntryStatus> status;
        try {
            status = root.statusExactly(place->relative, files::Follow::No);
        } catch (const platform::Error&) {
            continue;
        }
        const std::optional<std::uint64_t> size =
            folder ? hardDiscFileSize(*folder, file->path) : file->bytes();
        if (!status || status->isFolder || status->isLink || status->size != size ||
            status->changed <= started)
            continue;
        if (hardDisc && !places.insert(place->relative).second) continue;
        copies.push_back({file->path, file->sizeText, place->mirrorPath});
    }
    return copies;
}

// The copied size as size.ini holds it now (0 when it is missing).
double copiedSizeNow(std::string_view programFolder) {
    try {
        return readCopiedSize(files::WholeFileRead(copiedSizeFilePath(programFolder)));
    } catch (const platform::Error& e) {
        if (e.number() == platform::err::FileNotFound) return 0;
        throw;
    }
}

}  // namespace

MirrorCopiesApplied applyMirrorCopies(std::string_view indexText,
                                      const std::vector<MirrorCopyMade>& copies) {
    std::vector<catalogue::WantedFile> wanted;
    wanted.reserve(copies.size());
    for (const MirrorCopyMade& copy : copies) wanted.push_back({copy.path, copy.sizeText});
    const std::vector<catalogue::ChosenFileLine> chosen =
        catalogue::chooseFileLines(indexText, wanted);

    // Each line once, in the order of the text.
    std::vector<std::pair<std::size_t, std::size_t>> order;  // (line end, copy)
    for (std::size_t i = 0; i < chosen.size(); ++i)
        if (chosen[i] && !chosen[i].line.mirror) order.emplace_back(chosen[i].contentEnd, i);
    std::sort(order.begin(), order.end());

    MirrorCopiesApplied applied;
    std::vector<MirrorRecord> records;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && order[k].first == order[k - 1].first) continue;
        const std::size_t i = order[k].second;
        records.push_back({order[k].first, copies[i].mirrorPath});
        ++applied.added;
        applied.bytes += static_cast<double>(chosen[i].line.size());
    }
    applied.text = addMirrorSuffixes(indexText, records);
    return applied;
}

std::optional<catalogue::IndexFileLine> cdLineToCopy(std::string_view line) {
    if (line.size() > 3 && line.substr(3).find('{') != std::string_view::npos) return {};
    std::optional<catalogue::IndexFileLine> file = catalogue::parseFileLine(line);
    if (!file || !file->ticked()) return {};
    return file;
}

std::optional<CopyPlace> cdCopyPlace(std::string_view target, std::string_view indexPath) {
    const BelowRoot below = belowRoot(indexPath);
    std::optional<std::string> mirrorPath = mirrorCopyPath(target, below.folderPath, below.name);
    if (!mirrorPath || !mirrorPathAccepted(*mirrorPath, indexPath)) return std::nullopt;
    std::string relative = mirrorPath->substr(target.size() + (target.back() == '\\' ? 0 : 1));
    return CopyPlace{std::string(below.folderPath), std::move(relative), std::move(*mirrorPath)};
}

std::optional<CopyPlace> hardDiscCopyPlace(std::string_view indexPath) {
    const std::size_t slash = indexPath.rfind('\\');
    const std::string_view name =
        slash == std::string_view::npos ? indexPath : indexPath.substr(slash + 1);
    if (!isPlainAbsolutePath(indexPath) || !isPlainName(name)) return std::nullopt;
    return CopyPlace{"", std::string(name), ""};
}

std::vector<std::string> cdCopyFolders(std::string_view indexText) {
    std::vector<std::string> folders{""};
    std::unordered_set<std::string> seen{""};
    std::string previous;  // the lines of a folder stand together
    for (const MarkedLine& marked : markedLines(indexText)) {
        const std::optional<catalogue::IndexFileLine> file =
            cdLineToCopy(indexText.substr(marked.begin, marked.end - marked.begin));
        if (!file) continue;
        const std::string_view folder = belowRoot(file->path).folderPath;
        if (folder == previous || !plainFolder(folder)) continue;
        previous = folder;
        if (seen.emplace(folder).second) folders.emplace_back(folder);
    }
    return folders;
}

std::int64_t mirrorRunStartTime() {
    const auto now = [](clockid_t clock) {
        struct timespec t {};
        ::clock_gettime(clock, &t);
        return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    // File systems stamp a change with the coarse clock, or with the fine one
    // when the file was looked at since its last change; both are at most the
    // fine clock's time of the change. So everything changed before this
    // moment is stamped at or before it, and once the coarse clock has
    // passed it (a few milliseconds) every change is stamped after it.
    const std::int64_t started = now(CLOCK_REALTIME);
    while (now(CLOCK_REALTIME_COARSE) <= started) {
        const struct timespec pause { 0, 500000 };
        ::nanosleep(&pause, nullptr);
    }
    return started;
}

catalogue::PendingWork mirrorRunRecord(std::string_view disc, std::string_view indexPath,
                                       std::string_view target, std::int64_t started,
                                       const std::vector<std::string>& folders) {
    catalogue::PendingWork work{std::string(MirrorRunWork), {}};
    work.add(std::string(DiscKey), std::string(disc));
    work.add(std::string(IndexKey), std::string(indexPath));
    work.add(std::string(TargetKey), std::string(target));
    work.add(std::string(StartedKey), std::to_string(started));
    for (const std::string& folder : folders) work.add(std::string(FolderKey), folder);
    return work;
}

void addMirrorRunResults(catalogue::PendingWork& work, double total,
                         const std::vector<MirrorCopyMade>& copies) {
    work.add(std::string(TotalKey), totalText(total));
    for (const MirrorCopyMade& copy : copies) {
        work.add(std::string(FileKey), copy.path);
        work.add(std::string(SizeKey), copy.sizeText);
        work.add(std::string(CopyKey), copy.mirrorPath);
    }
}

std::optional<std::string> readMirroredDiscIndex(std::string_view programFolder,
                                                 std::string_view disc,
                                                 std::string_view indexPath) {
    std::string text;
    try {
        text = files::WholeFileRead(indexPath);
    } catch (const platform::Error& e) {
        if (e.number() == platform::err::FileNotFound || e.number() == platform::err::PathNotFound)
            return std::nullopt;
        throw;
    }
    const std::string catalogue =
        catalogue::readCatalogueText(catalogue::catalogueFilePath(programFolder));
    if (!catalogue::FindDiscLine(catalogue, disc)) return std::nullopt;
    return text;
}

void addToMirrorDiscList(std::string_view programFolder, std::string_view disc) {
    const std::string path = mirrorDiscListPath(programFolder);
    std::string list;
    try {
        list = files::WholeFileRead(path);
    } catch (const platform::Error& e) {
        if (e.number() != platform::err::FileNotFound) return;
    }
    if (const std::optional<std::string> added = appendMirrorDisc(list, disc))
        rewriteProgramFile(programFolder, path, *added);
}

void writeMirrorRunResults(std::string_view programFolder, std::string_view disc,
                           const std::string& indexPath, const MirrorCopiesApplied& applied,
                           double total, bool addDisc, std::string& failedFile) {
    failedFile = indexPath;
    if (applied.changed()) rewriteProgramFile(programFolder, indexPath, applied.text);
    failedFile = copiedSizeFilePath(programFolder);
    rewriteProgramFile(programFolder, failedFile, copiedSizeText(total));
    failedFile = mirrorDiscListPath(programFolder);
    if (addDisc) addToMirrorDiscList(programFolder, disc);
    failedFile.clear();
}

namespace {

// What the record itself shows of a run: the command, the disc's own index
// in guangpan, a plain target, a start time and plain folders below it.
bool recordShapeUnderstood(std::string_view programFolder, const catalogue::PendingWork& work) {
    if (work.command != MirrorRunWork) return false;
    const std::string disc = work.field(DiscKey);
    if (disc.empty() || !isPlainAbsolutePath(work.field(TargetKey)) || !startedOf(work))
        return false;
    try {
        if (work.field(IndexKey) != catalogue::discIndexFilePath(programFolder, disc)) return false;
    } catch (const platform::Error&) {
        return false;
    }
    const std::vector<std::string> folders = work.valuesOf(FolderKey);
    return std::all_of(folders.begin(), folders.end(), plainFolder);
}

}  // namespace

bool mirrorRunRecordUnderstood(const platform::system::SettingsStore& settings,
                               std::string_view programFolder, const catalogue::PendingWork& work) {
    if (!recordShapeUnderstood(programFolder, work)) return false;
    const std::string target = work.field(TargetKey);
    if (!work.valuesOf(TotalKey).empty()) {
        const std::optional<std::vector<MirrorCopyMade>> results = resultsOf(work);
        if (!results) return false;
        for (const MirrorCopyMade& copy : *results) {
            const std::optional<CopyPlace> place = cdCopyPlace(target, copy.path);
            if (!place || place->mirrorPath != copy.mirrorPath) return false;
        }
    }
    return isRecordedMirrorFolder(settings, target);
}

MirrorRunFinish completeMirrorRun(std::string_view programFolder,
                                  const catalogue::PendingWork& work, std::string* failedPath) {
    std::string failedFile;
    // The file a failure below concerns, for the caller.
    const auto concerning = [&](std::string path) {
        failedFile = std::move(path);
        if (failedPath) *failedPath = failedFile;
    };
    // What the settings store alone can judge is judged before the start
    // calls this; what the record itself shows is judged again here.
    if (!recordShapeUnderstood(programFolder, work)) return {};
    const std::int64_t started = *startedOf(work);
    const std::string disc = work.field(DiscKey);
    const std::string indexPath = work.field(IndexKey);
    const std::string target = work.field(TargetKey);

    // A target that is missing got no copy.
    std::optional<files::ConfinedRoot> root;
    try {
        root.emplace(files::ConfinedRoot::open(target));
    } catch (const platform::Error&) {
    }
    if (root) sweepTarget(*root, work);

    if (const std::optional<std::vector<MirrorCopyMade>> results = resultsOf(work)) {
        const int count = static_cast<int>(results->size());
        const std::optional<std::string> index =
            readMirroredDiscIndex(programFolder, disc, indexPath);
        if (!index) return {count > 0, count};
        try {
            writeMirrorRunResults(
                programFolder, disc, indexPath, applyMirrorCopies(*index, *results),
                readCopiedSize(work.field(TotalKey)), !results->empty(), failedFile);
        } catch (const platform::Error&) {
            concerning(failedFile);
            throw;
        }
        return {true, count};
    }
    if (!root) return {};

    // The index as the run found it (read again here, as at a run's end).
    std::string indexText;
    concerning(indexPath);
    try {
        indexText = files::WholeFileRead(indexPath);
    } catch (const platform::Error& e) {
        if (e.number() == platform::err::FileNotFound || e.number() == platform::err::PathNotFound)
            return {};
        throw;
    }
    const bool hardDisc = catalogue::isHardDisc(disc);
    const std::vector<MirrorCopyMade> copies =
        wholeCopiesOf(indexText, target, *root, hardDisc, started);
    if (copies.empty()) return {};
    const int count = static_cast<int>(copies.size());
    // A hard-disk folder's copies, and those of a disc gone meanwhile, are
    // recorded nowhere.
    if (hardDisc) return {true, count};
    const std::optional<std::string> index = readMirroredDiscIndex(programFolder, disc, indexPath);
    if (!index) return {true, count};

    // The copies are made durable before the index records them, and the
    // record holds the results before the index is written.
    concerning(target);
    root->syncFileSystem();
    const MirrorCopiesApplied applied = applyMirrorCopies(*index, copies);
    const double total = copiedSizeNow(programFolder) + applied.bytes;
    catalogue::PendingWork finished = work;
    addMirrorRunResults(finished, total, copies);
    concerning(catalogue::pendingWorkFilePath(programFolder));
    catalogue::rewritePendingWork(programFolder, finished);
    try {
        writeMirrorRunResults(programFolder, disc, indexPath, applied, total, applied.added > 0,
                              failedFile);
    } catch (const platform::Error&) {
        concerning(failedFile);
        throw;
    }
    return {true, count};
}

std::string mirrorRunReport(std::string_view caption, const MirrorRunFinish& finish) {
    if (!finish.finished) return catalogue::pendingWorkReport(caption, false);
    return "上次没有做完的“" + std::string(caption) + "”已经完成：" +
           std::to_string(finish.copies) + "个文件已经拷贝到硬盘。";
}

}  // namespace copies
