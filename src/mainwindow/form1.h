// The main window. Its controls and menu items, with their design values,
// are in its base Form1Design (form1_design.h); its public members are the
// state the subsystems share, and its procedures are their entry points. The
// class is declared here, in one place; each procedure is defined in the
// folder of the subsystem that owns it (Form1::maker_Click in
// src/catalogue, Form1::Toolbar1_ButtonClick in src/mainwindow/form1_toolbar.cpp).
//
// How to add to it:
// - Controls and menu items go to Form1Design (read the notes at the top of
//   form1_design.h: the declaration order is the order on screen).
// - Public members go to the group of the subsystem that owns their meaning.
// - Procedures are declared in the group of their subsystem; event procedures
//   are wired to their control's or menu item's event by the subsystem's
//   wiring function (wireCatalogueEvents, ...), declared in its group and
//   defined in src/<subsystem>/form1_events.cpp. A subsystem's first event
//   adds its wiring function and a call of it in Form1::wireEvents.
// - Dialogs are classes of their subsystem's folder, constructed with a
//   Form1& when shown and destroyed when they unload:
//       { FindDialog dlg(*this); dlg.showModal(); }
//   They hand their results back through the members below.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/folder_walk.h"
#include "discpage/folder_runs.h"
#include "discpage/index_edits.h"
#include "mainwindow/app_services.h"
#include "mainwindow/form1_design.h"
#include "mainwindow/images.h"
#include "mainwindow/module1.h"
#include "platform/controls/control.h"
#include "platform/controls/toolbar.h"
#include "platform/controls/treeview.h"
#include "platform/error.h"

class Form1 : public Form1Design {
  public:
    explicit Form1(AppServices& services);
    ~Form1() override;

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
    // "@" + sub); before the name dialog is shown, the category its mode line
    // names.
    std::string Txt1;
    // The entries the last folder walk left out because their names cannot
    // be stored (FindFilesAPI sets it).
    std::int64_t walkSkippedNames = 0;
    // Category editing and the name dialog (Dialog1). Txtcontent_Name holds
    // the dialog's mode word on the way in ("insert", "insertsub",
    // "insertsoftbrother", "insertsoftchild") and the typed name on the way
    // out; the caller empties it when done. NewSoft1 is true while the
    // software page asks for a new software record's name (to SoftName); it
    // wins over the mode word. OkName is true after the dialog closed by OK
    // (the caller sets it back to false). MuluName is the text of the category
    // whose label is being edited.
    std::string Txtcontent_Name;
    bool NewSoft1 = false;
    bool OkName = false;
    std::string MuluName;

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
    // ---- toolbar and full screen ----
    // The row of ListView2 from which the keys "downs" and "ups" move while
    // the file list is empty (0: none).
    std::int32_t ResultCursor = 0;
    // The browser's rectangle before full screen, put back when it ends.
    double SavedWebTop = 0;
    double SavedWebLeft = 0;
    double SavedWebHeight = 0;
    std::int32_t SavedWebWidth = 0;
    // The splitter bars: where the pointer was pressed on each (twips,
    // relative to the bar; Label3's rounded to a whole number). Kept until
    // the next press.
    double Label1DownX = 0;
    double Label2DownY = 0;
    int Label3DownY = 0;

    // ---- 3 disc page and file notes ----
    // The disc whose folder tree the disc list (OpenedDisk), respectively the
    // category tree (OpenedDiskTree2) holds: the disc node's text, set when
    // an opening starts; the commands that remove the disc clear it. The drive
    // letter of that disc's scan (OpenedDiskLabel1, OpenedDiskLabel2).
    std::string OpenedDisk;
    std::string OpenedDiskTree2;
    std::string OpenedDiskLabel1;
    std::string OpenedDiskLabel2;
    // The pending-tick queue: the ticks and unticks made in the file list,
    // in order, until WritePendingTicks writes them into the open disc's
    // index file. Emptied at start-up, by each completed flush and by each
    // opening of a disc in the disc list.
    std::vector<discpage::PendingTick> PendingTickPaths;
    // True while a folder tree is built under a disc node of TreeView1
    // (firstClick), respectively TreeView2 (firstClick2); a reload of the
    // tree sets its flag to false.
    bool firstClick = false;
    bool firstClick2 = false;
    // The folder last listed from the category tree ("" after an opening).
    std::string Alreadystr2;
    // The same for the disc list; the page 光盘 clears both.
    std::string alreadystr;
    // Remarks and usage notes: the notes dialog's answer (fileNotes: the
    // text to store, "($$$$$$)" when it was cancelled, "" between commands);
    // IsExample true only while the usage-note command runs (the dialog then
    // edits the usage note); Is_addnotes111 true when the dialog edits a row
    // of the search results, false for the file list (set before each
    // showing, kept afterwards).
    std::string fileNotes;
    bool IsExample = false;
    bool Is_addnotes111 = false;

