#include "type_info_dispatch.h"

#include "com_result.h"
#include "module.h"

namespace brellin::com {

HRESULT TypeInfoDispatch::Load() noexcept {
    if (typeInfo_) return S_OK;
    return GetOwnTypeInfo(iid_, &typeInfo_);
}

HRESULT TypeInfoDispatch::GetTypeInfoCount(UINT* count) noexcept {
    RETURN_HR_IF(E_POINTER, !count);
    *count = 1;
    return S_OK;
}

HRESULT TypeInfoDispatch::GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) noexcept {
    RETURN_HR_IF(E_POINTER, !typeInfo);
    *typeInfo = nullptr;
    RETURN_HR_IF(DISP_E_BADINDEX, index != 0);
    RETURN_IF_FAILED(Load());
    return typeInfo_.CopyTo(typeInfo);
}

HRESULT TypeInfoDispatch::GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) noexcept {
    RETURN_IF_FAILED(Load());
    return DispGetIDsOfNames(typeInfo_.Get(), names, count, ids);
}

HRESULT TypeInfoDispatch::Invoke(void* self, DISPID id, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* exception, UINT* argError) noexcept {
    RETURN_IF_FAILED(Load());
    return DispInvoke(self, typeInfo_.Get(), id, flags, params, result, exception, argError);
}

}  // namespace brellin::com
