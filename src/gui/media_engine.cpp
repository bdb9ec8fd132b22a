#include "gui/media_engine.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>
#include <QVideoWidget>
#include <algorithm>

#include "gui/qt_convert.h"
#include "platform/files/paths.h"

namespace gui {

QtMediaEngine::QtMediaEngine() : owner_(std::make_unique<QObject>()) {
    player_ = new QMediaPlayer(owner_.get());
    audio_ = new QAudioOutput(owner_.get());
    player_->setAudioOutput(audio_);
    QObject::connect(player_, &QMediaPlayer::mediaStatusChanged, owner_.get(),
                     [this](QMediaPlayer::MediaStatus status) {
                         if (status == QMediaPlayer::EndOfMedia) endOfStream();
                     });
}

QtMediaEngine::~QtMediaEngine() {
    player_->stop();
    player_->setVideoOutput(nullptr);
}

void QtMediaEngine::open(const std::string& windowsPath) {
    const std::string native = platform::files::resolveExisting(windowsPath).native;
    player_->setSource(QUrl::fromLocalFile(toQ(native)));
}

void QtMediaEngine::close() { player_->setSource(QUrl()); }

void QtMediaEngine::play() { player_->play(); }

void QtMediaEngine::pause() { player_->pause(); }

void QtMediaEngine::stop() {
    if (player_->playbackState() == QMediaPlayer::PlayingState) player_->pause();
}

double QtMediaEngine::position() const { return static_cast<double>(player_->position()) / 1000; }

void QtMediaEngine::setPosition(double seconds) {
    player_->setPosition(static_cast<qint64>(seconds * 1000));
}

void QtMediaEngine::fastForward() {
    const qint64 end = player_->duration();
    qint64 to = player_->position() + 10000;
    if (end > 0) to = std::min(to, end);
    player_->setPosition(to);
}

void QtMediaEngine::fastReverse() {
    player_->setPosition(std::max<qint64>(0, player_->position() - 10000));
}

void QtMediaEngine::setVideoOutput(QVideoWidget* widget) { player_->setVideoOutput(widget); }

void useQtMediaEngine() {
    platform::setMediaEngineFactory([] { return std::make_unique<QtMediaEngine>(); });
}

}  // namespace gui