    // ---- 4 catalogue search ----
    // The search options dialog (find1) writes these when it unloads, on
    // every way out; Form1::ok tells OK (true) from Cancel and the close box
    // (false). find_Location: "所有", "所有\" and a path of the category tree,
    // or what the user typed. find_Match: whole word; find_LCase: true
    // compares letter case exactly; find_Mode: the keyword is a file
    // extension. find_Where: the scope word, "光盘备注", "光盘文件",
    // "文件备注" or "使用情况". find_Txt: the keyword, or keyword "(" operator
    // ")" second keyword (operator "与", "或" or "非"), untrimmed. The dialog
    // reads SoftFind (the software name it proposes as keyword; never
    // cleared), DialogFromWhere ("findindisk" or "findintree": the location
    // is the node selected in TreeView1, respectively TreeView2) and the
    // keyword history, Combo2's list, to which it appends every keyword.
    std::string find_Location;
    bool find_Match = false;
    bool find_LCase = false;
    bool find_Mode = false;
    std::string find_Where;
    std::string find_Txt;
    std::string SoftFind;

    // ---- 5 mirror copies, send-to and file library ----
    // The colour of mirrored files and of the discs that own mirror copies
    // (set at start-up from the stored colour number).
    platform::Color CopyFileColor = platform::qbColor(12);
    // Bytes copied as mirror copies so far ("size.ini").
    double AllSize = 0;
    // The target folder the mirror target dialog hands back on OK (emptied
    // before the dialog is shown; still empty after Cancel).
    std::string MyValue;

    // ---- 6 software descriptions ----
    // The software record shown, and the name it was stored under ("" at start).
    std::string SoftName;
    std::string ExistSoftName;
    // The name of the file the stored record shown was read from (it differs
    // from ExistSoftName when the record's name line names another); the
    // record is saved back into it.
    std::string ExistSoftFile;
    // The software tree, the record form, saving and new records: the
    // category of the record shown, as loaded ("软件分类："); the digits typed
    // into the software tree since the last accepted Enter.
    std::string PreSoftCategoryT;
    std::string TypedSoftNumber;

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
    // The row of ListView1 from which browsing and the keys "downs" and
    // "ups" move (0: none); a click on a node of the disc list sets it to 0.
    std::int32_t FileCursor = 0;
    // Audio CDs: the play list's entry playing in audio-CD mode, the disc
    // track the list started last, and -1 while an audio-CD list runs
    // (playing or paused), else 0; the reply buffer of the multimedia
    // command port (255 characters, replies written at its start and ended
    // by a NUL, the rest kept).
    std::int32_t CDListIndex = 0;
    std::int32_t PlayingTrack = 0;
    std::int32_t CDPlaying = 0;
    std::string MciReply = std::string(255, '\0');

    // =====================================================================
    // Procedures, by owning subsystem
    // =====================================================================

