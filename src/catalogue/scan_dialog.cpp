#include "catalogue/scan_dialog.h"

#include "catalogue/catalogue_file.h"
#include "catalogue/cd_drive.h"
#include "catalogue/disc_trees.h"
#include "catalogue/index_line.h"
#include "catalogue/scan_command.h"
#include "copies/sendto_dialog.h"
#include "mainwindow/form1.h"
#include "platform/controls/design_table.h"
#include "platform/files/paths.h"
#include "platform/system/clock.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace text = platform::text;

namespace {

using catalogue::ChangeMode;
using catalogue::ImportMode;
using catalogue::TipTitle;

constexpr std::string_view NoFolderMessage = "你的光驱里没有光盘,而且你也没有选择硬盘目录!";
constexpr std::string_view EmptyFieldMessage = "不能有空的文本输入框";
constexpr std::string_view UnchangedMessage = "你未作任何修改！如果不想修改，请点击［取消］按钮！";
// A name that cannot be the base name of an index file.
constexpr std::string_view BadNameMessage =
    "光盘名不能为空，不能是“.”或“..”，前后不能有空格，也不能含有\\ / : * ? \" < > |等字符！";
// A file pattern that would list nothing or another folder.
constexpr std::string_view BadPatternMessage = "扫描的文件类型不能为空，也不能含有\\或/！";
// A category path that names no category of the catalogue.
constexpr std::string_view NoCategoryMessage = "请从左边的目录树中选择光盘的分类！";

constexpr const char* Patterns[] = {"*.*", "*.exe", "*.dll", "*.txt", "*.htm", "*.mp3", "*.doc"};

// The form lies this far below the main window's top edge.
constexpr double OffsetBelowMain = 200;

bool contains(std::string_view s, std::string_view part) {
    return s.find(part) != std::string_view::npos;
}

}  // namespace

Dialog::Dialog(Form1& main) : Form(main.services(), "Dialog"), main_(main) {
    setCaption("information");
    setInnerSize(7335, 4935);
    setFixedBorder(true);
    setStartPosition(platform::StartPosition::Manual);

    platform::applyDesign({
        {TreeView1, "", 120, 120, 2775, 3735},
        {Label1, "光盘或目录名称:", 3015, 165, 1575, 255},
        {Text1, "", 4650, 120, 2565, 315},
        {Label2, "光盘或目录序号:", 3015, 600, 1575, 255},
        {Text2, "", 4650, 555, 2565, 315},
        {Label3, "光盘或目录提示:", 3015, 1035, 1575, 255},
        {Text3, "", 4650, 990, 2565, 315},
        {Label7, "光盘购买时间：", 3015, 1470, 1575, 255},
        {Text5, "", 4650, 1425, 2565, 315},
        {Label5, "从左边的目录树中选择光盘的分类:", 3015, 1905, 4200, 255},
        {Text4, "", 3015, 2205, 4200, 315},
        {Label6, "扫描的文件类型:", 3015, 2685, 1575, 255},
        {Combo1, "", 4650, 2640, 2565, 315},
        {Command1, "选择硬盘目录", 3015, 3120, 1455, 375},
        {OKButton, "确定", 4650, 3120, 1215, 375},
        {CancelButton, "取消", 6000, 3120, 1215, 375},
        {Label4, "", 120, 3960, 7095, 855},
    });
    Text4.setLocked(true);
    OKButton.setDefault(true);
    CancelButton.setCancel(true);
    // Shown in a new scan only.
    Label6.setVisible(false);
    Combo1.setVisible(false);
    Command1.setVisible(false);

    Command1.Click = [this] { Command1_Click(); };
    TreeView1.NodeClick = [this](platform::Node& node) { TreeView1_NodeClick(node); };
    OKButton.Click = [this] { OKButton_Click(); };
    CancelButton.Click = [this] { CancelButton_Click(); };
}

bool Dialog::changeMode() const { return main_.DialogFromWhere == ChangeMode; }

bool Dialog::newScanMode() const { return !changeMode() && main_.DialogFromWhere != ImportMode; }

