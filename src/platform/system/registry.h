// The registry key store: string values under textual key paths such as
// "HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Zelbrin" (root name included, parts
// joined by "\"). Key paths and value names compare without regard to ASCII
// case, as in the registry. Values are kept verbatim: leading and trailing
// blanks, CR, LF, backslashes and Chinese text come back exactly as written.
//
// A write into a key that does not exist has no effect: writers create the
// key first.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system/ini_file.h"

namespace platform::system {

// File name of the registry store in the configuration folder.
inline constexpr std::string_view registryFileName = "registry.ini";

class RegistryStore {
  public:
    virtual ~RegistryStore() = default;

    virtual bool keyExists(std::string_view key) const = 0;
    // Creates the key and every missing key above it; an existing key is left
    // as it is. False when the path is malformed (empty, an empty part, a CR
    // or LF in it) or the store could not be written; nothing changes then.
    virtual bool createKey(std::string_view key) = 0;
    // The value, or nothing when the key or the value is missing.
    virtual std::optional<std::string> query(std::string_view key, std::string_view name) const = 0;
    // Writes the value into an existing key. False, and no effect, when the
    // key is missing or the store could not be written.
    virtual bool set(std::string_view key, std::string_view name, std::string_view value) = 0;

    // Why the store's file could not be read when the store was made; nothing
    // when it was read or did not exist. Such a store starts empty and
    // refuses every write (createKey and set give false), so the file it
    // could not read is never replaced.
    virtual std::optional<LoadFailure> loadFailure() const = 0;
};

// The store held in memory only (tests). The file store below adds a file.
class MemoryRegistryStore : public RegistryStore {
  public:
    MemoryRegistryStore() = default;

    bool keyExists(std::string_view key) const override;
    bool createKey(std::string_view key) override;
    std::optional<std::string> query(std::string_view key, std::string_view name) const override;
    bool set(std::string_view key, std::string_view name, std::string_view value) override;
    std::optional<LoadFailure> loadFailure() const override { return loadFailure_; }

    // From now on the store acts as one whose file could not be read: it
    // reports why and refuses every write. The file store does this itself;
    // tests call it to stand for a file that could not be read.
    void refuseWrites(LoadFailure why) { loadFailure_ = std::move(why); }

  protected:
    explicit MemoryRegistryStore(LoadedIni loaded)
        : data_(std::move(loaded.data)), loadFailure_(std::move(loaded.failure)) {}
    using Edit = std::function<IniEdit(IniData&)>;
    // Applies one change to the store's data and makes it permanent: here
    // to the data held; the file store applies it to its file as it is now.
    // Nothing when it could not be made permanent (the change is dropped).
    virtual std::optional<IniEdit> update(const Edit& edit);
    // The data held from now on.
    void hold(IniData data) { data_ = std::move(data); }

  private:
    IniData data_;  // one section per key
    std::optional<LoadFailure> loadFailure_;
};

// The store kept in one file (see ini_file.h for its form), mode 0600 since
// it holds the log-in password in plain text. Every change rewrites the file
// atomically, so a failed write leaves the old file whole. Another instance
// of the program may write the same file: each change locks the file's
// folder, reads the file as it is now, changes only its own key in what it
// read and writes that back (updateIniFile), so no key another instance
// wrote is lost. Queries answer from the data held, which each change of
// this store refreshes from the file.
class FileRegistryStore final : public MemoryRegistryStore {
  public:
    // Reads the file; a missing file is an empty store. A file that exists
    // but cannot be read (no permission, a folder, a pipe or a device of that
    // name) is not waited on: the store starts empty, loadFailure() says why,
    // and every write is refused.
    explicit FileRegistryStore(std::filesystem::path file);

    const std::filesystem::path& file() const { return file_; }

  protected:
    std::optional<IniEdit> update(const Edit& edit) override;

  private:
    std::filesystem::path file_;
};

}  // namespace platform::system
