// Paths in the core are Windows paths ("C:\Program Files\Brellin\Brellin.ini"),
// as both programs form them. Off Windows the portable parts still have to
// open real files: this maps such a path onto the host's file system.
#pragma once

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

// True when the file or folder has no write permission at all: it stands for a
// read-only file or folder, refused for writing even to a user (such as an
// administrator) whom the host would let through.
bool IsWriteProtected(const std::filesystem::path& path);

}  // namespace brellin
