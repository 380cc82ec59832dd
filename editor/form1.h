// The editor's main form: the handlers behind its controls, in the product's
// own names. They read and write the configuration file and the disclaimer
// file and keep the two lists, the four check boxes and the disclaimer box in
// step with them, through the ports of editor_ports.h.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "editor_ports.h"
#include "profile.h"

namespace brellin {

class TIniFile;

// The product's web page, shown by the link at the foot of the form.
inline constexpr std::string_view kProductPageText = "www.brellin.com";
inline constexpr std::string_view kProductPageAddress = "http://www.brellin.com";

class TForm1 {
public:
    // `programPath` is the full path of the running program file; both files
    // are found from it afresh by every handler.
    TForm1(ProfilePort& profile, std::string programPath, FormView& view, FormDialogs& dialogs,
           FormShell& shell);

    // Runs one handler for the window system: a failure ends the handler and
    // is shown by the error display, and never travels further.
    using Handler = void (TForm1::*)();
    void Dispatch(Handler handler) noexcept;

    // The loading: runs at the form's first activation and never again.
    void FormActivate();
    void ListBox1Click();
    void Button1Click();  // "Add New Header"
    void Button3Click();  // "Delete Header"
    void Button4Click();  // "Add New Sub Header"
    void Button6Click();  // "Delete Sub Header"
    // A check box's handler runs on every change of its state.
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void CheckBox4Click();
    void Button8Click();  // "Change Disclaimer Text"
    void Button2Click();  // "Done"
    void Label7Click();
    void Label7MouseEnter();
    void Label7MouseLeave();

    const std::string& ApplicationTitle() const { return title_; }

private:
    std::string ConfigPath() const;
    std::string DisclaimerPath() const;
    std::string SelectedText(ListBoxId list) const;
    // Asks until a name is entered; no value when the user gives up.
    std::optional<std::string> AskName(const std::string& caption, const std::string& prompt);
    void WriteOption(CheckBoxId box, const char* key);
    // Sets a box as the loading does: a change of state runs its handler.
    void LoadOption(const TIniFile& ini, CheckBoxId box, const char* key);
    void ShowFailure(const std::string& message) noexcept;

    ProfilePort& profile_;
    std::string programPath_;
    std::string title_;
    FormView& view_;
    FormDialogs& dialogs_;
    FormShell& shell_;
    bool activated_ = false;
};

// The application's title: the program file's name, cut at its first ".",
// its first character as it stands and the others in lower case.
std::string ApplicationTitleOf(std::string_view programPath);

// The error display's text: the message, with "." added when its last
// character sorts after ".".
std::string ErrorDisplayText(std::string_view message);

// An entered name without the blanks at either end, which the configuration
// file would drop anyway.
std::string TrimName(std::string_view name);

}  // namespace brellin
