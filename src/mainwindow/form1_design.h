// The main window's design: every control and menu item of Form1, with the
// values they have before start-up runs (form1_design.cpp). Form1 derives
// from it and adds the shared state and the procedures (form1.h); code names
// the controls through Form1 as ever (form.TreeView1, Form1::maker_Click).
//
// How to add to it:
// - Controls are members in the "Controls" section; their design values are
//   set in form1_design.cpp. Each registers with the form as it is
//   constructed, and the front end builds the widgets in that order.
// - Menu items are members in the "Menus" section, declared in menu order:
//   each top-level menu, then its items (a sub-menu's items right after it).
//   The declaration order is the order on screen, so items go to their place
//   in the menu, not to their subsystem; the comment beside each names its
//   owner. The pop-up menus pop1..pop6 follow the menu bar; they are top-level
//   items made invisible in form1_design.cpp.
#pragma once

#include <array>
#include <string>

#include "mainwindow/app_services.h"
#include "mainwindow/images.h"
#include "platform/controls/common_dialog.h"
#include "platform/controls/file_lists.h"
#include "platform/controls/form.h"
#include "platform/controls/imagelist.h"
#include "platform/controls/listview.h"
#include "platform/controls/media_player.h"
#include "platform/controls/menu.h"
#include "platform/controls/simple_controls.h"
#include "platform/controls/statusbar.h"
#include "platform/controls/tabstrip.h"
#include "platform/controls/timer.h"
#include "platform/controls/toolbar.h"
#include "platform/controls/treeview.h"
#include "platform/controls/viewers.h"

class Form1Design : public platform::Form {
  public:
    explicit Form1Design(AppServices& services);

    AppServices& app() const { return app_; }

  private:
    AppServices& app_;

  public:
    // =====================================================================
    // Controls
    // =====================================================================

    // ---- shared by all subsystems ----
    // The 16 x 16 pictures of the trees, the lists and the toolbar.
    platform::ImageList ImageList1{*this, "ImageList1"};
    // The one file open / file save / colour dialog.
    platform::CommonDialog CommonDialog1{*this, "CommonDialog1"};

    // ---- the frame: toolbar, status bar, tab strip (2) ----
    platform::Toolbar Toolbar1{*this, "Toolbar1"};
    platform::StatusBar StatusBar1{*this, "StatusBar1"};
    platform::TabStrip TabStrip1{*this, "TabStrip1"};

    // ---- the four page trees, in the tab strip's page area ----
    platform::TreeView TreeView1{*this, "TreeView1"};  // 光盘: the disc list (1, 3)
    platform::TreeView TreeView2{*this, "TreeView2"};  // 分类: the category tree (1, 3, 4)
    platform::TreeView TreeView3{*this, "TreeView3"};  // 软件: the software tree (6)
    platform::TreeView TreeView4{*this, "TreeView4"};  // 文库: the library (5)

    // ---- the list area ----
    platform::ListView ListView1{*this, "ListView1"};  // the file list (3)
    platform::ListView ListView2{*this, "ListView2"};  // the search results, across the bottom (4)
    platform::TextBox Text1{*this, "Text1"};           // the library record, over the file list (5)
    platform::ComboBox Combo2{*this, "Combo2"};        // the search keyword history (4)

    // ---- splitter bars (2) ----
    platform::Label Label1{*this, "Label1"};  // between the tab strip and the list area
    platform::Label Label2{*this, "Label2"};  // between the file list and the preview pane
    platform::Label Label3{*this, "Label3"};  // above the search results

    // ---- the preview pane and the music player (8) ----
    platform::WebBrowser WebBrowser1{*this, "WebBrowser1"};
    platform::PictureBox Picture1{*this, "Picture1"};
    platform::MediaPlayer MediaPlayer2{*this, "MediaPlayer2"};  // media preview
    platform::FlashPlayer ShockwaveFlash1{*this, "ShockwaveFlash1"};
    platform::MediaPlayer MediaPlayer1{*this, "MediaPlayer1"};  // music; never shown
    platform::ProgressBar ProgressBar1{*this, "ProgressBar1"};  // music progress
    platform::Timer Timer1{*this, "Timer1"};                    // music tick
    platform::Timer Timer2{*this, "Timer2"};                    // automatic browsing

