// The music play list and the audio CD's command layer, driven through
// Form1's menu, toolbar and timer: the command strings with scripted replies,
// and the real "cdaudio" device on a CD image the test writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwindow/form1.h"
#include "platform/system/cd_audio.h"
#include "support/cd_image.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;
using Commands = std::vector<std::string>;

constexpr int DiscTab = 2;
const char* const MusicKeys[] = {"PauseCD",    "ForwardCD", "BackwardCD", "NextCD",
                                 "PreviousCD", "fgt4",      "StopCD"};

// An audio CD "Music" catalogued from E: (three tracks, two of them ticked,
// and a folder "songs" of music files), and a hard-disk folder
// D:\music\x\music catalogued as "mus_hard".
const char* const MusicIndex =
    "E:\\|songs\r\n"
    "E:\\Track01.cda[44]\r\n"
    "E:\\Track02.cda[44]($)\r\n"
    "E:\\Track03.cda[44]($)\r\n"
    "E:\\songs\\a.mp3[3690987]($)\r\n"
    "E:\\songs\\b.mp3[870400]($)\r\n"
    "E:\\songs\\c.txt[10]($)\r\n";
const char* const HardIndex =
    "D:\\music\\x\\music\\|sub\r\n"
    "D:\\music\\x\\music\\sub\\s.wav[100]($)\r\n";
const char* const Catalogue = "|音乐\r\n#Music#1#CD#\r\n#mus_hard#2#folder#\r\n";

class MusicList : public ::testing::Test {
  protected:
    void SetUp() override {
        h.write("C:\\zelbrin\\guangpan\\Music.wcd", MusicIndex);
        h.write("C:\\zelbrin\\guangpan\\mus_hard.wcd", HardIndex);
        h.write("C:\\zelbrin\\ini.ini", Catalogue);
        h.start();
        f().TabStrip1.userSelect(DiscTab);
    }
    Form1& f() { return h.form; }
    void open(const std::vector<std::string>& paths) {
        for (const std::string& p : paths)
            for (const auto& n : f().TreeView1.nodes())
                if (n->fullPath() == p) {
                    f().TreeView1.userClickNode(*n);
                    break;
                }
    }
    void openTracks() { open({"Music", "Music\\E:"}); }
    void openSongs() { open({"Music", "Music\\E:", "Music\\E:\\songs"}); }
    // A disc of tracks 1 to 3 of 4:12, 3:00 and 2:30 for the scripted port.
    void scriptDisc() {
        h.mci.answer("status cd length track 1", "04:12:00");
        h.mci.answer("status cd length track 2", "03:00:00");
        h.mci.answer("status cd length track 3", "02:30:00");
        h.mci.answer("status cd number of tracks wait", "3");
    }
    void tick() { h.timers.advance(1000); }
    bool groupShown() {
        for (const char* k : MusicKeys)
            if (!f().Toolbar1.button(k).visible()) return false;
        return true;
    }
    testsupport::FakeMediaEngine& player() { return h.media.engine(0); }

    Harness h;
};

TEST(CdaTrackNumber, TwoDigitsBeforeTheExtension) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"G:\\Track01.cda", 1},  {"G:\\Track07.cda", 7},  {"G:\\Track12.cda", 12},
        {"G:\\Track49.cda", 49}, {"G:\\Track7.cda", 7},   {"G:\\Track55.cda", 55},
        {"G:\\Track99.cda", 99}, {"G:\\songs\\a.mp3", 0}, {"G:\\x\\Track3x.cda", 3}};
    for (const auto& [path, track] : cases) EXPECT_EQ(Form1::CdaTrackNumber(path), track) << path;
}

TEST(ChangeMinSec, SecondsOfMinutesAndSeconds) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"04:12", 252}, {"12:05", 725}, {"00:00", 0}, {"", 0}, {"ab:cd", 0}, {"7:5", 420}};
    for (const auto& [text, seconds] : cases) EXPECT_EQ(Form1::changeMinSec(text), seconds) << text;
}

TEST_F(MusicList, TheCommandStringsOfTheLayer) {
    h.mci.clearCommands();
    f().SeekCDtoX(5);
    f().ReadyDevice();
    f().GetTrackLength(12);
    f().CDSetTrack(12);
    EXPECT_EQ(h.mci.commands(),
              (Commands{"stop cd wait", "seek cd to  5", "play cd", "close all",
                        "open cdaudio alias cd wait shareable", "set cd time format tmsf wait",
                        "status cd length track 12", "seek cd to  12"}));
}

