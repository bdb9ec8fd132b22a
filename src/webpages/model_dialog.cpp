#include "webpages/model_dialog.h"

#include <cstdlib>

#include "catalogue/index_line.h"
#include "catalogue/scan_command.h"
#include "copies/copy_failures.h"
#include "mainwindow/form1.h"
#include "platform/controls/common_dialog.h"
#include "platform/controls/design_table.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"
#include "webpages/htmlcode_dialog.h"
#include "webpages/template_edits.h"

namespace {

namespace text = platform::text;

constexpr platform::Color White = 0xFFFFFF;
constexpr platform::Color Red = 0x0000FF;
constexpr platform::Color Blue = 0xFF0000;
// The system's caption-text colour (the header title's button at design).
constexpr platform::Color CaptionTextColor = 0x80000009;

// The font sizes of the text before the table.
constexpr const char* FontSizes[] = {"2号字", "3号字", "4号字", "5号字", "6号字", "7号字"};
constexpr std::string_view DefaultFontSize = "2号字";
constexpr std::string_view DefaultTitle = "文件夹名字";
// The colour the footer takes back when the text after the table goes.
constexpr std::string_view FooterBlue = "\"#0000FF\"";

// The sample pictures, below the program folder.
constexpr std::string_view TableSample = "\\webmodel\\modelimage\\table.bmp";
constexpr std::string_view ListSample = "\\webmodel\\modelimage\\list.bmp";

// Places: the left column, the right column and the frames in them.
constexpr double L = 120;
constexpr double R = 4140;
constexpr double F1 = 60;    // 表格还是列表
constexpr double F2 = 1815;  // 生成网页时
constexpr double F4 = 1710;  // 表前文字：
constexpr double F5 = 3105;  // 表后文字：
constexpr double Bottom = 4800;

}  // namespace

