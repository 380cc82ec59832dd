// The header selection dialog as a real window: Win32 controls laid out in
// twips at the screen's DPI, shown modally without an owner. Its messages go
// to the dialog's operations (dialog.h); the operations reach the controls
// back through this class.
#pragma once

#include <windows.h>

#include <exception>
#include <memory>

#include "dialog.h"

namespace brellin {

class DialogWindow final : public DialogForm {
public:
    // Control identifiers; none is IDOK or IDCANCEL, so that Enter and Esc,
    // which the dialog manager turns into those, reach no control.
    enum ControlId : int {
        kOKButton = 101,
        kList1,
        kLabel1,
        kList2,
        kLabel2,
        kCommand1,
        kLabel5,
        kCommand2,
        kCheck1,
        kCheck2,
        kCheck3,
        kCheck4,
        kLabel3,
        kCheck5,
    };

    DialogWindow(SendChoice& choice, AddinPlatform& platform);
    ~DialogWindow() override;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    void List1Clear() override;
    void List1AddItem(const std::string& text) override;
    std::string List1Text() override;
    void List2Clear() override;
    void List2AddItem(const std::string& text) override;
    int List2ListCount() override;
    bool List2Selected(int index) override;
    std::string List2List(int index) override;
    int CheckValue(int number) override;
    void SetCheckValue(int number, int value) override;
    void Hide() override;
    void SetFocus() override;
    void ShowModal() override;
    void Unload() override;

    // The window and its controls while loaded, for tests; null otherwise.
    HWND Window() const { return hwnd_; }
    HWND Control(ControlId id) const { return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code);
    void OnActivate(WPARAM state);
    void OnPaint();
    // Runs an operation of the dialog at the window's edge: a failure ends the
    // modal show and comes back out of ShowModal.
    template <class Operation>
    void Guarded(Operation operation) noexcept;

    HWND Load();
    HWND Item(ControlId id);
    void CreateControls();
    std::string ListText(HWND list, int index);

    SendChoice& choice_;
    AddinPlatform& platform_;
    std::unique_ptr<Dialog> dialog_;
    HWND hwnd_ = nullptr;
    HWND lastFocus_ = nullptr;
    HFONT boldFont_ = nullptr;
    HFONT plainFont_ = nullptr;
    std::exception_ptr failure_;
};

}  // namespace brellin
