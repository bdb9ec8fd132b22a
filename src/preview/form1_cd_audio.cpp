// The audio CD, as far as shutdown needs it.
#include "mainwindow/form1.h"
#include "platform/system/mci.h"

void Form1::CDStopPlay() { app().mci.send("stop cd wait", nullptr); }
