// Opening a file, a folder or an address with the program the desktop
// associates with it, as the system's "open" call does, and the desktop
// folder.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::system {

// Turns a Windows path ("E:\docs\a.txt") into the native path, or gives
// nothing when it cannot be mapped. May also throw platform::Error, which
// counts as "cannot be mapped".
using ToNative = std::function<std::optional<std::string>(std::string_view windowsPath)>;

// The files layer's mapping through the current drive table.
ToNative filesToNative();

// Answers of Shell::open, as the system's open call gives them.
namespace shell_result {
inline constexpr int FileNotFound = 2;    // the path is missing or cannot be mapped
inline constexpr int NoAssociation = 31;  // no program could be started for it
inline constexpr int Opened = 42;         // started (any value above 32 means success)
}  // namespace shell_result

// True for an address: a scheme of two or more characters (a letter, then
// letters, digits, "+", "-" or ".") followed by ":" ("http:", "mailto:",
// "file:"). "C:\a.txt" is a path.
bool isUrl(std::string_view target);

// What gets opened for a target: an address unchanged; a path as its native
// path when that exists. Nothing when the path cannot be mapped or is missing.
std::optional<std::string> resolveShellTarget(std::string_view target, const ToNative& toNative);

class Shell {
  public:
    virtual ~Shell() = default;
    // Opens target (an address or a Windows path); workDir is the Windows
    // folder the opening program starts in ("" for none). Returns
    // shell_result::FileNotFound (2) for a missing path, Opened otherwise.
    virtual int open(std::string_view target, std::string_view workDir) = 0;
};

// Starts argv[0] (looked up in PATH when it holds no "/") with the argument
// vector, never through a shell, detached in a session of its own, with
// stdin from /dev/null and in nativeWorkDir when that is a folder. The child
// is reaped in the background, so no zombie stays behind. False when it could
// not be started.
bool spawnDetached(const std::vector<std::string>& argv, const std::string& nativeWorkDir = {});

// Starts the opening program: argument vector and native working folder.
using Launcher =
    std::function<bool(const std::vector<std::string>& argv, const std::string& nativeWorkDir)>;

// The desktop's own opener: "xdg-open <native path or address>", started
// detached by spawnDetached unless another launcher is given.
class DesktopShell final : public Shell {
  public:
    explicit DesktopShell(ToNative toNative = filesToNative(), std::string opener = "xdg-open",
                          Launcher launcher = spawnDetached);

    int open(std::string_view target, std::string_view workDir) override;

  private:
    ToNative toNative_;
    std::string opener_;
    Launcher launcher_;
};

// A shell for tests: records every call and starts nothing. A path counts as
// existing when no toNative is given, otherwise as resolveShellTarget finds
// it; setResult fixes the answer for one target.
class RecordingShell final : public Shell {
  public:
    struct Call {
        std::string target;
        std::string workDir;
        std::string opened;  // the native path or address that would be opened; "" when none
    };

    explicit RecordingShell(ToNative toNative = {});

    int open(std::string_view target, std::string_view workDir) override;

    void setResult(std::string target, int result);
    const std::vector<Call>& calls() const { return calls_; }

  private:
    ToNative toNative_;
    std::map<std::string, int, std::less<>> results_;
    std::vector<Call> calls_;
};

// The user's desktop folder (native): XDG_DESKTOP_DIR of user-dirs.dirs in the
// configuration folder ($XDG_CONFIG_HOME, else ~/.config), else ~/Desktop.
// The file is read as the documents folder's is (files/system_probe.h).
std::string desktopFolder();
// The same for a given home folder and configuration folder (tests).
std::string desktopFolder(const std::string& home, const std::string& configHome);

}  // namespace platform::system
