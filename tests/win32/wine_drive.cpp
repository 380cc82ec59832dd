// Defines or removes a drive letter in the Wine prefix, with the drive type
// that Windows reports for it, the way Wine's own configuration tool does it:
// through the mount manager, which keeps the drive for later programs too.
//
// usage: wine_drive X: TYPE UNIX_FOLDER    TYPE as the scripting drive types count:
//                                          1 removable, 2 fixed, 3 remote, 4 CD-ROM, 5 RAM disk
//        wine_drive X: remove
#include <windows.h>
#include <winioctl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The mount manager's Wine extension for drive letters.
// What the mount manager answers when asked to remove a drive it does not have.
constexpr DWORD kNoSuchDevice = 433;

constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

struct UnixDrive {
    ULONG size;
    ULONG type;  // a GetDriveType value; DRIVE_NO_ROOT_DIR removes the drive
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || std::strlen(argv[1]) != 2 || argv[1][1] != ':') {
        std::fputs("usage: wine_drive X: TYPE UNIX_FOLDER | wine_drive X: remove\n", stderr);
        return 2;
    }
    const bool remove = std::strcmp(argv[2], "remove") == 0;
    const int scripted = remove ? 0 : std::atoi(argv[2]);
    if (!remove && (scripted < 1 || scripted > 5 || argc != 4)) {
        std::fputs("wine_drive: TYPE is 1 to 5, followed by the folder\n", stderr);
        return 2;
    }
    const std::string folder = remove ? "" : argv[3];
    std::vector<char> buffer(sizeof(UnixDrive) + folder.size() + 1, '\0');
    auto* drive = reinterpret_cast<UnixDrive*>(buffer.data());
    drive->size = static_cast<ULONG>(buffer.size());
    // The scripting types run one below the Win32 ones (1 removable = DRIVE_REMOVABLE 2).
    drive->type = remove ? DRIVE_NO_ROOT_DIR : static_cast<ULONG>(scripted + 1);
    drive->letter = static_cast<WCHAR>(argv[1][0] | 0x20);
    if (!remove) {
        std::memcpy(buffer.data() + sizeof(UnixDrive), folder.c_str(), folder.size() + 1);
        drive->mountPointOffset = sizeof(UnixDrive);
    }
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "wine_drive: no mount manager (%lu)\n", GetLastError());
        return 1;
    }
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, buffer.data(), static_cast<DWORD>(buffer.size()),
                                    nullptr, 0, &returned, nullptr);
    const DWORD error = GetLastError();
    CloseHandle(manager);
    if (!ok && !(remove && (error == ERROR_FILE_NOT_FOUND || error == kNoSuchDevice))) {
        std::fprintf(stderr, "wine_drive: %s refused (%lu)\n", argv[1], error);
        return 1;
    }
    return 0;
}
