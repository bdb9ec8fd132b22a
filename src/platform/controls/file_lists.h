// The drive, folder and file list boxes. The hidden ones of the main window
// serve as the program's drive probe and folder enumerator; the folder
// chooser dialog shows a drive list and a folder list to the user.
//
// Paths are Windows paths through the drive table. A folder path has no final
// "\", except a drive root ("E:\").
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls/control.h"

namespace platform {

class DriveListBox : public Control {
  public:
    // Starts on the drive of the process's current folder ("c:" when none).
    DriveListBox(Form& owner, std::string name);
    const char* kind() const override { return "DriveListBox"; }

    // The selected drive: its letter in lower case and a colon ("e:").
    const std::string& drive() const { return drive_; }
    // Selects the drive of a text that begins with its letter ("E:\", "e:",
    // "e: [DATA]"). Raises 68 when the drive is unknown or holds no disc, and
    // then changes nothing. A drive other than the selected one raises Change.
    void setDrive(std::string_view drive);

    // The drives for display, in letter order: "c: [label]", or "e:" for a
    // drive without a disc or label.
    std::vector<std::string> list() const;

    std::function<void()> Change;

    // The user picked a drive from the list: it is selected, disc or not, and
    // Change runs (its handler finds out whether the drive can be read).
    void userChoose(std::string_view drive);

  private:
    // Makes name ("e:") the selected drive; Change runs when it is another.
    void select(std::string name);

    std::string drive_;
};

class DirListBox : public Control {
  public:
    // Starts on the process's current folder ("C:\" when none).
    DirListBox(Form& owner, std::string name);
    const char* kind() const override { return "DirListBox"; }

    const std::string& path() const { return path_; }
    // Goes to a folder. A drive alone ("e:", or a drive list's "e: [DATA]")
    // means its root. Raises 68 for a drive that is unknown or holds no disc
    // and 76 for a folder that does not exist, and then changes nothing.
    // Another folder than the current one raises Change.
    void setPath(std::string_view path);

    // The names of the current folder's subfolders, for display, in listing order.
    std::vector<std::string> subFolders() const;

    std::function<void()> Change;

    // The user opened a folder (full path): as setPath, errors reported by
    // the dispatcher.
    void userOpen(std::string_view path);

  private:
    std::string path_;
};

class FileListBox : public Control {
  public:
    // Starts on the process's current folder ("C:\" when none) and "*.*".
    FileListBox(Form& owner, std::string name);
    const char* kind() const override { return "FileListBox"; }

    const std::string& path() const { return path_; }
    // The folder to list: as DirListBox::setPath (errors 68 and 76).
    void setPath(std::string_view path);
    // "*.wcd"; several patterns separated by ";".
    const std::string& pattern() const { return pattern_; }
    void setPattern(std::string pattern);

    // The names of the plain files of the folder that match the pattern, in
    // alphabetical order without regard to case. Read when first asked for
    // after the path or pattern was set or refresh() was called.
    int listCount() const;
    // Indexed from 0; error 381 outside the list.
    const std::string& list(int index) const;
    const std::vector<std::string>& items() const;
    void refresh();

  private:
    std::string path_;
    std::string pattern_ = "*.*";
    mutable std::optional<std::vector<std::string>> items_;
};

}  // namespace platform
