// The add-in's link to the mail client: it holds the client's application,
// name space, window collections and windows, follows new explorer and
// inspector windows, arms the mail item of every new mail inspector and, when
// the user sends that item, asks for the classification in the dialog and
// stamps the mail with it, lets it go unchanged, or cancels the send.
#pragma once

#include <memory>
#include <string>

#include "bool16.h"
#include "dialog.h"
#include "host.h"
#include "mod_brellin.h"
#include "platform.h"

namespace brellin {

// The dotted line that frames the mark: 39 full stops, never 40.
inline constexpr const char* kDottedLine = ".......................................";

class ClBrellin final : private host::MailItemEvents,
                        private host::ExplorersEvents,
                        private host::InspectorsEvents {
public:
    ClBrellin(AddinPlatform& platform, DialogForm& dialog, SendChoice& choice)
        : platform_(platform), dialog_(dialog), choice_(choice) {}
    ClBrellin(const ClBrellin&) = delete;
    ClBrellin& operator=(const ClBrellin&) = delete;

    // The client's objects, each empty until set. The three that handle
    // events follow whatever object they hold.
    std::shared_ptr<host::Application> objOutlook;
    std::shared_ptr<host::NameSpace> objNS;
    std::shared_ptr<host::Explorer> objExpl;
    host::WithEvents<host::Explorers, host::ExplorersEvents> colExpl{*this};
    std::shared_ptr<host::Inspector> objInsp;
    host::WithEvents<host::Inspectors, host::InspectorsEvents> colInsp{*this};
    // The mail item whose send is intercepted; its Send event reaches
    // objMailItem_Send while it is held here.
    host::WithEvents<host::MailItem, host::MailItemEvents> objMailItem{*this};

    // Takes the client's objects, in this order; the first failure ends it
    // and goes to the caller, and what was taken before stays. The ProgID is
    // not consulted.
    void AttachOutlook(std::shared_ptr<host::Application> olApp, const std::string& ProgID);
    // Lets go of the client's objects but the armed mail item, then unloads
    // the dialog. The first failure ends it and goes to the caller.
    void DetachOutlook();

    // A new explorer window: kept only when none is held yet.
    void colExpl_NewExplorer(const std::shared_ptr<host::Explorer>& Explorer);
    // A new inspector window: held, and its item armed when it is mail. A
    // failing step is skipped; nothing goes back to the client.
    void colInsp_NewInspector(const std::shared_ptr<host::Inspector>& Inspector);

    // The send of the armed item. Sets `Cancel` only when the user cancels;
    // a failing step throws, and the failure goes back to the client.
    void objMailItem_Send(Bool16& Cancel);

private:
    void Send(Bool16& Cancel) override { objMailItem_Send(Cancel); }
    void NewExplorer(const std::shared_ptr<host::Explorer>& explorer) override { colExpl_NewExplorer(explorer); }
    void NewInspector(const std::shared_ptr<host::Inspector>& inspector) override {
        colInsp_NewInspector(inspector);
    }
    void FillDialog(const std::string& configPath);
    void StampMail(const std::string& disclaimer);
    // The armed item, fetched anew for each operation on it.
    host::MailItem& MailItem();

    AddinPlatform& platform_;
    DialogForm& dialog_;
    SendChoice& choice_;
};

}  // namespace brellin
