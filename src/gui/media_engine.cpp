#include "gui/media_engine.h"

#include <QUrl>
#include <algorithm>

#include "gui/qt_convert.h"
#include "platform/files/paths.h"

namespace gui {

QtMediaEngine::QtMediaEngine() = default;

QtMediaEngine::~QtMediaEngine() = default;

engines::Player* QtMediaEngine::player() {
    if (!player_) {
        engines::Engines* e = engines::engines();
        if (e == nullptr) return nullptr;
        player_ = e->makePlayer([this] { endOfStream(); });
        player_->setVideoOutput(video_);
    }
    return player_.get();
}

void QtMediaEngine::open(const std::string& windowsPath) {
    const std::string native = platform::files::resolveExisting(windowsPath).native;
    if (engines::Player* p = player()) p->setSource(QUrl::fromLocalFile(toQ(native)));
}

void QtMediaEngine::close() {
    if (player_) player_->setSource(QUrl());
}

void QtMediaEngine::play() {
    if (engines::Player* p = player()) p->play();
}

void QtMediaEngine::pause() {
    if (player_) player_->pause();
}

void QtMediaEngine::stop() {
    if (player_ && player_->playing()) player_->pause();
}

double QtMediaEngine::position() const {
    return player_ ? static_cast<double>(player_->position()) / 1000 : 0;
}

double QtMediaEngine::duration() const {
    return player_ ? static_cast<double>(std::max<qint64>(0, player_->duration())) / 1000 : 0;
}

void QtMediaEngine::setPosition(double seconds) {
    if (player_) player_->setPosition(static_cast<qint64>(seconds * 1000));
}

void QtMediaEngine::fastForward() {
    if (!player_) return;
    const qint64 end = player_->duration();
    qint64 to = player_->position() + 10000;
    if (end > 0) to = std::min(to, end);
    player_->setPosition(to);
}

void QtMediaEngine::fastReverse() {
    if (player_) player_->setPosition(std::max<qint64>(0, player_->position() - 10000));
}

void QtMediaEngine::setVideoOutput(QWidget* widget) {
    video_ = widget;
    if (player_) player_->setVideoOutput(widget);
}

void useQtMediaEngine() {
    platform::setMediaEngineFactory([] { return std::make_unique<QtMediaEngine>(); });
}

}  // namespace gui
