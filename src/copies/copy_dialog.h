// The mirror target dialog "把打勾的文件拷贝到硬盘里！": one field for the
// folder that receives a run of mirror copies. It proposes the base folder
// kept in the setting "Path" followed by the name of the open disc; when none
// is kept, or its drive is not mapped now, the base is d:\zelbrin\ where D:
// is a folder drive, otherwise c:\zelbrin\ (C: is the home folder); OK hands the text back in
// Form1::MyValue and, when the text's parent folder differs from the base proposed, keeps that
// parent as the new base. Cancel, Esc and the close box hand nothing back.
//
// The dialog serves the copy command alone (Form1::DialogFromWhere
// "copytag"); in any other mode it shows its controls and hands nothing back.
#pragma once

#include <string>
#include <string_view>

#include "platform/controls/form.h"
#include "platform/controls/simple_controls.h"

class Form1;

namespace copies {
// The setting that keeps the base folder of mirror copies.
inline constexpr std::string_view MirrorBaseValue = "Path";
// The base proposed when none is kept: on D: when D: is a folder drive,
// otherwise on C:.
inline constexpr std::string_view DefaultMirrorBaseD = "d:\\zelbrin\\";
inline constexpr std::string_view DefaultMirrorBaseC = "c:\\zelbrin\\";
}  // namespace copies

class copy : public platform::Form {
  public:
    explicit copy(Form1& main);

    platform::Label Label1{*this, "Label1"};                      // the prompt
    platform::TextBox Text1{*this, "Text1"};                      // the target folder
    platform::CommandButton OKButton{*this, "OKButton"};          // "确定"
    platform::CommandButton CancelButton{*this, "CancelButton"};  // "取消"

    void OKButton_Click();
    void CancelButton_Click();

    // The base folder proposed at load.
    const std::string& BasePath() const { return basePath_; }

  protected:
    void Form_Load() override;
    // The close box counts as Cancel.
    void onCloseBox() override { CancelButton_Click(); }

  private:
    Form1& main_;
    std::string basePath_;
};
