#include "preview/file_rename_work.h"

#include "discpage/disc_file_path.h"
#include "discpage/line_drop_work.h"
#include "platform/error.h"
#include "platform/files/file_ops.h"
#include "platform/files/text_file.h"
#include "preview/preview_text.h"

namespace preview {

catalogue::PendingWork fileRenameWork(std::string_view indexPath, std::string_view oldPath,
                                      std::string_view newPath) {
    catalogue::PendingWork work{std::string(FileRenameCommand), {}};
    work.add("index", std::string(indexPath))
        .add("old", std::string(oldPath))
        .add("new", std::string(newPath));
    return work;
}

bool renamedOnDisk(std::string_view oldPath, std::string_view newPath) {
    return platform::files::existsExactly(newPath) && !platform::files::existsExactly(oldPath);
}

catalogue::FinishOutcome finishFileRename(std::string_view programFolder,
                                          const catalogue::PendingWork& work) {
    const std::string oldPath = work.field("old");
    const std::string newPath = work.field("new");
    const std::string indexPath = work.field("index");
    const auto folderOf = [](std::string_view path) {
        const std::size_t slash = path.find_last_of('\\');
        return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
    };
    // Both names in one folder, the index one of a disc's.
    if (!work.holdsKeys({"index", "old", "new"}) || oldPath.empty() || oldPath == newPath ||
        folderOf(oldPath).empty() || folderOf(oldPath) != folderOf(newPath) ||
        !discpage::isDiscIndexPath(programFolder, indexPath))
        return catalogue::notUnderstood("记录里的文件名不对");
    try {
        if (!renamedOnDisk(oldPath, newPath)) return catalogue::nothingLeft();
    } catch (const platform::Error& e) {
        return catalogue::waitingFor(newPath, e);
    }
    return discpage::finishIndexEdit(
        programFolder, indexPath, [&](std::string text) -> std::optional<std::string> {
            RenamedIndex renamed = renameFileLine(text, oldPath, newPath);
            if (renamed.match != catalogue::NameMatch::Found) return std::nullopt;
            return std::move(renamed.text);
        });
}

}  // namespace preview
