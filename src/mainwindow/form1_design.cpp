// The main window's design: the values its controls and menu items have
// before start-up runs.
#include "mainwindow/form1_design.h"

#include <array>
#include <initializer_list>
#include <string_view>

#include "platform/ui/ui.h"

namespace {

// Window design size (twips).
constexpr double InnerWidth = 9675;
constexpr double InnerHeight = 6780;
constexpr double ToolbarHeight = 360;
constexpr double StatusBarHeight = 375;

// The keys of ImageList1 in order: the key of image n is entry n - 1. Stored
// icon numbers refer to these positions, so the order is fixed. Image 57 is a
// picture no command uses; it has no key.
constexpr std::array<std::string_view, images::Count> imageKeys = {
    "folder",      "url",        "finddisc",  "disc",         "search",
    "find",        "dot",        "bat",       "bmp",          "doc",  // 1-10
    "css",         "sys",        "exe",       "gif",          "htm",
    "html",        "jpg",        "ini",       "pdf",          "rm",  // 11-20
    "ppt",         "xls",        "dll",       "txt",          "zip",
    "avi",         "bas",        "chm",       "drv",          "fon",  // 21-30
    "frm",         "hlp",        "ins",       "mdb",          "reg",
    "ttf",         "vbp",        "wav",       "wmf",          "xml",  // 31-40
    "xsl",         "vxd",        "down",      "eject1",       "eject",
    "help",        "wrong",      "asa",       "asf",          "mpeg",  // 41-50
    "au",          "clr",        "pcx",       "fla",          "tif",
    "mid",         "",           "check",     "grid",         "save",  // 51-60
    "savetag",     "copytag",    "wdl",       "swf",          "openedfolder",
    "changeorder", "import",     "export",  // 61-68
    "copy1",       "copy2",                 // 69-70
    "copy3",       "newsoft",    "whitedisc", "rar",          "psd",
    "t1",          "t2",         "t78",       "t79",          "t80",  // 71-80
    "t81",         "t82",        "t83",       "t84",          "t85",
    "t86",         "t87",        "t88",       "t89",          "t90",  // 81-90
    "cda",         "preview",    "preview1",  "softw",        "left",
    "right",       "downs",      "ups",       "softwarelist",  // 91-99
    "tree",                                                    // 100
    "savew",       "PreviousCD", "NextCD",    "BackwardCD",   "ForwardCD",
    "PauseCD",     "StopCD",                                           // 101-107
    "Fullscreen",  "caj",        "altername", "addselect",    "time",  // 108-112
};

// The toolbar's buttons in order: key, kind, tooltip, picture key, shown at
// start. The preview group (fgt3 .. fullscreen) and the music group
// (fgt4 .. StopCD) are shown only while the preview pane is open or music
// plays.
struct ButtonDesign {
    std::string_view key;
    platform::ToolbarButton::Style style;
    std::string_view toolTip;
    std::string_view image;
    bool visible;
};

constexpr auto Plain = platform::ToolbarButton::Default;
constexpr auto TwoState = platform::ToolbarButton::Check;
constexpr auto Gap = platform::ToolbarButton::Separator;

constexpr std::array<ButtonDesign, 34> toolbarButtons = {{
    {"maker", Plain, "扫描选中的硬盘目录或光盘以便生成索引文件", "disc", true},
    {"import", Plain, "导入光盘索引文件", "import", true},
    {"export", Plain, "导出光盘索引文件", "export", true},
    {"changeorder", Plain, "修改光盘名字，序号，备注和分类", "changeorder", true},
    {"find", Plain, "查找", "find", true},
    {"copytag", Plain, "把光盘上打钩的文件拷贝到硬盘里", "copytag", true},
    {"fgt1", Gap, "", "", true},
    {"softlistbar", Plain, "变换软件排列视图", "tree", true},
    {"newsoftbar", Plain, "新建软件说明", "newsoft", true},
    {"save", Plain, "保存软件说明", "save", true},
    {"preview", TwoState, "打开或关闭预览窗口", "preview", true},
    {"fgt2", Gap, "", "", true},
    {"grid", TwoState, "去掉网格", "grid", true},
    {"down", Plain, "隐藏搜索结果显示栏", "down", true},
    {"eject", TwoState, "打开或关闭光驱", "eject", true},
    {"playMP3", Plain, "顺序播放打勾的MP3文件", "rm", true},
    {"help", Plain, "帮助", "help", true},
    {"fgt3", Gap, "", "", false},
    {"left", Plain, "后退", "left", false},
    {"right", Plain, "前进", "right", false},
    {"downs", Plain, "下移文件列表焦点（向下键）", "downs", false},
    {"ups", Plain, "上移文件列表焦点（向上键）", "ups", false},
    {"time", TwoState, "自动向下浏览", "time", false},
    {"savew", Plain, "保存网页", "savew", false},
    {"altername", Plain, "把预览窗口中选中的文字作为预览文件的名字", "altername", false},
    {"addselecttoremark", Plain, "把预览窗口中选中的文字添加到预览文件的备注", "addselect", false},
    {"fullscreen", TwoState, "使预览窗口变大", "Fullscreen", false},
    {"fgt4", Gap, "", "", false},
    {"PreviousCD", Plain, "上一个曲目", "PreviousCD", false},
    {"NextCD", Plain, "下一个曲目", "NextCD", false},
    {"BackwardCD", Plain, "快退", "BackwardCD", false},
    {"ForwardCD", Plain, "快进", "ForwardCD", false},
    // Pressed by code while playing is paused; a click does not flip it.
    {"PauseCD", Plain, "暂停播放/继续播放", "PauseCD", false},
    {"StopCD", Plain, "停止播放", "StopCD", false},
}};

// The pages of the tab strip: key, caption, tooltip.
struct TabDesign {
    std::string_view key, caption, toolTip;
};
constexpr std::array<TabDesign, 4> tabs = {{
    {"classify", "分类", "将光盘索引文件分类显示"},
    {"disc", "光盘", "将光盘索引文件按字母序排列"},
    {"software", "软件", "对常用软件进行管理"},
    {"filelib", "文库", "存储常用文件或关键文件,以便直接打开这些文件"},
}};

// The file list's columns: key, heading, width.
struct ColumnDesign {
    std::string_view key, text;
    double width;
};
constexpr std::array<ColumnDesign, 5> fileListColumns = {{
    {"file", "文件名", 3000},
    {"type", "类型", 900},
    {"size", "大小", 900},
    {"notes", "备注", 3440},
    {"example", "使用情况", 3440},
}};
constexpr std::array<ColumnDesign, 3> resultListColumns = {{
    {"光盘名", "光盘名", 2700},
    {"光盘序号", "光盘序号", 550},
    {"备注", "备注", 11499},
}};

// The software record form: rows 1200, 1560, ... 5160; labels at 3480,
// fields at 4320, all fields ending at 6255.
constexpr double SoftLabelLeft = 3480;
constexpr double SoftFieldLeft = 4320;
constexpr double SoftFirstTop = 1200;
constexpr double SoftRowStep = 360;

}  // namespace

