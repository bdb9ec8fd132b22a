// Start-up and shutdown of the main window.
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/cd_drive.h"
#include "catalogue/disc_trees.h"
#include "catalogue/index_line.h"
#include "catalogue/pending_work.h"
#include "copies/sendto_dialog.h"
#include "discpage/size_text.h"
#include "mainwindow/form1.h"
#include "mainwindow/module1.h"
#include "mainwindow/password_dialog.h"
#include "mainwindow/startup.h"
#include "platform/files/committed_write.h"
#include "platform/files/confined.h"
#include "platform/files/drives.h"
#include "platform/files/file_ops.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "platform/system/registry.h"
#include "platform/system/settings_store.h"
#include "platform/text/text.h"
#include "platform/ui/dispatcher.h"
#include "platform/ui/ui.h"
#include "software/class_file.h"
#include "software/record_file.h"
#include "webpages/folder_page.h"
#include "webpages/htmlcode_dialog.h"

namespace text = platform::text;
namespace files = platform::files;

namespace {

// Makes a folder the program keeps stored files in, unless a folder answers
// to its name as the files in it are found: a program folder brought from
// elsewhere may spell it otherwise ("GuangPan"), and a folder made beside it
// would hide its files.
void makeStoredFolder(const files::ConfinedRoot& program, std::string_view name) {
    if (const auto there = program.status(name); there && there->isFolder) return;
    program.createFolders(name);
}

}  // namespace

void Form1::Form_Load() {
    platform::SkipOnError onError;
    const std::string& programFolder = app().ProgramFolder;
    // Temporary files an earlier run left behind when it was cut short, in
    // the folders the program writes into (any other folder is swept by the
    // first write into it): the program folder, the index folder, the
    // software records, the page templates, and the generated pages with
    // each disc's folder of them (the folders of a disc's tree below that,
    // thousands on a big disc, are swept when pages are next written there:
    // listing them all would slow every start).
    for (const std::string& folder : {programFolder, catalogue::indexFolderPath(programFolder),
                                      software::softwareFolderPath(programFolder),
                                      programFolder + std::string(webpages::TemplateFolder)}) {
        onError.step(
            [&] { files::sweepTempFiles(files::toNative(folder), files::programStartTime()); });
    }
    onError.step([&] {
        files::sweepTempFilesBelow(
            files::toNative(programFolder + "\\" + std::string(webpages::PageTreeFolder)),
            files::programStartTime(), 1);
    });

    // 0. The stores were made before the window: a file of theirs that could
    // not be read is told now. They run on defaults and keep the file as it is.
    for (const auto& failure : {app().registry.loadFailure(), app().settings.loadFailure()})
        if (failure) startup::reportUnreadableFile(ui(), failure->file, failure->reason);

    // The log-in, when one is asked for. A refusal ends the program.
    onError.step(
        [&] { Have_Password = module1().GetRegValue(SettingsKey, "have_password") == "true"; });
    if (Have_Password) {
        onError.step([&] {
            password dialog(*this);
            dialog.showModal();
        });
        if (LoginSucceeded != true) {
            unload();
            return;
        }
    }

    // Start values: the play list and the queue of pending ticks empty.
    MediaListIndex = 1;
    b_interval = 1.0;
    PendingTickPaths.clear();
    CDPlaying = 0;
    PlayingTrack = 0;
    CDListIndex = 0;
    PlayList.clear();
    PlaySizes.clear();
    SoftName.clear();
    ExistSoftName.clear();
    ExistSoftFile.clear();

    // The colour of mirrored files, from the settings key.
    onError.step([&] {
        CopyFileColor = startup::mirrorColour(module1().GetRegValue(SettingsKey, "Color"));
    });

    // The index folder and the disc count.
    onError.step([&] {
        makeStoredFolder(catalogue::openProgramFolder(programFolder), catalogue::IndexFolderName);
    });
    // A command the last run left half-done, finished or taken back; from
    // now on also one a failed step of this run leaves, before the next
    // event.
    onError.step([&] { completePendingWork(true); });
    if (!completesLeftWork_) {
        completesLeftWork_ = true;
        platform::Dispatcher::instance().setBeforeEvent([this] {
            // What cannot be completed now stays for a later event or start.
            try {
                if (catalogue::pendingWorkMayBeLeft()) completePendingWork();
            } catch (const platform::Error&) {
            }
        });
    }
    std::optional<std::vector<std::string>> indexFiles;
    onError.step([&] {
        indexFiles = catalogue::listIndexFiles(File1, programFolder);
        Cdrom_Num = static_cast<int>(indexFiles->size());
    });

    // The image list, the disc list and the trees' settings.
    for (platform::TreeView* tree : {&TreeView1, &TreeView2, &TreeView3, &TreeView4})
        tree->setImageList(&ImageList1);
    ListView1.setSmallIcons(&ImageList1);
    // The disc list from the same listing (listed anew only when that failed).
    onError.step([&] {
        if (indexFiles)
            file1load(*indexFiles);
        else
            file1load();
    });
    TreeView1.setStyle(7);
    TreeView2.setStyle(7);
    TreeView1.setLabelEdit(1);
    TreeView1.setVisible(false);
    TreeView3.setVisible(false);
    TreeView4.setVisible(false);
    ListView1.setGridLines(true);

    // The category tree; a missing catalogue file is created empty.
    onError.step([&] {
        const files::ConfinedRoot folder = catalogue::openProgramFolder(programFolder);
        if (!folder.exists(catalogue::CatalogueFileName))
            folder.write(catalogue::CatalogueFileName, {}, files::OnExisting::Refuse);
    });
    onError.step([&] { Treeview2Load(); });

    // The file list in front, the software list, and the CD drive found.
    ListView1.zOrder(0);
    loadSoftwareList();
    onError.step([&] { FindCdDrive(); });

    // The caption of the user's own send-to folder, from the settings store.
    onError.step([&] {
        const std::string folder = app().settings.get(
            copies::SendToSettingApp, copies::SendToSettingSection, copies::SendToSettingKey, "");
        SendToCustom.setCaption(startup::sendToCaption(folder));
    });

    // The bytes copied as mirror copies so far ("size.ini"), shown in the menu.
    onError.step([&] { AllSize = text::val(files::WholeFileRead(programFolder + "\\size.ini")); });
    CopyAllSize.setCaption("已经拷贝到硬盘上的文件大小是" + discpage::sizeText(AllSize));

    // The CD drive's root from the CD drive file, asked for on a first run.
    settleCdDrive(onError);

    // The read-me in the browser, the page template, the layout and the
    // library; then the viewers are hidden until the preview pane opens.
    onError.step([&] { WebBrowser1.navigate("file:\\\\" + programFolder + "\\readme.htm"); });
    onError.step([&] { setPageTemplateDefaults(); });
    onError.step([&] { FormSize(); });
    onError.step([&] { Treeview4Load(); });
    WebBrowser1.setVisible(false);
    Picture1.setVisible(false);
    MediaPlayer2.setVisible(false);
    ShockwaveFlash1.setVisible(false);
}

