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
// A target on a drive that is not mapped (no such drive, its folder missing,
// a CD drive without a disc) is refused before anything is made, and so is a
// CD run while the drive holds no disc. A target folder that exists is asked
// about; one that cannot be made (a file where a folder is to be) is told
// ("不能建立文件夹: " and the reason) and ends the command, before anything
// changes or, found at the first copy, then. A run stops at the first file
// it cannot copy and says what really happened: the file missing from the
// disc or the folder,
// or unreadable ("不能读取文件: "), a name of the index that cannot be a
// copy's name, or the target that cannot be written ("不能保存文件: ",
// "不能建立文件夹: "). Its status text always carries the number of files
// copied ("0个文件已经拷贝到硬盘！").
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
// at its end (one box, its lines ending CR LF). A run records the folder it
// copies into (mirror_folders.h) before it records itself: the only folders
// whose copies are later deleted or opened, and the only targets a record
// left by a run cut short may name. The target and its folders are made only
// for a file about to be copied whose source can be read: a run makes no
// folder it does not copy into.
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
#include "copies/copy_failures.h"
#include "copies/mirror_files.h"
#include "copies/mirror_folders.h"
#include "copies/mirror_run.h"
#include "copies/send_to.h"
#include "discpage/disc_file_path.h"
#include "discpage/size_text.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/files/confined.h"
#include "platform/files/paths.h"
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
constexpr std::string_view CannotMakeFolder = "不能建立文件夹: ";
constexpr std::string_view GoOn = "\r\n是否继续？";
constexpr std::string_view TargetNotUsable =
    "映象文件的文件夹必须是以盘符开头的完整路径（例如 d:\\zelbrin\\光盘名），"
    "其中不能有“.”、“..”或空的文件夹名，也不能有“{”、“}”或“($)”！";
constexpr std::string_view CannotOpen = "不能打开文件: ";
using copies::CannotSave;
constexpr std::string_view FilesCopied = "个文件已经拷贝到硬盘！";
constexpr std::string_view CopiedSizeCaption = "已经拷贝到硬盘上的文件大小是";
constexpr std::string_view HardCopiedSizeCaption = "已经拷贝的文件大小是";

// The CD drive holds no disc.
std::string noDiscMessage(std::string_view drive, std::string_view disc) {
    return "光驱 " + text::ucase(drive.substr(0, 2)) + " 里没有光盘！请放入光盘“" +
           std::string(disc) + "”后再拷贝。";
}

// A line of the index whose path cannot be a copy's path.
std::string badNameMessage(std::string_view path) {
    return "文件的路径里有“.”、“..”或空的文件夹名，不能拷贝：" + std::string(path);
}

// The bytes read from a source that failed to copy, to tell whether it can
// be read at all.
constexpr std::size_t ProbeBytes = 65536;

// The run's disc was renamed or deleted while it copied.
std::string discGoneMessage(std::string_view disc) {
    return "光盘“" + std::string(disc) + "”在拷贝期间已被改名或删除，拷贝的文件没有记入索引。";
}

// A failure of the disk written to (full, or an I/O error), told with the
// file it failed on.
bool isDiskFailure(const platform::Error& e) {
    return e.number() == platform::err::DiskFull || e.number() == platform::err::DeviceIO;
}

// A target a mirror path can be built on: a plain absolute path whose text
// the mirror suffix can hold.
bool targetUsable(std::string_view target) {
    return copies::isPlainAbsolutePath(target) &&
           target.find_first_of("{}") == std::string_view::npos &&
           target.find(catalogue::TickMark) == std::string_view::npos;
}

using copies::isRefusal;

