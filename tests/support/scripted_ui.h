// The Ui of the behaviour tests: every box, prompt, dialog, modal form and
// pop-up menu the program shows is answered from what the test queued before,
// as a user would answer it, and recorded in a log.
//
// Anything shown without a queued answer fails the running test (with the
// prompt in the message) and is answered as Cancel would answer it. A queued
// answer that is still there when the Ui is checked (verifyAllUsed, called by
// the destructor and by the harness at its teardown) fails the test as well.
//
//     ui.answerMsgBox(platform::MsgYes, "要拷贝的光盘名是DATA！是否正确？");
//     ui.answerInputBox("e");
//     ui.onModal<FindDialog>([](FindDialog& d) { d.OKButton.userClick(); });
//     ui.choosePopup("refresh1");
//
// Each box, dialog, modal form and pop-up menu is a modal wait of the
// dispatcher while it is "open": timer ticks and media events that come due
// then run (whileNextOpen lets a test move the virtual clock there).
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "platform/controls/control.h"
#include "platform/ui/ui.h"

namespace testsupport {

// What the program showed.
enum class ShownKind { MsgBox, InputBox, Open, Save, Color, Folder, Modal, Popup, BrowserSaveAs };

std::string_view kindName(ShownKind kind);

struct Shown {
    ShownKind kind;
    // MsgBox, InputBox, Folder: the title as shown ("Zelbrin" when the
    // program gave none). Open, Save: the dialog title. Modal: the form's
    // caption when it was shown. Popup: empty.
    std::string title;
    // MsgBox, InputBox: the prompt. Folder: the chooser's title. Open, Save:
    // the filter. Modal: the form's name. Popup: the menu's name.
    std::string prompt;
    platform::MsgButtons buttons = platform::MsgButtons::OK;  // MsgBox only
    double x = 0, y = 0;                                      // Popup only: where it opened
};

class ScriptedUi : public platform::Ui {
  public:
    ScriptedUi() = default;
    ~ScriptedUi() override;
    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;

    // ---- queued answers, each used once, in the order queued ----

    // The next message box answers answer (MsgOK, MsgCancel, MsgYes, MsgNo).
    // With expectedPrompt, the box must show exactly that prompt. An answer
    // the box's buttons cannot give fails the test.
    void answerMsgBox(int answer, std::optional<std::string> expectedPrompt = std::nullopt);
    // The next input box: the text typed and OK, or nullopt for Cancel ("").
    void answerInputBox(std::optional<std::string> text);
    // The next file open / save dialog: the Windows path chosen, or nullopt
    // for Cancel. Both share one queue, so a save dialog that meets a queued
    // open answer (or the reverse) fails the test.
    void answerOpen(std::optional<std::string> windowsPath);
    void answerSave(std::optional<std::string> windowsPath);
    // The next colour dialog: the colour chosen, or nullopt for Cancel.
    void answerColor(std::optional<platform::Color> color);
    // The next folder chooser: the Windows folder chosen, or nullopt for Cancel.
    void answerFolder(std::optional<std::string> windowsFolder);
    // The next pop-up menu: the user chooses the item of that name (it must
    // be a visible item of the menu shown), or dismisses the menu.
    void choosePopup(std::string itemName);
    void dismissPopup();
    // The browser's own "Save As" prompt is expected once more.
    void expectBrowserSaveAs();
    // Runs action while the next box, dialog, modal form or pop-up menu is
    // open, before it is answered (before a modal form's script), inside the
    // dispatcher's modal wait. Actions queued one after another go to the
    // boxes shown one after another.
    void whileNextOpen(std::function<void()> action);

    // The script for the next modal showing of a form of type F (the first
    // queued script whose type or name fits runs). It runs while the form is
    // modal, with the form loaded; when the form is still loaded after it,
    // the close box is used.
    template <class F, class Script>
    void onModal(Script script) {
        addModal(
            typeLabel(typeid(F).name()),
            [](platform::Form& f) { return dynamic_cast<F*>(&f) != nullptr; },
            [script = std::move(script)](platform::Form& f) mutable {
                script(dynamic_cast<F&>(f));
            });
    }
    // The same for the form of that name.
    void onModal(std::string formName, std::function<void(platform::Form&)> script);

    // ---- checks ----

    // True when every queued answer and script has been used.
    bool allUsed() const;
    // Fails the running test once when answers or scripts are left over,
    // naming each, and drops them (so each is reported once).
    void verifyAllUsed();

    // ---- what was shown ----

    const std::vector<Shown>& log() const { return log_; }
    // The prompts of every message box shown, in order.
    std::vector<std::string> messages() const;
    void clearLog() { log_.clear(); }

    // Every mouse pointer set, in order, and the one set last.
    const std::vector<int>& pointers() const { return pointers_; }
    int mousePointer() const {
        return pointers_.empty() ? platform::PointerDefault : pointers_.back();
    }
    int flushCount() const { return flushes_; }

    // ---- platform::Ui ----
    int msgBox(std::string_view prompt, platform::MsgButtons buttons,
               std::string_view title) override;
    std::string inputBox(std::string_view prompt, std::string_view title,
                         std::string_view defaultText) override;
    bool showOpen(platform::CommonDialog& dialog) override;
    bool showSave(platform::CommonDialog& dialog) override;
    bool showColor(platform::CommonDialog& dialog) override;
    std::string browseForFolder(std::string_view title) override;
    void runModal(platform::Form& form) override;
    platform::MenuItem* popupMenu(platform::Form& form, platform::MenuItem& menu, double x,
                                  double y) override;
    void setMousePointer(int pointer) override { pointers_.push_back(pointer); }
    void flush() override { ++flushes_; }
    void browserSaveAs(platform::WebBrowser& browser) override;

  private:
    struct BoxAnswer {
        int answer;
        std::optional<std::string> prompt;
    };
    struct FileAnswer {
        ShownKind kind;  // Open or Save
        std::optional<std::string> path;
    };
    struct PopupAnswer {
        std::optional<std::string> item;  // nullopt: dismiss
    };
    struct ModalScript {
        std::string label;  // the type or the form's name, for messages
        std::function<bool(platform::Form&)> fits;
        std::function<void(platform::Form&)> run;
    };

    // The readable name of a mangled type name.
    static std::string typeLabel(const char* mangledName);
    void addModal(std::string label, std::function<bool(platform::Form&)> fits,
                  std::function<void(platform::Form&)> run);
    bool showFile(ShownKind kind, platform::CommonDialog& dialog);
    // Runs the next whileNextOpen action, if any.
    void runWhileOpen();
    // The entries left over, one line each.
    std::vector<std::string> leftovers() const;

    std::deque<BoxAnswer> boxes_;
    std::deque<std::optional<std::string>> inputs_;
    std::deque<FileAnswer> files_;
    std::deque<std::optional<platform::Color>> colors_;
    std::deque<std::optional<std::string>> folders_;
    std::deque<PopupAnswer> popups_;
    std::vector<ModalScript> modals_;
    int saveAsExpected_ = 0;
    std::deque<std::function<void()>> whileOpen_;

    std::vector<Shown> log_;
    std::vector<int> pointers_;
    int flushes_ = 0;
};

}  // namespace testsupport
