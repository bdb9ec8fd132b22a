// The ini file of the registry and settings stores: what is read is written
// back so that it reads the same.
#include "fuzz_target.h"
#include "platform/files/paths.h"
#include "platform/system/ini_file.h"

namespace {

using platform::files::sameNameIgnoringCase;
using platform::system::IniData;

bool sameData(const IniData& a, const IniData& b) {
    if (a.sections.size() != b.sections.size()) return false;
    for (std::size_t i = 0; i < a.sections.size(); ++i) {
        if (a.sections[i].name != b.sections[i].name ||
            a.sections[i].entries != b.sections[i].entries) {
            return false;
        }
    }
    return true;
}

// Names are unique without regard to case, and each finds its own.
void checkNames(const IniData& data) {
    for (std::size_t i = 0; i < data.sections.size(); ++i) {
        const auto& section = data.sections[i];
        FUZZ_CHECK(data.find(section.name) == &section);
        for (std::size_t j = 0; j < i; ++j) {
            FUZZ_CHECK(!sameNameIgnoringCase(data.sections[j].name, section.name));
        }
        for (std::size_t k = 0; k < section.entries.size(); ++k) {
            const auto& [name, value] = section.entries[k];
            FUZZ_CHECK(section.value(name) == &value);
            for (std::size_t j = 0; j < k; ++j) {
                FUZZ_CHECK(!sameNameIgnoringCase(section.entries[j].first, name));
            }
        }
    }
}

}  // namespace

int fuzzOne(const std::uint8_t* data, std::size_t size) {
    const IniData parsed = IniData::parse(fuzz::asText(data, size));
    checkNames(parsed);
    const std::string written = parsed.serialize();
    const IniData reread = IniData::parse(written);
    FUZZ_CHECK(sameData(parsed, reread));
    FUZZ_CHECK(reread.serialize() == written);
    return 0;
}