TEST_F(MusicList, RepliesAreWrittenAtTheStartOfTheBufferAndTheRestStays) {
    h.mci.answer("status cd length track 1", "04:12:00");
    EXPECT_EQ(f().GetTrackLength(1), "04:12");
    h.mci.answer("status cd media present", "fal");
    EXPECT_EQ(f().checkCDEXIST(), "fal");
    EXPECT_EQ(f().MciReply.substr(0, 8), std::string("fal\0"
                                                     "2:00",
                                                     8));
    EXPECT_EQ(f().MciReply.size(), 255U);
    // A query nobody answers leaves the buffer as it was.
    EXPECT_EQ(f().GetTrackLength(2), "fal");
}

TEST_F(MusicList, RewindAndFastForwardJumpTwentySecondsOrToTheTrackEdge) {
    struct Case {
        bool forward;
        const char* position;  // TMSF, track 2 of 3:00
        const char* play;      // "" : nothing played
    };
    const std::vector<Case> cases = {
        {false, "02:00:15:00", "play cd from 151000"},  // P − 15 s + 1 s
        {false, "02:00:21:00", "play cd from 145000"},  // the same rule at 0:21
        {false, "02:00:22:00", "play cd from 145000"},  // P − 20 s
        {true, "02:02:30:00", "play cd from 185000"},   // 30 s left: P + 20 s
        {true, "02:02:39:00", "play cd from 185000"},   // 21 s left: P + 21 s − 1 s
        {true, "02:02:55:00", "play cd from 169000"},   // 5 s left
    };
    scriptDisc();
    openTracks();
    f().Toolbar1.userClick("playMP3");
    ASSERT_TRUE(f().Timer1.enabled());
    h.mci.answer("status cd position wait", "165000");
    for (const Case& c : cases) {
        h.mci.answer("status cd position", c.position);
        h.mci.clearCommands();
        f().Toolbar1.userClick(c.forward ? "ForwardCD" : "BackwardCD");
        Commands expected = {"status cd position"};
        if (c.forward) expected.push_back("status cd length track 2");
        expected.insert(expected.end(),
                        {"set cd time format milliseconds", "status cd position wait", c.play,
                         "set cd time format tmsf wait"});
        EXPECT_EQ(h.mci.commands(), expected) << c.position;
    }
    // Paused: the position is read, nothing is played.
    f().Toolbar1.userClick("PauseCD");
    h.mci.clearCommands();
    f().Toolbar1.userClick("BackwardCD");
    EXPECT_EQ(h.mci.commands(),
              (Commands{"status cd position", "set cd time format milliseconds",
                        "status cd position wait", "set cd time format tmsf wait"}));
}

TEST_F(MusicList, StartingAnAudioCdListPlaysTheFirstTickedTrack) {
    scriptDisc();
    openTracks();
    h.mci.clearCommands();
    f().playmp3.userClick();
    EXPECT_EQ(h.mci.commands(),
              (Commands{"close all", "open cdaudio alias cd wait shareable",
                        "set cd time format tmsf wait", "status cd length track 2", "close all",
                        "open cdaudio alias cd wait shareable", "set cd time format tmsf wait",
                        "stop cd wait", "seek cd to  2", "play cd"}));
    EXPECT_EQ(f().PlayList, (std::vector<std::string>{"", "E:\\Track02.cda", "E:\\Track03.cda"}));
    EXPECT_EQ(f().PlaySizes, (std::vector<std::string>{"", "1K", "1K"}));
    EXPECT_EQ(f().CDPlaying, -1);
    EXPECT_EQ(f().CDListIndex, 1);
    EXPECT_EQ(f().PlayingTrack, 2);
    EXPECT_EQ(f().ProgressBar1.max(), 190);
    EXPECT_TRUE(f().ProgressBar1.visible());
    EXPECT_TRUE(f().Timer1.enabled());
    EXPECT_TRUE(groupShown());
}

