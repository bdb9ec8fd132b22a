#include "discpage/line_drop_work.h"

#include "catalogue/index_line.h"
#include "catalogue/name_lookup.h"
#include "discpage/disc_file_path.h"
#include "platform/error.h"
#include "platform/files/file_ops.h"
#include "platform/files/text_file.h"

namespace discpage {

catalogue::PendingWork lineDropWork(std::string_view indexPath, std::string_view linePath,
                                    std::string_view sizeText, std::string_view realFile) {
    catalogue::PendingWork work{std::string(LineDropCommand), {}};
    work.add("index", std::string(indexPath))
        .add("path", std::string(linePath))
        .add("size", std::string(sizeText))
        .add("file", std::string(realFile));
    return work;
}

bool isDiscIndexPath(std::string_view programFolder, std::string_view path) {
    const std::string folder = catalogue::indexFolderPath(programFolder) + "\\";
    if (!path.starts_with(folder)) return false;
    const std::string_view name = path.substr(folder.size());
    const std::string_view extension = catalogue::IndexExtension;
    if (name.size() <= extension.size() || !name.ends_with(extension)) return false;
    try {
        return catalogue::discFileName(name.substr(0, name.size() - extension.size()), extension) ==
               name;
    } catch (const platform::Error&) {
        return false;
    }
}

catalogue::FinishOutcome finishLineDrop(std::string_view programFolder,
                                        const catalogue::PendingWork& work) {
    const std::string indexPath = work.field("index");
    const std::string file = work.field("file");
    const auto foreign = [] { return catalogue::notUnderstood("记录里的文件不是这张光盘的"); };
    // The index one of a disc's in "guangpan".
    if (!work.holdsKeys({"index", "path", "size", "file"}) || file.empty() ||
        !isDiscIndexPath(programFolder, indexPath))
        return foreign();
    // The file still there under its own name (a file spelt alike but for
    // letter case is another one): it was never deleted, and its line stays.
    // A folder that cannot be looked at (a drive not there now) decides
    // nothing; a folder gone took the file with it.
    try {
        if (platform::files::existsExactly(file)) return catalogue::nothingLeft();
    } catch (const platform::Error& e) {
        return catalogue::waitingFor(file, e);
    }
    bool named = true;
    const catalogue::FinishOutcome outcome = finishIndexEdit(
        programFolder, indexPath, [&](std::string text) -> std::optional<std::string> {
            const catalogue::ChosenFileLine found =
                catalogue::chooseFileLine(text, {work.field("path"), work.field("size")});
            if (!found) return std::nullopt;
            // The file is the one its index line names.
            named = found.line.path == file;
            if (!named) return std::nullopt;
            text.erase(found.begin, found.end - found.begin);
            return text;
        });
    return named ? outcome : foreign();
}

catalogue::FinishOutcome finishIndexEdit(
    std::string_view programFolder, const std::string& indexPath,
    const std::function<std::optional<std::string>(std::string)>& edit) {
    std::string text;
    try {
        text = platform::files::WholeFileRead(indexPath);
    } catch (const platform::Error& e) {
        // The disc is gone with its index: nothing lists the file.
        if (e.number() == platform::err::FileNotFound) return catalogue::nothingLeft();
        return catalogue::waitingFor(indexPath, e);
    }
    const std::optional<std::string> edited = edit(text);
    if (!edited || *edited == text) return catalogue::nothingLeft();
    try {
        rewriteDiscFile(programFolder, indexPath, *edited);
    } catch (const platform::Error& e) {
        return catalogue::waitingFor(indexPath, e);
    }
    return catalogue::finishedNow();
}

}  // namespace discpage
