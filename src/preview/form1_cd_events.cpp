// The music's events: the menu 播放音乐, the music timer and the end of a
// file on the hidden player. The toolbar's keys reach the same procedures
// through the toolbar dispatch.
#include "mainwindow/form1.h"

void Form1::wireCdAudioEvents() {
    playmp3.Click = [this] { playmp3_Click(); };
    PausePlay.Click = [this] { PausePlay_Click(); };
    StopPlay.Click = [this] { StopPlay_Click(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
    MediaPlayer1.EndOfStream = [this](int result) { MediaPlayer1_EndOfStream(result); };
}
