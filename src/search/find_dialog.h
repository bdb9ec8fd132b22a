// The search options dialog "find1" (caption "查找"), shown before every
// search. It collects the keyword (with an optional second keyword and the
// operator 与, 或 or 非), the location (a path picked in a copy of the
// category tree, or typed), the scope (disc remarks, disc files, file
// remarks, usage notes) and three switches (whole word, match case, keyword
// is an extension). It reads and writes no file.
//
// Everything is handed back through Form1 when the dialog unloads, on every
// way out: find_Location, find_Match, find_LCase, find_Mode, find_Where and
// find_Txt, and the keyword is appended to the history (Form1::Combo2's
// list, which the next showing offers in its keyword box). Form1::ok tells
// OK (true) from Cancel, the close box and Esc (false).
//
// At load the keyword box takes Form1::SoftFind and the history; the
// location is "所有" unless Form1::DialogFromWhere asks for the disc
// selected in the disc list ("findindisk") or the node selected in the
// category tree ("findintree"): then it is that node's full path in the
// location tree, found by the node's key, or the node's bare text when the
// location tree has no node of that key.
//
// The location tree is a copy of Form1::TreeView2 under a root "所有" (key
// "sy"). The copies are keyed privately ("n:" and the original key), so a
// node of the category tree keyed "sy" (a folder of that name under a disc
// opened there) is copied like any other.
#pragma once

#include <string>
#include <string_view>

#include "platform/controls/form.h"
#include "platform/controls/simple_controls.h"
#include "platform/controls/treeview.h"

class Form1;

namespace search {

// The values Form1::DialogFromWhere takes while a search is started for the
// disc selected in the disc list, respectively for the category or disc
// selected in the category tree.
inline constexpr std::string_view FindInDiskMode = "findindisk";
inline constexpr std::string_view FindInTreeMode = "findintree";

// The scope words handed back in Form1::find_Where.
inline constexpr std::string_view DiscRemarksScope = "光盘备注";
inline constexpr std::string_view DiscFilesScope = "光盘文件";
inline constexpr std::string_view FileRemarksScope = "文件备注";
inline constexpr std::string_view UsageNotesScope = "使用情况";

// The location of every disc: the location tree's root.
inline constexpr std::string_view AllLocation = "所有";

// The keyword that lists the ticked files: the tick mark.
inline constexpr std::string_view TickMarkKeyword = "($)";

}  // namespace search

class find1 : public platform::Form {
  public:
    explicit find1(Form1& main);

    // Sets Form1::ok to false, then shows the dialog modally until it has
    // unloaded; the caller reads the values it handed back.
    static void show(Form1& main);

    // Declared in tab order.
    platform::CommandButton OKButton{*this, "OKButton"};          // "查找" (Enter)
    platform::CommandButton CancelButton{*this, "CancelButton"};  // "取消" (Esc)
    platform::Label Label1{*this, "Label1"};                      // "查找内容:"
    platform::ComboBox Combo1{*this, "Combo1"};  // the keyword, the history as its list
    platform::Frame Frame1{*this, "Frame1"};     // "搜索范围": the four scopes
    platform::OptionButton Option1{*this, "Option1", &Frame1};  // "搜索光盘备注"
    platform::OptionButton Option2{*this, "Option2", &Frame1};  // "搜索光盘文件" (at start)
    platform::CheckBox Check1{*this, "Check1"};                 // "全字匹配"
    platform::CheckBox Check2{*this, "Check2"};                 // "区分大小写"
    platform::CheckBox Check3{*this, "Check3"};                 // "是扩展名"
    platform::TreeView TreeView1{*this, "TreeView1"};           // the location tree
    platform::Label Label2{*this, "Label2"};                    // "查找位置:"
    platform::TextBox Text1{*this, "Text1"};                    // the location
    platform::CommandButton Command1{*this, "Command1"};        // "查找光盘里的勾(√)"
    platform::OptionButton Option3{*this, "Option3", &Frame1};  // "搜索文件备注"
    platform::ComboBox Combo2{*this, "Combo2"};                 // the operator 与, 或, 非
    platform::TextBox Text2{*this, "Text2"};                    // the second keyword
    platform::OptionButton Option4{*this, "Option4", &Frame1};  // "搜索使用情况"

    // Check1_Click and Check3_Click are one operation: either switch ticked
    // empties and disables the second keyword and disables the operator;
    // neither ticked enables both (their texts stay).
    void Check1_Click();
    void Check3_Click();
    // The scopes other than disc files disable the whole-word and extension
    // switches (their ticks stay and are handed back); disc files enables them.
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    // The keyword becomes the tick mark "($)".
    void Command1_Click();
    // The location becomes the clicked node's full path.
    void TreeView1_NodeClick(platform::Node& Node);
    // An empty keyword is refused ("请输入查找关键字!", title "提示") and the
    // dialog stays open; otherwise Form1::ok = true and the dialog unloads.
    void OKButton_Click();
    // Form1::ok = false and the dialog unloads.
    void CancelButton_Click();

    // The message of OK with an empty keyword.
    static constexpr std::string_view NoKeywordMessage = "请输入查找关键字!";

  protected:
    void Form_Load() override;
    // Puts the focus into the keyword box (the first showing raises it).
    void Form_Resize() override;
    // Hands every value back and adds the keyword to the history.
    void Form_Unload(int& cancel) override;
    // The close box counts as Cancel.
    void onCloseBox() override { CancelButton_Click(); }

  private:
    // Copies Form1::TreeView2 below the root node.
    void copyCategoryTree();
    // The location for the node selected in a tree of the main window: its
    // copy's full path, found by its key, else its text ("" and no change
    // when nothing is selected).
    void proposeLocation(const platform::TreeView& tree);
    // Enables or disables the second keyword and the operator after a switch.
    void switchesChanged();
    // Enables or disables the whole-word and extension switches.
    void enableFileSwitches(bool enabled);

    Form1& main_;
};
