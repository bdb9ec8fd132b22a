// The preview pane's viewers on the desktop: the web engine showing local
// pages (read by the program's document decoder: a believable declaration,
// else UTF-8 when they are UTF-8, else code page 936; with their pictures,
// style sheets and frames, but no script reaching other files or remote
// addresses), text documents as plain text, folders as listings, doc files
// and the types the preview leaves out as a note; links, back and the selection going through the
// browser model; pictures through Qt's image readers; sound played by Qt Multimedia.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QEventLoop>
#include <QImage>
#include <QLabel>
#include <QSlider>
#include <QStackedWidget>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVideoWidget>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "gui/media_engine.h"
#include "gui/qt_convert.h"
#include "gui_fixture.h"
#include "platform/controls/media_player.h"
#include "platform/text/document_text.h"
#include "platform/text/text.h"
#include "webpages/sitemap.h"

namespace {

using guitest::GuiMachine;

std::string pngBytes(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    return bytes.toStdString();
}

// A WAV file of seconds of a quiet tone (8 kHz, 16-bit mono).
std::string wavBytes(double seconds) {
    const std::uint32_t rate = 8000;
    const auto samples = static_cast<std::uint32_t>(seconds * rate);
    std::string out;
    auto u32 = [&out](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto u16 = [&out](std::uint16_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>(v >> 8);
    };
    out += "RIFF";
    u32(36 + samples * 2);
    out += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out += "data";
    u32(samples * 2);
    for (std::uint32_t i = 0; i < samples; ++i) u16(static_cast<std::uint16_t>((i % 40) * 200));
    return out;
}

// The place of w among its siblings, bottom first (-1: not among them).
int stackPlace(const QWidget* w) {
    int place = 0;
    for (const QObject* o : w->parentWidget()->children()) {
        if (o == w) return place;
        if (o->isWidgetType()) ++place;
    }
    return -1;
}

TEST(ViewerEngines, AreMadeWhenAPreviewFirstShowsInThePlaceOfTheirPanels) {
    GuiMachine m;
    m.showMain();
    // Start-up makes neither the browser's engine view nor a video widget.
    QWidget* panel = m.widgetOf<QWidget>(m.form.WebBrowser1);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(qobject_cast<QWebEngineView*>(panel), nullptr);
    QWidget* window = m.frontEnd.mainView()->window();
    EXPECT_TRUE(window->findChildren<QWebEngineView*>().isEmpty());
    EXPECT_TRUE(window->findChildren<QVideoWidget*>().isEmpty());

    // The browser shown: its engine view takes the panel's place.
    const int place = stackPlace(panel);
    platform::dispatch([&] { m.form.WebBrowser1.setVisible(true); });
    auto* view = m.widgetOf<QWebEngineView>(m.form.WebBrowser1);
    ASSERT_NE(view, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(stackPlace(view), place);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->geometry(),
              QRect(gui::px(m.form.WebBrowser1.left()), gui::px(m.form.WebBrowser1.top()),
                    gui::px(m.form.WebBrowser1.width()), gui::px(m.form.WebBrowser1.height())));

    // A video shown: the player's view gets its video widget; a sound file
    // shows its name.
    m.h.writeBytes("C:\\m\\a.avi", "not really a film");
    m.h.writeBytes("C:\\m\\b.wav", wavBytes(0.1));
    m.form.MediaPlayer2.setEngine(std::make_unique<gui::QtMediaEngine>());
    platform::dispatch([&] {
        m.form.MediaPlayer2.setVisible(true);
        m.form.MediaPlayer2.setAutoStart(false);
        m.form.MediaPlayer2.setFileName("C:\\m\\a.avi");
    });
    auto* stack = m.widgetOf<QWidget>(m.form.MediaPlayer2)->findChild<QStackedWidget*>();
    ASSERT_NE(stack, nullptr);
    EXPECT_NE(qobject_cast<QVideoWidget*>(stack->currentWidget()), nullptr);
    auto* engine = dynamic_cast<gui::QtMediaEngine*>(&m.form.MediaPlayer2.engine());
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->videoOutput(), stack->currentWidget());
    platform::dispatch([&] { m.form.MediaPlayer2.setFileName("C:\\m\\b.wav"); });
    auto* name = qobject_cast<QLabel*>(stack->currentWidget());
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), QStringLiteral("b.wav"));
}

