#include "connection_point.h"

#include <olectl.h>

#include "com_result.h"

using Microsoft::WRL::ComPtr;

namespace hostsim {

HRESULT ConnectionPoint::QueryInterface(REFIID riid, void** ppv) noexcept {
    RETURN_HR_IF(E_POINTER, !ppv);
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG ConnectionPoint::Release() noexcept {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) noexcept {
    RETURN_HR_IF(E_POINTER, !iid);
    *iid = events_;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) noexcept {
    RETURN_HR_IF(E_POINTER, !container);
    *container = &container_;
    container_.AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) noexcept {
    RETURN_HR_IF(E_POINTER, !sink || !cookie);
    *cookie = 0;
    // Like the mail client, ask the sink for the event interface itself; the
    // events then go through its IDispatch.
    ComPtr<IUnknown> events;
    RETURN_HR_IF(CONNECT_E_CANNOTCONNECT, FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(events.GetAddressOf()))));
    ComPtr<IDispatch> dispatch;
    RETURN_HR_IF(CONNECT_E_CANNOTCONNECT, FAILED(events.As(&dispatch)));
    *cookie = nextCookie_++;
    sinks_.emplace_back(*cookie, std::move(dispatch));
    ++advises;
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) noexcept {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->first != cookie) continue;
        sinks_.erase(it);
        ++unadvises;
        return S_OK;
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** connections) noexcept {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
}

FireResult ConnectionPoint::Fire(DISPID id, VARIANT* arguments, UINT count) {
    FireResult result;
    // A sink may unadvise while it runs: work on a copy.
    const auto sinks = sinks_;
    for (const auto& [cookie, sink] : sinks) {
        DISPPARAMS params{arguments, nullptr, count, 0};
        EXCEPINFO exception{};
        VARIANT ignored;
        VariantInit(&ignored);
        const HRESULT hr = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &ignored,
                                        &exception, nullptr);
        VariantClear(&ignored);
        ++result.sinks;
        if (FAILED(hr) && SUCCEEDED(result.hr)) {
            result.hr = hr == DISP_E_EXCEPTION && FAILED(exception.scode) ? exception.scode : hr;
            if (exception.bstrDescription) result.description = exception.bstrDescription;
        }
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
    return result;
}

}  // namespace hostsim