Form1Design::Form1Design(AppServices& services) : Form(services, "Form1"), app_(services) {
    setCaption("Zelbrin18.0");
    setInnerSize(InnerWidth, InnerHeight);
    setStartPosition(platform::StartPosition::CenterScreen);
    designFrame();
    designLists();
    designPreview();
    designSoftwareForm();
    designPopupMenus();
}

void Form1Design::designFrame() {
    for (std::string_view key : imageKeys) ImageList1.add(std::string(key));
    // Controls without a window of their own on screen.
    for (platform::Control* hidden :
         std::initializer_list<platform::Control*>{&CommonDialog1, &File1, &Drive1, &Dir1})
        hidden->setVisible(false);

    for (const ButtonDesign& b : toolbarButtons) {
        platform::ToolbarButton& button = Toolbar1.add(
            std::string(b.key), b.style, std::string(b.toolTip), ImageList1.indexOf(b.image));
        button.setVisible(b.visible);
    }
    Toolbar1.setImageList(&ImageList1);
    Toolbar1.move(0, 0, InnerWidth, ToolbarHeight);

    StatusBar1.move(0, InnerHeight - StatusBarHeight, InnerWidth, StatusBarHeight);
    StatusBar1.addPanel({}, width() / 3);
    StatusBar1.addPanel({}, 2 * width() / 3);

    for (const TabDesign& t : tabs)
        TabStrip1.add(std::string(t.key), std::string(t.caption), std::string(t.toolTip));
    // The design arrangement is the one the layout gives the design size.
    const double stripTop = ToolbarHeight + ToolbarHeight / 6;
    TabStrip1.move(0, stripTop, 0.38 * InnerWidth, InnerHeight - stripTop - StatusBarHeight);
    for (platform::TreeView* tree : {&TreeView2, &TreeView1, &TreeView3, &TreeView4})
        tree->move(TabStrip1.clientLeft(), TabStrip1.clientTop(), TabStrip1.clientWidth(),
                   TabStrip1.clientHeight());
}

