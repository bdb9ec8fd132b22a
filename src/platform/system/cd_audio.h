// The "cdaudio" device of the multimedia command port on Linux: an audio CD
// in a drive (or a CD image, a .cue file) read digitally and played through
// a sound output. It takes the command strings the program sends under an
// alias ("open cdaudio alias cd", "seek cd to  3", "play cd", "status cd
// position", ...) and answers in their reply forms: TMSF "tt:mm:ss:ff" and
// "mm:ss:ff", or milliseconds counted from the start of the first track.
// Playing runs from the position to the end of the disc. A command it cannot
// carry out (no drive, no disc, the device not open, a command it does not
// know) returns non-zero with an empty reply.
//
// The sound output pulls the disc's sound as it plays and tells how much it
// has played; the position follows what was played, not what was read.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/files/audio_disc.h"
#include "platform/system/mci.h"

namespace platform::system {

// A sound output for CD audio: 44100 Hz, two channels, 16-bit little-endian
// samples (2352 bytes a sector, 75 sectors a second).
class CdAudioOutput {
  public:
    // Fills data with up to max bytes of sound; 0 at the end of the stream.
    using Source = std::function<std::size_t(char* data, std::size_t max)>;

    virtual ~CdAudioOutput() = default;
    // Begins a new stream from source, dropping what the last one queued.
    virtual void start(Source source) = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    // Ends the stream; source is not called again.
    virtual void stop() = 0;
    // Bytes of the stream played so far.
    virtual std::int64_t playedBytes() const = 0;
};

// An output without sound: time passes as if it played (by the steady clock)
// and nothing is read from the disc.
class SilentCdAudioOutput final : public CdAudioOutput {
  public:
    void start(Source source) override;
    void pause() override;
    void resume() override;
    void stop() override;
    std::int64_t playedBytes() const override;

  private:
    std::int64_t played_ = 0;         // before the running stretch
    std::int64_t runningSince_ = -1;  // steady-clock microseconds; -1 when not running
};

// The table of contents of the disc in device ("/dev/sr0", a ".cue" image,
// "" for the system's default CD drive): every track, audio or data; none
// when there is no disc or it cannot be read.
std::vector<files::CdTrack> readCdToc(const std::string& device);

class CdAudioMci final : public Mci {
  public:
    // device names the drive to open ("/dev/sr0", or a ".cue" image) when
    // the device is opened; "" is the system's default CD drive.
    CdAudioMci(std::function<std::string()> device, CdAudioOutput& output);
    ~CdAudioMci() override;
    CdAudioMci(const CdAudioMci&) = delete;
    CdAudioMci& operator=(const CdAudioMci&) = delete;

    int send(std::string_view command, std::string* reply) override;

  private:
    struct Disc;
    int open(std::string_view alias);
    void close();
    int status(const std::vector<std::string>& words, std::string& answer);
    int play(std::int32_t fromLsn);
    void halt(bool keepPosition);
    std::int32_t position();
    std::size_t readSound(char* data, std::size_t max);
    std::int32_t parseTime(std::string_view text) const;

    std::function<std::string()> device_;
    CdAudioOutput& output_;
    std::unique_ptr<Disc> disc_;
    std::string alias_;
    bool milliseconds_ = false;
    enum class Mode { Stopped, Playing, Paused } mode_ = Mode::Stopped;
    std::int32_t positionLsn_ = 0;  // while not playing
    std::int32_t playFromLsn_ = 0;  // where the stream began
    std::int32_t readLsn_ = 0;      // the next sector the stream reads
    std::string sector_;            // what is left of the last sector read
    std::size_t sectorUsed_ = 0;
};

}  // namespace platform::system
