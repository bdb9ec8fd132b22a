// The media engine of the desktop: Qt Multimedia (QMediaPlayer with an
// audio output; video goes to the widget the player's view gives it).
#pragma once

#include <QObject>
#include <memory>

#include "platform/controls/media_player.h"

class QMediaPlayer;
class QAudioOutput;
class QVideoWidget;

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
    // Ten seconds on or back.
    void fastForward() override;
    void fastReverse() override;

    // Where the pictures of a video go (nullptr: none).
    void setVideoOutput(QVideoWidget* widget);

  private:
    std::unique_ptr<QObject> owner_;  // parent of the player and the output
    QMediaPlayer* player_;
    QAudioOutput* audio_;
};

// Makes every media player of the program play through Qt Multimedia.
void useQtMediaEngine();

}  // namespace gui
