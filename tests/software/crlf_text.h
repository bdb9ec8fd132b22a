// Stored texts written shortly in the software tests: "|" stands for CR LF.
#pragma once

#include <string>
#include <string_view>

namespace software_test {

inline std::string crlf(std::string_view s) {
    std::string out;
    for (const char c : s) {
        if (c == '|')
            out += "\r\n";
        else
            out += c;
    }
    return out;
}

}  // namespace software_test
