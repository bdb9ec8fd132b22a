// The page templates' commands: the menu items 选择网页模板 show the template
// editor, 查看网页代码 the page-code dialog (both in the menu 制作网页 and in
// the disc list's pop-up menu).
#include "mainwindow/form1.h"
#include "webpages/htmlcode_dialog.h"
#include "webpages/model_dialog.h"

void Form1::wireTemplateEvents() {
    htmlselect.Click = [this] { htmlselect_Click(); };
    htmlmodelselect.Click = [this] { htmlmodelselect_Click(); };
    htmlview.Click = [this] { htmlview_Click(); };
    htmlviewcode1.Click = [this] { htmlviewcode1_Click(); };
}

void Form1::htmlselect_Click() {
    model dialog(*this);
    dialog.showModal();
}

void Form1::htmlmodelselect_Click() { htmlselect_Click(); }

void Form1::htmlview_Click() {
    htmlcode dialog(*this);
    dialog.showModal();
}

void Form1::htmlviewcode1_Click() { htmlview_Click(); }