TEST_F(MusicList, TheTickFollowsThePositionAndMovesToTheNextEntry) {
    scriptDisc();
    openTracks();
    f().playmp3.userClick();
    h.mci.answer("status cd position", "02:01:05:10");
    h.mci.clearCommands();
    tick();
    EXPECT_EQ(h.mci.commands(), (Commands{"status cd position", "status cd length track 2",
                                          "status cd number of tracks wait"}));
    EXPECT_EQ(f().caption(), "2=1/2=1:5/03:00");
    EXPECT_EQ(f().ProgressBar1.value(), 65);
    // The disc runs into track 3, the next entry: it starts from its beginning.
    h.mci.answer("status cd position", "03:00:00:20");
    h.mci.clearCommands();
    tick();
    EXPECT_EQ(
        h.mci.commands(),
        (Commands{"status cd position", "status cd length track 3", "stop cd wait", "seek cd to  3",
                  "play cd", "status cd length track 3", "status cd number of tracks wait"}));
    EXPECT_EQ(f().CDListIndex, 2);
    EXPECT_EQ(f().PlayingTrack, 3);
    EXPECT_EQ(f().ProgressBar1.max(), 160);
    // The last track near its end (2:29 of 2:30) ends the list.
    h.mci.answer("status cd position", "03:02:29:00");
    tick();
    EXPECT_FALSE(f().Timer1.enabled());
    EXPECT_FALSE(groupShown());
    EXPECT_EQ(f().caption(), "Zelbrin");
    EXPECT_EQ(f().CDPlaying, 0);
    EXPECT_TRUE(f().ProgressBar1.visible());
    EXPECT_EQ(f().ProgressBar1.value(), 0);
    EXPECT_EQ(h.mci.commands().back(), "stop cd wait");
}

TEST_F(MusicList, ALastDiscTrackFirstInTheListStillPlaysTheEntriesAfterIt) {
    h.write("C:\\zelbrin\\guangpan\\Music.wcd",
            "E:\\Track03.cda[44]($)\r\nE:\\Track01.cda[44]($)\r\n");
    scriptDisc();
    openTracks();
    f().playmp3.userClick();
    h.mci.answer("status cd position", "03:02:29:00");
    h.mci.clearCommands();
    tick();
    EXPECT_TRUE(f().Timer1.enabled());
    EXPECT_EQ(f().CDListIndex, 2);
    EXPECT_EQ(f().PlayingTrack, 1);
}

TEST_F(MusicList, APositionThatIsNoNumberEndsTheList) {
    scriptDisc();
    openTracks();
    f().playmp3.userClick();
    h.mci.answer("status cd position", "");
    tick();
    EXPECT_FALSE(f().Timer1.enabled());
    EXPECT_EQ(f().CDPlaying, 0);
    EXPECT_EQ(f().caption(), "Zelbrin");
}

TEST_F(MusicList, WhatTheStartRefuses) {
    // Not on the disc page.
    f().TabStrip1.userSelect(1);
    h.ui.answerMsgBox(platform::MsgOK, "请点击光盘页，为你想播放的文件打上勾。");
    f().playmp3.userClick();
    // No ticked music row (the root's rows are all unticked but two tracks:
    // untick them by listing a folder of none).
    h.write("C:\\zelbrin\\guangpan\\Music.wcd", "E:\\x.avi[4]($)\r\nE:\\Track01.cda[44]\r\n");
    f().TabStrip1.userSelect(DiscTab);
    openTracks();
    h.ui.answerMsgBox(platform::MsgOK, "请为你想播放的文件打上勾。");
    f().playmp3.userClick();
    EXPECT_TRUE(f().PlayList.empty());
    // No audio CD: the first track reads as no length.
    h.write("C:\\zelbrin\\guangpan\\Music.wcd", "E:\\Track01.cda[44]($)\r\n");
    open({"Music\\E:"});
    h.mci.answer("status cd length track 1", "00:00:00");
    h.ui.answerMsgBox(platform::MsgOK, "光驱里没有音乐CD!");
    f().playmp3.userClick();
    EXPECT_EQ(h.ui.log().back().title, "Information");
    EXPECT_FALSE(f().Timer1.enabled());
    EXPECT_FALSE(groupShown());
    EXPECT_EQ(f().CDPlaying, 0);
    EXPECT_EQ(f().PlayList, (std::vector<std::string>{"", "E:\\Track01.cda"}));
}

