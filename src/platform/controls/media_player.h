// The media player control and the port to the engine that really plays.
// The model holds what the program reads and writes (the file name, the
// auto-start setting, whether it plays); the engine does the playing and
// reports the end of a file, which reaches the program as the player's
// EndOfStream event, run through the dispatcher as an event of its own.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/controls/control.h"

namespace platform {

class MediaEngine {
  public:
    virtual ~MediaEngine() = default;

    // Loads the file of a Windows path, replacing the one loaded; raises the
    // error of a file it cannot load (53, 76, ...).
    virtual void open(const std::string& windowsPath) = 0;
    // Unloads the file.
    virtual void close() = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    // Stops; the position stays where it was.
    virtual void stop() = 0;
    // The playing position in seconds.
    virtual double position() const = 0;
    virtual void setPosition(double seconds) = 0;
    // How long the loaded file plays, in seconds; 0 while not known (an
    // engine learns it some time after the file is loaded).
    virtual double duration() const { return 0; }
    virtual void fastForward() = 0;
    virtual void fastReverse() = 0;

    // The player that owns the engine listens here.
    void setEndOfStreamHandler(std::function<void()> handler) {
        onEndOfStream_ = std::move(handler);
    }

  protected:
    // The engine calls this when the loaded file has played to its end.
    void endOfStream() {
        if (onEndOfStream_) onEndOfStream_();
    }

  private:
    std::function<void()> onEndOfStream_;
};

// An engine that plays nothing: every file loads, the position stays 0 and no
// file ever ends. Players use it when no factory is set.
class NullMediaEngine final : public MediaEngine {
  public:
    void open(const std::string&) override {}
    void close() override {}
    void play() override {}
    void pause() override {}
    void stop() override {}
    double position() const override { return 0; }
    void setPosition(double) override {}
    void fastForward() override {}
    void fastReverse() override {}
};

using MediaEngineFactory = std::function<std::unique_ptr<MediaEngine>()>;
// The factory that makes the engine of each media player (at its first use).
// The front end sets the real one and tests a fake; an empty factory gives
// every player a NullMediaEngine.
void setMediaEngineFactory(MediaEngineFactory factory);

enum class MediaState { Stopped, Paused, Playing };

class MediaPlayer : public Control {
  public:
    MediaPlayer(Form& owner, std::string name);
    ~MediaPlayer() override;
    const char* kind() const override { return "MediaPlayer"; }

    // The loaded file ("" none). Setting it loads the file and, with
    // autoStart, plays it; "" unloads. A file the engine cannot load raises
    // its error and leaves the player empty.
    const std::string& fileName() const { return fileName_; }
    void setFileName(std::string path);
    // On by default.
    bool autoStart() const { return autoStart_; }
    void setAutoStart(bool v);

    MediaState playState() const { return state_; }
    // Play, pause and the position act on a loaded file only; pause only
    // while it plays. Stop is always passed on to the engine.
    void play();
    void pause();
    void stop();
    // Seconds; 0 without a file.
    double currentPosition() const;
    // How long the file plays, in seconds; 0 without a file or while the
    // engine does not know it yet.
    double duration() const;
    void setCurrentPosition(double seconds);
    void fastForward();
    void fastReverse();

    // Event: the file has played to its end (result 0).
    std::function<void(int result)> EndOfStream;

    // The engine (made by the factory at first use).
    MediaEngine& engine() const;
    // Replaces the engine (the file is unloaded).
    void setEngine(std::unique_ptr<MediaEngine> engine);

  private:
    void attach(MediaEngine& engine) const;
    void setState(MediaState s);

    std::string fileName_;
    bool autoStart_ = true;
    MediaState state_ = MediaState::Stopped;
    mutable std::unique_ptr<MediaEngine> engine_;
    // Lets an end of file reported while the player is being destroyed go unheard.
    std::shared_ptr<MediaPlayer*> self_;
};

}  // namespace platform