// The tool button of the media viewer with that tip, or nullptr.
QToolButton* mediaButton(QWidget* player, const QString& tip) {
    for (QToolButton* b : player->findChildren<QToolButton*>())
        if (b->toolTip() == tip) return b;
    return nullptr;
}

// The media viewer in the preview pane shows its own controls: play or pause,
// stop (back to the start) and a position bar with the time played and the
// file's length, which follow the playing.
TEST(MediaViewer, ShowsPlayPauseStopAndThePositionOfTheFile) {
    GuiMachine m;
    // A disc with a sound file, its folder listed on the page 光盘 with the
    // preview open; a click on the file's row previews it.
    m.h.write("C:\\zelbrin\\guangpan\\Songs.wcd", "E:\\|m\r\nE:\\m\\乐曲.wav[48044]\r\n");
    m.h.write("C:\\zelbrin\\ini.ini", "|音乐\r\n#Songs#1#歌#\r\n");
    m.h.writeBytes("E:\\m\\乐曲.wav", wavBytes(3));
    platform::MediaPlayer& player = m.form.MediaPlayer2;
    player.setEngine(std::make_unique<gui::QtMediaEngine>());
    gui::FormView& v = m.showMain();
    platform::dispatch([&] { m.form.TabStrip1.userSelect(2); });
    platform::dispatch([&] { m.form.openPreviewPane(); });
    auto* discs = m.widgetOf<QTreeWidget>(m.form.TreeView1);
    ASSERT_TRUE(discs);
    const auto click = [](QTreeWidget* tree, const QString& text) {
        const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(found.first()).center());
    };
    click(discs, "Songs");
    click(discs, "E:");
    m.form.TreeView1.item("E:").setExpanded(true);
    platform::dispatch([] {});
    click(discs, "m");
    QTreeWidget* list = nullptr;
    for (QTreeWidget* t : m.widgetOf<QWidget>(m.form.ListView1)->findChildren<QTreeWidget*>())
        if (t->isVisible()) list = t;
    ASSERT_TRUE(list);
    click(list, QStringLiteral("乐曲"));
    EXPECT_EQ(player.fileName(), "E:\\m\\乐曲.wav");
    QWidget* view = m.widgetOf<QWidget>(player);
    ASSERT_TRUE(view && view->isVisible());
    auto* bar = view->findChild<QSlider*>();
    ASSERT_TRUE(bar);
    ASSERT_TRUE(mediaButton(view, QStringLiteral("暂停")));
    QToolButton* stop = mediaButton(view, QStringLiteral("停止"));
    ASSERT_TRUE(stop);
    // The bar spans the file's three seconds and moves on while it plays.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return bar->maximum() == 3000 && bar->value() > 500; }, 10000))
        << bar->maximum() << " " << bar->value();
    auto* times = view->findChildren<QLabel*>().last();
    EXPECT_TRUE(times->text().endsWith(QStringLiteral(" / 0:03"))) << times->text().toStdString();
    EXPECT_EQ(player.playState(), platform::MediaState::Playing);

    QTest::mouseClick(mediaButton(view, QStringLiteral("暂停")), Qt::LeftButton);
    EXPECT_EQ(player.playState(), platform::MediaState::Paused);
    ASSERT_TRUE(mediaButton(view, QStringLiteral("播放")));
    const int at = bar->value();
    QTest::qWait(400);
    EXPECT_NEAR(bar->value(), at, 50);
    EXPECT_NEAR(player.currentPosition() * 1000, at, 300);
    v.window()->grab().save(
        QString::fromStdString(guitest::artifactFolder() + "/media_viewer.png"));

    // A click on the bar moves the file's position there.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 3, bar->height() / 2));
    EXPECT_GT(player.currentPosition(), at / 1000.0);

    QTest::mouseClick(stop, Qt::LeftButton);
    EXPECT_EQ(player.playState(), platform::MediaState::Stopped);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.currentPosition() < 0.05; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() < 50; }, 5000));
    QTest::mouseClick(mediaButton(view, QStringLiteral("播放")), Qt::LeftButton);
    EXPECT_EQ(player.playState(), platform::MediaState::Playing);

    // Without a file the controls rest.
    platform::dispatch([&] { player.setFileName(""); });
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_FALSE(bar->isEnabled());
}

