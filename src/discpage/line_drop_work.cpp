#include "discpage/line_drop_work.h"

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

std::string finishLineDrop(std::string_view programFolder, const catalogue::PendingWork& work) {
    try {
        // The file still there: it was never deleted, and its line stays.
        if (platform::files::getAttributes(work.field("file"))) return {};
        const std::string indexPath = work.field("index");
        std::string text = platform::files::WholeFileRead(indexPath);
        const catalogue::ChosenFileLine found =
            catalogue::chooseFileLine(text, {work.field("path"), work.field("size")});
        if (!found) return {};
        text.erase(found.begin, found.end - found.begin);
        rewriteDiscFile(programFolder, indexPath, text);
        return catalogue::pendingWorkReport(LineDropCaption, true);
    } catch (const platform::Error&) {
        return {};
    }
}

}  // namespace discpage
