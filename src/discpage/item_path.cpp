#include "discpage/item_path.h"

#include "catalogue/index_line.h"
#include "platform/error.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace discpage {

namespace text = platform::text;

bool plainNames(std::string_view path) {
    for (const std::string& name : text::split(path, "\\"))
        if (name.empty() || name == "." || name == "..") return false;
    return true;
}

std::optional<std::string> hardDiscBaseOf(std::string_view programFolder, std::string_view disc) {
    try {
        platform::files::RawLineReader lines(catalogue::discIndexFilePath(programFolder, disc));
        std::string_view first;
        if (!lines.next(first)) return std::string();
        return catalogue::HardDiscBase(text::fromCp936(first));
    } catch (const platform::Error&) {
        return std::nullopt;
    }
}

}  // namespace discpage
