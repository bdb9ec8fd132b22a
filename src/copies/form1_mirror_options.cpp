// The mirror colour and the copied size in the menu 选项: the colour is kept
// as the setting "Color" and takes effect at the next start; the copied size
// can be reset to 0.
#include <string_view>

#include "catalogue/scan_command.h"
#include "copies/mirror_files.h"
#include "mainwindow/form1.h"
#include "mainwindow/module1.h"
#include "platform/error.h"
#include "platform/ui/ui.h"

namespace {

constexpr std::string_view ColourValue = "Color";
constexpr std::string_view RestartToApply = "若想设置生效，请重新打开程序！";

// Stores a colour number of the 16-colour palette and says when it applies.
void storeMirrorColour(Module1& module1, platform::Ui& ui, std::string_view number) {
    if (module1.GetRegValue(SettingsKey, ColourValue) == "Error") module1.CreateRegKey(SettingsKey);
    module1.SetRegValue(SettingsKey, ColourValue, number);
    ui.msgBox(RestartToApply, platform::MsgButtons::OK, catalogue::TipTitle);
}

}  // namespace

void Form1::copyred_Click() { storeMirrorColour(module1(), ui(), "12"); }
void Form1::copyblue_Click() { storeMirrorColour(module1(), ui(), "9"); }
void Form1::copypurple_Click() { storeMirrorColour(module1(), ui(), "13"); }
void Form1::copygreen_Click() { storeMirrorColour(module1(), ui(), "2"); }

void Form1::CopyClearSize_Click() {
    AllSize = 0;
    // A failure to write the size file is not reported.
    platform::SkipOnError skip;
    skip.step([&] { copies::writeCopiedSize(app().ProgramFolder, 0); });
    CopyAllSize.setCaption("已经拷贝到硬盘上的文件大小是0K");
}
