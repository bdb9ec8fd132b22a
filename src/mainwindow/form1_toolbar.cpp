// The toolbar dispatch: one handler for every button, by the button's key.
// Most buttons run the menu command of the same meaning; the small jobs of
// the toolbar alone (the preview toggle, hiding the result list, stepping
// through the lists, the browser's buttons) are here, and so are the grid
// menu item and the trees' function keys. Full screen is in
// form1_fullscreen.cpp.
#include <string>

#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/system/mci.h"
#include "platform/ui/ui.h"

void Form1::Toolbar1_ButtonClick(platform::ToolbarButton& Button) {
    // The key is compared exactly, case included; a separator (fgt1 .. fgt4)
    // or a key not handled here does nothing.
    const std::string& key = Button.key();
    const bool pressed = Button.value() == 1;
    if (key == "maker") {
        maker_Click();
    } else if (key == "import") {
        import_Click();
    } else if (key == "export") {
        Export_Click();
    } else if (key == "changeorder") {
        ChangeOrder_Click();
    } else if (key == "find") {
        find_Click();
    } else if (key == "copytag") {
        copytag_Click();
    } else if (key == "softlistbar") {
        softlist_Click();
    } else if (key == "newsoftbar") {
        NewSoft_Click();
    } else if (key == "save") {
        SaveSoft_Click();
    } else if (key == "preview") {
        previewButtonClick(Button);
    } else if (key == "grid") {
        // Pressed takes the file list's grid lines away, released brings them
        // back. The menu item's caption is not touched.
        ListView1.setGridLines(!pressed);
    } else if (key == "down") {
        hideResultList();
    } else if (key == "eject") {
        // The system's default CD device, whatever the catalogue's drive; the
        // door's real state is never read and the reply is not used.
        app().mci.send(pressed ? "set CDAudio door open" : "set CDAudio door closed", nullptr);
    } else if (key == "playMP3") {
        playmp3_Click();
    } else if (key == "help") {
        content_Click();
    } else if (key == "left" || key == "right") {
        // At either end of the history nothing happens, and nothing is said.
        try {
            if (key == "left")
                WebBrowser1.goBack();
            else
                WebBrowser1.goForward();
        } catch (const platform::Error&) {
        }
    } else if (key == "downs" || key == "ups") {
        stepList(key == "downs");
    } else if (key == "time") {
        // Automatic browsing: each tick steps down while the pane is open.
        Timer2.setEnabled(pressed);
    } else if (key == "savew") {
        // The browser asks for the file name and saves the page itself.
        if (WebBrowser1.visible())
            WebBrowser1.execWB(platform::BrowserSaveAs, platform::BrowserPromptUser);
    } else if (key == "altername") {
        AlterFilename_Click();
    } else if (key == "addselecttoremark") {
        addselecttoremark_Click();
    } else if (key == "fullscreen") {
        if (pressed)
            fullScreenOn();
        else
            fullScreenOff();
    } else if (key == "PreviousCD" || key == "NextCD") {
        stepPlayList(key == "NextCD");
    } else if (key == "BackwardCD") {
        ReWind();
    } else if (key == "ForwardCD") {
        FastForward();
    } else if (key == "PauseCD") {
        PausePlay_Click();
    } else if (key == "StopCD") {
        StopPlay_Click();
    }
}

void Form1::grid_Click() {
    // The item follows the list's own grid lines; the toolbar's "grid"
    // button keeps its pressed state.
    const bool on = !ListView1.gridLines();
    ListView1.setGridLines(on);
    grid.setCaption(on ? "去掉网格线" : "加上网格线");
}

namespace {

constexpr int KeyF1 = 112;
constexpr int KeyF2 = 113;
constexpr int KeyF3 = 114;

// The function keys of the two trees, whatever the shift state: F2 the about
// box, F1 the help file, F3 (the category tree only) expands or folds the
// category tree. The key goes on to the tree as it was.
void treeFunctionKey(Form1& form, int keyCode, bool categoryTree) {
    if (keyCode == KeyF2)
        form.about_Click();
    else if (keyCode == KeyF1)
        form.content_Click();
    else if (keyCode == KeyF3 && categoryTree)
        form.expandtree_Click();
}

}  // namespace

void Form1::TreeView1_KeyDown(int& KeyCode, int Shift) {
    (void)Shift;
    treeFunctionKey(*this, KeyCode, false);
}

void Form1::TreeView2_KeyDown(int& KeyCode, int Shift) {
    (void)Shift;
    treeFunctionKey(*this, KeyCode, true);
}

bool Form1::onDiscPage() const { return TreeView1.visible() || TreeView1WasVisible; }

void Form1::previewButtonClick(platform::ToolbarButton& Button) {
    if (Button.value() == 1) {
        // Opening: the toggle refuses other pages with its own message. Panes
        // that a full screen ended by closing the pane left hidden come back
        // first.
        if (!previewPaneOpen()) {
            restoreFullScreenHidden();
            OpenPreview_Click();
        }
    } else if (onDiscPage()) {
        // Closing ends full screen: the panes a media preview hid come back.
        if (previewPaneOpen()) {
            restoreFullScreenHidden();
            OpenPreview_Click();
        }
    } else {
        ui().msgBox("预览窗口只能在光盘页下打开！", platform::MsgButtons::OK, "提示");
        if (previewPaneOpen()) closePreviewPane();
    }
    // The button shows whether the pane is open, whatever happened above.
    Button.setValue(previewPaneOpen() ? 1 : 0);
}

void Form1::hideResultList() {
    // A media preview in full screen gives back the panes it hid; the viewer
    // keeps its large rectangle and full screen stays on.
    if (Toolbar1.button("fullscreen").value() == 1 && MediaPlayer2.visible())
        restoreFullScreenHidden();
    if (!ListView2.visible()) return;
    if (Toolbar1.button("preview").value() == 1) OpenPreview_Click();
    ListView2.clear();
    ListView2.setVisible(false);
    // Its splitter goes with it.
    Label3.setVisible(false);
    FormSize();
}

namespace {

// The row a step lands on when the rule before it named none of the list's.
int clampStep(int row, int count, bool down) {
    if (row >= 1 && row <= count) return row;
    return down ? 1 : count;
}

}  // namespace

void Form1::stepList(bool down) {
    const int files = ListView1.count();
    if (files == 0) {
        // The result list serves while the file list is empty: down wraps
        // from the last row to the first, up from the first to the last.
        const int results = ListView2.count();
        if (!ListView2.visible() || results == 0) return;
        if (down)
            ResultCursor = ResultCursor >= 1 && ResultCursor < results ? ResultCursor + 1 : 1;
        else
            ResultCursor = ResultCursor > 1 && ResultCursor <= results ? ResultCursor - 1 : results;
        ListView2.item(ResultCursor).setSelected(true);
        findPreview();
        return;
    }
    if (FileCursor == 0) {
        // Both directions start at the first row.
        FileCursor = 1;
    } else {
        // From the selected row; from the cursor when none is selected.
        const platform::ListItem* selected = ListView1.selectedItem();
        const int from = selected ? selected->index() : FileCursor;
        if (down)
            FileCursor = from < files ? FileCursor + 1 : 1;
        else if (from == 1 || files < FileCursor)
            FileCursor = files;
        else
            --FileCursor;
    }
    FileCursor = clampStep(FileCursor, files, down);
    ListView1.item(FileCursor).setSelected(true);
    filePreview();
}
