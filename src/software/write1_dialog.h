// The form "名字" that confirms the name of a new software record proposed
// from a file of the disc page: it shows Form1::SoftName; OK hands the text
// back as typed (not trimmed, empty accepted) in SoftName and sets Form1::ok;
// Cancel and the close box clear ok and hand nothing back.
#pragma once

#include "platform/controls/form.h"
#include "platform/controls/simple_controls.h"

class Form1;

class write1 : public platform::Form {
  public:
    explicit write1(Form1& main);

    platform::Label Label1{*this, "Label1"};                      // "将要保存的文件名:"
    platform::TextBox Text1{*this, "Text1"};                      // the name
    platform::CommandButton OKButton{*this, "OKButton"};          // "确定"
    platform::CommandButton CancelButton{*this, "CancelButton"};  // "取消"

    void OKButton_Click();
    void CancelButton_Click();

  protected:
    void Form_Load() override;
    // The close box counts as Cancel.
    void onCloseBox() override { CancelButton_Click(); }

  private:
    Form1& main_;
};
