#include "catalogue/pending_work.h"

#include "catalogue/index_line.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"

namespace catalogue {

namespace files = platform::files;

std::string PendingWork::field(std::string_view key) const {
    for (const auto& [k, v] : fields)
        if (k == key) return v;
    return {};
}

std::vector<std::string> PendingWork::valuesOf(std::string_view key) const {
    std::vector<std::string> values;
    for (const auto& [k, v] : fields)
        if (k == key) values.push_back(v);
    return values;
}

bool PendingWork::has(std::string_view key) const {
    for (const auto& field : fields)
        if (field.first == key) return true;
    return false;
}

bool PendingWork::holdsKeys(std::initializer_list<std::string_view> required,
                            std::initializer_list<std::string_view> optional) const {
    for (const std::string_view key : required)
        if (!has(key)) return false;
    for (const auto& field : fields) {
        bool known = field.first == "owner";
        for (const auto& keys : {required, optional})
            for (const std::string_view key : keys) known = known || field.first == key;
        if (!known) return false;
    }
    return true;
}

PendingWork& PendingWork::add(std::string key, std::string value) {
    fields.emplace_back(std::move(key), std::move(value));
    return *this;
}

std::string formatPendingWork(const PendingWork& work) {
    std::string text = work.command + "\r\n";
    for (const auto& [key, value] : work.fields) text += key + "=" + value + "\r\n";
    return text;
}

namespace {

bool holdsControlCharacter(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return true;
    return false;
}

bool isKey(std::string_view key) {
    if (key.empty()) return false;
    for (const char c : key)
        if (c < 'a' || c > 'z') return false;
    return true;
}

}  // namespace

std::optional<PendingWork> parsePendingWork(std::string_view text) {
    // The lines, each ended by CR LF (the last one may lack it).
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
    if (lines.empty()) return std::nullopt;
    std::optional<PendingWork> work;
    for (const std::string_view line : lines) {
        if (line.empty() || holdsControlCharacter(line)) return std::nullopt;
        if (!work) {
            work = PendingWork{std::string(line), {}};
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || !isKey(line.substr(0, equals))) return std::nullopt;
        work->add(std::string(line.substr(0, equals)), std::string(line.substr(equals + 1)));
    }
    return work;
}

// ---- outcomes ----

FinishOutcome nothingLeft() { return {}; }

FinishOutcome finishedNow(bool finished) {
    FinishOutcome outcome;
    outcome.changed = true;
    outcome.finished = finished;
    return outcome;
}

FinishOutcome waitingFor(std::string path, const platform::Error& e, bool removal) {
    FinishOutcome outcome;
    outcome.state = FinishOutcome::State::Waiting;
    outcome.path = std::move(path);
    outcome.reason = e.description();
    outcome.removal = removal;
    return outcome;
}

FinishOutcome notUnderstood(std::string why) {
    FinishOutcome outcome;
    outcome.state = FinishOutcome::State::NotUnderstood;
    outcome.finished = false;
    outcome.why = std::move(why);
    return outcome;
}

const PendingCommand* findPendingCommand(std::string_view command) {
    for (const PendingCommand& entry : pendingCommands())
        if (entry.command == command) return &entry;
    return nullptr;
}

namespace {

bool mayBeLeft = false;
// The scopes of this process that are alive (a command running).
int liveScopes = 0;

// What the record waits for, as last told in this run.
struct Waiting {
    std::string caption, path, reason;
    bool removal = false;
    bool operator==(const Waiting&) const = default;
};
std::optional<Waiting> waiting;

constexpr std::string_view OwnerKey = "owner";
// The text of a refusal of the confined layer (platform/files/confined.h).
constexpr std::string_view OutsideFolderText = "路径不在允许的文件夹里：";

std::string captionOf(std::string_view command) {
    const PendingCommand* entry = findPendingCommand(command);
    return entry ? std::string(entry->caption) : std::string(command);
}

std::string refusalText(std::string_view programFolder) {
    if (waiting)
        return "上次没有做完的“" + waiting->caption + "”还需要" +
               (waiting->removal ? "删除：" : "写入：") + waiting->path + waiting->reason;
    try {
        if (const auto work =
                parsePendingWork(files::WholeFileRead(pendingWorkFilePath(programFolder))))
            return "上次没有做完的“" + captionOf(work->command) + "”还没有完成";
    } catch (const platform::Error&) {
    }
    return std::string(PendingWorkLeftText);
}

// The refusals are told by their own text; this marks them.
constexpr std::string_view RefusalMark = "上次没有做完的";

// The owner lock of the index folder; Unavailable when it cannot be taken
// at all.
files::FolderLock ownerLock(const files::ConfinedRoot& folder,
                            files::FolderLock::Outcome& outcome) {
    try {
        return files::FolderLock::tryAcquire(folder.nativePath(), outcome);
    } catch (const platform::Error&) {
        outcome = files::FolderLock::Outcome::Unavailable;
        return {};
    }
}

void removeRecord(const files::ConfinedRoot& folder) noexcept {
    try {
        folder.remove(PendingWorkFileName, files::ReadOnlyToo::Yes);
        mayBeLeft = false;
        waiting.reset();
    } catch (const platform::Error& e) {
        mayBeLeft = e.number() != platform::err::FileNotFound;
        if (!mayBeLeft) waiting.reset();
    } catch (...) {
    }
}

FinishOutcome runFinisher(std::string_view programFolder, const PendingWork& work) {
    const PendingCommand* entry = findPendingCommand(work.command);
    if (!entry) return notUnderstood("命令未知");
    FinishOutcome outcome;
    try {
        outcome = entry->finish(programFolder, work);
    } catch (const platform::Error& e) {
        // A finisher that raises waits for what raised.
        outcome = waitingFor(std::string(), e);
    }
    // A path the confined layer refuses leads out of the command's folder:
    // no retry can finish it, and the record is not acted on.
    if (outcome.state == FinishOutcome::State::Waiting &&
        outcome.reason.starts_with(OutsideFolderText))
        return notUnderstood(outcome.reason);
    return outcome;
}

}  // namespace

bool pendingWorkMayBeLeft() { return mayBeLeft; }

void setPendingWorkMayBeLeft(bool left) { mayBeLeft = left; }

bool isPendingWorkRefusal(const platform::Error& e) {
    return e.number() == platform::err::PathFileAccess &&
           std::string_view(e.description()).starts_with(RefusalMark);
}

std::string pendingWorkBeginMessage(const platform::Error& e, std::string otherwise) {
    return isPendingWorkRefusal(e) ? e.description() : otherwise;
}

// ---- the scope ----

PendingWorkScope::PendingWorkScope(std::string_view programFolder, PendingWork work)
    : programFolder_(programFolder), work_(std::move(work)) {
    ++liveScopes;
    struct Counted {
        bool done = false;
        ~Counted() {
            if (!done) --liveScopes;
        }
    } counted;
    const files::ConfinedRoot folder = openIndexFolder(programFolder_);
    files::FolderLock::Outcome outcome{};
    lock_ = ownerLock(folder, outcome);
    if (outcome == files::FolderLock::Outcome::Held || folder.exists(PendingWorkFileName)) {
        // Looked at again before the next event (a record no command of
        // this run left is then dealt with, or set aside).
        mayBeLeft = true;
        platform::raise(platform::err::PathFileAccess, refusalText(programFolder_));
    }
    // Where no lock can be taken, the record names its owner.
    const std::string owner = files::processIdentity();
    if (!owner.empty()) work_.add(std::string(OwnerKey), owner);
    mayBeLeft = true;
    files::WholeFileRewrite(folder, PendingWorkFileName, formatPendingWork(work_));
    counted.done = true;
}

PendingWorkScope::PendingWorkScope(PendingWorkScope&& other) noexcept
    : programFolder_(std::move(other.programFolder_)),
      work_(std::move(other.work_)),
      lock_(std::move(other.lock_)),
      ended_(std::exchange(other.ended_, true)) {
    ++liveScopes;
}

PendingWorkScope::~PendingWorkScope() { --liveScopes; }

void rewritePendingWork(std::string_view programFolder, const PendingWork& work) {
    mayBeLeft = true;
    files::WholeFileRewrite(openIndexFolder(programFolder), PendingWorkFileName,
                            formatPendingWork(work));
}

void PendingWorkScope::update(PendingWork work) {
    const std::string owner = work_.field(OwnerKey);
    work_ = std::move(work);
    if (!owner.empty() && !work_.has(OwnerKey)) work_.add(std::string(OwnerKey), owner);
    rewritePendingWork(programFolder_, work_);
}

void PendingWorkScope::done() noexcept {
    if (ended_) return;
    ended_ = true;
    try {
        removeRecord(openIndexFolder(programFolder_));
    } catch (...) {
    }
}

FinishOutcome PendingWorkScope::settle() {
    const FinishOutcome outcome = runFinisher(programFolder_, work_);
    if (outcome.settled()) {
        done();
    } else if (outcome.state == FinishOutcome::State::Waiting) {
        waiting = Waiting{captionOf(work_.command), outcome.path, outcome.reason, outcome.removal};
    }
    return outcome;
}

std::string PendingWorkScope::keep(const std::string& path, const platform::Error& e,
                                   bool removal) {
    const std::string caption = captionOf(work_.command);
    waiting = Waiting{caption, path, e.description(), removal};
    mayBeLeft = true;
    return pendingWorkWaitingMessage(caption, path, e.description(), removal);
}

// ---- the start and the events ----

namespace {

// The record set aside under a new name in the index folder, and the one
// message that names both files.
std::string setAside(std::string_view programFolder, const files::ConfinedRoot& folder,
                     std::string_view today, const std::string& why) {
    const std::string path = pendingWorkFilePath(programFolder);
    std::string told = "无法识别上次没有做完的操作的记录：\r\n" + path + "\r\n（" + why + "）\r\n";
    std::optional<platform::Error> failure;
    for (int n = 1; n < 100; ++n) {
        const std::string name = "pending-" + std::string(today) +
                                 (n == 1 ? std::string() : "-" + std::to_string(n)) + ".bad";
        try {
            folder.rename(PendingWorkFileName, name, files::OnExisting::Refuse);
            waiting.reset();
            mayBeLeft = false;
            return told + "它已经改名为：\r\n" + indexFolderPath(programFolder) + "\\" + name +
                   "\r\n程序没有按它修改任何文件。";
        } catch (const platform::Error& e) {
            failure = e;
            if (e.number() != platform::err::FileExists) break;
        }
    }
    mayBeLeft = true;
    return told + "不能把它改名：" + (failure ? failure->description() : std::string());
}

}  // namespace

std::vector<std::string> dealWithPendingWork(std::string_view programFolder,
                                             const platform::system::SettingsStore& settings,
                                             std::string_view today, bool atStart) {
    if (atStart) waiting.reset();
    std::optional<files::ConfinedRoot> folder;
    try {
        folder.emplace(openIndexFolder(programFolder));
    } catch (const platform::Error&) {
        mayBeLeft = false;
        return {};
    }
    if (!folder->exists(PendingWorkFileName)) {
        mayBeLeft = false;
        waiting.reset();
        return {};
    }
    const std::string path = pendingWorkFilePath(programFolder);
    std::optional<PendingWork> work;
    std::string unreadable;
    try {
        const std::string text = files::WholeFileRead(path);
        work = parsePendingWork(text);
        if (!work)
            unreadable = text.find_first_not_of("\r\n") == std::string::npos ? "记录是空的"
                                                                             : "记录的格式不对";
    } catch (const platform::Error& e) {
        unreadable = e.description();
    }

    // A live owner's record is left alone.
    files::FolderLock::Outcome outcome{};
    const files::FolderLock lock = ownerLock(*folder, outcome);
    const std::string caption = work ? captionOf(work->command) : std::string("操作");
    if (outcome == files::FolderLock::Outcome::Held) {
        mayBeLeft = false;
        if (!atStart) return {};
        return {"“" + caption + "”正在另一个运行中的程序里进行，它的记录留着不动：" + path};
    }
    if (outcome == files::FolderLock::Outcome::Unavailable) {
        const std::string owner = work ? work->field(OwnerKey) : std::string();
        // This process's record while none of its commands runs is one
        // a command of this run left.
        const std::optional<bool> running =
            !owner.empty() && owner == files::processIdentity() && liveScopes == 0
                ? std::optional<bool>(false)
                : files::processRunning(owner);
        if (running != false) {
            mayBeLeft = false;
            if (!atStart) return {};
            return {"不能确定做“" + caption + "”的程序是否已经结束，它的记录留着不动：" + path};
        }
    }

    if (!work) return {setAside(programFolder, *folder, today, unreadable)};
    const PendingCommand* entry = findPendingCommand(work->command);
    if (entry && entry->understood && !entry->understood(settings, programFolder, *work))
        return {setAside(programFolder, *folder, today, "记录里的索引文件或目标文件夹不对")};
    const FinishOutcome finished = runFinisher(programFolder, *work);
    switch (finished.state) {
        case FinishOutcome::State::NotUnderstood:
            return {setAside(programFolder, *folder, today, finished.why)};
        case FinishOutcome::State::Waiting: {
            mayBeLeft = true;
            const Waiting now{caption, finished.path, finished.reason, finished.removal};
            if (!atStart && waiting == now) return {};
            waiting = now;
            return {pendingWorkWaitingMessage(caption, finished.path, finished.reason,
                                              finished.removal)};
        }
        case FinishOutcome::State::Settled:
            break;
    }
    removeRecord(*folder);
    if (!finished.changed) return {};
    return {finished.told.empty() ? pendingWorkReport(caption, finished.finished) : finished.told};
}

void linkOrCopy(const files::ConfinedRoot& folder, const std::string& from, const std::string& to) {
    try {
        folder.hardLink(from, to);
    } catch (const platform::Error& linkFailure) {
        if (linkFailure.number() == platform::err::FileExists) throw;
        try {
            folder.copyInto(to, folder, from, files::OnExisting::Refuse);
        } catch (const platform::Error& copyFailure) {
            if (copyFailure.number() == platform::err::FileExists) throw linkFailure;
            throw;
        }
    }
}

std::optional<PendingWork> readPendingWork(std::string_view programFolder) {
    try {
        return parsePendingWork(files::WholeFileRead(pendingWorkFilePath(programFolder)));
    } catch (const platform::Error&) {
        return std::nullopt;
    }
}

std::string pendingWorkFilePath(std::string_view programFolder) {
    return indexFolderPath(programFolder) + "\\" + std::string(PendingWorkFileName);
}

std::string pendingWorkReport(std::string_view caption, bool finished) {
    return "上次没有做完的“" + std::string(caption) + "”已经" + (finished ? "完成" : "撤销") + "。";
}

std::string pendingWorkWaitingMessage(std::string_view caption, std::string_view path,
                                      std::string_view reason, bool removal) {
    return std::string(removal ? "不能删除文件: " : "不能保存文件: ") + std::string(path) +
           std::string(reason) + "\r\n“" + std::string(caption) +
           "”还没有做完，将在下次启动时完成。";
}

}  // namespace catalogue
