// The toolbar on the desktop: the user's clicks on the preview and full
// screen buttons, and the buttons' pressed look agreeing with the pane.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "gui_fixture.h"

namespace {

using guitest::GuiMachine;

QToolButton* toolButton(QToolBar* bar, const QString& toolTip) {
    for (QAction* a : bar->actions())
        if (a->toolTip() == toolTip) return qobject_cast<QToolButton*>(bar->widgetForAction(a));
    return nullptr;
}

TEST(Toolbar, PreviewAndFullScreenButtonsFollowThePane) {
    GuiMachine m;
    m.showMain();
    Form1& f = m.form;
    QToolBar* bar = m.widgetOf<QToolBar>(f.Toolbar1);
    QToolButton* preview = toolButton(bar, QStringLiteral("打开或关闭预览窗口"));
    QToolButton* full = toolButton(bar, QStringLiteral("使预览窗口变大"));
    ASSERT_TRUE(preview && full);

    // The page 光盘 opens the pane; its buttons show.
    QTabBar* tabs = m.widgetOf<QWidget>(f.TabStrip1)->findChild<QTabBar*>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    ASSERT_TRUE(f.previewPaneOpen());
    EXPECT_TRUE(preview->isChecked());
    QApplication::processEvents();  // the views follow the models
    EXPECT_TRUE(full->isVisible());

    // Full screen for a web page: the browser covers the tab strip.
    const double browserTop = f.WebBrowser1.top();
    QTest::mouseClick(full, Qt::LeftButton);
    EXPECT_TRUE(full->isChecked());
    EXPECT_EQ(f.WebBrowser1.top(), f.TabStrip1.top());
    EXPECT_EQ(f.WebBrowser1.left(), f.TabStrip1.left());
    QTest::mouseClick(full, Qt::LeftButton);
    EXPECT_FALSE(full->isChecked());
    EXPECT_EQ(f.WebBrowser1.top(), browserTop);

    // Media full screen hides the tab strip; closing the pane brings it back
    // and leaves both buttons up.
    platform::dispatch([&] { f.PreviewKind = "media"; });
    QTest::mouseClick(full, Qt::LeftButton);
    QApplication::processEvents();
    QWidget* strip = m.widgetOf<QWidget>(f.TabStrip1);
    EXPECT_FALSE(strip->isVisible());
    QTest::mouseClick(preview, Qt::LeftButton);
    EXPECT_FALSE(f.previewPaneOpen());
    QApplication::processEvents();
    EXPECT_TRUE(strip->isVisible());
    QApplication::processEvents();
    EXPECT_FALSE(preview->isChecked());
    EXPECT_FALSE(full->isChecked());
    EXPECT_FALSE(full->isVisible());

    // And the next click opens it again.
    QTest::mouseClick(preview, Qt::LeftButton);
    EXPECT_TRUE(f.previewPaneOpen());
    EXPECT_TRUE(preview->isChecked());
}

// Esc leaves full screen as a click of its button does, wherever the focus
// is: in the file list or the browser (a web page shown), or nowhere (a
// media preview hid the panes); without full screen Esc changes nothing.
TEST(Toolbar, EscLeavesFullScreenAsItsButtonDoes) {
    GuiMachine m;
    gui::FormView& v = m.showMain();
    Form1& f = m.form;
    QToolButton* full =
        toolButton(m.widgetOf<QToolBar>(f.Toolbar1), QStringLiteral("使预览窗口变大"));
    ASSERT_TRUE(full);
    QTabBar* tabs = m.widgetOf<QWidget>(f.TabStrip1)->findChild<QTabBar*>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    ASSERT_TRUE(f.previewPaneOpen());
    QApplication::processEvents();
    const double browserTop = f.WebBrowser1.top(), browserLeft = f.WebBrowser1.left();
    QWidget* strip = m.widgetOf<QWidget>(f.TabStrip1);
    QWidget* list = m.widgetOf<QWidget>(f.ListView1);

    enum Focus { InList, InBrowser, Nowhere };
    struct Case {
        const char* kind;
        Focus focus;
    };
    for (const Case c : {Case{"web", InList}, Case{"web", InBrowser}, Case{"media", Nowhere}}) {
        SCOPED_TRACE(std::string(c.kind) + " " + std::to_string(c.focus));
        platform::dispatch([&] { f.PreviewKind = c.kind; });
        QTest::mouseClick(full, Qt::LeftButton);
        QApplication::processEvents();
        ASSERT_EQ(f.Toolbar1.button("fullscreen").value(), 1);
        ASSERT_EQ(f.WebBrowser1.top(), f.TabStrip1.top());
        QWidget* target = v.window();
        if (c.focus != Nowhere) {
            QWidget* holder = c.focus == InList ? list : m.widgetOf<QWidget>(f.WebBrowser1);
            ASSERT_TRUE(holder && holder->isVisible());
            QWidget* inner = holder->focusProxy() ? holder->focusProxy() : holder;
            inner->setFocus();
            target = QApplication::focusWidget();
            ASSERT_TRUE(target && (target == holder || holder->isAncestorOf(target)));
        } else {
            EXPECT_FALSE(strip->isVisible());
        }
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_EQ(f.Toolbar1.button("fullscreen").value(), 0);
        EXPECT_FALSE(full->isChecked());
        EXPECT_EQ(f.WebBrowser1.top(), browserTop);
        EXPECT_EQ(f.WebBrowser1.left(), browserLeft);
        QApplication::processEvents();
        EXPECT_TRUE(strip->isVisible());
        EXPECT_TRUE(f.previewPaneOpen());
    }
    // Without full screen Esc changes nothing.
    QTest::keyClick(v.window(), Qt::Key_Escape);
    EXPECT_EQ(f.Toolbar1.button("fullscreen").value(), 0);
    EXPECT_TRUE(f.previewPaneOpen());
    EXPECT_EQ(f.WebBrowser1.top(), browserTop);
}

TEST(Toolbar, PreviewButtonOffTheDiscPageSaysSoAndStaysUp) {
    GuiMachine m;
    m.showMain();
    Form1& f = m.form;
    QTabBar* tabs = m.widgetOf<QWidget>(f.TabStrip1)->findChild<QTabBar*>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    QToolButton* preview =
        toolButton(m.widgetOf<QToolBar>(f.Toolbar1), QStringLiteral("打开或关闭预览窗口"));
    bool shown = false;
    guitest::whenModal<QMessageBox>(QStringLiteral("提示"), [&](QMessageBox* box) {
        shown = box->text() == QStringLiteral("只有在光盘页下，才可打开预览窗口！");
        box->accept();
    });
    QTest::mouseClick(preview, Qt::LeftButton);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(f.previewPaneOpen());
    EXPECT_FALSE(preview->isChecked());
    EXPECT_EQ(f.Toolbar1.button("preview").value(), 0);
}

}  // namespace
