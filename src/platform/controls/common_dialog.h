// The common dialog control: one object that holds the settings and results
// of the file open, file save and colour dialogs. The properties a command
// sets keep their values for later uses in the run. The control has no
// window of its own; the dialogs are shown through the form's Ui.
#pragma once

#include <string>

#include "platform/controls/control.h"

namespace platform {

class CommonDialog : public Control {
  public:
    CommonDialog(Form& owner, std::string name);
    const char* kind() const override { return "CommonDialog"; }

    // The chosen file: its full Windows path, and its name without the folder.
    const std::string& fileName() const { return s_.fileName; }
    void setFileName(std::string v);
    const std::string& fileTitle() const { return s_.fileTitle; }
    void setFileTitle(std::string v);
    // "description|pattern|description|pattern..." or a bare pattern ("*.wcd").
    const std::string& filter() const { return s_.filter; }
    void setFilter(std::string v);
    const std::string& initDir() const { return s_.initDir; }
    void setInitDir(std::string v);
    const std::string& dialogTitle() const { return s_.dialogTitle; }
    void setDialogTitle(std::string v);
    // The extension added to a typed name that has none ("wcd").
    const std::string& defaultExt() const { return s_.defaultExt; }
    void setDefaultExt(std::string v);
    long flags() const { return s_.flags; }
    void setFlags(long v);
    // The chosen colour (0x00BBGGRR); 0 until a colour was chosen.
    Color color() const { return s_.color; }
    void setColor(Color v);

    // Show the dialog through the form's Ui. True when the user chose (the
    // results are in fileName/fileTitle or color); false on a cancel, which
    // leaves every property as it was and raises no error.
    bool showOpen();
    bool showSave();
    bool showColor();

  private:
    struct Settings {
        std::string fileName, fileTitle, filter, initDir, dialogTitle, defaultExt;
        long flags = 0;
        Color color = 0;
        bool operator==(const Settings&) const = default;
    };
    // Runs one dialog; restores the properties when it was cancelled.
    template <class Show>
    bool run(Show show);

    Settings s_;
};

}  // namespace platform
