// The add-in's module: the send choice through which the dialog hands the
// user's decision to the send handler, and the test of where the add-in lies.
#pragma once

#include <string>

#include "bool16.h"
#include "platform.h"

namespace brellin {

// The user's decision for one send. Only the dialog's "Ok" writes the five
// display flags, so they carry over from one send to the next.
struct SendChoice {
    std::string strSelection;
    Bool16 blnCancel = kFalse16;
    Bool16 blnNoHeaders = kFalse16;
    Bool16 blnShowHeader = kFalse16;
    Bool16 blnShowFooter = kFalse16;
    Bool16 blnShowSubject = kFalse16;
    Bool16 blnShowDisclaimer = kFalse16;
    Bool16 blnShowLines = kFalse16;
};

namespace ModBrellin {

// The library's one send choice; it lives as long as the library is loaded.
extern SendChoice sendChoice;

inline constexpr const char* kNetworkDriveMessage =
    "This Add-In cannot be run from a network drive. Please uninstall and reinstall on a local "
    "drive.";

// True when the first drive whose path equals `drive` exactly (case and all)
// is a remote one; false when none equals it. Listing failures go up.
bool IsNetworkDrive(DrivePort& drives, const std::string& drive);

// Where the install folder lies, judged by its first two characters.
struct InstallLocation {
    std::string drive;          // the first two characters (fewer for a shorter folder)
    bool share = false;         // "\\": a network share, no drive asked
    bool networkDrive = false;  // a drive that IsNetworkDrive calls remote
    bool Remote() const { return share || networkDrive; }
};
InstallLocation TestInstallLocation(DrivePort& drives, const std::string& installFolder);

}  // namespace ModBrellin
}  // namespace brellin
