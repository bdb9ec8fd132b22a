// The wiring of the mirror copies' menu items.
#include "mainwindow/form1.h"

void Form1::wireMirrorEvents() {
    copytag.Click = [this] { copytag_Click(); };
    copyred.Click = [this] { copyred_Click(); };
    copyblue.Click = [this] { copyblue_Click(); };
    copypurple.Click = [this] { copypurple_Click(); };
    copygreen.Click = [this] { copygreen_Click(); };
    CopyClearSize.Click = [this] { CopyClearSize_Click(); };
    deleteAllred.Click = [this] { deleteAllred_Click(); };
    DeleteCopyFile.Click = [this] { DeleteCopyFile_Click(); };
    OpenRed.Click = [this] { OpenRed_Click(); };
    openfindRed.Click = [this] { openfindRed_Click(); };
}
