#include "mail_client.h"

#include <new>

#include "com_ptr.h"
#include "com_result.h"
#include "outlook_ids.h"

namespace hostsim {

namespace ol = brellin::outlook;

namespace {

enum : DISPID {
    kClass = 1,
    kBody,
    kSubject,
    kCurrentItem,
    kCount,
    kGetNamespace,
    kExplorers,
    kInspectors,
    kActiveExplorer,
    kProgId,
    kType,
};

template <class T, class... Args>
ComPtr<T> Make(Args&&... args) {
    auto* object = new (std::nothrow) T(std::forward<Args>(args)...);
    if (!object) throw std::bad_alloc();
    return brellin::com::Adopt(object);
}

}  // namespace

// ---- items -------------------------------------------------------------------

ComPtr<MailItemObject> MailItemObject::Create(std::wstring subject, std::wstring body) {
    return Make<MailItemObject>(std::move(subject), std::move(body));
}

MailItemObject::MailItemObject(std::wstring subject, std::wstring body)
    : DispatchObject(&ol::IID_MailItem, {{L"Class", kClass}, {L"Body", kBody}, {L"Subject", kSubject}},
                     {&ol::DIID_ItemEvents}),
      subject(std::move(subject)),
      body(std::move(body)) {}

HRESULT MailItemObject::Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT& result) {
    std::wstring* text = id == kBody ? &body : id == kSubject ? &subject : nullptr;
    if (id == kClass && IsGet(flags)) return ReturnLong(result, ol::olMail);
    RETURN_HR_IF(DISP_E_MEMBERNOTFOUND, !text);
    if (IsPut(flags)) return TextArgument(params, 0, *text);
    return ReturnText(result, *text);
}

FireResult MailItemObject::RaiseSend(VARIANT_BOOL& cancel) {
    VARIANT argument;
    V_VT(&argument) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&argument) = &cancel;
    return Events().Fire(ol::DISPID_Send, &argument, 1);
}

ComPtr<OtherItemObject> OtherItemObject::Create(long itemClass) {
    return Make<OtherItemObject>(itemClass);
}

OtherItemObject::OtherItemObject(long itemClass)
    : DispatchObject(nullptr, {{L"Class", kClass}, {L"Subject", kSubject}}), class_(itemClass) {}

HRESULT OtherItemObject::Call(DISPID id, WORD flags, DISPPARAMS&, VARIANT& result) {
    RETURN_HR_IF(DISP_E_MEMBERNOTFOUND, !IsGet(flags));
    if (id == kClass) return ReturnLong(result, class_);
    return ReturnText(result, L"");
}

// ---- windows -----------------------------------------------------------------

ComPtr<InspectorObject> InspectorObject::Create(ComPtr<IDispatch> item) {
    return Make<InspectorObject>(std::move(item));
}

InspectorObject::InspectorObject(ComPtr<IDispatch> item)
    : DispatchObject(&ol::IID_Inspector, {{L"CurrentItem", kCurrentItem}}), item_(std::move(item)) {}

HRESULT InspectorObject::Call(DISPID, WORD flags, DISPPARAMS&, VARIANT& result) {
    RETURN_HR_IF(DISP_E_MEMBERNOTFOUND, !IsGet(flags));
    return ReturnObject(result, item_.Get());
}

ComPtr<ExplorerObject> ExplorerObject::Create() {
    return Make<ExplorerObject>();
}

ExplorerObject::ExplorerObject() : DispatchObject(&ol::IID_Explorer, {}) {}

HRESULT ExplorerObject::Call(DISPID, WORD, DISPPARAMS&, VARIANT&) {
    return DISP_E_MEMBERNOTFOUND;
}

ComPtr<WindowsObject> WindowsObject::CreateExplorers() {
    return Make<WindowsObject>(ol::IID_Explorers, ol::DIID_ExplorersEvents);
}

ComPtr<WindowsObject> WindowsObject::CreateInspectors() {
    return Make<WindowsObject>(ol::IID_Inspectors, ol::DIID_InspectorsEvents);
}

WindowsObject::WindowsObject(const IID& own, const IID& events)
    : DispatchObject(&own, {{L"Count", kCount}}, {&events}) {}

HRESULT WindowsObject::Call(DISPID, WORD flags, DISPPARAMS&, VARIANT& result) {
    RETURN_HR_IF(DISP_E_MEMBERNOTFOUND, !IsGet(flags));
    return ReturnLong(result, static_cast<long>(windows_.size()));
}

FireResult WindowsObject::Open(ComPtr<IDispatch> window) {
    windows_.push_back(window);
    VARIANT argument;
    V_VT(&argument) = VT_DISPATCH;
    V_DISPATCH(&argument) = window.Get();  // lent for the call
    // NewExplorer and NewInspector share their dispatch identifier.
    return Events().Fire(ol::DISPID_NewInspector, &argument, 1);
}

// ---- application ---------------------------------------------------------------

ComPtr<NameSpaceObject> NameSpaceObject::Create() {
    return Make<NameSpaceObject>();
}

NameSpaceObject::NameSpaceObject() : DispatchObject(&ol::IID_NameSpace, {{L"Type", kType}}) {}

HRESULT NameSpaceObject::Call(DISPID, WORD flags, DISPPARAMS&, VARIANT& result) {
    RETURN_HR_IF(DISP_E_MEMBERNOTFOUND, !IsGet(flags));
    return ReturnText(result, L"MAPI");
}

ComPtr<ApplicationObject> ApplicationObject::Create() {
    return Make<ApplicationObject>();
}

ApplicationObject::ApplicationObject()
    : DispatchObject(&ol::IID_Application, {{L"GetNamespace", kGetNamespace},
                                            {L"Explorers", kExplorers},
                                            {L"Inspectors", kInspectors},
                                            {L"ActiveExplorer", kActiveExplorer}}) {}

HRESULT ApplicationObject::Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT& result) {
    RETURN_HR_IF(DISP_E_MEMBERNOTFOUND, !IsGet(flags));
    switch (id) {
    case kGetNamespace: {
        std::wstring type;
        RETURN_IF_FAILED(TextArgument(params, 0, type));
        RETURN_HR_IF(E_INVALIDARG, lstrcmpiW(type.c_str(), L"MAPI") != 0);
        return ReturnObject(result, mapi_.Get());
    }
    case kExplorers: return ReturnObject(result, explorers_.Get());
    case kInspectors: return ReturnObject(result, inspectors_.Get());
    case kActiveExplorer: {
        // The window opened last is in front; Nothing when there is none.
        const auto& windows = explorers_->Windows();
        return ReturnObject(result, windows.empty() ? nullptr : windows.back().Get());
    }
    }
    return DISP_E_MEMBERNOTFOUND;
}

ComPtr<AddInObject> AddInObject::Create(std::wstring progId) {
    return Make<AddInObject>(std::move(progId));
}

AddInObject::AddInObject(std::wstring progId)
    : DispatchObject(nullptr, {{L"ProgId", kProgId}}), progId_(std::move(progId)) {}

HRESULT AddInObject::Call(DISPID, WORD flags, DISPPARAMS&, VARIANT& result) {
    RETURN_HR_IF(DISP_E_MEMBERNOTFOUND, !IsGet(flags));
    return ReturnText(result, progId_);
}

}  // namespace hostsim
