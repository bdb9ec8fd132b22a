// The "cdaudio" device on an audio-CD image written by the test: three
// tracks of 2, 3 and 1.5 seconds (150, 225 and 113 sectors), played through
// an output that plays as far as the test pulls.
#include "platform/system/cd_audio.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cd_image.h"
#include "support/temp_folder.h"

namespace {

using platform::system::CdAudioMci;
using testsupport::cdImageSound;
using testsupport::CdSector;

class CdAudio : public ::testing::Test {
  protected:
    void SetUp() override {
        cue = testsupport::writeCdImage(tmp.path().string(), {150, 225, 113});
        ASSERT_EQ(send("open cdaudio alias cd wait shareable"), 0);
        ASSERT_EQ(send("set cd time format tmsf wait"), 0);
    }
    int send(const std::string& command) { return mci.send(command, nullptr); }
    std::string ask(const std::string& command) {
        std::string reply = "old";
        const int rc = mci.send(command, &reply);
        return rc == 0 ? reply : "error:" + reply;
    }

    testsupport::TempFolder tmp;
    std::string cue;
    testsupport::PulledCdAudioOutput out;
    CdAudioMci mci{[this] { return cue; }, out};
};

TEST_F(CdAudio, TheTableOfContentsGivesTheTracksAndTheirLengths) {
    EXPECT_EQ(ask("status cd media present"), "true");
    EXPECT_EQ(ask("status cd number of tracks wait"), "3");
    // mm:ss:ff, two digits each.
    EXPECT_EQ(ask("status cd length track 1"), "00:02:00");
    EXPECT_EQ(ask("status cd length track 2"), "00:03:00");
    EXPECT_EQ(ask("status cd length track 3"), "00:01:38");
    EXPECT_EQ(ask("status cd length track 4"), "error:");
    EXPECT_EQ(ask("status cd position"), "01:00:00:00");
    EXPECT_EQ(ask("status cd mode"), "stopped");
}

TEST_F(CdAudio, PlayingATrackSendsItsSoundAndMovesThePosition) {
    send("stop cd wait");
    send("seek cd to  2");
    ASSERT_EQ(send("play cd"), 0);
    EXPECT_EQ(out.pullSeconds(1), cdImageSound(150, 75));
    EXPECT_EQ(ask("status cd position"), "02:00:01:00");
    EXPECT_EQ(ask("status cd mode"), "playing");
    // Milliseconds count from the start of the disc.
    send("set cd time format milliseconds");
    EXPECT_EQ(ask("status cd position wait"), "3000");
    EXPECT_EQ(ask("status cd length track 2"), "3000");
    // The disc plays on into the next track.
    send("set cd time format tmsf wait");
    EXPECT_EQ(out.pullSeconds(2.5), cdImageSound(225, 187));
    EXPECT_EQ(ask("status cd position"), "03:00:00:37");
}

TEST_F(CdAudio, PauseHoldsThePositionAndPlayGoesOnFromIt) {
    send("play cd");
    out.pull(100 * CdSector);
    send("pause cd");
    EXPECT_EQ(ask("status cd mode"), "paused");
    EXPECT_EQ(out.pull(CdSector), "");
    EXPECT_EQ(ask("status cd position"), "01:00:01:25");
    send("play cd");
    EXPECT_EQ(out.pull(10 * CdSector), cdImageSound(100, 10));
    EXPECT_EQ(ask("status cd position"), "01:00:01:35");
    EXPECT_EQ(out.starts, 1);
}

TEST_F(CdAudio, PlayFromAMillisecondPositionAndStopAtTheEndOfTheDisc) {
    send("set cd time format milliseconds");
    ASSERT_EQ(send("play cd from 4000"), 0);
    EXPECT_EQ(out.pull(CdSector), cdImageSound(300, 1));
    // To the end of the disc: 488 sectors in all.
    EXPECT_EQ(out.pull(1000 * CdSector).size(), static_cast<std::size_t>(187 * CdSector));
    EXPECT_EQ(ask("status cd mode"), "stopped");
    EXPECT_EQ(ask("status cd position wait"), "6506");
    // Stop keeps the position; play starts from it again.
    send("set cd time format tmsf");
    send("play cd from 02:00:02");
    out.pull(5 * CdSector);
    send("stop cd wait");
    EXPECT_FALSE(out.streaming());
    EXPECT_EQ(ask("status cd position"), "02:00:02:05");
}

TEST_F(CdAudio, FailedCommandsAnswerNothing) {
    EXPECT_NE(send("play cd from 99"), 0);
    EXPECT_NE(send("launch cd"), 0);
    send("close all");
    EXPECT_EQ(ask("status cd number of tracks wait"), "error:");
    EXPECT_NE(send("play cd"), 0);
    // An image has no door.
    EXPECT_NE(send("set CDAudio door open"), 0);
    cue = tmp.path().string() + "/missing.cue";
    EXPECT_NE(send("open cdaudio alias cd wait shareable"), 0);
    EXPECT_EQ(ask("status cd media present"), "error:");
}

}  // namespace
