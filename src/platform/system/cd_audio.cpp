#include "platform/system/cd_audio.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace platform::system {

namespace {

constexpr std::int64_t SectorBytes = CDIO_CD_FRAMESIZE_RAW;  // 2352
constexpr std::int32_t SectorsPerSecond = 75;

std::int64_t steadyMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::vector<std::string> words(std::string_view command) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < command.size()) {
        while (i < command.size() && (command[i] == ' ' || command[i] == '\t')) ++i;
        std::size_t j = i;
        while (j < command.size() && command[j] != ' ' && command[j] != '\t') ++j;
        if (j > i) out.push_back(lower(command.substr(i, j - i)));
        i = j;
    }
    return out;
}

std::string twoDigits(std::int32_t n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", static_cast<int>(n));
    return buf;
}

// A whole number of the text ("3", "0012"); -1 when it is none.
std::int64_t number(std::string_view s) {
    if (s.empty() || s.size() > 12) return -1;
    std::int64_t n = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

// Without the "wait" and "notify" flags, which change nothing here.
std::vector<std::string> withoutFlags(std::vector<std::string> w) {
    std::erase_if(w, [](const std::string& s) { return s == "wait" || s == "notify"; });
    return w;
}

// libcdio's own handler ends the process on an error (a missing image, a
// drive that does not answer): the failed call's result is what counts here.
void quietLog(cdio_log_level_t, const char*) {}

bool isCueImage(std::string_view dev) {
    return dev.size() > 4 && lower(dev.substr(dev.size() - 4)) == ".cue";
}

// The drive or image of a device name; null when it cannot be opened.
CdIo_t* openCd(const std::string& dev) {
    cdio_log_set_handler(quietLog);
    if (isCueImage(dev)) return cdio_open_cue(dev.c_str());
    return cdio_open(dev.empty() ? nullptr : dev.c_str(), DRIVER_DEVICE);
}

// The tracks of the disc, each running to the next one's start (the last one
// to the lead-out); none without a disc.
std::vector<files::CdTrack> tocOf(CdIo_t* cdio) {
    std::vector<files::CdTrack> toc;
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) return toc;
    for (track_t t = first; t < first + count; ++t)
        toc.push_back({.number = t,
                       .start = cdio_get_track_lsn(cdio, t),
                       .audio = cdio_get_track_format(cdio, t) == TRACK_FORMAT_AUDIO});
    const std::int32_t leadout = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
    for (std::size_t i = 0; i < toc.size(); ++i)
        toc[i].sectors = (i + 1 < toc.size() ? toc[i + 1].start : leadout) - toc[i].start;
    return toc;
}

}  // namespace

std::vector<files::CdTrack> readCdToc(const std::string& device) {
    CdIo_t* cdio = openCd(device);
    if (cdio == nullptr) return {};
    std::vector<files::CdTrack> toc = tocOf(cdio);
    cdio_destroy(cdio);
    return toc;
}

// ---- the silent output ----

void SilentCdAudioOutput::start(Source) {
    played_ = 0;
    runningSince_ = steadyMicros();
}

void SilentCdAudioOutput::pause() {
    played_ = playedBytes();
    runningSince_ = -1;
}

void SilentCdAudioOutput::resume() {
    if (runningSince_ < 0) runningSince_ = steadyMicros();
}

void SilentCdAudioOutput::stop() { pause(); }

std::int64_t SilentCdAudioOutput::playedBytes() const {
    if (runningSince_ < 0) return played_;
    return played_ + (steadyMicros() - runningSince_) * SectorBytes * SectorsPerSecond / 1000000;
}

// ---- the disc ----

struct CdAudioMci::Disc {
    CdIo_t* cdio = nullptr;
    cdrom_drive_t* drive = nullptr;
    cdrom_paranoia_t* paranoia = nullptr;
    std::string device;
    // Start sectors of tracks 1..n (index 0 unused) and the lead-out.
    std::vector<std::int32_t> start;
    std::vector<bool> audio;
    std::int32_t leadout = 0;

