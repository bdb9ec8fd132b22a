// Copying the ticked files of the opened disc to a folder on the hard disk.
//
// From a CD disc every ticked file without a mirror copy is copied below the
// chosen folder with its folders (target\docs\img\a.jpg), made writable, and
// recorded as the mirror suffix of its own index line; the disc joins the
// mirror disc list, the copied bytes are added to the copied size, and the
// disc's node takes the mirror colour. From a catalogued hard-disk folder the
// ticked files are copied side by side into the chosen folder and nothing is
// recorded.
//
// The index is read before anything is copied (one that cannot be read stops
// the command before any folder is made, and nothing is written) and read
// again at the end: every file copied, also when a copy fails part-way, is
// recorded on its own line of the index as it is then (mirror_run.h), so
// ticks made meanwhile stay; a disc renamed or deleted meanwhile gets
// nothing written back, and the user is told. The copies are synced to the
// disk together (one sync per file system) before the index records them.
// The run is recorded in the pending-work file before its first change and
// writes the index, size.ini and red.ini in that order, so the next start
// completes or takes back a run cut short (mirror_run.h). A full disk or an
// I/O error while a copy, a folder or a stored file is written ends the run
// with one message naming the file ("不能保存文件: " and the reason). Every copy's path is the
// target followed by plain names (never empty, "." or ".."), so a name from an index, which may
// have been made elsewhere, cannot reach outside the chosen folder; a line with such a name counts
// as a failed copy.
//
// Files are read and written through the confined layer: the sources beneath
// the CD drive's root or the catalogued folder (a line outside it, or a link
// that leads out of it, is refused), the copies and their folders beneath
// the chosen target (a folder there that is a link leading out gets nothing).
// A refused file is left out, the run goes on, and the refused paths are told
// at its end. A CD run records the folder it copied into (mirror_folders.h),
// the only folders whose copies are later deleted or opened.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/disc_trees.h"
#include "catalogue/index_line.h"
#include "catalogue/pending_work.h"
#include "catalogue/scan_command.h"
#include "copies/copy_dialog.h"
#include "copies/mirror_files.h"
#include "copies/mirror_folders.h"
#include "copies/mirror_run.h"
#include "discpage/disc_file_path.h"
#include "discpage/size_text.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"
#include "platform/system/settings_store.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace {

namespace files = platform::files;
namespace text = platform::text;
using catalogue::TipTitle;

constexpr std::string_view InfoTitle = "信息";
constexpr std::string_view ChooseDisc = "请点击光盘标签选择你要拷贝的光盘！";
constexpr std::string_view FolderExists = "已经有此文件夹！需要另选吗?";
constexpr std::string_view CdCopyFailed = "可能光盘不在光驱里或者光盘有破损！";
constexpr std::string_view CdCopyFailedInFolder =
    "可能光盘不在光驱里或者光盘有破损！或者文件已经在硬盘上了。";
constexpr std::string_view TargetNotUsable =
    "映象文件的文件夹必须是以盘符开头的完整路径（例如 d:\\zelbrin\\光盘名），"
    "其中不能有“.”、“..”或空的文件夹名，也不能有“{”、“}”或“($)”！";
constexpr std::string_view CannotOpen = "不能打开文件: ";
constexpr std::string_view CannotSave = "不能保存文件: ";
constexpr std::string_view FilesCopied = "个文件已经拷贝到硬盘！";
constexpr std::string_view CopiedSizeCaption = "已经拷贝到硬盘上的文件大小是";
constexpr std::string_view HardCopiedSizeCaption = "已经拷贝的文件大小是";

// The run's disc was renamed or deleted while it copied.
std::string discGoneMessage(std::string_view disc) {
    return "光盘“" + std::string(disc) + "”在拷贝期间已被改名或删除，拷贝的文件没有记入索引。";
}

// A failure of the disk written to (full, or an I/O error), told with the
// file it failed on.
bool isDiskFailure(const platform::Error& e) {
    return e.number() == platform::err::DiskFull || e.number() == platform::err::DeviceIO;
}