    // ---- 1 catalogue store and disc scanning (src/catalogue) ----
    // The disc list and the category tree (form1_disc_trees.cpp). file1load adds
    // one disc node per index file to TreeView1 (the caller empties it first;
    // the index files listed now, or those the caller has just listed) and
    // colours the discs that own mirror copies; Treeview2Load adds the
    // category tree from the catalogue file and expands its top level.
    void file1load();
    void file1load(const std::vector<std::string>& indexFiles);
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
    std::int64_t FindFilesAPI(const std::string& sspath, std::string& path,
                              const std::string& SearchStr, std::int32_t& FileCount,
                              std::int32_t& DirCount, const catalogue::IndexSink& sink);
    std::string StripNulls(std::string& OriginalStr);
    // The scan command (form1_scan.cpp): describes the disc in the scan
    // dialog, walks it into a new index file and files it in the catalogue
    // and both trees.
    void maker_Click();
    // Wires the catalogue's events (form1_events.cpp).
    void wireCatalogueEvents();
    // Import and export of index files (form1_import_export.cpp): import_Click
    // copies a chosen index file into "guangpan" as a new disc described in
    // the scan dialog, files it and shows it in both trees; Export_Click
    // copies the open disc's index file to a file the user chooses.
    void import_Click();
    void Export_Click();
    // Changing a disc (form1_change_disc.cpp): the open disc's name, number,
    // remark, date and category through the scan dialog in change mode; a
    // new name goes to its index, remark, usage-note and mirror-list entries
    // whole or not at all. The pop-up item runs the command.
    void ChangeOrder_Click();
    void ChangeOrder1_Click();
    // Deleting discs and categories (form1_delete.cpp): the disc selected in
    // the disc list, and the disc or empty category selected in the category
    // tree, each after a confirmation.
    void DeleteThisCD_Click();
    void Delete_Click();
    // Category editing (form1_categories.cpp): new top-level categories and
    // sub-categories named in the name dialog, and the in-place rename of a
    // category's label. Each changes the category tree and writes the
    // catalogue file once.
    void insert_Click();
    void insertsub_Click();
    void ChangeMulu_Click();
    void TreeView2_BeforeLabelEdit(int& Cancel);
    void TreeView2_AfterLabelEdit(int& Cancel, const std::string& NewString);

