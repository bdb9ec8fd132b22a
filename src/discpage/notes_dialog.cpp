#include "discpage/notes_dialog.h"

#include "catalogue/scan_command.h"
#include "discpage/file_listing.h"
#include "discpage/note_file.h"
#include "mainwindow/form1.h"
#include "platform/controls/design_table.h"
#include "platform/controls/listview.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace {

constexpr std::string_view RemarkCaption = "添加备注";
constexpr std::string_view UsageCaption = "添加使用情况";

// A file-list row's name as the label shows it: a file with an extension
// as its index line spells it ("README.TXT", where the type column reads
// "txt"); otherwise the text, "." and the type column ("README.No扩展名").
std::string fileListName(const platform::ListItem& row) {
    const std::string& type = row.subItem(1);
    if (type == discpage::FolderType || type == discpage::NoExtensionType)
        return row.text() + "." + type;
    return discpage::rowFile(row.text(), type, row.key()).name;
}

}  // namespace

notes::notes(Form1& main) : Form(main.services(), "notes"), main_(main) {
    setCaption(std::string(RemarkCaption));
    setInnerSize(6240, 3120);
    setFixedBorder(true);
    setStartPosition(platform::StartPosition::Manual);
    setLeft(2760);
    setTop(3750);

    platform::applyDesign({
        {Text1, "", 0, 0, 6255, 2535},
        {Label1, "", 240, 2760, 2895, 375},
        {OKButton, "确定", 3360, 2640, 855, 375},
        {CancelButton, "取消", 4320, 2640, 855, 375},
        {Command1, "删除", 5280, 2640, 855, 375},
    });
    // Enter starts a new line (no default button); Esc is 取消.
    CancelButton.setCancel(true);
    Text1.setMultiLine(true);
    Label1.setAutoSize(true);
    Label1.setForeColor(LinkColor);

    OKButton.Click = [this] { OKButton_Click(); };
    CancelButton.Click = [this] { CancelButton_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    Label1.Click = [this] { Label1_Click(); };
    Label1.MouseMove = [this](int, int, double, double) { Label1_MouseMove(); };
}

void notes::Form_Load() {
    std::string name;
    std::string text;
    if (main_.IsExample || !main_.Is_addnotes111) {
        setCaption(std::string(main_.IsExample ? UsageCaption : RemarkCaption));
        if (const platform::ListItem* row = main_.ListView1.selectedItem()) {
            name = fileListName(*row);
            text = row->subItem(main_.IsExample ? 4 : 3);
        }
    } else {
        setCaption(std::string(RemarkCaption));
        if (const platform::ListItem* row = main_.ListView2.selectedItem()) {
            const std::string& path = row->subItem(1);
            const std::size_t last = path.rfind('\\');
            name = last == std::string::npos ? path : path.substr(last + 1);
            text = row->subItem(2);
        }
    }
    Label1.setCaption(std::move(name));
    Text1.setText(std::move(text));
    Label1.setForeColor(LinkColor);
    Label1.setFontUnderline(false);
}

void notes::Form_Resize() { Text1.setFocus(); }

void notes::Label1_MouseMove() {
    Label1.setForeColor(HoverColor);
    Label1.setFontUnderline(true);
}

void notes::Form_MouseMove(int, int, double, double) {
    Label1.setForeColor(LinkColor);
    Label1.setFontUnderline(false);
}

void notes::Label1_Click() {
    if (main_.IsExample || !main_.Is_addnotes111) main_.OpenOpticDisk_Click();
}

void notes::Command1_Click() { Text1.setText(""); }

void notes::OKButton_Click() {
    const std::string& text = Text1.text();
    if (text.find(discpage::NoteMarker) != std::string::npos ||
        text.find(discpage::UsageMarker) != std::string::npos) {
        ui().msgBox(MarkerRefused, platform::MsgButtons::OK, catalogue::TipTitle);
        return;
    }
    main_.fileNotes = platform::text::withCrLf(text);
    unload();
}

void notes::CancelButton_Click() {
    main_.fileNotes = std::string(Cancelled);
    unload();
}
