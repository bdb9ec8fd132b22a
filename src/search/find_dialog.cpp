#include "search/find_dialog.h"

#include <cstdint>
#include <unordered_map>

#include "catalogue/scan_command.h"
#include "mainwindow/form1.h"
#include "mainwindow/images.h"
#include "platform/controls/design_table.h"
#include "platform/ui/ui.h"

namespace {

// The root node of the location tree.
constexpr std::string_view RootKey = "sy";
// The key of a copied node: this prefix and the original key (a node
// without a key is copied without one). No copy can take the root's key.
constexpr std::string_view CopyKeyPrefix = "n:";

// The operators of the second keyword.
constexpr const char* Operators[] = {"与", "或", "非"};

// The scope frame; the option buttons lie inside it.
constexpr double FrameLeft = 2640;
constexpr double FrameTop = 2400;

std::string copyKey(std::string_view key) {
    return key.empty() ? std::string() : std::string(CopyKeyPrefix) + std::string(key);
}

}  // namespace

find1::find1(Form1& main) : Form(main.services(), "find1"), main_(main) {
    setCaption("查找");
    setInnerSize(5940, 4215);
    setFixedBorder(true);
    setStartPosition(platform::StartPosition::CenterScreen);

    platform::applyDesign({
        {TreeView1, "", 0, 0, 2415, 4215},
        {Label1, "查找内容:", 2640, 240, 975, 255},
        {Command1, "查找光盘里的勾(√)", 3840, 120, 2055, 375},
        {Combo1, "", 2640, 600, 3255, 315},
        {Combo2, "", 2640, 960, 975, 315},
        {Text2, "", 3720, 960, 2175, 315},
        {Label2, "查找位置:", 2640, 1320, 975, 255},
        {Text1, "", 2640, 1560, 3255, 315},
        {Check1, "全字匹配", 2640, 1920, 1095, 255},
        {Check2, "区分大小写", 4560, 1920, 1215, 255},
        {Frame1, "搜索范围", FrameLeft, FrameTop, 1815, 1815},
        {Option1, "搜索光盘备注", FrameLeft + 240, FrameTop + 240, 1455, 255},
        {Option2, "搜索光盘文件", FrameLeft + 240, FrameTop + 600, 1455, 255},
        {Option3, "搜索文件备注", FrameLeft + 240, FrameTop + 960, 1455, 255},
        {Option4, "搜索使用情况", FrameLeft + 240, FrameTop + 1320, 1455, 255},
        {Check3, "是扩展名", 4560, 2400, 1335, 255},
        {OKButton, "查找", 4560, 3120, 1215, 375},
        {CancelButton, "取消", 4560, 3720, 1215, 375},
    });
    for (const char* op : Operators) Combo2.addItem(op);
    Combo2.setText(Operators[0]);
    Option2.setValue(true);
    OKButton.setDefault(true);
    CancelButton.setCancel(true);

    Check1.Click = [this] { Check1_Click(); };
    Check3.Click = [this] { Check3_Click(); };
    Option1.Click = [this] { Option1_Click(); };
    Option2.Click = [this] { Option2_Click(); };
    Option3.Click = [this] { Option3_Click(); };
    Option4.Click = [this] { Option4_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    TreeView1.NodeClick = [this](platform::Node& node) { TreeView1_NodeClick(node); };
    OKButton.Click = [this] { OKButton_Click(); };
    CancelButton.Click = [this] { CancelButton_Click(); };
}

void find1::show(Form1& main) {
    // Any way out but OK leaves ok false, so a dismissed dialog never
    // confirms an earlier search's values.
    main.ok = false;
    find1 dialog(main);
    dialog.showModal();
}

void find1::Form_Load() {
    Combo1.setText(main_.SoftFind);
    for (const std::string& keyword : main_.Combo2.items()) Combo1.addItem(keyword);

    TreeView1.setImageList(&main_.ImageList1);
    Text1.setText(std::string(search::AllLocation));
    TreeView1.add(std::string(RootKey), std::string(search::AllLocation), images::Category);
    copyCategoryTree();
    TreeView1.item(RootKey).setExpanded(true);

    if (main_.DialogFromWhere == search::FindInDiskMode)
        proposeLocation(main_.TreeView1);
    else if (main_.DialogFromWhere == search::FindInTreeMode)
        proposeLocation(main_.TreeView2);
}

void find1::copyCategoryTree() {
    platform::Node& root = TreeView1.item(RootKey);
    // Each original node's copy, by the original's serial: a child goes
    // under its parent's copy, whatever the parent's key.
    std::unordered_map<std::uint64_t, platform::Node*> copies;
    for (const auto& node : main_.TreeView2.nodes()) {
        const platform::Node* parent = node->parent();
        platform::Node* under = &root;
        if (parent) {
            const auto it = copies.find(parent->serial());
            if (it == copies.end()) continue;  // cannot happen: parents come first
            under = it->second;
        }
        copies[node->serial()] =
            &TreeView1.addChild(*under, copyKey(node->key()), node->text(), node->image());
    }
}

void find1::proposeLocation(const platform::TreeView& tree) {
    const platform::Node* selected = tree.selectedItem();
    if (!selected) return;
    const platform::Node* copy =
        selected->key().empty() ? nullptr : TreeView1.find(copyKey(selected->key()));
    Text1.setText(copy ? copy->fullPath() : selected->text());
}

void find1::Form_Resize() { Combo1.setFocus(); }

void find1::switchesChanged() {
    const bool either = Check1.value() == 1 || Check3.value() == 1;
    if (either) Text2.setText("");
    Text2.setEnabled(!either);
    Combo2.setEnabled(!either);
}

void find1::Check1_Click() { switchesChanged(); }

void find1::Check3_Click() { switchesChanged(); }

void find1::enableFileSwitches(bool enabled) {
    Check1.setEnabled(enabled);
    Check3.setEnabled(enabled);
}

void find1::Option1_Click() { enableFileSwitches(false); }

void find1::Option2_Click() { enableFileSwitches(true); }

void find1::Option3_Click() { enableFileSwitches(false); }

void find1::Option4_Click() { enableFileSwitches(false); }

void find1::Command1_Click() { Combo1.setText(std::string(search::TickMarkKeyword)); }

void find1::TreeView1_NodeClick(platform::Node& Node) { Text1.setText(Node.fullPath()); }

void find1::OKButton_Click() {
    if (Combo1.text().empty()) {
        ui().msgBox(NoKeywordMessage, platform::MsgButtons::OK, catalogue::TipTitle);
        return;
    }
    main_.ok = true;
    unload();
}

void find1::CancelButton_Click() {
    main_.ok = false;
    unload();
}

void find1::Form_Unload(int& cancel) {
    (void)cancel;
    main_.find_Location = Text1.text();
    main_.find_Match = Check1.value() == 1;
    main_.find_LCase = Check2.value() == 1;
    main_.find_Mode = Check3.value() == 1;
    if (Option1.value())
        main_.find_Where = search::DiscRemarksScope;
    else if (Option2.value())
        main_.find_Where = search::DiscFilesScope;
    else if (Option3.value())
        main_.find_Where = search::FileRemarksScope;
    else if (Option4.value())
        main_.find_Where = search::UsageNotesScope;
    main_.find_Txt = Combo1.text();
    if (!Text2.text().empty()) main_.find_Txt += "(" + Combo2.text() + ")" + Text2.text();
    main_.Combo2.addItem(Combo1.text());
}
