// Every form of the program drawn at its design size in the program's font:
// no label, check box, option button, tab, button, text box or combo box cuts
// its text (measured with QFontMetrics of the widget's own font; a label is
// measured against its design rectangle, not the larger widget it may get).
// A screenshot of each form goes to the build folder's test artifacts.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTabBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <climits>
#include <string>
#include <vector>

#include "catalogue/name_dialog.h"
#include "catalogue/scan_dialog.h"
#include "copies/copy_dialog.h"
#include "copies/sendto_dialog.h"
#include "discpage/notes_dialog.h"
#include "gui/qt_convert.h"
#include "gui/ui_font.h"
#include "gui_fixture.h"
#include "mainwindow/about_dialog.h"
#include "mainwindow/password_dialog.h"
#include "preview/interval_dialog.h"
#include "search/find_dialog.h"
#include "software/write1_dialog.h"
#include "webpages/htmlcode_dialog.h"
#include "webpages/model_dialog.h"

namespace {

using gui::px;
using guitest::buttonWithText;
using guitest::GuiMachine;
using guitest::whenModal;

QString sizeText(QSize s) { return QStringLiteral("%1x%2").arg(s.width()).arg(s.height()); }

// The texts of a window that do not fit where they are drawn, one line each.
class TextCheck {
  public:
    TextCheck(gui::FrontEnd& frontEnd, QWidget* window) : frontEnd_(frontEnd), window_(window) {}

    std::vector<std::string> run() {
        for (QWidget* w : window_->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(window_) || w->width() <= 0) continue;
            if (auto* l = qobject_cast<QLabel*>(w))
                label(l);
            else if (auto* c = qobject_cast<QCheckBox*>(w))
                wrapped(c, QStyle::SE_CheckBoxContents);
            else if (auto* r = qobject_cast<QRadioButton*>(w))
                wrapped(r, QStyle::SE_RadioButtonContents);
            else if (auto* b = qobject_cast<QPushButton*>(w))
                pushButton(b);
            else if (auto* t = qobject_cast<QTabBar*>(w))
                tabs(t);
            else if (auto* e = qobject_cast<QLineEdit*>(w))
                lineEdit(e);
            else if (auto* cb = qobject_cast<QComboBox*>(w))
                comboBox(cb);
            else if (auto* lv = qobject_cast<QListView*>(w))
                listItems(lv);
        }
        return std::move(failures_);
    }

  private:
    void fail(QWidget* w, const QString& text, QSize need, QSize room) {
        failures_.push_back((window_->windowTitle() + " " + w->metaObject()->className() + " \"" +
                             text + "\" needs " + sizeText(need) + ", has " + sizeText(room))
                                .toStdString());
    }

    // A label holds its text in its widget (leading spaces are an indent of
    // every line), and the text lies inside the form, off its left edge, and
    // over no other control.
    void label(QLabel* l) {
        const QString text = l->text();
        if (text.isEmpty()) return;
        qsizetype lead = 0;
        while (lead < text.size() && text.at(lead) == QChar(' ')) ++lead;
        if (lead == text.size()) return;
        const QFontMetrics fm = l->fontMetrics();
        const int indent =
            fm.horizontalAdvance(QString(lead, QChar(' '))) + std::max(0, l->indent());
        const QRect room = l->contentsRect().adjusted(indent, 0, 0, 0);
        const int flags = static_cast<int>(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect need = fm.boundingRect(QRect(room.topLeft(), QSize(room.width(), INT_MAX / 2)),
                                           flags, text.mid(lead));
        if (need.width() > room.width() || need.height() > room.height())
            fail(l, text, need.size(), room.size());
        // The rest is for the labels of controls (not the status bar's panels).
        gui::ControlView* view = frontEnd_.viewOfWidget(l);
        if (!view || view->widget() != l) return;
        QWidget* canvas = l->parentWidget();
        const QRect drawn = need.translated(l->pos());
        if (drawn.left() < 1 || !canvas->rect().contains(drawn))
            fail(l, text + " (at the form's edge)", drawn.size(), canvas->size());
        for (QWidget* other : canvas->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other == l || !other->isVisibleTo(window_) || !frontEnd_.viewOfWidget(other))
                continue;
            // A frame around the label holds it; a label without text (a
            // splitter's handle) draws nothing.
            if (qobject_cast<QGroupBox*>(other) && other->geometry().contains(l->geometry()))
                continue;
            if (auto* empty = qobject_cast<QLabel*>(other); empty && empty->text().isEmpty())
                continue;
            if (other->geometry().intersects(drawn))
                fail(l, text + " (over a " + other->metaObject()->className() + ")", drawn.size(),
                     other->size());
        }
    }

