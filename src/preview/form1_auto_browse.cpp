// Automatic browsing: while "preview" is pressed, each tick of Timer2 steps
// to the next row of the file list (or, while it is empty, of the shown
// search results), wrapping to the first, and previews it, as the toolbar
// key "downs" does. The key "time" switches the timer; the menu item
// a_interval sets its interval through Dialog2.
#include <cmath>

#include "mainwindow/form1.h"
#include "platform/ui/dispatcher.h"
#include "preview/interval_dialog.h"

void Form1::Timer2_Timer() {
    // A tick never moves a list under a command that waits for the user:
    // that command would then act on another row.
    if (platform::Dispatcher::instance().modalWaitOpen()) return;
    if (Toolbar1.button("preview").value() != 1) return;
    stepList(true);
}

void Form1::a_interval_Click() {
    {
        Dialog2 dialog(*this);
        dialog.showModal();
    }
    // Whichever way the dialog closed (500 to 6500 ms).
    Timer2.setInterval(static_cast<int>(std::lround(b_interval * 1000)));
}