// A click on the position bar puts the file's position where the bar was
// clicked, forwards and backwards, not a step towards the click.
TEST(MediaViewer, AClickOnThePositionBarGoesToThatPlace) {
    GuiMachine m;
    m.showMain();
    platform::MediaPlayer& player = m.form.MediaPlayer2;
    platform::dispatch([&] {
        player.setVisible(true);
        player.setAutoStart(false);
        player.setFileName("C:\\m\\a.wav");
    });
    auto* engine = dynamic_cast<testsupport::FakeMediaEngine*>(&player.engine());
    ASSERT_TRUE(engine);
    engine->durationSeconds = 100;
    platform::dispatch([&] { player.setCurrentPosition(0); });  // the view follows
    QWidget* view = m.widgetOf<QWidget>(player);
    ASSERT_TRUE(view && view->isVisible());
    auto* bar = view->findChild<QSlider*>();
    ASSERT_TRUE(bar && bar->isEnabled());
    ASSERT_EQ(bar->maximum(), 100000);
    // The place on the bar that stands for a share of the file's length.
    const auto at = [bar](double share) {
        QStyleOptionSlider opt;
        opt.initFrom(bar);
        opt.orientation = Qt::Horizontal;
        opt.minimum = bar->minimum();
        opt.maximum = bar->maximum();
        const QRect groove =
            bar->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, bar);
        return QPoint(groove.left() + static_cast<int>(share * groove.width()), bar->height() / 2);
    };
    for (const double share : {0.75, 0.25, 0.9}) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, at(share));
        EXPECT_NEAR(player.currentPosition(), share * 100, 6) << share;
    }
}

class Viewers : public ::testing::Test {
  protected:
    void SetUp() override {
        m.showMain();
        platform::dispatch([this] { m.form.WebBrowser1.setVisible(true); });
        view = m.widgetOf<QWebEngineView>(m.form.WebBrowser1);
        ASSERT_NE(view, nullptr);
    }

