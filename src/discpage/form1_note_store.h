// Storing one remark or usage note of the open disc's files, as the notes
// commands do it (form1_notes.cpp); shared with the commands that take a
// remark from a file or from the preview.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class Form1;

// Stores text under key in the disc's note or usage file (extension ".note"
// or ".exam", its marker). The file's text afterwards, or nothing when it
// could not be read or written, which is told: "不能保存文件: " + path + the
// reason.
std::optional<std::string> storeDiscNote(Form1& form, std::string_view disc,
                                         std::string_view extension, std::string_view marker,
                                         const std::string& key, const std::string& text);
