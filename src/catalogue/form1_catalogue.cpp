// The main window's procedures over the CD drive finder and the folder walk.
#include <cstdint>
#include <string>

#include "catalogue/cd_drive.h"
#include "catalogue/folder_walk.h"
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/ui/throttled_text.h"
#include "platform/ui/ui.h"

void Form1::FindCdDrive() {
    if (auto root = catalogue::findCdDriveRoot()) {
        CdDrive = *root;
        CdDriveKnown = true;
    }
}

std::string Form1::GetVolumeLabel(const std::string& root) {
    return catalogue::volumeLabelOf(root);
}

std::int64_t Form1::FindFilesAPI(const std::string& sspath, std::string& path,
                                 const std::string& SearchStr, std::int32_t& FileCount,
                                 std::int32_t& DirCount, const catalogue::IndexSink& sink) {
    catalogue::WalkRequest request{sspath, path, SearchStr};
    catalogue::WalkCounts counts{FileCount, DirCount};
    // The progress shows in the caption during the walk, repainted at most
    // every 50 ms; the last value shows before the walk's end is reported.
    platform::ThrottledText progress([this](const std::string& caption) {
        setCaption(caption);
        ui().flush();
    });
    const catalogue::WalkResult result = catalogue::walkFolder(
        request, ScannedFolderList, counts, sink,
        [&progress](const std::string& caption) { progress.update(caption); });
    progress.finish();
    path = request.path;
    FileCount = static_cast<std::int32_t>(counts.fileCount);
    DirCount = static_cast<std::int32_t>(counts.dirCount);
    walkSkippedNames = result.skippedNames;
    if (!result.ok) platform::raise(result.errorNumber, result.errorText);
    return result.total;
}

std::string Form1::StripNulls(std::string& OriginalStr) {
    return catalogue::stripNulls(OriginalStr);
}
