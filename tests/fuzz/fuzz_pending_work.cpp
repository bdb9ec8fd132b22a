// The record of work that spans files (guangpan\pending.ini): the reader on
// any text, and a record it read written and read again.
#include "catalogue/pending_work.h"
#include "fuzz_target.h"

using namespace catalogue;

int fuzzOne(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    const std::optional<PendingWork> work = parsePendingWork(text);
    if (!work) return 0;

    // What was read holds no line break or control character, and every
    // key is a word of small letters.
    const auto plain = [](std::string_view s) {
        for (const char c : s)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
        return true;
    };
    FUZZ_CHECK(!work->command.empty() && plain(work->command));
    for (const auto& [key, value] : work->fields) {
        FUZZ_CHECK(!key.empty() &&
                   key.find_first_not_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos);
        FUZZ_CHECK(plain(value));
        FUZZ_CHECK(work->has(key));
    }

    // Written, it is the text (with the last line's break) and reads back
    // the same.
    const std::string written = formatPendingWork(*work);
    FUZZ_CHECK(written == text || written == std::string(text) + "\r\n");
    const std::optional<PendingWork> again = parsePendingWork(written);
    FUZZ_CHECK(again && again->command == work->command && again->fields == work->fields);

    // A command is found in the table by its own name only.
    if (const PendingCommand* entry = findPendingCommand(work->command))
        FUZZ_CHECK(entry->command == work->command && entry->finish != nullptr);
    return 0;
}
