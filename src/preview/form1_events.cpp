// The wiring of the preview pane's and the players' events.
#include "mainwindow/form1.h"

void Form1::wirePreviewEvents() {
    OpenPreview.Click = [this] { OpenPreview_Click(); };
}
