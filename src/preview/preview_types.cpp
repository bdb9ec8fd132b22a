#include "preview/preview_types.h"

#include <array>
#include <string>
#include <utility>

#include "platform/text/text.h"

namespace preview {

namespace {

// Thirty types in all.
constexpr std::array<std::pair<std::string_view, ViewerKind>, 30> PreviewTypeTable = {{
    {"bmp", ViewerKind::Pic},     {"ico", ViewerKind::Pic},    {"cur", ViewerKind::Pic},
    {"wmf", ViewerKind::Pic},     {"avi", ViewerKind::Media},  {"dat", ViewerKind::Media},
    {"wmv", ViewerKind::Media},   {"mpga", ViewerKind::Media}, {"mov", ViewerKind::Media},
    {"mpg", ViewerKind::Media},   {"wav", ViewerKind::Media},  {"mp3", ViewerKind::Media},
    {"mid", ViewerKind::Media},   {"midi", ViewerKind::Media}, {"au", ViewerKind::Media},
    {"wma", ViewerKind::Media},   {"mpeg", ViewerKind::Media}, {"asf", ViewerKind::Media},
    {"swf", ViewerKind::Flash},   {"shtml", ViewerKind::Web},  {"xsl", ViewerKind::Web},
    {"xml", ViewerKind::Web},     {"txt", ViewerKind::Web},    {"htm", ViewerKind::Web},
    {"html", ViewerKind::Web},    {"gif", ViewerKind::Web},    {"jpg", ViewerKind::Web},
    {"jpeg", ViewerKind::Web},    {"doc", ViewerKind::Web},    {"ppt", ViewerKind::Web},
}};

}  // namespace

std::optional<ViewerKind> viewerKindOf(std::string_view type) {
    const std::string lower = platform::text::lcase(type);
    for (const auto& [extension, kind] : PreviewTypeTable)
        if (lower == extension) return kind;
    return std::nullopt;
}

std::string_view kindName(ViewerKind kind) {
    switch (kind) {
        case ViewerKind::Pic:
            return "pic";
        case ViewerKind::Media:
            return "media";
        case ViewerKind::Flash:
            return "flash";
        case ViewerKind::Web:
            break;
    }
    return "web";
}

}  // namespace preview
