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
// The index is read once before anything is copied and written back once at
// the end, also when a copy fails part-way: every file copied is recorded.
// An index that cannot be read stops the command before any folder is made
// and nothing is written. Every copy's path is the target followed by plain
// names (never empty, "." or ".."), so a name from an index, which may have
// been made elsewhere, cannot reach outside the chosen folder; a line with
// such a name counts as a failed copy.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "catalogue/disc_trees.h"
#include "catalogue/index_line.h"
#include "catalogue/scan_command.h"
#include "copies/copy_dialog.h"
#include "copies/mirror_files.h"
#include "discpage/size_text.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/confine.h"
#include "platform/files/file_ops.h"
#include "platform/files/text_file.h"
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

// A target a mirror path can be built on: a plain absolute path whose text
// the mirror suffix can hold.
bool targetUsable(std::string_view target) {
    return copies::isPlainAbsolutePath(target) &&
           target.find_first_of("{}") == std::string_view::npos &&
           target.find(catalogue::TickMark) == std::string_view::npos;
}

// Creates the target level by level below its drive root, failures passed
// over; false when its last level could not be made (it exists, or cannot
// be made).
bool createTarget(const std::string& target) {
    for (std::size_t i = 3; i < target.size(); ++i) {
        if (target[i] != '\\') continue;
        try {
            files::createFolder(target.substr(0, i));
        } catch (const platform::Error&) {
        }
    }
    try {
        files::createFolder(target);
        return true;
    } catch (const platform::Error&) {
        return false;
    }
}

// One run of the command, from the index read to its end.
class CopyRun {
  public:
    CopyRun(Form1& form, std::string target, std::string indexPath, std::string indexText)
        : form_(form),
          target_(std::move(target)),
          indexPath_(std::move(indexPath)),
          indexText_(std::move(indexText)) {}

    // The ticked files of a CD disc: copied and recorded, then the end of
    // the run, also after a failure.
    void copyFromCd() {
        std::optional<std::string_view> failure;
        {
            platform::BusyPointer busy(form_);
            for (const copies::MarkedLine& marked : copies::markedLines(indexText_)) {
                const std::string_view line =
                    std::string_view(indexText_).substr(marked.begin, marked.end - marked.begin);
                failure = copyCdLine(line, marked.end);
                if (failure) break;
            }
        }
        if (failure) form_.ui().msgBox(*failure, platform::MsgButtons::OK, TipTitle);
        endCdRun();
    }

    // The ticked files of a hard-disk folder, side by side into the target.
    void copyFromHardDisc() {
        std::optional<platform::BusyPointer> busy;
        busy.emplace(form_);
        for (const copies::MarkedLine& marked : copies::markedLines(indexText_)) {
            const std::string_view line =
                std::string_view(indexText_).substr(marked.begin, marked.end - marked.begin);
            const std::optional<catalogue::IndexFileLine> file = catalogue::parseFileLine(line);
            if (!file || !file->ticked()) continue;
            if (copyHardDiscFile(*file)) continue;
            busy.reset();
            const int answer =
                form_.ui().msgBox("可能文件位置已经发生变动！" + file->path + "没发现！是否继续？",
                                  platform::MsgButtons::YesNo, TipTitle);
            if (answer == platform::MsgNo) break;
            busy.emplace(form_);
        }
        busy.reset();
        form_.CopyAllSize.setCaption(std::string(HardCopiedSizeCaption) +
                                     discpage::sizeText(form_.AllSize));
        finish();
    }

  private:
    // A visited line of a CD disc: its file copied and recorded unless the
    // line is left alone (not ticked, already mirrored). The message to show
    // when the copy failed.
    std::optional<std::string_view> copyCdLine(std::string_view line, std::size_t lineEnd) {
        if (line.size() > 3 && line.substr(3).find('{') != std::string_view::npos) return {};
        const std::optional<catalogue::IndexFileLine> file = catalogue::parseFileLine(line);
        if (!file || !file->ticked()) return {};

        // The file's folders below the disc root and its name.
        const std::string_view rest =
            file->path.size() > 3 ? std::string_view(file->path).substr(3) : std::string_view();
        const std::size_t slash = rest.rfind('\\');
        const std::string_view folderPath =
            slash == std::string_view::npos ? std::string_view() : rest.substr(0, slash);
        const std::string_view name =
            slash == std::string_view::npos ? rest : rest.substr(slash + 1);

        bool copied = false;
        const std::optional<std::string> copyPath =
            copies::mirrorCopyPath(target_, folderPath, name);
        const std::optional<std::string> source =
            copies::mirrorCopyPath(form_.CdDrive, folderPath, name);
        if (copyPath && source && copies::mirrorPathAccepted(*copyPath, file->path)) {
            makeFolders(folderPath);
            copied = copyInto(*source, *copyPath);
        }
        if (!copied) return folderPath.empty() ? CdCopyFailed : CdCopyFailedInFolder;
        records_.push_back({lineEnd, *copyPath});
        // The copy from a CD is read-only: it becomes writable.
        files::setAttributes(*copyPath, 32);
        counted(*file);
        return {};
    }

