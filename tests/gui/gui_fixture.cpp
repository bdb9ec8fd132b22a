#include "gui_fixture.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPointer>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "gui/ui_font.h"

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
        app_ = std::make_unique<QApplication>(argc, argv);
        app_->setQuitOnLastWindowClosed(false);
        gui::applyUiFont(*app_);  // as the program draws its forms
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

void whenShown(std::function<QWidget*()> find, std::function<void(QWidget*)> script) {
    auto* poll = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, started, find = std::move(find), script = std::move(script)] {
        QWidget* w = find();
        if (w && w->isVisible()) {
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
            ADD_FAILURE() << "no window was shown";
        }
    });
    poll->start(10);
}

void whenModal(std::function<void(QWidget*)> script) {
    whenShown([] { return QApplication::activeModalWidget(); }, std::move(script));
}

void whenPopup(std::function<void(QWidget*)> script) {
    whenShown([] { return QApplication::activePopupWidget(); }, std::move(script));
}

bool showModalWith(platform::Form& form, std::function<void(QWidget*)> script) {
    bool shown = false;
    whenModal([&shown, script = std::move(script)](QWidget* w) {
        shown = true;
        script(w);
    });
    platform::dispatch([&form] { form.showModal(); });
    return shown;
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

std::string artifactFolder() {
    const char* env = std::getenv("ZELBRIN_ARTIFACTS");
    const std::filesystem::path folder =
        env && *env ? std::filesystem::path(env)
                    : std::filesystem::path(ZELBRIN_BUILD_DIR) / "test-artifacts";
    std::filesystem::create_directories(folder);
    return folder.string();
}

}  // namespace guitest
