// The confined layer: every change to a file on disk happens beneath an open
// root folder.
//
// A root is an open handle of a folder (O_PATH), opened from a Windows path
// through the drive table, from a native path, or beneath another root. Each
// operation takes a path relative to the root, Windows-style ("docs\a.txt";
// "/" is accepted too), and resolves it beneath the root's handle, never by
// the root's path again:
// - "." is dropped and ".." applied to the names given; a ".." that would
//   climb above the root is refused, and so is an absolute path ("C:\x",
//   "\x", "/x", another drive's path);
// - each name is looked up in its folder as the drive table looks names up
//   (paths.h): the name itself, else the entry whose Windows name equals it,
//   else the only entry whose Windows name equals it without regard to ASCII
//   case; several such and none exact are refused (75 with
//   AmbiguousNameText of paths.h and the path), as reads refuse them. So are
//   found the folders on the way and the last name of a query, a source and
//   a rewrite (write, append and a committed write that may replace, a
//   rename that may replace: a stored file spelt otherwise is rewritten
//   under its own name);
// - a name a change makes is taken exactly as spelt (its own bytes or its
//   Windows name), never for an entry spelt alike, which is another name:
//   the target of copyInto and copyFolderInto (replacing or not), of
//   hardLink, of a write or rename that refuses an existing name, the folder
//   createFolder makes and every level of createFolders. For them a name
//   "exists" only when that exact name does; else it is made beside the
//   names spelt alike. A delete and a change of attributes take the last
//   name only exactly too;
// - the folders on the way are opened with openat2 RESOLVE_BENEATH |
//   RESOLVE_NO_MAGICLINKS, or, where the system has no openat2, by a walk
//   name by name with O_NOFOLLOW that follows a link only as openat2 would:
//   never through an absolute link, a ".." above the root or a /proc link.
//   A link inside the root that stays inside is followed;
// - the last name of a delete, rename, attribute change or copy is never
//   followed: a link there is itself deleted, renamed or replaced, and its
//   target is never touched; a link's attributes are never changed. A
//   committed write follows a link there only while it stays beneath the
//   root (the file it names is replaced, as WholeFileRewrite does).
//
// Refusals raise platform::Error 75 with "路径不在允许的文件夹里：" and the
// Windows path (the root's and the relative one joined; a root without a
// Windows path names its native path). Other failures raise the number of
// their errno as the rest of the files layer does (53 a missing file, 76 a
// missing folder, 58 an existing name, 70 no permission, 61 a full disk, ...).
//
// A write, rename, move or new link that has taken effect is never taken
// back and never raises for its folder sync: a sync that fails twice records
// the changed path as written but not confirmed (takeUnconfirmedWrites of
// committed_write.h), which the dispatcher tells after the event.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/files/committed_write.h"

namespace platform::files {

// How paths are resolved beneath a root: openat2 where the system has it
// (Automatic), or always one way (tests).
enum class Resolution { Automatic, Openat2, Walk };
// True when the running system resolves with openat2 (RESOLVE_BENEATH).
bool openat2Available();
// Test seam: the resolution every root uses from now on; returns the one
// before. Openat2 where the system lacks it fails every look-up (ENOSYS).
Resolution setResolution(Resolution resolution);

class ScopedResolution {
  public:
    explicit ScopedResolution(Resolution r) : previous_(setResolution(r)) {}
    ~ScopedResolution() { setResolution(previous_); }
    ScopedResolution(const ScopedResolution&) = delete;
    ScopedResolution& operator=(const ScopedResolution&) = delete;

