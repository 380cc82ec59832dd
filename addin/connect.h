// The add-in object that the mail client creates and connects: at connection
// it warns when the add-in lies on a network location and, when the client
// has a window, creates the one ClBrellin and attaches it to the client; at
// disconnection it tears ClBrellin down and lets it go.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "cl_brellin.h"
#include "dialog.h"
#include "host.h"
#include "mod_brellin.h"
#include "platform.h"

namespace brellin {

namespace host {

// The application object as the client passes it at connection: first used
// by name, for the window counts, then as the client's application.
class ConnectingApplication {
public:
    virtual ~ConnectingApplication() = default;
    // Explorers.Count and Inspectors.Count, by name.
    virtual std::int32_t ExplorersCount() = 0;
    virtual std::int32_t InspectorsCount() = 0;
    // The same object through the client's application interface; throws
    // Failure when the host is not the mail client.
    virtual std::shared_ptr<Application> OutlookApplication() = 0;
};

// The client's object for this add-in.
class AddInInstance {
public:
    virtual ~AddInInstance() = default;
    virtual std::string ProgId() = 0;
};

}  // namespace host

class Connect {
public:
    Connect(AddinPlatform& platform, DialogForm& dialog, SendChoice& choice)
        : platform_(platform), dialog_(dialog), choice_(choice) {}
    Connect(const Connect&) = delete;
    Connect& operator=(const Connect&) = delete;

    // Never fails: a failing step is skipped as the add-in's rules say, and
    // the client always hears success. `ConnectMode` is not consulted.
    void AddinInstance_OnConnection(host::ConnectingApplication& Application, std::int32_t ConnectMode,
                                    host::AddInInstance& AddInInst);
    // Never fails. `RemoveMode` is not consulted.
    void AddinInstance_OnDisconnection(std::int32_t RemoveMode);

    // The ClBrellin while connected; null otherwise.
    ClBrellin* clBrellin() const { return clBrellin_.get(); }

private:
    void WarnWhenRemote();

    AddinPlatform& platform_;
    DialogForm& dialog_;
    SendChoice& choice_;
    std::unique_ptr<ClBrellin> clBrellin_;
};

}  // namespace brellin
