#include "discpage/size_text.h"

#include <cmath>
#include <cstdio>
#include <string_view>

namespace discpage {

namespace {

using Wide = unsigned __int128;

// Whole kilobytes: the bytes divided by 1024, rounded down.
long double kilobytes(double bytes) { return std::floor(static_cast<long double>(bytes) / 1024); }

std::string wholeNumber(long double x) {
    char buf[5000];  // the largest double written out in full has 309 digits
    std::snprintf(buf, sizeof buf, "%.0Lf", x);
    return buf;
}

std::string decimal(Wide n) {
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(n % 10)));
        n /= 10;
    } while (n != 0);
    return digits;
}

// The megabytes of k whole kilobytes (k above 1024) with two decimals, the
// hundredths rounded half to even: 1152K = 1.125M gives "1.12", 1153K gives
// "1.13". k / 1024 is exact in binary, so the figure is worked out in whole
// numbers: hundredths = k * 100 / 1024, the remainder deciding.
std::string megabytes(long double k) {
    // Beyond 2^100 a double's kilobytes are a whole multiple of 1024.
    if (k >= 0x1p100L) return wholeNumber(k / 1024) + ".00";
    const Wide whole = static_cast<Wide>(k);
    Wide hundredths = whole * 25 / 256;
    const Wide rest = whole * 25 % 256;
    if (rest > 128 || (rest == 128 && hundredths % 2 == 1)) ++hundredths;
    const std::string cents = decimal(hundredths % 100);
    return decimal(hundredths / 100) + "." + (cents.size() == 1 ? "0" : "") + cents;
}

}  // namespace

std::string sizeText(double bytes) {
    long double k = kilobytes(bytes);
    if (k == 0) k = bytes > 0 ? 1 : 0;  // never "-0K"
    if (k > 1024) return (std::isinf(k) ? "inf" : megabytes(k)) + "M";
    return wholeNumber(k) + "K";
}

std::string summarySizeText(double bytes) {
    long double k = kilobytes(bytes);
    if (k == 0) k = 1;
    if (k > 1024) {
        if (std::isinf(k)) return "infM";
        std::string m = megabytes(k);
        while (m.back() == '0') m.pop_back();
        if (m.back() == '.') m.pop_back();
        return m + "M";
    }
    return wholeNumber(k) + "K";
}

}  // namespace discpage
