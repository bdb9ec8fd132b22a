// The front end's tests run the real Qt widgets on the offscreen platform:
// a machine of the test harness (temporary folders, drive table, in-memory
// stores) with the main window built on the desktop's Ui and timers.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <string>

#include "gui/form_view.h"
#include "gui/front_end.h"
#include "gui/qt_services.h"
#include "gui/qt_ui.h"
#include "mainwindow/app_services.h"
#include "mainwindow/form1.h"
#include "platform/controls/form.h"
#include "platform/controls/simple_controls.h"
#include "platform/ui/dispatcher.h"
#include "support/harness.h"

namespace guitest {

// The harness's machine with the desktop front end.
struct GuiMachine {
    testsupport::Harness h;
    gui::FrontEnd frontEnd;
    gui::QtUi ui{frontEnd};
    gui::QtTimerHost timers;
    AppServices services{
        {ui, timers}, h.registry, h.settings, h.shell,
        h.clipboard,  h.clock,    h.mci,      std::string(testsupport::Harness::ProgramFolder)};
    Form1 form{services};

    GuiMachine() = default;
    ~GuiMachine() { frontEnd.close(form); }

    // Start-up as the program does it: Form_Load and the first resize, then
    // the main window shown at its design size. The CD drive file is written
    // first, as the harness does, so that start-up does not ask for the drive.
    gui::FormView& showMain() {
        const std::string cdDriveFile =
            std::string(testsupport::Harness::ProgramFolder) + "\\disk.ini";
        if (!h.exists(cdDriveFile))
            h.write(cdDriveFile, std::string(testsupport::Harness::CdDrive) + "\r\n");
        platform::dispatch([this] { form.show(); });
        gui::FormView& v = frontEnd.open(form, gui::FrontEnd::WindowKind::Main);
        v.showWindow();
        return v;
    }

    template <class W>
    W* widgetOf(const platform::Control& c) {
        gui::FormView* v = frontEnd.find(c.form());
        gui::ControlView* cv = v ? v->viewOf(c) : nullptr;
        return cv ? qobject_cast<W*>(cv->widget()) : nullptr;
    }
};

namespace detail {
// Polls until find() gives a window, then runs script on it. When none comes
// within five seconds the test fails (naming what) and every modal window
// and pop-up still open is closed, so that the test ends; a window the
// script leaves open is closed five seconds later, with a failure.
void whenShown(std::string what, std::function<QWidget*()> find,
               std::function<void(QWidget*)> script);
}  // namespace detail

// Runs script on the modal window of class W (QMessageBox, QFileDialog,
// QInputDialog, QDialog for a modal form, ...) with that title, once it is
// shown and is the modal window on top. Any other modal window is left
// alone: a script never acts on a window it did not ask for.
template <class W>
void whenModal(const QString& title, std::function<void(W*)> script) {
    detail::whenShown(
        std::string(W::staticMetaObject.className()) + " \"" + title.toStdString() + "\"",
        [title]() -> QWidget* {
            QWidget* w = QApplication::activeModalWidget();
            return w && w->isVisible() && qobject_cast<W*>(w) && w->windowTitle() == title
                       ? w
                       : nullptr;
        },
        [script = std::move(script)](QWidget* w) { script(qobject_cast<W*>(w)); });
}

// Runs script on the pop-up menu once one is shown.
void whenPopup(std::function<void(QMenu*)> script);

// Chooses the item of that caption from the next pop-up menu; chosen tells
// whether it was there.
void chooseFromNextPopup(const QString& caption, bool& chosen);

// The report widget of a list: the QTreeWidget with that many columns.
QTreeWidget* reportOf(GuiMachine& m, const platform::ListView& list, int columns);

// Types a path into a file dialog's name box, as the user does, so that
// accepting the dialog chooses exactly that file.
void typeFileName(QFileDialog* dialog, const QString& path);

// Shows the form modally and runs script on its window once it is shown (the
// script closes it); false when no window was shown.
bool showModalWith(platform::Form& form, std::function<void(QWidget*)> script);

// The item of the menu bar's menu top with that text, or nullptr.
QAction* menuAction(QMainWindow* window, const QString& top, const QString& item);

// The visible push button of w with that text, or nullptr.
QPushButton* buttonWithText(QWidget* w, const QString& text);

// A small dialog form: a label, a text box and OK and Cancel buttons.
class TestDialog : public platform::Form {
  public:
    explicit TestDialog(platform::Services& s);

    platform::Label Label1{*this, "Label1"};
    platform::TextBox Text1{*this, "Text1"};
    platform::CommandButton OKButton{*this, "OKButton"};
    platform::CommandButton CancelButton{*this, "CancelButton"};
    std::string result;  // "ok", "cancel" or "closebox"

  protected:
    void onCloseBox() override {
        result = "closebox";
        unload();
    }
};

// The number of Qt's Chinese catalogues the test program installed at its
// start, as the program does (gui::installTranslations).
int translationCatalogues();

// The folder test artifacts (screenshots) go to, created when missing:
// $ZELBRIN_ARTIFACTS, else "test-artifacts" in the build folder, wherever the
// test runs from; never the source tree.
std::string artifactFolder();

}  // namespace guitest
