// Zelbrin: starts the desktop front end, the main window and its events.
//
// The main window's Form_Load runs first (it may end the program, as a
// refused log-in does); then the window shows centred at its design size,
// and the program ends when the main window unloads.
//
// With the option --exit-after-first-paint the program ends as soon as the
// main window has been painted once, after printing the window's size
// ("1024x768") on the standard output: the start-up benchmark times the
// whole process that way.
//
// One program runs per program folder: it holds the folder's lock while it
// runs and listens for later starts on the same folder. A later start asks
// it to come to the front and ends (status 0); when it gets no answer it
// says "Zelbrin已经在运行" and ends. With the option --exit-after-raise the
// program ends, printing "raised", once a later start has brought it to the
// front (the tests start it twice that way).
#include <cstdio>
#include <cstdlib>

#ifdef ZELBRIN_WITH_GUI

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "gui/cd_audio_sink.h"
#include "gui/form_view.h"
#include "gui/front_end.h"
#include "gui/icons.h"
#include "gui/media_engine.h"
#include "gui/qt_services.h"
#include "gui/qt_ui.h"
#include "gui/single_instance.h"
#include "gui/translations.h"
#include "gui/ui_font.h"
#include "gui/web_view.h"
#include "mainwindow/app_services.h"
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/files/audio_disc.h"
#include "platform/files/committed_write.h"
#include "platform/files/drive_table.h"
#include "platform/files/instance_lock.h"
#include "platform/files/program_folder.h"
#include "platform/system/cd_audio.h"
#include "platform/system/clock.h"
#include "platform/system/heap_pages.h"
#include "platform/system/mci.h"
#include "platform/system/registry.h"
#include "platform/system/settings_store.h"
#include "platform/system/shell.h"
#include "platform/ui/dispatcher.h"

namespace {

// The dispatcher reports escaped errors through the Ui while it lives.
struct DispatcherUi {
    explicit DispatcherUi(platform::Ui& ui) { platform::Dispatcher::instance().setUi(&ui); }
    ~DispatcherUi() { platform::Dispatcher::instance().setUi(nullptr); }
    DispatcherUi(const DispatcherUi&) = delete;
    DispatcherUi& operator=(const DispatcherUi&) = delete;
};

// Ends the program after the first paint of a window: the paint events of
// one repaint are delivered together, so the end, queued behind them, comes
// when the whole window is drawn.
class ExitAfterFirstPaint : public QObject {
  public:
    explicit ExitAfterFirstPaint(QWidget* window) : QObject(window), window_(window) {
        QApplication::instance()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (!done_ && e->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_) {
            done_ = true;
            QTimer::singleShot(0, this, [this] {
                std::printf("%dx%d\n", window_->width(), window_->height());
                std::fflush(stdout);
                QApplication::exit(0);
            });
        }
        return false;
    }

  private:
    QWidget* window_;
    bool done_ = false;
};

bool exitAfterFirstPaint = false;
bool exitAfterRaise = false;

// The window a later start brings to the front: the main window once it
// shows, and a box or dialog open over it (or open before it shows).
QWidget* mainWindow = nullptr;

void comeToFront() {
    gui::bringToFront(mainWindow);
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != mainWindow)
        gui::bringToFront(modal);
    if (exitAfterRaise) {
        exitAfterRaise = false;
        std::printf("raised\n");
        std::fflush(stdout);
        QTimer::singleShot(0, [] { QApplication::exit(0); });
    }
}

