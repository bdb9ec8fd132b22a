#include "copies/send_to.h"

#include "copies/mirror_files.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/drive_table.h"
#include "platform/files/drives.h"
#include "platform/files/paths.h"
#include "platform/text/text.h"

namespace copies {

bool driveDIsFolderDrive(const platform::files::DriveTable& drives) {
    const platform::files::DriveEntry* d = drives.find("D:");
    return d && d->kind == platform::files::DriveKind::Fixed;
}

bool driveMapped(std::string_view path) {
    try {
        platform::files::requireReady(path);
        return true;
    } catch (const platform::Error&) {
        return false;
    }
}

std::string unmappedDriveMessage(std::string_view path) {
    const std::string drive = platform::text::ucase(path.substr(0, 2));
    return "驱动器 " + drive + " 不存在或没有映射到文件夹，请另选一个文件夹。";
}

std::string missingFolderMessage(std::string_view folder) {
    return "文件夹不存在：" + std::string(folder);
}

std::string readySendTarget(std::string_view target, bool makeWhenMissing) {
    namespace files = platform::files;
    const std::string folder = trimTargetFolder(target);
    if (!driveMapped(folder)) return unmappedDriveMessage(folder);
    files::ResolvedPath resolved;
    try {
        resolved = files::resolvePath(folder);
    } catch (const platform::Error&) {
        return unmappedDriveMessage(folder);
    }
    if (resolved.exists) return {};
    if (!makeWhenMissing || resolved.nativeFolder.empty()) return missingFolderMessage(folder);
    // Made beneath the folder that holds it; a file in its place is no folder.
    try {
        const std::string name = resolved.native.substr(resolved.native.rfind('/') + 1);
        files::ConfinedRoot::openNative(resolved.nativeFolder).createFolders(name);
    } catch (const platform::Error& e) {
        return "不能建立文件夹: " + folder + e.description();
    }
    return {};
}

std::string ownFolderTarget(std::string_view caption) {
    std::string target(caption);
    if (!target.empty() && target.back() == '\\') target.pop_back();
    return target + "\\";
}

std::string sendErrorText(bool folder) {
    std::string s = "可能有以下原因:\r\n1.你放错了光盘或者光驱中无光盘！\r\n";
    s += folder ? "2.硬盘上可能已经有同名文件夹！" : "2.硬盘上可能已经有同名文件！";
    s += "\r\n3.光盘或光驱有问题，读不出文件！";
    return s;
}

}  // namespace copies
