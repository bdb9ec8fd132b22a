#include "discpage/size_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace discpage {
namespace {

constexpr double K = 1024;

struct Case {
    const char* what;
    double bytes;
    const char* list;     // sizeText
    const char* summary;  // summarySizeText
};

const Case kCases[] = {
    {"nothing", 0, "0K", "1K"},
    {"one byte", 1, "1K", "1K"},
    {"half a byte", 0.5, "1K", "1K"},
    {"1023 bytes", 1023, "1K", "1K"},
    {"1024 bytes", 1024, "1K", "1K"},
    {"1536 bytes", 1536, "1K", "1K"},
    {"2047 bytes", 2047, "1K", "1K"},
    {"2048 bytes", 2048, "2K", "2K"},
    {"1000K", 1000 * K, "1000K", "1000K"},
    {"1024K", 1024 * K, "1024K", "1024K"},
    {"1024K and 1023 bytes", 1024 * K + 1023, "1024K", "1024K"},
    {"1025K", 1025 * K, "1.00M", "1M"},
    {"1100K", 1100 * K, "1.07M", "1.07M"},
    // 1.125: half to even
    {"1152K", 1152 * K, "1.12M", "1.12M"},
    {"1153K", 1153 * K, "1.13M", "1.13M"},
    {"1280K", 1280 * K, "1.25M", "1.25M"},
    // 1.375: half to even, upwards
    {"1408K", 1408 * K, "1.38M", "1.38M"},
    {"1536K", 1536 * K, "1.50M", "1.5M"},
    // 1.9990234375: the carry into the whole megabytes
    {"2047K", 2047 * K, "2.00M", "2M"},
    {"2048K", 2048 * K, "2.00M", "2M"},
    {"2176K", 2176 * K, "2.12M", "2.12M"},
    {"10 M and 10K", 10250 * K, "10.01M", "10.01M"},
    // 2^53 bytes: the kilobytes beyond what 32 or 53 bits of megabytes hold
    {"2^53 bytes", std::ldexp(1.0, 53), "8589934592.00M", "8589934592M"},
    {"1e18 bytes", 1e18, "953674316406.25M", "953674316406.25M"},
    // 2^30 M and an eighth, and three eighths: half to even at any size
    {"2^30 M + 1/8", std::ldexp(1.0, 50) + std::ldexp(1.0, 17), "1073741824.12M", "1073741824.12M"},
    {"2^30 M + 3/8", std::ldexp(1.0, 50) + 3 * std::ldexp(1.0, 17), "1073741824.38M",
     "1073741824.38M"},
    {"2^70 bytes", std::ldexp(1.0, 70), "1125899906842624.00M", "1125899906842624M"},
    {"2^130 bytes", std::ldexp(1.0, 130), "1298074214633706907132624082305024.00M",
     "1298074214633706907132624082305024M"},
    {"no zero sign", -0.0, "0K", "1K"},
};

TEST(SizeText, TheListColumnAndTheSummaries) {
    for (const Case& c : kCases) {
        EXPECT_EQ(sizeText(c.bytes), c.list) << c.what;
        EXPECT_EQ(summarySizeText(c.bytes), c.summary) << c.what;
    }
}

TEST(SizeText, TheLargestSizesAreWrittenOutInFull) {
    // 1e300 bytes: whole megabytes, every digit, no exponent.
    const std::string list = sizeText(1e300);
    const std::string summary = summarySizeText(1e300);
    EXPECT_EQ(list.size(), 294u + 4u) << list;  // 9.5e293 M: 294 digits, ".00", "M"
    EXPECT_EQ(list.substr(0, 10), "9536743164") << list;
    EXPECT_EQ(list.substr(list.size() - 4), ".00M");
    EXPECT_EQ(summary.find_first_not_of("0123456789"), summary.size() - 1) << summary;
    EXPECT_EQ(summary.back(), 'M');
}

}  // namespace
}  // namespace discpage
