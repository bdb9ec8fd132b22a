#include "platform/controls/file_lists.h"

#include "platform/controls/control_helpers.h"
#include "platform/error.h"
#include "platform/files/drives.h"
#include "platform/files/file_ops.h"
#include "platform/files/listing.h"
#include "platform/files/paths.h"
#include "platform/text/text.h"
#include "platform/ui/dispatcher.h"

namespace platform {

namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The drive letter a text begins with ("E:\", "e:", "e: [DATA]"); 0 when none.
char driveLetterOf(std::string_view s) {
    if (s.size() < 2 || !isLetter(s[0]) || s[1] != ':') return 0;
    return s[0];
}

// The list boxes' form of a drive: "e:".
std::string driveName(char letter) { return text::lcase(std::string(1, letter)) + ":"; }

// The root folder of a drive: "E:\".
std::string driveRoot(char letter) { return std::string(1, letter) + ":\\"; }

std::string startingFolder() {
    try {
        return files::currentWindowsFolder();
    } catch (const Error&) {
        return "C:\\";
    }
}

// The normal form of an existing folder; 68 for a drive without a disc, 76
// for a missing folder.
std::string existingFolder(std::string_view path) {
    std::string p(path);
    if (char letter = driveLetterOf(p)) {
        // A drive alone, as a drive list gives it, stands for its root.
        if (p.size() == 2 || p[2] == ' ') p = driveRoot(letter);
        files::requireReady(p);
    }
    files::ResolvedPath r = files::resolveExisting(p, err::PathNotFound);
    if (!r.isDriveRoot) {
        auto attributes = files::getAttributes(r.windows);
        if (!attributes || (*attributes & files::attr::Directory) == 0) raise(err::PathNotFound);
    }
    return r.windows;
}

}  // namespace

// ---- DriveListBox ----

DriveListBox::DriveListBox(Form& owner, std::string name) : Control(owner, std::move(name)) {
    char letter = driveLetterOf(startingFolder());
    drive_ = driveName(letter ? letter : 'c');
}

void DriveListBox::setDrive(std::string_view drive) {
    char letter = driveLetterOf(drive);
    if (!letter && drive.size() == 1 && isLetter(drive[0])) letter = drive[0];
    if (!letter) raise(err::DeviceUnavailable);
    files::requireReady(driveRoot(letter));
    select(driveName(letter));
}

void DriveListBox::select(std::string name) {
    if (setField(drive_, std::move(name)) && Change) Change();
}

std::vector<std::string> DriveListBox::list() const {
    std::vector<std::string> out;
    for (const std::string& root : files::driveRoots()) {
        std::string entry = driveName(root[0]);
        std::string label = files::volumeLabel(root);
        if (!label.empty() && label != files::NoLabel) entry += " [" + label + "]";
        out.push_back(std::move(entry));
    }
    return out;
}

void DriveListBox::userChoose(std::string_view drive) {
    char letter = driveLetterOf(drive);
    if (!letter || !detail::takesGestures(*this)) return;
    if (files::driveType(driveRoot(letter)) == files::drive_type::Unknown) return;
    dispatch([&] { select(driveName(letter)); });
}

// ---- DirListBox ----

DirListBox::DirListBox(Form& owner, std::string name)
    : Control(owner, std::move(name)), path_(startingFolder()) {}

void DirListBox::setPath(std::string_view path) {
    if (setField(path_, existingFolder(path)) && Change) Change();
}

std::vector<std::string> DirListBox::subFolders() const {
    std::vector<std::string> out;
    for (const files::FindEntry& e : files::findEntries(path_, "*"))
        if (e.isFolder() && e.name != "." && e.name != ".." &&
            (e.attributes & files::attr::Hidden) == 0)
            out.push_back(e.name);
    return out;
}

void DirListBox::userOpen(std::string_view path) {
    if (!detail::takesGestures(*this)) return;
    dispatch([&] { setPath(path); });
}

// ---- FileListBox ----

FileListBox::FileListBox(Form& owner, std::string name)
    : Control(owner, std::move(name)), path_(startingFolder()) {}

void FileListBox::setPath(std::string_view path) {
    path_ = existingFolder(path);
    refresh();
}

void FileListBox::setPattern(std::string pattern) {
    pattern_ = std::move(pattern);
    refresh();
}

void FileListBox::refresh() {
    items_.reset();
    changed();
}

const std::vector<std::string>& FileListBox::items() const {
    if (!items_) items_ = files::listFiles(path_, pattern_);
    return *items_;
}

int FileListBox::listCount() const { return static_cast<int>(items().size()); }

const std::string& FileListBox::list(int index) const {
    const auto& all = items();
    if (index < 0 || index >= static_cast<int>(all.size())) detail::raiseBadListIndex();
    return all[static_cast<std::size_t>(index)];
}

}  // namespace platform
