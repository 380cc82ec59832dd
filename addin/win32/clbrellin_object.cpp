#include "clbrellin_object.h"

#include <shlwapi.h>

#include <new>

#include "brellin.h"
#include "com_result.h"
#include "module.h"
#include "type_info_dispatch.h"

namespace brellin::com {
namespace {

class ClBrellinObject final : public _ClBrellin {
public:
    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override {
        static const QITAB table[] = {
            QITABENT(ClBrellinObject, _ClBrellin),
            QITABENTMULTI(ClBrellinObject, IDispatch, _ClBrellin),
            {},
        };
        return QISearch(this, table, riid, ppv);
    }
    IFACEMETHODIMP_(ULONG) AddRef() noexcept override { return InterlockedIncrement(&refs_); }
    IFACEMETHODIMP_(ULONG) Release() noexcept override {
        const LONG refs = InterlockedDecrement(&refs_);
        if (refs == 0) delete this;
        return refs;
    }

    IFACEMETHODIMP GetTypeInfoCount(UINT* count) noexcept override {
        return dispatch_.GetTypeInfoCount(count);
    }
    IFACEMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) noexcept override {
        return dispatch_.GetTypeInfo(index, lcid, info);
    }
    IFACEMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept override {
        return dispatch_.GetIDsOfNames(names, count, ids);
    }
    IFACEMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* exception, UINT* argError) noexcept override {
        return dispatch_.Invoke(static_cast<_ClBrellin*>(this), id, flags, params, result,
                                exception, argError);
    }

private:
    LONG refs_ = 1;
    ModuleReference module_;
    TypeInfoDispatch dispatch_{IID__ClBrellin};
};

}  // namespace

HRESULT CreateClBrellinObject(REFIID riid, void** ppv) noexcept {
    RETURN_HR_IF(E_POINTER, !ppv);
    *ppv = nullptr;
    auto* object = new (std::nothrow) ClBrellinObject();
    RETURN_HR_IF(E_OUTOFMEMORY, !object);
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}

}  // namespace brellin::com
