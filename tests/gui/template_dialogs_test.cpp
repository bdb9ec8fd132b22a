// The template editor and the page-code dialog on the desktop: the editor
// opens from its menu item, a tick and a typed title reach the template, and
// its 查看代码 button shows the page code with the change in it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QPlainTextEdit>

#include "gui_fixture.h"
#include "platform/ui/dispatcher.h"

using guitest::GuiMachine;

namespace {

QCheckBox* checkBoxWithText(QWidget* w, const QString& text) {
    for (QCheckBox* c : w->findChildren<QCheckBox*>())
        if (c->text() == text && c->isVisible()) return c;
    return nullptr;
}

TEST(TemplateDialogs, TheEditorWritesTheHeaderRowAndThePageCodeShowsIt) {
    GuiMachine m;
    m.showMain();
    Form1& f = m.form;
    bool editorShown = false, codeShown = false;
    guitest::whenModal<QDialog>(QStringLiteral("选择网页模板"), [&](QDialog* editor) {
        editorShown = true;
        QCheckBox* header = checkBoxWithText(editor, QStringLiteral("带表头"));
        ASSERT_TRUE(header);
        QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(6, header->height() / 2));
        guitest::whenModal<QDialog>(QStringLiteral("网页代码"), [&](QDialog* code) {
            codeShown = true;
            bool found = false;
            for (QPlainTextEdit* box : code->findChildren<QPlainTextEdit*>())
                if (box->toPlainText().contains(QStringLiteral("p2htmltext11"))) found = true;
            EXPECT_TRUE(found);
            QTest::mouseClick(guitest::buttonWithText(code, QStringLiteral("取消")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(guitest::buttonWithText(editor, QStringLiteral("查看代码")),
                          Qt::LeftButton);
        QTest::mouseClick(guitest::buttonWithText(editor, QStringLiteral("确定")), Qt::LeftButton);
    });
    platform::dispatch([&] { f.htmlselect.userClick(); });
    EXPECT_TRUE(editorShown);
    EXPECT_TRUE(codeShown);
    EXPECT_NE(f.htmlText1.find("文件夹名字&nbsp;"), std::string::npos);
}

}  // namespace
