#include "mod_brellin.h"

namespace brellin::ModBrellin {

SendChoice sendChoice;

bool IsNetworkDrive(DrivePort& drives, const std::string& drive) {
    for (const auto& path : drives.DrivePaths())
        if (path == drive) return drives.IsRemote(path);
    return false;
}

InstallLocation TestInstallLocation(DrivePort& drives, const std::string& installFolder) {
    InstallLocation location;
    location.drive = installFolder.substr(0, 2);
    location.share = location.drive == "\\\\";
    if (!location.share) location.networkDrive = IsNetworkDrive(drives, location.drive);
    return location;
}

}  // namespace brellin::ModBrellin
