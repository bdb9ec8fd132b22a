// The audio CD's sound on the desktop: the cdaudio device on a CD image the
// test writes, played through the Qt audio sink on the system's output (in
// the test run a private sound server with a null output).
#include "gui/cd_audio_sink.h"

#include <gtest/gtest.h>

#include <QAudioDevice>
#include <QMediaDevices>
#include <QTest>
#include <string>

#include "gui_fixture.h"
#include "platform/system/cd_audio.h"
#include "support/cd_image.h"
#include "support/temp_folder.h"

namespace {

std::string ask(platform::system::Mci& mci, const std::string& command) {
    std::string reply;
    return mci.send(command, &reply) == 0 ? reply : "error";
}

TEST(CdAudioSink, ATrackOfTheImageReallyPlaysAndItsPositionAdvances) {
    guitest::GuiMachine machine;  // the application and its event loop
    ASSERT_FALSE(QMediaDevices::defaultAudioOutput().isNull()) << "no sound output";
    testsupport::TempFolder tmp;
    const std::string cue = testsupport::writeCdImage(tmp.path().string(), {150, 600, 150});
    gui::QtCdAudioOutput sound;
    platform::system::CdAudioMci mci([&cue] { return cue; }, sound);
    ASSERT_EQ(mci.send("open cdaudio alias cd wait shareable", nullptr), 0);
    mci.send("set cd time format milliseconds", nullptr);
    mci.send("seek cd to 2000", nullptr);
    ASSERT_EQ(mci.send("play cd", nullptr), 0);
    // The sound server takes its time on a busy machine: wait for half a
    // second of sound, for as long as the track lasts at most.
    long played = 0;
    for (int i = 0; i < 80 && played < 500; ++i) {
        QTest::qWait(100);
        played = std::stol(ask(mci, "status cd position")) - 2000;
    }
    EXPECT_EQ(ask(mci, "status cd mode"), "playing");
    EXPECT_GE(played, 500);
    EXPECT_LT(played, 8000);  // still in track 2
    // Paused, the position holds.
    mci.send("pause cd", nullptr);
    const std::string held = ask(mci, "status cd position");
    QTest::qWait(400);
    EXPECT_EQ(ask(mci, "status cd position"), held);
    mci.send("stop cd wait", nullptr);
    EXPECT_EQ(ask(mci, "status cd mode"), "stopped");
}

}  // namespace