    // ---- 2 main window, start-up and settings (src/mainwindow) ----
    // Start-up and shutdown (form1_startup.cpp); the layout on every size
    // change (form1_layout.cpp).
    void Form_Load() override;
    // At start, after the log-in: a multi-file command the last run left
    // half-done (pending.ini in the index folder) is finished or taken back,
    // and the user is told once (form1_pending_work.cpp). atStart: every
    // finding is told; before an event a wait told already is not.
    void completePendingWork(bool atStart = false);
    // Once the window is loaded, a record an earlier command of this run
    // left (a step of it failed) is completed the same way before each
    // outermost event; this holds the dispatcher's work before the window
    // was made (given back when it goes).
    std::function<void()> previousBeforeEvent_;
    bool completesLeftWork_ = false;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void exit_Click();
    // The registry procedures, on the registry store and the Ui of the run
    // (form1_module1.cpp).
    Module1& module1();
    // Shows the log-in dialog in set mode (form1_password.cpp).
    void setpassword_Click();
    // The page switch by the selected tab's caption (form1_tabs.cpp).
    void TabStrip1_Click();
    // The toolbar dispatch by button key (form1_toolbar.cpp), and the small
    // handlers beside it: the menu item that switches the file list's grid
    // lines, and the function keys of the disc list and the category tree
    // (F1 help, F2 about box, F3 in the category tree: expand or fold).
    void Toolbar1_ButtonClick(platform::ToolbarButton& Button);
    void grid_Click();
    void TreeView1_KeyDown(int& KeyCode, int Shift);
    void TreeView2_KeyDown(int& KeyCode, int Shift);
    // The pane layout (form1_layout.cpp): the base arrangement, the search-result
    // strip across the bottom (relative: call it only when the strip was
    // hidden), and the software record form shown and laid out / hidden.
    void FormSize();
    void FormSizeFind();
    void formSoftSize();
    void formSoftVisibleF();
    // Wires the main window's own events (form1_events.cpp).
    void wireMainWindowEvents();
    // ---- toolbar and full screen (form1_toolbar.cpp, form1_fullscreen.cpp) ----
    // The disc page, also while media full screen hides its list.
    bool onDiscPage() const;
    // The toolbar's inline jobs: the preview toggle (the button ends in step
    // with the pane), hiding the result list, and stepping the file list or
    // the result list one row down (down true) or up.
    void previewButtonClick(platform::ToolbarButton& Button);
    void hideResultList();
    void stepList(bool down);
    // Full screen: the viewers take the rectangle of the tab strip and the
    // list area (a media preview also hides the panes under it), and get
    // their rectangle back. The restore step shows the panes full screen hid.
    void fullScreenOn();
    void fullScreenOff();
    void restoreFullScreenHidden();
    // Esc while full screen is on leaves it, as a click of its button does.
    bool wantsEscape() const override;
    void onEscape() override;
    // The splitter bars (form1_splitters.cpp): a press keeps the position and
    // shows the sizing pointer; the release moves the border by the distance
    // (limited so that no pane shrinks below a small minimum) and fits the
    // controls that hang on it.
    void Label1_MouseDown(int Button, int Shift, double X, double Y);
    void Label1_MouseUp(int Button, int Shift, double X, double Y);
    void Label2_MouseDown(int Button, int Shift, double X, double Y);
    void Label2_MouseUp(int Button, int Shift, double X, double Y);
    void Label3_MouseDown(int Button, int Shift, double X, double Y);
    void Label3_MouseUp(int Button, int Shift, double X, double Y);
    // Help, about box, web links and the desktop shortcut (form1_help.cpp).
    // The help file below the program folder, opened with the desktop's program.
    static constexpr std::string_view ProgramHelpFile = "help\\zelbrinhelp.htm";
    void RunShellExecute(std::string_view operation, std::string_view file,
                         std::string_view parameters, std::string_view directory, int showMode);
    void content_Click();
    void about_Click();
    void Homepage_Click();
    void HomepageDownload_Click();
    void HomepageNewF_Click();
    void HomepageFaq_Click();
    void HomepageFaq1_Click();
    void HomepageFAQ2_Click();
    void HomepageFAQ3_Click();
    void HomepageFAQ4_Click();
    void HomepageFAQ5_Click();
    void HomepageSoft1_Click();
    void HomepageSoft2_Click();
    void HomepageSoft3_Click();
    void HomepageSoft4_Click();
    // Writes the desktop entry "Zelbrin.desktop" into the user's desktop folder.
    void CreateShortcut_Click();

    // ---- 3 disc page and file notes (src/discpage) ----
    // Opening a disc and listing a folder (form1_open_disc.cpp): a click on
    // a disc node builds the disc's folder tree (once) and shows its number,
    // remark and purchase date; a click on a folder node lists the folder.
    void TreeView1_NodeClick(platform::Node& Node);
    void TreeView2_NodeClick(platform::Node& Node);
    // The file list's events and views (form1_file_list.cpp). ItemClick
    // lists a folder row clicked twice within 1.5 seconds (FolderRelist,
    // false when the listing ended early because the index could not be
    // opened or the folder's node is missing).
    void ListView1_ItemClick(platform::ListItem& Item);
    bool FolderRelist(platform::ListItem& Item);
    void ListView1_ColumnClick(platform::ColumnHeader& ColumnHeader);
    void ListView1_MouseDown(int Button, int Shift, double X, double Y);
    void ListView1_MouseUp(int Button, int Shift, double X, double Y);
    void AlterListviewStyle1_Click();
    void AlterListviewStyle2_Click();
    void AlterListviewStyle3_Click();
    // Ticks (form1_ticks.cpp): a tick or untick in the file list is queued
    // and written at once; WritePendingTicks writes the queue into the open
    // disc's index file in one read and one rewrite (false when it refused,
    // failed or found no line for the ticks). deleteGou removes every tick of
    // the open disc, DeleteFromMulu drops the selected file's line (and, on a
    // hard-disk disc, the file).
    void ListView1_ItemCheck(platform::ListItem& Item);
    bool WritePendingTicks();
    void deleteGou_Click();
    void DeleteFromMulu_Click();
    // The tick-all commands of the file list's pop-up (form1_tick_all.cpp):
    // every file of the listed folder, or every index/default page or readme
    // file of the open disc (those two list what is ticked in ListView2).
    void selectAll_Click();
    void selectAllIndex_Click();
    void selectAllReadme_Click();
    // Wires the disc page's events (form1_events.cpp).
    void wireDiscPageEvents();
    // Opening files and the property commands (form1_open_file.cpp,
    // form1_properties.cpp): OpenOpticDisk opens the selected row of the file
    // list with its program, on the CD or in the catalogued hard-disk folder
    // (the notes dialog calls it too); property, property1 and property3
    // count the files of what the category tree, the disc list or a folder
    // row selects and sum their sizes, property2 the ticked files alone.
    void OpenOpticDisk_Click();
    void property_Click();
    void property1_Click();
    void property2_Click();
    void property3_Click();
    // Remarks and usage notes (form1_notes.cpp): the notes dialog edits the
    // remark or the usage note of the file list's selected row, or the remark
    // of the selected search-result row, and the text is stored in the disc's
    // note file (and then shown in the row).
    void addnotes_Click();
    void addexample_Click();
    void addnotes111_Click();

