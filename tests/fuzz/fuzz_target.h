// One fuzz target: fuzzOne runs a parser of a stored file on one input of
// arbitrary bytes and checks the properties that must hold for every input.
//
// Each target is linked two ways: with libFuzzer (libfuzzer_main.cpp, clang
// builds with ZELBRIN_FUZZ=ON) or with the plain mutation driver
// (mutation_driver.cpp, registered as a CTest test). A failed FUZZ_CHECK
// aborts; libFuzzer or the driver then reports the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

int fuzzOne(const std::uint8_t* data, std::size_t size);

namespace fuzz {

[[noreturn]] inline void checkFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// At most limit pieces of text cut at every separator (the separator left out,
// a final empty piece kept), so that a target spends its time on parsing
// rather than on one input of many thousand lines.
inline std::vector<std::string_view> cut(std::string_view text, std::string_view separator,
                                         std::size_t limit) {
    std::vector<std::string_view> pieces;
    while (pieces.size() < limit) {
        const std::size_t at = text.find(separator);
        pieces.push_back(text.substr(0, at));
        if (at == std::string_view::npos) break;
        text.remove_prefix(at + separator.size());
    }
    return pieces;
}

// A number taken from the bytes of a text (the same text, the same number).
inline std::uint64_t numberFrom(std::string_view text) {
    std::uint64_t h = 1469598103934665603ULL;
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ULL;
    return h;
}

}  // namespace fuzz

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::fuzz::checkFailed(#condition, __FILE__, __LINE__))