    // ---- the software record form: twelve labels and fields (6) ----
    platform::Label SoftNamL{*this, "SoftNamL"};
    platform::TextBox SoftNameT{*this, "SoftNameT"};
    platform::Label SoftVersion{*this, "SoftVersion"};
    platform::TextBox SoftVersionT{*this, "SoftVersionT"};
    platform::Label SoftKind{*this, "SoftKind"};
    platform::TextBox SoftKindT{*this, "SoftKindT"};
    platform::Label SoftSize{*this, "SoftSize"};
    platform::TextBox SoftSizeT{*this, "SoftSizeT"};
    platform::Label SoftAuthor{*this, "SoftAuthor"};
    platform::TextBox SoftAuthorT{*this, "SoftAuthorT"};
    platform::Label EmailAddress{*this, "EmailAddress"};
    platform::TextBox EmailAddressT{*this, "EmailAddressT"};
    platform::Label SoftCategory{*this, "SoftCategory"};
    platform::TextBox SoftCategoryT{*this, "SoftCategoryT"};
    platform::Label RegisterCode{*this, "RegisterCode"};
    platform::TextBox RegisterCodeT{*this, "RegisterCodeT"};
    platform::Label SoftHomepage{*this, "SoftHomepage"};
    platform::TextBox SoftHomepageT{*this, "SoftHomepageT"};
    platform::Label Downloading{*this, "Downloading"};
    platform::TextBox DownloadingT{*this, "DownloadingT"};
    platform::Label SoftRank{*this, "SoftRank"};
    platform::ComboBox SoftRankT{*this, "SoftRankT"};
    platform::Label SoftDescription{*this, "SoftDescription"};
    platform::TextBox SoftDescriptionT{*this, "SoftDescriptionT"};

    // ---- hidden drive probe and folder enumerator (1) ----
    platform::FileListBox File1{*this, "File1"};
    platform::DriveListBox Drive1{*this, "Drive1"};
    platform::DirListBox Dir1{*this, "Dir1"};

    // =====================================================================
    // Menus, in menu order (see the note at the top of this file)
    // =====================================================================

