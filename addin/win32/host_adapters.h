// The add-in's view of the mail client (host.h, connect.h) bound to the
// client's automation objects: every call goes by name through IDispatch, each
// object is first asked for the client's interface of its kind, and the three
// followed events come through connection points.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <memory>

#include "connect.h"
#include "host.h"

namespace brellin::com {

// The application object and the add-in object as OnConnection receives them.
std::unique_ptr<host::ConnectingApplication> AdaptConnectingApplication(IDispatch* application);
std::unique_ptr<host::AddInInstance> AdaptAddInInstance(IDispatch* addInInst);

}  // namespace brellin::com
