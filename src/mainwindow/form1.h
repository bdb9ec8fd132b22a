// The main window. Its controls hold everything on screen, its public members
// are the state the subsystems share, and its procedures are their entry
// points. The class is declared here, in one place; each procedure is defined
// in the folder of the subsystem that owns it (Form1::maker_Click in
// src/catalogue, Form1::Toolbar1_ButtonClick in src/mainwindow/toolbar.cpp).
//
// How to add to it:
// - Controls are members in the "Controls" section; their design values are
//   set in form1.cpp.
// - Menu items are members in the "Menus" section, declared in menu order:
//   each top-level menu, then its items (a sub-menu's items right after it).
//   The declaration order is the order on screen, so items go to their place
//   in the menu, not to their subsystem; the comment beside each names its
//   owner. The pop-up menus pop1..pop6 follow the menu bar; they are top-level
//   items made invisible in form1.cpp.
// - Public members go to the group of the subsystem that owns their meaning.
// - Procedures are declared in the group of their subsystem; event procedures
//   are wired to their control's or menu item's event in Form1::wireEvents
//   (form1.cpp), in the same group.
// - Dialogs are classes of their subsystem's folder, constructed with a
//   Form1& when shown and destroyed when they unload:
//       { FindDialog dlg(*this); dlg.showModal(); }
//   They hand their results back through the members below.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/folder_walk.h"
#include "mainwindow/app_services.h"
#include "mainwindow/images.h"
#include "mainwindow/module1.h"
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
#include "platform/error.h"

class Form1 : public platform::Form {
public:
    explicit Form1(AppServices& services);
    ~Form1() override;

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
    platform::MediaPlayer MediaPlayer2{*this, "MediaPlayer2"};          // media preview
    platform::FlashPlayer ShockwaveFlash1{*this, "ShockwaveFlash1"};
    platform::MediaPlayer MediaPlayer1{*this, "MediaPlayer1"};          // music; never shown
    platform::ProgressBar ProgressBar1{*this, "ProgressBar1"};          // music progress
    platform::Timer Timer1{*this, "Timer1"};                            // music tick
    platform::Timer Timer2{*this, "Timer2"};                            // automatic browsing

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
    platform::MenuItem maker{file, "maker", "扫描光盘生成索引文件"};  // 1
    platform::MenuItem setpassword{file, "setpassword", "为Zelbrin设置使用密码"};  // 2
    platform::MenuItem fileGap1{file, "fileGap1", "-"};
    platform::MenuItem exit{file, "exit", "退出"};  // 2
    // 选项 (option)
    platform::MenuItem option{*this, "option", "选项"};
    platform::MenuItem expandtree{option, "expandtree", "把分类树展开"};  // 1; caption holds the state
    platform::MenuItem OpenPreview{option, "OpenPreview", "打开或关闭预览窗口"};  // 8
    // A display without action: the bytes copied as mirror copies so far.
    platform::MenuItem CopyAllSize{option, "CopyAllSize", "已经拷贝到硬盘上的文件大小是0K"};  // 5
    // 软件管理 (soft)
    platform::MenuItem soft{*this, "soft", "软件管理"};
    // The caption names the view of TreeView3 the item switches to.
    platform::MenuItem softlist{soft, "softlist", "软件按分类排列"};  // 6

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
    // pop4: the disc list's pop-up (TreeView1, right button).
    platform::MenuItem pop4{*this, "pop4", "pop4"};
    platform::MenuItem createhtml111{pop4, "createhtml111", "生成当前目录的网页"};            // 7
    platform::MenuItem createhtmlcontent{pop4, "createhtmlcontent", "生成当前光盘的目录树网页"};  // 7
    platform::MenuItem createhtmlindex{pop4, "createhtmlindex", "生成当前光盘的目录索引网页"};    // 7
    platform::MenuItem CreateHtmlTrue1{pop4, "CreateHtmlTrue1", "使Zelbrin处于快速创建网页状态"};  // 3/7
    platform::MenuItem pop4Gap1{pop4, "pop4Gap1", "-"};
    platform::MenuItem htmlmodelselect{pop4, "htmlmodelselect", "选择网页模板"};  // 7
    platform::MenuItem htmlviewcode1{pop4, "htmlviewcode1", "查看网页代码"};      // 7
    platform::MenuItem htmlcopyfile1{pop4, "htmlcopyfile1",
                                     "生成网页时是否把光盘上的文件拷贝到对应位置以便下载"};  // 7
    platform::MenuItem htmlcopygou1{htmlcopyfile1, "htmlcopygou1", "仅拷贝打勾的文件"};        // 7
    platform::MenuItem htmlcopyall1{htmlcopyfile1, "htmlcopyall1", "拷贝所有文件"};            // 7
    platform::MenuItem createnotes{pop4, "createnotes", "生成网页时是否带备注"};                // 7
    platform::MenuItem pop4Gap2{pop4, "pop4Gap2", "-"};
    platform::MenuItem findInDisk{pop4, "findInDisk", "在这个光盘里查找文件"};  // 4
    platform::MenuItem pop4Gap3{pop4, "pop4Gap3", "-"};
    platform::MenuItem property1{pop4, "property1", "属性1(所有文件的大小)"};    // 3
    platform::MenuItem property2{pop4, "property2", "属性2(所有打勾文件的大小)"};  // 3
    platform::MenuItem ChangeOrder1{pop4, "ChangeOrder1", "修改光盘名字、序号、备注和分类"};  // 1
    platform::MenuItem DeleteThisCD{pop4, "DeleteThisCD", "删除这张光盘"};  // 1
    platform::MenuItem pop4Gap4{pop4, "pop4Gap4", "-"};
    platform::MenuItem deleteAllred{pop4, "deleteAllred", "删除光盘上的所有“钩”及映象文件的路径"};  // 5
    platform::MenuItem deleteGou{pop4, "deleteGou", "删除光盘上的“钩”"};  // 3
    platform::MenuItem refresh1{pop4, "refresh1", "刷新"};                  // 1
    // pop2: the file list's pop-up (its other items come with the disc page).
    platform::MenuItem pop2{*this, "pop2", "pop2"};
    platform::MenuItem SendToto{pop2, "SendToto", "发送到"};  // 5
    // The caption is the user's own send-to folder ("你的文件夹": none chosen).
    platform::MenuItem SendToCustom{SendToto, "SendToCustom", "你的文件夹"};  // 5
    // pop6: the library's pop-up (TreeView4, right button).
    platform::MenuItem pop6{*this, "pop6", "pop6"};
    platform::MenuItem deletelibfile{pop6, "deletelibfile", "删除"};  // 5

