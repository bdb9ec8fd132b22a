// Preview by file type: the file of a row of the file list (selected, or
// clicked) or of the search results, shown in the viewer its type calls for,
// from where the file can be read now: the catalogued hard-disk folder, the
// disc in the CD drive, or the file's mirror copy on the hard disk.
//
// One type table (preview_types.h), one set of location rules and one viewer
// dispatch serve the three entries. A file of a type outside the table
// empties the pane and shows the browser's note "预览窗口不能显示这种文件："
// with its name, never the file shown before. The paths are built from the trees'
// names and from index text, which may have been made elsewhere: the rules
// of discpage/disc_file_path.h keep them inside the CD drive, respectively
// the catalogued folder, and a mirror path is used only when a copy run
// could have written it. A path that breaks them is not shown.
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/index_line.h"
#include "catalogue/name_lookup.h"
#include "catalogue/scan_command.h"
#include "copies/mirror_files.h"
#include "discpage/disc_file_path.h"
#include "discpage/file_listing.h"
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/files/text_file.h"
#include "platform/text/document_text.h"
#include "platform/text/text.h"
#include "preview/preview_types.h"
#include "search/result_rows.h"

namespace {

namespace text = platform::text;
using discpage::DiscFilePlace;
using preview::ViewerKind;

constexpr std::string_view PreviewButton = "preview";
constexpr std::string_view FullScreenButton = "fullscreen";
// A Flash movie's address: one backslash; a page's: the path as it is.
constexpr std::string_view MovieAddress = "file:\\";
constexpr std::string_view PageAddress = "file://";

// ---- where a listed file lies now ----

// The file on the disc in the CD drive: below the scan drive's node
// ("\E:\", exact case) in the tree path.
std::optional<std::string> cdLocation(const Form1& f, const std::string& treePath) {
    if (f.OpenedDiskLabel1.empty()) return std::nullopt;
    const std::string scanRoot = "\\" + f.OpenedDiskLabel1 + ":\\";
    const std::size_t at = treePath.find(scanRoot);
    if (at == std::string::npos) return std::nullopt;
    const DiscFilePlace place =
        discpage::cdFilePlace(f.CdDrive, std::string_view(treePath).substr(at + scanRoot.size()));
    if (!place.plain) return std::nullopt;
    return place.path;
}

// The file's mirror copy, from the file's own line in the index (its whole
// path and size, chosen as catalogue/name_lookup.h says; never a line that
// merely begins with it). Nothing when the scan drive is not in the tree
// path; no copy when several lines spell the file alike but for letter case
// and none exactly (the preview asks nothing, it reads the disc instead).
struct MirrorLookup {
    bool scanRootFound = false;
    std::optional<std::string> copy;
};
MirrorLookup mirrorLocation(const Form1& f, const std::string& treePath,
                            const std::string& sizeText) {
    MirrorLookup result;
    if (f.OpenedDiskLabel1.empty()) return result;
    const std::string scanRoot = text::lcase("\\" + f.OpenedDiskLabel1 + ":\\");
    const std::size_t at = text::lcase(treePath).find(scanRoot);
    if (at == std::string::npos) return result;
    result.scanRootFound = true;
    // The path as the scan wrote it, from the drive letter on.
    const std::string scanPath = treePath.substr(at + 1);
    std::string indexText;
    try {
        indexText = platform::files::WholeFileRead(
            catalogue::discIndexFilePath(f.app().ProgramFolder, f.OpenedDisk));
    } catch (const platform::Error&) {
        return result;
    }
    const catalogue::ChosenFileLine found =
        catalogue::chooseFileLine(indexText, {scanPath, sizeText});
    if (found && found.line.mirror &&
        copies::mirrorPathAccepted(*found.line.mirror, found.line.path))
        result.copy = *found.line.mirror;
    return result;
}

// Where the file of a row of the file list can be read now; nothing when
// no location can be formed.
std::optional<std::string> listedFileLocation(const Form1& f, const platform::ListItem& item) {
    const platform::Node* folder = f.TreeView1.selectedItem();
    if (!folder) return std::nullopt;
    // The row's path in the tree, from the disc's name on, with its name as
    // the index spells it (the type column is lower case).
    const std::string treePath =
        folder->fullPath() + "\\" +
        discpage::rowFileName(item.text(), item.subItem(1), item.key(), false);

    if (catalogue::isHardDisc(f.OpenedDisk)) {
        // Below the disc's node: the scanned folder's name and the names
        // below it, under the folder's parent.
        const std::string discPrefix = f.OpenedDisk + "\\";
        const std::size_t at = treePath.find(discPrefix);
        if (at == std::string::npos) return std::nullopt;
        const std::optional<discpage::HardDiscFolder> disc =
            discpage::hardDiscFolderOf(f.app().ProgramFolder, f.OpenedDisk);
        if (!disc) return std::nullopt;
        const DiscFilePlace place = discpage::hardDiscFilePlace(
            *disc, std::string_view(treePath).substr(at + discPrefix.size()));
        if (!place.plain) return std::nullopt;
        return place.path;
    }
    if (item.foreColor() == f.CopyFileColor && !f.IsRed.checked()) {
        // From the copy; from the disc when the index records none that
        // can be used.
        // The file's line is looked up by its own name and size
        // (discpage::rowFile: as the index spells them).
        const discpage::RowFile file = discpage::rowFile(item.text(), item.subItem(1), item.key());
        MirrorLookup mirror =
            mirrorLocation(f, folder->fullPath() + "\\" + file.name, file.sizeText);
        if (!mirror.scanRootFound) return std::nullopt;
        if (mirror.copy) return mirror.copy;
    }
    return cdLocation(f, treePath);
}

// ---- the viewer dispatch ----

void stopAndEmptyMedia(Form1& f) {
    f.MediaPlayer2.stop();
    f.MediaPlayer2.setFileName("");
}

void stopAndEmptyFlash(Form1& f) {
    f.ShockwaveFlash1.stop();
    f.ShockwaveFlash1.setMovie("");
}

// Shows the viewer in front and hides the other three, in the order browser,
// picture box, Flash player, media player.
void showAlone(Form1& f, const platform::Control& viewer) {
    for (platform::Control* c : {static_cast<platform::Control*>(&f.WebBrowser1),
                                 static_cast<platform::Control*>(&f.Picture1),
                                 static_cast<platform::Control*>(&f.ShockwaveFlash1),
                                 static_cast<platform::Control*>(&f.MediaPlayer2)})
        c->setVisible(c == &viewer);
}

// Shows path in the viewer of kind, brings it to the front, shows it alone
// and records it in PreviewKind. The picture is loaded in "skip on error"
// mode: a picture that cannot be loaded leaves the one shown before.
// hidePanes: a search result's media preview under full screen hides the
// panes under the player again.
void showInViewer(Form1& f, ViewerKind kind, const std::string& path, bool hidePanes) {
    switch (kind) {
        case ViewerKind::Pic: {
            platform::SkipOnError onError;
            onError.step([&] { stopAndEmptyMedia(f); });
            onError.step([&] { stopAndEmptyFlash(f); });
            onError.step([&] { f.Picture1.loadPicture(path); });
            f.Picture1.zOrder(0);
            showAlone(f, f.Picture1);
            break;
        }
        case ViewerKind::Media:
            f.Picture1.clearPicture();
            stopAndEmptyFlash(f);
            // The player starts a new file by itself; a file it cannot load
            // leaves it empty, which is all it shows.
            try {
                f.MediaPlayer2.setFileName(path);
            } catch (const platform::Error&) {
            }
            f.MediaPlayer2.zOrder(0);
            if (hidePanes && f.Toolbar1.button(FullScreenButton).value() == 1)
                f.hidePanesUnderMedia();
            showAlone(f, f.MediaPlayer2);
            break;
        case ViewerKind::Flash:
            stopAndEmptyMedia(f);
            f.ShockwaveFlash1.setMovie(std::string(MovieAddress) + path);
            f.ShockwaveFlash1.play();
            f.ShockwaveFlash1.zOrder(0);
            showAlone(f, f.ShockwaveFlash1);
            break;
        case ViewerKind::Web:
            stopAndEmptyMedia(f);
            stopAndEmptyFlash(f);
            f.WebBrowser1.navigate(std::string(PageAddress) + path);
            f.WebBrowser1.zOrder(0);
            showAlone(f, f.WebBrowser1);
            break;
    }
    f.PreviewKind = std::string(preview::kindName(kind));
}

// A file of a type the pane does not show: the players stopped and emptied,
// the picture box emptied, and the browser alone in front with the note that
// names the file, so that nothing of the file shown before stays on view.
void showNote(Form1& f, std::string_view fileName) {
    stopAndEmptyMedia(f);
    stopAndEmptyFlash(f);
    f.Picture1.clearPicture();
    f.WebBrowser1.navigate(text::noteAddress(fileName));
    f.WebBrowser1.zOrder(0);
    showAlone(f, f.WebBrowser1);
    f.PreviewKind = std::string(preview::kindName(ViewerKind::Web));
}

// A row of the file list, shown when its type is previewed and its file
// has a location; the note for a file of any other type. Folder rows and
// the disc's information rows show nothing.
void previewListedRow(Form1& f, const platform::ListItem& item) {
    const std::optional<ViewerKind> kind = preview::viewerKindOf(item.subItem(1));
    if (!kind) {
        if (item.smallIcon() != images::Folder && item.smallIcon() != images::SoftwareCategory)
            showNote(f, discpage::rowFileName(item.text(), item.subItem(1), item.key(), false));
        return;
    }
    const std::optional<std::string> location = listedFileLocation(f, item);
    if (location) showInViewer(f, *kind, *location, false);
}

// ---- a search result ----

// What a result row names: the path told in the status bar, its type, and
// where the viewer reads it (nothing when the path is refused).
struct ResultFile {
    std::string path;
    std::string type;
    std::optional<std::string> location;
};

// The type of a path: the text after its last "." ("dir\README" for
// "E:\my.dir\README"); nothing without a ".".
std::optional<std::string> typeAfterLastDot(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    return std::string(path.substr(dot + 1));
}

std::optional<std::string> plainPath(const DiscFilePlace& place) {
    if (!place.plain) return std::nullopt;
    return place.path;
}

// A file hit: the path of its index line, re-rooted on the CD drive for a
// CD, as stored for a hard-disk folder; a CD file's recorded mirror copy is
// read in its place. Nothing for a folder line or a line that is no file
// line, and for a path without ".".
std::optional<ResultFile> fileHit(const Form1& f, const std::string& disc,
                                  const std::string& line) {
    const std::optional<catalogue::IndexFileLine> hit = catalogue::parseFileLine(line);
    if (!hit) return std::nullopt;
    const std::optional<std::string> type = typeAfterLastDot(hit->path);
    if (!type) return std::nullopt;
    ResultFile file;
    file.type = *type;
    if (catalogue::isHardDisc(disc)) {
        const std::optional<discpage::HardDiscFolder> folder =
            discpage::hardDiscFolderOf(f.app().ProgramFolder, disc);
        file.path = hit->path;
        if (folder) file.location = plainPath(discpage::hardDiscScanPathPlace(*folder, hit->path));
        return file;
    }
    const DiscFilePlace place = discpage::cdScanPathPlace(f.CdDrive, hit->path);
    file.path = place.path;
    file.location = plainPath(place);
    if (hit->mirror && copies::mirrorPathAccepted(*hit->mirror, hit->path))
        file.location = *hit->mirror;
    return file;
}

// A note hit: the noted path below the disc, under the hard-disk folder's
// parent or re-rooted on the CD drive. Nothing for the note of a folder, and
// for a hard-disk folder whose index cannot be read.
std::optional<ResultFile> noteHit(const Form1& f, const std::string& disc,
                                  const std::string& notePath) {
    if (notePath.find(discpage::FolderType) != std::string::npos) return std::nullopt;
    DiscFilePlace place;
    if (catalogue::isHardDisc(disc)) {
        const std::optional<discpage::HardDiscFolder> folder =
            discpage::hardDiscFolderOf(f.app().ProgramFolder, disc);
        if (!folder) return std::nullopt;
        place = discpage::hardDiscFilePlace(*folder, notePath);
    } else {
        place = discpage::cdScanPathPlace(f.CdDrive, notePath);
    }
    ResultFile file;
    file.path = place.path;
    file.type = typeAfterLastDot(place.path).value_or("");
    file.location = plainPath(place);
    return file;
}

}  // namespace

