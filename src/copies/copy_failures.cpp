#include "copies/copy_failures.h"

#include "discpage/disc_file_path.h"
#include "platform/error.h"

namespace copies {

bool isRefusal(const platform::Error& e) {
    return e.number() == platform::err::PathFileAccess &&
           e.description().starts_with(discpage::OutsideFolder);
}

namespace {

std::string failed(std::string_view what, std::string_view path, const platform::Error& e) {
    if (isRefusal(e)) return e.description();
    std::string line(what);
    return line.append(path).append(e.description());
}

}  // namespace

std::string failedWrite(std::string_view path, const platform::Error& e) {
    return failed(CannotSave, path, e);
}

std::string failedRead(std::string_view path, const platform::Error& e) {
    return failed(CannotRead, path, e);
}

std::string failureList(const std::vector<std::string>& lines) {
    std::string message;
    for (std::size_t i = 0; i < lines.size() && i < FailuresShown; ++i) {
        if (i > 0) message += "\r\n";
        message += lines[i];
    }
    if (lines.size() > FailuresShown)
        message += "\r\n……共" + std::to_string(lines.size()) + "个文件没有拷贝。";
    return message;
}

}  // namespace copies
