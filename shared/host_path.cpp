#include "host_path.h"

#include <map>
#include <mutex>

namespace brellin {
namespace {

struct PrefixTable {
    std::mutex lock;
    std::map<std::string, std::filesystem::path> folders;
};

PrefixTable& Prefixes() {
    static PrefixTable table;
    return table;
}

}  // namespace

std::filesystem::path ToHostPath(const std::string& path) {
    std::string rest = path;
    std::filesystem::path base;
    {
        auto& table = Prefixes();
        std::lock_guard guard(table.lock);
        for (const auto& [prefix, folder] : table.folders) {
            if (path.compare(0, prefix.size(), prefix) == 0) {
                base = folder;
                rest = path.substr(prefix.size());
                break;
            }
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
    auto& table = Prefixes();
    std::lock_guard guard(table.lock);
    table.folders[prefix] = folder;
}

void ClearPathPrefixes() {
    auto& table = Prefixes();
    std::lock_guard guard(table.lock);
    table.folders.clear();
}

bool IsWriteProtected(const std::filesystem::path& path) {
    std::error_code error;
    const auto perms = std::filesystem::status(path, error).permissions();
    using std::filesystem::perms;
    return !error &&
           (perms & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}

}  // namespace brellin
