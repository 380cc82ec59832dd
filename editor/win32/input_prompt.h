// The editor's input prompt: a modal box with a caption, a prompt, one field
// of at most 255 characters, "OK" (the default) and "Cancel" (also Escape and
// the close box).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace brellin {

class InputPrompt {
public:
    // The entered text on "OK", no value when the user gives up.
    static std::optional<std::string> Show(HWND owner, const std::string& caption,
                                           const std::string& prompt);

private:
    InputPrompt(const std::string& caption, const std::string& prompt)
        : caption_(caption), prompt_(prompt) {}
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void OnInitDialog(HWND dialog);
    void OnOk(HWND dialog);

    const std::string& caption_;
    const std::string& prompt_;
    std::optional<std::string> text_;
};

}  // namespace brellin
