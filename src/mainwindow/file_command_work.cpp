#include "mainwindow/file_command_work.h"

#include "discpage/line_drop_work.h"
#include "preview/file_rename_work.h"
#include "software/record_renaming.h"
#include "software/record_saving.h"

std::optional<std::string> finishFileCommandWork(std::string_view programFolder,
                                                 const catalogue::PendingWork& work) {
    if (work.command == software::RecordSavingCommand)
        return software::finishRecordSaving(programFolder, work);
    if (work.command == software::RecordRenameCommand)
        return software::finishRecordRename(programFolder, work);
    if (work.command == discpage::LineDropCommand)
        return discpage::finishLineDrop(programFolder, work);
    if (work.command == preview::FileRenameCommand)
        return preview::finishFileRename(programFolder, work);
    return std::nullopt;
}
