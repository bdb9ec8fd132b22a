// Modal forms, message boxes, input boxes, file dialogs and pop-up menus of
// the desktop Ui.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "copies/copy_dialog.h"
#include "gui_fixture.h"
#include "platform/controls/common_dialog.h"
#include "platform/controls/menu.h"
#include "platform/controls/viewers.h"
#include "platform/files/file_ops.h"
#include "platform/files/listing.h"

namespace {

using guitest::buttonWithText;
using guitest::GuiMachine;
using guitest::TestDialog;
using guitest::whenModal;

TEST(ModalForm, OpensAtItsSizeAndClosesThroughItsButtons) {
    GuiMachine m;
    m.showMain();
    TestDialog dlg(m.services);
    bool sawWindow = false;
    whenModal<QDialog>(QStringLiteral("信息"), [&](QDialog* w) {
        sawWindow = true;
        EXPECT_EQ(w->size(), QSize(300, 120));  // 4500 x 1800 twips, fixed
        EXPECT_EQ(w->minimumSize(), w->maximumSize());
        // A label shows "&&" as "&" and drops the key letter's mark.
        auto* label = w->findChild<QLabel*>();
        ASSERT_TRUE(label);
        EXPECT_EQ(label->text(), QStringLiteral("密码(P) & 名字:"));
        // Typing reaches the text box model.
        auto* edit = w->findChild<QLineEdit*>();
        ASSERT_TRUE(edit);
        QTest::keyClicks(edit, "abc");
        QTest::mouseClick(buttonWithText(w, QStringLiteral("确定")), Qt::LeftButton);
    });
    platform::dispatch([&] { dlg.showModal(); });
    EXPECT_TRUE(sawWindow);
    EXPECT_EQ(dlg.result, "ok");
    EXPECT_EQ(dlg.Text1.text(), "abc");
    EXPECT_FALSE(dlg.loaded());
    EXPECT_EQ(m.frontEnd.find(dlg), nullptr);  // the view went with the form
}

TEST(ModalForm, EscPressesCancelAndTheCloseBoxCountsAsTheForms) {
    GuiMachine m;
    m.showMain();
    {
        TestDialog dlg(m.services);
        whenModal<QDialog>(QStringLiteral("信息"),
                           [](QDialog* w) { QTest::keyClick(w, Qt::Key_Escape); });
        platform::dispatch([&] { dlg.showModal(); });
        EXPECT_EQ(dlg.result, "cancel");
    }
    {
        TestDialog dlg(m.services);
        whenModal<QDialog>(QStringLiteral("信息"), [](QDialog* w) {
            QTest::keyClick(w->findChild<QLineEdit*>(), Qt::Key_Return);
        });
        platform::dispatch([&] { dlg.showModal(); });
        EXPECT_EQ(dlg.result, "ok");
    }
    {
        TestDialog dlg(m.services);
        whenModal<QDialog>(QStringLiteral("信息"), [](QDialog* w) { w->close(); });
        platform::dispatch([&] { dlg.showModal(); });
        EXPECT_EQ(dlg.result, "closebox");
        EXPECT_FALSE(dlg.loaded());
    }
}

struct BoxCase {
    platform::MsgButtons buttons;
    const char* press;  // the button text, or "" for Esc
    int answer;
    QStringList shown;
};

TEST(MessageBox, ShowsTitleTextAndButtonsAndAnswers) {
    GuiMachine m;
    m.showMain();
    const std::vector<BoxCase> cases = {
        {platform::MsgButtons::OK, "确定", platform::MsgOK, {"确定"}},
        {platform::MsgButtons::OK, "", platform::MsgOK, {"确定"}},
        {platform::MsgButtons::OKCancel, "取消", platform::MsgCancel, {"确定", "取消"}},
        {platform::MsgButtons::OKCancel, "", platform::MsgCancel, {"确定", "取消"}},
        {platform::MsgButtons::YesNo, "否", platform::MsgNo, {"是", "否"}},
        {platform::MsgButtons::YesNo, "是", platform::MsgYes, {"是", "否"}},
    };
    for (const BoxCase& c : cases) {
        QStringList shownButtons;
        QString title, text;
        bool icon = true;
        whenModal<QMessageBox>(QStringLiteral("提示"), [&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon() != QMessageBox::NoIcon;
            for (QAbstractButton* b : box->buttons()) shownButtons << b->text();
            if (*c.press)
                QTest::mouseClick(buttonWithText(box, QString::fromUtf8(c.press)), Qt::LeftButton);
            else
                QTest::keyClick(box, Qt::Key_Escape);
        });
        int answer = 0;
        platform::dispatch([&] { answer = m.ui.msgBox("第一行\r\n第二行", c.buttons, "提示"); });
        EXPECT_EQ(answer, c.answer) << c.press;
        EXPECT_EQ(title, QStringLiteral("提示"));
        EXPECT_EQ(text, QStringLiteral("第一行\n第二行"));
        EXPECT_FALSE(icon);
        std::sort(shownButtons.begin(), shownButtons.end());
        QStringList expected = c.shown;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(shownButtons, expected);
    }
    // A Yes/No box cannot be escaped: Esc leaves it open.
    bool stillOpen = false;
    whenModal<QMessageBox>(QStringLiteral("Zelbrin"), [&](QMessageBox* w) {
        QTest::keyClick(w, Qt::Key_Escape);
        stillOpen = w->isVisible();
        QTest::mouseClick(buttonWithText(w, QStringLiteral("是")), Qt::LeftButton);
    });
    int answer = 0;
    platform::dispatch([&] { answer = m.ui.msgBox("?", platform::MsgButtons::YesNo, ""); });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(answer, platform::MsgYes);
}

// A box's lines end CR LF; one ending LF alone shows the same, and neither
// shows a line twice or an empty line that is not there.
TEST(MessageBox, LinesEndingCrLfOrLfShowOnceEach) {
    GuiMachine m;
    m.showMain();
    const std::vector<std::pair<const char*, QString>> cases = {
        {"第一行\r\n第二行", QStringLiteral("第一行\n第二行")},
        {"第一行\n第二行", QStringLiteral("第一行\n第二行")},
        {"第一行\r\n\r\n第三行", QStringLiteral("第一行\n\n第三行")},
        {"第一行\n\n第三行", QStringLiteral("第一行\n\n第三行")},
    };
    for (const auto& [prompt, shown] : cases) {
        QString text;
        int labelLines = 0;
        whenModal<QMessageBox>(QStringLiteral("提示"), [&](QMessageBox* box) {
            text = box->text();
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            if (label) labelLines = label->height() / label->fontMetrics().lineSpacing();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        platform::dispatch([&] { m.ui.msgBox(prompt, platform::MsgButtons::OK, "提示"); });
        EXPECT_EQ(text, shown) << prompt;
        EXPECT_EQ(labelLines, shown.count('\n') + 1) << prompt;
    }
}

// Text boxes open showing the start of their text, whatever part is
// selected, unless the user is in them: the mirror copy's target field with
// a long name, a box whose whole text is selected, and the keyword box.
TEST(TextBox, OpensShowingTheStartOfItsText) {
    GuiMachine m;
    m.showMain();
    const std::string longName(40, 'N');
    const auto startShows = [](QLineEdit* line) {
        return line->cursorPosition() == 0 &&
               line->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() < 8;
    };

    platform::dispatch([&] {
        m.form.DialogFromWhere = "copytag";
        m.form.OpenedDisk = "光盘" + longName;
    });
    copy target(m.form);
    bool shown = false;
    whenModal<QDialog>(QStringLiteral("把打勾的文件拷贝到硬盘里！"), [&](QDialog* w) {
        shown = true;
        auto* line = w->findChild<QLineEdit*>();
        ASSERT_TRUE(line);
        EXPECT_TRUE(line->text().endsWith(QString::fromStdString(longName)));
        EXPECT_GT(line->fontMetrics().horizontalAdvance(line->text()), line->width());
        QTest::qWait(50);
        EXPECT_TRUE(startShows(line)) << line->cursorPosition() << " " << line->hasFocus();
        QTest::mouseClick(buttonWithText(w, QStringLiteral("取消")), Qt::LeftButton);
    });
    platform::dispatch([&] { target.showModal(); });
    EXPECT_TRUE(shown);

    TestDialog dlg(m.services);
    const std::string whole = "c:\\zelbrin\\" + longName;
    dlg.Text1.setText(whole);
    dlg.Text1.setSelStart(0);
    dlg.Text1.setSelLength(static_cast<int>(whole.size()));
    dlg.OKButton.setFocus();
    EXPECT_TRUE(guitest::showModalWith(dlg, [&](QWidget* w) {
        auto* line = w->findChild<QLineEdit*>();
        ASSERT_TRUE(line);
        EXPECT_FALSE(line->hasFocus());
        EXPECT_TRUE(startShows(line)) << line->cursorPosition();
        QTest::mouseClick(buttonWithText(w, QStringLiteral("取消")), Qt::LeftButton);
    }));

    auto* keywords = m.widgetOf<QComboBox>(m.form.Combo2);
    ASSERT_TRUE(keywords && keywords->lineEdit());
    platform::dispatch([&] { m.form.Combo2.setText(longName); });
    EXPECT_TRUE(startShows(keywords->lineEdit())) << keywords->lineEdit()->cursorPosition();
}

TEST(MessageBox, WithoutATitleShowsTheProgramsName) {
    GuiMachine m;
    bool shown = false;
    whenModal<QMessageBox>(QStringLiteral("Zelbrin"), [&](QMessageBox* w) {
        shown = true;
        QTest::keyClick(w, Qt::Key_Escape);
    });
    m.ui.msgBox("x", platform::MsgButtons::OK, "");
    EXPECT_TRUE(shown);
}

TEST(InputBox, GivesTheTextOrEmptyOnCancel) {
    GuiMachine m;
    whenModal<QInputDialog>(QStringLiteral("信息"), [](QInputDialog* w) {
        auto* edit = w->findChild<QLineEdit*>();
        edit->setText(QStringLiteral("e"));
        QTest::mouseClick(buttonWithText(w, QStringLiteral("确定")), Qt::LeftButton);
    });
    EXPECT_EQ(m.ui.inputBox("请输入你的光驱的盘符！", "信息", ""), "e");
    whenModal<QInputDialog>(QStringLiteral("信息"), [](QInputDialog* w) {
        QTest::mouseClick(buttonWithText(w, QStringLiteral("取消")), Qt::LeftButton);
    });
    EXPECT_EQ(m.ui.inputBox("请输入你的光驱的盘符！", "信息", "x"), "");
}

TEST(FileDialog, ConvertsBetweenWindowsAndNativePaths) {
    GuiMachine m;
    m.h.write("C:\\zelbrin\\data\\一.wcd", "x");
    const std::string native = m.h.nativePath("C:\\zelbrin\\data\\一.wcd");
    platform::CommonDialog& cd = m.form.CommonDialog1;
    cd.setInitDir("C:\\zelbrin\\data");
    cd.setFilter("*.wcd");
    QString shownDir, filters;
    whenModal<QFileDialog>(QStringLiteral("打开"), [&](QFileDialog* dlg) {
        shownDir = dlg->directory().absolutePath();
        filters = dlg->nameFilters().join(";;");
        guitest::typeFileName(dlg, QString::fromStdString(native));
        QMetaObject::invokeMethod(dlg, "accept");
    });
    EXPECT_TRUE(cd.showOpen());
    EXPECT_EQ(shownDir.toStdString(), std::filesystem::path(native).parent_path().string());
    EXPECT_EQ(filters, QStringLiteral("*.wcd"));
    EXPECT_EQ(cd.fileName(), "C:\\zelbrin\\data\\一.wcd");
    EXPECT_EQ(cd.fileTitle(), "一.wcd");

    // A cancel leaves the dialog's properties as they were.
    whenModal<QFileDialog>(QStringLiteral("另存为"), [](QFileDialog* w) { w->reject(); });
    EXPECT_FALSE(cd.showSave());
    EXPECT_EQ(cd.fileName(), "C:\\zelbrin\\data\\一.wcd");
}

TEST(FileDialog, FiltersOfTheProgramsForm) {
    EXPECT_EQ(gui::QtUi::nameFilters("*.wcd"), QStringLiteral("*.wcd"));
    EXPECT_EQ(gui::QtUi::nameFilters("文本|*.txt;*.htm|全部|*.*"),
              QStringLiteral("文本 (*.txt *.htm);;全部 (*.*)"));
    EXPECT_EQ(gui::QtUi::nameFilters(""), QString());
}

TEST(BrowserSaveAs, CopiesThePageWritableAndKeepsTheFormerFileWhenItCannot) {
    GuiMachine m;
    m.h.writeBytes("E:\\docs\\a.htm", "<html>page</html>");
    m.h.makeFolder("E:\\docs\\sub");
    // A page from a disc is read-only.
    std::filesystem::permissions(m.h.nativePath("E:\\docs\\a.htm"),
                                 std::filesystem::perms::owner_read);
    const QString target = QString::fromStdString(m.h.nativePath("C:\\saved.htm"));
    platform::WebBrowser& b = m.form.WebBrowser1;
    platform::dispatch([&] { b.navigate("file:\\\\E:\\docs\\a.htm"); });
    whenModal<QFileDialog>(QStringLiteral("保存网页"), [&](QFileDialog* dlg) {
        guitest::typeFileName(dlg, target);
        QMetaObject::invokeMethod(dlg, "accept");
    });
    platform::dispatch([&] { b.execWB(platform::BrowserSaveAs, platform::BrowserPromptUser); });
    EXPECT_EQ(m.h.readBytes("C:\\saved.htm"), "<html>page</html>");
    const auto attributes = platform::files::getAttributes("C:\\saved.htm");
    ASSERT_TRUE(attributes);
    EXPECT_EQ(*attributes & platform::files::attr::ReadOnly, 0u);

    // What cannot be copied (a folder) over a former file: the file dialog
    // asks to replace it, the copy fails and says so, and the file stays.
    m.h.writeBytes("C:\\saved.htm", "old");
    platform::dispatch([&] { b.navigate("file:\\\\E:\\docs\\sub"); });
    QString box;
    whenModal<QFileDialog>(QStringLiteral("保存网页"), [&](QFileDialog* dlg) {
        // The file dialog asks (under its own title) before it replaces a file.
        whenModal<QMessageBox>(QStringLiteral("保存网页"), [&](QMessageBox* ask) {
            whenModal<QMessageBox>(QStringLiteral("Zelbrin"), [&](QMessageBox* report) {
                box = report->text();
                QTest::keyClick(report, Qt::Key_Escape);
            });
            ask->button(QMessageBox::Yes)->click();
        });
        guitest::typeFileName(dlg, target);
        QMetaObject::invokeMethod(dlg, "accept");
    });
    platform::dispatch([&] { b.execWB(platform::BrowserSaveAs, platform::BrowserPromptUser); });
    EXPECT_EQ(box, QStringLiteral("无法保存: ") + target);
    EXPECT_EQ(m.h.readBytes("C:\\saved.htm"), "old");
}

// A pop-up menu opens at the pointer, wherever the program asks for it (the
// places it works out are the design window's).
TEST(PopupMenu, OpensAtThePointerAndRunsTheChosenItem) {
    GuiMachine m;
    gui::FormView& v = m.showMain();
    platform::MenuItem pop(m.form, "popTest", "pop");
    pop.setVisible(false);
    platform::MenuItem first(pop, "first", "第一");
    platform::MenuItem hidden(pop, "hidden", "隐藏");
    platform::MenuItem second(pop, "second", "第二");
    hidden.setVisible(false);
    std::string ran;
    second.Click = [&] { ran = "second"; };
    first.Click = [&] { ran = "first"; };
    const QPoint pointer = v.canvas()->mapToGlobal(QPoint(230, 140));
    QCursor::setPos(pointer);
    QPoint shownAt;
    QStringList texts;
    guitest::whenPopup([&](QMenu* menu) {
        shownAt = menu->pos();
        for (QAction* a : menu->actions()) texts << a->text();
        menu->setActiveAction(menu->actions().at(1));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    platform::dispatch([&] { m.form.popupMenu(pop, 1500, 3000); });
    EXPECT_EQ(ran, "second");
    EXPECT_EQ(texts, (QStringList{QStringLiteral("第一"), QStringLiteral("第二")}));
    EXPECT_EQ(shownAt, pointer);
}

}  // namespace
