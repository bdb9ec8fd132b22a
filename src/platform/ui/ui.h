// The Ui port: everything the program asks the user through the windowing
// system. The Qt front end implements it with real dialogs; tests use a
// scripted implementation that answers from a queue.
//
// Every call is modal: it returns only when the user has answered, and no
// other program event runs meanwhile (except, for runModal, the events of the
// modal form itself).
#pragma once

#include <string>
#include <string_view>

namespace platform {

class CommonDialog;
class Form;
class MenuItem;
class WebBrowser;

// The button sets of a message box. Each box's first button is its default
// (Enter), except YesNoDefaultNo: Yes and No with No the default.
enum class MsgButtons { OK, OKCancel, YesNo, YesNoDefaultNo };

// The answers of a message box.
inline constexpr int MsgOK = 1;
inline constexpr int MsgCancel = 2;
inline constexpr int MsgYes = 6;
inline constexpr int MsgNo = 7;

// The answer of a box dismissed without a choice (Esc, or a Ui that shows
// nothing): MsgCancel for OKCancel, MsgNo for YesNo, MsgOK for OK.
constexpr int cancelAnswer(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OKCancel:
            return MsgCancel;
        case MsgButtons::YesNo:
        case MsgButtons::YesNoDefaultNo:
            return MsgNo;
        case MsgButtons::OK:
            break;
    }
    return MsgOK;
}

// The title a message box shows when it has none of its own.
inline constexpr std::string_view DefaultMsgTitle = "Zelbrin";

// Mouse pointers.
inline constexpr int PointerDefault = 0;
inline constexpr int PointerSizeNS = 7;  // north-south sizing arrow
inline constexpr int PointerSizeWE = 9;  // west-east sizing arrow
inline constexpr int PointerHourglass = 11;

class Ui {
  public:
    virtual ~Ui() = default;

    // A plain message box (no icon). Returns MsgOK, MsgCancel, MsgYes or MsgNo.
    // An empty title shows DefaultMsgTitle. Closing the box answers MsgCancel
    // for OKCancel and MsgOK for OK; a Yes/No box cannot be closed.
    virtual int msgBox(std::string_view prompt, MsgButtons buttons = MsgButtons::OK,
                       std::string_view title = {}) = 0;

    // A one-line input prompt with OK and Cancel; Cancel gives "".
    virtual std::string inputBox(std::string_view prompt, std::string_view title = {},
                                 std::string_view defaultText = {}) = 0;

    // The file open, file save and colour dialogs. They read their settings
    // from the dialog's properties and, on OK, write the results there
    // (file name and title, or colour) and return true. A cancel returns false
    // and leaves every property as it was.
    virtual bool showOpen(CommonDialog& dialog) = 0;
    virtual bool showSave(CommonDialog& dialog) = 0;
    virtual bool showColor(CommonDialog& dialog) = 0;

    // The folder chooser: the chosen folder as a Windows path, "" on cancel.
    virtual std::string browseForFolder(std::string_view title) = 0;

    // Shows a loaded form modally and returns once it has unloaded. The close
    // box calls form.userClose().
    virtual void runModal(Form& form) = 0;

    // Shows a pop-up menu built from the visible sub-items of menu at (x, y),
    // in twips relative to the form's inner area. Returns the item chosen, or
    // nullptr when the menu was dismissed. Does not run the item's Click
    // (Form::popupMenu does that).
    virtual MenuItem* popupMenu(Form& form, MenuItem& menu, double x, double y) = 0;

    // The screen's mouse pointer (PointerDefault, PointerHourglass, ...).
    virtual void setMousePointer(int pointer) = 0;

    // Called during long commands: shows caption, status and pointer changes
    // at once, without letting any other program event run.
    virtual void flush() {}

    // The browser's own "Save As" prompt for the page it shows.
    virtual void browserSaveAs(WebBrowser& browser) = 0;
};

// A Ui that answers every question as a user pressing Cancel (or OK where a
// box has nothing else) would. For tools and tests that show nothing.
class NullUi : public Ui {
  public:
    int msgBox(std::string_view, MsgButtons buttons, std::string_view) override;
    std::string inputBox(std::string_view, std::string_view, std::string_view) override {
        return {};
    }
    bool showOpen(CommonDialog&) override { return false; }
    bool showSave(CommonDialog&) override { return false; }
    bool showColor(CommonDialog&) override { return false; }
    std::string browseForFolder(std::string_view) override { return {}; }
    void runModal(Form& form) override;  // presses the close box
    MenuItem* popupMenu(Form&, MenuItem&, double, double) override { return nullptr; }
    void setMousePointer(int pointer) override { pointer_ = pointer; }
    void browserSaveAs(WebBrowser&) override {}

    int mousePointer() const { return pointer_; }

  private:
    int pointer_ = PointerDefault;
};

}  // namespace platform