std::vector<std::string> Dialog::indexFiles() {
    return catalogue::listIndexFiles(main_.File1, main_.app().ProgramFolder);
}

std::string Dialog::catalogueText() const {
    return catalogue::readCatalogueText(catalogue::catalogueFilePath(main_.app().ProgramFolder));
}

std::string Dialog::today() const { return main_.app().clock.today(); }

void Dialog::refuse(std::string_view message) {
    ui().msgBox(message, platform::MsgButtons::OK, TipTitle);
}

void Dialog::Form_Load() {
    const std::string stored = catalogueText();
    int discs = 0;
    for (const std::string& name : indexFiles())
        if (!contains(name, catalogue::HardDiscSuffix)) ++discs;
    const std::string proposedNumber = std::to_string(discs + 1);

    if (main_.DialogFromWhere == ImportMode) {
        Label4.setCaption("请为你要导入的光盘文件填写备注和选择分类！");
        Text1.setText(catalogue::fileTitleOf(main_.ImportFileName));
        Text2.setText(proposedNumber);
        Text5.setText(today());
    } else if (changeMode()) {
        Label4.setCaption(
            "请只修改你要改变的项目！如果你要修改的是硬盘目录而不是光盘，请在修改名字时保留后缀“_"
            "hard”。");
        Text1.setText(main_.OpenedDisk);
        const catalogue::DiscFields fields =
            catalogue::ReadDiscFields(stored, main_.OpenedDisk).value_or(catalogue::DiscFields{});
        Text2.setText(fields.number);
        Text3.setText(fields.remark);
        Text5.setText(fields.date.empty() ? today() : fields.date);
        Text4.setText(fields.categoryPath);
        oldName_ = main_.OpenedDisk;
        oldNumber_ = fields.number;
        oldRemark_ = fields.remark;
        oldPath_ = fields.categoryPath;
        oldDate_ = fields.date;
    } else {
        if (main_.cdRom != catalogue::NoDiscName)
            Label4.setCaption("你的光驱中有光盘！它的卷标是" + main_.cdRom +
                              "；如果你不想扫描光驱请取出光盘！");
        else
            Label4.setCaption(
                "你的光驱中没有光盘！如果你刚刚把光盘放进光驱，可能是系统还没来得及读到光盘，请按取"
                "消按钮重新来。"
                "如果你想扫描硬盘，请按下面的按扭选择要扫描的目录或盘符！");
        Text1.setText(main_.cdRom);
        Text2.setText(proposedNumber);
        Text5.setText(today());
        Command1.setVisible(true);
        Label6.setVisible(true);
        Combo1.setVisible(true);
        for (const char* pattern : Patterns) Combo1.addItem(pattern);
        Combo1.setText(Patterns[0]);
    }

    buildChooser(stored);

    setTop(main_.top() + OffsetBelowMain);
    setLeft(main_.left() + (main_.width() - width()) / 2);
}

void Dialog::buildChooser(std::string_view stored) {
    TreeView1.setImageList(&main_.ImageList1);
    // The chooser reads only texts and paths; its keys are its own, since a
    // category named by digits alone could not be a key.
    std::string lastTop;
    int tops = 0;
    for (const std::string& line : text::splitLines(stored)) {
        const catalogue::CatalogueEntry entry = catalogue::parseCatalogueLine(line);
        if (entry.kind == catalogue::CatalogueLineKind::CategoryLine) {
            lastTop = "top" + std::to_string(++tops);
            TreeView1.add(lastTop, entry.name, images::Category);
        } else if (entry.kind == catalogue::CatalogueLineKind::SubCategoryLine &&
                   !lastTop.empty()) {
            // A sub-category before any category line has no place: skipped.
            TreeView1.addChild(lastTop, "", entry.name, images::Category);
        }
    }
    for (const auto& node : TreeView1.nodes())
        if (node->children() > 0) node->setExpanded(true);
}