  private:
    Resolution previous_;
};

// What a query finds at a name.
struct EntryStatus {
    std::uint32_t attributes = 0;  // attr:: bits of listing.h
    std::uint64_t size = 0;        // bytes of a file; 0 for a folder
    bool isFolder = false;
    bool isLink = false;  // the name is a link (only when the last name is not followed)
    unsigned mode = 0;    // permission bits
    // When the entry itself last changed (its ctime: made, linked, written,
    // renamed), in nanoseconds since 1970.
    std::int64_t changed = 0;
};

// Whether a query follows a link at the last name (beneath the root only).
enum class Follow { No, Yes };

// Whether a delete also takes a read-only file (its mode left as it is: a
// name is removed without changing the file, which may have other names).
enum class ReadOnlyToo { No, Yes };

// The refusal of a change of attributes of a file with more than one name.
inline constexpr std::string_view SeveralNamesText =
    "这个文件还有别的名字（硬链接），不能改变它的只读属性：";

// Told of a name a folder copy leaves out because it leads out of the source
// root (its Windows path); without one, the copy raises 75 there.
using RefusedName = std::function<void(const std::string& windowsPath)>;

// Listings of folders kept for a run that makes many names in one folder (a
// mirror copy run): a name missing from its folder under its own spelling is
// looked up among one listing of that folder, read at the first such look-up,
// instead of a listing per name, and each name the run looks up and then
// makes is added to it; and each folder on the way to the names is opened
// once for the run (beneath its root, as every look-up is) and taken up again
// by the later look-ups. What it finds is what a fresh listing finds, except
// for a name another program adds, or a folder it moves, during the run (a
// copy to a name added meanwhile meets it when it is linked there, and
// replaces it through a temporary name or is refused).
// Given to the roots of the run with useListings; one run, one thread.
class FolderListings {
  public:
    FolderListings();
    ~FolderListings();
    FolderListings(const FolderListings&) = delete;
    FolderListings& operator=(const FolderListings&) = delete;

  private:
    friend class ConfinedRoot;
    struct Folder;
    struct OpenFolder;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

class ConfinedRoot {
  public:
    // Opens a Windows folder through the drive table (the root itself may be
    // reached through links: it is the program's or the user's choice).
    // Raises 52, 68, 71 as resolvePath, 76 when it is missing or no folder.
    static ConfinedRoot open(std::string_view windowsFolder);
    // Opens a native folder (76 when it is missing or no folder). Its Windows
    // path is toWindows of it, or none when no drive holds it.
    static ConfinedRoot openNative(const std::string& nativeFolder);
    // The folder at relative, resolved beneath this root, as a root of its
    // own (webhtml\<disc> beneath webhtml). 76 when it is missing or no
    // folder; 75 when it leads out.
    ConfinedRoot folder(std::string_view relative) const;

    ConfinedRoot(ConfinedRoot&& other) noexcept;
    ConfinedRoot& operator=(ConfinedRoot&& other) noexcept;
    ConfinedRoot(const ConfinedRoot&) = delete;
    ConfinedRoot& operator=(const ConfinedRoot&) = delete;
    ~ConfinedRoot();

    // Look-ups of missing names go through listings from now on (none: a
    // listing per look-up); listings must outlive the root's use of them.
    void useListings(FolderListings* listings) { listings_ = listings; }

    // "C:\zelbrin" (a drive's root "E:\"); "" for a native root no drive holds.
    const std::string& windowsPath() const { return windows_; }
    // The native path the root was opened at (for messages and the hook).
    const std::string& nativePath() const { return native_; }
    // The Windows path of a relative path (for messages).
    std::string windowsOf(std::string_view relative) const;
    // The path of windowsPath relative to this root ("" for the root
    // itself), judged on the Windows names ("." and ".." applied, letter case
    // ignored) and the drive table's entry that holds each (a path the table
    // maps through another entry, such as "C:\My Documents" below "C:\", is
    // not below it). Raises 52 and 68 as resolvePath, and 75 with the text
    // and windowsPath when it is not below the root.
    std::string relativeOf(std::string_view windowsPath) const;
    // The folder the root really is: its native path with every link
    // resolved (what its handle names now).
    std::string resolvedPath() const;
    // The native path below this root ("docs/a.jpg"; "" for the root
    // itself) of a native path, judged on the resolved forms of both: the
    // path's folders resolved through every link, and its last name too with
    // Follow::Yes (a missing part is taken as written). Nothing when it is
    // not below the root, holds ".." in a missing part or cannot be resolved
    // (a dangling link, a folder that cannot be searched).
    std::optional<std::string> nativeRelativeOf(const std::string& nativePath,
                                                Follow lastName) const;

