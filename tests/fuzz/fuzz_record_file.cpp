// The software record file: the reader on any text, and a record made of what
// it read written and read again.
#include "fuzz_target.h"
#include "software/record_file.h"

using namespace software;

int fuzzOne(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size);

    const ParsedRecord parsed = parseRecordText(text);
    RecordValues values;
    for (std::size_t i = 0; i < RecordFieldCount; ++i) {
        if (!parsed[i]) continue;
        const std::string& v = *parsed[i];
        FUZZ_CHECK(v.find('\r') == std::string::npos);
        FUZZ_CHECK(v.empty() || (v.front() != ' ' && v.back() != ' '));
        values[i] = v;
    }

    // Written and read again: every field as it was.
    const std::string written = formatRecordText(values);
    const ParsedRecord again = parseRecordText(written);
    for (std::size_t i = 0; i < RecordFieldCount; ++i) FUZZ_CHECK(again[i] == values[i]);

    // A plain name stays one element of the path.
    const std::string_view name = text.substr(0, text.find('\n'));
    if (isPlainRecordName(name)) {
        FUZZ_CHECK(name.find('\\') == std::string_view::npos && name != "." && name != "..");
        FUZZ_CHECK(recordFilePath("C:\\p", name) ==
                   "C:\\p\\software\\" + std::string(name) + ".txt");
    }
    FUZZ_CHECK(foldRecordName(name).size() <= 4 * name.size());
    return 0;
}
