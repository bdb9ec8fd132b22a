// The music play list: the ticked music rows of the file list play one
// after the other, the tracks of an audio CD through the command layer
// (form1_cd_audio.cpp), other music files through the hidden player
// MediaPlayer1. Timer1 follows the position once a second; the toolbar's
// music group pauses, steps, jumps and stops.
#include <cstdio>
#include <string>

#include "discpage/disc_file_path.h"
#include "discpage/file_listing.h"
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace {

namespace text = platform::text;

constexpr const char* Paused = "继续播放";
constexpr const char* Playing = "暂停播放";

// The music group of the toolbar, in the order it is shown and hidden.
constexpr const char* MusicKeys[] = {"PauseCD",    "ForwardCD", "BackwardCD", "NextCD",
                                     "PreviousCD", "fgt4",      "StopCD"};

bool isMusicType(std::string_view type) {
    const std::string t = text::lcase(type);
    return t == "wma" || t == "mp3" || t == "mid" || t == "midi" || t == "wav" || t == "cda";
}

void showMusicGroup(Form1& f, bool show) {
    for (const char* key : MusicKeys) f.Toolbar1.button(key).setVisible(show);
}

std::int32_t entries(const Form1& f) {
    return f.PlayList.empty() ? 0 : static_cast<std::int32_t>(f.PlayList.size()) - 1;
}

// A size text's megabytes × 65.5 as the bar's maximum; a size in K leaves it.
void sizeToMax(Form1& f, const std::string& size) {
    if (!text::endsWith(size, "M")) return;
    const float mb = static_cast<float>(text::val(text::left(size, text::len(size) - 1)));
    f.ProgressBar1.setMax(mb * 65.5F);
}

// The list folder of the selected node of the disc list, ending in "\";
// nothing when it cannot be worked out (no node selected, the hard-disk
// folder's index unreadable).
std::optional<std::string> playListFolder(Form1& f) {
    const platform::Node* node = f.TreeView1.selectedItem();
    if (node == nullptr) return std::nullopt;
    const std::string p = node->fullPath();
    const std::size_t first = text::inStr(p, "\\");
    const std::string below = first == 0 ? "" : text::mid(p, first + 1);
    if (text::right(f.OpenedDisk, 5) == "_hard") {
        // The catalogued folder's parent and the names below the disc's
        // node; a whole drive (the scan root's text ends with ":") has none.
        const platform::Node* root = f.TreeView1.item(f.OpenedDisk + "*").child();
        if (root != nullptr && text::endsWith(root->text(), ":")) return below + "\\";
        const auto disc = discpage::hardDiscFolderOf(f.app().ProgramFolder, f.OpenedDisk);
        if (!disc) return std::nullopt;
        return disc->base + below + "\\";
    }
    // A CD: the drive's root and the folders below the drive element.
    const std::size_t second = first == 0 ? 0 : text::inStr(p, "\\", first + 1);
    if (second == 0) return f.CdDrive;
    return f.CdDrive + text::mid(p, second + 1) + "\\";
}

// Starts entry i on the player (its file name starts it). False when the
// entry names no plain path or the player cannot load it.
bool loadMedia(Form1& f, std::int32_t i) {
    const std::string& path = f.PlayList[static_cast<std::size_t>(i)];
    if (!discpage::plainNames(path)) return false;
    try {
        f.MediaPlayer1.setFileName(path);
    } catch (const platform::Error&) {
        return false;
    }
    f.ProgressBar1.setVisible(true);
    sizeToMax(f, f.PlaySizes[static_cast<std::size_t>(i)]);
    return true;
}

// Moves the audio-CD list to entry i and plays its track from the start.
void playCdEntry(Form1& f, std::int32_t i) {
    const std::int32_t t = Form1::CdaTrackNumber(f.PlayList[static_cast<std::size_t>(i)]);
    f.CDListIndex = i;
    f.PlayingTrack = t;
    f.SeekCDtoX(t);
    f.ProgressBar1.setMax(Form1::changeMinSec(f.GetTrackLength(t)) + 10);
}

// The end of a list, audio CD or media: the timer off, the group hidden and
// the caption back.
void endList(Form1& f) {
    f.Timer1.setEnabled(false);
    showMusicGroup(f, false);
    f.setCaption("Zelbrin");
    f.ProgressBar1.setValue(0);
}

void endCdList(Form1& f) {
    endList(f);
    f.ProgressBar1.setVisible(true);
    f.CDPlaying = 0;
    f.CDStopPlay();
}

void rewindPlayer(Form1& f) {
    if (f.MediaPlayer1.currentPosition() > 0) f.MediaPlayer1.setCurrentPosition(0);
}

// A single-precision number as the system writes it: at most seven
// significant digits, no trailing zeros.
std::string singleText(double x) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.7G", static_cast<double>(static_cast<float>(x)));
    return buf;
}

