// What the editor's form logic needs from the window system, in narrow
// ports: the form's own controls, the modal boxes it shows, and the little it
// asks of the shell. The Win32 window implements them for the shipped
// program; the scenario runner and the tests implement them with fakes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brellin {

enum class ListBoxId { ListBox1, ListBox2 };

// CheckBox1 to CheckBox4, in the form's numbering.
enum class CheckBoxId { CheckBox1 = 1, CheckBox2, CheckBox3, CheckBox4 };

// The form's controls. Nothing here runs a handler: the form logic decides
// which handler a change of state runs.
class FormView {
public:
    virtual ~FormView() = default;

    virtual std::vector<std::string> Items(ListBoxId list) const = 0;
    // Replaces the whole list; afterwards nothing is selected.
    virtual void SetItems(ListBoxId list, const std::vector<std::string>& items) = 0;
    // The selected entry counted from 0, or -1.
    virtual int ItemIndex(ListBoxId list) const = 0;

    virtual bool Checked(CheckBoxId box) const = 0;
    virtual void SetChecked(CheckBoxId box, bool checked) = 0;

    // The disclaimer box; line breaks are CR LF.
    virtual std::string MemoText() const = 0;
    virtual void SetMemoText(const std::string& text) = 0;
};

// Modal boxes over the form.
class FormDialogs {
public:
    virtual ~FormDialogs() = default;

    // A message with an OK button and no icon.
    virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
    // A question with Yes and No buttons and no icon; true for Yes.
    virtual bool Confirm(const std::string& caption, const std::string& text) = 0;
    // The input prompt with an empty field of at most 255 characters: the text
    // on "OK" (possibly empty), no value when the user gives up.
    virtual std::optional<std::string> InputBox(const std::string& caption,
                                                const std::string& prompt) = 0;
    // The application's error display: error icon, OK button.
    virtual void ShowError(const std::string& title, const std::string& text) = 0;
};

// The application around the form.
class FormShell {
public:
    virtual ~FormShell() = default;

    // The application-wide mouse cursor: the hand over the web link, the
    // default elsewhere.
    virtual void SetHandCursor(bool hand) = 0;
    // Starts a program with its window hidden, without waiting for it; the
    // outcome is of no interest.
    virtual void StartHidden(const std::string& commandLine) = 0;
    // Ends the event loop after the running event.
    virtual void Terminate() = 0;
};

}  // namespace brellin
