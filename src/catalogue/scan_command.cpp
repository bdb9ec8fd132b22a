// The scan command's texts and the rules it and the scan dialog name discs
// by (the command itself is Form1::maker_Click, form1_scan.cpp).
#include "catalogue/scan_command.h"

#include <cstdint>
#include <string>

#include "platform/files/paths.h"
#include "platform/text/text.h"

namespace catalogue {

namespace text = platform::text;

std::string groupThousands(std::int64_t n) {
    const std::uint64_t magnitude =
        n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    const std::string digits = std::to_string(magnitude);
    std::string grouped = n < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string scannedFolderName(std::string_view searchPath) {
    return text::mid(searchPath, text::inStrRev(searchPath, "\\") + 1);
}

std::string scanCountText(std::int64_t fileCount, std::int64_t dirCount) {
    return std::to_string(fileCount) + "个文件在" + std::to_string(dirCount + 1) + "个文件夹里";
}

std::string scanSizeText(std::string_view searchPath, std::int64_t total) {
    return "在" + std::string(searchPath) + "下所有文件的大小 = " + groupThousands(total) + " 字节";
}

std::string skippedNamesText(std::int64_t skipped) {
    return "有" + std::to_string(skipped) +
           "个文件或文件夹没有写进索引（名字不能保存、无法打开或链接到扫描的文件夹以外），已跳过！";
}

std::string scanFailedText(std::string_view reason) { return "扫描失败：" + std::string(reason); }

std::string missingCategoryText(std::string_view categoryPath) {
    return "分类［" + std::string(categoryPath) + "］已经不在分类文件里";
}

bool discNameIsPlainFileName(std::string_view name) {
    return platform::files::isWindowsName(name) && name.front() != ' ' && name.back() != ' ';
}

std::string discNumberTag(std::string_view number) {
    const std::size_t digits = text::len(number);
    if (digits < 1 || digits > 3) return {};
    // Built by appending: "literal" + string trips a false -Wrestrict in g++ 12.
    std::string tag = "[";
    tag.append(3 - digits, '0');
    tag.append(number);
    tag += ']';
    return tag;
}

bool scanPatternIsUsable(std::string_view pattern) {
    return !pattern.empty() && pattern.find_first_of("\\/") == std::string_view::npos;
}

std::string fileTitleOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

}  // namespace catalogue
