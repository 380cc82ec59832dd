// Brellin.exe, the configuration editor: one window, run until "Done" or
// until the window closes.
#include <windows.h>

#include <string>

#include "form1.h"
#include "main_window.h"

namespace {

std::string ProgramPath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

int RunEditor(HINSTANCE instance, int show, const std::string& programPath) {
    brellin::MainWindow window(programPath);
    if (!window.Create(instance, show)) return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Tab, Shift+Tab and the arrow keys move the focus as in a dialog.
        if (IsDialogMessageA(window.Handle(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    const std::string programPath = ProgramPath();
    try {
        return RunEditor(instance, show, programPath);
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, brellin::ErrorDisplayText(error.what()).c_str(),
                    brellin::ApplicationTitleOf(programPath).c_str(), MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBoxA(nullptr, "", brellin::ApplicationTitleOf(programPath).c_str(), MB_OK | MB_ICONERROR);
    }
    return 1;
}