void Form1::PreviewByType(platform::ListItem& item) { previewListedRow(*this, item); }

void Form1::filePreview() {
    const platform::ListItem* item = ListView1.selectedItem();
    if (!item) return;
    previewListedRow(*this, *item);
    // Written on every call, whatever was shown.
    StatusBar1.panel(2).setText(discpage::rowPlaceText(item->text(), item->subItem(1),
                                                       item->smallIcon() == images::Folder,
                                                       item->index(), ListView1.count()));
}

void Form1::findPreview() {
    if (Toolbar1.button(PreviewButton).value() != 1 || !onDiscPage()) return;
    const search::ResultLayout layout = search::resultLayout(ListView2);
    if (layout == search::ResultLayout::Remark) return;
    // The callers name an existing row.
    if (ResultCursor < 1 || ResultCursor > ListView2.count()) return;
    const platform::ListItem& row = ListView2.item(ResultCursor);
    const std::string key = search::resultRowKey(layout, row);
    const std::optional<ResultFile> file = layout == search::ResultLayout::File
                                               ? fileHit(*this, row.text(), key)
                                               : noteHit(*this, row.text(), key);
    if (!file) return;

    // The path and the row's place, before any viewer is touched.
    StatusBar1.panel(2).setText(file->path + "(" + std::to_string(ResultCursor) + "/" +
                                std::to_string(ListView2.count()) + ")");
    const std::optional<ViewerKind> kind = preview::viewerKindOf(file->type);
    if (!kind) {
        const std::string path = discpage::notedFilePath(file->path).value_or(file->path);
        showNote(*this, std::string_view(path).substr(path.find_last_of('\\') + 1));
        return;
    }
    if (!file->location) return;
    showInViewer(*this, *kind, *file->location, true);
}

void Form1::IsRed_Click() { IsRed.setChecked(!IsRed.checked()); }

void Form1::WebBrowser1_NewWindow2(bool& Cancel) { Cancel = true; }

void Form1::WebBrowser1_StatusTextChange(const std::string& Text) {
    StatusBar1.panel(1).setText(Text);
}
