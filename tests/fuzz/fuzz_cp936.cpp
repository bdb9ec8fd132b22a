// The code page 936 converter: stored bytes in, UTF-8 out, and back.
#include "fuzz_target.h"
#include "platform/text/text.h"

// Stored bytes that are read and written back unchanged come out byte for
// byte as they were: toCp936(fromCp936(b)) == b for every byte string b.
// Off while the decoder still turns broken sequences into U+FFFD (and a lone
// 0x80 into the euro sign, written back as A2 E3); build with
// -DZELBRIN_FUZZ_CP936_BYTE_ROUND_TRIP=1 to check it.
#ifndef ZELBRIN_FUZZ_CP936_BYTE_ROUND_TRIP
#define ZELBRIN_FUZZ_CP936_BYTE_ROUND_TRIP 0
#endif
constexpr bool kCheckByteRoundTrip = ZELBRIN_FUZZ_CP936_BYTE_ROUND_TRIP != 0;

int fuzzOne(const std::uint8_t* data, std::size_t size) {
    namespace text = platform::text;
    const std::string_view bytes = fuzz::asText(data, size);

    // The input as stored bytes.
    const std::string utf8 = text::fromCp936(bytes);
    FUZZ_CHECK(text::isValidUtf8(utf8));
    FUZZ_CHECK(text::linesFromCp936(bytes) == text::splitLines(utf8));
    if constexpr (kCheckByteRoundTrip) FUZZ_CHECK(text::toCp936(utf8) == bytes);

    // The input as text inside the program (not always valid UTF-8).
    const std::string stored = text::toCp936(bytes);
    FUZZ_CHECK(text::cp936Length(bytes) == stored.size());
    // Every character has a code, so well-formed text comes back whole.
    if (text::isValidUtf8(bytes)) FUZZ_CHECK(text::fromCp936(stored) == bytes);
    return 0;
}
