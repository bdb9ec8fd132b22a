// The engines library (see gui/engines.h): Qt WebEngine and Qt Multimedia
// behind the interface the program loads at its first preview.
#include "gui/engines.h"

#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QHash>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPointer>
#include <QTimer>
#include <QVideoWidget>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

namespace gui::engines {

namespace {

// The addresses of the program's scheme requested as a page or a frame, from
// the request guard (which sees every request first) to the handler.
using FrameRequests = QHash<QUrl, int>;

// Serves the documents of the program's scheme from its source.
class DocumentHandler : public QWebEngineUrlSchemeHandler {
  public:
    DocumentHandler(const DocumentSource& source, FrameRequests& frames)
        : source_(source), frames_(frames) {}

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        QByteArray mime;
        QByteArray bytes;
        const QUrl url = job->requestUrl();
        bool frame = false;
        if (auto it = frames_.find(url); it != frames_.end()) {
            frame = true;
            if (--it.value() == 0) frames_.erase(it);
        }
        if (!source_ || !source_(url, frame, mime, bytes)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* buffer = new QBuffer(job);
        buffer->setData(bytes);
        buffer->open(QIODevice::ReadOnly);
        job->reply(mime, buffer);
    }

  private:
    const DocumentSource& source_;
    FrameRequests& frames_;
};

// Keeps the local documents to themselves: while a local document is the
// page, only its own scheme's pictures, style sheets, scripts and frames
// load, and no script fetches anything but what mayRead allows.
class LocalContentGuard : public QWebEngineUrlRequestInterceptor {
  public:
    LocalContentGuard(QString scheme, const ScriptReads& mayRead, FrameRequests& frames)
        : scheme_(std::move(scheme)), mayRead_(mayRead), frames_(frames) {}

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        using I = QWebEngineUrlRequestInfo;
        if (info.requestUrl().scheme() == scheme_ &&
            (info.resourceType() == I::ResourceTypeMainFrame ||
             info.resourceType() == I::ResourceTypeSubFrame))
            ++frames_[info.requestUrl()];
        const bool local =
            info.firstPartyUrl().scheme() == scheme_ || info.initiator().scheme() == scheme_;
        if (!local) return;
        if (info.resourceType() == I::ResourceTypeXhr && mayRead_ &&
            info.requestUrl().scheme() == scheme_ &&
            mayRead_(info.firstPartyUrl(), info.requestUrl()))
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
        if (info.requestUrl().scheme() != scheme_) info.block(true);
    }

  private:
    QString scheme_;
    const ScriptReads& mayRead_;
    FrameRequests& frames_;
};

class PreviewPage : public QWebEnginePage {
  public:
    PreviewPage(QWebEngineProfile* profile, QObject* parent, BrowserEvents events)
        : QWebEnginePage(profile, parent), events_(std::move(events)) {
        QObject::connect(this, &QWebEnginePage::linkHovered, this, [this](const QString& url) {
            if (events_.linkHovered) events_.linkHovered(url.isEmpty() ? QUrl() : QUrl(url));
        });
        QObject::connect(this, &QWebEnginePage::selectionChanged, this, [this] {
            if (events_.selectionChanged) events_.selectionChanged();
        });
    }

    // The address the owner asked for (followed); any other navigation of
    // the page's own frame goes to the owner instead.
    QUrl loading;

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (!isMainFrame || url == loading) return true;
        QPointer<PreviewPage> self(this);
        QTimer::singleShot(0, this, [self, url] {
            if (self && self->events_.follow) self->events_.follow(url);
        });
        return false;
    }
    QWebEnginePage* createWindow(WebWindowType) override {
        if (events_.newWindow) events_.newWindow();
        return nullptr;  // no other window: the page stays where it is
    }

  private:
    BrowserEvents events_;
};

class QtPlayer final : public Player {
  public:
    explicit QtPlayer(std::function<void()> endOfMedia) {
        player_ = new QMediaPlayer(&owner_);
        audio_ = new QAudioOutput(&owner_);
        player_->setAudioOutput(audio_);
        QObject::connect(player_, &QMediaPlayer::mediaStatusChanged, &owner_,
                         [end = std::move(endOfMedia)](QMediaPlayer::MediaStatus status) {
                             if (status == QMediaPlayer::EndOfMedia && end) end();
                         });
    }
    ~QtPlayer() override {
        player_->stop();
        player_->setVideoOutput(nullptr);
    }

