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
    if (keyExists(key)) return true;
    IniData next = data_;
    for (std::size_t sep = key.find('\\'); sep != std::string_view::npos;
         sep = key.find('\\', sep + 1))
        next.obtain(key.substr(0, sep));
    next.obtain(key);
    if (!commit(next)) return false;
    data_ = std::move(next);
    return true;
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
    if (loadFailure_ || !keyExists(key)) return false;
    IniData next = data_;
    next.find(key)->put(name, value);
    if (!commit(next)) return false;
    data_ = std::move(next);
    return true;
}

bool MemoryRegistryStore::commit(const IniData&) { return true; }

FileRegistryStore::FileRegistryStore(std::filesystem::path file)
    : MemoryRegistryStore(loadIniStore(file)), file_(std::move(file)) {}

bool FileRegistryStore::commit(const IniData& next) {
    try {
        saveIniFile(file_, next);
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

}  // namespace platform::system