    // A check box or option button: the caption, wrapped, beside the box.
    void wrapped(QAbstractButton* b, QStyle::SubElement contents) {
        if (b->text().isEmpty()) return;
        QStyleOptionButton opt;
        opt.initFrom(b);
        const QRect room = b->style()->subElementRect(contents, &opt, b);
        const QRect need = b->fontMetrics().boundingRect(
            room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
            b->text());
        if (!room.contains(need)) fail(b, b->text(), need.size(), room.size());
    }

    void pushButton(QPushButton* b) {
        if (b->text().isEmpty()) return;
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        const QSize room =
            b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b).size();
        const QSize need = b->fontMetrics().size(Qt::TextShowMnemonic, b->text());
        if (need.width() > room.width() || need.height() > room.height())
            fail(b, b->text(), need, room);
    }

    // A tab's caption, centred in the tab, lies in what the bar shows of it.
    void tabs(QTabBar* bar) {
        for (int i = 0; i < bar->count(); ++i) {
            QStyleOptionTab opt;
            opt.initFrom(bar);
            opt.rect = bar->tabRect(i);
            opt.text = bar->tabText(i);
            opt.shape = bar->shape();
            const QRect textRect =
                bar->style()->subElementRect(QStyle::SE_TabBarTabText, &opt, bar);
            const QSize size = bar->fontMetrics().size(Qt::TextShowMnemonic, opt.text);
            const QRect need =
                QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, textRect);
            const QRect shown = opt.rect & bar->rect();
            if (!shown.contains(need)) fail(bar, opt.text, need.size(), shown.size());
        }
    }

    // A text box's line is as high as its font's lines.
    void lineEdit(QLineEdit* e) {
        QStyleOptionFrame opt;
        opt.initFrom(e);
        opt.lineWidth =
            e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
        const QRect room =
            e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e) - e->textMargins();
        const int need = e->fontMetrics().height();
        if (need > room.height()) fail(e, e->text(), {0, need}, room.size());
    }

    void comboBox(QComboBox* c) {
        if (c->isEditable()) return;  // its line edit is checked as one
        QStyleOptionComboBox opt;
        opt.initFrom(c);
        const QRect room =
            c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
        const int need = c->fontMetrics().height();
        if (need > room.height()) fail(c, c->currentText(), {0, need}, room.size());
    }

    // The names of a list or icon arrangement: each row holds its icon and
    // its whole name, and no row lies over another.
    void listItems(QListView* list) {
        const QAbstractItemModel* model = list->model();
        if (!model || qobject_cast<QTreeView*>(list)) return;
        QStyleOptionViewItem opt;
        opt.initFrom(list);
        opt.font = list->font();
        opt.decorationSize = list->iconSize();
        opt.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
        std::vector<QRect> rows;
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            const QString text = index.data().toString();
            const QRect room = list->visualRect(index);
            const int textWidth = list->fontMetrics().horizontalAdvance(text);
            const int need = textWidth + list->iconSize().width();
            if (need > room.width()) fail(list, text, {need, room.height()}, room.size());
            for (const QRect& other : rows)
                if (other.intersects(room))
                    fail(list, text + " (over another row)", room.size(), other.size());
            rows.push_back(room);
        }
    }

    gui::FrontEnd& frontEnd_;
    QWidget* window_;
    std::vector<std::string> failures_;
};

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}

void saveShot(QWidget* window, const std::string& name) {
    const QString file = QString::fromStdString(guitest::artifactFolder() + "/" + name + ".png");
    EXPECT_TRUE(window->grab().save(file)) << file.toStdString();
}

// The program draws its forms in a 12-pixel Song face with 12-pixel lines.
TEST(FormText, TheProgramsFontHasTheDesignsMetrics) {
    const QFontMetrics fm(gui::uiFont());
    EXPECT_EQ(QFontInfo(gui::uiFont()).family(), QStringLiteral("AR PL UMing CN"))
        << "fonts-arphic-uming is missing (scripts/setup.sh installs it)";
    EXPECT_EQ(fm.height(), 12);
    EXPECT_EQ(fm.horizontalAdvance(QStringLiteral("软件名称:")),
              54);  // the software form's 810 x 180 labels
    EXPECT_EQ(QApplication::font(), gui::uiFont());
}

