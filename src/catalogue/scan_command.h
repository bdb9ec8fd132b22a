// The scan command: the texts it shows and the rules it and the scan dialog
// name discs by. The command itself is Form1::maker_Click (form1_scan.cpp).
//
// A scan never leaves a filed disc without a whole index file: the walk goes
// into a temporary file in "guangpan" that becomes <name>.wcd, synced to disk,
// only when the walk has succeeded (platform::files::CommittedTextFile), and
// the catalogue line and the tree nodes are added after that. A failed scan
// leaves the catalogue, the trees and "guangpan" as they were and says why.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace catalogue {

// Appended to the name of a disc scanned from a folder rather than from the
// CD drive's root: its paths are real paths.
inline constexpr std::string_view HardDiscSuffix = "_hard";
// True for the name of a catalogued hard-disk folder (exact letter case).
inline bool isHardDisc(std::string_view discName) {
    return discName.size() >= HardDiscSuffix.size() &&
           discName.substr(discName.size() - HardDiscSuffix.size()) == HardDiscSuffix;
}

// The title of the messages of the command, of the scan dialog and of the
// other commands that show it.
inline constexpr std::string_view TipTitle = "提示";

// The messages of the command (title TipTitle).
inline constexpr std::string_view NameTakenMessage = "这个名字已经存在！";
inline constexpr std::string_view IndexFileExistsMessage = "光盘名已经存在！请另起一个名字！";

// A whole number with its digits grouped by "," in threes ("654,321,000", "0").
std::string groupThousands(std::int64_t n);

// The folder's own name: the text after the last "\" ("" for "E:\", "pop"
// for "D:\music\pop").
std::string scannedFolderName(std::string_view searchPath);

// The status texts after a scan: "3个文件在4个文件夹里" (the scanned folder
// counts as a folder) and "在E:\下所有文件的大小 = 3,292 字节".
std::string scanCountText(std::int64_t fileCount, std::int64_t dirCount);
std::string scanSizeText(std::string_view searchPath, std::int64_t total);

// "有3个文件或文件夹没有写进索引（名字不能保存、无法打开或链接到扫描的文件夹以外），已跳过！":
// the entries the walk left out (WalkResult::skippedNames).
std::string skippedNamesText(std::int64_t skipped);

// "扫描失败：" + the reason: nothing was filed.
std::string scanFailedText(std::string_view reason);

// The reason given when the disc's category line is gone from the catalogue.
std::string missingCategoryText(std::string_view categoryPath);

// True when a disc name can be the base name of a file in "guangpan": not
// empty, none of \ / : * ? " < > | nor a control character, not "." or "..",
// no blank at its start or end.
bool discNameIsPlainFileName(std::string_view name);

// The number tag put in front of the name of a disc from the CD drive:
// "[007]" for "7", "[012]" for "12", "[123]" for "123", "" for a number of
// four or more characters (or none).
std::string discNumberTag(std::string_view number);

// True when a file pattern can be used for a scan: not empty, no "\" or "/".
bool scanPatternIsUsable(std::string_view pattern);

// The file title of a path: the text between its last "\" or "/" and its
// last "." (all of the text after the separator when it holds no ".").
std::string fileTitleOf(std::string_view path);

}  // namespace catalogue
