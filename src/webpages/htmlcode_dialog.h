// The page-code dialog "网页代码": the page template's three parts as page
// code, one box each (A the page head and the table's opening, B the row
// written per entry, C the table's end and the page's end). The boxes are
// working copies of Form1::htmlText1, htmlText2 and htmlText3 until OK.
//
// OK takes parts A and C back; a changed part B is taken back only while it
// holds the three entry tokens, and then switches the pages to part B
// (Form1::Web2Text). Otherwise the dialog says which words to keep and stays
// open, parts A and C already taken. Cancel and the close box take nothing.
//
// Each part can be saved as a template file "<name>_A.htm" (_B, _C) in the
// template folder webmodel\modeltext below the program folder, and any file
// can be opened into any part. A save never replaces a file; a name that
// would leave the template folder counts as taken.
#pragma once

#include <string>
#include <string_view>

#include "platform/controls/form.h"
#include "platform/controls/simple_controls.h"

class Form1;

namespace webpages {

// The template folder, below the program folder.
inline constexpr std::string_view TemplateFolder = "\\webmodel\\modeltext";

// The messages and the save prompt.
inline constexpr std::string_view KeepTokensMessage =
    "无论你做任何修改,请保留\r\n\"Zelbrin文件名\"\r\n\"Zelbrin文件大小\"\r\n"
    "\"Zelbrin文件备注\"\r\n这三个词,否则我不知道文件名,\r\n文件大小,文件备注该放到哪里。";
inline constexpr std::string_view NameTakenMessage = "文件名重复，请重新起名保存。";
inline constexpr std::string_view SaveNamePrompt = "请输入文件名，不用输入文件扩展名。";

// The path of a template file: the program folder's template folder, the name
// and the suffix ("_A"), ".htm". Empty when the name would reach outside the
// template folder (it holds "\", "/" or "..").
std::string templateFilePath(std::string_view programFolder, std::string_view name,
                             std::string_view suffix);

}  // namespace webpages

class htmlcode : public platform::Form {
  public:
    explicit htmlcode(Form1& main);

    // Declared in tab order.
    platform::CommandButton OKButton{*this, "OKButton"};          // "确定"
    platform::CommandButton CancelButton{*this, "CancelButton"};  // "取消"
    platform::TextBox Text1{*this, "Text1"};                      // part A
    platform::TextBox Text2{*this, "Text2"};                      // part B
    platform::TextBox Text3{*this, "Text3"};                      // part C
    platform::CommandButton Command1{*this, "Command1"};          // save A
    platform::CommandButton Command2{*this, "Command2"};          // open into A
    platform::CommandButton Command3{*this, "Command3"};          // save B
    platform::CommandButton Command4{*this, "Command4"};          // open into B
    platform::CommandButton Command5{*this, "Command5"};          // save C
    platform::CommandButton Command6{*this, "Command6"};          // open into C
    platform::Label Label1{*this, "Label1"};
    platform::Label Label3{*this, "Label3"};
    platform::Label Label2{*this, "Label2"};

    void OKButton_Click();
    void CancelButton_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();

  protected:
    void Form_Load() override;
    // The close box counts as Cancel.
    void onCloseBox() override { CancelButton_Click(); }

  private:
    // Saves a box as a new template file with that suffix ("_A").
    void savePart(const platform::TextBox& box, std::string_view suffix);
    // Loads a chosen file into a box; the suffix names the part in the title.
    void openPart(platform::TextBox& box, std::string_view suffix);

    Form1& main_;
};
