// The end of a mirror copy run and its completion at the next start (see
// mirror_run.h).
#include "copies/mirror_run.h"

#include <algorithm>

#include "catalogue/catalogue_file.h"
#include "catalogue/index_line.h"
#include "catalogue/name_lookup.h"
#include "copies/mirror_files.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"

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

// The total as size.ini writes it, without its blank and line break.
std::string totalText(double total) {
    std::string text = copiedSizeText(total);
    text.resize(text.size() - catalogue::LineEnd.size());
    if (text.front() == ' ') text.erase(0, 1);
    return text;
}

// Removes the temporary files a cut-short run left in the target's folders
// it copied into (each resolved beneath the target; one that leads out, or
// is missing, is passed over).
void sweepTarget(const catalogue::PendingWork& work) {
    try {
        const files::ConfinedRoot target = files::ConfinedRoot::open(work.field(TargetKey));
        for (const std::string& folder : work.valuesOf(FolderKey)) {
            try {
                const std::string native =
                    folder.empty() ? target.resolvedPath() : target.folder(folder).resolvedPath();
                files::sweepTempFiles(native, files::programStartTime());
            } catch (const platform::Error&) {
            }
        }
    } catch (const platform::Error&) {
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

catalogue::PendingWork mirrorRunRecord(std::string_view disc, std::string_view indexPath,
                                       std::string_view target,
                                       const std::vector<std::string>& folders) {
    catalogue::PendingWork work{std::string(MirrorRunWork), {}};
    work.add(std::string(DiscKey), std::string(disc));
    work.add(std::string(IndexKey), std::string(indexPath));
    work.add(std::string(TargetKey), std::string(target));
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

bool completeMirrorRun(std::string_view programFolder, const catalogue::PendingWork& work) {
    sweepTarget(work);
    const std::vector<std::string> paths = work.valuesOf(FileKey);
    const std::vector<std::string> sizes = work.valuesOf(SizeKey);
    const std::vector<std::string> mirrors = work.valuesOf(CopyKey);
    if (work.valuesOf(TotalKey).empty() || paths.size() != sizes.size() ||
        paths.size() != mirrors.size())
        return false;
    const std::string disc = work.field(DiscKey);
    const std::string indexPath = work.field(IndexKey);
    const std::optional<std::string> index = readMirroredDiscIndex(programFolder, disc, indexPath);
    if (!index) return false;

    std::vector<MirrorCopyMade> copies;
    for (std::size_t i = 0; i < paths.size(); ++i)
        copies.push_back({paths[i], sizes[i], mirrors[i]});
    std::string failedFile;
    writeMirrorRunResults(programFolder, disc, indexPath, applyMirrorCopies(*index, copies),
                          readCopiedSize(work.field(TotalKey)), !copies.empty(), failedFile);
    return true;
}

}  // namespace copies
