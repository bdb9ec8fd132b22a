#include "software/record_renaming.h"

#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"
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

catalogue::FinishOutcome finishRecordRename(std::string_view programFolder,
                                            const catalogue::PendingWork& work) {
    const std::string oldName = work.field("old");
    const std::string newName = work.field("new");
    if (!work.holdsKeys({"old", "new"}) || !isPlainRecordName(oldName) ||
        !isPlainRecordName(newName) || oldName == newName)
        return catalogue::notUnderstood("记录里的软件名不对");
    bool switched = false;
    try {
        switched = holdsRecordLine(readClassText(programFolder), newName);
    } catch (const platform::Error& e) {
        return catalogue::waitingFor(classFilePath(programFolder), e);
    }
    const std::string goneName = switched ? oldName : newName;
    const std::string gone = recordFileName(goneName);
    const std::string kept = recordFileName(switched ? newName : oldName);
    try {
        const platform::files::ConfinedRoot records = openSoftwareFolder(programFolder);
        // The name that stays must hold the record before the other goes;
        // each is the file that reads find under it (a record brought over
        // from Windows may be spelt in another letter case), and never the
        // same file under two spellings.
        const std::optional<std::string> goneFile = records.spellingOf(gone);
        const std::optional<std::string> keptFile = records.spellingOf(kept);
        if (!goneFile || !keptFile || *goneFile == *keptFile) return catalogue::nothingLeft();
        records.remove(*goneFile);
    } catch (const platform::Error& e) {
        // No software folder: no file to remove.
        if (e.number() == platform::err::PathNotFound) return catalogue::nothingLeft();
        return catalogue::waitingFor(recordFilePath(programFolder, goneName), e, true);
    }
    return catalogue::finishedNow(switched);
}

std::string withRecordName(std::string_view text, std::string_view name) {
    const std::string key = std::string(RecordKeys[NameField]) + std::string(KeyColon);
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\r', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos && line.substr(first).starts_with(key))
            out += std::string(line.substr(0, first)) + key + std::string(name);
        else
            out += line;
        start = end;
        // The break as it is.
        while (start < text.size() && (text[start] == '\r' || text[start] == '\n'))
            out += text[start++];
    }
    return out;
}

}  // namespace software
