// The page template's start values on the main window.
#include "mainwindow/form1.h"
#include "webpages/page_template_defaults.h"

void Form1::setPageTemplateDefaults() {
    htmlText1 = webpages::DefaultPartA;
    htmlText01 = webpages::DefaultTextBlock;
    htmlText11 = webpages::DefaultHeaderRow;
    htmlText2 = webpages::DefaultPartB;
    htmlText3 = webpages::defaultPartC();
    valcommand8 = webpages::DefaultFolderColour;
    valcommand9 = webpages::DefaultFileColour;
    orSize = true;
}
