// The splitter bars dragged with the mouse on the desktop, and the about box
// as the user sees it.
#include <gtest/gtest.h>

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <algorithm>

#include "gui/qt_convert.h"
#include "gui_fixture.h"

namespace {

using gui::px;
using guitest::buttonWithText;
using guitest::GuiMachine;
using guitest::whenModal;

TEST(SplitterDrag, DraggingTheVerticalBarMovesTheBorderAtTheRelease) {
    GuiMachine m;
    m.showMain();
    auto* label = m.widgetOf<QLabel>(m.form.Label1);
    ASSERT_TRUE(label);
    QWidget* list = m.widgetOf<QWidget>(m.form.ListView1);
    ASSERT_TRUE(list);
    const double listLeft = m.form.ListView1.left(), stripWidth = m.form.TabStrip1.width();
    const int listX = list->x();

    // Pressed in the gap between the tab strip and the list.
    const QPoint gap(px(m.form.ListView1.left()) - 1 - label->x(), label->height() / 2);
    QTest::mousePress(label, Qt::LeftButton, {}, gap);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::overrideCursor() != nullptr; }, 2000));
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::SizeHorCursor);
    // Nothing moves during the drag.
    QTest::mouseMove(label, gap + QPoint(20, 0));
    EXPECT_EQ(m.form.ListView1.left(), listLeft);

    // Released 40 pixels further right: the border moves 40 pixels.
    QTest::mouseRelease(label, Qt::LeftButton, {}, gap + QPoint(40, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.form.ListView1.left() == listLeft + 600; }, 2000));
    EXPECT_EQ(m.form.TabStrip1.width(), stripWidth + 600);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->x() == listX + 40; }, 2000));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Far past the window's right edge: the list keeps its least width.
    const QPoint gap2(px(m.form.ListView1.left()) - 1 - label->x(), label->height() / 2);
    QTest::mousePress(label, Qt::LeftButton, {}, gap2);
    QTest::mouseRelease(label, Qt::LeftButton, {}, gap2 + QPoint(3000, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.form.ListView1.width() == 300; }, 2000));
    EXPECT_EQ(m.form.ListView1.left() + m.form.ListView1.width(), m.form.scaleWidth());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(AboutBox, ShowsTheNameVersionAndLinksAndOpensALink) {
    GuiMachine m;
    m.showMain();
    bool seen = false;
    whenModal<QDialog>(QStringLiteral("关于"), [&](QDialog* w) {
        seen = true;
        QStringList texts;
        for (QLabel* l : w->findChildren<QLabel*>()) texts << l->text();
        EXPECT_TRUE(texts.contains(QStringLiteral("Zelbrin18.0"))) << texts.join("|").toStdString();
        QLabel* link = nullptr;
        for (QLabel* l : w->findChildren<QLabel*>())
            if (l->text() == QStringLiteral("https://directory.example.com/")) link = l;
        ASSERT_TRUE(link);
        EXPECT_TRUE(link->isVisible());
        // Drawn blue and underlined: some pixel row is blue across most of the width.
        EXPECT_TRUE(link->font().underline());
        const QImage img = link->grab().toImage();
        int longestBlueRow = 0;
        for (int y = 0; y < img.height(); ++y) {
            int blue = 0;
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c.blue() > 150 && c.red() < 100 && c.green() < 100) ++blue;
            }
            longestBlueRow = std::max(longestBlueRow, blue);
        }
        EXPECT_GT(longestBlueRow, img.width() * 8 / 10) << img.width() << "x" << img.height();
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::qWait(50);
        QTest::mouseClick(buttonWithText(w, QStringLiteral("取消")), Qt::LeftButton);
    });
    platform::dispatch([&] { m.form.about_Click(); });
    EXPECT_TRUE(seen);
    ASSERT_EQ(m.h.shell.calls().size(), 1u);
    EXPECT_EQ(m.h.shell.calls()[0].target, "https://directory.example.com/");
}

}  // namespace
