#include "copies/send_to.h"

#include "platform/files/drive_table.h"

namespace copies {

std::string driveDTarget(const platform::files::DriveTable& drives) {
    const platform::files::DriveEntry* d = drives.find("D:");
    const bool folderDrive = d && d->kind == platform::files::DriveKind::Fixed;
    return std::string(folderDrive ? DriveDTarget : DriveDFallback);
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