void cdTick(Form1& f) {
    std::int32_t t = 0, m = 0, s = 0;
    if (!f.readCdPosition(t, m, s)) {
        // The disc is gone or the reply is no position: the list ends.
        endCdList(f);
        return;
    }
    f.ProgressBar1.setValue(m * 60 + s);
    const std::string length = f.GetTrackLength(t);
    const std::int32_t n = entries(f);
    f.setCaption(std::to_string(t) + "=" + std::to_string(f.CDListIndex) + "/" + std::to_string(n) +
                 "=" + std::to_string(m) + ":" + std::to_string(s) + "/" + length);
    if (t != f.PlayingTrack) {
        // The disc has run on into another track.
        if (f.CDListIndex < n)
            playCdEntry(f, f.CDListIndex + 1);
        else
            endCdList(f);
    }
    // The disc's last track near its end: the next entry, or the end.
    const bool lastTrack = f.PlayingTrack == f.GetNumTracks();
    if (!f.CDPlaying || !lastTrack || f.ProgressBar1.max() >= f.ProgressBar1.value() + 12) return;
    if (f.CDListIndex < n)
        playCdEntry(f, f.CDListIndex + 1);
    else
        endCdList(f);
}

void mediaTick(Form1& f) {
    const double p = static_cast<float>(f.MediaPlayer1.currentPosition());
    // Once the player knows how long the file plays, the bar spans that (the
    // size only estimates it, and not at all for a file of kilobytes).
    const double length = f.MediaPlayer1.duration();
    if (length > 0) f.ProgressBar1.setMax(static_cast<float>(length + 1));
    if (f.ProgressBar1.max() - 1 > p) f.ProgressBar1.setValue(p + 1);
    const std::string& file = f.MediaPlayer1.fileName();
    const std::string name = text::mid(file, text::inStrRev(file, "\\") + 1);
    f.setCaption(std::to_string(f.MediaListIndex) + "/" + std::to_string(entries(f)) + "=" + name +
                 "=" + text::left(singleText(p), 5));
}

}  // namespace

std::int32_t Form1::CdaTrackNumber(std::string_view path) {
    // The two characters before ".cda": both digits give the number, else
    // the second alone.
    const std::string end = text::right(path, 6);
    if (text::len(end) < 6) return static_cast<std::int32_t>(text::val(text::left(end, 1)));
    const std::string c6 = text::left(end, 1);
    const std::string c5 = text::mid(end, 2, 1);
    const bool digit6 = c6[0] >= '0' && c6[0] <= '9';
    return static_cast<std::int32_t>(text::val(digit6 ? c6 + c5 : c5));
}

