// An audio CD in the drive, scanned as a user scans a disc: its tracks are
// the files TrackNN.cda of 44 bytes, and the disc page plays them from the
// catalogue through the real "cdaudio" device. The disc is an image written
// by the test.
#include <gtest/gtest.h>

#include <string>

#include "catalogue_steps.h"
#include "mainwindow/form1.h"
#include "support/cd_image.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;
using namespace catalogue_test;

constexpr int DiscTab = 2;

class AudioCdScan : public ::testing::Test {
  protected:
    void SetUp() override {
        cue = testsupport::writeCdImage(tmp.path().string(), {300, 225, 375});
        h.drives().set(testsupport::audioCdDrive("E:", cue));
        h.write(Catalogue, "|音乐\r\n");
        h.start();
        h.mci.forwardTo(&device);
    }
    void scan() {
        h.ui.onModal<Dialog>([](Dialog& d) {
            clickCategory(d, "音乐");
            d.OKButton.userClick();
        });
        h.form.maker.userClick();
    }

    testsupport::TempFolder tmp;
    testsupport::ScopedAudioDiscs audio{tmp.path().string() + "/tracks"};
    Harness h;
    std::string cue;
    testsupport::PulledCdAudioOutput out;
    platform::system::CdAudioMci device{[this] { return cue; }, out};
};

TEST_F(AudioCdScan, TheTracksAreIndexedAndTheTickedOnesPlay) {
    scan();
    EXPECT_EQ(h.form.cdRom, "Audio CD");
    EXPECT_EQ(h.readBytes(indexPath("[001]Audio CD")),
              "E:\\Track01.cda[44]\r\nE:\\Track02.cda[44]\r\nE:\\Track03.cda[44]\r\n");
    EXPECT_TRUE(h.ui.messages().empty());

    // The disc page lists the tracks; ticking two of them plays them in turn.
    h.form.TabStrip1.userSelect(DiscTab);
    for (const char* path : {"[001]Audio CD", "[001]Audio CD\\E:"})
        for (const auto& n : h.form.TreeView1.nodes())
            if (n->fullPath() == path) {
                h.form.TreeView1.userClickNode(*n);
                break;
            }
    const auto& rows = h.form.ListView1.items();
    ASSERT_EQ(rows.size(), 3U);
    h.form.ListView1.userToggleCheck(*rows[1]);
    h.form.ListView1.userToggleCheck(*rows[2]);
    h.form.playmp3.userClick();
    ASSERT_TRUE(h.form.Timer1.enabled());
    EXPECT_EQ(h.form.PlayingTrack, 2);
    EXPECT_EQ(out.pullSeconds(1), testsupport::cdImageSound(300, 75));
}

}  // namespace