model::model(Form1& main) : Form(main.services(), "model"), main_(main) {
    setCaption("选择网页模板");
    setInnerSize(8145, 5265);
    setFixedBorder(true);

    platform::applyDesign({
        {Frame1, "表格还是列表", L, F1, 3855, 1695},
        {Image1, "", L + 240, F1 + 240, 1455, 975},
        {Image2, "", L + 2100, F1 + 240, 1455, 975},
        {Option1, "表格", L + 480, F1 + 1290, 975, 255},
        {Option2, "列表", L + 2340, F1 + 1290, 975, 255},
        {Frame2, "生成网页时", L, F2, 3855, 1815},
        {Check1, "带文件大小", L + 240, F2 + 240, 1455, 255},
        {Check2, "带文件备注", L + 2100, F2 + 240, 1455, 255},
        {Frame3, "", L + 120, F2 + 540, 3615, 1155},
        {Check3, "把光盘(硬盘)上的文件拷贝到与网页对应的位置,以便打开或下载", L + 240, F2 + 660,
         3375, 495},
        {Option3, "拷贝打勾的文件", L + 240, F2 + 1200, 1695, 255},
        {Option4, "拷贝所有的文件", L + 1920, F2 + 1200, 1695, 255},
        {Check4, "带表头", L, 3735, 975, 255},
        {Label2, "表头标题：", L + 1080, 3750, 975, 255},
        {Text2, "", L + 2040, 3705, 1815, 315},
        {Command5, "颜色", L + 1080, 4110, 1215, 330},
        {Command11, "表头背景色", L + 2400, 4110, 1455, 330},
        {Command10, "表格左上边界色", R, 120, 1875, 330},
        {Command14, "表格右下边界色", R + 1980, 120, 1875, 330},
        {Command3, "表格背景色", R, 510, 1875, 330},
        {Command4, "网页背景色", R + 1980, 510, 1875, 330},
        {Command8, "文件夹颜色", R, 900, 1875, 330},
        {Command9, "文件颜色", R + 1980, 900, 1875, 330},
        {Check7, "带背景", R, 1335, 975, 255},
        {Command1, "背景图片", R + 1080, 1290, 1335, 330},
        {Frame4, "表前文字：", R, F4, 3855, 1335},
        {Check5, "添加文字", R + 120, F4 + 240, 1215, 255},
        {Combo1, "", R + 1380, F4 + 210, 1215, 315},
        {Command6, "颜色", R + 2700, F4 + 195, 1035, 330},
        {Text5, "", R + 120, F4 + 600, 3615, 315},
        {Option5, "居左", R + 120, F4 + 1005, 855, 255},
        {Option6, "居中", R + 1020, F4 + 1005, 855, 255},
        {Option7, "居右", R + 1920, F4 + 1005, 855, 255},
        {Frame5, "表后文字：", R, F5, 3855, 1335},
        {Check6, "添加文字", R + 120, F5 + 240, 1215, 255},
        {Command7, "颜色", R + 2700, F5 + 195, 1035, 330},
        {Text6, "", R + 120, F5 + 600, 3615, 315},
        {Option8, "居左", R + 120, F5 + 1005, 855, 255},
        {Option9, "居中", R + 1020, F5 + 1005, 855, 255},
        {Command2, "查看代码", L, Bottom, 1215, 375},
        {Command12, "保存模板", L + 1320, Bottom, 1215, 375},
        {Command13, "打开模板", L + 2640, Bottom, 1215, 375},
        {OKButton, "确定", R + 1260, Bottom, 1215, 375},
        {CancelButton, "取消", R + 2640, Bottom, 1215, 375},
    });

    // The design state, set before the events are wired.
    Option2.setValue(true);
    Check1.setValue(1);
    Text2.setText(std::string(DefaultTitle));
    for (const char* size : FontSizes) Combo1.addItem(size);
    Combo1.setText(std::string(DefaultFontSize));
    Option6.setValue(true);
    Option8.setValue(true);
    const struct {
        platform::CommandButton& button;
        platform::Color colour;
    } colours[] = {{Command5, CaptionTextColor},
                   {Command11, Blue},
                   {Command10, Blue},
                   {Command14, White},
                   {Command3, White},
                   {Command4, White},
                   {Command8, Red},
                   {Command9, Blue},
                   {Command6, Blue},
                   {Command7, Blue}};
    for (const auto& c : colours) {
        c.button.setGraphical(true);
        c.button.setBackColor(c.colour);
    }
    for (platform::Control* off : std::initializer_list<platform::Control*>{
             &Option3, &Option4, &Label2, &Text2, &Command5, &Command11, &Command1, &Text5, &Combo1,
             &Option5, &Option6, &Option7, &Command6, &Text6, &Option8, &Option9, &Command7})
        off->setEnabled(false);
    OKButton.setDefault(true);
    CancelButton.setCancel(true);

    Check1.Click = [this] { Check1_Click(); };
    Check2.Click = [this] { Check2_Click(); };
    Check3.Click = [this] { Check3_Click(); };
    Check7.Click = [this] { Check7_Click(); };
    Option1.Click = [this] { Option1_Click(); };
    Option2.Click = [this] { Option2_Click(); };
    Option3.Click = [this] { Option3_Click(); };
    Option4.Click = [this] { Option4_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    Command8.Click = [this] { Command8_Click(); };
    Command9.Click = [this] { Command9_Click(); };
    Command10.Click = [this] { Command10_Click(); };
    Command12.Click = [this] { Command12_Click(); };
    Command13.Click = [this] { Command13_Click(); };
    Command14.Click = [this] { Command14_Click(); };
    OKButton.Click = [this] { OKButton_Click(); };
    CancelButton.Click = [this] { CancelButton_Click(); };
    Check4.Click = [this] { Check4_Click(); };
    Text2.Change = [this] { Text2_Change(); };
    Command5.Click = [this] { Command5_Click(); };
    Command11.Click = [this] { Command11_Click(); };
    Check5.Click = [this] { Check5_Click(); };
    Text5.Change = [this] { Text5_Change(); };
    Combo1.Change = [this] { Combo1_Change(); };
    Combo1.LostFocus = [this] { Combo1_LostFocus(); };
    Command6.Click = [this] { Command6_Click(); };
    Option5.Click = [this] { Option5_Click(); };
    Option6.Click = [this] { Option6_Click(); };
    Option7.Click = [this] { Option7_Click(); };
    Check6.Click = [this] { Check6_Click(); };
    Text6.Change = [this] { Text6_Change(); };
    Command7.Click = [this] { Command7_Click(); };
    Option8.Click = [this] { Option8_Click(); };
    Option9.Click = [this] { Option9_Click(); };
}

// ---- colour texts ----

std::string model::ColorToHtml(platform::Color c) { return webpages::colorToHtml(c); }

std::string model::ColorPart(std::string_view decimal, int part) {
    const auto value =
        static_cast<platform::Color>(std::strtoul(std::string(decimal).c_str(), nullptr, 10));
    // "#RRGGBB": part 1 red, 3 green, 2 blue.
    const std::string html = webpages::colorToHtml(value);
    switch (part) {
        case 1:
            return html.substr(1, 2);
        case 3:
            return html.substr(3, 2);
        case 2:
            return html.substr(5, 2);
        default:
            return {};
    }
}

// ---- loading ----

void model::Form_Load() {
    // The sample pictures; a missing one leaves its box empty.
    platform::SkipOnError onError;
    onError.step([&] { Image1.loadPicture(main_.app().ProgramFolder + std::string(TableSample)); });
    onError.step([&] { Image2.loadPicture(main_.app().ProgramFolder + std::string(ListSample)); });

    // 1-3: the remark and copy marks of the menus.
    if (main_.createnote1.checked()) Check2.setValue(1);
    if (main_.htmlcopygou.checked()) {
        Check3.setValue(1);
        Option3.setValue(true);
        Option4.setValue(false);
    }
    if (main_.htmlcopyall.checked()) {
        Check3.setValue(1);
        Option3.setValue(false);
        Option4.setValue(true);
    }
    // 4: the texts (their blocks are still off, so nothing is written yet).
    if (!main_.valText5.empty()) Text5.setText(main_.valText5);
    if (!main_.valText2.empty()) Text2.setText(main_.valText2);
    if (!main_.valText6.empty()) Text6.setText(main_.valText6);
    // 5-7: the text blocks the template holds.
    if (main_.valCheck6) Check6.setValue(1);
    if (text::inStr(main_.htmlText1, webpages::TextBlockMarker) != 0) {
        Check5.setValue(1);
        enableTextBefore(true);
    }
    if (text::inStr(main_.htmlText1, webpages::HeaderRowMarker) != 0) {
        enableHeaderRow(true);
        Check4.setValue(1);
    }
    // 8: the layout.
    if (main_.ListOrTable) Option1.setValue(true);
    // 9: the alignments.
    if (main_.valOption8) Option8.setValue(true);
    if (main_.valOption9) Option9.setValue(true);
    if (main_.valOption5) Option5.setValue(true);
    if (main_.valOption6) Option6.setValue(true);
    if (main_.valOption7) Option7.setValue(true);
    // 10: the font size.
    if (!main_.valCombo1.empty()) Combo1.setText(main_.valCombo1);
    // 11: the colours chosen (0: none).
    const struct {
        platform::CommandButton& button;
        platform::Color colour;
    } chosen[] = {{Command7, main_.valCommand7},   {Command6, main_.valcommand6},
                  {Command10, main_.valcommand10}, {Command14, main_.valcommand14},
                  {Command4, main_.valcommand4},   {Command3, main_.valcommand3},
                  {Command11, main_.valcommand11}, {Command5, main_.valcommand5},
                  {Command8, main_.valcommand88},  {Command9, main_.valcommand99}};
    for (const auto& c : chosen)
        if (c.colour != 0) c.button.setBackColor(c.colour);
    // 12: a background picture in the body tag.
    const std::string& partA = main_.htmlText1;
    if (const std::size_t body = text::inStr(partA, "body")) {
        const std::size_t picture = text::inStr(partA, "background=", body);
        if (picture != 0 && picture < text::inStr(partA, ">", body)) Check7.setValue(1);
    }
}

// ---- the page options ----

void model::Check1_Click() { main_.orSize = Check1.value() == 1; }

void model::Check2_Click() {
    const bool on = Check2.value() == 1;
    main_.createnote1.setChecked(on);
    main_.createnotes.setChecked(on);
}

void model::Check3_Click() {
    const bool on = Check3.value() == 1;
    Option3.setEnabled(on);
    Option4.setEnabled(on);
    if (on) {
        Option3.setValue(true);
        Option4.setValue(false);
    } else {
        Option3.setValue(false);
        Option4.setValue(false);
    }
    main_.htmlcopygou.setChecked(on);
    main_.htmlcopygou1.setChecked(on);
    main_.htmlcopyall.setChecked(false);
    main_.htmlcopyall1.setChecked(false);
}

void model::Option3_Click() {
    main_.htmlcopygou.setChecked(true);
    main_.htmlcopygou1.setChecked(true);
    main_.htmlcopyall.setChecked(false);
    main_.htmlcopyall1.setChecked(false);
}

void model::Option4_Click() {
    main_.htmlcopygou.setChecked(false);
    main_.htmlcopygou1.setChecked(false);
    main_.htmlcopyall.setChecked(true);
    main_.htmlcopyall1.setChecked(true);
}

void model::Option1_Click() { main_.ListOrTable = true; }

void model::Option2_Click() { main_.ListOrTable = false; }

// ---- colours ----

std::string model::chooseColour(platform::CommandButton& button, platform::Color& member) {
    platform::CommonDialog& dialog = main_.CommonDialog1;
    if (!dialog.showColor()) return {};
    const platform::Color c = dialog.color();
    button.setBackColor(c);
    member = c;
    return webpages::colourItem(c);
}

void model::Command10_Click() {
    const std::string v = chooseColour(Command10, main_.valcommand10);
    if (!v.empty())
        main_.htmlText1 =
            webpages::replaceColourAfter(main_.htmlText1, webpages::BorderLightMarker, v);
}

void model::Command14_Click() {
    const std::string v = chooseColour(Command14, main_.valcommand14);
    if (!v.empty())
        main_.htmlText1 =
            webpages::replaceColourAfter(main_.htmlText1, webpages::BorderDarkMarker, v);
}

void model::Command3_Click() {
    const std::string v = chooseColour(Command3, main_.valcommand3);
    if (!v.empty()) main_.htmlText1 = webpages::setTableBackground(main_.htmlText1, v);
}

void model::Command4_Click() {
    const std::string v = chooseColour(Command4, main_.valcommand4);
    if (!v.empty()) main_.htmlText1 = webpages::setPageBackground(main_.htmlText1, v);
}

void model::Command8_Click() {
    if (!chooseColour(Command8, main_.valcommand88).empty())
        main_.valcommand8 = webpages::colorToHtml(main_.valcommand88);
}

void model::Command9_Click() {
    if (!chooseColour(Command9, main_.valcommand99).empty())
        main_.valcommand9 = webpages::colorToHtml(main_.valcommand99);
}

// ---- the background ----

void model::Check7_Click() {
    const bool on = Check7.value() == 1;
    Command1.setEnabled(on);
    main_.htmlText1 = on ? webpages::removeTableBackground(main_.htmlText1)
                         : webpages::removeBodyBackground(main_.htmlText1);
}

void model::Command1_Click() {
    namespace files = platform::files;
    platform::CommonDialog& dialog = main_.CommonDialog1;
    if (!dialog.showOpen() || dialog.fileName().empty()) return;
    const std::string picture = dialog.fileName();
    const std::string name = dialog.fileTitle();
    // webhtml\<disc>\ZelbrinWebImage, made beneath the program folder level
    // by level; the picture is copied beneath it, never over a file there nor
    // through a link of its name. A copy that cannot be made is said with
    // its reason (a path that leaves its folder, a full disk); a picture of
    // that name already there is kept and used.
    // Before any disc was opened: webhtml\ZelbrinWebImage.
    std::string images = "webhtml\\";
    if (!main_.OpenedDisk.empty()) images += catalogue::discFileName(main_.OpenedDisk, {}) + "\\";
    images += webpages::WebImageFolder;
    try {
        const files::ConfinedRoot program = files::ConfinedRoot::open(main_.app().ProgramFolder);
        program.createFolders(images);
        const std::size_t slash = picture.rfind('\\');
        if (slash == std::string::npos) platform::raise(platform::err::BadFileName);
        program.folder(images).copyInto(name, files::ConfinedRoot::open(picture.substr(0, slash)),
                                        picture.substr(slash + 1), files::OnExisting::Refuse);
    } catch (const platform::Error& e) {
        if (e.number() != platform::err::FileExists)
            main_.ui().msgBox(
                copies::failedWrite(main_.app().ProgramFolder + "\\" + images + "\\" + name, e),
                platform::MsgButtons::OK, catalogue::TipTitle);
    }
    main_.htmlText1 = webpages::setBodyPicture(main_.htmlText1, name);
}

// ---- page code and closing ----

void model::showPageCode() {
    htmlcode dialog(main_);
    dialog.showModal();
}

void model::Command2_Click() { showPageCode(); }
void model::Command12_Click() { showPageCode(); }
void model::Command13_Click() { showPageCode(); }
void model::OKButton_Click() { unload(); }
void model::CancelButton_Click() { unload(); }

// ---- header row ----

void model::enableHeaderRow(bool enabled) {
    for (platform::Control* c :
         std::initializer_list<platform::Control*>{&Label2, &Text2, &Command5, &Command11})
        c->setEnabled(enabled);
}

void model::Check4_Click() {
    if (Check4.value() == 1) {
        enableHeaderRow(true);
        main_.htmlText1 = webpages::appendHeaderRow(main_.htmlText1, main_.htmlText11);
        Text2_Change();
        return;
    }
    enableHeaderRow(false);
    main_.htmlText1 = webpages::cutHeaderRow(main_.htmlText1);
    Command5.setBackColor(White);
    Command11.setBackColor(Blue);
    main_.valcommand5 = 0;
    main_.valcommand11 = 0;
}

void model::Text2_Change() {
    if (Check4.value() != 1) return;
    main_.htmlText1 = webpages::writeHeaderTitle(main_.htmlText1, Text2.text(), main_.valText2);
    main_.valText2 = Text2.text();
}

void model::Command5_Click() {
    const std::string v = chooseColour(Command5, main_.valcommand5);
    if (!v.empty())
        main_.htmlText1 =
            webpages::replaceColourAfter(main_.htmlText1, webpages::HeaderTitleMarker, v);
}

void model::Command11_Click() {
    const std::string v = chooseColour(Command11, main_.valcommand11);
    if (!v.empty())
        main_.htmlText1 =
            webpages::replaceColourAfter(main_.htmlText1, webpages::HeaderBackgroundMarker, v);
}

// ---- text before the table ----

void model::enableTextBefore(bool enabled) {
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &Text5, &Command6, &Option5, &Option6, &Combo1, &Option7})
        c->setEnabled(enabled);
}

