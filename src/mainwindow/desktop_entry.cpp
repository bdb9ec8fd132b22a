#include "mainwindow/desktop_entry.h"

#include <unistd.h>

#include <climits>

#include "platform/text/text.h"

namespace desktopentry {

namespace {

// One argument of the Exec key, quoted; false when the entry cannot hold it.
bool appendQuoted(std::string& exec, std::string_view arg) {
    if (!platform::text::isValidUtf8(arg)) return false;
    exec += '"';
    for (char c : arg) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7f) return false;
        if (c == '"' || c == '`' || c == '$' || c == '\\') exec += '\\';
        if (c == '%') exec += '%';
        exec += c;
    }
    exec += '"';
    return true;
}

// The escapes of a string value.
std::string escapeString(std::string_view text) {
    std::string value;
    for (char c : text) {
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

}  // namespace

std::string execValue(std::string_view programPath, std::string_view portableFolder) {
    if (programPath.empty()) return {};
    std::string exec;
    if (!portableFolder.empty()) {
        exec = "env ";
        if (!appendQuoted(exec, "ZELBRIN_HOME=" + std::string(portableFolder))) return {};
        exec += ' ';
    }
    if (!appendQuoted(exec, programPath)) return {};
    return escapeString(exec);
}

std::string entryText(std::string_view programPath, std::string_view portableFolder) {
    const std::string exec = execValue(programPath, portableFolder);
    if (exec.empty()) return {};
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Version=1.0\n"
           "Name=Zelbrin\n"
           "Comment=光盘目录管理\n"
           "Exec=" +
           exec +
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
