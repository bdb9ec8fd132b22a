// The code page 936 converter: stored bytes in, UTF-8 out, and back.
#include "fuzz_target.h"
#include "platform/text/text.h"

int fuzzOne(const std::uint8_t* data, std::size_t size) {
    namespace text = platform::text;
    const std::string_view bytes = fuzz::asText(data, size);

    // The input as stored bytes.
    const std::string utf8 = text::fromCp936(bytes);
    FUZZ_CHECK(text::linesFromCp936(bytes) == text::splitLines(utf8));
    // Bytes read and written back unchanged come out byte for byte as they
    // were, invalid ones included.
    FUZZ_CHECK(text::toCp936(utf8) == bytes);
    FUZZ_CHECK(text::cp936Length(utf8) == bytes.size());

    // The input as text inside the program (not always valid UTF-8).
    const std::string stored = text::toCp936(bytes);
    FUZZ_CHECK(text::cp936Length(bytes) == stored.size());
    // Every character has a code, so well-formed text comes back whole.
    if (text::isValidUtf8(bytes)) FUZZ_CHECK(text::fromCp936(stored) == bytes);
    return 0;
}
