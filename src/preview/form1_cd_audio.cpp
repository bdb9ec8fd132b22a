// The audio CD's command layer: the command strings of the multimedia port
// under the alias "cd", and the queries that read the reply buffer MciReply
// at fixed positions. The device keeps the track, the position and the time
// format; the layer keeps nothing but the buffer.
#include <cmath>
#include <string>

#include "mainwindow/form1.h"
#include "platform/system/mci.h"
#include "platform/text/text.h"

namespace {

namespace text = platform::text;

// Sends a query: the port gets a copy of the buffer and writes its reply at
// the start; the buffer takes back the reply and a NUL, cut to 255
// characters, and keeps the rest. A command the port refuses leaves an empty
// reply (a NUL at the start), so that no earlier reply is read as its answer.
void query(Form1& f, std::string_view command) {
    std::string reply = f.MciReply;
    if (f.app().mci.send(command, &reply) != 0) reply.clear();
    if (reply == f.MciReply) return;
    const std::size_t n = std::min<std::size_t>(reply.size(), 255);
    f.MciReply.replace(0, n, reply, 0, n);
    if (n < 255) f.MciReply[n] = '\0';
}

// Characters from 1-based position start of the reply, at most n, up to the
// reply's NUL.
std::string replyField(const Form1& f, std::size_t start, std::size_t n) {
    const std::size_t end = f.MciReply.find('\0');
    const std::string reply = f.MciReply.substr(0, end);
    if (start > reply.size()) return "";
    return reply.substr(start - 1, n);
}

// A number field of the reply: its leading digits (blanks skipped); false
// when it starts with none.
bool numberField(const Form1& f, std::size_t start, std::size_t n, std::int32_t& value) {
    const std::string field = text::ltrim(replyField(f, start, n));
    value = static_cast<std::int32_t>(text::val(field));
    return !field.empty() && field[0] >= '0' && field[0] <= '9';
}

// The number as VB's Str$ writes a whole number: a blank in front of 0 and
// more, the minus sign otherwise.
std::string strNumber(std::int32_t n) { return (n >= 0 ? " " : "") + std::to_string(n); }

// The position in milliseconds from the start of the disc.
std::int64_t millisecondPosition(Form1& f) {
    f.SetFormat_milliseconds();
    query(f, "status cd position wait");
    std::int32_t p = 0;
    numberField(f, 1, 10, p);
    return p;
}

void playFrom(Form1& f, std::int64_t ms) {
    f.app().mci.send("play cd from " + std::to_string(std::max<std::int64_t>(ms, 0)), nullptr);
}

}  // namespace

void Form1::SeekCDtoX(std::int32_t CDtrack) {
    CDStopPlay();
    CDSetTrack(CDtrack);
    CDStartPlay();
}

void Form1::CDStartPlay() { app().mci.send("play cd", nullptr); }

void Form1::CDSetTrack(std::int32_t CDtrack) {
    app().mci.send("seek cd to " + strNumber(CDtrack), nullptr);
}

void Form1::CDStopPlay() { app().mci.send("stop cd wait", nullptr); }

void Form1::CDPausePlay() { app().mci.send("pause cd", nullptr); }

void Form1::ReadyDevice() {
    CDUnloadAll();
    SetCDPlayerReady();
    SetFormat_tmsf();
}

void Form1::CDUnloadAll() { app().mci.send("close all", nullptr); }

void Form1::SetCDPlayerReady() { app().mci.send("open cdaudio alias cd wait shareable", nullptr); }

void Form1::SetFormat_milliseconds() { app().mci.send("set cd time format milliseconds", nullptr); }

void Form1::SetFormat_tmsf() { app().mci.send("set cd time format tmsf wait", nullptr); }

bool Form1::readCdPosition(std::int32_t& track, std::int32_t& minutes, std::int32_t& seconds) {
    query(*this, "status cd position");
    const bool t = numberField(*this, 1, 2, track);
    const bool m = numberField(*this, 4, 2, minutes);
    const bool s = numberField(*this, 7, 2, seconds);
    return t && m && s;
}

std::string Form1::checkCDEXIST() {
    query(*this, "status cd media present");
    return replyField(*this, 1, 4);
}

std::int32_t Form1::GetNumTracks() {
    query(*this, "status cd number of tracks wait");
    std::int32_t n = 0;
    numberField(*this, 1, 2, n);
    return n;
}

std::string Form1::GetTrackLength(std::int32_t TrackNum) {
    query(*this, "status cd length track " + std::to_string(TrackNum));
    return replyField(*this, 1, 5);
}

std::int32_t Form1::changeMinSec(std::string_view minsec) {
    // The first two and the last two characters, each read as the number at
    // its start; no two-digit fields can overflow.
    const double minutes = text::val(text::left(minsec, 2));
    const double seconds = text::val(text::right(minsec, 2));
    return static_cast<std::int32_t>(std::lround(minutes * 60 + seconds));
}

void Form1::ReWind() {
    if (!CDPlaying) {
        MediaPlayer1.fastReverse();
        return;
    }
    std::int32_t track = 0, m = 0, s = 0;
    readCdPosition(track, m, s);
    const std::int64_t p = millisecondPosition(*this);
    if (CDPlaying && Timer1.enabled()) {
        // More than 21 seconds into the track: 20 seconds back; otherwise one
        // second after the track's start.
        if (m * 60 + s > 21)
            playFrom(*this, p - 20000);
        else
            playFrom(*this, p - s * 1000 + 1000);
    }
    SetFormat_tmsf();
}

void Form1::FastForward() {
    if (!CDPlaying) {
        MediaPlayer1.fastForward();
        return;
    }
    std::int32_t track = 0, m = 0, s = 0;
    readCdPosition(track, m, s);
    const std::int32_t left = changeMinSec(GetTrackLength(track)) - (m * 60 + s);
    const std::int64_t p = millisecondPosition(*this);
    if (CDPlaying && Timer1.enabled()) {
        // More than 21 seconds left: 20 seconds on; otherwise one second
        // before the track's end.
        if (left > 21)
            playFrom(*this, p + 20000);
        else
            playFrom(*this, p + std::int64_t{left} * 1000 - 1000);
    }
    SetFormat_tmsf();
}
