// The page of one folder of the open disc (folder_page.h): the folder
// selected in the disc list, with the rows the file list shows for it,
// written to "webhtml\<disc>\<folders below the scan root>\ZelbrinIndex.html"
// below the program folder, each file row followed by its download copy
// when a copy option says so. The page is written once, after the copies.
//
// The folder names come from an index file: a name that is empty, "." or
// "..", or holds a "/", would put the page or the copies outside the page
// tree, so such a folder gets no page at all; a file row whose name is not
// a plain file name gets no copy (a failed copy). A copy takes the name the
// page links to (the file list shows the extension in lower case), so the
// link opens it on a file system that tells letter case apart.
//
// The page and the copies are written beneath "webhtml\<disc>", the copies
// read beneath the CD drive or the catalogued folder (confined.h): a folder
// of the page tree that is a link leading out refuses the page and every
// copy, a copy whose source or target leads out is refused alone, and each
// refusal is told with the path ("路径不在允许的文件夹里：" + path).
#include <optional>
#include <string>
#include <vector>

#include "catalogue/scan_command.h"
#include "copies/send_to.h"
#include "discpage/disc_file_path.h"
#include "discpage/file_listing.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"
#include "platform/ui/ui.h"
#include "webpages/folder_page.h"

namespace {

namespace files = platform::files;

std::vector<std::string> splitPath(const std::string& path) {
    std::vector<std::string> out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = path.find('\\', from);
        out.push_back(path.substr(from, at - from));
        if (at == std::string::npos) return out;
        from = at + 1;
    }
}

bool driveForm(const std::string& element) { return element.size() == 2 && element[1] == ':'; }

// A name that stays one level inside its folder.
bool plainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
}

// Tells a refusal: the path and the reason.
void tellRefused(Form1& form, const platform::Error& e) {
    form.ui().msgBox(e.description(), platform::MsgButtons::OK, catalogue::TipTitle);
}

}  // namespace

void Form1::createhtml111_Click() {
    std::optional<files::ConfinedRoot> pageTree;
    try {
        pageTree.emplace(webpages::openPageTree(app().ProgramFolder));
    } catch (const platform::Error& e) {
        if (e.number() == platform::err::PathFileAccess) tellRefused(*this, e);
        return;
    }
    if (ListView1.count() == 0) return;

    if (!plainName(OpenedDisk)) return;
    std::optional<files::ConfinedRoot> discFolder;
    try {
        discFolder.emplace(webpages::openPageFolder(*pageTree, OpenedDisk));
    } catch (const platform::Error& e) {
        if (e.number() == platform::err::PathFileAccess) tellRefused(*this, e);
        return;
    }
    const platform::Node* node = TreeView1.selectedItem();
    if (!node || node->image() != images::Folder) return;

    // Disc name, scan root, the folders below it.
    const std::vector<std::string> elements = splitPath(node->fullPath());
    if (elements.size() < 2) return;
    std::string below;  // R: each folder below the scan root and "\"
    for (std::size_t i = 2; i < elements.size(); ++i) {
        if (!plainName(elements[i])) return;
        below += elements[i] + "\\";
    }
    // Where the files lie: a hard-disk folder's scanned folder, read from
    // its index (a whole scanned drive too), or the CD drive.
    std::optional<discpage::HardDiscFolder> hardDisc;
    if (catalogue::isHardDisc(OpenedDisk) || !driveForm(elements[1])) {
        hardDisc = discpage::hardDiscFolderOf(app().ProgramFolder, OpenedDisk);
        if (!hardDisc) return;
    }
    // The listed folder's page folder, each level made beneath the disc's.
    try {
        if (!below.empty()) discFolder->createFolders(below);
    } catch (const platform::Error& e) {
        if (e.number() == platform::err::PathFileAccess) tellRefused(*this, e);
        return;
    }

    webpages::PageOptions options;
    options.layout = Web2Text      ? webpages::Layout::Template
                     : ListOrTable ? webpages::Layout::Table
                                   : webpages::Layout::List;
    options.sizes = orSize;
    options.remarks = createnote1.checked();
    options.plainFileRows = add_link.checked();
    options.folderColour = valcommand8;
    options.fileColour = valcommand9;
    options.partB = htmlText2;
    const bool copyTicked = htmlcopygou.checked();
    const bool copyAll = htmlcopyall.checked();

    const std::string folderName =
        driveForm(node->text()) && node->parent() ? node->parent()->text() : node->text();
    std::string page = webpages::pageHead(htmlText1, folderName);
    page += "\r\n";
    if (options.layout == webpages::Layout::List) {
        page += webpages::ListOpener;
        page += "\r\n";
    }
    // The path of a file below the disc node, for a hard-disk folder.
    std::string belowDisc;
    for (std::size_t i = 1; i < elements.size(); ++i) belowDisc += elements[i] + "\\";

    const int rows = ListView1.count();
    for (int i = 1; i <= rows; ++i) {
        const platform::ListItem& row = *ListView1.items()[static_cast<std::size_t>(i - 1)];
        webpages::PageEntry entry;
        entry.folder = row.smallIcon() == images::Folder;
        entry.name = discpage::rowFileName(row.text(), row.subItem(1), entry.folder);
        entry.size = row.subItem(2);
        entry.remark = row.subItem(3);
        entry.rowNumber = i;
        webpages::appendEntryLines(page, entry, options);
        if (entry.folder || !(copyAll || (copyTicked && row.checked()))) continue;

        const discpage::DiscFilePlace source =
            hardDisc ? discpage::hardDiscFilePlace(*hardDisc, belowDisc + entry.name)
                     : discpage::cdFilePlace(CdDrive, below + entry.name);
        platform::BusyPointer busy(*this);
        bool copied = false;
        try {
            if (plainName(entry.name)) {
                const discpage::ConfinedPlace from = discpage::confinedPlace(source);
                discFolder->copyInto(below + entry.name, from.root, from.relative,
                                     files::OnExisting::Refuse);
                copied = true;
            }
        } catch (const platform::Error& e) {
            if (e.number() == platform::err::PathFileAccess) {
                busy.end();
                tellRefused(*this, e);
                continue;
            }
        }
        busy.end();
        if (!copied)
            ui().msgBox(copies::sendErrorText(false), platform::MsgButtons::OK,
                        copies::SendErrorTitle);
    }
    if (options.layout == webpages::Layout::List) {
        page += webpages::ListCloser;
        page += "\r\n";
    }
    page += htmlText3;
    page += "\r\n";

    try {
        files::CommittedTextFile out(*discFolder, below + std::string(webpages::FolderPageName),
                                     files::OnExisting::Replace);
        out.write(page);
        out.commit();
    } catch (const platform::Error& e) {
        if (e.number() == platform::err::PathFileAccess) tellRefused(*this, e);
    }
}
