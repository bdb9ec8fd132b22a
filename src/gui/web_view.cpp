#include "gui/web_view.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "gui/control_view.h"
#include "gui/engines.h"
#include "gui/form_view.h"
#include "gui/page_text.h"
#include "gui/qt_convert.h"
#include "platform/controls/viewers.h"
#include "platform/error.h"
#include "platform/files/listing.h"
#include "platform/files/paths.h"
#include "platform/text/document_text.h"

#if defined(__SANITIZE_ADDRESS__)
// The engine's own code (Chromium inside libQt6WebEngineCore) frees some of
// its objects with a size that differs from the one they were made with;
// that check is left out in the programs that hold the engine, the others
// stay on.
extern "C" const char* __asan_default_options() { return "new_delete_type_mismatch=0"; }
#endif

namespace gui {

namespace {

constexpr char Scheme[] = "zelbrin";

bool readWhole(const std::string& native, std::string& bytes) {
    std::ifstream in(native, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return !in.bad();
}

// A local document: the file or folder of a Windows path, read through the
// drive table.
bool document(const std::string& path, std::string& mime, std::string& bytes) {
    namespace files = platform::files;
    std::string native;
    try {
        native = files::resolveExisting(path).native;
    } catch (const platform::Error&) {
        return false;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(native, ec)) {
        std::vector<ListedEntry> entries;
        for (const files::FindEntry& e : files::findEntries(path, "*")) {
            if (e.name == "." || e.name == "..") continue;
            entries.push_back({e.name, e.isFolder()});
        }
        bytes = folderListingPage(path, entries);
        mime = "text/html;charset=utf-8";
        return true;
    }
    if (!std::filesystem::is_regular_file(native, ec) || !readWhole(native, bytes)) return false;
    switch (documentKind(path)) {
        case DocumentKind::Page:
            // Read by the program's decoder and sent as UTF-8, which the
            // engine takes over any declaration inside the page.
            bytes = platform::text::decodeDocument(bytes);
            mime = "text/html;charset=utf-8";
            return true;
        case DocumentKind::Picture:
            mime = pictureMime(path);
            return true;
        case DocumentKind::Note:
            bytes = platform::text::notePage(path);
            mime = "text/html;charset=utf-8";
            return true;
        case DocumentKind::Text:
            bytes = platform::text::decodeDocument(bytes);
            mime = textMime(path);
            return true;
    }
    return false;
}

// The engines with the program's scheme registered (before the first
// browser starts the web engine), or nullptr.
engines::Engines* browserEngines() {
    static engines::Engines* const e = [] {
        engines::Engines* loaded = engines::engines();
        if (loaded != nullptr)
            loaded->useScheme(
                Scheme,
                [](const QUrl& url, bool frame, QByteArray& mime, QByteArray& bytes) {
                    const std::string path = windowsPathOfDocumentUrl(url);
                    std::string m;
                    std::string b;
                    if (path.empty()) return false;
                    if (!document(path, m, b)) {
                        // A page or frame that is not there says so in the
                        // program's words; a missing picture stays missing.
                        if (!frame) return false;
                        b = missingFilePage(path);
                        m = "text/html;charset=utf-8";
                    }
                    mime = QByteArray::fromStdString(m);
                    bytes = QByteArray::fromStdString(b);
                    return true;
                },
                [](const QUrl& page, const QUrl& target) {
                    return scriptMayRead(windowsPathOfDocumentUrl(page),
                                         windowsPathOfDocumentUrl(target));
                });
        return loaded;
    }();
    return e;
}

}  // namespace

void prepareWebEngine() {
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

QUrl localDocumentUrl(std::string_view windowsPath) {
    QString path = toQ(windowsPath);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // A folder's address ends with "/", so that its listing's links lead into it.
    std::error_code ec;
    const std::string native = nativePathOf(windowsPath);
    if (!path.endsWith(QLatin1Char('/')) && !native.empty() &&
        std::filesystem::is_directory(native, ec))
        path += QLatin1Char('/');
    QUrl url;
    url.setScheme(QLatin1String(Scheme));
    url.setPath(QLatin1Char('/') + path);
    return url;
}

std::string windowsPathOfDocumentUrl(const QUrl& url) {
    if (url.scheme() != QLatin1String(Scheme)) return {};
    QString path = url.path();
    while (path.startsWith(QLatin1Char('/'))) path.remove(0, 1);
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    // A folder's address ends with "/"; its path has no "\" after the drive's.
    if (path.size() > 3 && path.endsWith(QLatin1Char('\\'))) path.chop(1);
    return fromQ(path);
}

std::string modelAddressOf(const QUrl& url) {
    const std::string path = windowsPathOfDocumentUrl(url);
    if (!path.empty()) return platform::canonicalUrl("file:\\\\" + path);
    return fromQ(url.toString());
}

namespace {

// The engine's view is made when the browser first shows: a program that
// never previews a page never loads the web engine nor starts it (its
// profile and its helper processes). Until then a plain panel stands in.
class WebBrowserView : public ControlView {
  public:
    WebBrowserView(platform::WebBrowser& m, FormView& f) : ControlView(m, f), m_(m) {
        setWidget(new QWidget);
    }

  protected:
    void apply() override {
        if (!view_ && !build()) return;
        if (m_.locationURL() == shown_) return;
        shown_ = m_.locationURL();
        const std::string path = m_.locationPath();
        QUrl url;
        if (!path.empty())
            url = localDocumentUrl(path);
        else if (!shown_.empty())
            url = QUrl(toQ(shown_));
        else
            url = QUrl(QStringLiteral("about:blank"));
        engines_->load(view_, url);
    }

  private:
    bool build() {
        engines_ = browserEngines();
        if (engines_ == nullptr) return false;
        engines::BrowserEvents events;
        events.follow = [this](const QUrl& url) {
            platform::WebBrowser& m = m_;
            const std::string address = modelAddressOf(url);
            gesture([&m, &address] { m.userFollowLink(address); });
        };
        events.newWindow = [this] {
            platform::WebBrowser& m = m_;
            gesture([&m] { m.userNewWindow(); });
        };
        events.linkHovered = [this](const QUrl& url) {
            platform::WebBrowser& m = m_;
            std::string text = url.isEmpty() ? std::string() : modelAddressOf(url);
            gesture([&m, &text] { m.userStatus(std::move(text)); });
        };
        // The page's selected text, brought up to date after the signal; the
        // engine does not signal every change (a script's selection), so it
        // is also looked at a few times a second while the page shows.
        events.selectionChanged = [this] {
            QTimer::singleShot(0, view_, [this] { takeSelection(); });
        };
        view_ = engines_->makeBrowser(std::move(events));
        auto* poll = new QTimer(view_);
        poll->setInterval(250);
        QObject::connect(poll, &QTimer::timeout, view_, [this] {
            if (view_->isVisible()) takeSelection();
        });
        poll->start();
        setWidget(view_);
        return true;
    }

    void takeSelection() {
        platform::WebBrowser& m = m_;
        std::string text = fromQ(engines_->selectedText(view_));
        if (text == m.selection()) return;
        gesture([&m, &text] { m.userSelect(std::move(text)); });
    }

    platform::WebBrowser& m_;
    engines::Engines* engines_ = nullptr;
    QWidget* view_ = nullptr;  // the engine's view, once made
    std::string shown_;
};

}  // namespace

void addWebBrowserView(ViewFactory& f) {
    f.add("WebBrowser", makerOf<WebBrowserView, platform::WebBrowser>());
}

}  // namespace gui
