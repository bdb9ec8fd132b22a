#include "platform/controls/viewers.h"

#include <fstream>

#include "platform/controls/form.h"
#include "platform/error.h"
#include "platform/files/file_ops.h"
#include "platform/files/listing.h"
#include "platform/files/paths.h"
#include "platform/system/clipboard.h"
#include "platform/text/text.h"
#include "platform/ui/dispatcher.h"
#include "platform/ui/ui.h"

namespace platform {

// ---- addresses ----

namespace {

constexpr std::string_view FileScheme = "file:";
constexpr std::string_view FileUrlPrefix = "file:///";

// The characters a file address writes as escapes, and their escapes.
struct Escape {
    char c;
    std::string_view code;
};
constexpr Escape Escapes[] = {{' ', "%20"}, {'&', "%26"}, {'[', "%5B"}, {']', "%5D"}};

bool isFileUrl(std::string_view url) {
    return url.size() >= FileScheme.size() &&
           text::lcase(url.substr(0, FileScheme.size())) == FileScheme;
}

}  // namespace

std::string canonicalUrl(std::string_view url) {
    if (!isFileUrl(url)) return std::string(url);
    std::string_view path = url.substr(FileScheme.size());
    while (!path.empty() && (path.front() == '/' || path.front() == '\\')) path.remove_prefix(1);
    std::string out(FileUrlPrefix);
    for (char c : path) {
        if (c == '\\') c = '/';
        std::string_view code;
        for (const Escape& e : Escapes)
            if (e.c == c) code = e.code;
        if (code.empty())
            out += c;
        else
            out += code;
    }
    return out;
}

std::string filePathOfUrl(std::string_view url) {
    if (url.size() < FileUrlPrefix.size() || !isFileUrl(url)) return {};
    std::string path(url.substr(FileUrlPrefix.size()));
    for (const Escape& e : Escapes) path = text::replace(path, e.code, std::string_view(&e.c, 1));
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// ---- WebBrowser ----

WebBrowser::WebBrowser(Form& owner, std::string name) : Control(owner, std::move(name)) {}

const std::string& WebBrowser::locationURL() const {
    static const std::string none;
    return history_.empty() ? none : history_[current_];
}

std::string WebBrowser::locationPath() const { return filePathOfUrl(locationURL()); }

void WebBrowser::navigate(std::string_view url) {
    std::string address = canonicalUrl(url);
    selection_.clear();
    // Showing the current page again reloads it; the history stays.
    if (history_.empty() || history_[current_] != address) {
        if (!history_.empty()) history_.resize(current_ + 1);
        history_.push_back(std::move(address));
        current_ = history_.size() - 1;
    }
    changed();
}

void WebBrowser::setCurrent(std::size_t index) {
    current_ = index;
    selection_.clear();
    changed();
}

void WebBrowser::goBack() {
    if (!canGoBack()) raise(err::Unspecified);
    setCurrent(current_ - 1);
}

void WebBrowser::goForward() {
    if (!canGoForward()) raise(err::Unspecified);
    setCurrent(current_ + 1);
}

void WebBrowser::execWB(int command, int option) {
    if (command == BrowserCopy) {
        if (!selection_.empty() && clipboard_) clipboard_->setText(selection_);
        return;
    }
    if (command == BrowserSaveAs && (option == 0 || option == BrowserPromptUser)) {
        form().ui().browserSaveAs(*this);
        return;
    }
    raise(err::InvalidCall);
}

void WebBrowser::userFollowLink(std::string_view url) {
    dispatch([&] { navigate(url); });
}

void WebBrowser::userSelect(std::string text) {
    dispatch([&] {
        if (text == selection_) return;
        selection_ = std::move(text);
        changed();
    });
}

void WebBrowser::userStatus(std::string text) {
    dispatch([&] {
        if (text != statusText_) {
            statusText_ = text;
            changed();
        }
        if (StatusTextChange) StatusTextChange(text);
    });
}

bool WebBrowser::userNewWindow() {
    bool cancel = false;
    dispatch([&] {
        if (NewWindow2) NewWindow2(cancel);
    });
    return !cancel;
}

// ---- PictureBox ----

namespace {

// Tells the kinds of picture the box shows by their first bytes.
bool isPictureHeader(const unsigned char* b, std::size_t n) {
    if (n >= 2 && b[0] == 'B' && b[1] == 'M') return true;  // bmp
    if (n < 4) return false;
    if (b[0] == 0 && b[1] == 0 && (b[2] == 1 || b[2] == 2) && b[3] == 0) return true;  // ico, cur
    if (b[0] == 0xD7 && b[1] == 0xCD && b[2] == 0xC6 && b[3] == 0x9A) return true;  // placeable wmf
    return b[0] == 0x01 && b[1] == 0x00 && b[2] == 0x09 && b[3] == 0x00;            // wmf
}

class HeaderPictureProbe final : public PictureProbe {
  public:
    void check(std::string_view windowsPath) override {
        files::ResolvedPath r = files::resolveExisting(windowsPath);
        auto attributes = files::getAttributes(r.windows);
        if (!attributes || (*attributes & files::attr::Directory) != 0) raise(err::FileNotFound);
        std::ifstream in(r.native, std::ios::binary);
        if (!in.is_open()) raise(err::PathFileAccess);
        unsigned char header[4] = {};
        in.read(reinterpret_cast<char*>(header), sizeof header);
        if (in.bad()) raise(err::PathFileAccess);
        if (!isPictureHeader(header, static_cast<std::size_t>(in.gcount())))
            raise(err::InvalidPicture);
    }
};

}  // namespace

PictureProbe& headerPictureProbe() {
    static HeaderPictureProbe probe;
    return probe;
}

PictureBox::PictureBox(Form& owner, std::string name) : Control(owner, std::move(name)) {}

void PictureBox::loadPicture(std::string_view path) {
    if (path.empty()) {
        clearPicture();
        return;
    }
    (probe_ ? *probe_ : headerPictureProbe()).check(path);
    picture_ = std::string(path);
    changed();  // also for the same path: the file may have changed
}

void PictureBox::clearPicture() {
    if (picture_.empty()) return;
    picture_.clear();
    changed();
}

// ---- FlashPlayer ----

FlashPlayer::FlashPlayer(Form& owner, std::string name) : Control(owner, std::move(name)) {}

void FlashPlayer::setMovie(std::string movie) {
    if (movie == movie_ && !playing_) return;
    movie_ = std::move(movie);
    playing_ = false;
    changed();
}

void FlashPlayer::play() {
    if (movie_.empty() || playing_) return;
    playing_ = true;
    changed();
}

void FlashPlayer::stop() {
    if (!playing_) return;
    playing_ = false;
    changed();
}

}  // namespace platform
