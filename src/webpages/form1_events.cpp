// The wiring of the web pages' menu items.
#include "mainwindow/form1.h"

void Form1::wireWebPageEvents() {
    createhtml111.Click = [this] { createhtml111_Click(); };
    createhtmlcontent.Click = [this] { createhtmlcontent_Click(); };
    createhtmlindex.Click = [this] { createhtmlindex_Click(); };
    htmlcopygou.Click = [this] { htmlcopygou_Click(); };
    htmlcopygou1.Click = [this] { htmlcopygou1_Click(); };
    htmlcopyall.Click = [this] { htmlcopyall_Click(); };
    htmlcopyall1.Click = [this] { htmlcopyall1_Click(); };
    createnote1.Click = [this] { createnote1_Click(); };
    createnotes.Click = [this] { createnotes_Click(); };
    add_link.Click = [this] { add_link_Click(); };
    CreateHtmlTrue.Click = [this] { CreateHtmlTrue_Click(); };
    CreateHtmlTrue1.Click = [this] { CreateHtmlTrue1_Click(); };
}
