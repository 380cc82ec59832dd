// The header selection dialog: the user picks a header, its sub headers and
// the parts of the stamp, and ends with "Ok", "Cancel" or "No Headers". The
// operations here run on the dialog's events; the window itself (Win32, or a
// fake in the native tests) stands behind the controls port.
#pragma once

#include <string>

#include "mod_brellin.h"
#include "platform.h"

namespace brellin {

// The controls as the dialog's operations and its caller use them.
class DialogControls {
public:
    virtual ~DialogControls() = default;

    // List1: the header list, single selection, kept in the order added.
    virtual void List1Clear() = 0;
    virtual void List1AddItem(const std::string& text) = 0;
    // The selected header's text; empty when none is selected.
    virtual std::string List1Text() = 0;

    // List2: the sub header list, simple multiple selection, kept in order.
    virtual void List2Clear() = 0;
    virtual void List2AddItem(const std::string& text) = 0;
    virtual int List2ListCount() = 0;
    virtual bool List2Selected(int index) = 0;
    virtual std::string List2List(int index) = 0;

    // Check1 to Check5: 1 checked, 0 unchecked.
    virtual int CheckValue(int number) = 0;
    virtual void SetCheckValue(int number, int value) = 0;

    // Hiding ends the modal show.
    virtual void Hide() = 0;
    // Gives the dialog the keyboard focus (on the control that last had it).
    virtual void SetFocus() = 0;
};

// The form as the send handler uses it. The first use of a control loads the
// form; a loaded form is one window with fresh, empty controls.
class DialogForm : public DialogControls {
public:
    // Modal, without an owner window: returns when the dialog has hidden
    // itself or its window was closed.
    virtual void ShowModal() = 0;
    // Destroys the window and its controls; nothing when not loaded.
    virtual void Unload() = 0;
};

inline constexpr const char* kNoIniMessage = "Could not locate system .ini file!";
inline constexpr const char* kNoHeaderChosenMessage = "You must select an entry to continue.";

// The dialog's event handlers. Each window has one of these.
class Dialog {
public:
    Dialog(DialogControls& controls, SendChoice& choice, AddinPlatform& platform)
        : controls_(controls), choice_(choice), platform_(platform) {}

    // The selection in List1 changed: List2 gets the chosen header's sub headers.
    void List1_Click();
    // "Ok": writes the selection and the display flags and hides the dialog.
    void OKButton_Click();
    // "Cancel".
    void Command1_Click();
    // "No Headers".
    void Command2_Click();
    // The dialog became the active window.
    void Form_Activate();

private:
    DialogControls& controls_;
    SendChoice& choice_;
    AddinPlatform& platform_;
};

}  // namespace brellin
