// The base of the test host's automation objects: IUnknown and IDispatch over
// a table of member names, the object's own interface identifier of the mail
// client, and connection points for the events it raises.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <initializer_list>
#include <vector>

#include "connection_point.h"

namespace hostsim {

struct Member {
    const wchar_t* name;
    DISPID id;
};

class DispatchObject : public IDispatch, public IConnectionPointContainer {
public:
    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override;
    IFACEMETHODIMP_(ULONG) AddRef() noexcept override { return InterlockedIncrement(&refs_); }
    IFACEMETHODIMP_(ULONG) Release() noexcept override;

    IFACEMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
    IFACEMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
    IFACEMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept override;
    IFACEMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* exception, UINT* argError) noexcept override;

    IFACEMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) noexcept override;
    IFACEMETHODIMP FindConnectionPoint(REFIID events, IConnectionPoint** point) noexcept override;

protected:
    DispatchObject(const IID* own, std::initializer_list<Member> members,
                   std::initializer_list<const IID*> events = {});
    virtual ~DispatchObject();

    // One member call; `flags` says get, put or method. Arguments arrive
    // last to first, as automation passes them.
    virtual HRESULT Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT& result) = 0;

    ConnectionPoint& Point(std::size_t index) { return *points_[index].Get(); }

private:
    LONG refs_ = 1;
    const IID* own_;
    std::vector<Member> members_;
    std::vector<Microsoft::WRL::ComPtr<ConnectionPoint>> points_;
};

// Member-call helpers for the objects.
HRESULT ReturnObject(VARIANT& result, IDispatch* object);
HRESULT ReturnText(VARIANT& result, const std::wstring& text);
HRESULT ReturnLong(VARIANT& result, long value);
// The one argument of a put, or the first of a method, as text.
HRESULT TextArgument(DISPPARAMS& params, UINT fromLast, std::wstring& text);

constexpr bool IsGet(WORD flags) { return (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0; }
constexpr bool IsPut(WORD flags) { return (flags & DISPATCH_PROPERTYPUT) != 0; }

}  // namespace hostsim