void model::Check5_Click() {
    if (Check5.value() == 1) {
        enableTextBefore(true);
        main_.htmlText1 = webpages::insertTextBlock(main_.htmlText1, main_.htmlText01);
        Text5_Change();
        return;
    }
    enableTextBefore(false);
    Command6.setBackColor(Blue);
    main_.valcommand6 = 0;
    Combo1.setText(std::string(DefaultFontSize));
    main_.valCombo1.clear();
    Option6.setValue(true);
    main_.valOption5 = main_.valOption6 = main_.valOption7 = false;
    main_.htmlText1 = webpages::removeTextBlock(main_.htmlText1);
}

void model::Text5_Change() {
    if (Check5.value() != 1) return;
    main_.htmlText1 = webpages::writeBlockText(main_.htmlText1, Text5.text(), main_.valText5);
    main_.valText5 = Text5.text();
}

void model::Combo1_Change() {
    if (Check5.value() != 1) return;
    main_.htmlText1 = webpages::writeBlockSize(main_.htmlText1, Combo1.text());
    main_.valCombo1 = Combo1.text();
}

void model::Combo1_LostFocus() { Combo1_Change(); }

void model::Command6_Click() {
    if (Check5.value() != 1) return;
    const std::string v = chooseColour(Command6, main_.valcommand6);
    if (!v.empty()) main_.htmlText1 = webpages::writeBlockColour(main_.htmlText1, v);
}

