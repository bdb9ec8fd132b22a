// The messages of the page options (title "提示").
#pragma once

#include <string_view>

namespace webpages {

inline constexpr std::string_view NoCopies = "现在只生成目录网页，不拷贝文件。";
inline constexpr std::string_view CopyTicked =
    "现在将把目录下的 [打勾] "
    "文件\r\n拷贝到与生成网页相对应的位置，\r\n如果文件比较大，请耐心等待。";
inline constexpr std::string_view CopyAll =
    "现在将把目录下的 [所有] "
    "文件\r\n拷贝到与生成网页相对应的位置，\r\n如果文件比较大，请耐心等待。";

}  // namespace webpages
