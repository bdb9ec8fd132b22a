// The start-up's and the events' dealing with a multi-file command the last
// run (or a failed step of this one) left half-done: catalogue/pending_work.h
// runs the command's finisher from its table and says what to tell.
#include <string>

#include "catalogue/pending_work.h"
#include "mainwindow/form1.h"
#include "platform/system/clock.h"
#include "platform/ui/ui.h"

void Form1::completePendingWork(bool atStart) {
    for (const std::string& message : catalogue::dealWithPendingWork(
             app().ProgramFolder, app().settings, app().clock.today(), atStart))
        ui().msgBox(message, platform::MsgButtons::OK, "提示");
}
