// The disc list and the category tree: their builds from the stored files,
// the reload commands, expanding and folding, the pop-up menus and the
// number-plus-Enter jump of the disc list.
#include <string>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/disc_trees.h"
#include "catalogue/index_line.h"
#include "mainwindow/form1.h"
#include "mainwindow/startup.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"

// ---- the builds ----

void Form1::file1load() { file1load(catalogue::listIndexFiles(File1, app().ProgramFolder)); }

void Form1::file1load(const std::vector<std::string>& indexFiles) {
    for (const std::string& fileName : indexFiles) {
        const std::string name = catalogue::discNameOfIndexFile(fileName);
        TreeView1.add(catalogue::treeNodeKey(name), name, images::Disc);
    }

    // The mirror disc list: a missing one is created empty, nothing is
    // reported. One that exists but cannot be read is told and left as it is
    // (emptying it would lose the record of the mirror copies); nothing is
    // coloured.
    const std::string mirrorList =
        app().ProgramFolder + "\\" + std::string(catalogue::MirrorDiscListName);
    platform::SkipOnError skip;
    std::vector<std::string> lines;
    const bool read = skip.step([&] {
        platform::files::InputFile in(mirrorList);
        while (!in.eof()) lines.push_back(in.lineInput());
    });
    if (!read) {
        if (skip.number() == platform::err::FileNotFound)
            skip.step([&] {
                catalogue::openProgramFolder(app().ProgramFolder)
                    .write(catalogue::MirrorDiscListName, {}, platform::files::OnExisting::Refuse);
            });
        else
            startup::reportUnreadableFile(ui(), mirrorList, skip.description());
        return;
    }
    catalogue::colourMirroredDiscs(TreeView1, lines, CopyFileColor);
}

void Form1::Treeview2Load() {
    // A missing catalogue file reads as empty: an empty tree. One that cannot
    // be read is told and the tree stays empty; the file is left as it is.
    const std::string path = catalogue::catalogueFilePath(app().ProgramFolder);
    platform::SkipOnError skip;
    std::string text;
    if (!skip.step([&] { text = catalogue::readCatalogueText(path); })) {
        startup::reportUnreadableFile(ui(), path, skip.description());
        return;
    }
    catalogue::addCategoryNodes(TreeView2, catalogue::planCategoryTree(text));
}

// ---- the commands ----

void Form1::refresh1_Click() {
    TreeView1.clear();
    file1load();
    firstClick = false;
}

void Form1::refresh2_Click() {
    TreeView2.clear();
    Treeview2Load();
    firstClick2 = false;
}

void Form1::expandtree_Click() {
    const bool expanding = expandtree.caption() == catalogue::ExpandCaption;
    for (const auto& node : TreeView2.nodes()) {
        if (node->image() != images::Category) continue;
        if (expanding && node->children() > 0) node->setExpanded(true);
        // Folding leaves the top-level categories as they are.
        if (!expanding && node->parent()) node->setExpanded(false);
    }
    const std::string caption(expanding ? catalogue::FoldCaption : catalogue::ExpandCaption);
    expandtree.setCaption(caption);
    expandtree1.setCaption(caption);
}

void Form1::expandtree1_Click() { expandtree_Click(); }

// ---- the trees' events ----

void Form1::TreeView1_Collapse(platform::Node& Node) {
    (void)Node;
    ListView1.clear();
}

void Form1::TreeView2_Collapse(platform::Node& Node) {
    (void)Node;
    ListView1.clear();
    Alreadystr2.clear();
}

void Form1::TreeView1_MouseDown(int Button, int Shift, double X, double Y) {
    (void)Shift;
    if (Button == platform::RightButton)
        popupMenu(pop4, X + catalogue::PopupOffsetX, Y + catalogue::PopupOffsetY);
}

void Form1::TreeView2_MouseDown(int Button, int Shift, double X, double Y) {
    (void)Shift;
    if (Button == platform::RightButton)
        popupMenu(pop1, X + catalogue::PopupOffsetX, Y + catalogue::PopupOffsetY);
}

void Form1::TreeView1_KeyPress(int& KeyAscii) {
    // The key is left to the tree's own handling afterwards.
    if (KeyAscii >= '0' && KeyAscii <= '9') {
        TypedDiscNumber += static_cast<char>(KeyAscii);
        StatusBar1.panel(2).setText(TypedDiscNumber + "/" + std::to_string(Cdrom_Num));
        return;
    }
    if (KeyAscii != 13) return;
    const std::vector<platform::Node*> discs = catalogue::topLevelNodes(TreeView1);
    const catalogue::DiscJump jump =
        catalogue::decideDiscJump(TypedDiscNumber, static_cast<int>(discs.size()));
    if (!jump.taken) return;
    if (jump.position > 0)
        TreeView1.setSelectedItem(discs[static_cast<std::size_t>(jump.position - 1)]);
    TypedDiscNumber.clear();
    StatusBar1.panel(2).setText("");
}

// ---- the hidden drive, folder and file lists ----

void Form1::Drive1_Change() { Dir1.setPath(Drive1.drive()); }

void Form1::Dir1_Change() { File1.setPath(Dir1.path()); }