TEST(FormText, EveryPageOfTheMainWindowHoldsItsTexts) {
    GuiMachine m;
    gui::FormView& v = m.showMain();
    QTabBar* tabs = m.widgetOf<QWidget>(m.form.TabStrip1)->findChild<QTabBar*>();
    ASSERT_TRUE(tabs);
    const auto& pages = m.form.TabStrip1.tabs();
    ASSERT_EQ(pages.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
        ASSERT_EQ(m.form.TabStrip1.selectedItem()->index(), i + 1);
        EXPECT_EQ(v.canvas()->size(), QSize(645, 452));  // the design size
        const std::string page = pages[static_cast<std::size_t>(i)]->key();
        // The software page shows its twelve labels (and they are checked).
        for (platform::Label* l : {&m.form.SoftNamL, &m.form.RegisterCode, &m.form.SoftDescription})
            EXPECT_EQ(m.widgetOf<QLabel>(*l)->isVisible(), page == "software")
                << page << " " << l->name();
        const std::vector<std::string> clipped = TextCheck(m.frontEnd, v.window()).run();
        EXPECT_TRUE(clipped.empty()) << page << ":\n" << joined(clipped);
        saveShot(v.window(), "main_window_" + page);
    }
}

// The file list shows whole names in its list and small-icon views, a short
// name first and long Chinese ones after it.
TEST(FormText, TheListViewsShowWholeNames) {
    GuiMachine m;
    m.h.write("C:\\zelbrin\\guangpan\\Docs.wcd",
              "E:\\|资料\r\nE:\\资料\\p.txt[10]\r\n"
              "E:\\资料\\README-第二版说明文件的修订稿.txt[2000]\r\n"
              "E:\\资料\\光盘目录里一个很长很长的中文文件名字.htm[3000]\r\n"
              "E:\\资料\\短.doc[40]\r\n");
    m.h.write("C:\\zelbrin\\ini.ini", "|资料\r\n#Docs#1#说明#\r\n");
    gui::FormView& v = m.showMain();
    QTabBar* tabs = m.widgetOf<QWidget>(m.form.TabStrip1)->findChild<QTabBar*>();
    ASSERT_TRUE(tabs);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    auto* discs = m.widgetOf<QTreeWidget>(m.form.TreeView1);
    ASSERT_TRUE(discs);
    const auto click = [discs](const QString& text) {
        const auto found = discs->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        QTest::mouseClick(discs->viewport(), Qt::LeftButton, {},
                          discs->visualItemRect(found.first()).center());
    };
    click("Docs");
    click("E:");
    m.form.TreeView1.item("E:").setExpanded(true);
    platform::dispatch([] {});
    click(QStringLiteral("资料"));
    ASSERT_EQ(m.form.ListView1.items().size(), 4u);
    for (const auto& [item, shot] :
         {std::pair{&m.form.AlterListviewStyle2, "list_view_list"},
          std::pair{&m.form.AlterListviewStyle1, "list_view_small_icons"}}) {
        platform::dispatch([&] { item->userClick(); });
        QListView* names = nullptr;
        for (QListView* l : m.widgetOf<QWidget>(m.form.ListView1)->findChildren<QListView*>())
            if (l->isVisible() && !qobject_cast<QTreeView*>(l)) names = l;
        ASSERT_TRUE(names) << shot;
        ASSERT_EQ(names->model()->rowCount(), 4) << shot;
        const std::vector<std::string> clipped = TextCheck(m.frontEnd, v.window()).run();
        EXPECT_TRUE(clipped.empty()) << shot << ":\n" << joined(clipped);
        saveShot(v.window(), shot);
    }
}

// Runs the modal form, checks its texts and saves its picture, then presses
// the button that closes it.
std::vector<std::string> checkDialog(GuiMachine& m, platform::Form& form, const std::string& shot,
                                     const QString& closeButton) {
    std::vector<std::string> clipped;
    EXPECT_TRUE(guitest::showModalWith(form, [&](QWidget* w) {
        clipped = TextCheck(m.frontEnd, w).run();
        saveShot(w, shot);
        QTest::mouseClick(buttonWithText(w, closeButton), Qt::LeftButton);
    })) << shot;
    return clipped;
}