    // The browser model goes to url; waits until the engine has loaded it.
    bool show(const std::string& url) {
        bool done = false;
        bool ok = false;
        auto c = QObject::connect(view, &QWebEngineView::loadFinished, view, [&](bool r) {
            done = true;
            ok = r;
        });
        platform::dispatch([&] { m.form.WebBrowser1.navigate(url); });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 20000));
        QObject::disconnect(c);
        return done && ok;
    }
    // The value of a script run in the shown page.
    QVariant js(const QString& script) {
        QVariant result;
        bool done = false;
        view->page()->runJavaScript(script, [&](const QVariant& v) {
            result = v;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
        return result;
    }
    std::string bodyText() { return js("document.body.innerText").toString().toStdString(); }

    GuiMachine m;
    QWebEngineView* view = nullptr;
};

TEST_F(Viewers, PagesWithoutACharsetOrWithGbkAreCodePage936AndShowWhatTheyHold) {
    m.h.writeBytes("C:\\web\\a.png", pngBytes(3, 2));
    m.h.writeBytes("C:\\web\\s.css", "body{color:rgb(255,0,0)}");
    m.h.write("C:\\web\\f.htm", "<p>框架</p>");
    m.h.write("C:\\web\\a.htm",
              "<html><head><link rel=stylesheet href=\"s.css\"></head><body>中文页"
              "<table><tr><td>格</td></tr></table><img src=\"a.png\">"
              "<iframe src=\"f.htm\"></iframe></body></html>");
    ASSERT_TRUE(show("file://C:\\web\\a.htm"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return js("document.images[0].complete").toBool(); }, 10000));
    EXPECT_EQ(bodyText().substr(0, 9), "中文页");
    EXPECT_EQ(js("document.images[0].naturalWidth").toInt(), 3);
    EXPECT_EQ(js("getComputedStyle(document.body).color").toString(), "rgb(255, 0, 0)");
    EXPECT_EQ(js("window.frames.length").toInt(), 1);
    // A page in standards mode takes only a style sheet sent as one.
    m.h.write("C:\\web\\s.htm",
              "<!DOCTYPE html><html><head><link rel=stylesheet href=\"s.css\"></head>"
              "<body>标准</body></html>");
    ASSERT_TRUE(show("file://C:\\web\\s.htm"));
    EXPECT_EQ(js("getComputedStyle(document.body).color").toString(), "rgb(255, 0, 0)");

    struct Case {
        std::string head;
        std::string bytes;  // of the body text
        std::string shown;
    };
    for (const Case& c : std::vector<Case>{
             {"<meta charset=\"gb2312\">", platform::text::toCp936("简体"), "简体"},
             {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">",
              platform::text::toCp936("汉字"), "汉字"},
             {"<meta charset=\"utf-8\">", "统一码", "统一码"},
             // No declaration: UTF-8 when the bytes are UTF-8.
             {"<title>t</title>", "没有声明的统一码", "没有声明的统一码"},
             // A declaration the bytes cannot be in is not believed.
             {"<meta charset=\"utf-8\">", platform::text::toCp936("说谎"), "说谎"},
             // A byte-order mark wins over the declaration.
             {"\xEF\xBB\xBF<meta charset=\"gb2312\">", "标记", "标记"},
         }) {
        SCOPED_TRACE(c.head);
        m.h.writeBytes("C:\\web\\c.htm",
                       "<html><head>" + c.head + "</head><body>" + c.bytes + "</body></html>");
        platform::dispatch([&] { m.form.WebBrowser1.navigate("about:blank"); });
        ASSERT_TRUE(show("file://C:\\web\\c.htm"));
        EXPECT_EQ(bodyText(), c.shown);
    }
}

TEST_F(Viewers, ScriptsOfLocalPagesReachNeitherOtherFilesNorRemoteAddresses) {
    m.h.write("C:\\web\\secret.txt", "secret");
    m.h.writeBytes("C:\\web\\a.png", pngBytes(3, 2));
    m.h.write("C:\\web\\x.htm",
              "<html><body><img id=r src=\"http://127.0.0.1:9/x.png\">"
              "<img id=f src=\"file:///etc/hostname\"><img id=l src=\"a.png\"><script>"
              "var x = new XMLHttpRequest(); var r = 'none';"
              "try { x.open('GET', 'secret.txt', false); x.send(); r = x.responseText; }"
              "catch (e) { r = 'blocked'; } document.title = r;</script></body></html>");
    ASSERT_TRUE(show("file://C:\\web\\x.htm"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return js("document.getElementById('l').complete").toBool(); }, 10000));
    EXPECT_EQ(js("document.title").toString(), "blocked");
    EXPECT_EQ(js("document.getElementById('l').naturalWidth").toInt(), 3);
    EXPECT_EQ(js("document.getElementById('r').naturalWidth").toInt(), 0);
    EXPECT_EQ(js("document.getElementById('f').naturalWidth").toInt(), 0);
}

