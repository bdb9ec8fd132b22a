// The document decoder: any bytes a previewed file may hold, read as text.
#include "fuzz_target.h"
#include "platform/text/document_text.h"
#include "platform/text/text.h"

int fuzzOne(const std::uint8_t* data, std::size_t size) {
    namespace text = platform::text;
    const std::string_view bytes = fuzz::asText(data, size);

    const text::DocumentCharset charset = text::documentCharset(bytes);
    const std::string decoded = text::decodeDocument(bytes);
    if (charset == text::DocumentCharset::Cp936) {
        // Code page 936 keeps every byte, as the stored files do.
        FUZZ_CHECK(decoded == text::fromCp936(bytes));
    } else {
        // Every other reading gives well-formed UTF-8.
        FUZZ_CHECK(text::isValidUtf8(decoded));
    }
    // Well-formed UTF-8 with no mark and no markup is its own text.
    if (text::isValidUtf8(bytes) && bytes.find('<') == std::string_view::npos &&
        bytes.substr(0, 3) != "\xEF\xBB\xBF")
        FUZZ_CHECK(decoded == bytes);
    // The note page is UTF-8 and names the file.
    const std::string note = text::notePage(text::fromCp936(bytes.substr(0, 64)));
    FUZZ_CHECK(note.find("预览窗口不能显示这种文件：") != std::string::npos);
    return 0;
}
