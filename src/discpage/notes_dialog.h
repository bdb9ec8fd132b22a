// The notes dialog "notes": edits one remark or usage note of a listed file
// or folder. It reads and writes no file: it takes the file's name and its
// current text from the row its mode names and hands the result back in
// Form1::fileNotes, the text on OK (line breaks as CR LF) and "($$$$$$)" on
// Cancel, Esc and the close box.
//
// The mode is decided at load from two flags of Form1, the first one first:
//   IsExample            usage note: the selected ListView1 row, its 使用情况
//   Is_addnotes111       search-result remark: the selected ListView2 row,
//                        its path column after the last "\" and its note
//   neither              remark: the selected ListView1 row, its 备注
// The label names the file (name, "." and type column: "docs.文件夹") and is
// a link: blue at rest, red and underlined under the mouse; a click opens
// the file from the disc (not in the search-result mode).
//
// A text that holds a record marker ("@##note##@" or "@##exam##@") would
// split its record in the note file: OK refuses it with a box and the
// dialog stays open.
#pragma once

#include <string>
#include <string_view>

#include "platform/controls/form.h"
#include "platform/controls/simple_controls.h"

class Form1;

class notes : public platform::Form {
  public:
    explicit notes(Form1& main);

    // Declared in tab order: 确定, 取消, the text box, 删除 (the label takes
    // no focus).
    platform::CommandButton OKButton{*this, "OKButton"};          // "确定"
    platform::CommandButton CancelButton{*this, "CancelButton"};  // "取消"
    platform::TextBox Text1{*this, "Text1"};                      // the remark or usage note
    platform::CommandButton Command1{*this, "Command1"};          // "删除": empties the text
    platform::Label Label1{*this, "Label1"};                      // the file's name, a link

    void OKButton_Click();
    void CancelButton_Click();
    void Command1_Click();
    void Label1_Click();
    void Label1_MouseMove();

    // The cancel marker handed back in Form1::fileNotes.
    static constexpr std::string_view Cancelled = "($$$$$$)";
    // The refusal of a text that holds a record marker (title "提示").
    static constexpr std::string_view MarkerRefused = "备注中不能含有“@##note##@”或“@##exam##@”。";
    // The label's colours: blue at rest, red under the mouse.
    static constexpr platform::Color LinkColor = 0xFF0000;   // RGB(0, 0, 255)
    static constexpr platform::Color HoverColor = 0x0000FF;  // RGB(255, 0, 0)

  protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_MouseMove(int button, int shift, double x, double y) override;
    // The close box counts as Cancel.
    void onCloseBox() override { CancelButton_Click(); }

  private:
    Form1& main_;
};
