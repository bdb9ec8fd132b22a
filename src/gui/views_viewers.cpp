// Views of the preview pane's viewers: the web browser (local HTML and text
// files in a QTextBrowser), the picture box, the media player (a panel naming
// the file until a media engine comes) and the Flash player (a panel naming
// the movie: no Flash player exists on this platform).
#include <QLabel>
#include <QTextBrowser>
#include <QUrl>
#include <fstream>
#include <sstream>

#include "gui/control_view.h"
#include "gui/form_view.h"
#include "gui/page_text.h"
#include "gui/qt_convert.h"
#include "platform/controls/media_player.h"
#include "platform/controls/viewers.h"

namespace gui {

namespace {

bool readFile(const std::string& native, std::string& bytes) {
    std::ifstream in(native, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return true;
}

// A plain panel with a centred line of text.
QLabel* panel() {
    auto* l = new QLabel;
    l->setAlignment(Qt::AlignCenter);
    l->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    l->setAutoFillBackground(true);
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    return l;
}

}  // namespace

// ---- WebBrowser ----

class WebBrowserView : public ControlView {
  public:
    WebBrowserView(platform::WebBrowser& m, FormView& f) : ControlView(m, f), m_(m) {
        browser_ = new QTextBrowser;
        browser_->setOpenLinks(false);
        browser_->setOpenExternalLinks(false);
        QObject::connect(browser_, &QTextBrowser::anchorClicked, browser_,
                         [this](const QUrl& url) { follow(url); });
        QObject::connect(browser_, &QTextBrowser::highlighted, browser_, [this](const QUrl& url) {
            platform::WebBrowser& m = m_;
            std::string text = fromQ(url.toString());
            gesture([&m, &text] { m.userStatus(std::move(text)); });
        });
        QObject::connect(browser_, &QTextBrowser::selectionChanged, browser_, [this] {
            platform::WebBrowser& m = m_;
            std::string text = fromQ(
                browser_->textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n'));
            if (text == m.selection()) return;
            gesture([&m, &text] { m.userSelect(std::move(text)); });
        });
        setWidget(browser_);
    }

  protected:
    void apply() override {
        if (m_.locationURL() == shown_) return;
        shown_ = m_.locationURL();
        const std::string path = m_.locationPath();
        std::string bytes;
        const std::string native = nativePathOf(path);
        browser_->clear();
        if (path.empty()) {
            // Not a file: the address alone (no network here).
            if (!shown_.empty()) browser_->setPlainText(toQ(shown_));
            return;
        }
        if (native.empty() || !readFile(native, bytes)) return;
        const std::size_t sep = native.find_last_of('/');
        browser_->document()->setBaseUrl(QUrl::fromLocalFile(toQ(native.substr(0, sep + 1))));
        browser_->setSearchPaths({toQ(native.substr(0, sep + 1))});
        if (isHtmlPath(path))
            browser_->setHtml(decodePage(bytes));
        else
            browser_->setPlainText(decodePage(bytes));
    }

  private:
    void follow(const QUrl& url) {
        const std::string href = fromQ(url.toString(QUrl::FullyEncoded));
        if (!href.empty() && href.front() == '#') {
            browser_->scrollToAnchor(url.fragment());
            return;
        }
        std::string target = linkTarget(m_.locationPath(), href);
        if (target.empty()) return;
        platform::WebBrowser& m = m_;
        gesture([&m, &target] { m.userFollowLink(target); });
    }

    platform::WebBrowser& m_;
    QTextBrowser* browser_;
    std::string shown_;
};

// ---- PictureBox ----

class PictureBoxView : public ControlView {
  public:
    PictureBoxView(platform::PictureBox& m, FormView& f) : ControlView(m, f), m_(m) {
        label_ = new QLabel;
        label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        setWidget(label_);
    }

  protected:
    void apply() override {
        if (m_.picture() == shown_) return;
        shown_ = m_.picture();
        label_->clear();
        if (shown_.empty()) return;
        // At its own size from the top left corner; a kind Qt cannot draw
        // (a metafile) shows its name.
        QPixmap pm;
        const std::string native = nativePathOf(shown_);
        if (!native.empty() && pm.load(toQ(native)))
            label_->setPixmap(pm);
        else
            label_->setText(toQ(lastNameOf(shown_)));
    }

  private:
    platform::PictureBox& m_;
    QLabel* label_;
    std::string shown_;
};

// ---- MediaPlayer and FlashPlayer ----

class MediaPlayerView : public ControlView {
  public:
    MediaPlayerView(platform::MediaPlayer& m, FormView& f) : ControlView(m, f), m_(m) {
        label_ = panel();
        QPalette p = label_->palette();
        p.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
        p.setColor(QPalette::WindowText, QColor(0xE0, 0xE0, 0xE0));
        label_->setPalette(p);
        setWidget(label_);
    }

  protected:
    void apply() override { label_->setText(toQ(lastNameOf(m_.fileName()))); }

  private:
    platform::MediaPlayer& m_;
    QLabel* label_;
};

class FlashPlayerView : public ControlView {
  public:
    FlashPlayerView(platform::FlashPlayer& m, FormView& f) : ControlView(m, f), m_(m) {
        label_ = panel();
        setWidget(label_);
    }

  protected:
    void apply() override { label_->setText(toQ(lastNameOf(m_.movie()))); }

  private:
    platform::FlashPlayer& m_;
    QLabel* label_;
};

void addViewerViews(ViewFactory& f) {
    f.add("WebBrowser", makerOf<WebBrowserView, platform::WebBrowser>());
    f.add("PictureBox", makerOf<PictureBoxView, platform::PictureBox>());
    f.add("MediaPlayer", makerOf<MediaPlayerView, platform::MediaPlayer>());
    f.add("FlashPlayer", makerOf<FlashPlayerView, platform::FlashPlayer>());
}

}  // namespace gui