// Where the target stands before the run: there already, or to be made
// below its nearest existing folder (opened as it is: the user's choice,
// links and all), or not to be made (the error: the drive's root does not
// open, or a file stands where a level is to be made).
struct TargetPlace {
    bool existed = false;
    std::optional<files::ConfinedRoot> nearest;  // when the target is to be made
    std::string missing;                         // its levels below nearest
    std::optional<platform::Error> error;
};
TargetPlace placeTarget(const std::string& target) {
    std::string existing = target;
    for (;;) {
        std::optional<files::ConfinedRoot> root;
        try {
            root.emplace(files::ConfinedRoot::open(existing));
        } catch (const platform::Error& e) {
            const std::size_t slash = existing.rfind('\\');
            if (slash == std::string::npos || existing.size() <= 3) return {false, {}, {}, e};
            existing.resize(slash < 3 ? 3 : slash);
            continue;
        }
        TargetPlace place;
        if (existing == target) {
            place.existed = true;
            return place;
        }
        const std::size_t skip = existing.back() == '\\' ? 0 : 1;
        place.missing = target.substr(existing.size() + skip);
        // The first missing level is missing as a folder only.
        try {
            if (root->exists(place.missing.substr(0, place.missing.find('\\'))))
                place.error = platform::Error(platform::err::FileExists);
        } catch (const platform::Error& e) {
            place.error = e;
        }
        place.nearest = std::move(root);
        return place;
    }
}

// The pending-work record of the run is written beneath the index folder.
std::string pendingWorkPath(std::string_view programFolder) {
    return catalogue::pendingWorkFilePath(programFolder);
}

// What became of one file.
enum class Outcome { Copied, Failed, Refused };

// Why a file was not copied, and the message that says so.
struct Failure {
    enum class Kind {
        NoDisc,      // the CD drive holds no disc
        Missing,     // the file is not on the disc or in the folder
        Unreadable,  // the file is there and cannot be read
        BadName,     // the index's path cannot be a copy's path
        Target,      // the target cannot be written
    };
    Kind kind;
    std::string message;
};

// One run of the command, from the index read to its end.
class CopyRun {
  public:
    CopyRun(Form1& form, std::string target, TargetPlace place, std::string indexPath,
            std::string indexText, catalogue::PendingWorkScope pending)
        : form_(form),
          target_(std::move(target)),
          indexPath_(std::move(indexPath)),
          indexText_(std::move(indexText)),
          record_(pending.work()),
          pending_(std::move(pending)),
          targetPlace_(std::move(place)) {}

