// The media engine of the desktop: Qt Multimedia (a player with an audio
// output; video goes to the widget the player's view gives it). The player
// comes from the engines library (gui/engines.h) and is made when the first
// file is loaded or played, so that Qt Multimedia (and the sound system
// behind it) is loaded and started only when the program first plays
// something.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "gui/engines.h"
#include "platform/controls/media_player.h"

namespace gui {

class QtMediaEngine final : public platform::MediaEngine {
  public:
    QtMediaEngine();
    ~QtMediaEngine() override;

    // Loads the file of the Windows path; 53 (or the path's error) when it
    // does not exist.
    void open(const std::string& windowsPath) override;
    void close() override;
    void play() override;
    void pause() override;
    // Pauses: the position stays where it was.
    void stop() override;
    double position() const override;
    void setPosition(double seconds) override;
    // 0 until Qt Multimedia has read the file's length.
    double duration() const override;
    // Ten seconds on or back.
    void fastForward() override;
    void fastReverse() override;

    // Where the pictures of a video go (a widget of the engines'
    // makeVideoWidget; nullptr: none).
    void setVideoOutput(QWidget* widget);
    QWidget* videoOutput() const { return video_; }

  private:
    // The player, made at the first call; nullptr without the engines.
    engines::Player* player();

    std::unique_ptr<engines::Player> player_;
    QPointer<QWidget> video_;
};

// Makes every media player of the program play through Qt Multimedia.
void useQtMediaEngine();

}  // namespace gui
