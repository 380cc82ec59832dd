#include "cl_brellin.h"

#include "config_paths.h"
#include "disclaimer.h"
#include "entry_list.h"
#include "failure.h"

namespace brellin {
namespace {

constexpr char kCr = '\r';

std::string HeaderBlock(const std::string& mark, bool lines) {
    if (lines) return std::string(kDottedLine) + kCr + mark + kCr + kDottedLine + kCr + kCr;
    return mark + kCr + kCr;
}

std::string FooterBlock(const std::string& mark, bool lines) {
    if (lines) return std::string{kCr, kCr} + kDottedLine + kCr + mark + kCr + kDottedLine;
    return std::string{kCr, kCr} + mark;
}

// Closes the form whatever way the send goes on, so that the next send starts
// from a fresh one.
class UnloadAtEnd {
public:
    explicit UnloadAtEnd(DialogForm& form) : form_(form) {}
    ~UnloadAtEnd() {
        try {
            form_.Unload();
        } catch (...) {
        }
    }
    UnloadAtEnd(const UnloadAtEnd&) = delete;
    UnloadAtEnd& operator=(const UnloadAtEnd&) = delete;

private:
    DialogForm& form_;
};

}  // namespace

void ClBrellin::AttachOutlook(std::shared_ptr<host::Application> olApp, const std::string&) {
    objOutlook = std::move(olApp);
    objNS = objOutlook->GetNamespace("MAPI");
    colExpl = objOutlook->Explorers();
    colInsp = objOutlook->Inspectors();
    // Inspectors already open are left alone: only new ones arm their item.
    objExpl = objOutlook->ActiveExplorer();
}

void ClBrellin::DetachOutlook() {
    // The armed mail item stays; it goes with this object.
    objInsp.reset();
    objExpl.reset();
    colInsp.Reset();
    colExpl.Reset();
    objNS.reset();
    objOutlook.reset();
    dialog_.Unload();
}

void ClBrellin::colExpl_NewExplorer(const std::shared_ptr<host::Explorer>& Explorer) {
    if (!objExpl) objExpl = Explorer;
}

void ClBrellin::colInsp_NewInspector(const std::shared_ptr<host::Inspector>& Inspector) {
    objInsp = Inspector;
    std::shared_ptr<host::Item> item;
    try {
        item = objInsp->CurrentItem();
    } catch (const std::exception&) {
    }
    if (!item) return;  // nothing to look at: the armed item stays
    std::int32_t itemClass = 0;
    try {
        itemClass = item->Class();
    } catch (const std::exception&) {
        return;
    }
    if (itemClass != host::olMail) return;
    try {
        objMailItem = item->AsMailItem();
    } catch (const std::exception&) {
    }
}

void ClBrellin::objMailItem_Send(Bool16& Cancel) {
    const auto location =
        ModBrellin::TestInstallLocation(platform_.drives, platform_.installFolder.InstallFolder());
    if (location.share) {
        platform_.messages.Show(ModBrellin::kNetworkDriveMessage);
        return;
    }
    if (location.networkDrive) platform_.messages.Show(ModBrellin::kNetworkDriveMessage);

    choice_.strSelection.clear();
    choice_.blnCancel = kFalse16;
    choice_.blnNoHeaders = kFalse16;

    const std::string configPath = AddinConfigPath(platform_.installFolder.InstallFolder());
    const std::string disclaimerPath = AddinDisclaimerPath(platform_.installFolder.InstallFolder());
    const std::string disclaimer = ReadDisclaimerForMail(disclaimerPath);

    if (ReadAddinValue(platform_.profile, configPath, std::string(kHeadersSection), "1").empty()) {
        // Without headers there is nothing to choose from: the mail goes as it is.
        platform_.messages.Show(kNoIniMessage);
        return;
    }

    {
        UnloadAtEnd unload(dialog_);
        FillDialog(configPath);
        dialog_.ShowModal();
    }
    // No button wrote the choice: the window was closed. The user is taken
    // back to the mail rather than having it sent in a way never chosen.
    if (choice_.strSelection.empty() && !choice_.blnCancel && !choice_.blnNoHeaders)
        choice_.blnCancel = kTrue16;

    if (location.networkDrive) choice_.blnNoHeaders = kTrue16;
    if (choice_.blnCancel) {
        Cancel = kTrue16;
        return;
    }
    if (choice_.blnNoHeaders) return;
    StampMail(disclaimer);
}

void ClBrellin::FillDialog(const std::string& configPath) {
    dialog_.List1Clear();
    dialog_.List2Clear();
    ReadAddinList(platform_.profile, configPath, std::string(kHeadersSection),
                  [&](const std::string& header) { dialog_.List1AddItem(header); });

    const std::string options(kOptionsSection);
    const auto option = [&](const char* key) {
        return platform_.profile.GetInt(configPath, options, key, 0) != 0 ? 1 : 0;
    };
    dialog_.SetCheckValue(1, option("Subject"));
    dialog_.SetCheckValue(2, option("Header"));
    dialog_.SetCheckValue(3, option("Footer"));
    dialog_.SetCheckValue(5, option("Lines"));
    dialog_.SetCheckValue(4, 1);
}

host::MailItem& ClBrellin::MailItem() {
    if (!objMailItem) throw Failure("No mail item is armed");
    return *objMailItem.get();
}

void ClBrellin::StampMail(const std::string& disclaimer) {
    const std::string mark = "(" + choice_.strSelection + ")";
    const bool lines = choice_.blnShowLines != kFalse16;

    std::string body;
    if (choice_.blnShowHeader) body = HeaderBlock(mark, lines);
    body += MailItem().Body();
    if (choice_.blnShowFooter) body += FooterBlock(mark, lines);
    if (choice_.blnShowDisclaimer && !disclaimer.empty()) body += std::string{kCr, kCr} + disclaimer;
    MailItem().PutBody(body);

    if (choice_.blnShowSubject) {
        const std::string subject = MailItem().Subject();
        MailItem().PutSubject(mark + " " + subject);
    }
}

}  // namespace brellin
