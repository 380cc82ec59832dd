#include "dispatch_object.h"

#include <olectl.h>

#include <new>
#include <string>

#include "com_ptr.h"
#include "com_result.h"

using Microsoft::WRL::ComPtr;

namespace hostsim {

DispatchObject::DispatchObject(const IID* own, std::initializer_list<Member> members,
                               std::initializer_list<const IID*> events)
    : own_(own), members_(members) {
    for (const IID* iid : events)
        points_.push_back(brellin::com::Adopt(new ConnectionPoint(*iid, *this)));
}

DispatchObject::~DispatchObject() = default;

HRESULT DispatchObject::QueryInterface(REFIID riid, void** ppv) noexcept {
    RETURN_HR_IF(E_POINTER, !ppv);
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || (own_ && riid == *own_))
        *ppv = static_cast<IDispatch*>(this);
    else if (riid == IID_IConnectionPointContainer && !points_.empty())
        *ppv = static_cast<IConnectionPointContainer*>(this);
    RETURN_HR_IF(E_NOINTERFACE, !*ppv);
    AddRef();
    return S_OK;
}

ULONG DispatchObject::Release() noexcept {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) noexcept {
    RETURN_HR_IF(E_POINTER, !count);
    *count = 0;
    return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
    RETURN_HR_IF(E_POINTER, !names || !ids);
    RETURN_HR_IF(E_INVALIDARG, count == 0);
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (const auto& member : members_) {
        if (lstrcmpiW(names[0], member.name) != 0) continue;
        ids[0] = member.id;
        return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;  // no named arguments on our members
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO*, UINT*) noexcept {
    RETURN_HR_IF(E_INVALIDARG, !params);
    bool known = false;
    for (const auto& member : members_) known = known || member.id == id;
    RETURN_HR_IF(DISP_E_MEMBERNOTFOUND, !known);

    VARIANT ignored;
    VariantInit(&ignored);
    VARIANT& out = result ? *result : ignored;
    VariantInit(&out);
    const ComPtr<DispatchObject> self(this);
    HRESULT hr = E_UNEXPECTED;
    try {
        hr = Call(id, flags, *params, out);
    } catch (...) {
        hr = E_UNEXPECTED;
    }
    VariantClear(&ignored);
    return hr;
}

HRESULT DispatchObject::EnumConnectionPoints(IEnumConnectionPoints** points) noexcept {
    if (points) *points = nullptr;
    return E_NOTIMPL;
}

HRESULT DispatchObject::FindConnectionPoint(REFIID events, IConnectionPoint** point) noexcept {
    RETURN_HR_IF(E_POINTER, !point);
    *point = nullptr;
    for (const auto& candidate : points_) {
        if (candidate->Events() != events) continue;
        return candidate.CopyTo(point);
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT ReturnObject(VARIANT& result, IDispatch* object) {
    V_VT(&result) = VT_DISPATCH;
    V_DISPATCH(&result) = object;
    if (object) object->AddRef();
    return S_OK;
}

HRESULT ReturnText(VARIANT& result, const std::wstring& text) {
    V_VT(&result) = VT_BSTR;
    V_BSTR(&result) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return V_BSTR(&result) ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnLong(VARIANT& result, long value) {
    V_VT(&result) = VT_I4;
    V_I4(&result) = value;
    return S_OK;
}

HRESULT TextArgument(DISPPARAMS& params, UINT fromLast, std::wstring& text) {
    RETURN_HR_IF(DISP_E_BADPARAMCOUNT, fromLast >= params.cArgs);
    VARIANT converted;
    VariantInit(&converted);
    RETURN_IF_FAILED(VariantChangeType(&converted, &params.rgvarg[fromLast], 0, VT_BSTR));
    text.assign(V_BSTR(&converted), SysStringLen(V_BSTR(&converted)));
    VariantClear(&converted);
    return S_OK;
}

}  // namespace hostsim