int run() {
    namespace files = platform::files;
    namespace sys = platform::system;

    files::prepareProgramFolder();
    // One program per program folder: a later start hands over to this one.
    // A folder where the lock cannot be made (a read-only medium) runs
    // without that guard.
    const std::string dataFolder = files::dataFolder();
    const QString serverName = gui::instanceServerName(files::resolvedFolder(dataFolder));
    std::optional<files::InstanceLock> lock;
    bool guarded = true;
    try {
        lock = files::InstanceLock::tryAcquire(dataFolder);
    } catch (const platform::Error& e) {
        guarded = false;
        std::fprintf(stderr, "zelbrin: %s\n", e.what());
    }
    if (guarded && !lock) {
        if (!gui::askToFront(serverName))
            QMessageBox::information(nullptr, QStringLiteral("Zelbrin"),
                                     QString::fromUtf8("Zelbrin已经在运行"));
        return 0;
    }
    std::optional<gui::InstanceServer> instanceServer;
    if (guarded) instanceServer.emplace(serverName, comeToFront);

    const std::filesystem::path config = files::configFolder();
    files::sweepTempFiles(config.string(), files::programStartTime());
    // A store whose file cannot be read starts empty, keeps the file as it
    // is and remembers why; Form_Load tells the user once the Ui is up.
    sys::FileRegistryStore registry(config / std::string(sys::registryFileName));
    sys::FileSettingsStore settings(config / std::string(sys::settingsFileName));
    sys::DesktopShell shell;
    gui::QtClipboard clipboard;
    sys::SystemClock clock;
    // The audio CD plays from the optical device of the catalogue's CD drive
    // (drives.ini may name a ".cue" image as its device), else from the first
    // drive with a device, else from the system's default drive.
    const Form1* cdOwner = nullptr;
    gui::QtCdAudioOutput cdSound;
    sys::CdAudioMci mci(
        [&cdOwner] {
            const files::DriveTable& table = files::DriveTable::current();
            if (cdOwner != nullptr)
                if (const files::DriveEntry* e = table.find(cdOwner->CdDrive);
                    e != nullptr && e->kind == files::DriveKind::CdRom && !e->device.empty())
                    return e->device;
            for (const files::DriveEntry& e : table.entries())
                if (e.kind == files::DriveKind::CdRom && !e.device.empty()) return e.device;
            return std::string();
        },
        cdSound);

    // An audio CD's tracks show as TrackNN.cda files at its drive's root,
    // made in the session's runtime folder (else the configuration folder).
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    files::setAudioDiscReader(
        sys::readCdToc,
        (runtime != nullptr && *runtime == '/' ? std::filesystem::path(runtime) / "zelbrin-audio-cd"
                                               : config / "audio-cd")
            .string());

    gui::FrontEnd frontEnd;
    gui::QtUi ui(frontEnd);
    gui::QtTimerHost timers;
    DispatcherUi dispatcherUi(ui);
    // The lines of drives.ini the drive table could not use, told once.
    if (const std::string report = files::DriveTable::current().problemReport(); !report.empty())
        ui.msgBox(report, platform::MsgButtons::OK, "提示");
    AppServices services{{ui, timers}, registry, settings, shell,
                         clipboard,    clock,    mci,      files::ProgramFolder()};

    Form1 form(services);
    cdOwner = &form;
    platform::dispatch([&form] { form.show(); });
    if (!form.loaded()) return 0;

    gui::FormView& view = frontEnd.open(form, gui::FrontEnd::WindowKind::Main);
    mainWindow = view.window();
    view.onUnloaded = [] { QApplication::exit(0); };
    if (exitAfterFirstPaint) new ExitAfterFirstPaint(view.window());
    view.showWindow();
    const int code = form.loaded() ? QApplication::exec() : 0;
    mainWindow = nullptr;
    frontEnd.close(form);
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    platform::system::preferLargeHeapPages();
    gui::prepareWebEngine();
    QApplication app(argc, argv);
    gui::installTranslations(app);  // Qt's dialogs and the web engine's pages in Chinese
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--exit-after-first-paint") == 0)
            exitAfterFirstPaint = true;
        else if (std::strcmp(argv[i], "--exit-after-raise") == 0)
            exitAfterRaise = true;
    gui::useQtMediaEngine();
    // The program ends when the main window unloads, not when a box that
    // start-up shows before it closes.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("zelbrin"));
    QApplication::setDesktopFileName(QStringLiteral("zelbrin"));
    QApplication::setWindowIcon(gui::applicationIcon());
    gui::applyUiFont(app);
    try {
        return run();
    } catch (const std::exception& e) {
        // The program never ends without a word: the reason is shown too.
        std::fprintf(stderr, "zelbrin: %s\n", e.what());
        QMessageBox::critical(
            nullptr, QStringLiteral("Zelbrin"),
            QString::fromUtf8("程序无法继续运行：") + QString::fromLocal8Bit(e.what()));
        return 1;
    }
}

#else

int main() {
    std::fputs("zelbrin: built without the desktop front end (Qt 6 was not found)\n", stderr);
    return 1;
}

#endif
