#include "discpage/size_text.h"

#include <cmath>
#include <cstdio>

#include "platform/text/text.h"

namespace discpage {

std::string sizeText(double bytes) {
    double k = std::floor(bytes / 1024);
    if (k == 0 && bytes > 0) k = 1;
    if (k > 1024) return platform::text::format2(k / 1024) + "M";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", k);
    return std::string(buf) + "K";
}

}  // namespace discpage