    // =====================================================================
    // Public members: the shared state, by owning subsystem
    // =====================================================================

    // ---- 1 catalogue store and disc scanning ----
    // The number of discs (index files): counted at start-up, raised by the
    // scan and the import, lowered by the deletes. The disc-list jump reads it.
    int Cdrom_Num = 0;
    // The root of the CD drive ("E:\\"); every path on a catalogued CD is
    // re-rooted on it. Settled at start-up (FindCdDrive, then "disk.ini").
    std::string CdDrive;
    // CdDrive holds a drive root; the scan probes the drive only while true.
    bool CdDriveKnown = false;
    // The folder names printed in index files during this run (never cleared).
    catalogue::ScannedFolderList ScannedFolderList;
    // The scan dialog's mode, set by its caller: "" a new scan, "import" the
    // import of an index file, "changeorder" the change of a disc.
    std::string DialogFromWhere;
    // The CD's volume label as the scan read it, or "你的光驱中没有光盘".
    std::string cdRom;
    // The folder to scan: the CD drive's root, or the folder picked in the
    // folder chooser ("" when there is neither).
    std::string SearchPath;
    // True while the folder chooser is open from the scan dialog.
    bool fromMaker = false;
    // The index file being imported (its file title is the proposed name).
    std::string ImportFileName;
    // The scan dialog's hand-off: ok is true only after an accepted OK (the
    // caller sets it back to false); the fields are written on every unload:
    // name, number, remark & "&&" & date, category path, and the file pattern
    // (a new scan only).
    bool ok = false;
    std::string txtName;
    std::string txtOrder;
    std::string txtTip;
    std::string txtPath;
    std::string FindStr;
    // The catalogue line the last scanned disc was filed under ("|" + top or
    // "@" + sub).
    std::string Txt1;
    // The entries the last folder walk left out because their names cannot
    // be stored (FindFilesAPI sets it).
    std::int64_t walkSkippedNames = 0;

