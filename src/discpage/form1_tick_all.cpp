// The tick-all commands of the file list's pop-up menu: every file of the
// listed folder through the pending-tick queue, or, in one pass over the
// open disc's index file, every unticked index or default page, respectively
// every unticked readme file; those two then list each marked file line of
// the disc in the result list ListView2, under whatever column headers it
// shows.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/scan_command.h"
#include "discpage/disc_file_path.h"
#include "discpage/file_listing.h"
#include "discpage/index_edits.h"
#include "discpage/pending_tick.h"
#include "mainwindow/form1.h"
#include "mainwindow/images.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/text_file.h"
#include "platform/ui/ui.h"

namespace {

using catalogue::TipTitle;
namespace files = platform::files;

constexpr std::string_view InfoTitle = "信息";
constexpr std::string_view NoDiscClickDiscTab =
    "不知道你要操作的光盘名！请点击光盘标签，选择你要打标记的光盘！";
constexpr std::string_view NoDiscClickDiscPage =
    "不知道你要操作的光盘名！请点击光盘页，选择你要打标记的光盘！";
constexpr std::string_view NothingMarked = "在光盘中没有你找的内容！";
constexpr std::string_view PreviewButton = "preview";

// One of the two disc-wide commands: what it looks for and what it says.
struct DiscWideTicks {
    std::span<const std::string_view> keywords;
    std::string_view noDisc;
    std::string_view noDiscTitle;
    std::string_view wait;
    std::string_view countEnd;
};

constexpr DiscWideTicks IndexPages{discpage::IndexPageKeywords, NoDiscClickDiscPage, TipTitle,
                                   "如果光盘中index文件比较多，将要花费较多时间，请耐心等待。",
                                   "个index和default文件"};
constexpr DiscWideTicks ReadmeFiles{discpage::ReadmeKeywords, NoDiscClickDiscTab, InfoTitle,
                                    "如果光盘中Readme文件比较多，将要花费较多时间，请耐心等待。",
                                    "个*readme*.*文件"};

void tell(Form1& form, std::string_view message, std::string_view title = TipTitle) {
    form.ui().msgBox(message, platform::MsgButtons::OK, title);
}

// A file row of the disc page: not a folder, not one of the disc's
// information rows, not a file with a mirror copy.
bool isTickableFile(const Form1& form, const platform::ListItem& row) {
    return row.smallIcon() != images::Folder && row.smallIcon() != images::SoftwareCategory &&
           row.foreColor() != form.CopyFileColor;
}

// Ticks the files the command looks for in the open disc's index file,
// writes it back and lists the disc's marked lines in ListView2.
void tickDiscWide(Form1& form, const DiscWideTicks& command) {
    if (form.OpenedDisk.empty()) return tell(form, command.noDisc, command.noDiscTitle);
    // The preview pane closes unless the result list shares the window with it.
    if (!form.ListView2.visible() && form.Toolbar1.button(PreviewButton).value() == 1)
        form.OpenPreview_Click();
    tell(form, command.wait);
    if (!form.TreeView1.visible()) return;

    platform::BusyPointer busy(form);
    // An index that cannot be read is told; nothing is written, so no
    // index file is made for a disc that has none.
    std::string path = form.OpenedDisk;
    std::string text;
    try {
        path = catalogue::discIndexFilePath(form.app().ProgramFolder, form.OpenedDisk);
        text = files::WholeFileRead(path);
    } catch (const platform::Error& e) {
        busy.end();
        return tell(form, "不能打开文件: " + path + e.description());
    }
    const discpage::KeywordTicks ticks = discpage::tickByKeywords(text, command.keywords);
    const std::vector<std::string> marked = discpage::markedFileLines(ticks.text);
    // Written back also when nothing was ticked; the list shows only what
    // was stored.
    try {
        discpage::rewriteDiscFile(form.app().ProgramFolder, path, ticks.text);
    } catch (const platform::Error& e) {
        busy.end();
        return tell(form, "不能保存文件: " + path + e.description());
    }

    // The rows go under the headers the list shows: the disc's name, the
    // disc image and the line in the third column; no key, no tick.
    form.find_Txt = std::string(catalogue::TickMark);
    platform::ListView& list = form.ListView2;
    list.clear();
    for (const std::string& line : marked)
        list.add({}, form.OpenedDisk, images::Disc).setSubItem(2, line);
    if (list.count() > 0) {
        form.ShowResultList();
    } else {
        busy.end();
        tell(form, NothingMarked);
    }
    list.refresh();
    busy.end();
    form.StatusBar1.panel(1).setText("已经打钩了" + std::to_string(ticks.ticked) +
                                     std::string(command.countEnd));
}

}  // namespace

void Form1::selectAll_Click() {
    if (OpenedDisk.empty()) return tell(*this, NoDiscClickDiscTab, InfoTitle);
    platform::BusyPointer busy(*this);
    // Every file of the listed folder: one entry for an unticked file, two
    // for a ticked one, so that each ends ticked. The boxes are set by code
    // and raise no event; those this command ticked go back when nothing
    // could be written.
    std::vector<platform::ListItem*> ticked;
    const platform::Node* folder = TreeView1.selectedItem();
    if (TreeView1.visible() && folder && folder->parent()) {
        for (const auto& row : ListView1.items()) {
            if (!isTickableFile(*this, *row)) continue;
            const discpage::PendingTick tick = discpage::pendingTickOf(*folder, *row);
            if (row->checked()) {
                PendingTickPaths.push_back(tick);
            } else {
                row->setChecked(true);
                ticked.push_back(row.get());
            }
            PendingTickPaths.push_back(tick);
        }
    }
    if (!flushPendingTicks())
        for (platform::ListItem* row : ticked) row->setChecked(false);
}

void Form1::selectAllIndex_Click() { tickDiscWide(*this, IndexPages); }

void Form1::selectAllReadme_Click() { tickDiscWide(*this, ReadmeFiles); }