    // ---- the menu bar ----
    // 文件 (file)
    platform::MenuItem file{*this, "file", "文件"};
    platform::MenuItem maker{file, "maker", "扫描光盘生成索引文件"};                        // 1
    platform::MenuItem import{file, "import", "导入光盘索引文件"};                          // 1
    platform::MenuItem Export{file, "Export", "导出光盘索引文件"};                          // 1
    platform::MenuItem ChangeOrder{file, "ChangeOrder", "修改光盘名字、序号、备注和分类"};  // 1
    platform::MenuItem copytag{file, "copytag", "把打标记的文件拷贝到硬盘形成映象文件"};    // 5
    platform::MenuItem addselecttoremark{file, "addselecttoremark",
                                         "把预览窗口中选中的文字添加到预览文件的备注"};  // 3
    platform::MenuItem AlterFilename{file, "AlterFilename",
                                     "把预览窗口中选中的文字作为预览文件的名字"};       // 8
    platform::MenuItem setpassword{file, "setpassword", "为Zelbrin设置使用密码"};       // 2
    platform::MenuItem CreateShortcut{file, "CreateShortcut", "在桌面上创建快捷方式"};  // 2
    platform::MenuItem fileGap1{file, "fileGap1", "-"};
    platform::MenuItem exit{file, "exit", "退出"};  // 2
    // 选项 (option)
    platform::MenuItem option{*this, "option", "选项"};
    platform::MenuItem expandtree{option, "expandtree",
                                  "把分类树展开"};  // 1; caption holds the state
    // The file list's view; one of the three carries the check mark.
    platform::MenuItem AlterListviewStyle1{option, "AlterListviewStyle1",
                                           "改变文件列表到小图标样式"};  // 3
    platform::MenuItem AlterListviewStyle2{option, "AlterListviewStyle2",
                                           "改变文件列表到列表样式"};  // 3
    platform::MenuItem AlterListviewStyle3{option, "AlterListviewStyle3",
                                           "改变文件列表到详细报告样式"};  // 3
    // The file list's grid lines; the caption names what the next click does.
    platform::MenuItem grid{option, "grid", "去掉网格线"};                        // 2
    platform::MenuItem OpenPreview{option, "OpenPreview", "打开或关闭预览窗口"};  // 8
    // Checked: a file with a mirror copy is previewed from the disc.
    platform::MenuItem IsRed{option, "IsRed",
                             "预览文件时是否对映像(红色)文件起作用(默认是起作用)"};  // 8
    platform::MenuItem a_interval{option, "a_interval", "设置自动浏览的间隔时间"};   // 8
    // A display without action: the bytes copied as mirror copies so far.
    platform::MenuItem CopyAllSize{option, "CopyAllSize", "已经拷贝到硬盘上的文件大小是0K"};  // 5
    platform::MenuItem CopyClearSize{option, "CopyClearSize",
                                     "把已经拷贝到硬盘上的文件大小清零"};  // 5
    // The mirror colour for the next start.
    platform::MenuItem copycolor{option, "copycolor", "拷贝到硬盘上的文件显示的颜色"};  // 5
    platform::MenuItem copyred{copycolor, "copyred", "红色"};                           // 5
    platform::MenuItem copyblue{copycolor, "copyblue", "蓝色"};                         // 5
    platform::MenuItem copypurple{copycolor, "copypurple", "紫色"};                     // 5
    platform::MenuItem copygreen{copycolor, "copygreen", "绿色"};                       // 5
    // 搜索 (findmain)
    platform::MenuItem findmain{*this, "findmain", "搜索"};
    // The item "find"; the member has another name, so that Form::find (a
    // control by its name) stays in reach.
    platform::MenuItem findItem{findmain, "find", "搜索文件或备注"};            // 4
    platform::MenuItem tagfind1{findmain, "tagfind1", "为所有的查询结果打勾"};  // 4
    // 制作网页 (WebPage1): the page options; their check marks are the options
    // themselves, all clear at each start. Twins in pop4 carry the same marks.
    platform::MenuItem WebPage1{*this, "WebPage1", "制作网页"};
    platform::MenuItem htmlselect{WebPage1, "htmlselect", "选择网页模板"};  // 7
    platform::MenuItem htmlview{WebPage1, "htmlview", "查看网页代码"};      // 7
    platform::MenuItem htmlcopyfile{WebPage1, "htmlcopyfile",
                                    "生成网页时是否把光盘上的文件拷贝到对应位置以便下载"};  // 7
    platform::MenuItem htmlcopygou{htmlcopyfile, "htmlcopygou", "仅拷贝打勾的文件"};        // 7
    platform::MenuItem htmlcopyall{htmlcopyfile, "htmlcopyall", "拷贝所有文件"};            // 7
    platform::MenuItem createnote1{WebPage1, "createnote1", "生成网页时是否带备注"};        // 7
    platform::MenuItem add_link{WebPage1, "add_link", "生成的网页不考虑加链接"};            // 7
    platform::MenuItem CreateHtmlTrue{WebPage1, "CreateHtmlTrue",
                                      "使Zelbrin处于快速创建网页状态"};  // 3/7
    // 播放音乐 (playMusic): the music play list; PausePlay's caption holds
    // the pause state ("暂停播放" / "继续播放").
    platform::MenuItem playMusic{*this, "playMusic", "播放音乐"};
    platform::MenuItem playmp3{playMusic, "playmp3", "顺序播放音乐文件"};  // 8
    platform::MenuItem PausePlay{playMusic, "PausePlay", "暂停播放"};      // 8
    platform::MenuItem StopPlay{playMusic, "StopPlay", "停止播放"};        // 8
    // 软件管理 (soft)
    platform::MenuItem soft{*this, "soft", "软件管理"};
    // The caption names the view of TreeView3 the item switches to.
    platform::MenuItem softlist{soft, "softlist", "软件按分类排列"};  // 6
    platform::MenuItem NewSoft{soft, "NewSoft", "新建软件说明"};      // 6
    platform::MenuItem SaveSoft{soft, "SaveSoft", "保存软件说明"};    // 6
    platform::MenuItem softGap1{soft, "softGap1", "-"};
    platform::MenuItem ClassSoft1{soft, "ClassSoft1", "整理归类新导入的外来软件"};  // 6
    // 帮助 (help): the help file, the web links and the about box (2)
    platform::MenuItem help{*this, "help", "帮助"};
    platform::MenuItem content{help, "content", "内容"};
    platform::MenuItem helpGap1{help, "helpGap1", "-"};
    platform::MenuItem Homepage{help, "Homepage", "访问作者的技术站点"};
    platform::MenuItem HomepageDownload{help, "HomepageDownload", "从网上下载光盘索引文件"};
    platform::MenuItem HomepageNewF{help, "HomepageNewF", "一个有趣的新功能"};
    platform::MenuItem HomepageFaq{help, "HomepageFaq", "反馈意见或提问"};
    platform::MenuItem HomepageFAQ0{help, "HomepageFAQ0", "友情网站和我的网站"};
    platform::MenuItem HomepageFaq1{HomepageFAQ0, "HomepageFaq1", "Zelbrin技术站点"};
    platform::MenuItem HomepageFAQ2{HomepageFAQ0, "HomepageFAQ2", "Zelbrin友情链接"};
    platform::MenuItem HomepageFAQ3{HomepageFAQ0, "HomepageFAQ3", "Zelbrin网站首页"};
    platform::MenuItem HomepageFAQ4{HomepageFAQ0, "HomepageFAQ4", "Zelbrin新闻"};
    platform::MenuItem HomepageFAQ5{HomepageFAQ0, "HomepageFAQ5", "欢迎和我进行友情链接"};
    platform::MenuItem HomepageSoft0{help, "HomepageSoft0", "作者的其他软件"};
    platform::MenuItem HomepageSoft1{HomepageSoft0, "HomepageSoft1",
                                     "光盘封面打印：为光盘打印封面和标签"};
    platform::MenuItem HomepageSoft2{HomepageSoft0, "HomepageSoft2",
                                     "标签改名：按音乐文件的标签给文件改名"};
    platform::MenuItem HomepageSoft3{HomepageSoft0, "HomepageSoft3",
                                     "文件夹比较：比较两个文件夹的内容"};
    platform::MenuItem HomepageSoft4{HomepageSoft0, "HomepageSoft4",
                                     "网页相册：把图片做成网页相册"};
    platform::MenuItem helpGap2{help, "helpGap2", "-"};
    platform::MenuItem about{help, "about", "关于"};

