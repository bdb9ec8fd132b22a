#include "platform/files/file_ops.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/files/files_internal.h"
#include "platform/files/listing.h"
#include "platform/files/paths.h"

namespace platform::files {

namespace {

bool statPath(const std::string& native, struct stat& st) {
    return ::stat(native.c_str(), &st) == 0;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string joinWindows(const std::string& folder, const std::string& name) {
    return (!folder.empty() && folder.back() == '\\') ? folder + name : folder + "\\" + name;
}

bool endsWithSeparator(std::string_view p) {
    return !p.empty() && (p.back() == '\\' || p.back() == '/');
}

// The target of a file-system-object copy: "folder\" means into that folder
// under the source's own name.
ResolvedPath copyTarget(std::string_view to, const ResolvedPath& source) {
    if (!endsWithSeparator(to)) return resolvePath(to);
    ResolvedPath folder = resolvePath(to);
    struct stat st {};
    if (!folder.exists || !statPath(folder.native, st) || !S_ISDIR(st.st_mode)) {
        raise(err::PathNotFound);
    }
    return resolvePath(joinWindows(folder.windows, detail::nativeBaseName(source.native)));
}

void copyResolvedFile(const ResolvedPath& src, const ResolvedPath& dst, bool overwrite) {
    struct stat srcStat {};
    if (!statPath(src.native, srcStat) || S_ISDIR(srcStat.st_mode)) raise(err::FileNotFound);
    if (dst.isDriveRoot || !dst.folderExists) raise(err::PathNotFound);
    if (dst.exists) {
        struct stat dstStat {};
        if (!statPath(dst.native, dstStat)) raise(err::PermissionDenied);
        if (S_ISDIR(dstStat.st_mode) || sameFile(srcStat, dstStat)) raise(err::PermissionDenied);
        if (!overwrite) raise(err::FileExists);
        if (detail::ownerReadOnly(dstStat)) raise(err::PermissionDenied);
    }
    detail::copyNativeFile(src.native, dst.native, overwrite);
}

bool onPath(const std::vector<std::pair<dev_t, ino_t>>& path, const struct stat& st) {
    return std::find(path.begin(), path.end(), std::make_pair(st.st_dev, st.st_ino)) != path.end();
}

void copyTree(const std::string& src, const std::string& dst, bool overwrite,
              std::vector<std::pair<dev_t, ino_t>>& ancestors) {
    if (::mkdir(dst.c_str(), 0777) != 0) {
        const int e = errno;
        struct stat st {};
        if (e != EEXIST || !overwrite || !statPath(dst, st) || !S_ISDIR(st.st_mode)) {
            detail::raiseErrno(e, err::PathNotFound);
        }
    }
    for (const auto& e : listNativeFolder(src)) {
        const std::string from = detail::nativeJoin(src, e.name);
        const std::string to = detail::nativeJoin(dst, e.name);
        if (!e.isFolder()) {
            struct stat st {};
            if (statPath(to, st)) {
                if (!overwrite) raise(err::FileExists);
                if (S_ISDIR(st.st_mode) || detail::ownerReadOnly(st)) raise(err::PermissionDenied);
            }
            detail::copyNativeFile(from, to, overwrite);
            continue;
        }
        struct stat st {};
        if (!statPath(from, st) || onPath(ancestors, st)) continue;  // a loop of links
        ancestors.emplace_back(st.st_dev, st.st_ino);
        copyTree(from, to, overwrite, ancestors);
        ancestors.pop_back();
    }
}

std::string realFolder(const std::string& native) {
    char buf[PATH_MAX];
    return ::realpath(native.c_str(), buf) ? std::string(buf) : native;
}

}  // namespace

std::optional<std::uint32_t> getAttributes(std::string_view path) {
    try {
        ResolvedPath r = resolvePath(path);
        struct stat st {};
        if (!r.exists || !statPath(r.native, st)) return std::nullopt;
        std::string name = r.isDriveRoot ? std::string() : detail::nativeBaseName(r.native);
        return detail::attributesFor(st, name, detail::readOnlyFileSystem(r.native));
    } catch (const Error&) {
        return std::nullopt;
    }
}

bool setAttributes(std::string_view path, std::uint32_t attributes) {
    try {
        ResolvedPath r = resolvePath(path);
        if (!r.exists) return false;
        // The name itself: a link is never changed nor followed ("/" is the
        // folder itself: its parent is "/" and its name "").
        const detail::Fd folder = detail::openFolder(detail::nativeParent(r.native));
        return detail::setEntryAttributes(
            {folder.get(), detail::nativeBaseName(r.native), r.native}, attributes);
    } catch (const Error&) {
        return false;
    }
}

std::uint64_t fileLength(std::string_view path) {
    ResolvedPath r = resolveExisting(path);
    struct stat st {};
    if (!statPath(r.native, st) || S_ISDIR(st.st_mode)) raise(err::FileNotFound);
    return static_cast<std::uint64_t>(st.st_size);
}

void deleteFile(std::string_view path) {
    ResolvedPath r = resolveExisting(path);
    if (r.isDriveRoot) raise(err::FileNotFound);
    const detail::Fd folder = detail::openFolder(detail::nativeParent(r.native));
    detail::removeFileEntry({folder.get(), detail::nativeBaseName(r.native), r.native});
}

void createFolder(std::string_view path) {
    ResolvedPath r = resolvePath(path);
    if (r.exists) raise(err::FileExists);
    if (!r.folderExists) raise(err::PathNotFound);
    const detail::Fd folder = detail::openFolder(detail::nativeParent(r.native));
    detail::makeFolderEntry({folder.get(), detail::nativeBaseName(r.native), r.native});
}

void moveFile(std::string_view from, std::string_view to) {
    ResolvedPath src = resolveExisting(from);
    ResolvedPath dst = resolvePath(to);
    if (src.isDriveRoot || dst.isDriveRoot) raise(err::PathFileAccess);
    if (!dst.folderExists) raise(err::PathNotFound);
    const std::string target = detail::nativeJoin(dst.nativeFolder, dst.lastName);
    if (dst.exists) {
        // Only the same file under another letter case may be "replaced":
        // that is a rename in place.
        struct stat a {
        }, b{};
        if (!statPath(src.native, a) || !statPath(dst.native, b) || !sameFile(a, b) ||
            dst.native != src.native) {
            raise(err::FileExists);
        }
        if (target == src.native) return;
    }
    moveNative(src.native, target);
}

bool tryCopyFile(std::string_view from, std::string_view to, bool overwrite) {
    try {
        ResolvedPath src = resolveExisting(from);
        copyResolvedFile(src, resolvePath(to), overwrite);
        return true;
    } catch (const Error&) {
        return false;
    }
}

void copyFile(std::string_view from, std::string_view to, bool overwrite) {
    ResolvedPath src = resolveExisting(from);
    copyResolvedFile(src, copyTarget(to, src), overwrite);
}

void copyFolder(std::string_view from, std::string_view to, bool overwrite) {
    ResolvedPath src = resolveExisting(from, err::PathNotFound);
    struct stat st {};
    if (!statPath(src.native, st) || !S_ISDIR(st.st_mode)) raise(err::PathNotFound);
    if (src.isDriveRoot && endsWithSeparator(to)) raise(err::BadFileName);
    ResolvedPath dst = copyTarget(to, src);
    if (dst.isDriveRoot || !dst.folderExists) raise(err::PathNotFound);
    if (dst.exists) {
        struct stat d {};
        if (!overwrite || !statPath(dst.native, d) || !S_ISDIR(d.st_mode)) raise(err::FileExists);
    }
    // Never into itself: that copy would not end.
    const std::string srcReal = realFolder(src.native);
    const std::string dstReal =
        detail::nativeJoin(realFolder(dst.nativeFolder), detail::nativeBaseName(dst.native));
    if (dstReal == srcReal || dstReal.rfind(srcReal == "/" ? srcReal : srcReal + "/", 0) == 0) {
        raise(err::PathFileAccess);
    }
    std::vector<std::pair<dev_t, ino_t>> ancestors{{st.st_dev, st.st_ino}};
    copyTree(src.native, dst.native, overwrite, ancestors);
}

}  // namespace platform::files
