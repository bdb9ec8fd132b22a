// Opening and copying the files of search results, where they lie now: on
// the disc in the CD drive, or, for a catalogued hard-disk folder, in that
// folder on the hard disk. Neither command changes the catalogue or the list.
//
// A row's file: for a file row, the path of its index line; for a note row,
// the noted path (a file without extension has no ".No扩展名" on disc; the
// note of a folder names no file). A CD's path is re-rooted on the CD drive;
// a hard-disk disc's path lies below the parent of its catalogued folder,
// read from the first line of its index (once per disc and command). The
// paths come from index and note text, which may have been made elsewhere:
// the rules of discpage/disc_file_path.h keep them inside the CD drive,
// respectively the catalogued folder, and a copy is written only into the
// chosen folder. A path that is refused counts as a missing file when a file
// is opened; a copy refused (its source, or the target in the chosen folder,
// leads out of its folder) is told with the path and the run goes on.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "catalogue/scan_command.h"
#include "discpage/disc_file_path.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/file_ops.h"
#include "platform/system/shell.h"
#include "platform/ui/ui.h"
#include "search/result_rows.h"

namespace {

namespace files = platform::files;
using discpage::DiscFilePlace;
using discpage::HardDiscFolder;

constexpr std::string_view InsertDisc = "请插入光盘:";
constexpr std::string_view NoSuchFile = "该文件不存在!";
// The folder the opening program starts in.
constexpr std::string_view ShellWorkDir = "C:\\";

constexpr std::string_view ChooseTargetTitle = "选定要拷贝的目的文件夹。";
constexpr std::string_view TargetFolderText = "选定的目的文件夹是";
constexpr std::string_view CopyDone = "已经拷贝完成！";
constexpr std::string_view StillFailed = "还是没有成功！";

std::string copyingText(std::size_t row) { return "正在拷贝第" + std::to_string(row) + "文件"; }

std::string copyFailedQuestion(std::string_view source) {
    return "要拷贝的文件" + std::string(source) +
           "不存在或者光驱里没有对应的光盘！\r\n放入光盘后点击OK，将再拷贝一次！否则请点击"
           "Cancel！";
}

// A place whose path is told but never used.
DiscFilePlace refused(std::string path) { return DiscFilePlace{std::move(path), {}, false}; }

// The files of result rows, for one command.
class ResultFiles {
  public:
    ResultFiles(const Form1& form, std::string programFolder)
        : layout_(search::resultLayout(form.ListView2)),
          cdDrive_(form.CdDrive),
          programFolder_(std::move(programFolder)) {}

    // The file of a row: nothing for a remark row, the note of a folder and
    // a row without path.
    std::optional<DiscFilePlace> of(const platform::ListItem& row) {
        if (layout_ == search::ResultLayout::Remark) return std::nullopt;
        const std::string key = search::resultRowKey(layout_, row);
        if (key.empty()) return std::nullopt;
        const std::string& disc = row.text();
        const bool hardDisc = catalogue::isHardDisc(disc);
        if (layout_ == search::ResultLayout::File) {
            const std::string path = discpage::indexLinePath(key);
            if (!hardDisc) return discpage::cdScanPathPlace(cdDrive_, path);
            const std::optional<HardDiscFolder>& folder = folderOf(disc);
            return folder ? discpage::hardDiscScanPathPlace(*folder, path) : refused(path);
        }
        const std::optional<std::string> noted = discpage::notedFilePath(key);
        if (!noted) return std::nullopt;
        if (!hardDisc) return discpage::cdScanPathPlace(cdDrive_, *noted);
        const std::optional<HardDiscFolder>& folder = folderOf(disc);
        return folder ? discpage::hardDiscFilePlace(*folder, *noted) : refused(*noted);
    }

  private:
    // A hard-disk disc's catalogued folder, read once per command.
    const std::optional<HardDiscFolder>& folderOf(const std::string& disc) {
        const auto it = folders_.find(disc);
        if (it != folders_.end()) return it->second;
        return folders_.emplace(disc, discpage::hardDiscFolderOf(programFolder_, disc))
            .first->second;
    }

    search::ResultLayout layout_;
    std::string cdDrive_;
    std::string programFolder_;
    std::unordered_map<std::string, std::optional<HardDiscFolder>> folders_;
};

// Copies source, read beneath its folder, into the chosen folder under its
// own name, replacing a file there. True when copied; a copy refused because
// a path or a link leads out of its folder is told (the path and the reason)
// and counts as done, so the run goes on; false on any other failure.
bool copyInto(Form1& form, const DiscFilePlace& source, const std::string& folder) {
    try {
        const discpage::ConfinedPlace from = discpage::confinedPlace(source);
        const files::ConfinedRoot target = files::ConfinedRoot::open(folder);
        target.copyInto(source.path.substr(source.path.rfind('\\') + 1), from.root, from.relative,
                        files::OnExisting::Replace);
        return true;
    } catch (const platform::Error& e) {
        if (e.number() != platform::err::PathFileAccess) return false;
        form.ui().msgBox(e.description(), platform::MsgButtons::OK, catalogue::TipTitle);
        return true;
    }
}

}  // namespace

void Form1::openfind_Click() {
    const platform::ListItem* row = ListView2.selectedItem();
    if (!row) return;
    ResultFiles files(*this, app().ProgramFolder);
    const std::optional<DiscFilePlace> place = files.of(*row);
    if (!place) return;

    int answer = platform::system::shell_result::FileNotFound;
    if (discpage::existsInside(*place)) {
        platform::BusyPointer busy(*this);
        answer = app().shell.open(place->path, ShellWorkDir);
    }
    if (answer != platform::system::shell_result::FileNotFound) return;
    const std::string& disc = row->text();
    ui().msgBox(
        catalogue::isHardDisc(disc) ? std::string(NoSuchFile) : std::string(InsertDisc) + disc,
        platform::MsgButtons::OK, catalogue::TipTitle);
}

void Form1::copytaggedresult_Click() {
    const std::string chosen = module1().BrowseForFolder(*this, ChooseTargetTitle);
    if (chosen.empty()) return;
    std::string folder = chosen;
    if (folder.ends_with('\\')) folder.pop_back();
    StatusBar1.panel(2).setText(std::string(TargetFolderText) + folder);

    ResultFiles files(*this, app().ProgramFolder);
    const std::size_t count = ListView2.items().size();
    for (std::size_t i = 1; i <= count && i <= ListView2.items().size(); ++i) {
        const platform::ListItem& row = *ListView2.items()[i - 1];
        if (!row.checked()) continue;
        StatusBar1.panel(1).setText(copyingText(i));
        const std::optional<DiscFilePlace> source = files.of(row);
        if (!source) continue;
        if (copyInto(*this, *source, chosen)) continue;
        if (ui().msgBox(copyFailedQuestion(source->path), platform::MsgButtons::OKCancel,
                        catalogue::TipTitle) != platform::MsgOK)
            continue;
        if (!copyInto(*this, *source, chosen))
            ui().msgBox(StillFailed, platform::MsgButtons::OK, catalogue::TipTitle);
    }
    StatusBar1.panel(1).setText(std::string(CopyDone));
}
