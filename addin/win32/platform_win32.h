// The add-in's platform ports on Windows: message boxes from user32, the
// library's own folder, and the drive list from kernel32.
#pragma once

#include "platform.h"

namespace brellin {

class Win32Messages final : public MessagePort {
public:
    void Show(const std::string& text) override;
};

// The folder of the module (the add-in library, or a test program) that holds
// this code.
class ModuleInstallFolder final : public InstallFolderPort {
public:
    std::string InstallFolder() override;
};

// The drives as kernel32 lists them, in letter order; "remote" as kernel32
// types a mapped network drive.
class Kernel32Drives final : public DrivePort {
public:
    std::vector<std::string> DrivePaths() override;
    bool IsRemote(const std::string& drivePath) override;
};

}  // namespace brellin
