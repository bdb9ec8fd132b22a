#include "mainwindow/module1.h"

#include <utility>

#include "platform/error.h"
#include "platform/files/paths.h"
#include "platform/system/registry.h"
#include "platform/system/shell.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace {

struct RootName {
    std::string_view name;
    std::int64_t root;
};

constexpr RootName RootNames[] = {
    {"HKEY_CLASSES_ROOT", 0x80000000},     {"HKEY_CURRENT_USER", 0x80000001},
    {"HKEY_LOCAL_MACHINE", 0x80000002},    {"HKEY_USERS", 0x80000003},
    {"HKEY_PERFORMANCE_DATA", 0x80000004}, {"HKEY_CURRENT_CONFIG", 0x80000005},
    {"HKEY_DYN_DATA", 0x80000006},
};

}  // namespace

Module1::Module1(platform::system::RegistryStore& registry, platform::Ui& ui,
                 SpecialFolderLookup specialFolders)
    : registry_(registry),
      ui_(ui),
      specialFolders_(specialFolders ? std::move(specialFolders)
                                     : SpecialFolderLookup(systemSpecialFolder)) {}

std::string Module1::systemSpecialFolder(int folderNumber) {
    constexpr int Desktop = 16;
    if (folderNumber != Desktop) return {};
    try {
        return platform::files::toWindows(platform::system::desktopFolder());
    } catch (const platform::Error&) {
        return {};
    }
}

std::int64_t Module1::RootKeyFromName(std::string_view rootName) {
    for (const auto& r : RootNames) {
        if (r.name == rootName) return r.root;
    }
    return 0;
}

bool Module1::ParseKeyPath(std::string& keyPath, std::int64_t& root) {
    if (!platform::text::startsWith(keyPath, "HKEY_") || platform::text::endsWith(keyPath, "\\")) {
        ui_.msgBox("Incorrect Format:\n\n" + keyPath, platform::MsgButtons::OK);
        return false;
    }
    const auto slash = keyPath.find('\\');
    std::string rootName = keyPath.substr(0, slash);
    keyPath = slash == std::string::npos ? std::string() : keyPath.substr(slash + 1);
    root = RootKeyFromName(rootName);
    return true;
}

std::string Module1::storeKey(std::string_view keyPath) {
    std::string subKey(keyPath);
    std::int64_t root = 0;
    if (!ParseKeyPath(subKey, root) || root == 0) return {};
    std::string key(keyPath.substr(0, keyPath.find('\\')));
    if (!subKey.empty()) key += "\\" + subKey;
    return key;
}

std::string Module1::GetRegValue(std::string_view keyPath, std::string_view valueName) {
    const std::string key = storeKey(keyPath);
    if (key.empty()) return {};
    if (!registry_.keyExists(key)) return "Error";
    const auto value = registry_.query(key, valueName);
    if (!value || platform::text::cp936Length(*value) > MaxRegValueBytes) return "Error";
    // The buffer holds the value, its zero and blanks; trimming both ends and
    // dropping the zero leaves the value without its leading blanks.
    return platform::text::ltrim(*value);
}

void Module1::CreateRegKey(std::string_view keyPath) {
    const std::string key = storeKey(keyPath);
    if (!key.empty()) registry_.createKey(key);
}

void Module1::SetRegValue(std::string_view keyPath, std::string_view valueName,
                          std::string_view value) {
    const std::string key = storeKey(keyPath);
    if (key.empty()) return;
    // A root key always exists; any other key must have been created.
    if (key.find('\\') == std::string::npos) registry_.createKey(key);
    registry_.set(key, valueName, value);
}

std::string Module1::GetSpecialFolderPath(int folderNumber) {
    const std::string folder = specialFolders_(folderNumber);
    return folder.empty() ? std::string() : folder + "\\";
}

std::string Module1::BrowseForFolder(platform::Form&, std::string_view prompt) {
    return ui_.browseForFolder(prompt);
}
