// A scriptable media engine for tests: it records every call, refuses the
// files a test names, reports the position a test gives it, and ends a file
// when the test says so.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/media_player.h"
#include "platform/error.h"

namespace testsupport {

class FakeMediaEngine : public platform::MediaEngine {
  public:
    // Every call, in order: "open C:\a.mp3", "close", "play", "pause", "stop",
    // "position 12.5", "forward", "reverse".
    std::vector<std::string> calls;
    // The playing position that position() reports.
    double positionSeconds = 0;
    // How long a file plays (finish() moves the position there).
    double length = 60;
    // The length that duration() reports (0: not known, as before a real
    // engine has read the file).
    double durationSeconds = 0;

    // Loading path raises errorNumber from now on.
    void refuse(const std::string& path, int errorNumber = platform::err::FileNotFound) {
        refused_[path] = errorNumber;
    }
    // Playing raises errorNumber from now on (0: plays again).
    void refusePlay(int errorNumber) { refusePlay_ = errorNumber; }

    // The loaded file has played to its end: EndOfStream follows.
    void finish() {
        positionSeconds = length;
        endOfStream();
    }

    const std::string& loaded() const { return loaded_; }

    void open(const std::string& path) override {
        calls.push_back("open " + path);
        auto it = refused_.find(path);
        if (it != refused_.end()) {
            loaded_.clear();
            platform::raise(it->second);
        }
        loaded_ = path;
        positionSeconds = 0;
    }
    void close() override {
        calls.push_back("close");
        loaded_.clear();
        positionSeconds = 0;
    }
    void play() override {
        calls.push_back("play");
        if (refusePlay_ != 0) platform::raise(refusePlay_);
    }
    void pause() override { calls.push_back("pause"); }
    double duration() const override { return durationSeconds; }
    void stop() override { calls.push_back("stop"); }
    double position() const override { return positionSeconds; }
    void setPosition(double seconds) override {
        calls.push_back("position " + formatSeconds(seconds));
        positionSeconds = seconds;
    }
    void fastForward() override { calls.push_back("forward"); }
    void fastReverse() override { calls.push_back("reverse"); }

  private:
    static std::string formatSeconds(double s) {
        std::string t = std::to_string(s);
        t.erase(t.find_last_not_of('0') + 1);
        if (!t.empty() && t.back() == '.') t.pop_back();
        return t;
    }

    std::map<std::string, int> refused_;
    int refusePlay_ = 0;
    std::string loaded_;
};

// Makes every media player created while it lives use a FakeMediaEngine, and
// keeps them by order of creation. The engines belong to their players: a
// test reads engine(i) only while that player lives.
class FakeMediaFactory {
  public:
    FakeMediaFactory() {
        platform::setMediaEngineFactory([this] {
            auto engine = std::make_unique<FakeMediaEngine>();
            engines_.push_back(engine.get());
            return engine;
        });
    }
    ~FakeMediaFactory() { platform::setMediaEngineFactory({}); }
    FakeMediaFactory(const FakeMediaFactory&) = delete;
    FakeMediaFactory& operator=(const FakeMediaFactory&) = delete;

    std::size_t count() const { return engines_.size(); }
    FakeMediaEngine& engine(std::size_t i) { return *engines_.at(i); }

  private:
    std::vector<FakeMediaEngine*> engines_;
};

}  // namespace testsupport
