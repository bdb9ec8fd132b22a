// Opening a disc on the disc page and listing its folders: the node clicks
// of the disc list (TreeView1) and of the category tree (TreeView2). Each
// tree holds the folder tree of at most one disc; a click on a disc node
// builds it (once) and shows the disc's number, remark and purchase date,
// a click on a folder node lists the folder in the file list.
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/index_line.h"
#include "catalogue/scan_command.h"
#include "discpage/file_listing.h"
#include "discpage/folder_runs.h"
#include "discpage/folder_tree.h"
#include "discpage/note_file.h"
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace {

using catalogue::TipTitle;
namespace text = platform::text;

// The text after the first n "\" of a full path; nothing when it has fewer.
std::optional<std::string> afterSeparators(std::string_view fullPath, int n) {
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) {
        const std::size_t p = fullPath.find('\\', at);
        if (p == std::string_view::npos) return std::nullopt;
        at = p + 1;
    }
    return std::string(fullPath.substr(at));
}

// A remark or usage file's text: "" when it is missing or cannot be read.
std::string readNoteFile(const std::string& programFolder, const std::string& disc,
                         std::string_view extension) {
    try {
        return discpage::readNoteText(catalogue::discFilePath(programFolder, disc, extension));
    } catch (const platform::Error&) {
        return {};  // a name that cannot be a file's
    }
}

}  // namespace

// The members each tree's click works on.
struct Form1::DiscTree {
    platform::TreeView& tree;
    std::string& openedDisk;
    std::string& driveLabel;
    bool& firstClick;
    std::string& already;
    std::uint64_t& lastOpened;
    discpage::FolderRuns& runs;
    bool discList;
};

Form1::DiscTree Form1::discTree(platform::TreeView& tree) {
    if (&tree == &TreeView1)
        return {TreeView1,  OpenedDisk,         OpenedDiskLabel1, firstClick,
                alreadystr, LastOpenedDiscNode, OpenedDiskRuns,   true};
    return {TreeView2,   OpenedDiskTree2,     OpenedDiskLabel2, firstClick2,
            Alreadystr2, LastOpenedDiscNode2, OpenedDiskRuns2,  false};
}

void Form1::TreeView1_NodeClick(platform::Node& Node) {
    ListView1.setSortOrder(platform::ListView::Descending);
    ListView1.zOrder(0);
    FileCursor = 0;
    DiscTree t = discTree(TreeView1);
    // A top-level node without children: a disc whose tree is not built.
    if (Node.children() == 0 && Node.parent() == nullptr && !openDisc(t, Node)) return;
    if (Node.image() == images::Disc) return showDiscInfo(Node.text(), true);

    const std::string fullPath = Node.fullPath();
    const discpage::TreePath place = discpage::splitTreePath(fullPath);
    listFolder(fullPath, place.disc, place.folderPath, true, alreadystr, OpenedDiskRuns);
    // Quick page mode: the listed folder gets its page.
    if (CreateHtmlTrue.checked()) createhtml111_Click();
}

void Form1::TreeView2_NodeClick(platform::Node& Node) {
    ListView1.setSortOrder(platform::ListView::Descending);
    ListView1.zOrder(0);
    DiscTree t = discTree(TreeView2);
    if (Node.image() == images::Disc && Node.children() == 0) {
        // The disc's depth: under a top-level category "2", under a
        // sub-category "3" (a disc without a category, "1").
        int depth = 1;
        for (const platform::Node* p = Node.parent(); p; p = p->parent()) ++depth;
        OpenedDiscLevel = std::to_string(depth);
        if (!openDisc(t, Node)) return;
    }
    if (Node.image() == images::Disc) return showDiscInfo(Node.text(), false);

    // A folder of the disc opened here: its path below the disc node; a
    // category node (too short a path) lists nothing.
    const std::string fullPath = Node.fullPath();
    const int level = OpenedDiscLevel.empty() ? 0 : std::stoi(OpenedDiscLevel);
    const std::optional<std::string> folderPath =
        level > 0 ? afterSeparators(fullPath, level) : std::nullopt;
    if (!folderPath || OpenedDiskTree2.empty()) {
        StatusBar1.panel(1).setText(Node.text());
        ListView1.clear();
        return;
    }
    listFolder(fullPath, OpenedDiskTree2, *folderPath, false, Alreadystr2, OpenedDiskRuns2);
}

