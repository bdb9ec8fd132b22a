#include "catalogue/took_effect.h"

#include "platform/error.h"
#include "platform/files/text_file.h"

namespace catalogue {

bool holdsText(std::string_view path, std::string_view text) noexcept {
    try {
        return platform::files::WholeFileRead(path) == text;
    } catch (...) {
        return false;
    }
}

}  // namespace catalogue
