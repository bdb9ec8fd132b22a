#include "platform/files/audio_disc.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <system_error>

namespace platform::files {

namespace {

namespace fs = std::filesystem;

// A disc's table of contents is read again after this long.
constexpr auto TocKeptFor = std::chrono::seconds(1);

struct Seen {
    std::chrono::steady_clock::time_point at;
    std::optional<std::string> folder;
};

struct State {
    std::mutex lock;
    CdTocReader reader;
    std::string folder;
    std::map<std::string, Seen> seen;  // by device
};

State& state() {
    static State s;
    return s;
}

void putLe(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}

void putMsf(std::string& out, std::int32_t sectors) {
    out += static_cast<char>(sectors % 75);
    out += static_cast<char>(sectors / 75 % 60);
    out += static_cast<char>(sectors / 75 / 60);
    out += '\0';
}

// The name of the folder of a disc: the device and its table of contents.
std::string discKey(const std::string& device, const std::vector<CdTrack>& tracks) {
    std::uint64_t h = 1469598103934665603ull;
    auto mix = [&h](std::uint64_t v) {
        h ^= v;
        h *= 1099511628211ull;
    };
    for (char c : device) mix(static_cast<unsigned char>(c));
    for (const CdTrack& t : tracks) {
        mix(static_cast<std::uint64_t>(t.number));
        mix(static_cast<std::uint32_t>(t.start));
        mix(static_cast<std::uint32_t>(t.sectors));
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "cd-%016llx", static_cast<unsigned long long>(h));
    return buf;
}

std::string trackFileName(int number) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Track%02d.cda", number);
    return buf;
}

// Makes the folder with a read-only file for each audio track; false when it
// cannot.
bool makeTrackFiles(const fs::path& folder, const std::vector<CdTrack>& tracks) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return false;
    for (const CdTrack& t : tracks) {
        const fs::path file = folder / trackFileName(t.number);
        const std::string bytes = cdaFileBytes(t);
        if (fs::is_regular_file(file, ec) && fs::file_size(file, ec) == bytes.size()) continue;
        const fs::path part = folder / (".part-" + trackFileName(t.number));
        {
            std::ofstream out(part, std::ios::binary | std::ios::trunc);
            out << bytes;
            if (!out.flush()) return false;
        }
        ::chmod(part.c_str(), S_IRUSR | S_IRGRP | S_IROTH);
        fs::rename(part, file, ec);
        if (ec) return false;
    }
    return true;
}

}  // namespace

void setAudioDiscReader(CdTocReader reader, std::string folder) {
    State& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    s.reader = std::move(reader);
    s.folder = std::move(folder);
    s.seen.clear();
}

std::optional<std::string> audioDiscFolder(const std::string& device) {
    State& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    if (!s.reader || s.folder.empty() || device.empty()) return std::nullopt;
    const auto now = std::chrono::steady_clock::now();
    if (auto it = s.seen.find(device); it != s.seen.end() && now - it->second.at < TocKeptFor)
        return it->second.folder;
    std::vector<CdTrack> audio;
    for (const CdTrack& t : s.reader(device))
        if (t.audio && t.number >= 1 && t.number <= 99 && t.sectors > 0) audio.push_back(t);
    std::optional<std::string> folder;
    if (!audio.empty()) {
        const fs::path path = fs::path(s.folder) / discKey(device, audio);
        if (makeTrackFiles(path, audio)) folder = path.string();
    }
    s.seen[device] = {now, folder};
    return folder;
}

bool isAudioDiscFolder(std::string_view nativeFolder) {
    State& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    if (s.folder.empty()) return false;
    const fs::path path(nativeFolder);
    return path.parent_path() == fs::path(s.folder) && path.filename().string().starts_with("cd-");
}

std::string cdaFileBytes(const CdTrack& track) {
    std::string out = "RIFF";
    putLe(out, 36, 4);
    out += "CDDAfmt ";
    putLe(out, 24, 4);
    putLe(out, 1, 2);
    putLe(out, static_cast<std::uint32_t>(track.number), 2);
    putLe(out, 0, 4);
    putLe(out, static_cast<std::uint32_t>(track.start), 4);
    putLe(out, static_cast<std::uint32_t>(track.sectors), 4);
    putMsf(out, track.start + 150);
    putMsf(out, track.sectors);
    return out;
}

}  // namespace platform::files
