// The desktop's two heavy engines: the web engine of the preview browser
// (Qt WebEngine) and Qt Multimedia (the media players, their video, the audio
// CD's sound). They live in a library of their own, zelbrin-engines.so
// (src/gui/engines/), that the program loads when a preview or a player first
// needs one: a start-up neither loads nor starts them, and a session that
// previews nothing never does.
//
// The library speaks Qt only; the program's side (src/gui) decides what the
// browser shows and what a player plays.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QtGlobal>
#include <functional>
#include <memory>

class QIODevice;
class QWidget;

namespace gui::engines {

// Serves a document of the program's own address scheme: its MIME type and
// bytes, or false when there is none. frame is true when the address is to
// show as a page or in a frame (not a picture, style sheet or script of a
// page, nor what a script fetches).
using DocumentSource =
    std::function<bool(const QUrl& url, bool frame, QByteArray& mime, QByteArray& bytes)>;

// True when a script of the local page at page may fetch target (both of
// the program's scheme); every other fetch of a script is blocked.
using ScriptReads = std::function<bool(const QUrl& page, const QUrl& target)>;

// What a preview browser tells its owner.
struct BrowserEvents {
    // The page's own frame goes to another address than the one loaded
    // (the navigation is refused; the owner decides).
    std::function<void(const QUrl& url)> follow;
    // The page asks for a new window (none is opened).
    std::function<void()> newWindow;
    // The link under the mouse (an empty address: none).
    std::function<void(const QUrl& url)> linkHovered;
    // The selected text may have changed.
    std::function<void()> selectionChanged;
};

// A media player with its audio output.
class Player {
  public:
    virtual ~Player() = default;
    virtual void setSource(const QUrl& url) = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    // Stops and rewinds.
    virtual void stop() = 0;
    virtual bool playing() const = 0;
    // Milliseconds.
    virtual qint64 position() const = 0;
    virtual void setPosition(qint64 ms) = 0;
    virtual qint64 duration() const = 0;
    // A widget made by Engines::makeVideoWidget, or nullptr for none.
    virtual void setVideoOutput(QWidget* video) = 0;
};

// A sound output pulling 16-bit samples from a device.
class SoundOutput {
  public:
    virtual ~SoundOutput() = default;
    virtual void suspend() = 0;
    virtual void resume() = 0;
    virtual void stop() = 0;
    // The microseconds of sound played so far.
    virtual qint64 processedUSecs() const = 0;
};

class Engines {
  public:
    virtual ~Engines() = default;

    // ---- the web engine ----
    // Registers the program's address scheme, served by source; a local
    // page's scripts fetch only what mayRead allows. Called once, before any
    // browser is made.
    virtual void useScheme(const char* scheme, DocumentSource source, ScriptReads mayRead) = 0;
    // A preview browser: the engine's view, owned by the caller. Local
    // documents (the scheme's) load their own pictures, style sheets,
    // scripts and frames, but reach neither remote addresses nor other
    // files through their scripts; nothing of a preview is kept on disk.
    virtual QWidget* makeBrowser(BrowserEvents events) = 0;
    // Loads an address into a browser of makeBrowser.
    virtual void load(QWidget* browser, const QUrl& url) = 0;
    virtual QString selectedText(QWidget* browser) const = 0;

    // ---- Qt Multimedia ----
    // A player; endOfMedia is called when its source has played to its end.
    virtual std::unique_ptr<Player> makePlayer(std::function<void()> endOfMedia) = 0;
    // A widget that shows a player's video, owned by the caller.
    virtual QWidget* makeVideoWidget() = 0;
    // Plays the sound source gives (sampleRate, channels, 16-bit) on the
    // system's default output until stopped.
    virtual std::unique_ptr<SoundOutput> startSound(QIODevice* source, int sampleRate,
                                                    int channels) = 0;
};

// The engines, the library loaded at the first call; nullptr when it cannot
// be loaded (the reason is written to the standard error once).
Engines* engines();

}  // namespace gui::engines

// The library's one entry point.
extern "C" gui::engines::Engines* zelbrinEngines();