TEST_F(MusicList, PauseContinueStepAndStopAnAudioCdList) {
    scriptDisc();
    openTracks();
    f().Toolbar1.userClick("playMP3");
    h.mci.clearCommands();
    f().Toolbar1.userClick("PauseCD");
    EXPECT_EQ(f().PausePlay.caption(), "继续播放");
    EXPECT_EQ(f().Toolbar1.button("PauseCD").value(), 1);
    EXPECT_FALSE(f().Timer1.enabled());
    // Paused: the step keys do nothing.
    f().Toolbar1.userClick("NextCD");
    EXPECT_EQ(f().CDListIndex, 1);
    f().PausePlay.userClick();
    EXPECT_EQ(f().PausePlay.caption(), "暂停播放");
    EXPECT_EQ(f().Toolbar1.button("PauseCD").value(), 0);
    EXPECT_TRUE(f().Timer1.enabled());
    EXPECT_EQ(h.mci.commands(), (Commands{"pause cd", "play cd"}));
    h.mci.clearCommands();
    f().Toolbar1.userClick("NextCD");
    f().Toolbar1.userClick("NextCD");  // at the end: nothing
    EXPECT_EQ(f().CDListIndex, 2);
    EXPECT_EQ(f().PlayingTrack, 3);
    EXPECT_EQ(f().ProgressBar1.max(), 160);
    f().Toolbar1.userClick("PreviousCD");
    EXPECT_EQ(h.mci.commands(),
              (Commands{"stop cd wait", "seek cd to  3", "play cd", "status cd length track 3",
                        "stop cd wait", "seek cd to  2", "play cd", "status cd length track 2"}));
    f().Toolbar1.userClick("PauseCD");
    f().StopPlay.userClick();
    EXPECT_EQ(f().CDPlaying, 0);
    EXPECT_FALSE(f().Timer1.enabled());
    EXPECT_FALSE(groupShown());
    EXPECT_EQ(f().PausePlay.caption(), "暂停播放");
    EXPECT_EQ(f().Toolbar1.button("PauseCD").value(), 0);
    EXPECT_EQ(h.mci.commands().back(), "stop cd wait");
}

TEST_F(MusicList, AMediaListPlaysTheFilesOneAfterTheOther) {
    openSongs();
    f().playmp3.userClick();
    EXPECT_EQ(f().PlayList, (std::vector<std::string>{"", "E:\\songs\\a.mp3", "E:\\songs\\b.mp3"}));
    EXPECT_EQ(player().loaded(), "E:\\songs\\a.mp3");
    EXPECT_EQ(f().CDPlaying, 0);
    EXPECT_TRUE(f().Timer1.enabled());
    EXPECT_TRUE(groupShown());
    EXPECT_FLOAT_EQ(static_cast<float>(f().ProgressBar1.max()), 3.52F * 65.5F);
    player().positionSeconds = 83.4126;
    tick();
    EXPECT_EQ(f().caption(), "1/2=a.mp3=83.41");
    EXPECT_NEAR(f().ProgressBar1.value(), 84.4126, 1e-4);
    // The end of the first file loads the next; a size in K keeps Max.
    player().finish();
    EXPECT_EQ(player().loaded(), "E:\\songs\\b.mp3");
    EXPECT_EQ(f().MediaListIndex, 2);
    EXPECT_FLOAT_EQ(static_cast<float>(f().ProgressBar1.max()), 3.52F * 65.5F);
    player().positionSeconds = 5;
    tick();
    EXPECT_EQ(f().caption(), "2/2=b.mp3=5");
    f().Toolbar1.userClick("PreviousCD");
    EXPECT_EQ(player().loaded(), "E:\\songs\\a.mp3");
    f().Toolbar1.userClick("NextCD");
    // The end of the last file ends the list; the bar stays at 0.
    player().finish();
    EXPECT_FALSE(f().Timer1.enabled());
    EXPECT_FALSE(groupShown());
    EXPECT_EQ(f().caption(), "Zelbrin");
    EXPECT_EQ(f().ProgressBar1.value(), 0);
    EXPECT_TRUE(f().ProgressBar1.visible());
    EXPECT_EQ(f().MediaListIndex, 3);
}