    // ---- pop-up menus pop1..pop6 ----
    // pop1: the category tree's pop-up (TreeView2, right button).
    platform::MenuItem pop1{*this, "pop1", "pop1"};
    platform::MenuItem property{pop1, "property", "属性"};            // 3
    platform::MenuItem findintree{pop1, "findintree", "在这里查找"};  // 4
    platform::MenuItem pop1Gap1{pop1, "pop1Gap1", "-"};
    platform::MenuItem expandtree1{pop1, "expandtree1", "把分类树展开"};  // 1; mirrors expandtree
    platform::MenuItem pop1Gap2{pop1, "pop1Gap2", "-"};
    platform::MenuItem ChangeMulu{pop1, "ChangeMulu", "修改目录名"};  // 1
    platform::MenuItem insert{pop1, "insert", "建立顶级目录"};        // 1
    platform::MenuItem insertsub{pop1, "insertsub", "建立子目录"};    // 1
    platform::MenuItem Delete{pop1, "Delete", "删除目录或光盘"};      // 1
    platform::MenuItem refresh2{pop1, "refresh2", "刷新"};            // 1
    // pop3: the software tree's pop-up (TreeView3, right button); its items
    // act on the node selected before the press.
    platform::MenuItem pop3{*this, "pop3", "pop3"};
    platform::MenuItem softlist1{pop3, "softlist1", "软件按分类排列"};  // 6; mirrors softlist
    platform::MenuItem pop3Gap1{pop3, "pop3Gap1", "-"};
    platform::MenuItem insertSoftBrother{pop3, "insertSoftBrother",
                                         "建立该分类目录的兄弟目录"};                       // 6
    platform::MenuItem insertSoftChild{pop3, "insertSoftChild", "建立该分类目录的子目录"};  // 6
    platform::MenuItem deleteSoftN{pop3, "deleteSoftN", "删除目录或软件"};                  // 6
    platform::MenuItem ChangeSoftName{pop3, "ChangeSoftName", "修改目录或软件名"};          // 6
    platform::MenuItem ClassSoft{pop3, "ClassSoft", "整理归类新导入的外来软件"};            // 6
    platform::MenuItem pop3Gap2{pop3, "pop3Gap2", "-"};
    platform::MenuItem findSoft{pop3, "findSoft", "查找这个软件或目录"};  // 4
    platform::MenuItem refreshSoft{pop3, "refreshSoft", "刷新"};          // 6
    // pop4: the disc list's pop-up (TreeView1, right button).
    platform::MenuItem pop4{*this, "pop4", "pop4"};
    platform::MenuItem createhtml111{pop4, "createhtml111", "生成当前目录的网页"};  // 7
    platform::MenuItem createhtmlcontent{pop4, "createhtmlcontent",
                                         "生成当前光盘的目录树网页"};                           // 7
    platform::MenuItem createhtmlindex{pop4, "createhtmlindex", "生成当前光盘的目录索引网页"};  // 7
    platform::MenuItem CreateHtmlTrue1{pop4, "CreateHtmlTrue1",
                                       "使Zelbrin处于快速创建网页状态"};  // 3/7
    platform::MenuItem pop4Gap1{pop4, "pop4Gap1", "-"};
    platform::MenuItem htmlmodelselect{pop4, "htmlmodelselect", "选择网页模板"};  // 7
    platform::MenuItem htmlviewcode1{pop4, "htmlviewcode1", "查看网页代码"};      // 7
    platform::MenuItem htmlcopyfile1{pop4, "htmlcopyfile1",
                                     "生成网页时是否把光盘上的文件拷贝到对应位置以便下载"};  // 7
    platform::MenuItem htmlcopygou1{htmlcopyfile1, "htmlcopygou1", "仅拷贝打勾的文件"};      // 7
    platform::MenuItem htmlcopyall1{htmlcopyfile1, "htmlcopyall1", "拷贝所有文件"};          // 7
    platform::MenuItem createnotes{pop4, "createnotes", "生成网页时是否带备注"};             // 7
    platform::MenuItem pop4Gap2{pop4, "pop4Gap2", "-"};
    platform::MenuItem findInDisk{pop4, "findInDisk", "在这个光盘里查找文件"};  // 4
    platform::MenuItem pop4Gap3{pop4, "pop4Gap3", "-"};
    platform::MenuItem property1{pop4, "property1", "属性1(所有文件的大小)"};                 // 3
    platform::MenuItem property2{pop4, "property2", "属性2(所有打勾文件的大小)"};             // 3
    platform::MenuItem ChangeOrder1{pop4, "ChangeOrder1", "修改光盘名字、序号、备注和分类"};  // 1
    platform::MenuItem DeleteThisCD{pop4, "DeleteThisCD", "删除这张光盘"};                    // 1
    platform::MenuItem pop4Gap4{pop4, "pop4Gap4", "-"};
    platform::MenuItem deleteAllred{pop4, "deleteAllred",
                                    "删除光盘上的所有“钩”及映象文件的路径"};  // 5
    platform::MenuItem deleteGou{pop4, "deleteGou", "删除光盘上的“钩”"};      // 3
    platform::MenuItem refresh1{pop4, "refresh1", "刷新"};                    // 1
    // pop2: the file list's pop-up (ListView1, right button, on the page 光盘).
    platform::MenuItem pop2{*this, "pop2", "pop2"};
    platform::MenuItem OpenRed{pop2, "OpenRed", "打开硬盘上的映象文件"};          // 5
    platform::MenuItem OpenOpticDisk{pop2, "OpenOpticDisk", "打开光盘上的文件"};  // 3
    platform::MenuItem DeleteFromMulu{
        pop2, "DeleteFromMulu",
        "从目录文件中删除这个文件(如果是扫描硬盘，就把硬盘上对应的文件删除)"};              // 3
    platform::MenuItem DeleteCopyFile{pop2, "DeleteCopyFile", "删除硬盘上对应的映象文件"};  // 5
    platform::MenuItem pop2Gap1{pop2, "pop2Gap1", "-"};
    platform::MenuItem addexample{pop2, "addexample", "修改或添加[使用情况]"};  // 3
    platform::MenuItem addnotes{pop2, "addnotes", "修改或添加备注"};            // 3
    platform::MenuItem addnotesauto{pop2, "addnotesauto", "自动提取文件备注"};  // 3
    platform::MenuItem pop2Gap2{pop2, "pop2Gap2", "-"};
    platform::MenuItem property3{pop2, "property3", "文件夹属性"};                          // 3
    platform::MenuItem addfilelib{pop2, "addfilelib", "把选中的文件或文件夹加入\"文库\""};  // 5
    platform::MenuItem findSoftDescri{pop2, "findSoftDescri", "查找软件说明"};              // 6
    platform::MenuItem writeC{pop2, "writeC", "填写软件说明"};                              // 6
    platform::MenuItem pop2Gap3{pop2, "pop2Gap3", "-"};
    platform::MenuItem selectAll{pop2, "selectAll", "打钩当前目录下的所有文件"};  // 3
    platform::MenuItem selectAllIndex{pop2, "selectAllIndex",
                                      "打钩当前光盘上的所有index.htm和default.htm文件"};  // 3
    platform::MenuItem selectAllReadme{pop2, "selectAllReadme",
                                       "打钩当前光盘上的所有Readme文件"};  // 3
    platform::MenuItem pop2Gap4{pop2, "pop2Gap4", "-"};
    platform::MenuItem SendToto{pop2, "SendToto", "发送到"};                        // 5
    platform::MenuItem SendToMyDocument{SendToto, "SendToMyDocument", "我的文档"};  // 5
    platform::MenuItem SendToDpan{SendToto, "SendToDpan", "D盘"};                   // 5
    // The caption is the user's own send-to folder ("你的文件夹": none chosen).
    platform::MenuItem SendToCustom{SendToto, "SendToCustom", "你的文件夹"};  // 5
    platform::MenuItem SendTotoGap1{SendToto, "SendTotoGap1", "-"};
    platform::MenuItem SendToDefine{SendToto, "SendToDefine", "定义你的文件夹"};  // 5
    // pop5: the result list's pop-up (ListView2, right button).
    platform::MenuItem pop5{*this, "pop5", "pop5"};
    platform::MenuItem openfind{pop5, "openfind", "打开该文件"};                  // 4
    platform::MenuItem openfindRed{pop5, "openfindRed", "打开硬盘上的映象文件"};  // 5
    platform::MenuItem addnotes111{pop5, "addnotes111", "查看或修改备注"};        // 3
    platform::MenuItem tagfind{pop5, "tagfind", "为所有的查询结果打勾"};          // 4
    platform::MenuItem copytaggedresult{pop5, "copytaggedresult",
                                        "将打勾的查询结果拷贝到指定目录"};  // 4
    // pop6: the library's pop-up (TreeView4, right button).
    platform::MenuItem pop6{*this, "pop6", "pop6"};
    platform::MenuItem deletelibfile{pop6, "deletelibfile", "删除"};  // 5

  protected:
    // The software record form's twelve rows, label and field, in the form's
    // order (form1_design.cpp); its design and its layout go through them.
    struct SoftRow {
        platform::Label& label;
        platform::Control& field;
    };
    std::array<SoftRow, 12> softRows();

  private:
    // Design values of the controls and menus (form1_design.cpp).
    void designFrame();
    void designLists();
    void designPreview();
    void designSoftwareForm();
    void designPopupMenus();
};