TEST_F(Viewers, TextsAreDecodedByTheProgramFoldersListedAndDocumentsNoted) {
    m.h.write("C:\\web\\t.txt", "中文 <b>not bold</b>");
    m.h.write("C:\\web\\sub\\b.htm", "b");
    m.h.writeBytes("C:\\web\\w.doc", std::string("\xD0\xCF\x11\xE0", 4));
    ASSERT_TRUE(show("file://C:\\web\\t.txt"));
    EXPECT_EQ(js("document.contentType").toString(), "text/plain");
    EXPECT_EQ(bodyText(), "中文 <b>not bold</b>");

    ASSERT_TRUE(show("file://C:\\web"));
    const std::string listing = bodyText();
    EXPECT_NE(listing.find("C:\\web\\"), std::string::npos) << listing;
    EXPECT_NE(listing.find("sub\\"), std::string::npos) << listing;
    EXPECT_NE(listing.find("t.txt"), std::string::npos) << listing;
    EXPECT_LT(listing.find("sub\\"), listing.find("t.txt")) << listing;
    // Its links lead into the folder.
    m.h.write("C:\\web\\sub\\in.txt", "里面");
    ASSERT_TRUE(show("file://C:\\web\\sub"));
    bool loaded = false;
    auto c = QObject::connect(view, &QWebEngineView::loadFinished, view, [&] { loaded = true; });
    js("document.querySelector('a[href=\"in.txt\"]').click()");
    EXPECT_TRUE(QTest::qWaitFor([&] { return loaded; }, 20000));
    QObject::disconnect(c);
    EXPECT_EQ(m.form.WebBrowser1.locationURL(), "file:///C:/web/sub/in.txt");
    EXPECT_EQ(bodyText(), "里面");

    // UTF-8 and UTF-16 text files, the same as code page 936 ones.
    m.h.writeBytes("C:\\web\\u.txt", "统一码 ü");
    ASSERT_TRUE(show("file://C:\\web\\u.txt"));
    EXPECT_EQ(bodyText(), "统一码 ü");
    m.h.writeBytes("C:\\web\\w.txt", std::string("\xFF\xFE\x49\x51\xD8\x76", 6));
    ASSERT_TRUE(show("file://C:\\web\\w.txt"));
    EXPECT_EQ(bodyText(), "光盘");

    ASSERT_TRUE(show("file://C:\\web\\w.doc"));
    EXPECT_EQ(bodyText(), "预览窗口不能显示这种文件：w.doc");
    m.h.writeBytes("C:\\web\\s.wav", wavBytes(0.1));
    ASSERT_TRUE(show("file://C:\\web\\s.wav"));
    EXPECT_EQ(bodyText(), "预览窗口不能显示这种文件：s.wav");
    // The note the preview shows for a type it leaves out: a page of its own,
    // whatever the file holds.
    m.h.writeBytes("C:\\web\\a.png", pngBytes(3, 2));
    ASSERT_TRUE(show(platform::text::noteAddress("C:\\web\\a.png")));
    EXPECT_EQ(bodyText(), "预览窗口不能显示这种文件：a.png");
    EXPECT_EQ(js("document.images.length").toInt(), 0);
}

// A local file that is not there (a link to a download copy never made)
// shows the program's own page naming it, as a page and in a frame; a
// missing picture of a page stays missing.
TEST_F(Viewers, AMissingFileShowsThePagesOwnWordsNamingIt) {
    ASSERT_TRUE(show("file://C:\\down\\光盘\\setup 1.zip"));
    EXPECT_EQ(bodyText(), "找不到文件：C:\\down\\光盘\\setup 1.zip");
    EXPECT_EQ(js("document.title").toString(), QStringLiteral("C:\\down\\光盘\\setup 1.zip"));

    m.h.write("C:\\web\\f.htm",
              "<img id=i src=\"none.png\"><iframe id=f src=\"gone/a&amp;b.htm\"></iframe>");
    ASSERT_TRUE(show("file://C:\\web\\f.htm"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return js("window.frames[0].document.body.innerText").toString() ==
                   QStringLiteral("找不到文件：C:\\web\\gone\\a&b.htm");
        },
        10000))
        << js("window.frames[0].document.body.innerText").toString().toStdString();
    EXPECT_EQ(js("document.getElementById('i').naturalWidth").toInt(), 0);
    EXPECT_TRUE(js("document.getElementById('i').complete").toBool());
}

