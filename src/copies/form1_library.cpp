// The library page's tree: loaded once at start-up from the library file.
#include <optional>
#include <string>

#include "copies/library_file.h"
#include "mainwindow/form1.h"
#include "mainwindow/startup.h"
#include "platform/files/text_file.h"
#include "platform/ui/ui.h"

void Form1::Treeview4Load() {
    platform::SkipOnError onError;
    const std::string path = app().ProgramFolder + "\\" + std::string(copies::LibraryFileName);
    std::optional<platform::files::InputFile> file;
    // No file yet: nothing to load. One that cannot be read is told and left
    // as it is.
    if (!onError.step([&] { file.emplace(path); })) {
        if (onError.number() != platform::err::FileNotFound)
            startup::reportUnreadableFile(ui(), path, onError.description());
        return;
    }
    while (!file->eof()) {
        std::string line;
        if (!onError.step([&] { line = file->lineInput(); })) break;
        const auto entry = copies::parseLibraryLine(line);
        // Empty lines are passed over, and so are lines that are no record.
        if (!entry) continue;
        // An icon outside the image list shows the picture of other files
        // rather than failing the node.
        int icon = entry->icon.value_or(images::OtherFile);
        if (icon < 1 || icon > images::Count) icon = images::OtherFile;
        if (!onError.step([&] { TreeView4.add(entry->key, entry->name, icon); })) {
            // A key already in the tree: the load stops here.
            ui().msgBox("已经存在该文件!", platform::MsgButtons::OK, "提示");
            return;
        }
    }
}
