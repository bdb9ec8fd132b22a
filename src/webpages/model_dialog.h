// The template editor "选择网页模板": shapes the page template without
// markup. Every control acts at once: it edits part A or part C of the
// template (Form1::htmlText1, htmlText3), sets a page option (Form1::orSize,
// ListOrTable, valcommand8, valcommand9) or the check marks of the page
// option menu items. 确定 and 取消 both just close it; nothing is undone.
//
// The editor keeps the state of its own controls in Form1's editor state
// members (valcommand3 ... valCheck6) and, when it loads, sets its controls
// from them and from the menu marks and the template. Setting a control runs
// its handler as the user's action would, so a restored text, size or
// alignment is written into the template again.
//
// Three optional pieces: the header row (带表头), a text before the table and
// a text after the table (both 添加文字), each with a text written through at
// every change, a colour and (the texts) an alignment.
//
// A colour button asks for a colour; a cancelled colour dialog changes
// nothing. An edit whose place is missing from the template (a part
// replaced in the page-code dialog) leaves the text as it is; the member and
// the control still take the choice.
#pragma once

#include <string>
#include <string_view>

#include "platform/controls/form.h"
#include "platform/controls/simple_controls.h"
#include "platform/controls/viewers.h"

class Form1;

class model : public platform::Form {
  public:
    explicit model(Form1& main);

    // The colour text of a colour value ("#FF0000" for red), and one
    // two-digit part of it from the value's decimal text: 1 red, 3 green,
    // 2 blue, "" for any other part.
    static std::string ColorToHtml(platform::Color c);
    static std::string ColorPart(std::string_view decimal, int part);

    // Declared in tab order.
    // ---- 表格还是列表 ----
    platform::Frame Frame1{*this, "Frame1"};
    platform::PictureBox Image1{*this, "Image1"};               // a sample table
    platform::PictureBox Image2{*this, "Image2"};               // a sample list
    platform::OptionButton Option1{*this, "Option1", &Frame1};  // "表格"
    platform::OptionButton Option2{*this, "Option2", &Frame1};  // "列表"
    // ---- 生成网页时 ----
    platform::Frame Frame2{*this, "Frame2"};
    platform::CheckBox Check1{*this, "Check1"};  // "带文件大小"
    platform::CheckBox Check2{*this, "Check2"};  // "带文件备注"
    platform::Frame Frame3{*this, "Frame3"};
    platform::CheckBox Check3{*this, "Check3"};                 // copy the files
    platform::OptionButton Option3{*this, "Option3", &Frame3};  // "拷贝打勾的文件"
    platform::OptionButton Option4{*this, "Option4", &Frame3};  // "拷贝所有的文件"
    // ---- header row ----
    platform::CheckBox Check4{*this, "Check4"};  // "带表头"
    platform::Label Label2{*this, "Label2"};     // "表头标题："
    platform::TextBox Text2{*this, "Text2"};
    platform::CommandButton Command5{*this, "Command5"};    // "颜色"
    platform::CommandButton Command11{*this, "Command11"};  // "表头背景色"
    // ---- colours ----
    platform::CommandButton Command10{*this, "Command10"};  // "表格左上边界色"
    platform::CommandButton Command14{*this, "Command14"};  // "表格右下边界色"
    platform::CommandButton Command3{*this, "Command3"};    // "表格背景色"
    platform::CommandButton Command4{*this, "Command4"};    // "网页背景色"
    platform::CommandButton Command8{*this, "Command8"};    // "文件夹颜色"
    platform::CommandButton Command9{*this, "Command9"};    // "文件颜色"
    // ---- background ----
    platform::CheckBox Check7{*this, "Check7"};           // "带背景"
    platform::CommandButton Command1{*this, "Command1"};  // "背景图片"
    // ---- 表前文字： ----
    platform::Frame Frame4{*this, "Frame4"};
    platform::CheckBox Check5{*this, "Check5"};           // "添加文字"
    platform::ComboBox Combo1{*this, "Combo1"};           // "2号字" ... "7号字"
    platform::CommandButton Command6{*this, "Command6"};  // "颜色"
    platform::TextBox Text5{*this, "Text5"};
    platform::OptionButton Option5{*this, "Option5", &Frame4};  // "居左"
    platform::OptionButton Option6{*this, "Option6", &Frame4};  // "居中"
    platform::OptionButton Option7{*this, "Option7", &Frame4};  // "居右"
    // ---- 表后文字： ----
    platform::Frame Frame5{*this, "Frame5"};
    platform::CheckBox Check6{*this, "Check6"};           // "添加文字"
    platform::CommandButton Command7{*this, "Command7"};  // "颜色"
    platform::TextBox Text6{*this, "Text6"};
    platform::OptionButton Option8{*this, "Option8", &Frame5};  // "居左"
    platform::OptionButton Option9{*this, "Option9", &Frame5};  // "居中"
    // ---- buttons ----
    platform::CommandButton Command2{*this, "Command2"};          // "查看代码"
    platform::CommandButton Command12{*this, "Command12"};        // "保存模板"
    platform::CommandButton Command13{*this, "Command13"};        // "打开模板"
    platform::CommandButton OKButton{*this, "OKButton"};          // "确定"
    platform::CommandButton CancelButton{*this, "CancelButton"};  // "取消"

    // ---- the form: page options, colours, background, page code ----
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check7_Click();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command12_Click();
    void Command13_Click();
    void Command14_Click();
    void OKButton_Click();
    void CancelButton_Click();

    // ---- the text blocks: header row, text before and after the table ----
    void Check4_Click();
    void Text2_Change();
    void Command5_Click();
    void Command11_Click();
    void Check5_Click();
    void Text5_Change();
    void Combo1_Change();
    void Combo1_LostFocus();
    void Command6_Click();
    void Option5_Click();
    void Option6_Click();
    void Option7_Click();
    void Check6_Click();
    void Text6_Change();
    void Command7_Click();
    void Option8_Click();
    void Option9_Click();

  protected:
    void Form_Load() override;

  private:
    // The colour dialog for a colour button: on a choice the button shows it,
    // the state member holds it, and the colour item (the colour text in
    // double quotes) is returned; "" on a cancel, which changes nothing.
    std::string chooseColour(platform::CommandButton& button, platform::Color& member);
    // Shows the page-code dialog.
    void showPageCode();
    // Enables or disables the controls of a text block.
    void enableHeaderRow(bool enabled);
    void enableTextBefore(bool enabled);
    void enableTextAfter(bool enabled);
    // The text before the table takes an alignment word; the member of the
    // option chosen becomes true, the other two false.
    void alignTextBefore(std::string_view word, int option);
    // The text after the table goes into one footer cell, the other emptied.
    void placeTextAfter(bool left);

    Form1& main_;
};