// The contents page of generated web pages, as installed, beside a sitemap
// as the program writes it (code page 936, Local values percent-encoded): the
// preview lets it read the sitemap, so it shows the disc's folder tree, whose
// links open the folders' pages in the frame beside it.
TEST_F(Viewers, TheContentsPageOfWebPagesShowsTheFolderTreeFromItsSitemap) {
    const char* source = std::getenv("ZELBRIN_SOURCE_DIR");
    const std::filesystem::path support =
        (source ? std::filesystem::path(source)
                : std::filesystem::path(__FILE__).parent_path().parent_path().parent_path()) /
        "webmodel" / "webmodel" / "treeviewimage";
    for (const char* name : {"zelbrindefault.html", "zelbrinindex1.html"}) {
        std::ifstream in(support / name, std::ios::binary);
        ASSERT_TRUE(in) << name;
        m.h.writeBytes(std::string("C:\\pages\\") + name,
                       std::string(std::istreambuf_iterator<char>(in), {}));
    }
    const std::string disc = "光盘";
    auto local = [&](const std::string& below) {
        return webpages::sitemapLocal(disc, disc + "\\E:\\" + below);
    };
    m.h.write("C:\\pages\\zelbrinleft1.hhc",
              webpages::contentsHead(disc) + webpages::contentsEntry("C# 1", local("C# 1"), true) +
                  "\r\n" + webpages::contentsEntry("R&D 图", local("C# 1\\R&D 图"), true) +
                  "\r\n</UL>\r\n" + webpages::contentsEntry("图 集", local("图 集"), false) +
                  "\r\n</UL>\r\n" + std::string(webpages::ContentsEnd) + "\r\n");
    m.h.write("C:\\pages\\ZelbrinIndex.html", "<p>第一页</p>");
    m.h.write("C:\\pages\\C# 1\\R&D 图\\ZelbrinIndex.html", "<p>研发</p>");

    ASSERT_TRUE(show("file://C:\\pages\\zelbrinindex1.html"));
    const QString links = QStringLiteral(
        "Array.from(document.querySelectorAll('ul.tree a')).map(function(a){"
        "return a.textContent+'='+a.getAttribute('href');}).join('|')");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !js(links).toString().isEmpty(); }, 10000));
    EXPECT_EQ(js(links).toString(),
              QStringLiteral("光盘=ZelbrinIndex.html|C# 1=C%23%201/ZelbrinIndex.html|"
                             "R&D 图=C%23%201/R%26D%20%E5%9B%BE/ZelbrinIndex.html|"
                             "图 集=%E5%9B%BE%20%E9%9B%86/ZelbrinIndex.html"));
    EXPECT_EQ(js("document.querySelectorAll('ul.tree ul.tree ul.tree a').length").toInt(), 1);

    // In its frameset: a folder's link opens the folder's page beside the tree.
    ASSERT_TRUE(show("file://C:\\pages\\zelbrindefault.html"));
    const QString left = QStringLiteral("window.frames[0].document");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return js(left + ".querySelectorAll('ul.tree a').length").toInt() == 4; }, 10000));
    js(left + ".querySelectorAll('ul.tree a')[2].click()");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return js("window.frames[1].document.body.innerText").toString() ==
                   QStringLiteral("研发");
        },
        10000));
    // The frameset stays the browser's page.
    EXPECT_EQ(m.form.WebBrowser1.locationURL(), "file:///C:/pages/zelbrindefault.html");
    // The picture as a user sees it: the preview pane of the page 光盘 in a
    // larger window.
    QWidget* window = m.frontEnd.mainView()->window();
    platform::dispatch([&] { m.form.TabStrip1.userSelect(2); });
    platform::dispatch([&] { m.form.openPreviewPane(); });
    window->resize(1000, 720);
    platform::dispatch([] {});
    ASSERT_TRUE(show("file://C:\\pages\\zelbrindefault.html"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return js(left + ".querySelectorAll('ul.tree a').length").toInt() == 4; }, 10000));
    QTest::qWait(300);
    window->grab().save(
        QString::fromStdString(guitest::artifactFolder() + "/preview_contents_page.png"));
}

