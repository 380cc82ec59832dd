// Paths in the core are Windows paths ("C:\Program Files\Brellin\Brellin.ini"),
// as both programs form them. Off Windows the portable parts still have to
// open real files: this maps such a path onto the host's file system.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace brellin {

// On Windows the path as it stands. Elsewhere backslashes become slashes, and a
// prefix registered with MapPathPrefix ("N:", "\\srv\share") is replaced by
// the folder it stands for.
std::filesystem::path ToHostPath(const std::string& path);

// Lets a test play a mapped drive or a network share on a host without them.
void MapPathPrefix(const std::string& prefix, const std::filesystem::path& folder);
void ClearPathPrefixes();

// What identifies one version of a file: its size and its modification time.
struct FileStamp {
    bool exists = false;   // a regular file is there
    bool other = false;    // something else is there (a folder), or it cannot be looked at
    std::uintmax_t size = 0;
    std::int64_t modified = 0;  // nanoseconds, in the host's own epoch
    bool operator==(const FileStamp&) const = default;
};

// One look at the file system: a single call where the host allows it, since
// a list of 3,000 entries looks 3,000 times.
FileStamp StampOf(const std::filesystem::path& path);

// True when the file or folder has no write permission at all: it stands for a
// read-only file or folder, refused for writing even to a user (such as an
// administrator) whom the host would let through.
bool IsWriteProtected(const std::filesystem::path& path);

}  // namespace brellin
