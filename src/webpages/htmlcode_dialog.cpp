#include "webpages/htmlcode_dialog.h"

#include "catalogue/scan_command.h"
#include "copies/copy_failures.h"
#include "mainwindow/form1.h"
#include "platform/controls/design_table.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace webpages {

namespace {

constexpr std::string_view InfoTitle = "信息";

// The entry tokens a new part B must keep.
constexpr std::string_view RequiredTokens[] = {"Zelbrin文件名", "Zelbrin文件大小",
                                               "Zelbrin文件备注"};

}  // namespace

std::string templateFilePath(std::string_view programFolder, std::string_view name,
                             std::string_view suffix) {
    namespace text = platform::text;
    if (text::inStr(name, "\\") || text::inStr(name, "/") || text::inStr(name, "..")) return {};
    return std::string(programFolder) + std::string(TemplateFolder) + "\\" + std::string(name) +
           std::string(suffix) + ".htm";
}

}  // namespace webpages

htmlcode::htmlcode(Form1& main) : Form(main.services(), "htmlcode"), main_(main) {
    setCaption("网页代码");
    setInnerSize(7080, 5490);
    setFixedBorder(true);

    platform::applyDesign({
        {Label1,
         " 网页前半部分代码：(后缀为_A)("
         "如果在这一部分里有“文件夹名字”5个字，将被真实的文件夹名字替代)",
         0, 0, 5175, 375},
        {Command1, "保存", 5640, 0, 735, 375},
        {Command2, "打开", 6360, 0, 735, 375},
        {Text1, "", 0, 360, 7095, 1575},
        {Label3,
         " 网页中间的重复部分：(后缀为_B)("
         "其中的“Zelbrin文件名”，“Zelbrin文件大小”，“Zelbrin文件备注”是不可修改的。)",
         0, 2040, 5295, 375},
        {Command3, "保存", 5640, 2040, 735, 375},
        {Command4, "打开", 6360, 2040, 735, 375},
        {Text2, "", 0, 2520, 7095, 975},
        {Label2, " 网页后半部分代码：(后缀为_C)", 0, 3600, 3975, 375},
        {Command5, "保存", 5640, 3480, 735, 375},
        {Command6, "打开", 6360, 3480, 735, 375},
        {Text3, "", 0, 3840, 7095, 1095},
        {OKButton, "确定", 4440, 5040, 1215, 375},
        {CancelButton, "取消", 5760, 5040, 1215, 375},
    });
    for (platform::TextBox* box : {&Text1, &Text2, &Text3}) {
        box->setMultiLine(true);
        box->setScrollBars(2);
    }
    OKButton.setDefault(true);
    CancelButton.setCancel(true);

    OKButton.Click = [this] { OKButton_Click(); };
    CancelButton.Click = [this] { CancelButton_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    Command5.Click = [this] { Command5_Click(); };
    Command6.Click = [this] { Command6_Click(); };
}

void htmlcode::Form_Load() {
    Text1.setText(main_.htmlText1);
    Text2.setText(main_.htmlText2);
    Text3.setText(main_.htmlText3);
}

void htmlcode::OKButton_Click() {
    main_.htmlText1 = Text1.text();
    main_.htmlText3 = Text3.text();
    if (Text2.text() != main_.htmlText2) {
        for (std::string_view token : webpages::RequiredTokens) {
            if (Text2.text().find(token) == std::string::npos) {
                ui().msgBox(webpages::KeepTokensMessage, platform::MsgButtons::OK,
                            catalogue::TipTitle);
                return;
            }
        }
        main_.Web2Text = true;
        main_.htmlText2 = Text2.text();
    }
    unload();
}

void htmlcode::CancelButton_Click() { unload(); }

void htmlcode::Command1_Click() { savePart(Text1, "_A"); }
void htmlcode::Command3_Click() { savePart(Text2, "_B"); }
void htmlcode::Command5_Click() { savePart(Text3, "_C"); }
void htmlcode::Command2_Click() { openPart(Text1, "_A"); }
void htmlcode::Command4_Click() { openPart(Text2, "_B"); }
void htmlcode::Command6_Click() { openPart(Text3, "_C"); }

void htmlcode::savePart(const platform::TextBox& box, std::string_view suffix) {
    namespace files = platform::files;
    const std::string name = ui().inputBox(webpages::SaveNamePrompt, webpages::InfoTitle);
    const std::string path = webpages::templateFilePath(main_.app().ProgramFolder, name, suffix);
    // Free only when the probe finds no such file; any other failure (the
    // folder missing, a name the file system refuses, a folder of that
    // name) counts as taken, as does a name that leaves the folder.
    platform::SkipOnError onError;
    const bool free = !path.empty() && !onError.step([&] { files::RawLineReader probe(path); }) &&
                      onError.number() == platform::err::FileNotFound;
    if (!free) {
        ui().msgBox(webpages::NameTakenMessage, platform::MsgButtons::OK, catalogue::TipTitle);
        return;
    }
    // Written beneath the template folder: a link of the name is never
    // replaced nor followed out of it; a path that leaves it is said, and
    // any other failure (a full disk) with the file and the reason.
    try {
        // The template folder is opened beneath the program folder: one
        // that is a link out of it is refused too.
        const files::ConfinedRoot folder = files::ConfinedRoot::open(main_.app().ProgramFolder)
                                               .folder(webpages::TemplateFolder.substr(1));
        files::CommittedTextFile file(folder, folder.relativeOf(path), files::OnExisting::Refuse);
        file.print(box.text());
        file.commit();
    } catch (const platform::Error& e) {
        ui().msgBox(copies::failedWrite(path, e), platform::MsgButtons::OK, catalogue::TipTitle);
    }
}

void htmlcode::openPart(platform::TextBox& box, std::string_view suffix) {
    platform::CommonDialog& dialog = main_.CommonDialog1;
    dialog.setInitDir(main_.app().ProgramFolder + std::string(webpages::TemplateFolder));
    dialog.setDialogTitle("请选择后缀名为\"" + std::string(suffix) + "\"的文件: ");
    if (!dialog.showOpen()) return;
    std::string content;
    platform::SkipOnError onError;
    if (onError.step([&] { content = platform::files::WholeFileRead(dialog.fileName()); }))
        box.setText(content);
}
