// The registry procedures and two shell helpers shared by every form.
//
// Values are string values under one key path that names its root
// ("HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Zelbrin"). A read gives the value,
// "Error" when the key or value is missing or the value needs more than 254
// bytes in code page 936, or "" (nothing) when the path names no known root.
// A read drops leading blanks and keeps trailing ones. A write into a missing
// key has no effect, so writers create the key first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace platform {
class Form;
class Ui;
namespace system {
class RegistryStore;
}
}  // namespace platform

// The key that holds the program's settings "have_password", "Password",
// "Color" and "Path".
inline constexpr std::string_view SettingsKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Zelbrin";

// The longest value a read gives whole, in bytes of code page 936 (the read's
// buffer holds 255 bytes with the closing zero).
inline constexpr std::size_t MaxRegValueBytes = 254;

class Module1 {
  public:
    // The Windows path of a numbered shell folder (8 Recent, 16 desktop),
    // without a final "\"; "" when there is no such folder.
    using SpecialFolderLookup = std::function<std::string(int folderNumber)>;

    // The shown message box of a refused key path goes to ui. Without a
    // lookup of its own, special folders come from systemSpecialFolder.
    Module1(platform::system::RegistryStore& registry, platform::Ui& ui,
            SpecialFolderLookup specialFolders = {});

    // The value's text, "Error", or "" (see above).
    std::string GetRegValue(std::string_view keyPath, std::string_view valueName);
    // Creates the key and every missing key above it.
    void CreateRegKey(std::string_view keyPath);
    // Writes the value into an existing key; nothing happens when it is missing.
    void SetRegValue(std::string_view keyPath, std::string_view valueName, std::string_view value);

    // Splits keyPath into its root and its sub-key path (keyPath becomes the
    // sub-key path, "" when the path is a root name alone). A path that does
    // not begin with "HKEY_" or ends with "\" is refused with the box
    // "Incorrect Format:" LF LF path, and false is returned. root is 0 when the
    // root name is not known.
    bool ParseKeyPath(std::string& keyPath, std::int64_t& root);
    // The predefined root of an exact (case-sensitive) root name; 0 for any other.
    static std::int64_t RootKeyFromName(std::string_view rootName);

    // The folder's path followed by "\", or "".
    std::string GetSpecialFolderPath(int folderNumber);
    // This system's special folders: 16 the desktop folder (in Windows form,
    // through the drive table); "" for any other number (there is no folder
    // of recent documents here).
    static std::string systemSpecialFolder(int folderNumber);
    // The folder the user chose in the folder chooser (prompt as its title),
    // "" when cancelled.
    std::string BrowseForFolder(platform::Form& owner, std::string_view prompt);

  private:
    // The store's key for a path: "" when the path is refused or names no root.
    std::string storeKey(std::string_view keyPath);

    platform::system::RegistryStore& registry_;
    platform::Ui& ui_;
    SpecialFolderLookup specialFolders_;
};