    // What is at relative; nothing when it is missing (or its folder is).
    // Follow::Yes follows a link at the last name while it stays beneath the
    // root (a dangling link: nothing); every other name is resolved beneath.
    std::optional<EntryStatus> status(std::string_view relative, Follow follow = Follow::Yes) const;
    // The name exists (a link too, wherever it points).
    bool exists(std::string_view relative) const;
    // As status, for the last name spelt exactly so (a name spelt alike but
    // for letter case is another file): what a removal would take, and what
    // tells whether the file a command named is still there.
    std::optional<EntryStatus> statusExactly(std::string_view relative,
                                             Follow follow = Follow::Yes) const;
    bool existsExactly(std::string_view relative) const;
    // The relative path with its last name spelt as the entry that status
    // finds (the exact name, else the only one spelt alike but for letter
    // case); nothing when there is none. A removal takes its last name
    // exactly: this is the spelling to remove the file that reads find.
    std::optional<std::string> spellingOf(std::string_view relative) const;

    // Makes what was written on the root's file system durable (syncfs).
    // Raises the error of a failed sync.
    void syncFileSystem() const;

    // Makes one folder under the exact name given: 58 when that name exists
    // (75 when it is a link leading out), 76 when its folder is missing.
    void createFolder(std::string_view relative) const;
    // Makes every missing folder of relative, each resolved beneath the root
    // before it is made, so nothing is made through a link that leads out.
    // Every level is taken exactly: "Docs\a" beside an existing "docs" makes
    // "Docs" and "Docs\a". 58 when a name on the way is a file. True when a
    // folder was made.
    bool createFolders(std::string_view relative) const;

    // Writes a file whole through the committed-write path (CommittedFile of
    // committed_write.h; its constructor from a root says what it refuses).
    // Replace rewrites the file found by the rule of case-alike names (a
    // stored file spelt otherwise keeps its name); Refuse makes the exact
    // name given, 58 only when that name exists.
    void write(std::string_view relative, std::string_view bytes,
               OnExisting onExisting = OnExisting::Replace,
               std::optional<unsigned> mode = std::nullopt) const;
    // Adds bytes at the end of a file (made when missing) through the
    // committed-write path: the file is rewritten whole with its old bytes
    // and the new, so a failure leaves it exactly as it was.
    void append(std::string_view relative, std::string_view bytes) const;

    // Copies the file sourceRelative beneath sourceRoot (read confined too: a
    // link that leads out of sourceRoot is refused) to relative, through the
    // committed-write path, keeping its time and read-only attribute: 53 a
    // missing source or a folder, 76 a missing folder, 58 an existing target
    // with OnExisting::Refuse (75 when it is a link leading out), 70 a target
    // that is a folder, a read-only file or the source itself. A link at the
    // target is replaced itself, never followed. The target is the exact
    // name given: a file spelt alike is neither replaced nor refused.
    // With ReadOnlyToo::Yes the copy comes out writable (its read-only
    // attribute cleared as it is made, not by a change afterwards).
    void copyInto(std::string_view relative, const ConfinedRoot& sourceRoot,
                  std::string_view sourceRelative, OnExisting onExisting,
                  ReadOnlyToo clearReadOnly = ReadOnlyToo::No) const;
    // Copies the folder sourceRelative beneath sourceRoot with everything in
    // it to relative (58 when the target exists and onExisting is Refuse,
    // else into it replacing files; 75 when the target lies inside the
    // source or is a link leading out). Links inside the source are followed
    // while they stay beneath sourceRoot; one that leads out is told to
    // refused (or raises 75) and left out. A folder met twice on one path
    // (a loop of links) is copied once. The target is the exact name given,
    // and each name in it the source's own, as copyInto's.
    void copyFolderInto(std::string_view relative, const ConfinedRoot& sourceRoot,
                        std::string_view sourceRelative, OnExisting onExisting,
                        const RefusedName& refused = {}) const;

