#include "platform/files/file_ops.h"

#include <sys/stat.h>

#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/files_internal.h"
#include "platform/files/paths.h"

namespace platform::files {

std::optional<std::uint32_t> getAttributes(std::string_view path) {
    try {
        ResolvedPath r = resolvePath(path);
        struct stat st {};
        if (!r.exists || ::stat(r.native.c_str(), &st) != 0) return std::nullopt;
        std::string name = r.isDriveRoot ? std::string() : detail::nativeBaseName(r.native);
        return detail::attributesFor(st, name, detail::readOnlyFileSystem(r.native));
    } catch (const Error&) {
        return std::nullopt;
    }
}

std::uint64_t fileLength(std::string_view path) {
    ResolvedPath r = resolveExisting(path);
    struct stat st {};
    if (::stat(r.native.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) raise(err::FileNotFound);
    return static_cast<std::uint64_t>(st.st_size);
}

bool existsExactly(std::string_view path) {
    const std::size_t slash = path.find_last_of('\\');
    if (slash == std::string_view::npos) raise(err::BadFileName);
    try {
        return ConfinedRoot::open(path.substr(0, slash + 1)).existsExactly(path.substr(slash + 1));
    } catch (const Error& e) {
        if (e.number() == err::PathNotFound || e.number() == err::FileNotFound) return false;
        throw;
    }
}

}  // namespace platform::files
