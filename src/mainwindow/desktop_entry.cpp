#include "mainwindow/desktop_entry.h"

#include <unistd.h>

#include <climits>

namespace desktopentry {

std::string execValue(std::string_view programPath) {
    std::string quoted = "\"";
    for (char c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (char c : quoted) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\t':
                value += "\\t";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\r':
                value += "\\r";
                break;
            default:
                value += c;
        }
    }
    return value;
}

std::string entryText(std::string_view programPath) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Version=1.0\n"
           "Name=Zelbrin\n"
           "Comment=光盘目录管理\n"
           "Exec=" +
           execValue(programPath) +
           "\n"
           "Icon=zelbrin\n"
           "Terminal=false\n";
}

std::string runningProgram() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buf) return {};
    return std::string(buf, static_cast<std::size_t>(n));
}

}  // namespace desktopentry
