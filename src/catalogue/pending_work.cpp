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

PendingWork& PendingWork::add(std::string key, std::string value) {
    fields.emplace_back(std::move(key), std::move(value));
    return *this;
}

std::string formatPendingWork(const PendingWork& work) {
    std::string text = work.command + "\r\n";
    for (const auto& [key, value] : work.fields) text += key + "=" + value + "\r\n";
    return text;
}

std::optional<PendingWork> parsePendingWork(std::string_view text) {
    std::optional<PendingWork> work;
    files::forEachRawLine(text, [&](std::string_view line) {
        if (!work) {
            if (!line.empty()) work = PendingWork{std::string(line), {}};
            return;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return;
        work->add(std::string(line.substr(0, equals)), std::string(line.substr(equals + 1)));
    });
    return work;
}

namespace {

bool mayBeLeft = false;

}  // namespace

bool pendingWorkMayBeLeft() { return mayBeLeft; }

void setPendingWorkMayBeLeft(bool left) { mayBeLeft = left; }

void beginPendingWork(const files::ConfinedRoot& indexFolder, const PendingWork& work) {
    if (indexFolder.exists(PendingWorkFileName))
        platform::raise(platform::err::PathFileAccess, std::string(PendingWorkLeftText));
    updatePendingWork(indexFolder, work);
}

void updatePendingWork(const files::ConfinedRoot& indexFolder, const PendingWork& work) {
    mayBeLeft = true;
    files::WholeFileRewrite(indexFolder, PendingWorkFileName, formatPendingWork(work));
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

void endPendingWork(const files::ConfinedRoot& indexFolder) noexcept {
    try {
        indexFolder.remove(PendingWorkFileName, files::ReadOnlyToo::Yes);
        mayBeLeft = false;
    } catch (const platform::Error& e) {
        mayBeLeft = e.number() != platform::err::FileNotFound;
    } catch (...) {
    }
}

std::string pendingWorkFilePath(std::string_view programFolder) {
    return indexFolderPath(programFolder) + "\\" + std::string(PendingWorkFileName);
}

std::optional<PendingWork> readPendingWork(std::string_view programFolder) {
    try {
        return parsePendingWork(files::WholeFileRead(pendingWorkFilePath(programFolder)));
    } catch (const platform::Error&) {
        return std::nullopt;
    }
}

std::string pendingWorkReport(std::string_view caption, bool finished) {
    return "上次没有做完的“" + std::string(caption) + "”已经" + (finished ? "完成" : "撤销") + "。";
}

}  // namespace catalogue