    void setSource(const QUrl& url) override { player_->setSource(url); }
    void play() override { player_->play(); }
    void pause() override { player_->pause(); }
    void stop() override { player_->stop(); }
    bool playing() const override { return player_->playbackState() == QMediaPlayer::PlayingState; }
    qint64 position() const override { return player_->position(); }
    void setPosition(qint64 ms) override { player_->setPosition(ms); }
    qint64 duration() const override { return player_->duration(); }
    void setVideoOutput(QWidget* video) override {
        player_->setVideoOutput(qobject_cast<QVideoWidget*>(video));
    }

  private:
    QObject owner_;  // parent of the player and the output
    QMediaPlayer* player_;
    QAudioOutput* audio_;
};

class QtSound final : public SoundOutput {
  public:
    QtSound(QIODevice* source, int sampleRate, int channels) {
        QAudioFormat format;
        format.setSampleRate(sampleRate);
        format.setChannelCount(channels);
        format.setSampleFormat(QAudioFormat::Int16);
        sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format);
        sink_->start(source);
    }
    void suspend() override { sink_->suspend(); }
    void resume() override { sink_->resume(); }
    void stop() override { sink_->stop(); }
    qint64 processedUSecs() const override { return sink_->processedUSecs(); }

  private:
    std::unique_ptr<QAudioSink> sink_;
};

class QtEngines final : public Engines {
  public:
    void useScheme(const char* scheme, DocumentSource source, ScriptReads mayRead) override {
        scheme_ = QString::fromLatin1(scheme);
        source_ = std::move(source);
        mayRead_ = std::move(mayRead);
        QWebEngineUrlScheme s(scheme);
        s.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        s.setFlags(QWebEngineUrlScheme::SecureScheme);
        QWebEngineUrlScheme::registerScheme(s);
    }

    QWidget* makeBrowser(BrowserEvents events) override {
        auto* view = new QWebEngineView;
        view->setPage(new PreviewPage(&profile(), view, std::move(events)));
        return view;
    }

    void load(QWidget* browser, const QUrl& url) override {
        auto* page = static_cast<PreviewPage*>(static_cast<QWebEngineView*>(browser)->page());
        page->loading = url;
        page->load(url);
    }

    QString selectedText(QWidget* browser) const override {
        return static_cast<QWebEngineView*>(browser)->page()->selectedText();
    }

    std::unique_ptr<Player> makePlayer(std::function<void()> endOfMedia) override {
        return std::make_unique<QtPlayer>(std::move(endOfMedia));
    }

    QWidget* makeVideoWidget() override { return new QVideoWidget; }

    std::unique_ptr<SoundOutput> startSound(QIODevice* source, int sampleRate,
                                            int channels) override {
        return std::make_unique<QtSound>(source, sampleRate, channels);
    }

  private:
    // The profile every preview browser shares (off the record: nothing of
    // a preview is kept on disk), made with the first browser.
    QWebEngineProfile& profile() {
        if (!profile_) {
            // Owned by the application; the handler and the guard by the profile.
            profile_ = new QWebEngineProfile(QCoreApplication::instance());
            auto* handler = new DocumentHandler(source_, frames_);
            handler->setParent(profile_);
            auto* guard = new LocalContentGuard(scheme_, mayRead_, frames_);
            guard->setParent(profile_);
            profile_->installUrlSchemeHandler(scheme_.toLatin1(), handler);
            profile_->setUrlRequestInterceptor(guard);
            QWebEngineSettings* settings = profile_->settings();
            settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
            settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
            settings->setDefaultTextEncoding(QStringLiteral("GBK"));
        }
        return *profile_;
    }

    QString scheme_;
    DocumentSource source_;
    ScriptReads mayRead_;
    FrameRequests frames_;
    QPointer<QWebEngineProfile> profile_;
};

}  // namespace

}  // namespace gui::engines

gui::engines::Engines* zelbrinEngines() {
    static gui::engines::QtEngines engines;
    return &engines;
}