void Form1Design::designLists() {
    ListView1.move(TabStrip1.width() + 25, TabStrip1.clientTop() - 25, 0, 0);
    ListView1.setWidth(InnerWidth - ListView1.left());
    ListView1.setHeight(TabStrip1.top() + TabStrip1.height() - ListView1.top());
    ListView1.setView(platform::ListView::Report);
    ListView1.setCheckboxes(true);
    ListView1.setSmallIcons(&ImageList1);
    AlterListviewStyle3.setChecked(true);
    for (const ColumnDesign& c : fileListColumns)
        ListView1.addColumn(std::string(c.key), std::string(c.text), c.width);

    ListView2.move(0, 5000, InnerWidth, 1395);
    ListView2.setView(platform::ListView::Report);
    ListView2.setCheckboxes(true);
    ListView2.setSmallIcons(&ImageList1);
    for (const ColumnDesign& c : resultListColumns)
        ListView2.addColumn(std::string(c.key), std::string(c.text), c.width);
    ListView2.setVisible(false);

    Text1.move(ListView1.left() + 20, ListView1.top() + 10, ListView1.width() - 30,
               ListView1.height() - 20);
    Text1.setMultiLine(true);
    Text1.setScrollBars(2);

    // The keyword box starts empty; Form1::alignBars keeps it beside the
    // buttons (here at the design size).
    Combo2.move(7425, 30, 2200, 300);

    // Splitter bars: captionless, behind the panes, with sizing pointers.
    Label1.move(ListView1.left() - 50, ListView1.top(), 260, ListView1.height());
    Label1.setMousePointer(platform::PointerSizeWE);
    Label1.zOrder(1);
    Label2.move(ListView1.left() + 20, 3500, ListView1.width() - 20, 70);
    Label2.setMousePointer(platform::PointerSizeNS);
    Label2.setVisible(false);
    Label3.move(0, 4950, InnerWidth, 70);
    Label3.setMousePointer(platform::PointerSizeNS);
    Label3.setVisible(false);
}

void Form1Design::designPreview() {
    // The viewers share one rectangle under the file list; start-up hides them.
    const double left = ListView1.left() + 20, top = 3550;
    const double w = ListView1.width() - 20, h = TabStrip1.top() + TabStrip1.height() - top;
    for (platform::Control* viewer : std::initializer_list<platform::Control*>{
             &WebBrowser1, &Picture1, &MediaPlayer2, &ShockwaveFlash1})
        viewer->move(left, top, w, h);
    WebBrowser1.setClipboard(&app_.clipboard);
    MediaPlayer1.move(left, top, 1500, 600);

    ProgressBar1.setMin(0);
    ProgressBar1.setMax(100);
    ProgressBar1.move(InnerWidth - 1500 - 250, InnerHeight - (StatusBarHeight - 50) - 10, 1500,
                      StatusBarHeight - 50);
    ProgressBar1.setVisible(false);

    for (platform::Timer* timer : {&Timer1, &Timer2}) {
        timer->setEnabled(false);
        timer->setInterval(1000);
    }
}

std::array<Form1Design::SoftRow, 12> Form1Design::softRows() {
    return {{
        {SoftNamL, SoftNameT},
        {SoftVersion, SoftVersionT},
        {SoftKind, SoftKindT},
        {SoftSize, SoftSizeT},
        {SoftAuthor, SoftAuthorT},
        {EmailAddress, EmailAddressT},
        {SoftCategory, SoftCategoryT},
        {RegisterCode, RegisterCodeT},
        {SoftHomepage, SoftHomepageT},
        {Downloading, DownloadingT},
        {SoftRank, SoftRankT},
        {SoftDescription, SoftDescriptionT},
    }};
}

void Form1Design::designSoftwareForm() {
    // The labels' captions, in the rows' order.
    constexpr std::array<const char*, 12> captions = {
        "软件名称:", "软件版本:", "软件类型:", "软件大小:", "软件作者:", "邮箱地址:",
        "软件分类:", "注册号:",   "软件主页:", "下载网址:", "软件等级:", "软件简介:",
    };
    const std::array<SoftRow, 12> rows = softRows();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const double top = SoftFirstTop + static_cast<double>(r) * SoftRowStep;
        rows[r].label.setCaption(captions[r]);
        rows[r].label.move(SoftLabelLeft, top, &rows[r].label == &RegisterCode ? 630 : 810, 180);
        rows[r].field.move(SoftFieldLeft, top, 1935, 270);
    }
    SoftRankT.setHeight(300);
    for (const char* rank : {"5", "4", "3", "2", "1"}) SoftRankT.addItem(rank);
    SoftDescriptionT.move(SoftLabelLeft, SoftDescription.top() + 240, 2775, 735);
    SoftDescriptionT.setMultiLine(true);
    SoftDescriptionT.setScrollBars(2);
    // The name comes from the name dialogs, the category from a click on a
    // category node: neither is typed.
    SoftNameT.setLocked(true);
    SoftCategoryT.setLocked(true);
}

void Form1Design::designPopupMenus() {
    // The pop-up menus are not on the menu bar; the trees' mouse-down shows them.
    pop1.setVisible(false);
    pop3.setVisible(false);
    pop4.setVisible(false);
    pop2.setVisible(false);
    pop5.setVisible(false);
    pop6.setVisible(false);
}
