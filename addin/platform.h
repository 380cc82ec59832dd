// What the add-in needs of the platform besides the mail client and the
// profile store: message boxes, the folder it was installed in, and the list of
// drives with their types. Each has a Win32 binding (win32/) and a fake.
// A failing platform call throws Failure.
#pragma once

#include <string>
#include <vector>

#include "profile.h"

namespace brellin {

class MessagePort {
public:
    virtual ~MessagePort() = default;
    // A modal box with the text, one OK button, no icon, the title "Brellin".
    virtual void Show(const std::string& text) = 0;
};

class InstallFolderPort {
public:
    virtual ~InstallFolderPort() = default;
    // The folder that holds the add-in library, without a trailing separator.
    virtual std::string InstallFolder() = 0;
};

class DrivePort {
public:
    virtual ~DrivePort() = default;
    // The system's drives in its own order, each as letter and colon ("C:").
    virtual std::vector<std::string> DrivePaths() = 0;
    // Whether that drive is of the remote (network) type.
    virtual bool IsRemote(const std::string& drivePath) = 0;
};

// The platform as the send handler and the dialog reach it.
struct AddinPlatform {
    ProfilePort& profile;
    MessagePort& messages;
    InstallFolderPort& installFolder;
    DrivePort& drives;
};

}  // namespace brellin
