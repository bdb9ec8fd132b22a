// The preview pane: four viewers stacked in one rectangle under the file
// list, with the splitter bar Label2 above them. The pane is open while any
// viewer is visible; the toggle decides by that alone.
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

#include "mainwindow/form1.h"
#include "platform/ui/ui.h"

namespace {

// The toolbar buttons that serve the open pane, in toolbar order.
constexpr std::array<std::string_view, 10> paneButtons = {
    "fgt3",      "left", "right", "downs", "ups", "time", "savew", "altername", "addselecttoremark",
    "fullscreen"};

// The page the pane opens with: the program's read-me.
std::string startPage(const Form1& form) {
    return "file:\\\\" + form.app().ProgramFolder + "\\readme.htm";
}

}  // namespace

bool Form1::previewPaneOpen() const {
    return Picture1.visible() || MediaPlayer2.visible() || WebBrowser1.visible() ||
           ShockwaveFlash1.visible();
}

void Form1::OpenPreview_Click() {
    if (previewPaneOpen())
        closePreviewPane();
    else
        openPreviewPane();
}

void Form1::openPreviewPane() {
    // The pane belongs to the disc page.
    if (!TreeView1.visible()) {
        ui().msgBox("只有在光盘页下，才可打开预览窗口！", platform::MsgButtons::OK, "提示");
        return;
    }
    Toolbar1.button("preview").setValue(1);
    for (std::string_view key : paneButtons) Toolbar1.button(key).setVisible(true);

    // The list keeps its upper half; the viewers take the rest below a
    // 30-twip gap, 40 twips short of the list's former bottom.
    const double listLeft = ListView1.left(), listTop = ListView1.top();
    const double listWidth = ListView1.width(), listHeight = ListView1.height();
    ListView1.setHeight(listHeight / 2);
    const double halfHeight = ListView1.height();

    WebBrowser1.setHeight(listHeight - halfHeight - 40);
    WebBrowser1.setTop(listTop + halfHeight + 30);
    WebBrowser1.setLeft(listLeft + 20);
    WebBrowser1.setWidth(listWidth - 20);
    for (platform::Control* viewer :
         std::initializer_list<platform::Control*>{&Picture1, &MediaPlayer2, &ShockwaveFlash1}) {
        viewer->setWidth(WebBrowser1.width());
        viewer->setHeight(WebBrowser1.height());
        viewer->setLeft(WebBrowser1.left());
        viewer->setTop(WebBrowser1.top());
    }
    WebBrowser1.navigate(startPage(*this));

    Label2.setLeft(WebBrowser1.left());
    Label2.setTop(WebBrowser1.top() - 50);
    Label2.setHeight(70);
    Label2.setWidth(WebBrowser1.width());

    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &WebBrowser1, &Picture1, &MediaPlayer2, &ShockwaveFlash1, &Label2})
        c->setVisible(true);
    WebBrowser1.zOrder(0);
    PreviewKind = "web";
}

void Form1::showPreviewStartPage() {
    MediaPlayer2.stop();
    MediaPlayer2.setFileName("");
    ShockwaveFlash1.stop();
    ShockwaveFlash1.setMovie("");
    Picture1.clearPicture();
    WebBrowser1.navigate(startPage(*this));
    WebBrowser1.zOrder(0);
    for (platform::Control* viewer : std::initializer_list<platform::Control*>{
             &WebBrowser1, &Picture1, &MediaPlayer2, &ShockwaveFlash1})
        viewer->setVisible(viewer == &WebBrowser1);
    PreviewKind = "web";
}

void Form1::closePreviewPane() {
    for (std::string_view key : paneButtons) Toolbar1.button(key).setVisible(false);
    Toolbar1.button("preview").setValue(0);
    Toolbar1.button("fullscreen").setValue(0);
    WebBrowser1.setVisible(false);
    Picture1.setVisible(false);
    MediaPlayer2.stop();
    MediaPlayer2.setFileName("");
    ShockwaveFlash1.stop();
    ShockwaveFlash1.setMovie("");
    MediaPlayer2.setVisible(false);
    ShockwaveFlash1.setVisible(false);
    Label2.setVisible(false);
    // The list gets back the height the last layout gave it (the library
    // text is always laid out 20 twips shorter).
    ListView1.setHeight(Text1.height() + 20);
}