    // ---- 2 main window, start-up and settings ----
    // The panes that full screen hid for a media preview: true (Combo2: -1)
    // while that control is hidden by it. The window's resize shows them again
    // and clears the flags.
    bool ListView1WasVisible = false;
    bool TabStrip1WasVisible = false;
    bool TreeView1WasVisible = false;
    bool TreeView2WasVisible = false;
    bool TreeView3WasVisible = false;
    bool TreeView4WasVisible = false;
    int Combo2WasVisible = 0;
    // The log-in: asked at start ("have_password" reads "true"); the dialog's
    // mode (true: set a new password, from the menu; never cleared); its
    // verdict (true, false, or unset when its close box was used).
    bool Have_Password = false;
    bool Set_Password = false;
    std::optional<bool> LoginSucceeded;

    // ---- 3 disc page and file notes ----
    // The name of the disc open on the disc page.
    std::string OpenedDisk;
    // The pending-tick queue: rows 0..2 of one column each; the last column
    // is the free slot, so one column means an empty queue.
    std::vector<std::vector<std::string>> PendingTickPaths;
    std::vector<bool> PendingTickAtRoot;
    // True while a folder tree is built under a disc node of TreeView1
    // (firstClick), respectively TreeView2 (firstClick2); a reload of the
    // tree sets its flag to false.
    bool firstClick = false;
    bool firstClick2 = false;
    // The folder last listed from the category tree ("" after an opening).
    std::string Alreadystr2;
    // The same for the disc list; the page 光盘 clears both.
    std::string alreadystr;

    // ---- 4 catalogue search ----

    // ---- 5 mirror copies, send-to and file library ----
    // The colour of mirrored files and of the discs that own mirror copies
    // (set at start-up from the stored colour number).
    platform::Color CopyFileColor = platform::qbColor(12);
    // Bytes copied as mirror copies so far ("size.ini").
    double AllSize = 0;

    // ---- 6 software descriptions ----
    // The software record shown, and the name it was stored under ("" at start).
    std::string SoftName;
    std::string ExistSoftName;

    // ---- 7 web page generation ----
    // The page template: part A (page head and the table's opening), the
    // text block and the header row the template editor inserts into part A,
    // part B (one row per entry), part C (table end, footer, page end); the
    // colours of folder and file entries; whether pages show file sizes.
    // Start-up gives them their defaults (setPageTemplateDefaults).
    std::string htmlText1;
    std::string htmlText01;
    std::string htmlText11;
    std::string htmlText2;
    std::string htmlText3;
    std::string valcommand8;
    std::string valcommand9;
    bool orSize = false;
    // Unset at start (counts as false): part B is in use; table layout.
    bool Web2Text = false;
    bool ListOrTable = false;

    // ---- 8 preview and playback ----
    // The viewer that shows the current preview: "pic", "media", "flash" or
    // "web"; empty at start.
    std::string PreviewKind;
    // Automatic browsing interval (seconds).
    double b_interval = 0;
    // The play list: full paths and size texts from index 1 (element 0 is
    // unused); the playing position in media mode and in audio-CD mode, the
    // audio-CD track playing, and -1 while an audio CD plays, else 0.
    std::vector<std::string> PlayList;
    std::vector<std::string> PlaySizes;
    std::int32_t MediaListIndex = 0;
    std::int16_t CDListIndex = 0;
    std::int16_t PlayingTrack = 0;
    std::int16_t CDPlaying = 0;

    // =====================================================================
    // Procedures, by owning subsystem
    // =====================================================================