void model::alignTextBefore(std::string_view word, int option) {
    if (Check5.value() != 1) return;
    main_.htmlText1 = webpages::writeBlockAlign(main_.htmlText1, word);
    main_.valOption5 = option == 5;
    main_.valOption6 = option == 6;
    main_.valOption7 = option == 7;
}

void model::Option5_Click() { alignTextBefore("left", 5); }
void model::Option6_Click() { alignTextBefore("middle", 6); }
void model::Option7_Click() { alignTextBefore("right", 7); }

// ---- text after the table ----

void model::enableTextAfter(bool enabled) {
    for (platform::Control* c :
         std::initializer_list<platform::Control*>{&Text6, &Command7, &Option8, &Option9})
        c->setEnabled(enabled);
}

void model::Check6_Click() {
    if (Check6.value() == 1) {
        enableTextAfter(true);
        main_.valCheck6 = true;
        Text6_Change();
        return;
    }
    enableTextAfter(false);
    main_.valCheck6 = false;
    if (Option8.value() || Option9.value()) {
        const std::string_view cell =
            Option8.value() ? webpages::LeftCellMarker : webpages::MiddleCellMarker;
        main_.htmlText3 = webpages::writeFooterCell(main_.htmlText3, cell, "", main_.valText6);
    }
    main_.valCommand7 = 0;
    Command7.setBackColor(Blue);
    main_.htmlText3 = webpages::footerColourWalk(main_.htmlText3, FooterBlue);
}

