#include "copies/send_to.h"

#include "platform/error.h"
#include "platform/files/drive_table.h"
#include "platform/files/drives.h"
#include "platform/text/text.h"

namespace copies {

bool driveDIsFolderDrive(const platform::files::DriveTable& drives) {
    const platform::files::DriveEntry* d = drives.find("D:");
    return d && d->kind == platform::files::DriveKind::Fixed;
}

std::string driveDTarget(const platform::files::DriveTable& drives) {
    return std::string(driveDIsFolderDrive(drives) ? DriveDTarget : DriveDFallback);
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
