#include "platform/system/settings_store.h"

#include <stdexcept>

#include "platform/error.h"

namespace platform::system {

namespace {

std::string sectionName(std::string_view app, std::string_view section) {
    std::string name;
    name.reserve(app.size() + 1 + section.size());
    name.append(app).append("\\").append(section);
    return name;
}

}  // namespace

std::string MemorySettingsStore::get(std::string_view app, std::string_view section,
                                     std::string_view key, std::string_view defaultValue) const {
    if (const IniSection* s = data_.find(sectionName(app, section)))
        if (const std::string* value = s->value(key)) return *value;
    return std::string(defaultValue);
}

void MemorySettingsStore::save(std::string_view app, std::string_view section, std::string_view key,
                               std::string_view value) {
    if (loadFailure_)
        platform::raise(platform::err::PathFileAccess,
                        "设置文件“" + loadFailure_->file + "”在启动时无法读取，程序不会覆盖它");
    std::string name = sectionName(app, section);
    if (name.find_first_of("\r\n") != std::string::npos)
        throw std::invalid_argument("a settings section name cannot hold a line break");
    update([&](IniData& data) {
        IniSection& s = data.obtain(name);
        const std::string* old = s.value(key);
        if (old != nullptr && *old == value) return IniEdit::Unchanged;
        s.put(key, value);
        return IniEdit::Changed;
    });
}

void MemorySettingsStore::update(const Edit& edit) {
    IniData next = data_;
    if (edit(next) == IniEdit::Changed) data_ = std::move(next);
}

FileSettingsStore::FileSettingsStore(std::filesystem::path file)
    : MemorySettingsStore(loadIniStore(file)), file_(std::move(file)) {}

void FileSettingsStore::update(const Edit& edit) { hold(updateIniFile(file_, edit).data); }

}  // namespace platform::system
