#include "platform/controls/media_player.h"

#include "platform/ui/dispatcher.h"

namespace platform {

namespace {
MediaEngineFactory& engineFactory() {
    static MediaEngineFactory factory;
    return factory;
}
}  // namespace

void setMediaEngineFactory(MediaEngineFactory factory) { engineFactory() = std::move(factory); }

MediaPlayer::MediaPlayer(Form& owner, std::string name)
    : Control(owner, std::move(name)), self_(std::make_shared<MediaPlayer*>(this)) {}

MediaPlayer::~MediaPlayer() {
    *self_ = nullptr;
    if (engine_) engine_->setEndOfStreamHandler(nullptr);
}

MediaEngine& MediaPlayer::engine() const {
    if (!engine_) {
        const MediaEngineFactory& factory = engineFactory();
        engine_ = factory ? factory() : nullptr;
        if (!engine_) engine_ = std::make_unique<NullMediaEngine>();
        attach(*engine_);
    }
    return *engine_;
}

void MediaPlayer::attach(MediaEngine& engine) const {
    // The end of a file is an event of its own, run after the command that
    // is running (if any) has ended.
    std::weak_ptr<MediaPlayer*> self = self_;
    engine.setEndOfStreamHandler([self] {
        Dispatcher::instance().post([self] {
            auto alive = self.lock();
            if (!alive || !*alive) return;
            MediaPlayer& player = **alive;
            player.setState(MediaState::Stopped);
            if (player.EndOfStream) player.EndOfStream(0);
        });
    });
}

void MediaPlayer::setEngine(std::unique_ptr<MediaEngine> engine) {
    if (engine_) engine_->setEndOfStreamHandler(nullptr);
    engine_ = std::move(engine);
    if (engine_) attach(*engine_);
    if (!fileName_.empty()) {
        fileName_.clear();
        changed();
    }
    setState(MediaState::Stopped);
}

void MediaPlayer::setState(MediaState s) { setField(state_, s); }

void MediaPlayer::setFileName(std::string path) {
    MediaEngine& e = engine();
    if (path.empty()) {
        e.close();
    } else {
        try {
            e.open(path);
        } catch (...) {
            fileName_.clear();
            setState(MediaState::Stopped);
            changed();
            throw;
        }
    }
    fileName_ = std::move(path);
    setState(MediaState::Stopped);
    changed();
    if (autoStart_) play();
}

void MediaPlayer::setAutoStart(bool v) { setField(autoStart_, v); }

void MediaPlayer::play() {
    if (fileName_.empty()) return;
    engine().play();
    setState(MediaState::Playing);
}

void MediaPlayer::pause() {
    if (fileName_.empty() || state_ != MediaState::Playing) return;
    engine().pause();
    setState(MediaState::Paused);
}

void MediaPlayer::stop() {
    engine().stop();
    setState(MediaState::Stopped);
}

double MediaPlayer::currentPosition() const { return fileName_.empty() ? 0 : engine().position(); }

double MediaPlayer::duration() const { return fileName_.empty() ? 0 : engine().duration(); }

void MediaPlayer::setCurrentPosition(double seconds) {
    if (fileName_.empty()) return;
    engine().setPosition(seconds < 0 ? 0 : seconds);
    changed();
}

void MediaPlayer::fastForward() {
    if (!fileName_.empty()) engine().fastForward();
}

void MediaPlayer::fastReverse() {
    if (!fileName_.empty()) engine().fastReverse();
}

}  // namespace platform
