// The software tree TreeView3: the category view from class.ini, the
// alphabetical list of the record files, switching and reloading the view,
// choosing a node by its number, and the pop-up menu.
#include "mainwindow/form1.h"
#include "mainwindow/startup.h"
#include "platform/error.h"
#include "platform/ui/ui.h"
#include "software/class_file.h"

namespace {

// The captions of softlist and softlist1: the view each switches to.
constexpr std::string_view ToCategoryView = "软件按分类排列";
constexpr std::string_view ToAlphabeticalList = "软件按字母顺序排列";

constexpr int KeyEnter = 13;
constexpr double PopupOffsetX = 100;
constexpr double PopupOffsetY = 800;

}  // namespace

std::optional<std::string> Form1::softwareClassText() {
    try {
        return software::readClassText(app().ProgramFolder);
    } catch (const platform::Error& e) {
        startup::reportUnreadableFile(ui(), software::classFilePath(app().ProgramFolder),
                                      e.description());
        return std::nullopt;
    }
}

void Form1::Treeview3Load() {
    const std::optional<std::string> text = softwareClassText();
    if (!text) return;
    platform::SkipOnError onError;
    for (const software::ClassTreeNode& node : software::classTreeNodes(*text)) {
        const int image = node.category ? images::SoftwareCategory : images::SoftwareRecord;
        onError.step([&] {
            if (node.parentKey.empty())
                TreeView3.add(node.key, node.name, image);
            else
                TreeView3.addChild(node.parentKey, node.key, node.name, image);
        });
    }
}

void Form1::softlist_Click() {
    if (softlist.caption() != ToAlphabeticalList) {
        softlist.setCaption(std::string(ToAlphabeticalList));
        softlist1.setCaption(std::string(ToAlphabeticalList));
        TreeView3.setLineStyle(1);
        TreeView3.clear();
        Treeview3Load();
    } else {
        softlist.setCaption(std::string(ToCategoryView));
        softlist1.setCaption(std::string(ToCategoryView));
        TreeView3.clear();
        TreeView3.setLineStyle(0);
        loadSoftwareList();
    }
}

void Form1::softlist1_Click() { softlist_Click(); }

void Form1::refreshSoft_Click() {
    TreeView3.clear();
    if (softlist.caption() != ToCategoryView)
        Treeview3Load();
    else
        loadSoftwareList();
}

void Form1::TreeView3_KeyPress(int& KeyAscii) {
    if (KeyAscii >= '0' && KeyAscii <= '9') {
        TypedSoftNumber += static_cast<char>(KeyAscii);
        StatusBar1.panel(2).setText(TypedSoftNumber + "/" + std::to_string(TreeView3.count()));
        return;
    }
    if (KeyAscii != KeyEnter) return;
    // "" or a value of 0: nothing, and the digits stay.
    const std::size_t first = TypedSoftNumber.find_first_not_of('0');
    if (first == std::string::npos) return;
    const int count = TreeView3.count();
    if (count > 0) {
        // More digits than any tree has nodes mean the last node.
        const std::string digits = TypedSoftNumber.substr(first);
        const int n = digits.size() > 9 ? count : std::stoi(digits);
        TreeView3.setSelectedItem(&TreeView3.item(n >= count ? count : n));
    }
    TypedSoftNumber.clear();
    StatusBar1.panel(2).setText({});
}

void Form1::TreeView3_MouseDown(int Button, int Shift, double X, double Y) {
    (void)Shift;
    if (Button != platform::RightButton) return;
    popupMenu(pop3, X + PopupOffsetX, Y + PopupOffsetY);
}