    // ---- 4 catalogue search (src/search) ----
    // The search command (form1_search.cpp): refused on the software page;
    // shows the search options dialog and, after OK, searches the disc
    // remarks, the remarks or usage notes, or the names in the index files of
    // the discs in the location, and fills ListView2 with the hits.
    // ShowResultList shows the result list across the bottom of the window
    // when it is hidden.
    void find_Click();
    void ShowResultList();
    // The result list's events (form1_results.cpp): a click on a row selects
    // its disc in the visible tree and previews the file, a click on a check
    // box ticks or unticks the file in its disc's index, the right button
    // shows pop5. tagfind ticks every listed file that is not ticked yet
    // (each index read and rewritten once); tagfind1 is its main-menu twin,
    // which first wants results.
    void ListView2_ItemClick(platform::ListItem& Item);
    void ListView2_ItemCheck(platform::ListItem& Item);
    void ListView2_MouseDown(int Button, int Shift, double X, double Y);
    void tagfind_Click();
    void tagfind1_Click();
    // Opening and copying the files of results (form1_result_files.cpp):
    // openfind opens the selected row's file where it lies now (the CD in
    // the drive, or the catalogued hard-disk folder); copytaggedresult
    // copies the files of the ticked rows side by side into a chosen folder.
    void openfind_Click();
    void copytaggedresult_Click();
    // The search shortcuts (form1_search_shortcuts.cpp): a search in the
    // disc selected in the disc list, in the node selected in the category
    // tree, or for the software name selected in the software tree.
    void findInDisk_Click();
    void findintree_Click();
    void findSoft_Click();
    // Wires the search's events (form1_events.cpp).
    void wireSearchEvents();

    // ---- 5 mirror copies, send-to and file library (src/copies) ----
    // Fills TreeView4 from the library file, once at start-up (form1_library.cpp).
    void Treeview4Load();
    // The send-to commands (form1_sendto.cpp): the selected row of the file
    // list copied into "c:\My Documents\", "d:\" or the own folder (the
    // caption of SendToCustom), which SendToDefine chooses in the folder
    // chooser.
    void SendToMyDocument_Click();
    void SendToDpan_Click();
    void SendToCustom_Click();
    void SendToDefine_Click();
    // The library's commands (form1_library.cpp): adding the selected row,
    // showing an entry's record in Text1, the pop-up pop6 and removing the
    // selected entry.
    void addfilelib_Click();
    void TreeView4_NodeClick(platform::Node& Node);
    void TreeView4_MouseDown(int Button, int Shift, double X, double Y);
    void deletelibfile_Click();
    // Wires the send-to and library events (form1_sendto_events.cpp).
    void wireSendToEvents();
    // ---- 5 mirror copies ----
    // Copies the ticked files of the opened disc to a folder on the hard disk
    // (form1_mirror_copy.cpp).
    void copytag_Click();
    // The mirror colour for the next start, and the reset of the copied size
    // (form1_mirror_options.cpp).
    void copyred_Click();
    void copyblue_Click();
    void copypurple_Click();
    void copygreen_Click();
    void CopyClearSize_Click();
    // Removing mirror copies (form1_mirror_remove.cpp): deleteAllred takes
    // every tick mark and mirror path from the open disc's index and the disc
    // from the mirror disc list (the copies stay); DeleteCopyFile deletes the
    // selected file's copy, its mirror path and its size from the total.
    void deleteAllred_Click();
    void DeleteCopyFile_Click();
    // Opening mirror copies with their program (form1_mirror_open.cpp): of
    // the file list's selected row, or of the selected search result.
    void OpenRed_Click();
    void openfindRed_Click();
    // Wires the mirror copies' events (src/copies/form1_events.cpp).
    void wireMirrorEvents();