TEST(FormText, TheDialogsHoldTheirTexts) {
    GuiMachine m;
    m.h.write("C:\\zelbrin\\ini.ini", "|音乐\r\n@外国\r\n|软件\r\n");
    m.h.setCdReady(false);
    m.showMain();
    m.form.SoftName = "setup";
    // Each dialog shown, its texts checked and a picture of it kept.
    const auto check = [&m](auto&& dialog, const std::string& shot) {
        SCOPED_TRACE(shot);
        const auto clipped = checkDialog(m, dialog, shot, QStringLiteral("取消"));
        EXPECT_TRUE(clipped.empty()) << joined(clipped);
    };
    check(password(m.form), "password");
    check(Dialog(m.form), "scan_dialog_design");
    check(sendto(m.form), "sendto");
    check(about1(m.form), "about1");
    check(write1(m.form), "write1");
    check(htmlcode(m.form), "htmlcode");
    check(model(m.form), "model");
    check(notes(m.form), "notes");
    check(Dialog1(m.form), "name_dialog");
    check(Dialog2(m.form), "interval_dialog");
    check(copy(m.form), "copy_dialog");
}

// The text a control's widget is to show: its caption, its text, or the text
// of its first tree node.
QString modelText(const platform::Control& c) {
    if (auto* x = dynamic_cast<const platform::Label*>(&c)) return gui::toQ(x->caption());
    if (auto* x = dynamic_cast<const platform::CommandButton*>(&c)) return gui::toQ(x->caption());
    if (auto* x = dynamic_cast<const platform::CheckBox*>(&c)) return gui::toQ(x->caption());
    if (auto* x = dynamic_cast<const platform::OptionButton*>(&c)) return gui::toQ(x->caption());
    if (auto* x = dynamic_cast<const platform::Frame*>(&c)) return gui::toQ(x->caption());
    if (auto* x = dynamic_cast<const platform::TextBox*>(&c)) return gui::toQ(x->text());
    if (auto* x = dynamic_cast<const platform::ComboBox*>(&c)) return gui::toQ(x->text());
    if (auto* x = dynamic_cast<const platform::TreeView*>(&c))
        return x->firstRoot() ? gui::toQ(x->firstRoot()->text()) : QString();
    return QStringLiteral("(no text of a %1)").arg(c.kind());
}

// The text a widget shows.
QString shownText(QWidget* w) {
    if (auto* x = qobject_cast<QLabel*>(w)) return x->text();
    if (auto* x = qobject_cast<QAbstractButton*>(w)) return x->text();
    if (auto* x = qobject_cast<QGroupBox*>(w)) return x->title();
    if (auto* x = qobject_cast<QLineEdit*>(w)) return x->text();
    if (auto* x = qobject_cast<QComboBox*>(w)) return x->currentText();
    auto* tree = qobject_cast<QTreeWidget*>(w);
    if (!tree) tree = w->findChild<QTreeWidget*>();
    if (tree && tree->topLevelItemCount() > 0) return tree->topLevelItem(0)->text(0);
    return QStringLiteral("(no text shown by a %1)").arg(w->metaObject()->className());
}

// The search options dialog: each control's widget shows the control's own
// caption or text, and no text is cut.
TEST(FormText, TheSearchDialogShowsEachCaptionOnItsOwnWidget) {
    GuiMachine m;
    m.h.write("C:\\zelbrin\\ini.ini", "|音乐\r\n@外国\r\n|软件\r\n");
    m.showMain();
    find1 dialog(m.form);
    std::vector<std::string> clipped;
    int compared = 0;
    EXPECT_TRUE(guitest::showModalWith(dialog, [&](QWidget* w) {
        clipped = TextCheck(m.frontEnd, w).run();
        for (platform::Control* c : dialog.controls()) {
            QWidget* widget = m.widgetOf<QWidget>(*c);
            ASSERT_TRUE(widget) << c->name();
            EXPECT_TRUE(widget->isVisible()) << c->name();
            EXPECT_EQ(widget->geometry(),
                      QRect(px(c->left()), px(c->top()), px(c->width()), px(c->height())))
                << c->name();
            EXPECT_EQ(shownText(widget), modelText(*c)) << c->name();
            if (auto* o = dynamic_cast<platform::OptionButton*>(c)) {
                EXPECT_EQ(qobject_cast<QAbstractButton*>(widget)->isChecked(), o->value());
            }
            ++compared;
        }
        // The location tree shows the copied categories under its root.
        auto* tree = w->findChild<QTreeWidget*>();
        ASSERT_TRUE(tree && tree->topLevelItemCount() == 1);
        EXPECT_EQ(tree->topLevelItem(0)->childCount(), 2);
        saveShot(w, "find_dialog");
        QTest::mouseClick(buttonWithText(w, QStringLiteral("取消")), Qt::LeftButton);
    }));
    EXPECT_EQ(compared, 18);
    EXPECT_TRUE(clipped.empty()) << joined(clipped);
    EXPECT_FALSE(m.form.ok);
}

