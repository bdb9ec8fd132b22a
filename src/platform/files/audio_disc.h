// An audio CD in an optical drive. The system mounts no file system for it,
// so the files layer shows its audio tracks as the files "Track01.cda",
// "Track02.cda", ... (two-digit numbers, 44 bytes each) at the drive's root,
// as the CD file system of Windows does; each file holds the 44-byte RIFF
// "CDDA" header of its track. The files are made in a folder of their own
// (one per device and table of contents), and the drive stands for that
// folder while its disc has audio tracks and is not mounted.
//
// The table of contents comes from the CD layer, handed over at start-up
// (and by tests) as a reader; without one no disc is shown this way.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::files {

// A track of a disc's table of contents; sectors of 1/75 s.
struct CdTrack {
    int number = 0;
    std::int32_t start = 0;    // first sector (logical, from 0)
    std::int32_t sectors = 0;  // length
    bool audio = false;
};

// The tracks of the disc in an optical device or of a ".cue" image; none when
// there is no disc or it cannot be read.
using CdTocReader = std::function<std::vector<CdTrack>(const std::string& device)>;

// What reads the table of contents, and the native folder in which the track
// files are made (created when missing). An empty reader turns the view off.
void setAudioDiscReader(CdTocReader reader, std::string folder);

// The volume label of an audio CD.
inline constexpr std::string_view AudioCdLabel = "Audio CD";

// The native folder showing the audio tracks of the disc in device as
// TrackNN.cda files; nothing when the disc has no audio track, there is no
// disc or no reader, or the files cannot be made.
std::optional<std::string> audioDiscFolder(const std::string& device);

// True when the native folder is one that audioDiscFolder gives.
bool isAudioDiscFolder(std::string_view nativeFolder);

// The 44 bytes of the track's file: "RIFF", 36, "CDDA", "fmt ", 24, version
// 1, the track number, serial 0, start and length in sectors, then start
// (counted from the disc's 2-second lead-in) and length as frame, second,
// minute, 0.
std::string cdaFileBytes(const CdTrack& track);

}  // namespace platform::files