    // The ticked files of a CD disc: copied and recorded, then the end of
    // the run, also after a failure.
    void copyFromCd() {
        std::optional<std::string> failure;
        cdDrive_ = form_.CdDrive;
        openSource(form_.CdDrive);
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
                if (!failure) failure = failure_->message;
            }
        }
        tellRefusals();
        if (failure) form_.ui().msgBox(*failure, platform::MsgButtons::OK, TipTitle);
        endCdRun(failure && diskFailed_);
    }

    // The ticked files of a hard-disk folder, side by side into the target.
    void copyFromHardDisc() {
        const std::string_view text = indexText_;
        openSource(discpage::hardDiscFolder(text.substr(0, text.find_first_of("\r\n"))).folder);
        std::optional<platform::BusyPointer> busy;
        busy.emplace(form_);
        files::SyncBatch batch;
        bool told = false;
        for (const copies::MarkedLine& marked : copies::markedLines(indexText_)) {
            const std::string_view line =
                std::string_view(indexText_).substr(marked.begin, marked.end - marked.begin);
            const std::optional<catalogue::IndexFileLine> file = catalogue::parseFileLine(line);
            if (!file || !file->ticked()) continue;
            if (copyHardDiscFile(*file) != Outcome::Failed) continue;
            busy.reset();
            // The target that cannot be written ends the run; a file that
            // cannot be copied is asked about.
            if (failure_->kind == Failure::Kind::Target) {
                tell(failure_->message);
                told = true;
                break;
            }
            const std::string question =
                failure_->kind == Failure::Kind::Missing
                    ? "可能文件位置已经发生变动！" + file->path + "没发现！是否继续？"
                    : failure_->message + std::string(GoOn);
            if (form_.ui().msgBox(question, platform::MsgButtons::YesNo, TipTitle) ==
                platform::MsgNo)
                break;
            busy.emplace(form_);
        }
        if (!finishBatch(batch) && !told) tell(failure_->message);
        busy.reset();
        tellRefusals();
        form_.CopyAllSize.setCaption(std::string(HardCopiedSizeCaption) +
                                     discpage::sizeText(form_.AllSize));
        pending_.done();
        finish();
    }

  private:
    // A visited line of a CD disc: its file copied and noted for the index
    // unless the line is left alone (not ticked, already mirrored). The
    // message to show when the copy failed.
    std::optional<std::string> copyCdLine(std::string_view line) {
        const std::optional<catalogue::IndexFileLine> file = copies::cdLineToCopy(line);
        if (!file) return {};
        const std::optional<copies::CopyPlace> place = copies::cdCopyPlace(target_, file->path);
        if (!place) return badNameMessage(file->path);
        // The same path below the target and below the CD drive's root.
        Outcome outcome = prepareFolder(place->relative, place->folder);
        // The copy from a CD is read-only: it comes out writable.
        if (outcome == Outcome::Copied)
            outcome = copyInto(place->relative, place->relative, files::ReadOnlyToo::Yes);
        if (outcome == Outcome::Refused) return {};
        if (outcome == Outcome::Failed) return failure_->message;
        made_.push_back({file->path, file->sizeText, place->mirrorPath});
        counted();
        return {};
    }

    // One ticked file of a hard-disk folder, read beneath the catalogued
    // folder: a line outside it is refused.
    Outcome copyHardDiscFile(const catalogue::IndexFileLine& file) {
        const std::string name(file.name());
        if (!copies::isPlainAbsolutePath(file.path) || !copies::isPlainName(name))
            return failed(Failure::Kind::BadName, badNameMessage(file.path));
        if (!sourceRoot_)
            return failed(
                Failure::Kind::Missing,
                copies::failedRead(file.path, platform::Error(platform::err::FileNotFound)));
        std::string source;
        try {
            source = sourceRoot_->relativeOf(file.path);
        } catch (const platform::Error& e) {
            if (isRefusal(e)) return refused(e);
            return failed(Failure::Kind::Unreadable, copies::failedRead(file.path, e));
        }
        Outcome outcome = prepareFolder(source, "");
        if (outcome == Outcome::Copied) outcome = copyInto(source, name);
        if (outcome == Outcome::Copied) {
            counted();
            form_.AllSize += static_cast<double>(file.size());
        }
        return outcome;
    }

    // Opens the root the sources are read beneath; none when it cannot be
    // opened (no disc in the drive, the folder gone), and every copy fails.
    void openSource(std::string_view folder) {
        try {
            sourceRoot_.emplace(files::ConfinedRoot::open(folder));
            // The source's folders are opened once for the run too.
            sourceRoot_->useListings(&listings_);
        } catch (const platform::Error&) {
        }
    }

    // The target and the folder below it a copy goes into, made only for a
    // source that can be copied, so that the run makes no folder it does
    // not copy into. Copied when they are there; Failed (the source's
    // failure, or the level that could not be made) or Refused.
    Outcome prepareFolder(const std::string& source, std::string_view folderPath) {
        if (targetRoot_ && (folderPath.empty() || madeFolders_.contains(std::string(folderPath))))
            return makeFolders(folderPath);
        if (sourceRoot_) {
            try {
                sourceRoot_->status(source);
            } catch (const platform::Error& e) {
                if (isRefusal(e)) return refused(e);
            }
        }
        if (sourceFailed(source) == Outcome::Failed) return Outcome::Failed;
        if (!targetRoot_ && openTarget() == Outcome::Failed) return Outcome::Failed;
        return makeFolders(folderPath);
    }

    // Makes the target's missing levels and opens it; its names are looked
    // up from now on through one listing of each folder for the run, and
    // each folder is opened once.
    Outcome openTarget() {
        try {
            if (targetPlace_.nearest) targetPlace_.nearest->createFolders(targetPlace_.missing);
            targetRoot_.emplace(files::ConfinedRoot::open(target_));
        } catch (const platform::Error& e) {
            if (isDiskFailure(e)) diskFailed_ = true;
            return failed(Failure::Kind::Target,
                          std::string(CannotMakeFolder) + target_ + e.description());
        }
        targetPlace_.nearest.reset();
        targetRoot_->useListings(&listings_);
        // Recorded before the run as the folder it would be; one that came
        // out another (a link put on the way meanwhile) is recorded too.
        try {
            copies::recordMirrorFolder(form_.app().settings, targetRoot_->resolvedPath());
        } catch (const std::exception&) {
        }
        return Outcome::Copied;
    }

    Outcome failed(Failure::Kind kind, std::string message) {
        failure_ = Failure{kind, std::move(message)};
        return Outcome::Failed;
    }

    Outcome refused(const platform::Error& e) {
        refused_.push_back(e.description());
        return Outcome::Refused;
    }

    // The target failed at relative (a copy, or a folder with folder): a
    // full disk or an I/O error is remembered, so that the end of the run
    // does not tell the disk again.
    Outcome targetFailed(const platform::Error& e, std::string_view relative, bool folder) {
        if (isDiskFailure(e)) diskFailed_ = true;
        const std::string path = targetRoot_->windowsOf(relative);
        return failed(Failure::Kind::Target,
                      folder ? std::string(CannotMakeFolder) + path + e.description()
                             : copies::failedWrite(path, e));
    }

    // Creates the levels of the file's folders beneath the target, each
    // resolved before it is made; a level found before is not tried again.
    // Copied when they are there.
    Outcome makeFolders(std::string_view folderPath) {
        if (folderPath.empty()) return Outcome::Copied;
        // Docs and docs are two folders.
        const std::string key(folderPath);
        const auto known = madeFolders_.find(key);
        if (known != madeFolders_.end()) {
            if (!known->second) return Outcome::Copied;
            refused_.push_back(*known->second);
            return Outcome::Refused;
        }
        std::optional<std::string> refusal;
        try {
            targetRoot_->createFolders(folderPath);
        } catch (const platform::Error& e) {
            if (!isRefusal(e)) return targetFailed(e, folderPath, true);
            refusal = e.description();
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
        if (!sourceRoot_) return sourceFailed(source);
        try {
            targetRoot_->copyInto(relative, *sourceRoot_, source, files::OnExisting::Replace,
                                  writable);
            return Outcome::Copied;
        } catch (const platform::Error& e) {
            if (isRefusal(e)) return refused(e);
            // Only the target fills up; anything else may be the source.
            if (e.number() != platform::err::DiskFull && sourceFailed(source) == Outcome::Failed)
                return Outcome::Failed;
            return targetFailed(e, relative, false);
        }
    }

    // Looks at the source of a copy that failed: Failed with what is wrong
    // with it (the CD drive empty, the file missing or unreadable), else
    // Copied (the source is readable, so the target failed).
    Outcome sourceFailed(const std::string& source) {
        if (!cdDrive_.empty() && !copies::driveMapped(cdDrive_))
            return failed(Failure::Kind::NoDisc, noDiscMessage(cdDrive_, form_.OpenedDisk));
        const std::string path = sourceRoot_ ? sourceRoot_->windowsOf(source) : std::string(source);
        const platform::Error missing(platform::err::FileNotFound);
        if (!sourceRoot_) return failed(Failure::Kind::Missing, copies::failedRead(path, missing));
        try {
            const std::optional<files::EntryStatus> status = sourceRoot_->status(source);
            if (!status || status->isFolder)
                return failed(Failure::Kind::Missing, copies::failedRead(path, missing));
            files::readRegularFile(files::toNative(path), ProbeBytes);
        } catch (const platform::Error& e) {
            return failed(Failure::Kind::Unreadable, copies::failedRead(path, e));
        }
        return Outcome::Copied;
    }

    // The refused paths, each on its line (the first ones and the number of
    // them all).
    void tellRefusals() {
        if (!refused_.empty()) tell(copies::failureList(refused_));
    }

    // Syncs the copies to the disk. False when the disk did not confirm
    // them (a full disk or an I/O error is kept for the message; any other
    // failure of the sync is passed over).
    bool finishBatch(files::SyncBatch& batch) {
        try {
            batch.finish();
        } catch (const platform::Error& e) {
            if (!isDiskFailure(e)) return true;
            if (!diskFailed_) {
                diskFailed_ = true;
                failure_ = Failure{Failure::Kind::Target, copies::failedWrite(target_, e)};
            }
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
                pending_.update(record_);
            } catch (const platform::Error& e) {
                // The record without the results stays: the next start
                // finds the whole copies and records them.
                const std::string message = pending_.keep(pendingWorkPath(programFolder), e);
                if (!diskFailureTold) tell(message);
                return end(false);
            }
        }
        std::string failedFile;
        try {
            copies::writeMirrorRunResults(programFolder, form_.OpenedDisk, indexPath_, applied,
                                          total, applied.added > 0, failedFile);
        } catch (const platform::Error& e) {
            // Nothing to record: the run is over.
            if (!applied.changed()) {
                if (!diskFailureTold) tell(std::string(CannotSave) + failedFile + e.description());
                return end(true);
            }
            // The record holds the results and stays: the next start writes
            // what is not written yet (the index, size.ini, red.ini).
            const std::string message = pending_.keep(failedFile, e);
            if (!diskFailureTold) tell(message);
            if (failedFile != indexPath_) recorded(total, applied.added > 0);
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
        if (removeRecord) pending_.done();
        finish();
    }

    void finish() {
        form_.setCaption("Zelbrin");
        form_.StatusBar1.panel(2).setText(std::to_string(count_) + std::string(FilesCopied));
    }

    Form1& form_;
    const std::string target_;
    const std::string indexPath_;
    const std::string indexText_;
    catalogue::PendingWork record_;
    catalogue::PendingWorkScope pending_;
    files::FolderListings listings_;
    std::optional<files::ConfinedRoot> sourceRoot_;
    // Until the first copy, where the target is to be made; then the target.
    TargetPlace targetPlace_;
    std::optional<files::ConfinedRoot> targetRoot_;
    // The CD drive the sources are read from; "" for a hard-disk folder.
    std::string cdDrive_;
    std::vector<copies::MirrorCopyMade> made_;
    // Why the last file that failed was not copied.
    std::optional<Failure> failure_;
    // The disk written to failed (full, I/O) and the run tells it.
    bool diskFailed_ = false;
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
    if (!copies::driveMapped(target)) {
        ui().msgBox(copies::unmappedDriveMessage(target), platform::MsgButtons::OK, TipTitle);
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

    if (!hardDisc && !copies::driveMapped(CdDrive)) {
        ui().msgBox(noDiscMessage(CdDrive, OpenedDisk), platform::MsgButtons::OK, TipTitle);
        return;
    }

    // Where the target is to be: a target that cannot be made is told before
    // anything changes; one that exists is asked about.
    TargetPlace place = placeTarget(target);
    if (place.error) {
        ui().msgBox(std::string(CannotMakeFolder) + target + place.error->description(),
                    platform::MsgButtons::OK, TipTitle);
        return;
    }
    if (place.existed &&
        ui().msgBox(FolderExists, platform::MsgButtons::YesNo, InfoTitle) == platform::MsgYes)
        return;

    // The folder the run copies into joins the recorded ones before the run
    // records itself, so that a record left behind names a recorded target.
    // A store that cannot be written is passed over: the copies are made all
    // the same, and are not deleted or opened by the program until a run
    // records it (nor is a record of this run trusted at the next start).
    if (const std::optional<std::string> folder = copies::resolvedFolderOf(target)) {
        try {
            copies::recordMirrorFolder(app().settings, *folder);
        } catch (const std::exception&) {
        }
    }

    // The run is recorded before its first change.
    const std::string& programFolder = app().ProgramFolder;
    const std::vector<std::string> folders =
        hardDisc ? std::vector<std::string>{""} : copies::cdCopyFolders(indexText);
    catalogue::PendingWork record = copies::mirrorRunRecord(OpenedDisk, indexPath, target,
                                                            copies::mirrorRunStartTime(), folders);
    std::optional<catalogue::PendingWorkScope> pending;
    try {
        pending.emplace(programFolder, record);
    } catch (const platform::Error& e) {
        ui().msgBox(
            catalogue::pendingWorkBeginMessage(
                e, std::string(CannotSave) + pendingWorkPath(programFolder) + e.description()),
            platform::MsgButtons::OK, TipTitle);
        return;
    }

    CopyRun run(*this, target, std::move(place), std::move(indexPath), std::move(indexText),
                std::move(*pending));
    if (hardDisc)
        run.copyFromHardDisc();
    else
        run.copyFromCd();
}