bool Form1::openDisc(DiscTree& t, platform::Node& node) {
    if (t.discList) PendingTickPaths.clear();
    t.openedDisk = node.text();

    // The previous disc's folder tree goes (its node may be gone since).
    if (t.firstClick) {
        if (platform::Node* last = t.tree.findSerial(t.lastOpened); last && last->child()) {
            t.tree.remove(*last->child());
            t.tree.refresh();
        }
    }
    t.firstClick = true;

    std::string path = catalogue::indexFolderPath(app().ProgramFolder) + "\\" + node.text() +
                       std::string(catalogue::IndexExtension);
    discpage::DiscFolderTree plan;
    t.runs = {};
    try {
        path = catalogue::discIndexFilePath(app().ProgramFolder, node.text());
        platform::files::RawLineReader lines(path);
        // The one reading of the index also records where its folders' lines begin.
        discpage::FolderRuns runs(path, lines.stamp());
        plan = discpage::planDiscFolderTree(lines, &runs);
        runs.finish();
        t.runs = std::move(runs);
    } catch (const platform::Error& e) {
        ui().msgBox("不能打开文件: " + path + e.description(), platform::MsgButtons::OK, TipTitle);
        return false;
    }

    // The nodes, each under its parent's; one that cannot be added is left
    // out with everything below it.
    std::vector<platform::Node*> added(plan.nodes.size(), nullptr);
    for (std::size_t i = 0; i < plan.nodes.size(); ++i) {
        const discpage::FolderNodePlan& n = plan.nodes[i];
        platform::Node* parent =
            n.parent == discpage::FolderNodePlan::DiscNode ? &node : added[n.parent];
        if (!parent) continue;
        platform::SkipOnError skip;
        skip.step([&] { added[i] = &t.tree.addChild(*parent, n.key, n.text, images::Folder); });
        if (i > 0 && i % 20 == 0) setCaption(std::to_string(i));
    }
    if (plan.driveLetterKnown) t.driveLabel = plan.driveLetter;

    t.already.clear();
    node.setExpanded(true);
    t.lastOpened = node.serial();
    setCaption("Zelbrin");
    StatusBar1.panel(1).setText(std::to_string(plan.folderCount) + "个文件夹");
    return true;
}

void Form1::showDiscInfo(const std::string& discName, bool ignoreCase) {
    // A missing or unreadable catalogue file, or a disc without a line,
    // gives empty fields.
    std::optional<catalogue::DiscFields> fields;
    platform::SkipOnError skip;
    skip.step([&] {
        fields = catalogue::ReadDiscFields(
            catalogue::readCatalogueText(catalogue::catalogueFilePath(app().ProgramFolder)),
            discName);
    });
    // The category tree takes the disc's line with its exact letter case.
    if (fields && !ignoreCase && fields->name != discName) fields.reset();
    const catalogue::DiscFields f = fields.value_or(catalogue::DiscFields{});

    ListView1.clear();
    StatusBar1.panel(2).setText(f.number + "号光盘的备注：" + f.remark + "；购买日期：" + f.date);
    ListView1.add("bz1", f.number + "号光盘的备注：", images::SoftwareCategory);
    ListView1.add("bz2", f.remark, images::SoftwareCategory);
    ListView1.add("bz3", "购买日期：", images::SoftwareCategory);
    ListView1.add("bz4", f.date, images::SoftwareCategory);
}

bool Form1::listFolder(const std::string& fullPath, const std::string& discName,
                       const std::string& folderPath, bool withTicks, std::string& already,
                       discpage::FolderRuns& runs) {
    const std::string& folder = app().ProgramFolder;
    const discpage::NoteLookup notes(readNoteFile(folder, discName, discpage::NoteExtension),
                                     discpage::NoteMarker, discName);
    const discpage::NoteLookup usage(readNoteFile(folder, discName, discpage::UsageExtension),
                                     discpage::UsageMarker, discName);
    const std::size_t last = fullPath.rfind('\\');
    StatusBar1.panel(1).setText(last == std::string::npos ? fullPath : fullPath.substr(last + 1));
    ListView1.clear();
    already = fullPath;

    std::vector<discpage::ListedEntry> entries;
    try {
        const std::string path = catalogue::discIndexFilePath(folder, discName);
        const discpage::ListingScope scope{folderPath, catalogue::isHardDisc(discName), withTicks};
        platform::files::RawLineReader lines(path);
        std::optional<std::vector<discpage::ListedEntry>> run;
        if (runs.path() == path) {
            run = discpage::listFolderRun(lines, runs, scope);
            // The index has changed since it was recorded: recorded anew.
            if (!run) {
                lines.seek(0);
                runs = discpage::recordFolderRuns(lines, path);
                run = discpage::listFolderRun(lines, runs, scope);
            }
        }
        if (run) {
            entries = std::move(*run);
        } else {
            lines.seek(0);
            entries = discpage::listFolder(lines, scope);
        }
    } catch (const platform::Error&) {
        return false;
    }

    // The note keys begin at the disc's name, whichever tree lists.
    const std::string keyFolder = discName + "\\" + folderPath;
    int count = 0;
    for (const discpage::ListedEntry& e : entries) {
        if (++count % 20 == 0) setCaption(std::to_string(count));
        platform::ListItem* row = nullptr;
        platform::SkipOnError skip;
        // A row whose key is taken already is left out.
        if (!skip.step([&] { row = &ListView1.add(e.key, e.text, e.icon); })) continue;
        row->setSubItem(1, e.type);
        if (!e.folder) row->setSubItem(2, e.size);
        if (e.ticked) row->setChecked(true);
        if (e.mirrored) row->setForeColor(CopyFileColor);
        const std::string key = discpage::noteKey(keyFolder, e.text, e.type);
        if (!notes.empty()) row->setSubItem(3, notes.find(key));
        if (!usage.empty()) row->setSubItem(4, usage.find(key));
    }
    setCaption("Zelbrin");
    StatusBar1.panel(2).setText(std::to_string(count) + "个文件夹或文件");
    ListView1.setSorted(true);
    ListView1.setSortKey(1);
    ListView1.refresh();
    return true;
}
