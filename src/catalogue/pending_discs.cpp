#include "catalogue/pending_discs.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/disc_trees.h"
#include "catalogue/index_line.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace catalogue {

namespace files = platform::files;

namespace {

// The steps of one settling, each run once in order; the first that fails
// ends the settling and is kept in the outcome.
class Settling {
  public:
    explicit Settling(std::string_view programFolder) : programFolder_(programFolder) {}

    // Runs a step that concerns the file at path; false when it (or an
    // earlier one) failed.
    bool step(const std::string& path, const std::function<void()>& body) {
        if (outcome_.failure) return false;
        try {
            body();
            return true;
        } catch (const platform::Error& e) {
            outcome_.failure = e;
            outcome_.failedPath = path;
            outcome_.failedRemoval = removing_;
            return false;
        }
    }

    // The catalogue's text; nothing when it cannot be read (then nothing
    // can be judged and nothing is done).
    std::optional<std::string> catalogueText() {
        std::optional<std::string> text;
        const std::string path = catalogueFilePath(programFolder_);
        step(path, [&] { text = readCatalogueText(path); });
        return text;
    }

    // "guangpan" as a root, opened at the first use.
    const files::ConfinedRoot* indexFolder() {
        if (!folder_)
            step(indexFolderPath(programFolder_),
                 [&] { folder_.emplace(openIndexFolder(programFolder_)); });
        return folder_ ? &*folder_ : nullptr;
    }

    std::string pathOf(std::string_view name) const {
        return indexFolderPath(programFolder_) + "\\" + std::string(name);
    }

    // Removes the file of exactly that name when there is one.
    void removeExactly(const std::string& name) {
        removing_ = true;
        step(pathOf(name), [&] {
            if (discFileSpelling(programFolder_, name) != name) return;
            if (const files::ConfinedRoot* folder = indexFolder()) {
                folder->remove(name, files::ReadOnlyToo::Yes);
                outcome_.changed = true;
            }
        });
        removing_ = false;
    }

    // Renames the file from (found as the look-ups find it) to `to`, unless
    // it is missing or bears that name already.
    void move(const std::string& from, const std::string& to) {
        step(pathOf(to), [&] {
            const std::optional<std::string> spelling = discFileSpelling(programFolder_, from);
            if (!spelling || *spelling == to) return;
            if (const files::ConfinedRoot* folder = indexFolder()) {
                folder->rename(*spelling, to, files::OnExisting::Replace);
                outcome_.changed = true;
            }
        });
    }

    // The mirror disc list names the disc by its new name.
    void renameInMirrorList(std::string_view oldName, std::string_view newName) {
        const std::string name(MirrorDiscListName);
        step(programFolder_ + "\\" + name, [&] {
            std::string text;
            try {
                text = files::WholeFileRead(programFolder_ + "\\" + name);
            } catch (const platform::Error& e) {
                if (e.number() == platform::err::FileNotFound) return;
                throw;
            }
            const std::optional<std::string> renamed =
                renameMirrorListLines(text, oldName, newName);
            if (!renamed || *renamed == text) return;
            files::WholeFileRewrite(openProgramFolder(programFolder_), name, *renamed);
            outcome_.changed = true;
        });
    }

    PendingOutcome& outcome() { return outcome_; }

  private:
    std::string programFolder_;
    std::optional<files::ConfinedRoot> folder_;
    PendingOutcome outcome_;
    bool removing_ = false;
};

void removeAll(Settling& settling, const std::vector<std::string>& names) {
    for (auto it = names.rbegin(); it != names.rend(); ++it) settling.removeExactly(*it);
}

}  // namespace

DiscRenamePlan::DiscRenamePlan(std::string oldName, std::string newName)
    : work_{std::string(ChangeDiscWork), {}} {
    work_.add("old", std::move(oldName)).add("new", std::move(newName));
}

void DiscRenamePlan::move(std::string from, std::string to) {
    work_.add("from", std::move(from)).add("to", std::move(to));
}

PendingWork discDeletion(std::string_view discName, std::string_view indexFile,
                         std::string_view noteFile, std::string_view usageFile) {
    PendingWork work{std::string(DeleteDiscWork), {}};
    work.add("name", std::string(discName));
    for (const std::string_view file : {indexFile, noteFile, usageFile})
        work.add("drop", std::string(file));
    return work;
}

PendingWork discImport(std::string_view discName, std::string_view indexFile) {
    PendingWork work{std::string(ImportWork), {}};
    work.add("name", std::string(discName)).add("make", std::string(indexFile));
    return work;
}

PendingOutcome settleChangeDisc(std::string_view programFolder, const PendingWork& work) {
    Settling settling(programFolder);
    const std::optional<std::string> text = settling.catalogueText();
    if (!text) return settling.outcome();
    const std::string oldName = work.field("old");
    const std::string newName = work.field("new");
    settling.outcome().switched = FindDiscLineExactly(*text, newName).has_value();
    if (!settling.outcome().switched) {
        removeAll(settling, work.valuesOf("make"));
        return settling.outcome();
    }
    const std::vector<std::string> from = work.valuesOf("from");
    const std::vector<std::string> to = work.valuesOf("to");
    for (std::size_t i = 0; i < from.size() && i < to.size(); ++i) settling.move(from[i], to[i]);
    for (const std::string& name : work.valuesOf("drop")) settling.removeExactly(name);
    settling.renameInMirrorList(oldName, newName);
    return settling.outcome();
}

