// A connection point of the test host's objects: sinks advise and unadvise
// as on the mail client, every advise and unadvise is counted, and the host
// raises its events through Fire.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <string>
#include <utility>
#include <vector>

namespace hostsim {

// What an event's sinks answered.
struct FireResult {
    int sinks = 0;             // how many sinks received the event
    HRESULT hr = S_OK;         // the first failure, if any
    std::wstring description;  // that failure's description
};

class ConnectionPoint final : public IConnectionPoint {
public:
    ConnectionPoint(const IID& events, IConnectionPointContainer& container)
        : events_(events), container_(container) {}

    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override;
    IFACEMETHODIMP_(ULONG) AddRef() noexcept override { return InterlockedIncrement(&refs_); }
    IFACEMETHODIMP_(ULONG) Release() noexcept override;

    IFACEMETHODIMP GetConnectionInterface(IID* iid) noexcept override;
    IFACEMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) noexcept override;
    IFACEMETHODIMP Advise(IUnknown* sink, DWORD* cookie) noexcept override;
    IFACEMETHODIMP Unadvise(DWORD cookie) noexcept override;
    IFACEMETHODIMP EnumConnections(IEnumConnections** connections) noexcept override;

    const IID& Events() const { return events_; }
    FireResult Fire(DISPID id, VARIANT* arguments, UINT count);

    int advises = 0;
    int unadvises = 0;
    std::size_t Connected() const { return sinks_.size(); }

private:
    LONG refs_ = 1;
    IID events_;
    IConnectionPointContainer& container_;  // owns this point
    DWORD nextCookie_ = 1;
    std::vector<std::pair<DWORD, Microsoft::WRL::ComPtr<IDispatch>>> sinks_;
};

}  // namespace hostsim