    // ---- 6 software descriptions (src/software) ----
    // The software tree, the record form, saving and new records.
    // The tree (form1_software_tree.cpp): Treeview3Load appends the category
    // view from class.ini (the caller empties the tree first); softlist_Click
    // switches between the alphabetical list and the category view, and
    // refreshSoft_Click rebuilds the view shown; digits and Enter choose a
    // node by number; the right button pops up pop3.
    void Treeview3Load();
    void softlist_Click();
    void softlist1_Click();
    void refreshSoft_Click();
    void TreeView3_KeyPress(int& KeyAscii);
    void TreeView3_MouseDown(int Button, int Shift, double X, double Y);
    // The record form (form1_software_record.cpp): a click on a category
    // node chooses the form's category, one on a record node loads the
    // record; loadSoftwareRecord is the record reader (it empties the fields,
    // then fills them from the file of the name, when it can be read).
    void TreeView3_NodeClick(platform::Node& node);
    void loadSoftwareRecord(const std::string& name);
    // Saving the form (form1_software_save.cpp): a new record is filed in
    // class.ini and the tree, an edited one moved when its category changed.
    void SaveSoft_Click();
    // New records (form1_new_software.cpp): from the menu through Dialog1,
    // from the disc page's file list through write1.
    void NewSoft_Click();
    void writeC_Click();
    // The form's twelve texts in the record file's order, and setting them.
    std::array<std::string, 12> softwareFormTexts();
    void setSoftwareFormTexts(const std::array<std::string, 12>& texts);
    // The name check of a new record: the message and true when the name is
    // not plain or a record of that name (letter case ignored) exists.
    bool softwareNameRefused(const std::string& name);
    // The text of class.ini ("" when there is none); nothing when it exists
    // but cannot be read, which has been told (form1_software_tree.cpp).
    std::optional<std::string> softwareClassText();
    // Wires the software page's events (src/software/form1_events.cpp).
    void wireSoftwareEvents();

    // Software tree editing (form1_software_edit.cpp): a category beside or
    // below the selected node, named in the name dialog; the selected node's
    // new name, edited in place (SoftLabelEditNode: the serial of the node
    // whose label is being edited); deleting a record or an empty category.
    // Filing imported records (form1_software_filing.cpp), finding a disc-page
    // file's description (form1_find_description.cpp), and the wiring of
    // these commands (form1_edit_events.cpp).
    void insertSoftBrother_Click();
    void insertSoftChild_Click();
    void ChangeSoftName_Click();
    void TreeView3_BeforeLabelEdit(int& Cancel);
    void TreeView3_AfterLabelEdit(int& Cancel, const std::string& NewString);
    std::uint64_t SoftLabelEditNode = 0;
    void deleteSoftN_Click();
    void ClassSoft_Click();
    void ClassSoft1_Click();
    void findSoftDescri_Click();
    void wireSoftwareEditEvents();

