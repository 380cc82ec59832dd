// The platform as the native tests play it: message boxes that are answered at
// once and written down, a fixed install folder, and a drive list of the
// test's choosing.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform.h"

namespace brellin::fake {

class FakeMessages final : public MessagePort {
public:
    void Show(const std::string& text) override {
        shown.push_back(text);
        if (onShow) onShow(text);
    }
    std::vector<std::string> shown;
    std::function<void(const std::string&)> onShow;
};

class FixedInstallFolder final : public InstallFolderPort {
public:
    explicit FixedInstallFolder(std::string folder) : folder(std::move(folder)) {}
    std::string InstallFolder() override { return folder; }
    std::string folder;
};

// Scripting drive types: 1 removable, 2 fixed, 3 remote, 4 CD-ROM, 5 RAM disk.
class FakeDrives final : public DrivePort {
public:
    std::vector<std::string> DrivePaths() override;
    bool IsRemote(const std::string& drivePath) override;

    // Kept in letter order, as the system lists its drives.
    std::map<std::string, int> types{{"C:", 2}};
    // Make listing the drives, or reading a type, fail.
    bool failListing = false;
    bool failType = false;
    int typeReads = 0;
};

}  // namespace brellin::fake
