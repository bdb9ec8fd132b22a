#include "gui/cd_audio_sink.h"

#include <QIODevice>

#include "gui/engines.h"

namespace gui {

// The device the sink reads: the disc's sound from the source, nothing after
// its end.
class QtCdAudioOutput::Stream final : public QIODevice {
  public:
    explicit Stream(Source source) : source_(std::move(source)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    void detach() { source_ = nullptr; }

  protected:
    qint64 readData(char* data, qint64 max) override {
        if (!source_ || max <= 0) return 0;
        return static_cast<qint64>(source_(data, static_cast<std::size_t>(max)));
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    Source source_;
};

QtCdAudioOutput::QtCdAudioOutput() = default;

QtCdAudioOutput::~QtCdAudioOutput() { stop(); }

void QtCdAudioOutput::start(Source source) {
    stop();
    engines::Engines* e = engines::engines();
    if (e == nullptr) return;
    stream_ = std::make_unique<Stream>(std::move(source));
    sink_ = e->startSound(stream_.get(), 44100, 2);
}

void QtCdAudioOutput::pause() {
    if (sink_) sink_->suspend();
}

void QtCdAudioOutput::resume() {
    if (sink_) sink_->resume();
}

void QtCdAudioOutput::stop() {
    if (stream_) stream_->detach();
    if (sink_) sink_->stop();
    // The sink goes before the stream it reads.
    sink_.reset();
    stream_.reset();
}

std::int64_t QtCdAudioOutput::playedBytes() const {
    if (!sink_) return 0;
    // 176400 bytes a second.
    return sink_->processedUSecs() * 176400 / 1000000 / 4 * 4;
}

}  // namespace gui