PendingOutcome settleDeleteDisc(std::string_view programFolder, const PendingWork& work) {
    Settling settling(programFolder);
    const std::optional<std::string> text = settling.catalogueText();
    if (!text) return settling.outcome();
    settling.outcome().switched = !FindDiscLineExactly(*text, work.field("name"));
    if (settling.outcome().switched)
        for (const std::string& name : work.valuesOf("drop")) settling.removeExactly(name);
    return settling.outcome();
}

PendingOutcome settleImport(std::string_view programFolder, const PendingWork& work) {
    Settling settling(programFolder);
    const std::optional<std::string> text = settling.catalogueText();
    if (!text) return settling.outcome();
    settling.outcome().switched = FindDiscLineExactly(*text, work.field("name")).has_value();
    if (!settling.outcome().switched) removeAll(settling, work.valuesOf("make"));
    return settling.outcome();
}

namespace {

constexpr std::string_view DiscExtensions[] = {IndexExtension, ".note", ".exam"};
constexpr std::string_view StagedSuffix = ".new";

// The disc's file names; nothing for a name that could reach outside
// "guangpan".
std::optional<std::vector<std::string>> discFileNames(std::string_view disc) {
    std::vector<std::string> names;
    try {
        for (const std::string_view extension : DiscExtensions)
            names.push_back(discFileName(disc, extension));
    } catch (const platform::Error&) {
        return std::nullopt;
    }
    return names;
}

FinishOutcome asFinish(const PendingOutcome& outcome) {
    FinishOutcome finish =
        outcome.failure   ? waitingFor(outcome.failedPath, *outcome.failure, outcome.failedRemoval)
        : outcome.changed ? finishedNow(outcome.switched)
                          : nothingLeft();
    finish.finished = outcome.switched;
    return finish;
}

constexpr std::string_view NotOwnFile = "记录里有不是这张光盘的文件";
constexpr std::string_view MissingKeys = "记录缺少内容";

}  // namespace

FinishOutcome finishChangeDisc(std::string_view programFolder, const PendingWork& work) {
    if (!work.holdsKeys({"old", "new"}, {"make", "from", "to", "drop"}))
        return notUnderstood(std::string(MissingKeys));
    const auto oldFiles = discFileNames(work.field("old"));
    const auto newFiles = discFileNames(work.field("new"));
    if (!oldFiles || !newFiles) return notUnderstood(std::string(NotOwnFile));
    const auto isNew = [&](const std::string& name) {
        return std::ranges::find(*newFiles, name) != newFiles->end();
    };
    const auto isStaged = [&](const std::string& name) {
        return std::ranges::any_of(
            *newFiles, [&](const std::string& n) { return name == n + std::string(StagedSuffix); });
    };
    // An old file as it is spelt on disk (discFileSpelling): the old name's
    // file in any letter case.
    const auto isOld = [&](const std::string& name) {
        return std::ranges::any_of(*oldFiles, [&](const std::string& n) {
            return name.size() == n.size() && platform::text::startsWithIgnoringCase(name, n);
        });
    };
    const std::vector<std::string> from = work.valuesOf("from");
    const std::vector<std::string> to = work.valuesOf("to");
    bool own = from.size() == to.size();
    for (const std::string& name : work.valuesOf("make"))
        own = own && (isNew(name) || isStaged(name));
    for (const std::string& name : from) own = own && (isOld(name) || isStaged(name));
    for (const std::string& name : to) own = own && (isNew(name) || isOld(name));
    for (const std::string& name : work.valuesOf("drop")) own = own && isOld(name);
    if (!own) return notUnderstood(std::string(NotOwnFile));
    return asFinish(settleChangeDisc(programFolder, work));
}

namespace {

// A record of the disc "name" whose values of key are each one of its files
// (its index alone when indexOnly), settled by settle.
FinishOutcome finishNamedDisc(std::string_view programFolder, const PendingWork& work,
                              std::string_view key, bool indexOnly,
                              PendingOutcome (*settle)(std::string_view, const PendingWork&)) {
    if (!work.holdsKeys({"name"}, {key})) return notUnderstood(std::string(MissingKeys));
    const auto files = discFileNames(work.field("name"));
    if (!files) return notUnderstood(std::string(NotOwnFile));
    const std::size_t own = indexOnly ? 1 : files->size();
    for (const std::string& name : work.valuesOf(key))
        if (std::find(files->begin(), files->begin() + static_cast<std::ptrdiff_t>(own), name) ==
            files->begin() + static_cast<std::ptrdiff_t>(own))
            return notUnderstood(std::string(NotOwnFile));
    return asFinish(settle(programFolder, work));
}

}  // namespace

FinishOutcome finishDeleteDisc(std::string_view programFolder, const PendingWork& work) {
    return finishNamedDisc(programFolder, work, "drop", false, settleDeleteDisc);
}

FinishOutcome finishImport(std::string_view programFolder, const PendingWork& work) {
    return finishNamedDisc(programFolder, work, "make", true, settleImport);
}

std::optional<std::string> discFileSpelling(std::string_view programFolder, std::string_view name) {
    // A link counts by itself, wherever it leads.
    try {
        return openIndexFolder(programFolder).spellingOf(name);
    } catch (const platform::Error& e) {
        if (e.number() == platform::err::PathNotFound || e.number() == platform::err::FileNotFound)
            return std::nullopt;
        throw;
    }
}

}  // namespace catalogue
