#include "software/record_deleting.h"

#include <string>

#include "platform/error.h"
#include "platform/files/confined.h"
#include "software/class_file.h"
#include "software/record_file.h"
#include "software/record_renaming.h"

namespace software {

catalogue::PendingWork recordDeleteWork(std::string_view name) {
    catalogue::PendingWork work{std::string(RecordDeleteCommand), {}};
    work.add("name", std::string(name));
    return work;
}

catalogue::FinishOutcome finishRecordDelete(std::string_view programFolder,
                                            const catalogue::PendingWork& work) {
    const std::string name = work.field("name");
    if (!work.holdsKeys({"name"}) || !isPlainRecordName(name))
        return catalogue::notUnderstood("记录里的软件名不对");
    try {
        if (holdsRecordLine(readClassText(programFolder), name)) return catalogue::nothingLeft();
    } catch (const platform::Error& e) {
        return catalogue::waitingFor(classFilePath(programFolder), e);
    }
    try {
        const platform::files::ConfinedRoot records = openSoftwareFolder(programFolder);
        // The file that reads find for the record (spelt in another letter
        // case when it came so from Windows).
        const std::optional<std::string> file = records.spellingOf(recordFileName(name));
        if (!file) return catalogue::nothingLeft();
        records.remove(*file);
    } catch (const platform::Error& e) {
        // No software folder: no file to remove.
        if (e.number() == platform::err::PathNotFound) return catalogue::nothingLeft();
        return catalogue::waitingFor(recordFilePath(programFolder, name), e, true);
    }
    return catalogue::finishedNow();
}

}  // namespace software