// A short file (a size in K) moves the bar across once the player knows how
// long it plays: the bar then spans the file, one second more.
TEST_F(MusicList, TheBarSpansAFileWhoseLengthThePlayerKnows) {
    openSongs();
    f().playmp3.userClick();
    player().finish();
    ASSERT_EQ(player().loaded(), "E:\\songs\\b.mp3");
    player().positionSeconds = 1;
    tick();
    EXPECT_FLOAT_EQ(static_cast<float>(f().ProgressBar1.max()), 3.52F * 65.5F);
    player().durationSeconds = 4;
    player().positionSeconds = 2;
    tick();
    EXPECT_EQ(f().ProgressBar1.max(), 5);
    EXPECT_EQ(f().ProgressBar1.value(), 3);
    player().positionSeconds = 3.5;
    tick();
    EXPECT_EQ(f().ProgressBar1.value(), 4.5);
}

TEST_F(MusicList, AMissingFirstFileIsTold) {
    openSongs();
    f().MediaPlayer1.engine();
    player().refuse("E:\\songs\\a.mp3");
    h.ui.answerMsgBox(platform::MsgOK, "没有这些音乐文件!");
    f().playmp3.userClick();
    EXPECT_FALSE(f().Timer1.enabled());
    EXPECT_FALSE(groupShown());
}

TEST_F(MusicList, AHardDiskFolderListIsBuiltFromTheCataloguedFolder) {
    open({"mus_hard", "mus_hard\\music", "mus_hard\\music\\sub"});
    f().playmp3.userClick();
    EXPECT_EQ(f().PlayList, (std::vector<std::string>{"", "D:\\music\\x\\music\\sub\\s.wav"}));
}

TEST_F(MusicList, ANewListStopsTheRunningOne) {
    scriptDisc();
    openTracks();
    f().playmp3.userClick();
    f().Toolbar1.userClick("PauseCD");
    openSongs();
    h.mci.clearCommands();
    f().playmp3.userClick();
    EXPECT_EQ(h.mci.commands(), (Commands{"stop cd wait"}));
    EXPECT_EQ(f().CDPlaying, 0);
    EXPECT_EQ(f().PausePlay.caption(), "暂停播放");
    EXPECT_EQ(player().loaded(), "E:\\songs\\a.mp3");
    EXPECT_TRUE(f().Timer1.enabled());
}

// The real device on an image of tracks of 4, 3 and 5 seconds.
class MusicFromImage : public MusicList {
  protected:
    void SetUp() override {
        MusicList::SetUp();
        cue = testsupport::writeCdImage(tmp.path().string(), {300, 225, 375});
        h.mci.forwardTo(&device);
    }
    testsupport::TempFolder tmp;
    std::string cue;
    testsupport::PulledCdAudioOutput out;
    platform::system::CdAudioMci device{[this] { return cue; }, out};
};

TEST_F(MusicFromImage, TheTicksFollowTheDiscFromTrackToTrackToTheEnd) {
    openTracks();
    f().playmp3.userClick();
    ASSERT_TRUE(f().Timer1.enabled());
    EXPECT_EQ(f().ProgressBar1.max(), 13);
    // Track 2 sounds.
    EXPECT_EQ(out.pullSeconds(1), testsupport::cdImageSound(300, 75));
    tick();
    EXPECT_EQ(f().caption(), "2=1/2=0:1/00:03");
    EXPECT_EQ(f().ProgressBar1.value(), 1);
    out.pullSeconds(2.2);
    tick();
    EXPECT_EQ(f().CDListIndex, 2);
    EXPECT_EQ(f().PlayingTrack, 3);
    EXPECT_EQ(out.pullSeconds(1), testsupport::cdImageSound(525, 75));
    tick();
    EXPECT_EQ(f().caption(), "3=2/2=0:1/00:05");
    // Near the end of the disc's last track the list ends.
    out.pullSeconds(3.2);
    tick();
    EXPECT_FALSE(f().Timer1.enabled());
    EXPECT_EQ(f().CDPlaying, 0);
    EXPECT_EQ(f().caption(), "Zelbrin");
}

TEST_F(MusicFromImage, NoDiscIsToldEvenAfterADiscWasPlayed) {
    openTracks();
    f().playmp3.userClick();
    f().StopPlay.userClick();
    cue = tmp.path().string() + "/gone.cue";
    h.ui.answerMsgBox(platform::MsgOK, "光驱里没有音乐CD!");
    f().playmp3.userClick();
    EXPECT_FALSE(f().Timer1.enabled());
    EXPECT_EQ(f().CDPlaying, 0);
}

}  // namespace