TEST_F(Viewers, LinksBackAndTheSelectionGoThroughTheBrowserModel) {
    m.h.write("C:\\web\\a.htm", "<a id=l href=\"sub/b%20c.htm\">next</a> 第一页");
    m.h.write("C:\\web\\sub\\b c.htm", "<p>第二页</p>");
    ASSERT_TRUE(show("file://C:\\web\\a.htm"));
    bool loaded = false;
    auto c = QObject::connect(view, &QWebEngineView::loadFinished, view, [&] { loaded = true; });
    js("document.getElementById('l').click()");
    EXPECT_TRUE(QTest::qWaitFor([&] { return loaded; }, 20000));
    QObject::disconnect(c);
    EXPECT_EQ(m.form.WebBrowser1.locationURL(), "file:///C:/web/sub/b%20c.htm");
    EXPECT_EQ(bodyText(), "第二页");

    // Back (the toolbar key "left") shows the first page again.
    loaded = false;
    c = QObject::connect(view, &QWebEngineView::loadFinished, view, [&] { loaded = true; });
    platform::dispatch([&] { m.form.WebBrowser1.goBack(); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return loaded; }, 20000));
    QObject::disconnect(c);
    EXPECT_EQ(m.form.WebBrowser1.locationURL(), "file:///C:/web/a.htm");
    EXPECT_EQ(bodyText(), "next 第一页");

    // The text the user marks is the model's selection.
    js("window.getSelection().selectAllChildren(document.body)");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m.form.WebBrowser1.selection().empty(); }, 10000));
    EXPECT_EQ(m.form.WebBrowser1.selection(), "next 第一页");
}

TEST_F(Viewers, PicturesAreReadByQtAndWhatItCannotReadLeavesTheBoxEmpty) {
    m.h.writeBytes("C:\\p\\a.bmp", [] {
        QImage img(4, 3, QImage::Format_RGB32);
        img.fill(Qt::blue);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        img.save(&buffer, "BMP");
        return bytes.toStdString();
    }());
    m.h.writeBytes("C:\\p\\broken.bmp", "BM not really");
    platform::dispatch([&] {
        m.form.Picture1.setVisible(true);
        m.form.Picture1.loadPicture("C:\\p\\a.bmp");
    });
    auto* label = m.widgetOf<QLabel>(m.form.Picture1);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->pixmap().size(), QSize(4, 3));
    platform::dispatch([&] { m.form.Picture1.loadPicture("C:\\p\\broken.bmp"); });
    EXPECT_TRUE(label->pixmap().isNull());
    EXPECT_TRUE(label->text().isEmpty());
}

TEST_F(Viewers, SoundIsPlayedByQtMultimedia) {
    m.h.writeBytes("C:\\m\\tone.wav", wavBytes(1.5));
    m.h.writeBytes("C:\\m\\short.wav", wavBytes(0.3));
    platform::MediaPlayer& player = m.form.MediaPlayer1;
    player.setEngine(std::make_unique<gui::QtMediaEngine>());
    int ended = 0;
    player.EndOfStream = [&](int) { ++ended; };
    platform::dispatch([&] { player.setFileName("C:\\m\\tone.wav"); });
    EXPECT_EQ(player.playState(), platform::MediaState::Playing);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.currentPosition() > 0.2; }, 10000))
        << player.currentPosition();
    // Stopped, the position stays.
    platform::dispatch([&] { player.stop(); });
    const double at = player.currentPosition();
    QTest::qWait(300);
    EXPECT_NEAR(player.currentPosition(), at, 0.05);

    // A file played to its end raises EndOfStream.
    platform::dispatch([&] { player.setFileName("C:\\m\\short.wav"); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended == 1; }, 10000));
    // A missing file is refused with 53.
    EXPECT_THROW(player.setFileName("C:\\m\\none.wav"), platform::Error);
    EXPECT_EQ(player.fileName(), "");
}

}  // namespace
