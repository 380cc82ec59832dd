#include "event_sink.h"

#include <exception>
#include <new>

#include "com_ptr.h"
#include "com_result.h"
#include "dispatch_call.h"
#include "failure.h"

using Microsoft::WRL::ComPtr;

namespace brellin::com {

ComPtr<EventSink> EventSink::Create(REFIID events, EventHandler handler) {
    auto* sink = new (std::nothrow) EventSink(events, std::move(handler));
    if (!sink) throw Failure("out of memory");
    return Adopt(sink);
}

HRESULT EventSink::QueryInterface(REFIID riid, void** ppv) noexcept {
    RETURN_HR_IF(E_POINTER, !ppv);
    // The client asks for its event interface; a dispatch sink is all it
    // needs, since every event arrives through Invoke.
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == events_) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG EventSink::Release() noexcept {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
}

HRESULT EventSink::GetTypeInfoCount(UINT* count) noexcept {
    RETURN_HR_IF(E_POINTER, !count);
    *count = 0;
    return S_OK;
}

HRESULT EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept {
    return E_NOTIMPL;
}

namespace {

void Describe(EXCEPINFO* exception, const char* text, HRESULT scode) {
    if (!exception) return;
    *exception = EXCEPINFO{};
    exception->bstrSource = SysAllocString(L"Brellin");
    const std::wstring wide = FromAnsi(text);
    exception->bstrDescription = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    exception->scode = scode;
}

}  // namespace

HRESULT EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* exception, UINT*) noexcept {
    if (result) VariantInit(result);
    if (!handler_) return S_OK;
    // The handler may disconnect this very sink; it stays alive to the end.
    const ComPtr<EventSink> self(this);
    const EventHandler handler = handler_;
    try {
        handler(id, params);
        return S_OK;
    } catch (const std::bad_alloc&) {
        Describe(exception, "out of memory", E_OUTOFMEMORY);
    } catch (const std::exception& failure) {
        Describe(exception, failure.what(), E_FAIL);
    } catch (...) {
        Describe(exception, "unexpected failure", E_UNEXPECTED);
    }
    return exception ? DISP_E_EXCEPTION : E_FAIL;
}

HRESULT EventConnection::Connect(IUnknown* source, REFIID events, IUnknown* sink) noexcept {
    Disconnect();
    RETURN_HR_IF(E_POINTER, !source || !sink);
    ComPtr<IConnectionPointContainer> container;
    RETURN_IF_FAILED(source->QueryInterface(IID_PPV_ARGS(&container)));
    ComPtr<IConnectionPoint> point;
    RETURN_IF_FAILED(container->FindConnectionPoint(events, &point));
    DWORD cookie = 0;
    RETURN_IF_FAILED(point->Advise(sink, &cookie));
    point_ = std::move(point);
    cookie_ = cookie;
    return S_OK;
}

void EventConnection::Disconnect() noexcept {
    if (!point_) return;
    point_->Unadvise(cookie_);
    point_.Reset();
    cookie_ = 0;
}

ComPtr<IDispatch> WindowArgument(DISPPARAMS* params) {
    if (!params || params->cArgs != 1) throw Failure("event without its window");
    VARIANT* argument = &params->rgvarg[0];
    if (V_VT(argument) == VT_DISPATCH) return V_DISPATCH(argument);
    if (V_VT(argument) == (VT_DISPATCH | VT_BYREF) && V_DISPATCHREF(argument)) return *V_DISPATCHREF(argument);
    throw Failure("event without its window");
}

VARIANT_BOOL* CancelArgument(DISPPARAMS* params) {
    if (!params || params->cArgs != 1 || V_VT(&params->rgvarg[0]) != (VT_BOOL | VT_BYREF) ||
        !V_BOOLREF(&params->rgvarg[0]))
        throw Failure("send event without its cancel flag");
    return V_BOOLREF(&params->rgvarg[0]);
}

void ThrowAdviseFailure(HRESULT hr) {
    ThrowFailure(hr, L"Advise");
}

}  // namespace brellin::com
