#include "fake_platform.h"

#include "failure.h"

namespace brellin::fake {

std::vector<std::string> FakeDrives::DrivePaths() {
    if (failListing) throw Failure("The drives cannot be listed");
    std::vector<std::string> paths;
    for (const auto& [path, type] : types) paths.push_back(path);
    return paths;
}

bool FakeDrives::IsRemote(const std::string& drivePath) {
    ++typeReads;
    if (failType) throw Failure("The type of drive " + drivePath + " cannot be read");
    return types.at(drivePath) == 3;
}

}  // namespace brellin::fake
