// The wiring of the preview pane's and the players' events.
#include "mainwindow/form1.h"

void Form1::wirePreviewEvents() {
    OpenPreview.Click = [this] { OpenPreview_Click(); };
    // Preview by file type, and automatic browsing.
    IsRed.Click = [this] { IsRed_Click(); };
    a_interval.Click = [this] { a_interval_Click(); };
    Timer2.Tick = [this] { Timer2_Timer(); };
    WebBrowser1.NewWindow2 = [this](bool& cancel) { WebBrowser1_NewWindow2(cancel); };
    WebBrowser1.StatusTextChange = [this](const std::string& text) {
        WebBrowser1_StatusTextChange(text);
    };
}
