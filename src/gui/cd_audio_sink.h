// The sound output of the audio CD on the desktop: a QAudioSink that pulls
// the disc's sound (44100 Hz, stereo, 16-bit) from the cdaudio device as it
// plays, on the default output of the system. The sink comes from the
// engines library (gui/engines.h), loaded when a disc first plays.
#pragma once

#include <memory>

#include "platform/system/cd_audio.h"

namespace gui {

namespace engines {
class SoundOutput;
}

class QtCdAudioOutput final : public platform::system::CdAudioOutput {
  public:
    QtCdAudioOutput();
    ~QtCdAudioOutput() override;
    QtCdAudioOutput(const QtCdAudioOutput&) = delete;
    QtCdAudioOutput& operator=(const QtCdAudioOutput&) = delete;

    void start(Source source) override;
    void pause() override;
    void resume() override;
    void stop() override;
    std::int64_t playedBytes() const override;

  private:
    class Stream;
    std::unique_ptr<Stream> stream_;
    std::unique_ptr<engines::SoundOutput> sink_;
};

}  // namespace gui
