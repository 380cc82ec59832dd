#include "input_prompt.h"

#include "control_ids.h"

namespace brellin {

constexpr int kMaxEntry = 255;

std::optional<std::string> InputPrompt::Show(HWND owner, const std::string& caption,
                                             const std::string& prompt) {
    InputPrompt box(caption, prompt);
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_INPUTBOX),
                                           owner, DialogProc, reinterpret_cast<LPARAM>(&box));
    if (result != IDOK) return std::nullopt;
    return box.text_;
}

INT_PTR CALLBACK InputPrompt::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                         LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        reinterpret_cast<InputPrompt*>(lParam)->OnInitDialog(dialog);
        return TRUE;
    }
    auto* self = reinterpret_cast<InputPrompt*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self || message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        self->OnOk(dialog);
        EndDialog(dialog, IDOK);
        return TRUE;
    case IDCANCEL:  // the button, Escape and the close box alike
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

void InputPrompt::OnInitDialog(HWND dialog) {
    SetWindowTextA(dialog, caption_.c_str());
    SetDlgItemTextA(dialog, IDC_PROMPT_TEXT, prompt_.c_str());
    SendDlgItemMessageA(dialog, IDC_PROMPT_EDIT, EM_LIMITTEXT, kMaxEntry, 0);
}

void InputPrompt::OnOk(HWND dialog) {
    // The field's limit holds for typing; a text put in by other means is
    // cut to the same length here.
    char buffer[kMaxEntry + 1] = {};
    const int length = GetDlgItemTextA(dialog, IDC_PROMPT_EDIT, buffer, sizeof buffer);
    text_ = std::string(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

}  // namespace brellin
