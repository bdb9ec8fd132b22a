// The entry point libFuzzer calls (clang builds with ZELBRIN_FUZZ=ON).
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzOne(data, size);
}
