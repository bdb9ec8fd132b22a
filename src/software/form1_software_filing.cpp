// Filing imported records: every record file of the software folder that
// the category file does not list is filed under the category its own line
// "软件分类：" names, or under the catch-all category "无相应类别软件". Only
// the category file changes, read and parsed once and written once; the tree
// shows the result after a reload (刷新).
#include <string>
#include <string_view>

#include "mainwindow/form1.h"
#include "mainwindow/web_links.h"
#include "platform/error.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"
#include "software/class_file.h"
#include "software/class_file_edits.h"
#include "software/record_file.h"
#include "software/software_texts.h"

namespace {

constexpr std::string_view ReadyQuestion =
    "在点击这个菜单之前，你必须把新得到软件说明文件放在[software]文件夹下，这些工作做好了吗？";
constexpr std::string_view DoneMessage = "整理完毕,请刷新一下";
// The caption of softlist while the category view is shown.
constexpr std::string_view CategoriesShown = "软件按字母顺序排列";

// The message when every record file is filed already.
std::string nothingNewMessage() {
    std::string message = "没有新添软件说明，如果需要可到";
    message += weblinks::SoftwareDownload;
    return message + "下载！";
}

}  // namespace

void Form1::ClassSoft1_Click() { ClassSoft_Click(); }

void Form1::ClassSoft_Click() {
    if (ui().msgBox(ReadyQuestion, platform::MsgButtons::YesNo, "信息") != platform::MsgYes) return;
    const std::string& folder = app().ProgramFolder;
    // A file that exists but cannot be read stops the command here (it has
    // been told); a missing one reads as empty and is made.
    const auto read = softwareClassText();
    if (!read) return;
    software::ImportedRecordFiling filing(*read);

    std::vector<std::string> names;
    {
        platform::SkipOnError onError;
        if (onError.step([&] { File1.setPath(software::softwareFolderPath(folder)); }) &&
            onError.step([&] { File1.setPattern("*.txt"); }))
            for (const std::string& file : File1.items())
                names.push_back(platform::text::left(file, platform::text::len(file) - 4));
        onError.step([&] { File1.setPath("c:\\"); });
        onError.step([&] { File1.setPattern("*.*"); });
    }

    // Each record is filed or not by its own name (its whole line), so a
    // deleted record does not hide a new one.
    int filed = 0;
    for (const std::string& name : names) {
        setCaption(name);
        if (!software::isPlainRecordName(name) || filing.isFiled(name)) continue;
        std::optional<std::string> category;
        try {
            category = software::readRecordFile(folder, name)[software::CategoryField];
        } catch (const platform::Error&) {
            continue;  // a file that cannot be read is left for a later run
        }
        if (category)
            filing.file(*category, name);
        else
            filing.fileInCatchAll(name);
        ++filed;
    }
    setCaption("Zelbrin");
    if (filed == 0) {
        ui().msgBox(nothingNewMessage(), platform::MsgButtons::OK, software::TipTitle);
        return;
    }
    software::writeClassText(folder, filing.text());
    if (softlist.caption() == CategoriesShown)
        ui().msgBox(DoneMessage, platform::MsgButtons::OK, software::TipTitle);
}
