// The per-user settings store: text values by application, section and key
// ("Zelbrin", "Expiry", "yourfolder"). Names compare without regard to ASCII
// case; values are kept verbatim.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/system/ini_file.h"

namespace platform::system {

// File name of the settings store in the configuration folder; its sections
// are named application "\" section ("[Zelbrin\Expiry]").
inline constexpr std::string_view settingsFileName = "settings.ini";

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored value, or defaultValue when there is none.
    virtual std::string get(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view defaultValue) const = 0;
    // Stores the value. Throws std::invalid_argument for an application or
    // section name holding a line break, and std::system_error when the store
    // cannot be written (nothing changes then).
    virtual void save(std::string_view app, std::string_view section, std::string_view key,
                      std::string_view value) = 0;
};

// The store held in memory only (tests). The file store below adds a file.
class MemorySettingsStore : public SettingsStore {
public:
    MemorySettingsStore() = default;

    std::string get(std::string_view app, std::string_view section, std::string_view key,
                    std::string_view defaultValue) const override;
    void save(std::string_view app, std::string_view section, std::string_view key,
              std::string_view value) override;

protected:
    explicit MemorySettingsStore(IniData data) : data_(std::move(data)) {}
    // Makes a changed store permanent, or throws and the change is dropped.
    virtual void commit(const IniData& next);

private:
    IniData data_;
};

// The store kept in settings.ini, rewritten atomically (mode 0600) on every save.
class FileSettingsStore final : public MemorySettingsStore {
public:
    // Reads the file; a missing file is an empty store. Throws
    // std::system_error when the file exists but cannot be read.
    explicit FileSettingsStore(std::filesystem::path file);

    const std::filesystem::path& file() const { return file_; }

protected:
    void commit(const IniData& next) override;

private:
    std::filesystem::path file_;
};

}  // namespace platform::system