    // ---- 7 web page generation (src/webpages) ----
    // Gives the page template its default texts, colours and size option
    // (form1_page_template.cpp); start-up calls it.
    void setPageTemplateDefaults();
    // Web page generation (form1_folder_page.cpp, form1_sitemap.cpp,
    // form1_page_options.cpp): createhtml111 writes the page of the folder
    // selected in the disc list from the rows of the file list, with its
    // download copies; createhtmlcontent and createhtmlindex write the open
    // disc's sitemap files (nodehtml and nodehtmlindex append the entries of
    // a node's subtree, the node given by key); the page options toggle
    // their menu marks and those of their pop4 twins.
    void createhtml111_Click();
    void createhtmlcontent_Click();
    void createhtmlindex_Click();
    void nodehtml(const std::string& node1, std::string& sitemap);
    void nodehtmlindex(const std::string& node1, std::string& sitemap);
    void htmlcopygou_Click();
    void htmlcopygou1_Click();
    void htmlcopyall_Click();
    void htmlcopyall1_Click();
    void createnote1_Click();
    void createnotes_Click();
    void add_link_Click();
    void CreateHtmlTrue_Click();
    void CreateHtmlTrue1_Click();
    // Wires the web pages' events (src/webpages/form1_events.cpp).
    void wireWebPageEvents();

    // Page templates: the template editor and the page-code dialog
    // (src/webpages: model_dialog, htmlcode_dialog, form1_template_events.cpp).
    // The menu items 选择网页模板 show the editor, 查看网页代码 the page code.
    void htmlselect_Click();
    void htmlmodelselect_Click();
    void htmlview_Click();
    void htmlviewcode1_Click();
    void wireTemplateEvents();
    // The editor's state, kept for its next opening (written by the editor
    // only). Colours are colour values (lowest byte red); 0: none chosen.
    // Table background, page background, table borders top-left and
    // bottom-right, folder and file entries, header title and background,
    // the text before and after the table.
    platform::Color valcommand3 = 0;
    platform::Color valcommand4 = 0;
    platform::Color valcommand10 = 0;
    platform::Color valcommand14 = 0;
    platform::Color valcommand88 = 0;
    platform::Color valcommand99 = 0;
    platform::Color valcommand5 = 0;
    platform::Color valcommand11 = 0;
    platform::Color valcommand6 = 0;
    platform::Color valCommand7 = 0;
    // The header title, the texts before and after the table, the font size
    // chosen for the text before (its list text), their alignments (before:
    // left, centred, right; after: left, centred), and whether the text
    // after the table is on.
    std::string valText2;
    std::string valText5;
    std::string valText6;
    std::string valCombo1;
    bool valOption5 = false;
    bool valOption6 = false;
    bool valOption7 = false;
    bool valOption8 = false;
    bool valOption9 = false;
    bool valCheck6 = false;

    // ---- 8 preview and playback (src/preview) ----
    // The preview pane (form1_preview_pane.cpp): the toggle of the menu item and of
    // the callers that switch the pane, deciding by the viewers' visibility;
    // and its two branches. Opening is refused off the disc page with a
    // message; closing has no page test.
    void OpenPreview_Click();
    void openPreviewPane();
    void closePreviewPane();
    // True while any of the four viewers is visible (the pane is open).
    bool previewPaneOpen() const;
    // The open pane shows the page it opens with again: the players stopped
    // and emptied, no picture, the browser alone in front.
    void showPreviewStartPage();
    // Audio CDs and the music play list. The command layer of the CD
    // (form1_cd_audio.cpp) sends the multimedia port's command strings under
    // the alias "cd"; the queries read MciReply at fixed positions.
    void SeekCDtoX(std::int32_t CDtrack);
    void CDStartPlay();
    void CDSetTrack(std::int32_t CDtrack);
    void CDStopPlay();
    void CDPausePlay();
    void ReadyDevice();
    void CDUnloadAll();
    void SetCDPlayerReady();
    void SetFormat_milliseconds();
    void SetFormat_tmsf();
    std::string checkCDEXIST();
    std::int32_t GetNumTracks();
    std::string GetTrackLength(std::int32_t TrackNum);
    static std::int32_t changeMinSec(std::string_view minsec);
    void ReWind();
    void FastForward();
    // "status cd position": the track, minutes and seconds of the TMSF
    // reply; false when a field is no number (the disc is gone).
    bool readCdPosition(std::int32_t& track, std::int32_t& minutes, std::int32_t& seconds);
    // The play list (form1_cd_playlist.cpp): the start from the ticked music
    // rows, the tick, the end of a media file, pause and stop, and the step
    // keys PreviousCD / NextCD of the toolbar.
    void playmp3_Click();
    void PausePlay_Click();
    void StopPlay_Click();
    void Timer1_Timer();
    void MediaPlayer1_EndOfStream(std::int32_t Result);
    void stepPlayList(bool next);
    // The track number an entry's path names (Track07.cda: 7).
    static std::int32_t CdaTrackNumber(std::string_view path);
    // Wires the music's events (form1_cd_events.cpp).
    void wireCdAudioEvents();
    // Wires the preview's events (form1_events.cpp).
    void wirePreviewEvents();
    // Preview by file type (form1_preview.cpp): the selected row of the file
    // list, a clicked row of it (no status text), and the result row at
    // ResultCursor, each shown in the viewer its type calls for, from where
    // the file lies now; the option IsRed and the browser's two events.
    void filePreview();
    void PreviewByType(platform::ListItem& item);
    void findPreview();
    void IsRed_Click();
    void WebBrowser1_NewWindow2(bool& Cancel);
    void WebBrowser1_StatusTextChange(const std::string& Text);
    // Hides the panes under a full-screen media preview and flags them
    // (form1_fullscreen.cpp).
    void hidePanesUnderMedia();
    // Automatic browsing (form1_auto_browse.cpp): the tick steps down and
    // previews while "preview" is pressed (never while a modal box waits);
    // the interval dialog Dialog2 sets b_interval.
    void Timer2_Timer();
    void a_interval_Click();
    // Remarks and names from the preview (form1_preview_text.cpp): the
    // selected file's remark taken from the file itself or from the text
    // selected in the preview browser, and the previewed file of a hard-disk
    // folder renamed after the selected text.
    void addnotesauto_Click();
    void addselecttoremark_Click();
    void AlterFilename_Click();
    void wirePreviewTextEvents();