void Form1::playmp3_Click() {
    if (!TreeView1.visible() || ListView1.count() == 0) {
        ui().msgBox("请点击光盘页，为你想播放的文件打上勾。", platform::MsgButtons::OK, "提示");
        return;
    }
    std::int32_t n = 0;
    for (int i = 1; i <= ListView1.count(); ++i) {
        const platform::ListItem& row = ListView1.item(i);
        if (row.checked() && isMusicType(row.subItem(1))) ++n;
    }
    if (n == 0) {
        ui().msgBox("请为你想播放的文件打上勾。", platform::MsgButtons::OK, "提示");
        return;
    }
    // A list that runs (or is paused) stops first: one source plays at a time.
    if (CDPlaying || Timer1.enabled() || PausePlay.caption() == Paused) StopPlay_Click();

    PlayList.assign(static_cast<std::size_t>(n) + 1, "");
    PlaySizes.assign(static_cast<std::size_t>(n) + 1, "");
    MediaListIndex = 1;
    const std::optional<std::string> folder = playListFolder(*this);
    std::string firstType;
    std::size_t k = 0;
    for (int i = 1; i <= ListView1.count(); ++i) {
        const platform::ListItem& row = ListView1.item(i);
        if (!row.checked() || !isMusicType(row.subItem(1))) continue;
        ++k;
        if (k == 1) firstType = text::lcase(row.subItem(1));
        PlayList[k] = folder.value_or("") +
                      discpage::rowFileName(row.text(), row.subItem(1), row.key(), false);
        PlaySizes[k] = row.subItem(2);
    }

    if (firstType == "cda") {
        // An audio CD: a first track that reads as no length means no disc.
        const std::int32_t t = CdaTrackNumber(PlayList[1]);
        ReadyDevice();
        const std::string length = GetTrackLength(t);
        if (changeMinSec(length) < 1) {
            ui().msgBox("光驱里没有音乐CD!", platform::MsgButtons::OK, "Information");
            return;
        }
        PlayingTrack = t;
        CDListIndex = 1;
        ReadyDevice();
        SeekCDtoX(t);
        CDPlaying = -1;
        ProgressBar1.setMax(changeMinSec(length) + 10);
        ProgressBar1.setVisible(true);
    } else {
        bool started = folder.has_value() && loadMedia(*this, 1);
        if (started) {
            try {
                MediaPlayer1.play();
            } catch (const platform::Error&) {
                started = false;
            }
        }
        if (!started) {
            ui().msgBox("没有这些音乐文件!", platform::MsgButtons::OK, "提示");
            return;
        }
    }
    Timer1.setEnabled(true);
    showMusicGroup(*this, true);
}

void Form1::Timer1_Timer() {
    if (CDPlaying)
        cdTick(*this);
    else
        mediaTick(*this);
}

void Form1::MediaPlayer1_EndOfStream(std::int32_t) {
    ++MediaListIndex;
    const std::int32_t n = entries(*this);
    if (n == 1 || MediaListIndex > n) {
        endList(*this);
        if (n == 1) ProgressBar1.setVisible(false);
        rewindPlayer(*this);
        return;
    }
    // A later entry the player cannot load leaves the list waiting.
    loadMedia(*this, MediaListIndex);
}

void Form1::PausePlay_Click() {
    const bool pausing = PausePlay.caption() == Playing;
    if (pausing) {
        if (CDPlaying)
            CDPausePlay();
        else if (MediaPlayer1.currentPosition() > 0)
            MediaPlayer1.pause();
        else
            return;
    } else if (CDPlaying) {
        CDStartPlay();
    } else {
        MediaPlayer1.play();
    }
    PausePlay.setCaption(pausing ? Paused : Playing);
    Toolbar1.button("PauseCD").setValue(pausing ? 1 : 0);
    Timer1.setEnabled(!pausing);
}

void Form1::StopPlay_Click() {
    if (CDPlaying) {
        endCdList(*this);
    } else {
        endList(*this);
        ProgressBar1.setVisible(false);
        MediaPlayer1.stop();
        rewindPlayer(*this);
    }
    if (PausePlay.caption() == Paused) {
        PausePlay.setCaption(Playing);
        Toolbar1.button("PauseCD").setValue(0);
    }
}

void Form1::stepPlayList(bool next) {
    const std::int32_t n = entries(*this);
    if (CDPlaying) {
        // Only while playing (not paused) and not at the ends.
        if (!Timer1.enabled()) return;
        const std::int32_t to = CDListIndex + (next ? 1 : -1);
        if (to < 1 || to > n) return;
        playCdEntry(*this, to);
        return;
    }
    const std::int32_t to = MediaListIndex + (next ? 1 : -1);
    if (to < 1 || to > n) return;
    MediaListIndex = to;
    loadMedia(*this, to);
}