// Enter in the keyword box is 查找 and Esc is 取消.
TEST(FormText, TheSearchDialogTakesEnterAsFindAndEscAsCancel) {
    GuiMachine m;
    m.showMain();
    for (const bool enter : {true, false}) {
        whenModal<QDialog>(QStringLiteral("查找"), [enter](QDialog* w) {
            auto* keyword = w->findChildren<QComboBox*>().value(0);
            ASSERT_TRUE(keyword && keyword->lineEdit());
            QTest::keyClicks(keyword->lineEdit(), "mp3");
            QTest::keyClick(keyword->lineEdit(), enter ? Qt::Key_Return : Qt::Key_Escape);
        });
        platform::dispatch([&m] { find1::show(m.form); });
        EXPECT_EQ(m.form.ok, enter);
        EXPECT_EQ(m.form.find_Txt, "mp3");
    }
    EXPECT_EQ(m.form.Combo2.items(), (std::vector<std::string>{"mp3", "mp3"}));
}

// The log-in box's check box wraps its caption onto a second line, as the
// design's 975 x 375 box needs, and its password box echoes "*".
TEST(FormText, TheLogInBoxWrapsItsCheckBoxAndEchoesStars) {
    GuiMachine m;
    m.showMain();
    password login(m.form);
    EXPECT_TRUE(guitest::showModalWith(login, [&](QWidget* w) {
        auto* check = w->findChild<QCheckBox*>();
        ASSERT_TRUE(check);
        EXPECT_EQ(check->size(), QSize(65, 25));
        const QFontMetrics fm = check->fontMetrics();
        EXPECT_GT(fm.horizontalAdvance(check->text()), check->width());  // one line would not fit
        // The caption is drawn: the box's lower half holds its second line.
        const QImage img = check->grab().toImage();
        int dark = 0;
        for (int y = img.height() / 2 + 1; y < img.height(); ++y)
            for (int x = img.width() / 3; x < img.width(); ++x)
                dark += qGray(img.pixel(x, y)) < 100;
        EXPECT_GT(dark, 10);

        auto* edit = w->findChild<QLineEdit*>();
        ASSERT_TRUE(edit);
        QTest::keyClicks(edit, "abc");
        EXPECT_EQ(edit->displayText(), QStringLiteral("***"));
        QTest::mouseClick(buttonWithText(w, QStringLiteral("取消")), Qt::LeftButton);
    }));
    EXPECT_EQ(login.txtPassword.text(), "abc");
}

// A label whose text needs more room than its design rectangle grows to hold
// it instead of cutting it.
TEST(FormText, ALabelGrowsRatherThanCutItsText) {
    GuiMachine m;
    guitest::TestDialog dlg(m.services);
    dlg.Label1.setCaption("一段比标签宽得多的说明文字，它要折成好几行才放得下");
    EXPECT_TRUE(guitest::showModalWith(dlg, [&](QWidget* w) {
        auto* label = w->findChild<QLabel*>();
        ASSERT_TRUE(label);
        EXPECT_EQ(label->pos(), QPoint(px(200), 0));
        EXPECT_EQ(label->width(), px(4000));
        const QRect need = label->fontMetrics().boundingRect(
            QRect(0, 0, label->width(), INT_MAX / 2),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label->text());
        EXPECT_GT(need.height(), px(200));
        EXPECT_GE(label->height(), need.height());
        QTest::mouseClick(buttonWithText(w, QStringLiteral("取消")), Qt::LeftButton);
    }));
}

}  // namespace
