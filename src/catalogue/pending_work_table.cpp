// The one table of the commands that record their work in pending.ini
// (pending_work.h): each command's name in the record, its menu caption and
// its finisher. To add a command: give it a name and a finisher of the
// contract in pending_work.h (judging by the command's switch, refusing a
// record that names a file the command could not have made), add its row
// here, and run its steps inside a PendingWorkScope.
#include <array>

#include "catalogue/pending_discs.h"
#include "catalogue/pending_work.h"
#include "copies/mirror_run.h"
#include "discpage/line_drop_work.h"
#include "discpage/marks_removal_work.h"
#include "platform/error.h"
#include "preview/file_rename_work.h"
#include "software/record_deleting.h"
#include "software/record_renaming.h"
#include "software/record_saving.h"

namespace catalogue {

namespace {

constexpr std::string_view MirrorRunCaption = "把打标记的文件拷贝到硬盘形成映象文件";

// The mirror copy run's finisher: finished forward with the whole copies it
// made, or taken back when it made none; a failed write keeps the record.
FinishOutcome finishMirrorRun(std::string_view programFolder, const PendingWork& work) {
    std::string failed;
    try {
        const copies::MirrorRunFinish finish =
            copies::completeMirrorRun(programFolder, work, &failed);
        FinishOutcome outcome = finishedNow(finish.finished);
        outcome.told = copies::mirrorRunReport(MirrorRunCaption, finish);
        return outcome;
    } catch (const platform::Error& e) {
        return waitingFor(failed.empty() ? work.field("index") : failed, e);
    }
}

constexpr std::array Commands = {
    PendingCommand{ChangeDiscWork, "修改光盘名字、序号、备注和分类", finishChangeDisc},
    PendingCommand{DeleteDiscWork, "删除这张光盘", finishDeleteDisc},
    PendingCommand{ImportWork, "导入光盘索引文件", finishImport},
    PendingCommand{copies::MirrorRunWork, MirrorRunCaption, finishMirrorRun,
                   copies::mirrorRunRecordUnderstood},
    PendingCommand{software::RecordSavingCommand, software::RecordSavingCaption,
                   software::finishRecordSaving},
    PendingCommand{software::RecordRenameCommand, software::RecordRenameCaption,
                   software::finishRecordRename},
    PendingCommand{software::RecordDeleteCommand, software::RecordDeleteCaption,
                   software::finishRecordDelete},
    PendingCommand{discpage::LineDropCommand, discpage::LineDropCaption, discpage::finishLineDrop},
    PendingCommand{preview::FileRenameCommand, preview::FileRenameCaption,
                   preview::finishFileRename},
    PendingCommand{discpage::MarksRemovalCommand, discpage::MarksRemovalCaption,
                   discpage::finishMarksRemoval},
};

}  // namespace

std::span<const PendingCommand> pendingCommands() { return Commands; }

}  // namespace catalogue
