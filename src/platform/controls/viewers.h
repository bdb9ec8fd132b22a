// The viewers of the preview pane, as models of what the program reads and
// writes: the web browser, the picture box and the Flash player. (The media
// player is in media_player.h.) Their drawing is the front end's.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/control.h"

namespace platform {

namespace system {
class Clipboard;
}

// ---- WebBrowser ----

// The browser's commands of execWB.
inline constexpr int BrowserSaveAs = 4;
inline constexpr int BrowserCopy = 12;
inline constexpr int BrowserPromptUser = 1;

// The address as the browser reports it. A file address, in any of the forms
// "file:\\C:\a b.htm", "file://C:\a b.htm" or "file:///C:/a%20b.htm", becomes
// "file:///" + the path with "/" for "\" and the characters blank, "&", "[" and
// "]" written as %20, %26, %5B and %5D. Other addresses stay as they are.
std::string canonicalUrl(std::string_view url);

// The Windows path of a file address in the form canonicalUrl gives
// ("file:///C:/a%20b.htm" -> "C:\a b.htm"); "" for any other address.
std::string filePathOfUrl(std::string_view url);

class WebBrowser : public Control {
  public:
    WebBrowser(Form& owner, std::string name);
    const char* kind() const override { return "WebBrowser"; }

    // The shown page's address (canonicalUrl form); "" before the first.
    const std::string& locationURL() const;
    // The Windows path of the shown file ("" when it shows no file); for the view.
    std::string locationPath() const;
    // Shows url: it becomes the current entry of the history, and the
    // entries after the former current one are dropped. The selection empties.
    void navigate(std::string_view url);

    // Back and forward in the history; err::Unspecified at either end.
    void goBack();
    void goForward();
    bool canGoBack() const { return current_ > 0; }
    bool canGoForward() const { return current_ + 1 < history_.size(); }
    const std::vector<std::string>& history() const { return history_; }

    // The text the user has marked in the page (set by the view).
    const std::string& selection() const { return selection_; }
    // The browser's status line (the target of the link under the mouse, ...).
    const std::string& statusText() const { return statusText_; }

    // The clipboard that the copy command writes to (none: nothing is copied).
    void setClipboard(system::Clipboard* clipboard) { clipboard_ = clipboard; }

    // execWB(BrowserCopy, option): a non-empty selection is put on the
    // clipboard; an empty one changes nothing.
    // execWB(BrowserSaveAs, BrowserPromptUser): the browser's own "Save As"
    // prompt (the form's Ui). Other commands raise error 5.
    void execWB(int command, int option = 0);

    // Events.
    std::function<void(const std::string& text)> StatusTextChange;
    // A page asks for a new window; a handler sets cancel to refuse it.
    std::function<void(bool& cancel)> NewWindow2;

    // ---- user gestures (the view) ----
    // The user followed a link: the browser navigates to url.
    void userFollowLink(std::string_view url);
    // The user marked text in the page ("" clears the selection).
    void userSelect(std::string text);
    // The browser's status text became text: StatusTextChange runs.
    void userStatus(std::string text);
    // A page asks for a new window: NewWindow2 runs. Returns true when the
    // window may open (no handler cancelled it).
    bool userNewWindow();

  private:
    void setCurrent(std::size_t index);

    std::vector<std::string> history_;
    std::size_t current_ = 0;
    std::string selection_;
    std::string statusText_;
    system::Clipboard* clipboard_ = nullptr;
};

// ---- PictureBox ----

// Decides whether a file can be shown as a picture: raises 53 when it does
// not exist (or 76, 68, 71 for its folder or drive) and 481 when it is not a
// picture of the kinds the box shows (bmp, ico, cur, wmf).
class PictureProbe {
  public:
    virtual ~PictureProbe() = default;
    virtual void check(std::string_view windowsPath) = 0;
};

// The probe used when a box has none of its own: it reads the file's first
// bytes through the drive table (BMP "BM"; ICO and CUR 00 00 01|02 00; WMF
// D7 CD C6 9A or 01 00 09 00).
PictureProbe& headerPictureProbe();

class PictureBox : public Control {
  public:
    PictureBox(Form& owner, std::string name);
    const char* kind() const override { return "PictureBox"; }

    // The Windows path of the picture shown; "" when the box is empty.
    const std::string& picture() const { return picture_; }
    // Shows the picture of path ("" empties the box). A file that the probe
    // refuses raises its error (53, 481, ...) and the box keeps what it had.
    void loadPicture(std::string_view path);
    void clearPicture();

    // The probe this box uses (nullptr: headerPictureProbe()).
    void setProbe(PictureProbe* probe) { probe_ = probe; }

  private:
    std::string picture_;
    PictureProbe* probe_ = nullptr;
};

// ---- FlashPlayer ----

class FlashPlayer : public Control {
  public:
    FlashPlayer(Form& owner, std::string name);
    const char* kind() const override { return "FlashPlayer"; }

    // The movie's address as the program gives it ("file:\E:\a.swf"; "" none).
    // Loading a movie stops the one that played.
    const std::string& movie() const { return movie_; }
    void setMovie(std::string movie);

    bool playing() const { return playing_; }
    // Plays the movie (nothing without one).
    void play();
    void stop();

  private:
    std::string movie_;
    bool playing_ = false;
};

}  // namespace platform
