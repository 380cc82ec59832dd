#include "platform_win32.h"

#include <windows.h>

#include "failure.h"

namespace brellin {
namespace {

// Any address inside this module leads to the module's file.
const char kInThisModule = 0;

}  // namespace

void Win32Messages::Show(const std::string& text) {
    // Task-modal: every window of the thread waits for the answer, the
    // dialog included, as the dialog itself is modal.
    if (MessageBoxA(nullptr, text.c_str(), "Brellin", MB_OK | MB_TASKMODAL) == 0)
        throw Failure("The message cannot be shown");
}

std::string ModuleInstallFolder::InstallFolder() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            &kInThisModule, &module) ||
        !module)
        throw Failure("The add-in's folder cannot be found");
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) throw Failure("The add-in's folder cannot be found");
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::vector<std::string> Kernel32Drives::DrivePaths() {
    std::string buffer(4, '\0');
    for (;;) {
        const DWORD length = GetLogicalDriveStringsA(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) throw Failure("The drives cannot be listed");
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(length + 1);
    }
    // "C:\<0>D:\<0>...": each root without its backslash.
    std::vector<std::string> paths;
    for (std::size_t at = 0; at < buffer.size();) {
        const std::size_t end = buffer.find('\0', at);
        std::string root = buffer.substr(at, end - at);
        if (!root.empty() && root.back() == '\\') root.pop_back();
        if (!root.empty()) paths.push_back(root);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return paths;
}

bool Kernel32Drives::IsRemote(const std::string& drivePath) {
    const UINT type = GetDriveTypeA((drivePath + "\\").c_str());
    if (type == DRIVE_NO_ROOT_DIR) throw Failure("The type of drive " + drivePath + " cannot be read");
    return type == DRIVE_REMOTE;
}

}  // namespace brellin
