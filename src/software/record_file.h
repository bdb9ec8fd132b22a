// The software record file: programFolder\software\<name>.txt, one per
// described package. Exactly twelve lines, in this order, each its key, the
// full-width colon "：" and the field's text as the form holds it:
//
//   软件名称：FlashGet          软件分类：工具\网络\下载
//   软件版本：1.4               软件序列号：
//   软件类型：免费软件          软件主页：http://
//   软件大小：2M                下载网址：
//   软件作者：                  软件等级：5
//   邮箱地址：                  软件简介：...
//
// Code page 936, every line ended by CR LF. Every CR LF pair of the
// description is removed when the text is made (a lone CR or LF stays).
//
// The reader: a line ends at CR, with or without an LF after it; it is
// trimmed of blanks and split at its first "："; the key (before it) is
// compared exactly, untrimmed; the value (after it) is trimmed. Unknown keys
// are ignored and the last line of a key wins.
//
// A record's name is its file's base name, the key and text of its node in
// the software tree and the name in its "{#$}" line of class.ini. Only a
// plain name (isPlainRecordName) is ever made into a path.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/confined.h"

namespace software {

inline constexpr std::string_view SoftwareFolderName = "software";
inline constexpr std::string_view RecordExtension = ".txt";
inline constexpr std::string_view KeyColon = "：";

// The twelve fields, in the file's order.
enum RecordField : std::size_t {
    NameField,
    VersionField,
    KindField,
    SizeField,
    AuthorField,
    EmailField,
    CategoryField,
    RegisterCodeField,
    HomepageField,
    DownloadingField,
    RankField,
    DescriptionField,
};
inline constexpr std::size_t RecordFieldCount = 12;

inline constexpr std::array<std::string_view, RecordFieldCount> RecordKeys = {
    "软件名称", "软件版本",   "软件类型", "软件大小", "软件作者", "邮箱地址",
    "软件分类", "软件序列号", "软件主页", "下载网址", "软件等级", "软件简介",
};

using RecordValues = std::array<std::string, RecordFieldCount>;

// What a record file gives: the value of each key it holds (its last line),
// nothing for a key it lacks.
using ParsedRecord = std::array<std::optional<std::string>, RecordFieldCount>;

// The file's text: twelve lines, each ended by CR LF; the description
// without its CR LF pairs.
std::string formatRecordText(const RecordValues& values);

// The fields a record text holds.
ParsedRecord parseRecordText(std::string_view text);

// A name that may be a record file's base name: not empty, not "." or "..",
// no blank at either end, none of \ / : * ? " < > |, no control character,
// and well-formed text.
bool isPlainRecordName(std::string_view name);

// The name folded for comparing names without regard to case: Unicode simple
// lower case (full-width Latin letters too).
std::string foldRecordName(std::string_view name);

// The record that a name shown on the screen holds (a file's name on the
// disc page): of the record names, in their list order, the first that the
// subject holds as it is written; when none, the first that it holds with
// letter case ignored, unless another record name differs from that one in
// letter case alone (then nothing tells which is meant).
struct HeldRecordName {
    std::optional<std::size_t> index;  // the record found
    bool caseTwins = false;            // refused: names that differ in letter case alone
};
HeldRecordName findHeldRecordName(std::string_view subject, const std::vector<std::string>& names);

// programFolder + "\software".
std::string softwareFolderPath(std::string_view programFolder);
// programFolder + "\software\" + name + ".txt".
std::string recordFilePath(std::string_view programFolder, std::string_view name);
// name + ".txt": the record's file in the software folder; 52 for a name that
// is not plain.
std::string recordFileName(std::string_view name);
// The software folder as the root every change to a record goes through,
// opened beneath the program folder (76 when it is missing, 75 when it is a
// link that leads out of the program folder).
platform::files::ConfinedRoot openSoftwareFolder(std::string_view programFolder);

// Reads the record of a name. Raises 52 for a name that is not plain, and
// the errors of reading a stored file (53 missing, 75, 70, ...).
ParsedRecord readRecordFile(std::string_view programFolder, std::string_view name);

// The outcome of opening a record's file for reading: 0 when it opens, else
// the error number (53 when there is no such file; 52 for a name that is
// not plain).
int probeRecordFile(std::string_view programFolder, std::string_view name);

// Writes the record of a name (created or replaced) through the
// committed-write path. Raises 52 for a name that is not plain, 75 when the
// file's place resolves outside the software folder (a link out), and the
// errors of writing.
void writeRecordFile(std::string_view programFolder, std::string_view name,
                     const RecordValues& values);

}  // namespace software
