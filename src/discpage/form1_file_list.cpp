// The file list's own events: on the disc page a folder row clicked twice
// lists that folder and a file row shows its remark as its tip and is
// previewed while the pane is open; on the category page a click opens the
// row with its program. A column header sorts, the right button opens the
// pop-up menu, a release shows the selected row's place, and the menu 选项
// switches the view.
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/scan_command.h"
#include "discpage/disc_file_path.h"
#include "discpage/file_listing.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/system/clock.h"
#include "platform/system/shell.h"
#include "platform/ui/ui.h"

namespace {

// Where the file list's pop-up opens, from the point the list reports (twips).
constexpr double Pop2OffsetX = 4000;
constexpr double Pop2OffsetY = 800;
// Two clicks on one folder row within this many seconds list the folder.
constexpr double SecondClickSeconds = 1.5;

constexpr std::string_view InsertDisc = "请插入光盘";
constexpr std::string_view NoSuchFile = "该文件不存在!";
// The folder the opening program starts in.
constexpr std::string_view ShellWorkDir = "C:\\";

// Hands a place to the shell; a missing place (or one that breaks the path
// rules) is told with the message.
void openPlace(Form1& f, const discpage::DiscFilePlace& place, std::string_view missing) {
    platform::BusyPointer busy(f);
    const int answer = discpage::existsInside(place) ? f.app().shell.open(place.path, ShellWorkDir)
                                                     : platform::system::shell_result::FileNotFound;
    busy.end();
    if (answer == platform::system::shell_result::FileNotFound)
        f.ui().msgBox(missing, platform::MsgButtons::OK, catalogue::TipTitle);
}

// A row of a disc opened in the category tree, opened with its program: in
// the catalogued hard-disk folder, or on the disc in the CD drive.
void categoryViewOpen(Form1& f, platform::ListItem& item) {
    const platform::Node* folder = f.TreeView2.selectedItem();
    if (!folder) return;
    const std::string treePath = folder->fullPath() + "\\" +
                                 discpage::rowFileName(item.text(), item.subItem(1), item.key(),
                                                       item.smallIcon() == images::Folder);

    if (catalogue::isHardDisc(f.OpenedDiskTree2)) {
        const std::string discKey = "\\" + f.OpenedDiskTree2 + "\\";
        const std::size_t at = treePath.find(discKey);
        if (at != std::string::npos) {
            // An index that cannot be read names no folder: the file is told
            // missing.
            const std::optional<discpage::HardDiscFolder> disc =
                discpage::hardDiscFolderOf(f.app().ProgramFolder, f.OpenedDiskTree2);
            openPlace(f,
                      disc ? discpage::hardDiscFilePlace(
                                 *disc, std::string_view(treePath).substr(at + discKey.size()))
                           : discpage::DiscFilePlace{treePath, {}, false},
                      NoSuchFile);
            return;
        }
    }
    item.setSelected(false);
    if (f.OpenedDiskLabel2.empty()) return;
    const std::string scanRoot = "\\" + f.OpenedDiskLabel2 + ":\\";
    const std::size_t at = treePath.find(scanRoot);
    if (at == std::string::npos) return;
    openPlace(
        f,
        discpage::cdFilePlace(f.CdDrive, std::string_view(treePath).substr(at + scanRoot.size())),
        InsertDisc);
}

}  // namespace

void Form1::ListView1_ItemClick(platform::ListItem& Item) {
    // A folder row on the disc page: a second click on the same folder soon
    // after the first lists it, and nothing else happens.
    if (Item.smallIcon() == images::Folder && TreeView1.visible()) {
        // The listing removes the row: its text is kept first.
        const std::string text = Item.text();
        const double elapsed = app().clock.secondsSinceMidnight() - LastFolderClickTime;
        // Whole seconds, a half second to the even one.
        LastFolderClickTime =
            static_cast<std::int32_t>(std::nearbyint(app().clock.secondsSinceMidnight()));
        if (text == LastFolderClickText && elapsed < SecondClickSeconds) {
            if (!FolderRelist(Item)) return;
        }
        LastFolderClickText = text;
        return;
    }
    // The category page opens any row with its program.
    if (TreeView2.visible()) {
        categoryViewOpen(*this, Item);
        return;
    }
    // The disc page: the remark becomes the row's tip (an empty one leaves
    // the tip it had), and the open pane shows the file.
    if (!TreeView1.visible()) return;
    if (!Item.subItem(3).empty()) Item.setToolTipText(Item.subItem(3));
    if (Toolbar1.button("preview").value() == 1) {
        FileCursor = Item.index();
        PreviewByType(Item);
    }
}

bool Form1::FolderRelist(platform::ListItem& Item) {
    // The folder's node: the child of the listed folder's node that bears
    // the row's name (names are unique within a folder; keys may carry "@"s).
    platform::Node* listed = TreeView1.selectedItem();
    platform::Node* node = nullptr;
    for (platform::Node* c = listed ? listed->child() : nullptr; c; c = c->next()) {
        if (c->text() == Item.text()) {
            node = c;
            break;
        }
    }
    if (!node) return false;
    TreeView1.setSelectedItem(node);
    node->setExpanded(true);

    const std::string fullPath = node->fullPath();
    const discpage::TreePath place = discpage::splitTreePath(fullPath);
    return listFolder(fullPath, place.disc, place.folderPath, true, alreadystr, OpenedDiskRuns);
}

void Form1::ListView1_ColumnClick(platform::ColumnHeader& ColumnHeader) {
    ListView1.setSortKey(ColumnHeader.index() - 1);
}

void Form1::ListView1_MouseDown(int Button, int Shift, double X, double Y) {
    (void)Shift;
    if (Button != platform::RightButton || !TreeView1.visible() || ListView1.count() == 0) return;
    const platform::ListItem* selected = ListView1.selectedItem();
    if (!selected || selected->smallIcon() == images::SoftwareCategory) return;
    popupMenu(pop2, X + Pop2OffsetX, Y + Pop2OffsetY);
}

void Form1::ListView1_MouseUp(int Button, int Shift, double X, double Y) {
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
    if (!TreeView1.visible() || ListView1.count() == 0) return;
    const platform::ListItem* selected = ListView1.selectedItem();
    if (!selected) return;
    StatusBar1.panel(2).setText(discpage::rowPlaceText(selected->text(), selected->subItem(1),
                                                       selected->smallIcon() == images::Folder,
                                                       selected->index(), ListView1.count()));
}

namespace {

void chooseView(Form1& form, int view) {
    form.ListView1.setView(view);
    form.AlterListviewStyle1.setChecked(view == platform::ListView::SmallIcons);
    form.AlterListviewStyle2.setChecked(view == platform::ListView::List);
    form.AlterListviewStyle3.setChecked(view == platform::ListView::Report);
}

}  // namespace

void Form1::AlterListviewStyle1_Click() { chooseView(*this, platform::ListView::SmallIcons); }
void Form1::AlterListviewStyle2_Click() { chooseView(*this, platform::ListView::List); }
void Form1::AlterListviewStyle3_Click() { chooseView(*this, platform::ListView::Report); }
