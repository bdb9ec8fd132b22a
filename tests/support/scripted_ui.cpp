#include "scripted_ui.h"

#include <cxxabi.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/controls/common_dialog.h"
#include "platform/controls/form.h"
#include "platform/controls/menu.h"
#include "platform/ui/dispatcher.h"

namespace testsupport {

namespace {

std::string shownTitle(std::string_view title) {
    return std::string(title.empty() ? platform::DefaultMsgTitle : title);
}

bool buttonsGive(platform::MsgButtons buttons, int answer) {
    switch (buttons) {
        case platform::MsgButtons::OK:
            return answer == platform::MsgOK;
        case platform::MsgButtons::OKCancel:
            return answer == platform::MsgOK || answer == platform::MsgCancel;
        case platform::MsgButtons::YesNo:
        case platform::MsgButtons::YesNoDefaultNo:
            return answer == platform::MsgYes || answer == platform::MsgNo;
    }
    return false;
}

std::string answerText(const std::optional<std::string>& a) {
    return a ? "\"" + *a + "\"" : "Cancel";
}

// The text after the last "\" of a Windows path.
std::string fileTitleOf(const std::string& path) {
    std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// True when item lies below menu and it and every item between are visible.
bool shownBelow(const platform::MenuItem& menu, const platform::MenuItem& item) {
    for (const platform::MenuItem* m = &item; m != &menu; m = m->parent()) {
        if (!m || !m->visible()) return false;
    }
    return true;
}

}  // namespace

std::string_view kindName(ShownKind kind) {
    switch (kind) {
        case ShownKind::MsgBox:
            return "message box";
        case ShownKind::InputBox:
            return "input box";
        case ShownKind::Open:
            return "open dialog";
        case ShownKind::Save:
            return "save dialog";
        case ShownKind::Color:
            return "colour dialog";
        case ShownKind::Folder:
            return "folder chooser";
        case ShownKind::Modal:
            return "modal form";
        case ShownKind::Popup:
            return "pop-up menu";
        case ShownKind::BrowserSaveAs:
            return "browser Save As";
    }
    return "?";
}

ScriptedUi::~ScriptedUi() { verifyAllUsed(); }

// ---- queueing ----

void ScriptedUi::answerMsgBox(int answer, std::optional<std::string> expectedPrompt) {
    boxes_.push_back({answer, std::move(expectedPrompt)});
}

void ScriptedUi::answerInputBox(std::optional<std::string> text) {
    inputs_.push_back(std::move(text));
}

void ScriptedUi::answerOpen(std::optional<std::string> windowsPath) {
    files_.push_back({ShownKind::Open, std::move(windowsPath)});
}

void ScriptedUi::answerSave(std::optional<std::string> windowsPath) {
    files_.push_back({ShownKind::Save, std::move(windowsPath)});
}

void ScriptedUi::answerColor(std::optional<platform::Color> color) { colors_.push_back(color); }

void ScriptedUi::answerFolder(std::optional<std::string> windowsFolder) {
    folders_.push_back(std::move(windowsFolder));
}

void ScriptedUi::choosePopup(std::string itemName) { popups_.push_back({std::move(itemName)}); }

void ScriptedUi::dismissPopup() { popups_.push_back({std::nullopt}); }

void ScriptedUi::expectBrowserSaveAs() { ++saveAsExpected_; }

void ScriptedUi::whileNextOpen(std::function<void()> action) {
    whileOpen_.push_back(std::move(action));
}

void ScriptedUi::runWhileOpen() {
    if (whileOpen_.empty()) return;
    std::function<void()> action = std::move(whileOpen_.front());
    whileOpen_.pop_front();
    action();
}

void ScriptedUi::onModal(std::string formName, std::function<void(platform::Form&)> script) {
    std::string name = formName;
    addModal(
        "form \"" + formName + "\"", [name](platform::Form& f) { return f.name() == name; },
        std::move(script));
}

std::string ScriptedUi::typeLabel(const char* mangledName) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> plain(
        abi::__cxa_demangle(mangledName, nullptr, nullptr, &status), std::free);
    return status == 0 && plain ? std::string(plain.get()) : std::string(mangledName);
}

void ScriptedUi::addModal(std::string label, std::function<bool(platform::Form&)> fits,
                          std::function<void(platform::Form&)> run) {
    modals_.push_back({std::move(label), std::move(fits), std::move(run)});
}

// ---- checks ----

std::vector<std::string> ScriptedUi::leftovers() const {
    std::vector<std::string> out;
    for (const auto& b : boxes_)
        out.push_back("message box answer " + std::to_string(b.answer) +
                      (b.prompt ? " for \"" + *b.prompt + "\"" : ""));
    for (const auto& i : inputs_) out.push_back("input box answer " + answerText(i));
    for (const auto& f : files_)
        out.push_back(std::string(kindName(f.kind)) + " answer " + answerText(f.path));
    for (const auto& c : colors_)
        out.push_back("colour dialog answer " + (c ? std::to_string(*c) : "Cancel"));
    for (const auto& f : folders_) out.push_back("folder chooser answer " + answerText(f));
    for (const auto& p : popups_)
        out.push_back("pop-up menu answer " + (p.item ? *p.item : std::string("dismiss")));
    for (const auto& m : modals_) out.push_back("modal script for " + m.label);
    for (int i = 0; i < saveAsExpected_; ++i) out.push_back("expected browser Save As");
    for (std::size_t i = 0; i < whileOpen_.size(); ++i)
        out.push_back("action to run while a box is open");
    return out;
}

bool ScriptedUi::allUsed() const { return leftovers().empty(); }

void ScriptedUi::verifyAllUsed() {
    const std::vector<std::string> left = leftovers();
    if (!left.empty()) {
        std::string list;
        for (const std::string& what : left) list += "\n  " + what;
        ADD_FAILURE() << "scripted answers left over:" << list;
    }
    boxes_.clear();
    inputs_.clear();
    files_.clear();
    colors_.clear();
    folders_.clear();
    popups_.clear();
    modals_.clear();
    saveAsExpected_ = 0;
    whileOpen_.clear();
}

std::vector<std::string> ScriptedUi::messages() const {
    std::vector<std::string> out;
    for (const Shown& s : log_)
        if (s.kind == ShownKind::MsgBox) out.push_back(s.prompt);
    return out;
}

// ---- the Ui ----

int ScriptedUi::msgBox(std::string_view prompt, platform::MsgButtons buttons,
                       std::string_view title) {
    log_.push_back({ShownKind::MsgBox, shownTitle(title), std::string(prompt), buttons});
    platform::Dispatcher::ModalWait wait;
    runWhileOpen();
    if (boxes_.empty()) {
        ADD_FAILURE() << "unexpected message box (title \"" << shownTitle(title)
                      << "\"): " << prompt;
        return platform::cancelAnswer(buttons);
    }
    BoxAnswer a = std::move(boxes_.front());
    boxes_.pop_front();
    if (a.prompt && *a.prompt != prompt) {
        ADD_FAILURE() << "message box shows \"" << prompt << "\", the test expected \"" << *a.prompt
                      << "\"";
    }
    if (!buttonsGive(buttons, a.answer)) {
        ADD_FAILURE() << "message box \"" << prompt << "\" cannot answer " << a.answer;
        return platform::cancelAnswer(buttons);
    }
    return a.answer;
}

std::string ScriptedUi::inputBox(std::string_view prompt, std::string_view title,
                                 std::string_view) {
    log_.push_back({ShownKind::InputBox, shownTitle(title), std::string(prompt)});
    platform::Dispatcher::ModalWait wait;
    runWhileOpen();
    if (inputs_.empty()) {
        ADD_FAILURE() << "unexpected input box (title \"" << shownTitle(title) << "\"): " << prompt;
        return {};
    }
    std::optional<std::string> a = std::move(inputs_.front());
    inputs_.pop_front();
    return a.value_or(std::string());
}

bool ScriptedUi::showFile(ShownKind kind, platform::CommonDialog& dialog) {
    log_.push_back({kind, dialog.dialogTitle(), dialog.filter()});
    platform::Dispatcher::ModalWait wait;
    runWhileOpen();
    if (files_.empty()) {
        ADD_FAILURE() << "unexpected " << kindName(kind) << " (title \"" << dialog.dialogTitle()
                      << "\")";
        return false;
    }
    FileAnswer a = std::move(files_.front());
    files_.pop_front();
    if (a.kind != kind) {
        ADD_FAILURE() << "a " << kindName(kind) << " was shown; the next queued answer is for the "
                      << kindName(a.kind);
        return false;
    }
    if (!a.path) return false;
    dialog.setFileName(*a.path);
    dialog.setFileTitle(fileTitleOf(*a.path));
    return true;
}

bool ScriptedUi::showOpen(platform::CommonDialog& dialog) {
    return showFile(ShownKind::Open, dialog);
}

bool ScriptedUi::showSave(platform::CommonDialog& dialog) {
    return showFile(ShownKind::Save, dialog);
}

bool ScriptedUi::showColor(platform::CommonDialog& dialog) {
    log_.push_back({ShownKind::Color, dialog.dialogTitle(), {}});
    platform::Dispatcher::ModalWait wait;
    runWhileOpen();
    if (colors_.empty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return false;
    }
    std::optional<platform::Color> a = colors_.front();
    colors_.pop_front();
    if (!a) return false;
    dialog.setColor(*a);
    return true;
}

std::string ScriptedUi::browseForFolder(std::string_view title) {
    log_.push_back({ShownKind::Folder, shownTitle({}), std::string(title)});
    platform::Dispatcher::ModalWait wait;
    runWhileOpen();
    if (folders_.empty()) {
        ADD_FAILURE() << "unexpected folder chooser: " << title;
        return {};
    }
    std::optional<std::string> a = std::move(folders_.front());
    folders_.pop_front();
    return a.value_or(std::string());
}

void ScriptedUi::runModal(platform::Form& form) {
    log_.push_back({ShownKind::Modal, form.caption(), form.name()});
    platform::Dispatcher::ModalWait wait;
    runWhileOpen();
    auto it = modals_.begin();
    while (it != modals_.end() && !it->fits(form)) ++it;
    if (it == modals_.end()) {
        ADD_FAILURE() << "unexpected modal form \"" << form.name() << "\" (caption \""
                      << form.caption() << "\")";
    } else {
        std::function<void(platform::Form&)> run = std::move(it->run);
        modals_.erase(it);
        run(form);
    }
    if (form.loaded()) form.userClose();
    if (form.loaded())
        ADD_FAILURE() << "modal form \"" << form.name() << "\" stays loaded after its close box";
}

platform::MenuItem* ScriptedUi::popupMenu(platform::Form&, platform::MenuItem& menu, double x,
                                          double y) {
    Shown shown{ShownKind::Popup, {}, menu.name()};
    shown.x = x;
    shown.y = y;
    log_.push_back(shown);
    platform::Dispatcher::ModalWait wait;
    runWhileOpen();
    if (popups_.empty()) {
        ADD_FAILURE() << "unexpected pop-up menu \"" << menu.name() << "\"";
        return nullptr;
    }
    PopupAnswer a = std::move(popups_.front());
    popups_.pop_front();
    if (!a.item) return nullptr;
    platform::MenuItem* item = menu.find(*a.item);
    if (!item || item == &menu || item->isSeparator() || !shownBelow(menu, *item)) {
        ADD_FAILURE() << "pop-up menu \"" << menu.name() << "\" shows no item \"" << *a.item
                      << "\"";
        return nullptr;
    }
    return item;
}

void ScriptedUi::browserSaveAs(platform::WebBrowser&) {
    log_.push_back({ShownKind::BrowserSaveAs, {}, {}});
    platform::Dispatcher::ModalWait wait;
    runWhileOpen();
    if (saveAsExpected_ == 0) {
        ADD_FAILURE() << "unexpected browser Save As prompt";
        return;
    }
    --saveAsExpected_;
}

}  // namespace testsupport