// A ticked CD file's folders below the disc root ("docs\img", "" for the
// root) and its name.
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

// The ticked lines of a CD run that have no mirror copy yet.
std::optional<catalogue::IndexFileLine> lineToCopy(std::string_view line) {
    if (line.size() > 3 && line.substr(3).find('{') != std::string_view::npos) return {};
    std::optional<catalogue::IndexFileLine> file = catalogue::parseFileLine(line);
    if (!file || !file->ticked()) return {};
    return file;
}

// The folders below the target a CD run copies into ("" the target itself),
// each once, letter case ignored.
std::vector<std::string> cdCopyFolders(std::string_view indexText, std::string_view target) {
    std::vector<std::string> folders{""};
    std::unordered_map<std::string, bool> seen{{"", true}};
    for (const copies::MarkedLine& marked : copies::markedLines(indexText)) {
        const std::optional<catalogue::IndexFileLine> file =
            lineToCopy(indexText.substr(marked.begin, marked.end - marked.begin));
        if (!file) continue;
        const BelowRoot below = belowRoot(file->path);
        if (!copies::mirrorCopyPath(target, below.folderPath, below.name)) continue;
        if (seen.emplace(text::lcase(below.folderPath), true).second)
            folders.emplace_back(below.folderPath);
    }
    return folders;
}

// A target a mirror path can be built on: a plain absolute path whose text
// the mirror suffix can hold.
bool targetUsable(std::string_view target) {
    return copies::isPlainAbsolutePath(target) &&
           target.find_first_of("{}") == std::string_view::npos &&
           target.find(catalogue::TickMark) == std::string_view::npos;
}

// The text a refusal of the confined layer begins with.
constexpr std::string_view OutsideText = "路径不在允许的文件夹里：";
// The refused paths a run names at its end, at most.
constexpr std::size_t RefusalsShown = 20;

bool isRefusal(const platform::Error& e) {
    return e.number() == platform::err::PathFileAccess && e.description().starts_with(OutsideText);
}

// What creating the target did.
struct TargetMade {
    bool made = false;                     // a folder was made
    std::optional<platform::Error> error;  // a level could not be made
};

// Creates the target: its nearest existing folder opened as it is (the
// user's choice, links and all) and the missing levels made beneath it, each
// resolved before it is made. Nothing made when the target exists already
// or cannot be made.
TargetMade createTarget(const std::string& target) {
    std::string existing = target;
    for (;;) {
        std::optional<files::ConfinedRoot> root;
        try {
            root.emplace(files::ConfinedRoot::open(existing));
        } catch (const platform::Error&) {
        }
        if (root) {
            if (existing == target) return {};
            const std::size_t skip = existing.back() == '\\' ? 0 : 1;
            try {
                return {
                    root->createFolders(std::string_view(target).substr(existing.size() + skip)),
                    std::nullopt};
            } catch (const platform::Error& e) {
                return {false, e};
            }
        }
        const std::size_t slash = existing.rfind('\\');
        if (slash == std::string::npos || existing.size() <= 3) return {};
        existing.resize(slash < 3 ? 3 : slash);
    }
}

// The pending-work record of the run is written beneath the index folder.
std::string pendingWorkPath(std::string_view programFolder) {
    return catalogue::indexFolderPath(programFolder) + "\\" +
           std::string(catalogue::PendingWorkFileName);
}

void endRecord(std::string_view programFolder) noexcept {
    try {
        catalogue::endPendingWork(catalogue::openIndexFolder(programFolder));
    } catch (const platform::Error&) {
    }
}

// What became of one file.
enum class Outcome { Copied, Failed, Refused };

