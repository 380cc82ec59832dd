#include "dialog.h"

#include "config_paths.h"
#include "entry_list.h"

namespace brellin {

void Dialog::List1_Click() {
    const std::string configPath = AddinConfigPath(platform_.installFolder.InstallFolder());
    choice_.strSelection.clear();
    choice_.blnCancel = kFalse16;

    const bool found =
        !ReadAddinValue(platform_.profile, configPath, std::string(kHeadersSection), "1").empty();
    // Cleared also when the file went away while the dialog was open: the sub
    // headers of the header chosen before must never be stamped under another.
    controls_.List2Clear();
    if (!found) {
        platform_.messages.Show(kNoIniMessage);
        return;
    }
    ReadAddinList(platform_.profile, configPath, controls_.List1Text(),
                  [&](const std::string& sub) { controls_.List2AddItem(sub); });
}

void Dialog::OKButton_Click() {
    std::string selection = controls_.List1Text();
    if (selection.empty()) {
        platform_.messages.Show(kNoHeaderChosenMessage);
        return;
    }
    // A header without sub headers leaves List2 empty, with no current item:
    // the header alone is then the whole choice.
    const int count = controls_.List2ListCount();
    for (int i = 0; i < count; ++i)
        if (controls_.List2Selected(i)) selection += "/" + controls_.List2List(i);
    choice_.strSelection = selection;
    choice_.blnShowHeader = ToBool16(controls_.CheckValue(2) != 0);
    choice_.blnShowFooter = ToBool16(controls_.CheckValue(3) != 0);
    choice_.blnShowSubject = ToBool16(controls_.CheckValue(1) != 0);
    choice_.blnShowDisclaimer = ToBool16(controls_.CheckValue(4) != 0);
    choice_.blnShowLines = ToBool16(controls_.CheckValue(5) != 0);
    controls_.Hide();
}

void Dialog::Command1_Click() {
    choice_.blnCancel = kTrue16;
    controls_.Hide();
}

void Dialog::Command2_Click() {
    choice_.blnNoHeaders = kTrue16;
    controls_.Hide();
}

void Dialog::Form_Activate() { controls_.SetFocus(); }

}  // namespace brellin