void Dialog::Command1_Click() {
    main_.fromMaker = true;
    try {
        sendto chooser(main_);
        chooser.showModal();
    } catch (...) {
        main_.fromMaker = false;
        throw;
    }
    main_.fromMaker = false;

    const std::string& path = main_.SearchPath;
    Label4.setCaption("你要扫描的目录是[" + path + "]。如果选择错了，请重新选择。");
    std::string name = catalogue::scannedFolderName(path);
    if (name.empty()) name = text::left(path, 1);
    Text1.setText(name);
}

void Dialog::TreeView1_NodeClick(platform::Node& Node) {
    if (!changeMode()) Text3.setText(Node.text());
    Text4.setText(Node.fullPath());
}

bool Dialog::confirmChanges(const std::string& name) {
    std::string summary;
    const auto line = [&summary](std::string_view word, const std::string& was,
                                 const std::string& now) {
        if (was != now)
            summary +=
                "你把光盘的" + std::string(word) + "［" + was + "］改成了［" + now + "］。\r\n";
    };
    line("名字", oldName_, name);
    line("序号", oldNumber_, Text2.text());
    line("备注", oldRemark_, Text3.text());
    line("分类", oldPath_, Text4.text());
    line("购买日期", oldDate_, Text5.text());
    if (summary.empty()) {
        ui().msgBox(UnchangedMessage, platform::MsgButtons::OK, {});
        return false;
    }
    return ui().msgBox(summary + "如果上述提示不正确，请点击［No］按钮！",
                       platform::MsgButtons::YesNo, TipTitle) == platform::MsgYes;
}

void Dialog::OKButton_Click() {
    if (newScanMode() && main_.SearchPath.empty()) return refuse(NoFolderMessage);
    const platform::TextBox* described[] = {&Text1, &Text2, &Text3, &Text4};
    for (const platform::TextBox* box : described)
        if (box->text().empty()) return refuse(EmptyFieldMessage);
    // The fields must read back from the disc line as they stand ("#", "&&",
    // a line break, "&" where remark and date meet); the catalogue module
    // names the fault.
    if (const auto problem =
            catalogue::discLineProblem({Text1.text(), Text2.text(), Text3.text(), Text5.text()}))
        return refuse(catalogue::discLineFaultText(problem->fault));
    if (newScanMode() && !catalogue::scanPatternIsUsable(Combo1.text()))
        return refuse(BadPatternMessage);
    if (!catalogue::FindCategoryLine(catalogueText(), Text4.text()))
        return refuse(NoCategoryMessage);

    // The name as it will be filed; it goes into the name field only when
    // OK is accepted, so that a second OK does not tag it again.
    std::string name = Text1.text();
    if (!(changeMode() && name == oldName_)) {
        // Only a disc scanned from the CD drive gets the number tag.
        if (newScanMode() && text::lcase(text::left(main_.CdDrive, 2)) ==
                                 text::lcase(text::left(main_.SearchPath, 2)))
            name = catalogue::discNumberTag(Text2.text()) + name;
        if (!catalogue::discNameIsPlainFileName(name)) return refuse(BadNameMessage);
        const std::string wanted = name + std::string(catalogue::IndexExtension);
        // A disc renamed in letter case only keeps its own index file (the
        // command itself refuses a name another disc's file bears).
        const bool ownFile = changeMode() && text::lcase(name) == text::lcase(oldName_);
        for (const std::string& file : indexFiles())
            if (!ownFile && platform::files::sameNameIgnoringCase(file, wanted))
                return refuse(catalogue::IndexFileExistsMessage);
    }
    if (changeMode() && !confirmChanges(name)) return;

    Text1.setText(name);
    main_.ok = true;
    unload();
}

void Dialog::CancelButton_Click() {
    main_.ok = false;
    unload();
}

void Dialog::Form_Unload(int& cancel) {
    (void)cancel;
    if (Combo1.visible()) main_.FindStr = Combo1.text();
    main_.txtName = Text1.text();
    main_.txtOrder = Text2.text();
    main_.txtTip = catalogue::formatRemarkAndDate(Text3.text(), Text5.text());
    main_.txtPath = Text4.text();
}
