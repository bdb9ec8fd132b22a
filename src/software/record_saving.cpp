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

std::string finishRecordSaving(std::string_view programFolder, const catalogue::PendingWork& work) {
    const std::string name = work.field("name");
    const std::string category = work.field("category");
    const bool moved = work.field("moved") == "1";
    try {
        // The record's file not written (or written back as it was): the
        // saving never took effect.
        const ParsedRecord record = readRecordFile(programFolder, name);
        if (record[CategoryField].value_or("") != category) return {};
        // Filed in its category already: class.ini was written (for a moved
        // record the same write took its other lines away).
        const std::string text = readClassText(programFolder);
        if (isRecordFiledUnder(text, category, name)) return {};
        const std::optional<std::string> filed = withRecordFiledOnce(text, category, name, moved);
        if (!filed) return {};
        writeClassText(programFolder, *filed);
        return catalogue::pendingWorkReport(RecordSavingCaption, true);
    } catch (const platform::Error&) {
        return {};
    }
}

}  // namespace software
