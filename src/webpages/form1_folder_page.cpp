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
// copy, a copy whose source or target leads out is refused alone.
//
// Every failed write is told with its reason (copies/copy_failures.h): a
// folder of the page that cannot be made at once, and nothing more is
// written; the page and the copies that could not be written in one box at
// the end, the page first. A copy whose source cannot be read (a missing
// file, no disc in the drive, a read error) is no failed write: the
// send-to's file error text says so once at the end.
#include <optional>
#include <string>
#include <vector>

#include "catalogue/scan_command.h"
#include "copies/copy_failures.h"
#include "copies/send_to.h"
#include "discpage/disc_file_path.h"
#include "discpage/file_listing.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/paths.h"
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

// The failures of one run, told at its end: the page and the copies that
// could not be written, in one box (copy_failures.h), then, once, the
// send-to's file error text when a copy's source could not be read.
class PageFailures {
  public:
    explicit PageFailures(Form1& form) : form_(form) {}
    PageFailures(const PageFailures&) = delete;
    PageFailures& operator=(const PageFailures&) = delete;

    // The page itself: named first, whatever its place in the run.
    void page(std::string line) { lines_.insert(lines_.begin(), std::move(line)); }
    void copy(std::string line) { lines_.push_back(std::move(line)); }
    void unreadSource() { unreadSource_ = true; }

    void tell() {
        if (!lines_.empty())
            form_.ui().msgBox(copies::failureList(lines_), platform::MsgButtons::OK,
                              catalogue::TipTitle);
        if (unreadSource_)
            form_.ui().msgBox(copies::sendErrorText(false), platform::MsgButtons::OK,
                              copies::SendErrorTitle);
    }

  private:
    Form1& form_;
    std::vector<std::string> lines_;
    bool unreadSource_ = false;
};

// True when the source of a copy can be read: it is there, a file, and its
// first byte comes (a disc in the drive, a file the user may read).
bool sourceReadable(const discpage::ConfinedPlace& from, const std::string& path) {
    try {
        const std::optional<files::EntryStatus> status = from.root.status(from.relative);
        if (!status || status->isFolder) return false;
        files::readRegularFile(files::resolveExisting(path).native, 1);
        return true;
    } catch (const platform::Error&) {
        return false;
    }
}

// Copies one file row's source beside the page, never over a file there.
// A failure goes to the list with its reason, unless the source itself
// could not be read (a missing file, no disc, a read error).
void copyBeside(const files::ConfinedRoot& discFolder, const std::string& relative,
                const discpage::DiscFilePlace& source, bool plain, PageFailures& failures) {
    if (!plain) return failures.unreadSource();
    std::optional<discpage::ConfinedPlace> from;
    try {
        from.emplace(discpage::confinedPlace(source));
        discFolder.copyInto(relative, from->root, from->relative, files::OnExisting::Refuse);
    } catch (const platform::Error& e) {
        // A full disk or a copy already there is the target's failure
        // whatever the source; a refusal names its own path.
        const bool target = copies::isRefusal(e) || e.number() == platform::err::DiskFull ||
                            e.number() == platform::err::FileExists;
        if (!target && (!from || !sourceReadable(*from, source.path)))
            return failures.unreadSource();
        failures.copy(copies::failedWrite(discFolder.windowsOf(relative), e));
    }
}

}  // namespace

void Form1::createhtml111_Click() {
    // The page's place, known before anything is made, so that a failure
    // on the way names it.
    const platform::Node* node = TreeView1.selectedItem();
    const bool folderNode = node && node->image() == images::Folder;
    // Disc name, scan root, the folders below it.
    const std::vector<std::string> elements =
        folderNode ? splitPath(node->fullPath()) : std::vector<std::string>{};
    std::string below;  // R: each folder below the scan root and "\"
    bool plainFolders = elements.size() >= 2;
    for (std::size_t i = 2; plainFolders && i < elements.size(); ++i) {
        plainFolders = plainName(elements[i]);
        below += elements[i] + "\\";
    }
    const bool writesPage = ListView1.count() > 0 && plainName(OpenedDisk) && plainFolders;
    const std::string pageFile = app().ProgramFolder + "\\" +
                                 std::string(webpages::PageTreeFolder) + "\\" + OpenedDisk + "\\" +
                                 below + std::string(webpages::FolderPageName);
    // A step that makes a folder: a refusal is told with its path, any
    // other failure names the page when there is a page to write.
    auto folderStep = [&](auto&& step) {
        try {
            step();
            return true;
        } catch (const platform::Error& e) {
            if (copies::isRefusal(e) || writesPage)
                ui().msgBox(copies::failedWrite(pageFile, e), platform::MsgButtons::OK,
                            catalogue::TipTitle);
            return false;
        }
    };

    std::optional<files::ConfinedRoot> pageTree;
    if (!folderStep([&] { pageTree.emplace(webpages::openPageTree(app().ProgramFolder)); })) return;
    if (ListView1.count() == 0) return;

    if (!plainName(OpenedDisk)) return;
    std::optional<files::ConfinedRoot> discFolder;
    if (!folderStep([&] { discFolder.emplace(webpages::openPageFolder(*pageTree, OpenedDisk)); }))
        return;
    if (!writesPage) return;
    // Where the files lie: a hard-disk folder's scanned folder, read from
    // its index (a whole scanned drive too), or the CD drive.
    std::optional<discpage::HardDiscFolder> hardDisc;
    if (catalogue::isHardDisc(OpenedDisk) || !driveForm(elements[1])) {
        hardDisc = discpage::hardDiscFolderOf(app().ProgramFolder, OpenedDisk);
        if (!hardDisc) return;
    }
    // The listed folder's page folder, each level made beneath the disc's.
    if (!folderStep([&] {
            if (!below.empty()) discFolder->createFolders(below);
        }))
        return;

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

    PageFailures failures(*this);
    const int rows = ListView1.count();
    for (int i = 1; i <= rows; ++i) {
        const platform::ListItem& row = *ListView1.items()[static_cast<std::size_t>(i - 1)];
        webpages::PageEntry entry;
        entry.folder = row.smallIcon() == images::Folder;
        entry.name = discpage::rowFileName(row.text(), row.subItem(1), row.key(), entry.folder);
        entry.size = row.subItem(2);
        entry.remark = row.subItem(3);
        entry.rowNumber = i;
        webpages::appendEntryLines(page, entry, options);
        if (entry.folder || !(copyAll || (copyTicked && row.checked()))) continue;

        const discpage::DiscFilePlace source =
            hardDisc ? discpage::hardDiscFilePlace(*hardDisc, belowDisc + entry.name)
                     : discpage::cdFilePlace(CdDrive, below + entry.name);
        platform::BusyPointer busy(*this);
        copyBeside(*discFolder, below + entry.name, source, plainName(entry.name), failures);
        busy.end();
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
        failures.page(copies::failedWrite(pageFile, e));
    }
    failures.tell();
}
