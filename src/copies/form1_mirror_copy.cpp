// Copying the ticked files of the opened disc to a folder on the hard disk.
#include "mainwindow/form1.h"

void Form1::copytag_Click() {}