    // One ticked file of a hard-disk folder; false when it could not be
    // copied.
    bool copyHardDiscFile(const catalogue::IndexFileLine& file) {
        const std::string name(file.name());
        if (!copies::isPlainAbsolutePath(file.path)) return false;
        const std::optional<std::string> copyPath = copies::mirrorCopyPath(target_, "", name);
        if (!copyPath || !copyInto(file.path, *copyPath)) return false;
        counted(file);
        return true;
    }

    // Creates the levels of the file's folders below the target; those made
    // or found before are not tried again.
    void makeFolders(std::string_view folderPath) {
        if (folderPath.empty()) return;
        std::string folder = target_;
        for (const std::string& level : text::split(folderPath, "\\")) {
            if (folder.back() != '\\') folder += '\\';
            folder += level;
            if (!madeFolders_.insert(text::lcase(folder)).second) continue;
            try {
                files::createFolder(folder);
            } catch (const platform::Error&) {
            }
        }
    }

    // Copies a file to copyPath, replacing a file there, after making sure
    // that copyPath lies inside the target (no link leads out of it).
    bool copyInto(const std::string& source, const std::string& copyPath) {
        try {
            files::confinedNative(copyPath, target_);
            files::copyFile(source, copyPath, true);
            return true;
        } catch (const platform::Error&) {
            return false;
        }
    }

    void counted(const catalogue::IndexFileLine& file) {
        ++count_;
        form_.setCaption(std::to_string(count_));
        form_.AllSize += static_cast<double>(file.size());
    }

    // The end of a CD run: the copied size, the index with the new suffixes,
    // the mirror disc list and the disc node's colour.
    void endCdRun() {
        const std::string& programFolder = form_.app().ProgramFolder;
        // A failure to write the size file is not reported.
        platform::SkipOnError skip;
        skip.step([&] { copies::writeCopiedSize(programFolder, form_.AllSize); });
        form_.CopyAllSize.setCaption(std::string(CopiedSizeCaption) +
                                     discpage::sizeText(form_.AllSize));
        bool recorded = true;
        try {
            files::WholeFileRewrite(indexPath_, copies::addMirrorSuffixes(indexText_, records_));
        } catch (const platform::Error& e) {
            recorded = false;
            form_.ui().msgBox(std::string(CannotSave) + indexPath_ + e.description(),
                              platform::MsgButtons::OK, TipTitle);
        }
        if (count_ > 0 && recorded) {
            addToMirrorDiscList(programFolder);
            if (platform::Node* node =
                    form_.TreeView1.find(catalogue::treeNodeKey(form_.OpenedDisk)))
                node->setForeColor(form_.CopyFileColor);
        }
        finish();
    }

    // The disc joins the mirror disc list unless a line names it already
    // (letter case ignored); a missing list is made with the disc's line. A
    // list that cannot be read is left as it is.
    void addToMirrorDiscList(const std::string& programFolder) {
        const std::string path = copies::mirrorDiscListPath(programFolder);
        platform::SkipOnError skip;
        std::string list;
        if (!skip.step([&] { list = files::WholeFileRead(path); }) &&
            skip.number() != platform::err::FileNotFound)
            return;
        const std::optional<std::string> added = copies::appendMirrorDisc(list, form_.OpenedDisk);
        if (added) skip.step([&] { files::WholeFileRewrite(path, *added); });
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
    std::vector<copies::MirrorRecord> records_;
    std::unordered_set<std::string> madeFolders_;
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

    if (!createTarget(target) &&
        ui().msgBox(FolderExists, platform::MsgButtons::YesNo, InfoTitle) == platform::MsgYes)
        return;

    CopyRun run(*this, target, std::move(indexPath), std::move(indexText));
    if (hardDisc)
        run.copyFromHardDisc();
    else
        run.copyFromCd();
}