// One run of the command, from the index read to its end.
class CopyRun {
  public:
    CopyRun(Form1& form, std::string target, std::string indexPath, std::string indexText,
            catalogue::PendingWork record)
        : form_(form),
          target_(std::move(target)),
          indexPath_(std::move(indexPath)),
          indexText_(std::move(indexText)),
          record_(std::move(record)) {
        try {
            targetRoot_.emplace(files::ConfinedRoot::open(target_));
            // Names in the target's folders are looked up through one listing
            // of each folder for the run, and each folder is opened once.
            targetRoot_->useListings(&listings_);
        } catch (const platform::Error&) {
        }
    }

    // The ticked files of a CD disc: copied and recorded, then the end of
    // the run, also after a failure.
    void copyFromCd() {
        std::optional<std::string> failure;
        openSource(form_.CdDrive);
        recordTarget();
        {
            platform::BusyPointer busy(form_);
            // The copies are made durable together before the index records them.
            files::SyncBatch batch;
            for (const copies::MarkedLine& marked : copies::markedLines(indexText_)) {
                const std::string_view line =
                    std::string_view(indexText_).substr(marked.begin, marked.end - marked.begin);
                failure = copyCdLine(line);
                if (failure) break;
            }
            // Copies the disk did not confirm are not recorded.
            if (!finishBatch(batch)) {
                made_.clear();
                if (!failure) failure = writeFailure_;
            }
        }
        tellRefusals();
        if (failure) form_.ui().msgBox(*failure, platform::MsgButtons::OK, TipTitle);
        endCdRun(failure && writeFailure_);
    }

    // The ticked files of a hard-disk folder, side by side into the target.
    void copyFromHardDisc() {
        const std::string_view text = indexText_;
        openSource(discpage::hardDiscFolder(text.substr(0, text.find_first_of("\r\n"))).folder);
        std::optional<platform::BusyPointer> busy;
        busy.emplace(form_);
        files::SyncBatch batch;
        for (const copies::MarkedLine& marked : copies::markedLines(indexText_)) {
            const std::string_view line =
                std::string_view(indexText_).substr(marked.begin, marked.end - marked.begin);
            const std::optional<catalogue::IndexFileLine> file = catalogue::parseFileLine(line);
            if (!file || !file->ticked()) continue;
            if (copyHardDiscFile(*file) != Outcome::Failed) continue;
            busy.reset();
            if (writeFailure_) {
                form_.ui().msgBox(*writeFailure_, platform::MsgButtons::OK, TipTitle);
                break;
            }
            const int answer =
                form_.ui().msgBox("可能文件位置已经发生变动！" + file->path + "没发现！是否继续？",
                                  platform::MsgButtons::YesNo, TipTitle);
            if (answer == platform::MsgNo) break;
            busy.emplace(form_);
        }
        const bool told = writeFailure_.has_value();
        if (!finishBatch(batch) && !told)
            form_.ui().msgBox(*writeFailure_, platform::MsgButtons::OK, TipTitle);
        busy.reset();
        tellRefusals();
        form_.CopyAllSize.setCaption(std::string(HardCopiedSizeCaption) +
                                     discpage::sizeText(form_.AllSize));
        endRecord(form_.app().ProgramFolder);
        finish();
    }

  private:
    // A visited line of a CD disc: its file copied and noted for the index
    // unless the line is left alone (not ticked, already mirrored). The
    // message to show when the copy failed.
    std::optional<std::string> copyCdLine(std::string_view line) {
        const std::optional<catalogue::IndexFileLine> file = lineToCopy(line);
        if (!file) return {};
        const BelowRoot below = belowRoot(file->path);
        const std::optional<std::string> copyPath =
            copies::mirrorCopyPath(target_, below.folderPath, below.name);
        // The same path below the target (and below the CD drive's root).
        std::optional<std::string> relative;
        if (copyPath)
            relative = copyPath->substr(target_.size() + (target_.back() == '\\' ? 0 : 1));
        Outcome outcome = Outcome::Failed;
        if (copyPath && relative && copies::mirrorPathAccepted(*copyPath, file->path)) {
            outcome = makeFolders(below.folderPath);
            // The copy from a CD is read-only: it comes out writable.
            if (outcome == Outcome::Copied)
                outcome = copyInto(*relative, *relative, files::ReadOnlyToo::Yes);
        }
        if (outcome == Outcome::Refused) return {};
        if (outcome == Outcome::Failed) {
            if (writeFailure_) return *writeFailure_;
            return std::string(below.folderPath.empty() ? CdCopyFailed : CdCopyFailedInFolder);
        }
        made_.push_back({file->path, file->sizeText, *copyPath});
        counted();
        return {};
    }

