// The page options: check marks of the 制作网页 menu, kept equal to those of
// their twins in the disc list's pop-up menu. At most one of the two copy
// options carries its mark.
#include "catalogue/scan_command.h"
#include "mainwindow/form1.h"
#include "platform/ui/ui.h"
#include "webpages/page_options.h"

namespace {

// Turns one copy option on (and the other off) or off, and says what pages
// do now.
void toggleCopies(Form1& form, platform::MenuItem& item, platform::MenuItem& twin,
                  platform::MenuItem& other, platform::MenuItem& otherTwin,
                  std::string_view onMessage) {
    if (item.checked()) {
        item.setChecked(false);
        twin.setChecked(false);
        form.ui().msgBox(webpages::NoCopies, platform::MsgButtons::OK, catalogue::TipTitle);
        return;
    }
    item.setChecked(true);
    other.setChecked(false);
    twin.setChecked(true);
    otherTwin.setChecked(false);
    form.ui().msgBox(onMessage, platform::MsgButtons::OK, catalogue::TipTitle);
}

void toggleBoth(platform::MenuItem& item, platform::MenuItem& twin) {
    const bool on = !item.checked();
    item.setChecked(on);
    twin.setChecked(on);
}

}  // namespace

void Form1::htmlcopygou_Click() {
    toggleCopies(*this, htmlcopygou, htmlcopygou1, htmlcopyall, htmlcopyall1, webpages::CopyTicked);
}

void Form1::htmlcopygou1_Click() { htmlcopygou_Click(); }

void Form1::htmlcopyall_Click() {
    toggleCopies(*this, htmlcopyall, htmlcopyall1, htmlcopygou, htmlcopygou1, webpages::CopyAll);
}

void Form1::htmlcopyall1_Click() { htmlcopyall_Click(); }

void Form1::createnote1_Click() { toggleBoth(createnote1, createnotes); }

void Form1::createnotes_Click() { createnote1_Click(); }

void Form1::add_link_Click() { add_link.setChecked(!add_link.checked()); }

void Form1::CreateHtmlTrue_Click() { toggleBoth(CreateHtmlTrue, CreateHtmlTrue1); }

void Form1::CreateHtmlTrue1_Click() { CreateHtmlTrue_Click(); }
