// Loading add-ins the way the mail client does: the per-user add-in entries,
// load behaviour 3, the ProgID resolved to its class (the user's classes
// first, as on Windows), the object created in process and connected through
// IDTExtensibility2; at the end shutdown,
// disconnection, release, and the check that the library may now unload.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

#include "brellin.h"
#include "mail_client.h"

namespace hostsim {

struct LoadedAddin {
    std::wstring progId;
    std::wstring server;  // the library's path, from its class's registration
    Microsoft::WRL::ComPtr<IDTExtensibility2> addin;
    Microsoft::WRL::ComPtr<AddInObject> instance;
    double connectMilliseconds = 0;  // from creating the object to OnConnection's return
    HMODULE library = nullptr;       // loaded by the host itself, for a class of the user's
};

class AddinLoader {
public:
    // Receives one line for each step; `failure` marks a step that went wrong.
    using Trace = std::function<void(const std::string& line, bool failure)>;
    explicit AddinLoader(Trace trace) : trace_(std::move(trace)) {}

    // Connects every add-in whose entry says load behaviour 3. An add-in that
    // cannot be loaded is reported and left out, as the client would.
    void Connect(IDispatch* application);
    // Shuts every connected add-in down and releases it. False when a step
    // failed or a library still refuses to unload afterwards.
    bool Disconnect();

    const std::vector<LoadedAddin>& Addins() const { return addins_; }

private:
    void Load(IDispatch* application, const std::wstring& progId);
    void Step(const std::string& what, HRESULT hr);

    Trace trace_;
    std::vector<LoadedAddin> addins_;
    bool ok_ = true;
};

std::string HexResult(HRESULT hr);

}  // namespace hostsim
