// An audio CD in a drive of the drive table shows its audio tracks as
// TrackNN.cda files at the drive's root: the image is written by the test
// and read through the CD layer's table of contents.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/files/audio_disc.h"
#include "platform/files/drive_table.h"
#include "platform/files/drives.h"
#include "platform/files/listing.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "support/cd_image.h"
#include "support/temp_folder.h"

namespace {

namespace files = platform::files;
using testsupport::audioCdDrive;

// The names of the entries, with their sizes and attributes.
std::vector<std::string> described(const std::vector<files::FindEntry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        out.push_back(e.name + " " + std::to_string(e.size) + " " + std::to_string(e.attributes));
    return out;
}

class AudioCdListing : public ::testing::Test {
  protected:
    void SetUp() override {
        files::DriveTable table;
        table.set(
            audioCdDrive("E:", testsupport::writeCdImage(tmp.path().string(), {150, 225, 113})));
        drives.emplace(std::move(table));
    }
    testsupport::TempFolder tmp, made;
    testsupport::ScopedAudioDiscs audio{made.path().string()};
    std::optional<files::ScopedDriveTable> drives;
};

TEST_F(AudioCdListing, EachAudioTrackIsAReadOnlyFileOf44Bytes) {
    const std::string file = std::to_string(files::attr::ReadOnly | files::attr::Archive);
    EXPECT_EQ(described(files::findEntries("E:\\", "*")),
              (std::vector<std::string>{"Track01.cda 44 " + file, "Track02.cda 44 " + file,
                                        "Track03.cda 44 " + file}));
    EXPECT_EQ(files::listFiles("e:\\", "*.cda"),
              (std::vector<std::string>{"Track01.cda", "Track02.cda", "Track03.cda"}));
    EXPECT_NO_THROW(files::requireReady("E:\\"));
    EXPECT_EQ(files::volumeLabel("E:\\"), "Audio CD");
    files::DriveTable::current().find("E:")->label = "Concert";
    EXPECT_EQ(files::volumeLabel("E:\\"), "Concert");
}

TEST_F(AudioCdListing, ATrackFileHoldsTheCddaHeaderOfItsTrack) {
    // Track 2: sectors 150 to 374; from the lead-in 0:04:00, length 0:03:00.
    const std::string expected = std::string("RIFF\x24\0\0\0CDDAfmt \x18\0\0\0\x01\0\x02\0", 24) +
                                 std::string("\0\0\0\0\x96\0\0\0\xe1\0\0\0", 12) +
                                 std::string("\0\x04\0\0\0\x03\0\0", 8);
    ASSERT_EQ(expected.size(), 44u);
    EXPECT_EQ(files::readRegularFile(files::toNative("E:\\Track02.cda")), expected);
}

TEST_F(AudioCdListing, NoDiscADataDiscOrNoReaderShowNothing) {
    std::ofstream(tmp.path() / "data.bin", std::ios::binary) << std::string(2352 * 20, '\0');
    std::ofstream(tmp.path() / "data.cue", std::ios::binary)
        << "FILE \"data.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n";
    auto& table = files::DriveTable::current();
    for (const std::string& device :
         {tmp.path().string() + "/gone.cue", (tmp.path() / "data.cue").string()}) {
        SCOPED_TRACE(device);
        table.set(audioCdDrive("E:", device));
        EXPECT_TRUE(files::findEntries("E:\\", "*").empty());
        EXPECT_EQ(files::volumeLabel("E:\\"), "");
        EXPECT_THROW(files::requireReady("E:\\"), platform::Error);
    }
    table.set(audioCdDrive("E:", tmp.path().string() + "/disc.cue"));
    files::setAudioDiscReader(nullptr, {});
    EXPECT_TRUE(files::findEntries("E:\\", "*").empty());
}

TEST_F(AudioCdListing, ADataTrackBesideTheAudioIsLeftOut) {
    std::ofstream(tmp.path() / "mixed.bin", std::ios::binary) << std::string(2352 * 300, '\0');
    std::ofstream(tmp.path() / "mixed.cue", std::ios::binary)
        << "FILE \"mixed.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n"
           "  TRACK 02 AUDIO\r\n    INDEX 01 00:02:00\r\n";
    files::DriveTable::current().set(audioCdDrive("E:", (tmp.path() / "mixed.cue").string()));
    EXPECT_EQ(files::listFiles("E:\\", "*"), std::vector<std::string>{"Track02.cda"});
}

}  // namespace