void model::Text6_Change() {
    if (Check6.value() != 1) return;
    if (Option8.value() || Option9.value()) {
        const std::string_view cell =
            Option8.value() ? webpages::LeftCellMarker : webpages::MiddleCellMarker;
        main_.htmlText3 =
            webpages::writeFooterCell(main_.htmlText3, cell, Text6.text(), main_.valText6);
    }
    main_.valText6 = Text6.text();
}

void model::placeTextAfter(bool left) {
    if (Check6.value() != 1) return;
    const std::string_view into = left ? webpages::LeftCellMarker : webpages::MiddleCellMarker;
    const std::string_view other = left ? webpages::MiddleCellMarker : webpages::LeftCellMarker;
    main_.htmlText3 =
        webpages::writeFooterCell(main_.htmlText3, into, Text6.text(), main_.valText6);
    main_.htmlText3 = webpages::writeFooterCell(main_.htmlText3, other, "", main_.valText6);
    main_.valOption8 = left;
    main_.valOption9 = !left;
}

void model::Option8_Click() { placeTextAfter(true); }
void model::Option9_Click() { placeTextAfter(false); }

void model::Command7_Click() {
    const std::string v = chooseColour(Command7, main_.valCommand7);
    if (!v.empty()) main_.htmlText3 = webpages::footerColourWalk(main_.htmlText3, v);
}
