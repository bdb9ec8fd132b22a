// The Ui port on the desktop: message boxes, input boxes, the file, colour
// and folder dialogs, modal forms, pop-up menus, the mouse pointer and the
// repaint during long commands, with Qt's widgets. Paths cross between the
// program's Windows form and the native form through the drive table.
#pragma once

#include <QString>
#include <string>

#include "platform/ui/ui.h"

class QWidget;

namespace gui {

class FrontEnd;

class QtUi : public platform::Ui {
  public:
    explicit QtUi(FrontEnd& frontEnd);
    ~QtUi() override;

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
    void setMousePointer(int pointer) override;
    void flush() override;
    void browserSaveAs(platform::WebBrowser& browser) override;

    // The filter of a file dialog from the program's form
    // ("Text (*.txt)|*.txt|All|*.*" or a bare "*.wcd"), one entry a line.
    static QString nameFilters(std::string_view filter);

  private:
    // The window the boxes belong to: the modal form on top, else the main window.
    QWidget* owner() const;
    bool fileDialog(platform::CommonDialog& dialog, bool save);

    FrontEnd& frontEnd_;
    int pointer_ = platform::PointerDefault;
};

}  // namespace gui
