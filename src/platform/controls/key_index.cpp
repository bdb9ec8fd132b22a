#include "platform/controls/key_index.h"

#include "platform/error.h"

namespace platform {

bool isNumericKey(std::string_view key) {
    std::size_t i = 0;
    if (i < key.size() && (key[i] == '+' || key[i] == '-')) ++i;
    bool digits = false, point = false;
    for (; i < key.size(); ++i) {
        const char c = key[i];
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

void checkKeyFree(std::string_view key, bool inUse) {
    if (isNumericKey(key)) raise(err::InvalidKey);
    if (inUse) raise(err::KeyNotUnique);
}

void raiseUnknownKey() { raise(err::ElementNotFound); }

}  // namespace platform
