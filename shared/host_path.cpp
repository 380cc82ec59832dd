#include "host_path.h"

#include <cerrno>
#include <map>

#if !defined(_WIN32) && __has_include(<sys/stat.h>)
#include <sys/stat.h>
#define BRELLIN_POSIX_STAT 1
#endif

namespace brellin {
namespace {

// Every entry of either program runs on one user-interface thread, so the
// table needs no lock.
std::map<std::string, std::filesystem::path>& Prefixes() {
    static std::map<std::string, std::filesystem::path> folders;
    return folders;
}

}  // namespace

std::filesystem::path ToHostPath(const std::string& path) {
    std::string rest = path;
    std::filesystem::path base;
    for (const auto& [prefix, folder] : Prefixes()) {
        if (path.compare(0, prefix.size(), prefix) == 0) {
            base = folder;
            rest = path.substr(prefix.size());
            break;
        }
    }
#ifdef _WIN32
    if (base.empty()) return std::filesystem::path(path);
    while (!rest.empty() && (rest.front() == '\\' || rest.front() == '/')) rest.erase(0, 1);
    return base / rest;
#else
    for (char& c : rest)
        if (c == '\\') c = '/';
    if (base.empty()) return std::filesystem::path(rest);
    while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
    return base / rest;
#endif
}

void MapPathPrefix(const std::string& prefix, const std::filesystem::path& folder) {
    Prefixes()[prefix] = folder;
}

void ClearPathPrefixes() {
    Prefixes().clear();
}

FileStamp StampOf(const std::filesystem::path& path) {
    FileStamp stamp;
#ifdef BRELLIN_POSIX_STAT
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        stamp.other = errno != ENOENT && errno != ENOTDIR;
        return stamp;
    }
    if (!S_ISREG(info.st_mode)) {
        stamp.other = true;
        return stamp;
    }
    stamp.exists = true;
    stamp.size = static_cast<std::uintmax_t>(info.st_size);
    stamp.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
#else
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return stamp;
    if (error || status.type() != std::filesystem::file_type::regular) {
        stamp.other = true;
        return stamp;
    }
    stamp.size = std::filesystem::file_size(path, error);
    const auto time = std::filesystem::last_write_time(path, error);
    if (error) {
        stamp.other = true;
        return stamp;
    }
    stamp.exists = true;
    stamp.modified = std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
#endif
    return stamp;
}

bool IsWriteProtected(const std::filesystem::path& path) {
    std::error_code error;
    const auto perms = std::filesystem::status(path, error).permissions();
    using std::filesystem::perms;
    return !error &&
           (perms & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}

}  // namespace brellin
