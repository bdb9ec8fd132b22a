// The texts the software page's commands share: message boxes, their titles
// and the category field's hint.
#pragma once

#include <string_view>

namespace software {

inline constexpr std::string_view TipTitle = "提示";
inline constexpr std::string_view QuestionTitle = "问题";

// The category field of a new record until a category node is clicked.
inline constexpr std::string_view CategoryHint =
    "请点击[软件管理/软件按分类排列]菜单，然后选择分类";

// A name that is no plain file name (isPlainRecordName).
inline constexpr std::string_view NameCharsRefusal = "名字中不能含有 \\ / : * ? \" < > | 等字符！";
// A record or class.ini that could not be written.
inline constexpr std::string_view SaveFailed = "保存失败！";
// The category of the form is not in class.ini.
inline constexpr std::string_view CategoryMissing = "没有你选择的分类!请重新选择";

}  // namespace software
