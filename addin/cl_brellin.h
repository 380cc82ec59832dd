// The add-in's link to the mail client: it holds the armed mail item and,
// when the user sends it, asks for the classification in the dialog and
// stamps the mail with it, lets it go unchanged, or cancels the send.
#pragma once

#include <string>

#include "bool16.h"
#include "dialog.h"
#include "host.h"
#include "mod_brellin.h"
#include "platform.h"

namespace brellin {

// The dotted line that frames the mark: 39 full stops, never 40.
inline constexpr const char* kDottedLine = ".......................................";

class ClBrellin final : private host::MailItemEvents {
public:
    ClBrellin(AddinPlatform& platform, DialogForm& dialog, SendChoice& choice)
        : platform_(platform), dialog_(dialog), choice_(choice) {}
    ClBrellin(const ClBrellin&) = delete;
    ClBrellin& operator=(const ClBrellin&) = delete;

    // The mail item whose send is intercepted; its Send event reaches
    // objMailItem_Send while it is held here.
    host::WithEvents<host::MailItem, host::MailItemEvents> objMailItem{*this};

    // The send of the armed item. Sets `Cancel` only when the user cancels;
    // a failing step throws, and the failure goes back to the client.
    void objMailItem_Send(Bool16& Cancel);

private:
    void Send(Bool16& Cancel) override { objMailItem_Send(Cancel); }
    void FillDialog(const std::string& configPath);
    void StampMail(const std::string& disclaimer);
    // The armed item, fetched anew for each operation on it.
    host::MailItem& MailItem();

    AddinPlatform& platform_;
    DialogForm& dialog_;
    SendChoice& choice_;
};

}  // namespace brellin