void Form1::loadSoftwareList() {
    platform::SkipOnError onError;
    const std::string softwareFolder = software::softwareFolderPath(app().ProgramFolder);
    onError.step([&] {
        makeStoredFolder(catalogue::openProgramFolder(app().ProgramFolder),
                         software::SoftwareFolderName);
    });
    if (onError.step([&] { File1.setPath(softwareFolder); }) &&
        onError.step([&] { File1.setPattern("*.txt"); })) {
        const int count = File1.listCount();
        for (int i = 0; i < count; ++i) {
            const std::string& file = File1.list(i);
            const std::string name = text::left(file, text::len(file) - 4);
            onError.step(
                [&] { TreeView3.add(software::nodeKey(name), name, images::SoftwareRecord); });
        }
    }
    onError.step([&] { File1.setPath("c:\\"); });
    onError.step([&] { File1.setPattern("*.*"); });
}

void Form1::settleCdDrive(platform::SkipOnError& onError) {
    const std::string path = app().ProgramFolder + "\\" + std::string(startup::CdDriveFileName);
    onError.clear();
    std::string stored;
    const bool opened = onError.step([&] { stored = files::WholeFileRead(path); });
    // The drive is looked for as on a first run when the file is missing, and
    // when the drive it remembers is no CD drive of the drive table (gone, or
    // mapped otherwise since): the drive FindCdDrive found is proposed.
    bool lookAgain = !opened && onError.number() == platform::err::FileNotFound;
    if (opened) {
        const std::string remembered = startup::rootOfFirstCharacter(text::trim(stored));
        if (catalogue::isCdDrive(remembered))
            CdDrive = remembered;
        else
            lookAgain = true;
    }
    // Any other failure counts as a file that cannot be read: the drive found
    // stays, cut to its root.
    else if (!lookAgain)
        CdDrive = startup::rootOfFirstCharacter(CdDrive);
    const bool found = !CdDrive.empty();
    if (!found) CdDrive = startup::ProposedCdDrive;
    CdDriveKnown = true;
    // No CD drive found: nothing is proposed or stored; the next start looks again.
    if (!lookAgain || !found) return;

    auto store = [&](const std::string& root) {
        onError.step([&] {
            // Written beneath the program folder.
            files::CommittedTextFile out(catalogue::openProgramFolder(app().ProgramFolder),
                                         startup::CdDriveFileName, files::OnExisting::Replace);
            out.print(root);
            out.commit();
        });
    };
    const int answer = ui().msgBox(
        "程序检测到你的光驱的盘符是" + CdDrive +
            "，如果正确请按OK，不正确请按Cancel！如果以后发生改变，请删除disk.ini文件！",
        platform::MsgButtons::OKCancel, "提示");
    if (answer == platform::MsgOK) {
        store(CdDrive);
        return;
    }
    for (;;) {
        const std::string typed = ui().inputBox("请输入你的光驱的盘符！", "信息", "");
        // Cancel keeps the proposed root for this run and stores nothing, so
        // the next start asks again.
        if (typed.empty()) return;
        const std::string root = startup::rootOfFirstCharacter(typed);
        if (catalogue::isCdDrive(root)) {
            store(root);
            CdDrive = root;
            return;
        }
        ui().msgBox("你输入的盘符不是光驱，请重新输入！", platform::MsgButtons::OK, "提示");
    }
}

void Form1::Form_Unload(int& cancel) {
    (void)cancel;
    TreeView2.clear();
    TreeView3.clear();
    if (CDPlaying) CDStopPlay();
}

void Form1::exit_Click() { unload(); }
