// The scan dialog "information": the name, number, remark, purchase date and
// category of a disc, and for a new scan the file pattern and a hard-disk
// folder to scan instead of the CD. Three commands show it, each after
// setting Form1::DialogFromWhere: the scan ("" - a new scan), the import of
// an index file ("import") and the change of a disc ("changeorder").
//
// It proposes the fields, checks them on OK (a name, number, remark or date
// that would not read back from the catalogue's disc line is refused with
// the message of catalogue::discLineProblem), puts the number tag in front of
// the name of a disc scanned from the CD drive, and hands everything back
// through Form1 (ok, txtName, txtOrder, txtTip, txtPath, FindStr; SearchPath
// through the folder chooser). It never writes a file. Cancel and the close
// box give ok = false; the other members are written on every unload.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/form.h"
#include "platform/controls/simple_controls.h"
#include "platform/controls/treeview.h"

class Form1;

namespace catalogue {

// The values Form1::DialogFromWhere takes while the scan dialog is shown for
// the import of an index file and for the change of a disc ("" for a new
// scan).
inline constexpr std::string_view ImportMode = "import";
inline constexpr std::string_view ChangeMode = "changeorder";

}  // namespace catalogue

class Dialog : public platform::Form {
  public:
    explicit Dialog(Form1& main);

    platform::Label Label1{*this, "Label1"};  // "光盘或目录名称:"
    platform::TextBox Text1{*this, "Text1"};  // the disc's name
    platform::Label Label2{*this, "Label2"};  // "光盘或目录序号:"
    platform::TextBox Text2{*this, "Text2"};  // the disc's number
    platform::Label Label3{*this, "Label3"};  // "光盘或目录提示:"
    platform::TextBox Text3{*this, "Text3"};  // the remark
    platform::Label Label7{*this, "Label7"};  // "光盘购买时间："
    platform::TextBox Text5{*this, "Text5"};  // the purchase date
    platform::Label Label5{*this, "Label5"};  // "从左边的目录树中选择光盘的分类:"
    platform::TextBox Text4{*this, "Text4"};  // the category path (read-only; set by the chooser)
    platform::TreeView TreeView1{*this, "TreeView1"};  // the category chooser
    platform::Label Label6{*this, "Label6"};           // "扫描的文件类型:" (new scan only)
    platform::ComboBox Combo1{*this, "Combo1"};        // the file pattern (new scan only)
    platform::CommandButton Command1{*this, "Command1"};  // "选择硬盘目录" (new scan only)
    platform::Label Label4{*this, "Label4"};              // the message of the mode
    platform::CommandButton OKButton{*this, "OKButton"};  // "确定"
    platform::CommandButton CancelButton{*this, "CancelButton"};  // "取消"

    void Command1_Click();
    void TreeView1_NodeClick(platform::Node& Node);
    void OKButton_Click();
    void CancelButton_Click();

  protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    // The close box counts as Cancel.
    void onCloseBox() override { CancelButton_Click(); }

  private:
    bool newScanMode() const;
    bool changeMode() const;
    // The index files of "guangpan" (names with ".wcd"), listed through
    // Form1::File1 (catalogue::listIndexFiles).
    std::vector<std::string> indexFiles();
    std::string today() const;
    // The catalogue file's whole text.
    std::string catalogueText() const;
    // The chooser from the catalogue file's text.
    void buildChooser(std::string_view stored);
    // Shows a refusal ("提示", OK).
    void refuse(std::string_view message);
    // The change summary; false when the form is to stay open.
    bool confirmChanges(const std::string& name);

    Form1& main_;
    // The values shown at load in change mode.
    std::string oldName_, oldNumber_, oldRemark_, oldPath_, oldDate_;
};
