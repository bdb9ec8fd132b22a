#include "platform/system/registry.h"

#include <system_error>

namespace platform::system {

namespace {

// A key path is well formed when it has no empty part and no line break.
bool isWellFormedKey(std::string_view key) {
    if (key.empty() || key.front() == '\\' || key.back() == '\\') return false;
    return key.find("\\\\") == std::string_view::npos &&
           key.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace

bool MemoryRegistryStore::keyExists(std::string_view key) const {
    return data_.find(key) != nullptr;
}

bool MemoryRegistryStore::createKey(std::string_view key) {
    if (loadFailure_ || !isWellFormedKey(key)) return false;
    const std::optional<IniEdit> done = update([key](IniData& data) {
        if (data.find(key) != nullptr) return IniEdit::Unchanged;
        for (std::size_t sep = key.find('\\'); sep != std::string_view::npos;
             sep = key.find('\\', sep + 1))
            data.obtain(key.substr(0, sep));
        data.obtain(key);
        return IniEdit::Changed;
    });
    return done.has_value();
}

std::optional<std::string> MemoryRegistryStore::query(std::string_view key,
                                                      std::string_view name) const {
    const IniSection* section = data_.find(key);
    if (section == nullptr) return std::nullopt;
    const std::string* value = section->value(name);
    if (value == nullptr) return std::nullopt;
    return *value;
}

bool MemoryRegistryStore::set(std::string_view key, std::string_view name, std::string_view value) {
    if (loadFailure_) return false;
    const std::optional<IniEdit> done = update([&](IniData& data) {
        IniSection* section = data.find(key);
        if (section == nullptr) return IniEdit::Refused;
        const std::string* old = section->value(name);
        if (old != nullptr && *old == value) return IniEdit::Unchanged;
        section->put(name, value);
        return IniEdit::Changed;
    });
    return done && *done != IniEdit::Refused;
}

std::optional<IniEdit> MemoryRegistryStore::update(const Edit& edit) {
    IniData next = data_;
    const IniEdit outcome = edit(next);
    if (outcome == IniEdit::Changed) data_ = std::move(next);
    return outcome;
}

FileRegistryStore::FileRegistryStore(std::filesystem::path file)
    : MemoryRegistryStore(loadIniStore(file)), file_(std::move(file)) {}

std::optional<IniEdit> FileRegistryStore::update(const Edit& edit) {
    try {
        IniUpdate done = updateIniFile(file_, edit);
        hold(std::move(done.data));
        return done.outcome;
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

}  // namespace platform::system
