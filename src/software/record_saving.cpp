#include "software/record_saving.h"

#include "platform/error.h"
#include "software/class_file.h"
#include "software/record_file.h"

namespace software {

catalogue::PendingWork recordSavingWork(std::string_view name, std::string_view categoryPath,
                                        bool moved) {
    catalogue::PendingWork work{std::string(RecordSavingCommand), {}};
    work.add("name", std::string(name))
        .add("category", std::string(categoryPath))
        .add("moved", moved ? "1" : "0");
    return work;
}

std::optional<std::string> withRecordFiledOnce(std::string_view text, std::string_view categoryPath,
                                               std::string_view name, bool moved) {
    if (!moved && isRecordFiledUnder(text, categoryPath, name)) return std::string(text);
    return withRecordFiled(moved ? withoutRecordLines(text, name) : std::string(text), categoryPath,
                           name);
}

catalogue::FinishOutcome finishRecordSaving(std::string_view programFolder,
                                            const catalogue::PendingWork& work) {
    const std::string name = work.field("name");
    const std::string category = work.field("category");
    const std::string moved = work.field("moved");
    if (!work.holdsKeys({"name", "category", "moved"}) || !isPlainRecordName(name) ||
        category.empty() || (moved != "0" && moved != "1"))
        return catalogue::notUnderstood("记录里的软件说明不对");
    // The record's file not written (or written back as it was): the
    // saving never took effect.
    ParsedRecord record;
    try {
        record = readRecordFile(programFolder, name);
    } catch (const platform::Error& e) {
        if (e.number() == platform::err::FileNotFound) return catalogue::nothingLeft();
        return catalogue::waitingFor(recordFilePath(programFolder, name), e);
    }
    if (record[CategoryField].value_or("") != category) return catalogue::nothingLeft();
    // Filed in its category already: class.ini was written (for a moved
    // record the same write took its other lines away).
    try {
        const std::string text = readClassText(programFolder);
        if (isRecordFiledUnder(text, category, name)) return catalogue::nothingLeft();
        const std::optional<std::string> filed =
            withRecordFiledOnce(text, category, name, moved == "1");
        if (!filed) return catalogue::nothingLeft();
        writeClassText(programFolder, *filed);
    } catch (const platform::Error& e) {
        return catalogue::waitingFor(classFilePath(programFolder), e);
    }
    return catalogue::finishedNow();
}

}  // namespace software
