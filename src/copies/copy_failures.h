// The files a command could not write or copy, told as the program tells
// them: a refusal of the confined layer by its own text ("路径不在允许的文件
// 夹里：" and the path), any other failure as "不能保存文件: " + the path +
// the reason (a full disk "磁盘已满", ...), or, for a file that could not be
// read, "不能读取文件: " + its path + the reason. A run of many files (the
// folder page with its download copies, the sitemap with its support files)
// tells its failures in one box at its end, one file on each line (lines
// end CR LF, as in every box): the first
// FailuresShown, then "……共N个文件没有拷贝。" with the number of them all.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class Error;
}

namespace copies {

inline constexpr std::string_view CannotSave = "不能保存文件: ";
inline constexpr std::string_view CannotRead = "不能读取文件: ";
inline constexpr std::size_t FailuresShown = 20;

// True when the error is the confined layer's refusal of a path that leads
// out of its folder (75, its text naming the path).
bool isRefusal(const platform::Error& e);

// The line of a file that could not be written at path.
std::string failedWrite(std::string_view path, const platform::Error& e);
// The line of a file that could not be read at path.
std::string failedRead(std::string_view path, const platform::Error& e);

// The text of the box at the end of a run: the lines, each on its own line,
// at most FailuresShown of them, then the count of them all when more.
std::string failureList(const std::vector<std::string>& lines);

}  // namespace copies
