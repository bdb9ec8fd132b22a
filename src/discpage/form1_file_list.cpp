// The file list's own events on the disc page: a folder row clicked twice
// lists that folder, a column header sorts, the right button opens the
// pop-up menu, a release shows the selected row's place, and the menu 选项
// switches the view.
#include <cmath>
#include <string>

#include "discpage/file_listing.h"
#include "mainwindow/form1.h"
#include "platform/system/clock.h"

namespace {

// Where the file list's pop-up opens, from the point the list reports (twips).
constexpr double Pop2OffsetX = 4000;
constexpr double Pop2OffsetY = 800;
// Two clicks on one folder row within this many seconds list the folder.
constexpr double SecondClickSeconds = 1.5;

}  // namespace

void Form1::ListView1_ItemClick(platform::ListItem& Item) {
    // A folder row on the disc page: a second click on the same folder soon
    // after the first lists it. The file rows' click comes with the preview.
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
    return listFolder(fullPath, place.disc, place.folderPath, true, alreadystr);
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
    const std::string place =
        "(" + std::to_string(selected->index()) + "/" + std::to_string(ListView1.count()) + ")";
    StatusBar1.panel(2).setText(selected->smallIcon() == images::Folder
                                    ? selected->text() + place
                                    : selected->text() + "." + selected->subItem(1) + place);
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
