// The start-up's repair of a multi-file command the last run left half-done:
// each command that records itself in pending.ini (catalogue/pending_work.h)
// has its own finisher here, which judges by the command's switch whether to
// finish it or take its new files away, and returns what to tell the user.
#include <optional>
#include <string>

#include "catalogue/index_line.h"
#include "catalogue/pending_discs.h"
#include "catalogue/pending_work.h"
#include "copies/mirror_run.h"
#include "mainwindow/file_command_work.h"
#include "mainwindow/form1.h"
#include "platform/files/confined.h"
#include "platform/ui/ui.h"

void Form1::completePendingWork() {
    const std::string& programFolder = app().ProgramFolder;
    const std::optional<catalogue::PendingWork> work = catalogue::readPendingWork(programFolder);
    // Until its record is removed, the work is looked at again before each
    // event.
    catalogue::setPendingWorkMayBeLeft(work.has_value());
    if (!work) return;
    std::string report;
    bool settled = true;  // false: a step failed; the record stays for the next start
    // Each command's finisher is called here by its name.
    if (const auto outcome = catalogue::settleDiscWork(programFolder, *work)) {
        // A disc's name changed, a disc deleted, an index file imported:
        // told only when something was left to finish or to take back.
        const std::string& caption =
            work->command == catalogue::ChangeDiscWork   ? ChangeOrder.caption()
            : work->command == catalogue::DeleteDiscWork ? DeleteThisCD.caption()
                                                         : import.caption();
        if (outcome->changed) report = catalogue::pendingWorkReport(caption, outcome->switched);
        settled = outcome->complete();
    } else if (work->command == copies::MirrorRunWork) {
        // A mirror copy run: a failed write leaves the record (it raises).
        report = catalogue::pendingWorkReport(copytag.caption(),
                                              copies::completeMirrorRun(programFolder, *work));
    } else if (auto told = finishFileCommandWork(programFolder, *work)) {
        report = *told;
    }
    const platform::files::ConfinedRoot folder = catalogue::openIndexFolder(programFolder);
    if (settled) catalogue::endPendingWork(folder);
    if (!report.empty()) ui().msgBox(report, platform::MsgButtons::OK, "提示");
}
