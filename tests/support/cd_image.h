// A small audio-CD image for tests: a BIN/CUE pair of audio tracks whose
// sound is a known pattern, and a sound output that plays only as far as the
// test pulls it.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files/audio_disc.h"
#include "platform/files/drive_table.h"
#include "platform/system/cd_audio.h"

namespace testsupport {

constexpr std::int64_t CdSector = 2352;

// The byte i of sector lsn: a pattern that differs from sector to sector.
inline char cdImageByte(std::int64_t lsn, std::int64_t i) {
    std::uint32_t x = static_cast<std::uint32_t>(lsn * 2654435761u + i * 40503u);
    x ^= x >> 13;
    return static_cast<char>(x * 0x5bd1e995u >> 24);
}

// Writes folder/disc.bin and folder/disc.cue with tracks of these lengths in
// sectors (75 a second); returns the .cue path.
inline std::string writeCdImage(const std::string& folder, const std::vector<int>& sectors) {
    std::string bin;
    std::string cue = "FILE \"disc.bin\" BINARY\r\n";
    std::int64_t lsn = 0;
    for (std::size_t t = 0; t < sectors.size(); ++t) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "  TRACK %02d AUDIO\r\n    INDEX 01 %02d:%02d:%02d\r\n",
                      static_cast<int>(t + 1), static_cast<int>(lsn / 75 / 60),
                      static_cast<int>(lsn / 75 % 60), static_cast<int>(lsn % 75));
        cue += buf;
        for (int s = 0; s < sectors[t]; ++s, ++lsn)
            for (std::int64_t i = 0; i < CdSector; ++i) bin += cdImageByte(lsn, i);
    }
    std::ofstream(folder + "/disc.bin", std::ios::binary) << bin;
    std::ofstream(folder + "/disc.cue", std::ios::binary) << cue;
    return folder + "/disc.cue";
}

// The CD drive letter (such as "E:") holding the image of cue as an audio CD.
inline platform::files::DriveEntry audioCdDrive(std::string letter, std::string cue) {
    return {.name = std::move(letter),
            .device = std::move(cue),
            .kind = platform::files::DriveKind::CdRom};
}

// While it lives, the tracks of an audio CD show as TrackNN.cda files, made
// in folder.
class ScopedAudioDiscs {
  public:
    explicit ScopedAudioDiscs(std::string folder) {
        platform::files::setAudioDiscReader(platform::system::readCdToc, std::move(folder));
    }
    ~ScopedAudioDiscs() { platform::files::setAudioDiscReader(nullptr, {}); }
    ScopedAudioDiscs(const ScopedAudioDiscs&) = delete;
    ScopedAudioDiscs& operator=(const ScopedAudioDiscs&) = delete;
};

// The sound of sectors [from, from + count) as the image holds it.
inline std::string cdImageSound(std::int64_t from, std::int64_t count) {
    std::string out;
    for (std::int64_t lsn = from; lsn < from + count; ++lsn)
        for (std::int64_t i = 0; i < CdSector; ++i) out += cdImageByte(lsn, i);
    return out;
}

// Plays only when the test pulls: pull(n) takes n bytes from the stream.
class PulledCdAudioOutput : public platform::system::CdAudioOutput {
  public:
    void start(Source source) override {
        source_ = std::move(source);
        played_ = 0;
        paused_ = false;
        ++starts;
    }
    void pause() override { paused_ = true; }
    void resume() override { paused_ = false; }
    void stop() override { source_ = nullptr; }
    std::int64_t playedBytes() const override { return played_; }

    // Pulls up to n bytes (none while paused or stopped); returns them.
    std::string pull(std::int64_t n) {
        std::string out(static_cast<std::size_t>(n), '\0');
        if (!source_ || paused_) return "";
        std::size_t got = 0;
        while (got < out.size()) {
            const std::size_t k = source_(out.data() + got, out.size() - got);
            if (k == 0) break;
            got += k;
        }
        out.resize(got);
        played_ += static_cast<std::int64_t>(got);
        return out;
    }
    std::string pullSeconds(double s) { return pull(static_cast<std::int64_t>(s * 75) * CdSector); }
    bool streaming() const { return static_cast<bool>(source_); }
    int starts = 0;

  private:
    Source source_;
    std::int64_t played_ = 0;
    bool paused_ = false;
};

}  // namespace testsupport
