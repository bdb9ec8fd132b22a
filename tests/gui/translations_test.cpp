// Qt's own texts speak Chinese: the file dialog the program opens (导入), the
// colour dialog, the standard buttons, and the web engine's error pages.
#include <gtest/gtest.h>

#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <algorithm>
#include <string>

#include "gui_fixture.h"

namespace {

using guitest::GuiMachine;
using guitest::menuAction;
using guitest::whenModal;

// True when the text holds a Chinese character.
bool hasChinese(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) return true;
    return false;
}

TEST(QtTranslations, QtsCataloguesAreInstalled) {
    // qtbase, qtmultimedia and qtwebengine (package qt6-translations-l10n,
    // installed by scripts/setup.sh).
    ASSERT_EQ(guitest::translationCatalogues(), 3);
    EXPECT_TRUE(hasChinese(QCoreApplication::translate("QFileDialog", "File &name:")));
}

// Qt's default locale is Chinese (China) from the program's start, whatever
// the system's locale: sizes and dates that Qt writes are Chinese.
TEST(QtTranslations, TheDefaultLocaleIsChineseChina) {
    const QLocale locale;
    EXPECT_EQ(locale.language(), QLocale::Chinese);
    EXPECT_EQ(locale.territory(), QLocale::China);
    EXPECT_TRUE(locale.formattedDataSize(10).endsWith(QStringLiteral("字节")));
    const QString date = locale.toString(QDate(2026, 12, 11), QLocale::LongFormat);
    EXPECT_TRUE(date.contains(QStringLiteral("12月"))) << date.toStdString();
}

TEST(QtTranslations, TheImportFileDialogSpeaksChinese) {
    GuiMachine m;
    m.h.writeBytes("C:\\导入\\旧光盘.wcd", "E:\\|docs\r\n");
    m.h.writeBytes("C:\\导入\\文件夹\\a.wcd", "E:\\|docs\r\n");
    gui::FormView& v = m.showMain();
    bool shown = false;
    whenModal<QFileDialog>(QStringLiteral("打开"), [&](QFileDialog* dlg) {
        shown = true;
        dlg->setDirectory(QString::fromStdString(m.h.nativePath("C:\\导入")));
        // The labels of the name box, the folder box and the type box.
        for (const char* name : {"fileNameLabel", "lookInLabel", "fileTypeLabel"}) {
            auto* label = dlg->findChild<QLabel*>(QString::fromLatin1(name));
            ASSERT_NE(label, nullptr) << name;
            EXPECT_TRUE(hasChinese(label->text())) << name << ": " << label->text().toStdString();
        }
        // The column headings of the detail view.
        auto* tree = dlg->findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_NE(tree, nullptr);
        for (int column = 0; column < tree->model()->columnCount(); ++column) {
            const QString heading = tree->model()->headerData(column, Qt::Horizontal).toString();
            EXPECT_TRUE(hasChinese(heading)) << heading.toStdString();
        }
        // The buttons: the program's own captions, and Qt's tool tips.
        for (QPushButton* b : dlg->findChildren<QPushButton*>()) {
            if (b->isVisible()) {
                EXPECT_TRUE(hasChinese(b->text())) << b->text().toStdString();
            }
        }
        for (const char* name : {"backButton", "toParentButton", "newFolderButton"}) {
            auto* b = dlg->findChild<QWidget*>(QString::fromLatin1(name));
            ASSERT_NE(b, nullptr) << name;
            EXPECT_TRUE(hasChinese(b->toolTip())) << name << ": " << b->toolTip().toStdString();
        }
        // The type column of the folder's listing, a folder's row included.
        const auto* model = tree->model();
        const QModelIndex root = tree->rootIndex();
        ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(root) == 2; }, 5000));
        for (int row = 0; row < 2; ++row) {
            const QString type = model->index(row, 2, root).data().toString();
            EXPECT_TRUE(hasChinese(type))
                << model->index(row, 0, root).data().toString().toStdString() << ": "
                << type.toStdString();
        }
        // The size and the date are written the Chinese way whatever the
        // system's locale is: "39 字节", "2026/12/11 12:00", never "bytes" or "Dec".
        const auto fileRow = [&] {
            for (int row = 0; row < 2; ++row)
                if (model->index(row, 0, root).data().toString() == QStringLiteral("旧光盘.wcd"))
                    return row;
            return -1;
        }();
        ASSERT_GE(fileRow, 0);
        const QString size = model->index(fileRow, 1, root).data().toString();
        EXPECT_EQ(size, QLocale(QLocale::Chinese, QLocale::China).formattedDataSize(10));
        EXPECT_TRUE(size.endsWith(QStringLiteral("字节"))) << size.toStdString();
        const QString date = model->index(fileRow, 3, root).data().toString();
        EXPECT_FALSE(date.isEmpty());
        EXPECT_TRUE(std::none_of(date.begin(), date.end(), [](QChar c) {
            return c.isLetter() && c.unicode() < 0x80;
        })) << date.toStdString();
        QTest::qWait(200);  // the listing drawn
        // The size, type and date columns hold what they show.
        for (int column = 1; column < model->columnCount(root); ++column)
            for (int row = 0; row < 2; ++row) {
                const QString text = model->index(row, column, root).data().toString();
                EXPECT_GT(tree->columnWidth(column), tree->fontMetrics().horizontalAdvance(text))
                    << text.toStdString();
            }
        EXPECT_TRUE(dlg->grab().save(
            QString::fromStdString(guitest::artifactFolder() + "/file_dialog_zh.png")));
        dlg->reject();
    });
    QAction* item =
        menuAction(v.mainWindow(), QStringLiteral("文件"), QStringLiteral("导入光盘索引文件"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(m.h.exists("C:\\zelbrin\\guangpan\\旧光盘.wcd"));
}

TEST(QtTranslations, TheColourDialogAndTheStandardButtonsSpeakChinese) {
    QColorDialog colours;
    colours.setOption(QColorDialog::DontUseNativeDialog);
    QStringList labels;
    for (QLabel* label : colours.findChildren<QLabel*>()) labels << label->text();
    for (const char* english : {"&Basic colors", "&Custom colors", "Hu&e:", "&Red:", "Bl&ue:"}) {
        const QString shown = QCoreApplication::translate("QColorDialog", english);
        EXPECT_TRUE(hasChinese(shown)) << english;
        EXPECT_TRUE(labels.contains(shown)) << english << " " << labels.join(u'|').toStdString();
    }

    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes |
                           QMessageBox::No);
    for (QAbstractButton* b : box.buttons())
        EXPECT_TRUE(hasChinese(b->text())) << b->text().toStdString();
}

TEST(QtTranslations, TheWebEnginesErrorPagesAreChinese) {
    EXPECT_TRUE(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains("--lang=zh-CN"));
    QWebEngineProfile profile;
    QWebEnginePage page(&profile);
    bool done = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, [&](bool) { done = true; });
    page.load(QUrl(QStringLiteral("file:///no-such-folder-zelbrin/missing.htm")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 20000));
    QString text;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            bool got = false;
            page.toPlainText([&](const QString& t) {
                text = t;
                got = true;
            });
            return QTest::qWaitFor([&] { return got; }, 5000) && hasChinese(text);
        },
        20000))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("ERR_FILE_NOT_FOUND"))) << text.toStdString();
}

}  // namespace
