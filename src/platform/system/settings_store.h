// The per-user settings store: text values by application, section and key
// ("Zelbrin", "Expiry", "yourfolder"). Names compare without regard to ASCII
// case; values are kept verbatim.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
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
    // section name holding a line break, std::system_error when the store
    // cannot be written, and platform::Error 75 when its file could not be
    // read (see loadFailure); nothing changes then.
    virtual void save(std::string_view app, std::string_view section, std::string_view key,
                      std::string_view value) = 0;

    // Why the store's file could not be read when the store was made; nothing
    // when it was read or did not exist. Such a store starts empty (every
    // value is its default) and refuses every save, so the file it could not
    // read is never replaced.
    virtual std::optional<LoadFailure> loadFailure() const = 0;
};

// The store held in memory only (tests). The file store below adds a file.
class MemorySettingsStore : public SettingsStore {
  public:
    MemorySettingsStore() = default;

    std::string get(std::string_view app, std::string_view section, std::string_view key,
                    std::string_view defaultValue) const override;
    void save(std::string_view app, std::string_view section, std::string_view key,
              std::string_view value) override;
    std::optional<LoadFailure> loadFailure() const override { return loadFailure_; }

    // From now on the store acts as one whose file could not be read: it
    // reports why and refuses every save. The file store does this itself;
    // tests call it to stand for a file that could not be read.
    void refuseWrites(LoadFailure why) { loadFailure_ = std::move(why); }

  protected:
    explicit MemorySettingsStore(LoadedIni loaded)
        : data_(std::move(loaded.data)), loadFailure_(std::move(loaded.failure)) {}
    using Edit = std::function<IniEdit(IniData&)>;
    // Applies one change to the store's data and makes it permanent, or
    // throws and the change is dropped: here to the data held; the file
    // store applies it to its file as it is now.
    virtual void update(const Edit& edit);
    // The data held from now on.
    void hold(IniData data) { data_ = std::move(data); }

  private:
    IniData data_;
    std::optional<LoadFailure> loadFailure_;
};

// The store kept in settings.ini, rewritten atomically (mode 0600) on every
// save. As the registry's file store, each save changes only its own key in
// the file as it is now, under a lock on the file's folder (updateIniFile),
// so what another instance saved is kept; get answers from the data held,
// which each save refreshes from the file.
class FileSettingsStore final : public MemorySettingsStore {
  public:
    // Reads the file; a missing file is an empty store. A file that exists
    // but cannot be read (no permission, a folder, a pipe or a device of that
    // name) is not waited on: the store starts empty, loadFailure() says why,
    // and every save is refused.
    explicit FileSettingsStore(std::filesystem::path file);

    const std::filesystem::path& file() const { return file_; }

  protected:
    void update(const Edit& edit) override;

  private:
    std::filesystem::path file_;
};

}  // namespace platform::system