    ~Disc() {
        if (paranoia) cdio_paranoia_free(paranoia);
        if (drive) cdio_cddap_close_no_free_cdio(drive);
        if (cdio) cdio_destroy(cdio);
    }
    std::int32_t tracks() const { return static_cast<std::int32_t>(start.size()) - 1; }
    bool present() const { return tracks() > 0; }
    std::int32_t firstSector() const { return start[1]; }
    // The track a sector lies in (the last one for the lead-out).
    std::int32_t trackAt(std::int32_t lsn) const {
        std::int32_t t = 1;
        while (t < tracks() && lsn >= start[static_cast<std::size_t>(t) + 1]) ++t;
        return t;
    }
    std::int32_t trackEnd(std::int32_t t) const {
        return t < tracks() ? start[static_cast<std::size_t>(t) + 1] : leadout;
    }
};

CdAudioMci::CdAudioMci(std::function<std::string()> device, CdAudioOutput& output)
    : device_(std::move(device)), output_(output) {
    cdio_log_set_handler(quietLog);
}

CdAudioMci::~CdAudioMci() { close(); }

int CdAudioMci::open(std::string_view alias) {
    close();
    auto disc = std::make_unique<Disc>();
    disc->device = device_ ? device_() : std::string();
    disc->cdio = openCd(disc->device);
    if (disc->cdio == nullptr) return 1;
    // The table of contents; a drive without a disc has none.
    const std::vector<files::CdTrack> toc = tocOf(disc->cdio);
    if (!toc.empty()) {
        disc->start.push_back(0);
        disc->audio.push_back(false);
        for (const files::CdTrack& t : toc) {
            disc->start.push_back(t.start);
            disc->audio.push_back(t.audio);
        }
        disc->leadout = toc.back().start + toc.back().sectors;
        // Digital reading with error correction where the drive allows it.
        disc->drive = cdio_cddap_identify_cdio(disc->cdio, CDDA_MESSAGE_FORGETIT, nullptr);
        if (disc->drive && cdio_cddap_open(disc->drive) == 0) {
            disc->paranoia = cdio_paranoia_init(disc->drive);
            cdio_paranoia_modeset(disc->paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
        }
    }
    disc_ = std::move(disc);
    alias_ = std::string(alias);
    milliseconds_ = false;
    mode_ = Mode::Stopped;
    positionLsn_ = disc_->present() ? disc_->firstSector() : 0;
    return 0;
}

void CdAudioMci::close() {
    if (mode_ != Mode::Stopped) output_.stop();
    mode_ = Mode::Stopped;
    disc_.reset();
    alias_.clear();
}

std::int32_t CdAudioMci::position() {
    if (mode_ != Mode::Playing) return positionLsn_;
    const auto lsn = static_cast<std::int32_t>(playFromLsn_ + output_.playedBytes() / SectorBytes);
    if (lsn >= disc_->leadout) {
        // Played to the end of the disc.
        output_.stop();
        mode_ = Mode::Stopped;
        positionLsn_ = disc_->leadout;
        return positionLsn_;
    }
    return lsn;
}

int CdAudioMci::play(std::int32_t fromLsn) {
    if (!disc_->present()) return 1;
    output_.stop();
    fromLsn = std::clamp(fromLsn, disc_->firstSector(), disc_->leadout);
    playFromLsn_ = fromLsn;
    readLsn_ = fromLsn;
    sector_.clear();
    sectorUsed_ = 0;
    if (disc_->paranoia) cdio_paranoia_seek(disc_->paranoia, fromLsn, SEEK_SET);
    mode_ = Mode::Playing;
    output_.start([this](char* data, std::size_t max) { return readSound(data, max); });
    return 0;
}

void CdAudioMci::halt(bool keepPosition) {
    const std::int32_t at = position();
    if (mode_ != Mode::Stopped) output_.stop();
    mode_ = Mode::Stopped;
    if (keepPosition) positionLsn_ = at;
}

std::size_t CdAudioMci::readSound(char* data, std::size_t max) {
    std::size_t done = 0;
    while (done < max && disc_) {
        if (sectorUsed_ >= sector_.size()) {
            if (readLsn_ >= disc_->leadout) break;
            sector_.assign(SectorBytes, '\0');
            sectorUsed_ = 0;
            const std::int32_t lsn = readLsn_++;
            if (!disc_->audio[static_cast<std::size_t>(disc_->trackAt(lsn))]) continue;  // silence
            const int16_t* read = nullptr;
            if (disc_->paranoia) read = cdio_paranoia_read(disc_->paranoia, nullptr);
            if (read != nullptr)
                std::memcpy(sector_.data(), read, SectorBytes);
            else
                cdio_read_audio_sectors(disc_->cdio, sector_.data(), lsn, 1);
        }
        const std::size_t n = std::min(max - done, sector_.size() - sectorUsed_);
        std::memcpy(data + done, sector_.data() + sectorUsed_, n);
        sectorUsed_ += n;
        done += n;
    }
    return done;
}

// A time of the current format: milliseconds from the first track's start,
// or TMSF "t", "t:m", "t:m:s" or "t:m:s:f". -1 when it is none.
std::int32_t CdAudioMci::parseTime(std::string_view text) const {
    if (milliseconds_) {
        const std::int64_t ms = number(text);
        if (ms < 0) return -1;
        return static_cast<std::int32_t>(disc_->firstSector() + ms * SectorsPerSecond / 1000);
    }
    std::int64_t field[4] = {0, 0, 0, 0};
    std::size_t i = 0;
    for (int k = 0; k < 4; ++k) {
        const std::size_t colon = text.find(':', i);
        field[k] = number(text.substr(i, colon == std::string_view::npos ? colon : colon - i));
        if (field[k] < 0) return -1;
        if (colon == std::string_view::npos) break;
        i = colon + 1;
        if (k == 3) return -1;
    }
    if (field[0] < 1 || field[0] > disc_->tracks()) return -1;
    return static_cast<std::int32_t>(disc_->start[static_cast<std::size_t>(field[0])] +
                                     (field[1] * 60 + field[2]) * SectorsPerSecond + field[3]);
}

int CdAudioMci::status(const std::vector<std::string>& w, std::string& answer) {
    // w: "status", alias, item...
    const std::vector<std::string> item(w.begin() + 2, w.end());
    if (item == std::vector<std::string>{"media", "present"}) {
        answer = disc_->present() ? "true" : "false";
        return 0;
    }
    if (item == std::vector<std::string>{"mode"}) {
        const std::int32_t at = position();
        (void)at;
        answer = !disc_->present()        ? "not ready"
                 : mode_ == Mode::Playing ? "playing"
                 : mode_ == Mode::Paused  ? "paused"
                                          : "stopped";
        return 0;
    }
    if (!disc_->present()) return 1;
    if (item == std::vector<std::string>{"number", "of", "tracks"}) {
        answer = std::to_string(disc_->tracks());
        return 0;
    }
    if (item == std::vector<std::string>{"position"}) {
        const std::int32_t lsn = position();
        if (milliseconds_) {
            answer =
                std::to_string(std::int64_t{lsn - disc_->firstSector()} * 1000 / SectorsPerSecond);
            return 0;
        }
        const std::int32_t t = disc_->trackAt(lsn);
        const std::int32_t rel = lsn - disc_->start[static_cast<std::size_t>(t)];
        answer = twoDigits(t) + ":" + twoDigits(rel / SectorsPerSecond / 60) + ":" +
                 twoDigits(rel / SectorsPerSecond % 60) + ":" + twoDigits(rel % SectorsPerSecond);
        return 0;
    }
    if (item.size() == 3 && item[0] == "length" && item[1] == "track") {
        const std::int64_t t = number(item[2]);
        if (t < 1 || t > disc_->tracks()) return 1;
        const auto track = static_cast<std::int32_t>(t);
        const std::int32_t sectors =
            disc_->trackEnd(track) - disc_->start[static_cast<std::size_t>(track)];
        if (milliseconds_) {
            answer = std::to_string(std::int64_t{sectors} * 1000 / SectorsPerSecond);
            return 0;
        }
        answer = twoDigits(sectors / SectorsPerSecond / 60) + ":" +
                 twoDigits(sectors / SectorsPerSecond % 60) + ":" +
                 twoDigits(sectors % SectorsPerSecond);
        return 0;
    }
    return 1;
}

int CdAudioMci::send(std::string_view command, std::string* reply) {
    std::string answer;
    const std::vector<std::string> w = withoutFlags(words(command));
    int rc = 1;
    if (w == std::vector<std::string>{"close", "all"}) {
        close();
        rc = 0;
    } else if (w.size() >= 4 && w[0] == "open" && w[1] == "cdaudio" && w[2] == "alias") {
        rc = open(w[3]);
    } else if (w.size() == 4 && w[0] == "set" && (w[1] == "cdaudio" || w[1] == alias_) &&
               w[2] == "door") {
        // The door of the drive; an image has none.
        const std::string dev = disc_ ? disc_->device : (device_ ? device_() : std::string());
        const bool image = isCueImage(dev);
        if (!image && w[3] == "open") {
            if (disc_) close();
            rc = cdio_eject_media_drive(dev.empty() ? nullptr : dev.c_str()) == DRIVER_OP_SUCCESS
                     ? 0
                     : 1;
        } else if (!image && w[3] == "closed") {
            rc = cdio_close_tray(dev.empty() ? nullptr : dev.c_str(), nullptr) == DRIVER_OP_SUCCESS
                     ? 0
                     : 1;
        }
    } else if (disc_ && w.size() >= 2 && w[1] == alias_) {
        if (w.size() == 5 && w[0] == "set" && w[2] == "time" && w[3] == "format") {
            if (w[4] == "tmsf" || w[4] == "milliseconds" || w[4] == "ms") {
                milliseconds_ = w[4] != "tmsf";
                rc = 0;
            }
        } else if (w.size() == 4 && w[0] == "seek" && w[2] == "to") {
            const std::int32_t lsn = disc_->present() ? parseTime(w[3]) : -1;
            if (lsn >= 0) {
                halt(false);
                positionLsn_ = lsn;
                rc = 0;
            }
        } else if (w.size() == 2 && w[0] == "play") {
            if (mode_ == Mode::Paused) {
                output_.resume();
                mode_ = Mode::Playing;
                rc = 0;
            } else if (mode_ == Mode::Playing) {
                rc = 0;
            } else {
                rc = play(positionLsn_);
            }
        } else if (w.size() == 4 && w[0] == "play" && w[2] == "from") {
            const std::int32_t lsn = disc_->present() ? parseTime(w[3]) : -1;
            if (lsn >= 0) rc = play(lsn);
        } else if (w.size() == 2 && w[0] == "pause") {
            if (mode_ == Mode::Playing) {
                positionLsn_ = position();
                if (mode_ == Mode::Playing) {
                    output_.pause();
                    mode_ = Mode::Paused;
                }
            }
            rc = disc_->present() ? 0 : 1;
        } else if (w.size() == 2 && w[0] == "stop") {
            halt(true);
            rc = disc_->present() ? 0 : 1;
        } else if (w.size() >= 3 && w[0] == "status") {
            rc = status(w, answer);
        }
    }
    if (reply != nullptr) *reply = rc == 0 ? answer : std::string();
    return rc;
}

}  // namespace platform::system