    // Renames or moves a file or folder within the root, durably (to another
    // file system: a committed copy, then the source goes): a link is renamed
    // itself. OnExisting::Refuse: 58 when the target's exact name exists (75
    // when it is a link leading out); a name spelt alike is another name, so
    // "a.txt" to "A.TXT" renames in place. Replace: the file (or link) found
    // by the rule of case-alike names is replaced; the source itself under
    // another letter case is renamed in place.
    // 53 a missing source, 76 a missing folder, 75 the root itself. Once
    // renamed it stays renamed: a folder that will not sync afterwards is
    // recorded as not confirmed, not raised.
    void rename(std::string_view from, std::string_view to, OnExisting onExisting) const;
    // A second name for a file within the root (a hard link; a link is linked
    // itself), made durable: 58 when the name exists (75 when it is a link
    // leading out; only the exact name counts). A folder that will not
    // sync after the link is made is recorded as not confirmed, not raised.
    void hardLink(std::string_view existing, std::string_view relative) const;

    // Deletes a file, or a link itself (never its target): 53 missing or a
    // folder, 76 its folder missing, 75 a read-only file (unless
    // ReadOnlyToo::Yes) or file system. The file's mode is never changed.
    void remove(std::string_view relative, ReadOnlyToo readOnlyToo = ReadOnlyToo::No) const;
    // Deletes an empty folder, or a link itself: 76 missing, 58 not empty, 75 a file.
    void removeFolder(std::string_view relative) const;
    // Sets the attributes (only the read-only bit has an effect: without it
    // the owner gets write permission, with it every write permission is
    // taken away) of a file or folder; "" is the root itself. The mode is
    // changed through the handle of the file itself, and only when it
    // differs. A link is refused (75 with the text and the path): neither it
    // nor its target changes. A file with more than one name (a hard link,
    // whose other names may lie outside) is refused too (75 with
    // SeveralNamesText and the path). 53 when it is missing.
    void setAttributes(std::string_view relative, std::uint32_t attributes) const;

  private:
    friend class CommittedFile;
    struct Located;
    struct WriteTarget;
    struct CopyRun;
    enum class LastName { Exactly, IgnoringCase };

    ConfinedRoot() = default;
    Located locate(std::string_view relative, LastName match) const;
    std::optional<EntryStatus> statusOf(std::string_view relative, Follow follow,
                                        LastName match) const;
    WriteTarget writeTarget(std::string_view relative, OnExisting onExisting) const;
    [[noreturn]] void refuse(const std::string& shown) const;
    // Opens the native relative path beneath the root; raises (refusals 75,
    // else the errno's number with notFound for a missing name).
    int openBeneath(const std::string& nativeRelative, int flags, const std::string& shown,
                    int notFound) const;
    // A name that exists and is a link leading out of the root (or that
    // cannot be followed beneath it) is refused (75 with shown); any other
    // name passes. For a change that fails because the name exists.
    void refuseWhenLeadingOut(int folder, const std::string& name,
                              const std::string& nativeRelative, const std::string& shown) const;
    void copyTree(CopyRun& run, const std::string& sourceNative, const std::string& sourceShown,
                  int targetFolder, const std::string& targetName,
                  const std::string& targetRelative, const std::string& targetShown) const;

    // The native name of name in the open folder (see the top of the file).
    // missing (when given) is set when no entry answers to the name. Throws
    // AmbiguousName when several answer to it ignoring case, none exactly.
    struct AmbiguousName {};
    std::string nativeName(int folder, const std::string& name, bool ignoringCase,
                           bool* missing = nullptr) const;

    int fd_ = -1;
    FolderListings* listings_ = nullptr;
    std::string windows_;
    std::string native_;
    std::string driveName_;                  // the drive table's entry holding windows_
    std::vector<std::string> windowsNames_;  // windows_'s names below the drive's root
};

}  // namespace platform::files
