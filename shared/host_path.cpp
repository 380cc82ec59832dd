#include "host_path.h"

#include <map>

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

bool IsWriteProtected(const std::filesystem::path& path) {
    std::error_code error;
    const auto perms = std::filesystem::status(path, error).permissions();
    using std::filesystem::perms;
    return !error &&
           (perms & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}

}  // namespace brellin
