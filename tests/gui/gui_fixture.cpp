#include "gui_fixture.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "gui/translations.h"
#include "gui/ui_font.h"
#include "gui/web_view.h"
#include "support/artifacts.h"

namespace guitest {

namespace {

// One QApplication for the whole test program, on the offscreen platform
// unless another is asked for.
class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_gui";
        static char* argv[] = {name, nullptr};
        gui::prepareWebEngine();
        app_ = std::make_unique<QApplication>(argc, argv);
        translations_ = gui::installTranslations(*app_);  // as the program speaks
        app_->setQuitOnLastWindowClosed(false);
        gui::applyUiFont(*app_);  // as the program draws its forms
    }
    void TearDown() override { app_.reset(); }
    static inline int translations_ = 0;

  private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

namespace {

// Ends whatever modal window or pop-up is open (a test that lost its way).
void closeOpenWindows() {
    for (int i = 0; i < 10; ++i) {
        QWidget* w = QApplication::activePopupWidget();
        if (!w) w = QApplication::activeModalWidget();
        if (!w) return;
        if (auto* d = qobject_cast<QDialog*>(w))
            d->done(0);
        else
            w->close();
    }
}

}  // namespace

namespace detail {

void whenShown(std::string what, std::function<QWidget*()> find,
               std::function<void(QWidget*)> script) {
    auto* poll = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, poll,
                     [poll, started, what = std::move(what), find = std::move(find),
                      script = std::move(script)] {
                         if (QWidget* w = find()) {
                             poll->stop();
                             poll->deleteLater();
                             // A script that failed half-way must not leave the window open.
                             QPointer<QWidget> guard(w);
                             QTimer::singleShot(5000, [guard] {
                                 if (!guard || !guard->isVisible()) return;
                                 ADD_FAILURE() << "the window was still open five seconds later";
                                 if (auto* d = qobject_cast<QDialog*>(guard.data()))
                                     d->done(0);
                                 else
                                     guard->close();
                             });
                             script(w);
                             return;
                         }
                         if (started->elapsed() > 5000) {
                             poll->stop();
                             poll->deleteLater();
                             QWidget* top = QApplication::activeModalWidget();
                             ADD_FAILURE() << "no " << what << " was shown"
                                           << (top ? " (the modal window on top: \"" +
                                                         top->windowTitle().toStdString() + "\")"
                                                   : std::string());
                             closeOpenWindows();
                         }
                     });
    poll->start(10);
}

}  // namespace detail

void whenPopup(std::function<void(QMenu*)> script) {
    detail::whenShown(
        "pop-up menu",
        [] {
            QWidget* w = QApplication::activePopupWidget();
            return w && w->isVisible() && qobject_cast<QMenu*>(w) ? w : nullptr;
        },
        [script = std::move(script)](QWidget* w) { script(qobject_cast<QMenu*>(w)); });
}

void typeFileName(QFileDialog* dialog, const QString& path) {
    // QFileDialog::selectFile leaves the name box alone while it has the
    // focus, and rows selected before stay selected: either would choose
    // another file than the one typed.
    auto* list = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_TRUE(list && name) << "the file dialog's parts are not where they were";
    list->selectionModel()->clear();
    name->setText(path);
}

bool showModalWith(platform::Form& form, std::function<void(QWidget*)> script) {
    bool shown = false;
    whenModal<QDialog>(QString::fromStdString(form.caption()),
                       [&shown, script = std::move(script)](QDialog* w) {
                           shown = true;
                           script(w);
                       });
    platform::dispatch([&form] { form.showModal(); });
    return shown;
}

QAction* menuAction(QMainWindow* window, const QString& top, const QString& item) {
    for (QAction* t : window->menuBar()->actions()) {
        if (t->text() != top || !t->menu()) continue;
        for (QAction* a : t->menu()->actions())
            if (a->text() == item) return a;
    }
    return nullptr;
}

QPushButton* buttonWithText(QWidget* w, const QString& text) {
    for (QPushButton* b : w->findChildren<QPushButton*>())
        if (b->text() == text && b->isVisible()) return b;
    return nullptr;
}

TestDialog::TestDialog(platform::Services& s) : Form(s, "TestDialog") {
    setCaption("信息");
    setInnerSize(4500, 1800);
    setFixedBorder(true);
    Label1.setCaption("密码(&P) && 名字:");
    Label1.move(200, 0, 4000, 200);
    Text1.move(200, 200, 4000, 300);
    OKButton.setCaption("确定");
    OKButton.move(1800, 1100, 1200, 400);
    OKButton.setDefault(true);
    CancelButton.setCaption("取消");
    CancelButton.move(3100, 1100, 1200, 400);
    CancelButton.setCancel(true);
    OKButton.Click = [this] {
        result = "ok";
        unload();
    };
    CancelButton.Click = [this] {
        result = "cancel";
        unload();
    };
}

int translationCatalogues() { return QtEnvironment::translations_; }

std::string artifactFolder() { return testsupport::artifactFolder(); }

void chooseFromNextPopup(const QString& caption, bool& chosen) {
    whenPopup([caption, &chosen](QMenu* menu) {
        for (QAction* a : menu->actions())
            if (a->isVisible() && a->text() == caption) {
                chosen = true;
                menu->setActiveAction(a);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        menu->close();
    });
}

QTreeWidget* reportOf(GuiMachine& m, const platform::ListView& list, int columns) {
    QWidget* w = m.widgetOf<QWidget>(list);
    if (!w) return nullptr;
    for (QTreeWidget* t : w->findChildren<QTreeWidget*>())
        if (t->columnCount() == columns) return t;
    return nullptr;
}

}  // namespace guitest
