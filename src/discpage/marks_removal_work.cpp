#include "discpage/marks_removal_work.h"

#include <optional>
#include <string>

#include "catalogue/index_line.h"
#include "copies/mirror_files.h"
#include "discpage/index_edits.h"
#include "platform/error.h"
#include "platform/files/text_file.h"

namespace discpage {

catalogue::PendingWork marksRemovalWork(std::string_view disc, std::string_view indexPath) {
    catalogue::PendingWork work{std::string(MarksRemovalCommand), {}};
    work.add("disc", std::string(disc)).add("index", std::string(indexPath));
    return work;
}

catalogue::FinishOutcome finishMarksRemoval(std::string_view programFolder,
                                            const catalogue::PendingWork& work) {
    const std::string disc = work.field("disc");
    const std::string indexPath = work.field("index");
    try {
        if (!work.holdsKeys({"disc", "index"}) || disc.empty() ||
            catalogue::discIndexFilePath(programFolder, disc) != indexPath)
            return catalogue::notUnderstood("记录里的索引文件不是这张光盘的");
    } catch (const platform::Error&) {
        return catalogue::notUnderstood("记录里的光盘名不对");
    }
    // The index still marked: it was never written, and red.ini stays.
    try {
        const std::string text = platform::files::WholeFileRead(indexPath);
        if (removeTicksAndMirrors(text) != text) return catalogue::nothingLeft();
    } catch (const platform::Error& e) {
        if (e.number() == platform::err::FileNotFound) return catalogue::nothingLeft();
        return catalogue::waitingFor(indexPath, e);
    }
    const std::string listPath = copies::mirrorDiscListPath(programFolder);
    std::optional<std::string> rest;
    try {
        rest = copies::removeMirrorDisc(platform::files::WholeFileRead(listPath), disc);
    } catch (const platform::Error&) {
        // Missing, or unreadable (told where it is read; never written).
        return catalogue::nothingLeft();
    }
    if (!rest) return catalogue::nothingLeft();
    try {
        copies::rewriteProgramFile(programFolder, listPath, *rest);
    } catch (const platform::Error& e) {
        return catalogue::waitingFor(listPath, e);
    }
    return catalogue::finishedNow();
}

}  // namespace discpage
