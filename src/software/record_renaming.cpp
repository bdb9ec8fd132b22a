#include "software/record_renaming.h"

#include "platform/error.h"
#include "platform/files/confined.h"
#include "software/class_file.h"
#include "software/record_file.h"

namespace software {

catalogue::PendingWork recordRenameWork(std::string_view oldName, std::string_view newName) {
    catalogue::PendingWork work{std::string(RecordRenameCommand), {}};
    work.add("old", std::string(oldName)).add("new", std::string(newName));
    return work;
}

bool holdsRecordLine(std::string_view text, std::string_view name) {
    for (const ClassLineSpan& span : classLineSpans(text)) {
        const ClassLine line = parseClassLine(span.line(text));
        if (line.kind == ClassLineKind::Record && line.name == name) return true;
    }
    return false;
}

std::string finishRecordRename(std::string_view programFolder, const catalogue::PendingWork& work) {
    const std::string oldName = work.field("old");
    const std::string newName = work.field("new");
    if (!isPlainRecordName(oldName) || !isPlainRecordName(newName) || oldName == newName) return {};
    try {
        const bool switched = holdsRecordLine(readClassText(programFolder), newName);
        const std::string gone = recordFileName(switched ? oldName : newName);
        const std::string kept = recordFileName(switched ? newName : oldName);
        const platform::files::ConfinedRoot records = openSoftwareFolder(programFolder);
        // The name that stays must hold the record before the other goes.
        if (!records.exists(gone) || !records.exists(kept)) return {};
        records.remove(gone);
        return catalogue::pendingWorkReport(RecordRenameCaption, switched);
    } catch (const platform::Error&) {
        return {};
    }
}

}  // namespace software
