#include "connect_object.h"

#include <shlwapi.h>
#include <wrl/client.h>

#include <new>

#include "brellin.h"
#include "com_ptr.h"
#include "com_result.h"
#include "connect.h"
#include "dialog_window.h"
#include "host_adapters.h"
#include "mod_brellin.h"
#include "module.h"
#include "platform_win32.h"
#include "type_info_dispatch.h"
#include "win32/kernel32_profile.h"

using Microsoft::WRL::ComPtr;

namespace brellin::com {
namespace {

// The add-in interface's methods by name, for a host that calls it late bound.
struct ExtensibilityMember {
    const wchar_t* name;
    DISPID id;
    UINT arguments;
};
constexpr ExtensibilityMember kExtensibilityMembers[] = {
    {L"OnConnection", 1, 4},     {L"OnDisconnection", 2, 2}, {L"OnAddInsUpdate", 3, 1},
    {L"OnStartupComplete", 4, 1}, {L"OnBeginShutdown", 5, 1},
};

const ExtensibilityMember* FindMember(DISPID id) {
    for (const auto& member : kExtensibilityMembers)
        if (member.id == id) return &member;
    return nullptr;
}

class ConnectObject final : public _Connect, public IDTExtensibility2 {
public:
    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override {
        static const QITAB table[] = {
            QITABENT(ConnectObject, _Connect),
            QITABENTMULTI(ConnectObject, IDispatch, _Connect),
            QITABENT(ConnectObject, IDTExtensibility2),
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

    // ---- IDispatch, shared by _Connect and the add-in interface ----
    IFACEMETHODIMP GetTypeInfoCount(UINT* count) noexcept override {
        return dispatch_.GetTypeInfoCount(count);
    }
    IFACEMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) noexcept override {
        return dispatch_.GetTypeInfo(index, lcid, info);
    }
    IFACEMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept override {
        RETURN_HR_IF(E_POINTER, !names || !ids);
        for (const auto& member : kExtensibilityMembers) {
            if (count < 1 || lstrcmpiW(names[0], member.name) != 0) continue;
            ids[0] = member.id;
            for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
            return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
        return dispatch_.GetIDsOfNames(names, count, ids);
    }
    IFACEMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* exception, UINT* argError) noexcept override {
        const ExtensibilityMember* member = FindMember(id);
        if (!member)
            return dispatch_.Invoke(static_cast<_Connect*>(this), id, flags, params, result,
                                    exception, argError);
        RETURN_HR_IF(DISP_E_MEMBERNOTFOUND, !(flags & DISPATCH_METHOD));
        RETURN_HR_IF(E_INVALIDARG, !params);
        RETURN_HR_IF(DISP_E_BADPARAMCOUNT, params->cArgs != member->arguments);
        if (result) VariantInit(result);
        return InvokeMember(id, params, argError);
    }

    // ---- IDTExtensibility2 ----
    // The client always hears success: the add-in's own rules say which
    // steps are skipped when they fail.
    IFACEMETHODIMP OnConnection(IDispatch* application, int connectMode, IDispatch* addInInst,
                                SAFEARRAY**) noexcept override {
        try {
            const auto passed = AdaptConnectingApplication(application);
            const auto instance = AdaptAddInInstance(addInInst);
            connect_.AddinInstance_OnConnection(*passed, connectMode, *instance);
        } catch (...) {
        }
        return S_OK;
    }
    IFACEMETHODIMP OnDisconnection(int removeMode, SAFEARRAY**) noexcept override {
        try {
            connect_.AddinInstance_OnDisconnection(removeMode);
        } catch (...) {
        }
        return S_OK;
    }
    IFACEMETHODIMP OnAddInsUpdate(SAFEARRAY**) noexcept override { return S_OK; }
    IFACEMETHODIMP OnStartupComplete(SAFEARRAY**) noexcept override { return S_OK; }
    IFACEMETHODIMP OnBeginShutdown(SAFEARRAY**) noexcept override { return S_OK; }

private:
    HRESULT InvokeMember(DISPID id, DISPPARAMS* params, UINT* argError) noexcept {
        switch (id) {
        case 1: {
            VARIANT application, mode, addInInst;
            VariantInit(&application);
            VariantInit(&mode);
            VariantInit(&addInInst);
            RETURN_IF_FAILED(DispGetParam(params, 0, VT_DISPATCH, &application, argError));
            const auto applicationHolder = Adopt(V_DISPATCH(&application));
            RETURN_IF_FAILED(DispGetParam(params, 1, VT_I4, &mode, argError));
            RETURN_IF_FAILED(DispGetParam(params, 2, VT_DISPATCH, &addInInst, argError));
            const auto addInInstHolder = Adopt(V_DISPATCH(&addInInst));
            return OnConnection(applicationHolder.Get(), V_I4(&mode), addInInstHolder.Get(), nullptr);
        }
        case 2: {
            VARIANT mode;
            VariantInit(&mode);
            RETURN_IF_FAILED(DispGetParam(params, 0, VT_I4, &mode, argError));
            return OnDisconnection(V_I4(&mode), nullptr);
        }
        case 3: return OnAddInsUpdate(nullptr);
        case 4: return OnStartupComplete(nullptr);
        case 5: return OnBeginShutdown(nullptr);
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    LONG refs_ = 1;
    ModuleReference module_;
    TypeInfoDispatch dispatch_{IID__Connect};

    // The platform as the add-in meets it inside the mail client, the one
    // dialog form, and the add-in itself.
    Kernel32Profile profile_;
    Win32Messages messages_;
    ModuleInstallFolder installFolder_;
    Kernel32Drives drives_;
    AddinPlatform platform_{profile_, messages_, installFolder_, drives_};
    DialogWindow dialog_{ModBrellin::sendChoice, platform_};
    Connect connect_{platform_, dialog_, ModBrellin::sendChoice};
};

}  // namespace

HRESULT CreateConnectObject(REFIID riid, void** ppv) noexcept {
    RETURN_HR_IF(E_POINTER, !ppv);
    *ppv = nullptr;
    auto* object = new (std::nothrow) ConnectObject();
    RETURN_HR_IF(E_OUTOFMEMORY, !object);
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}

}  // namespace brellin::com
