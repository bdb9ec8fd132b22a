#include "gui/web_view.h"

#include <unistd.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "gui/control_view.h"
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

// Serves the local documents: the file or folder of the address's Windows
// path, read through the drive table.
class DocumentHandler : public QWebEngineUrlSchemeHandler {
  public:
    void requestStarted(QWebEngineUrlRequestJob* job) override {
        const std::string path = windowsPathOfDocumentUrl(job->requestUrl());
        std::string mime;
        std::string bytes;
        if (path.empty() || !document(path, mime, bytes)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* buffer = new QBuffer(job);
        buffer->setData(bytes.data(), static_cast<qsizetype>(bytes.size()));
        buffer->open(QIODevice::ReadOnly);
        job->reply(QByteArray::fromStdString(mime), buffer);
    }

  private:
    static bool document(const std::string& path, std::string& mime, std::string& bytes) {
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
        if (!std::filesystem::is_regular_file(native, ec) || !readWhole(native, bytes))
            return false;
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
                mime = "text/plain;charset=utf-8";
                return true;
        }
        return false;
    }
};

// Keeps the local documents to themselves: while a local document is the
// page, only its own scheme's pictures, style sheets, scripts and frames
// load, and no script fetches anything but the help sitemaps beside the page.
class LocalContentGuard : public QWebEngineUrlRequestInterceptor {
  public:
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        using I = QWebEngineUrlRequestInfo;
        const bool local = info.firstPartyUrl().scheme() == QLatin1String(Scheme) ||
                           info.initiator().scheme() == QLatin1String(Scheme);
        if (!local) return;
        // The contents page of generated web pages reads its sitemap.
        if (info.resourceType() == I::ResourceTypeXhr &&
            scriptMayRead(windowsPathOfDocumentUrl(info.firstPartyUrl()),
                          windowsPathOfDocumentUrl(info.requestUrl())))
            return;
        switch (info.resourceType()) {
            case I::ResourceTypeMainFrame:
                return;
            case I::ResourceTypeXhr:
            case I::ResourceTypePing:
            case I::ResourceTypeWorker:
            case I::ResourceTypeSharedWorker:
            case I::ResourceTypeServiceWorker:
            case I::ResourceTypePrefetch:
            case I::ResourceTypeCspReport:
            case I::ResourceTypePluginResource:
            case I::ResourceTypeNavigationPreloadMainFrame:
            case I::ResourceTypeNavigationPreloadSubFrame:
                info.block(true);
                return;
            default:
                break;
        }
        if (info.requestUrl().scheme() != QLatin1String(Scheme)) info.block(true);
    }
};

// The profile every preview browser shares (off the record: nothing of a
// preview is kept on disk).
QWebEngineProfile& previewProfile() {
    static QPointer<QWebEngineProfile> profile;
    if (!profile) {
        // Owned by the application; the handler and the guard by the profile.
        profile = new QWebEngineProfile(QCoreApplication::instance());
        auto* handler = new DocumentHandler;
        handler->setParent(profile);
        auto* guard = new LocalContentGuard;
        guard->setParent(profile);
        profile->installUrlSchemeHandler(Scheme, handler);
        profile->setUrlRequestInterceptor(guard);
        QWebEngineSettings* settings = profile->settings();
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        settings->setDefaultTextEncoding(QStringLiteral("GBK"));
    }
    return *profile;
}

}  // namespace

void prepareWebEngine() {
    QWebEngineUrlScheme scheme(Scheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
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

class PreviewPage : public QWebEnginePage {
  public:
    explicit PreviewPage(QObject* parent) : QWebEnginePage(&previewProfile(), parent) {}

    // The address this view asked for (followed); any other navigation of
    // the page's own frame goes to the model instead.
    QUrl loading;
    std::function<void(const std::string&)> onFollow;
    std::function<void()> onNewWindow;

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (!isMainFrame || url == loading) return true;
        const std::string address = modelAddressOf(url);
        QPointer<PreviewPage> self(this);
        QTimer::singleShot(0, this, [self, address] {
            if (self && self->onFollow) self->onFollow(address);
        });
        return false;
    }
    QWebEnginePage* createWindow(WebWindowType) override {
        if (onNewWindow) onNewWindow();
        return nullptr;  // no other window: the page stays where it is
    }
};

class WebBrowserView : public ControlView {
  public:
    WebBrowserView(platform::WebBrowser& m, FormView& f) : ControlView(m, f), m_(m) {
        view_ = new QWebEngineView;
        page_ = new PreviewPage(view_);
        view_->setPage(page_);
        page_->onFollow = [this](const std::string& address) {
            platform::WebBrowser& m = m_;
            gesture([&m, &address] { m.userFollowLink(address); });
        };
        page_->onNewWindow = [this] {
            platform::WebBrowser& m = m_;
            gesture([&m] { m.userNewWindow(); });
        };
        QObject::connect(page_, &QWebEnginePage::linkHovered, view_, [this](const QString& url) {
            platform::WebBrowser& m = m_;
            std::string text = url.isEmpty() ? std::string() : modelAddressOf(QUrl(url));
            gesture([&m, &text] { m.userStatus(std::move(text)); });
        });
        // The page's selected text, brought up to date after the signal; the
        // engine does not signal every change (a script's selection), so it
        // is also looked at a few times a second while the page shows.
        QObject::connect(page_, &QWebEnginePage::selectionChanged, view_,
                         [this] { QTimer::singleShot(0, view_, [this] { takeSelection(); }); });
        auto* poll = new QTimer(view_);
        poll->setInterval(250);
        QObject::connect(poll, &QTimer::timeout, view_, [this] {
            if (view_->isVisible()) takeSelection();
        });
        poll->start();
        setWidget(view_);
    }

  protected:
    void apply() override {
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
        page_->loading = url;
        page_->load(url);
    }

  private:
    void takeSelection() {
        platform::WebBrowser& m = m_;
        std::string text = fromQ(page_->selectedText());
        if (text == m.selection()) return;
        gesture([&m, &text] { m.userSelect(std::move(text)); });
    }

    platform::WebBrowser& m_;
    QWebEngineView* view_;
    PreviewPage* page_;
    std::string shown_;
};

}  // namespace

void addWebBrowserView(ViewFactory& f) {
    f.add("WebBrowser", makerOf<WebBrowserView, platform::WebBrowser>());
}

}  // namespace gui
