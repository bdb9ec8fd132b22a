// The folder chooser "选择文件夹": a drive list and a folder list. It serves
// two callers, told apart by Form1::fromMaker at the moment OK is pressed:
// - the scan dialog's button "选择硬盘目录" (fromMaker true): OK puts the
//   folder into Form1::SearchPath;
// - the menu item that defines the user's own send-to folder (fromMaker
//   false): OK makes the folder the caption of Form1::SendToCustom and saves
//   it in the settings store (application "Zelbrin", section "Expiry", key
//   "yourfolder").
// Cancel and the close box change nothing. Every showing starts afresh on the
// process's current drive and folder.
#pragma once

#include <string_view>

#include "platform/controls/file_lists.h"
#include "platform/controls/form.h"
#include "platform/controls/simple_controls.h"

class Form1;

namespace copies {
// Where the user's own send-to folder is kept in the settings store.
inline constexpr std::string_view SendToSettingApp = "Zelbrin";
inline constexpr std::string_view SendToSettingSection = "Expiry";
inline constexpr std::string_view SendToSettingKey = "yourfolder";
}  // namespace copies

class sendto : public platform::Form {
  public:
    explicit sendto(Form1& main);

    platform::DriveListBox Drive1{*this, "Drive1"};
    platform::DirListBox Dir1{*this, "Dir1"};
    platform::CommandButton OKButton{*this, "OKButton"};          // "确定"
    platform::CommandButton CancelButton{*this, "CancelButton"};  // "取消"

    void Drive1_Change();
    void OKButton_Click();
    void CancelButton_Click();

  private:
    Form1& main_;
};