    // ---- 1 catalogue store and disc scanning (src/catalogue) ----
    // The disc list and the category tree (disc_trees.cpp). file1load adds
    // one disc node per index file to TreeView1 (the caller empties it first)
    // and colours the discs that own mirror copies; Treeview2Load adds the
    // category tree from the catalogue file and expands its top level.
    void file1load();
    void Treeview2Load();
    void refresh1_Click();
    void refresh2_Click();
    void expandtree_Click();
    void expandtree1_Click();
    void TreeView1_Collapse(platform::Node& Node);
    void TreeView2_Collapse(platform::Node& Node);
    void TreeView1_MouseDown(int Button, int Shift, double X, double Y);
    void TreeView2_MouseDown(int Button, int Shift, double X, double Y);
    void TreeView1_KeyPress(int& KeyAscii);
    void Drive1_Change();
    void Dir1_Change();
    // Thin procedures over the catalogue modules (form1_catalogue.cpp):
    // the first CD-ROM drive (sets CdDrive and CdDriveKnown when there is
    // one), the volume label of a root, the folder walk of a scan, and the
    // cut of a text at its first NUL.
    void FindCdDrive();
    std::string GetVolumeLabel(const std::string& root);
    std::int64_t FindFilesAPI(const std::string& sspath, std::string& path, const std::string& SearchStr,
                              std::int32_t& FileCount, std::int32_t& DirCount,
                              const catalogue::IndexSink& sink);
    std::string StripNulls(std::string& OriginalStr);
    // The scan command (scan_command.cpp): describes the disc in the scan
    // dialog, walks it into a new index file and files it in the catalogue
    // and both trees.
    void maker_Click();

    // ---- 2 main window, start-up and settings (src/mainwindow) ----
    // Start-up and shutdown (startup.cpp); the layout on every size change
    // (layout.cpp).
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void exit_Click();
    // The registry procedures, on the registry store and the Ui of the run.
    Module1& module1();
    // Shows the log-in dialog in set mode (password.cpp).
    void setpassword_Click();
    // The page switch by the selected tab's caption (tabs.cpp).
    void TabStrip1_Click();
    // The toolbar dispatch by button key (toolbar.cpp).
    void Toolbar1_ButtonClick(platform::ToolbarButton& Button);
    // The pane layout (layout.cpp): the base arrangement, the search-result
    // strip across the bottom (relative: call it only when the strip was
    // hidden), and the software record form shown and laid out / hidden.
    void FormSize();
    void FormSizeFind();
    void formSoftSize();
    void formSoftVisibleF();

    // ---- 3 disc page and file notes (src/discpage) ----

    // ---- 4 catalogue search (src/search) ----

    // ---- 5 mirror copies, send-to and file library (src/copies) ----
    // Fills TreeView4 from the library file, once at start-up (library.cpp).
    void Treeview4Load();

    // ---- 6 software descriptions (src/software) ----

    // ---- 7 web page generation (src/webpages) ----
    // Gives the page template its default texts, colours and size option
    // (page_template_defaults.cpp); start-up calls it.
    void setPageTemplateDefaults();

    // ---- 8 preview and playback (src/preview) ----
    // The preview pane (preview_pane.cpp): the toggle of the menu item and of
    // the callers that switch the pane, deciding by the viewers' visibility;
    // and its two branches. Opening is refused off the disc page with a
    // message; closing has no page test.
    void OpenPreview_Click();
    void openPreviewPane();
    void closePreviewPane();
    // True while any of the four viewers is visible (the pane is open).
    bool previewPaneOpen() const;
    // Stops the audio CD ("stop cd wait"; cd_audio.cpp).
    void CDStopPlay();

private:
    // Start-up's steps that stand apart (startup.cpp).
    void loadSoftwareList();
    void settleCdDrive(platform::SkipOnError& onError);
    std::unique_ptr<Module1> module1_;

    // The digits typed into the disc list since the last accepted Enter.
    std::string TypedDiscNumber;

    // Design values of the controls (form1.cpp).
    void designFrame();
    void designLists();
    void designPreview();
    void designSoftwareForm();
    // The software record form's twelve rows, label and field, in the form's
    // order (form1.cpp); its design and its layout go through them.
    struct SoftRow {
        platform::Label& label;
        platform::Control& field;
    };
    std::array<SoftRow, 12> softRows();
    // Connects the controls' and menu items' events to the procedures above.
    void wireEvents();
    // The toolbar and the status bar span the inner width, at its top and its
    // bottom, as the window's own bars do.
    void alignBars();
};