    // One ticked file of a hard-disk folder, read beneath the catalogued
    // folder: a line outside it is refused.
    Outcome copyHardDiscFile(const catalogue::IndexFileLine& file) {
        const std::string name(file.name());
        if (!copies::isPlainAbsolutePath(file.path) || !copies::isPlainName(name))
            return Outcome::Failed;
        std::string source;
        try {
            if (!sourceRoot_) return Outcome::Failed;
            source = sourceRoot_->relativeOf(file.path);
        } catch (const platform::Error& e) {
            return refusedOr(e, Outcome::Failed);
        }
        const Outcome outcome = copyInto(source, name);
        if (outcome == Outcome::Copied) {
            counted();
            form_.AllSize += static_cast<double>(file.size());
        }
        return outcome;
    }

    // Opens the root the sources are read beneath; none when it cannot be
    // opened (no disc in the drive), and every copy fails.
    void openSource(std::string_view folder) {
        try {
            sourceRoot_.emplace(files::ConfinedRoot::open(folder));
            // The source's folders are opened once for the run too.
            sourceRoot_->useListings(&listings_);
        } catch (const platform::Error&) {
        }
    }

    // The folder the run copies into joins the recorded ones. A store that
    // cannot be written is passed over: the copies are made all the same,
    // and are not deleted or opened by the program until a run records it.
    void recordTarget() {
        if (!targetRoot_) return;
        try {
            copies::recordMirrorFolder(form_.app().settings, targetRoot_->resolvedPath());
        } catch (const std::exception&) {
        }
    }

    // Refused is told at the end; anything else gives other. A full disk or
    // an I/O error writing relative below the target is kept for the message.
    Outcome refusedOr(const platform::Error& e, Outcome other, std::string_view relative = {}) {
        if (!relative.empty() && isDiskFailure(e))
            writeFailure_ =
                std::string(CannotSave) + targetRoot_->windowsOf(relative) + e.description();
        if (!isRefusal(e)) return other;
        refused_.push_back(e.description());
        return Outcome::Refused;
    }

    // Creates the levels of the file's folders beneath the target, each
    // resolved before it is made; a level found before is not tried again.
    // Copied when they are there.
    Outcome makeFolders(std::string_view folderPath) {
        if (folderPath.empty()) return Outcome::Copied;
        const std::string key = text::lcase(folderPath);
        const auto known = madeFolders_.find(key);
        if (known != madeFolders_.end()) {
            if (!known->second) return Outcome::Copied;
            refused_.push_back(*known->second);
            return Outcome::Refused;
        }
        std::optional<std::string> refusal;
        try {
            if (targetRoot_) targetRoot_->createFolders(folderPath);
        } catch (const platform::Error& e) {
            // A level that cannot be made fails the copy below; a full disk
            // fails it here.
            if (isRefusal(e)) refusal = e.description();
            if (isDiskFailure(e)) return refusedOr(e, Outcome::Failed, folderPath);
        }
        madeFolders_.emplace(key, refusal);
        if (!refusal) return Outcome::Copied;
        refused_.push_back(*refusal);
        return Outcome::Refused;
    }

