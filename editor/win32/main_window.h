// The editor's main window, "Brellin .ini Editor": its controls at their
// places, and the ports through which the form logic reads and changes them
// and shows its boxes. Window messages are unpacked into OnXxx members, which
// hand each event to the form logic's handler.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "editor_ports.h"
#include "form1.h"
#include "win32/kernel32_profile.h"

namespace brellin {

class MainWindow final : public FormView, public FormDialogs, public FormShell {
public:
    explicit MainWindow(std::string programPath);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates and shows the window; false when it could not be created.
    bool Create(HINSTANCE instance, int show);
    HWND Handle() const { return window_; }
    const std::string& Title() const { return form_.ApplicationTitle(); }

    // FormView
    std::vector<std::string> Items(ListBoxId list) const override;
    void SetItems(ListBoxId list, const std::vector<std::string>& items) override;
    int ItemIndex(ListBoxId list) const override;
    bool Checked(CheckBoxId box) const override;
    void SetChecked(CheckBoxId box, bool checked) override;
    std::string MemoText() const override;
    void SetMemoText(const std::string& text) override;

    // FormDialogs
    void ShowMessage(const std::string& caption, const std::string& text) override;
    bool Confirm(const std::string& caption, const std::string& text) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt) override;
    void ShowError(const std::string& title, const std::string& text) override;

    // FormShell
    void SetHandCursor(bool hand) override;
    void StartHidden(const std::string& commandLine) override;
    void Terminate() override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnActivate(UINT state);
    void OnCommand(int id, UINT code);
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    void OnPaint();
    bool OnSetCursor();
    LRESULT OnLinkMessage(HWND link, UINT message, WPARAM wParam, LPARAM lParam);

    HWND AddControl(const char* className, const char* text, DWORD style, DWORD exStyle, int id,
                    int left, int top, int width, int height);
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    HWND ListControl(ListBoxId list) const;

    Kernel32Profile profile_;
    TForm1 form_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HFONT linkFont_ = nullptr;
    WNDPROC linkBaseProc_ = nullptr;
    bool handCursor_ = false;
    bool overLink_ = false;
};

}  // namespace brellin