  private:
    // ---- 3 disc page: state kept from one click to the next ----
    // The disc node under which each tree's folder tree was last built (its
    // serial number: the node may be gone since), and the level of the disc
    // node in the category tree ("2" under a category, "3" under a
    // sub-category): where the disc's folders begin in a node's full path.
    std::uint64_t LastOpenedDiscNode = 0;
    std::uint64_t LastOpenedDiscNode2 = 0;
    std::string OpenedDiscLevel;
    // Where each folder's lines begin in the index of the disc each tree
    // opened last, recorded by the opening: a folder's listing reads only
    // its own lines while the index is as it was then.
    discpage::FolderRuns OpenedDiskRuns;
    discpage::FolderRuns OpenedDiskRuns2;
    // The last folder row clicked on the disc page and when (whole seconds
    // since midnight).
    std::int32_t LastFolderClickTime = 0;
    std::string LastFolderClickText;
    // The steps the two trees' clicks share (form1_open_disc.cpp).
    struct DiscTree;
    DiscTree discTree(platform::TreeView& tree);
    bool openDisc(DiscTree& t, platform::Node& node);
    void showDiscInfo(const std::string& discName, bool ignoreCase);
    // Fills ListView1 with a folder of a disc; false when the index file
    // cannot be opened (the list is then empty). runs: the record of the
    // tree's opened disc, used (and made again when the index has changed)
    // when it is the record of this disc's index.
    bool listFolder(const std::string& fullPath, const std::string& discName,
                    const std::string& folderPath, bool withTicks, std::string& already,
                    discpage::FolderRuns& runs);
    // The flush of the queue: the number of ticks written, or nothing when it
    // refused or failed (it has said why).
    std::optional<std::size_t> flushPendingTicks();

    // Start-up's steps that stand apart (form1_startup.cpp).
    void loadSoftwareList();
    void settleCdDrive(platform::SkipOnError& onError);
    std::unique_ptr<Module1> module1_;

    // The digits typed into the disc list since the last accepted Enter.
    std::string TypedDiscNumber;

    // Connects the controls' and menu items' events to the procedures above:
    // calls each subsystem's wiring function, once, from the constructor.
    void wireEvents();
    // The toolbar and the status bar span the inner width, at its top and its
    // bottom, as the window's own bars do.
    void alignBars();
};