    // Copies the source (below the source root) to relative below the
    // target, replacing a file there; a link there is replaced itself, never
    // followed.
    Outcome copyInto(const std::string& source, const std::string& relative,
                     files::ReadOnlyToo writable = files::ReadOnlyToo::No) {
        if (!sourceRoot_ || !targetRoot_) return Outcome::Failed;
        try {
            targetRoot_->copyInto(relative, *sourceRoot_, source, files::OnExisting::Replace,
                                  writable);
            return Outcome::Copied;
        } catch (const platform::Error& e) {
            return refusedOr(e, Outcome::Failed, relative);
        }
    }

    // The refused paths, each on its line (the first RefusalsShown and the
    // number of them all).
    void tellRefusals() {
        if (refused_.empty()) return;
        std::string message;
        for (std::size_t i = 0; i < refused_.size() && i < RefusalsShown; ++i) {
            if (i > 0) message += '\n';
            message += refused_[i];
        }
        if (refused_.size() > RefusalsShown)
            message += "\n……共" + std::to_string(refused_.size()) + "个文件没有拷贝。";
        form_.ui().msgBox(message, platform::MsgButtons::OK, TipTitle);
    }

    // Syncs the copies to the disk. False when the disk did not confirm
    // them (a full disk or an I/O error is kept for the message; any other
    // failure of the sync is passed over).
    bool finishBatch(files::SyncBatch& batch) {
        try {
            batch.finish();
        } catch (const platform::Error& e) {
            if (!isDiskFailure(e)) return true;
            if (!writeFailure_) writeFailure_ = std::string(CannotSave) + target_ + e.description();
            return false;
        }
        return true;
    }

    void counted() {
        ++count_;
        form_.setCaption(std::to_string(count_));
    }

    // The end of a CD run: the index as it is now with the new suffixes,
    // the copied size, the mirror disc list and the disc node's colour. When
    // the disk failed a copy and that was told (diskFailureTold), a failed
    // write here is not told again.
    void endCdRun(bool diskFailureTold) {
        const std::string& programFolder = form_.app().ProgramFolder;
        std::optional<std::string> index;
        try {
            index = copies::readMirroredDiscIndex(programFolder, form_.OpenedDisk, indexPath_);
        } catch (const platform::Error& e) {
            tell(std::string(CannotOpen) + indexPath_ + e.description());
            return end(true);
        }
        if (!index) {
            tell(discGoneMessage(form_.OpenedDisk));
            return end(true);
        }
        const copies::MirrorCopiesApplied applied = copies::applyMirrorCopies(*index, made_);
        const double total = form_.AllSize + applied.bytes;
        if (applied.changed()) {
            // What is about to be written goes into the record first.
            copies::addMirrorRunResults(record_, total, made_);
            try {
                catalogue::beginPendingWork(catalogue::openIndexFolder(programFolder), record_);
            } catch (const platform::Error& e) {
                if (!diskFailureTold)
                    tell(std::string(CannotSave) + pendingWorkPath(programFolder) +
                         e.description());
                return end(true);
            }
        }
        std::string failedFile;
        try {
            copies::writeMirrorRunResults(programFolder, form_.OpenedDisk, indexPath_, applied,
                                          total, applied.added > 0, failedFile);
        } catch (const platform::Error& e) {
            if (!diskFailureTold) tell(std::string(CannotSave) + failedFile + e.description());
            // Past the index the run has switched: the record stays, and the
            // next start writes the rest.
            if (failedFile == indexPath_ || !applied.changed()) return end(true);
            recorded(total, applied.added > 0);
            return end(false);
        }
        recorded(total, applied.added > 0);
        end(true);
    }

    // The index records the copies: the copied size and the disc's colour.
    void recorded(double total, bool mirrored) {
        form_.AllSize = total;
        form_.CopyAllSize.setCaption(std::string(CopiedSizeCaption) +
                                     discpage::sizeText(form_.AllSize));
        if (!mirrored) return;
        if (platform::Node* node = form_.TreeView1.find(catalogue::treeNodeKey(form_.OpenedDisk)))
            node->setForeColor(form_.CopyFileColor);
    }

