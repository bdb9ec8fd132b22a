// The name dialog "信息": one field for a name, asked by the commands that
// add a category of the catalogue and by the software page for the names of
// software categories and of new software records.
//
// The caller sets its mode through Form1 before showing it: NewSoft1 true
// asks for the name of a new software record; otherwise Txtcontent_Name
// holds the mode word ("insert", "insertsub", "insertsoftbrother",
// "insertsoftchild") and Txt1 the category that the mode line names. OK hands
// the name back as typed (to SoftName for a software record, else to
// Txtcontent_Name) and sets OkName; Cancel and the close box clear OkName and
// leave Txtcontent_Name as it was. The dialog does not test the name.
#pragma once

#include <string>
#include <string_view>

#include "platform/controls/form.h"
#include "platform/controls/simple_controls.h"

class Form1;

class Dialog1 : public platform::Form {
  public:
    explicit Dialog1(Form1& main);

    platform::Label Label1{*this, "Label1"};                      // the prompt
    platform::TextBox Text1{*this, "Text1"};                      // the name
    platform::Label Label2{*this, "Label2"};                      // the mode line
    platform::CommandButton OKButton{*this, "OKButton"};          // "确定"
    platform::CommandButton CancelButton{*this, "CancelButton"};  // "取消"

    void OKButton_Click();
    void CancelButton_Click();

    // The mode line for a mode word and the category it names ("" for any
    // other word).
    static std::string modeLine(std::string_view modeWord, std::string_view category);

  protected:
    void Form_Load() override;
    // The close box counts as Cancel.
    void onCloseBox() override { CancelButton_Click(); }

  private:
    Form1& main_;
};
