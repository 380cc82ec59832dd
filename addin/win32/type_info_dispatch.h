// IDispatch for our own dual interfaces, answered from the type information
// that the library carries. Each object holds one of these and forwards its
// four IDispatch methods to it; the type information is loaded at first use,
// so creating an object costs nothing here.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

namespace brellin::com {

class TypeInfoDispatch {
public:
    explicit TypeInfoDispatch(REFIID iid) : iid_(iid) {}

    HRESULT GetTypeInfoCount(UINT* count) noexcept;
    HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** typeInfo) noexcept;
    HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) noexcept;
    HRESULT Invoke(void* self, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError) noexcept;

private:
    HRESULT Load() noexcept;

    const IID& iid_;
    Microsoft::WRL::ComPtr<ITypeInfo> typeInfo_;
};

}  // namespace brellin::com