    void tell(const std::string& message) {
        form_.ui().msgBox(message, platform::MsgButtons::OK, TipTitle);
    }

    // The end of the run; the record removed unless the next start is to
    // finish what it holds.
    void end(bool removeRecord) {
        if (removeRecord) endRecord(form_.app().ProgramFolder);
        finish();
    }

    void finish() {
        form_.setCaption("Zelbrin");
        form_.StatusBar1.panel(2).setText((count_ > 0 ? std::to_string(count_) : std::string()) +
                                          std::string(FilesCopied));
    }

    Form1& form_;
    const std::string target_;
    const std::string indexPath_;
    const std::string indexText_;
    catalogue::PendingWork record_;
    files::FolderListings listings_;
    std::optional<files::ConfinedRoot> sourceRoot_;
    std::optional<files::ConfinedRoot> targetRoot_;
    std::vector<copies::MirrorCopyMade> made_;
    // The message of a copy or folder that the disk refused (full, I/O).
    std::optional<std::string> writeFailure_;
    // The folders below the target tried, letter case ignored, each with
    // its refusal when it leads out.
    std::unordered_map<std::string, std::optional<std::string>> madeFolders_;
    std::vector<std::string> refused_;
    int count_ = 0;
};

}  // namespace

void Form1::copytag_Click() {
    if (OpenedDisk.empty()) {
        ui().msgBox(ChooseDisc, platform::MsgButtons::OK, InfoTitle);
        return;
    }
    const bool hardDisc = catalogue::isHardDisc(OpenedDisk);
    if (ui().msgBox("要拷贝的光盘名是" + OpenedDisk + "！是否正确？", platform::MsgButtons::YesNo,
                    InfoTitle) != platform::MsgYes)
        return;

    MyValue.clear();
    DialogFromWhere = "copytag";
    {
        copy dialog(*this);
        dialog.showModal();
    }
    DialogFromWhere.clear();
    if (MyValue.empty()) return;
    const std::string target = copies::trimTargetFolder(MyValue);
    if (!targetUsable(target)) {
        ui().msgBox(TargetNotUsable, platform::MsgButtons::OK, TipTitle);
        return;
    }

    // The index, before any folder is made: one that cannot be read stops
    // the command with nothing written.
    std::string indexPath = OpenedDisk;
    std::string indexText;
    try {
        indexPath = catalogue::discIndexFilePath(app().ProgramFolder, OpenedDisk);
        indexText = files::WholeFileRead(indexPath);
    } catch (const platform::Error& e) {
        ui().msgBox(std::string(CannotOpen) + indexPath + e.description(), platform::MsgButtons::OK,
                    TipTitle);
        return;
    }

    // The run is recorded before its first change.
    const std::string& programFolder = app().ProgramFolder;
    const std::vector<std::string> folders =
        hardDisc ? std::vector<std::string>{""} : cdCopyFolders(indexText, target);
    catalogue::PendingWork record = copies::mirrorRunRecord(OpenedDisk, indexPath, target, folders);
    try {
        catalogue::beginPendingWork(catalogue::openIndexFolder(programFolder), record);
    } catch (const platform::Error& e) {
        ui().msgBox(std::string(CannotSave) + pendingWorkPath(programFolder) + e.description(),
                    platform::MsgButtons::OK, TipTitle);
        return;
    }

    const TargetMade made = createTarget(target);
    if (made.error && isDiskFailure(*made.error)) {
        endRecord(programFolder);
        ui().msgBox(std::string(CannotSave) + target + made.error->description(),
                    platform::MsgButtons::OK, TipTitle);
        return;
    }
    if (!made.made &&
        ui().msgBox(FolderExists, platform::MsgButtons::YesNo, InfoTitle) == platform::MsgYes) {
        endRecord(programFolder);
        return;
    }

    CopyRun run(*this, target, std::move(indexPath), std::move(indexText), std::move(record));
    if (hardDisc)
        run.copyFromHardDisc();
    else
        run.copyFromCd();
}
