#include "dispatch_call.h"

#include <cstdio>

#include "failure.h"

using Microsoft::WRL::ComPtr;

namespace brellin::com {

std::string ToAnsi(const wchar_t* text, std::size_t length) {
    if (!text || length == 0) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string ansi(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), ansi.data(), size, nullptr, nullptr);
    return ansi;
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

void ThrowFailure(HRESULT hr, const wchar_t* member, EXCEPINFO* exception) {
    std::string reason;
    if (hr == DISP_E_EXCEPTION && exception) {
        if (exception->pfnDeferredFillIn) exception->pfnDeferredFillIn(exception);
        if (exception->bstrDescription)
            reason = ToAnsi(exception->bstrDescription, SysStringLen(exception->bstrDescription));
        if (FAILED(exception->scode)) hr = exception->scode;
        SysFreeString(exception->bstrSource);
        SysFreeString(exception->bstrDescription);
        SysFreeString(exception->bstrHelpFile);
        *exception = EXCEPINFO{};
    }
    if (reason.empty()) {
        char text[64];
        std::snprintf(text, sizeof text, " failed with 0x%08lX", static_cast<unsigned long>(hr));
        reason = ToAnsi(member, lstrlenW(member)) + text;
    }
    throw Failure(reason);
}

namespace {

Variant Invoke(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* arguments, UINT count) {
    if (!object) ThrowFailure(E_POINTER, name);
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) ThrowFailure(hr, name);

    DISPID namedPut = DISPID_PROPERTYPUT;
    DISPPARAMS params{arguments, nullptr, count, 0};
    if (flags == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &namedPut;
        params.cNamedArgs = 1;
    }
    Variant result;
    EXCEPINFO exception{};
    UINT argError = 0;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                        flags == DISPATCH_PROPERTYPUT ? nullptr : result.get(), &exception, &argError);
    if (FAILED(hr)) ThrowFailure(hr, name, &exception);
    return result;
}

}  // namespace

Variant Variant::Text(const std::string& ansi) {
    Variant value;
    const std::wstring wide = FromAnsi(ansi);
    V_VT(value.get()) = VT_BSTR;
    V_BSTR(value.get()) = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (!V_BSTR(value.get())) throw Failure("out of memory");
    return value;
}

Variant Variant::Object(IDispatch* object) {
    Variant value;
    V_VT(value.get()) = VT_DISPATCH;
    V_DISPATCH(value.get()) = object;
    if (object) object->AddRef();
    return value;
}

Variant GetProperty(IDispatch* object, const wchar_t* name) {
    return Invoke(object, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, nullptr, 0);
}

void PutProperty(IDispatch* object, const wchar_t* name, const Variant& value) {
    VARIANT argument = *value.get();  // borrowed: Invoke does not take it over
    Invoke(object, name, DISPATCH_PROPERTYPUT, &argument, 1);
}

Variant CallMethod(IDispatch* object, const wchar_t* name, std::initializer_list<const Variant*> arguments) {
    // Automation passes arguments last to first.
    VARIANT reversed[8];
    if (arguments.size() > 8) throw Failure("too many arguments");
    UINT count = 0;
    for (auto it = arguments.end(); it != arguments.begin();) reversed[count++] = *(*--it)->get();
    return Invoke(object, name, DISPATCH_METHOD, reversed, count);
}

std::string ToText(const Variant& value) {
    Variant text;
    const HRESULT hr = VariantChangeType(text.get(), const_cast<VARIANT*>(value.get()), 0, VT_BSTR);
    if (FAILED(hr)) ThrowFailure(hr, L"text conversion");
    return ToAnsi(V_BSTR(text.get()), SysStringLen(V_BSTR(text.get())));
}

std::int32_t ToLong(const Variant& value) {
    Variant number;
    const HRESULT hr = VariantChangeType(number.get(), const_cast<VARIANT*>(value.get()), 0, VT_I4);
    if (FAILED(hr)) ThrowFailure(hr, L"number conversion");
    return V_I4(number.get());
}

ComPtr<IDispatch> ToObject(const Variant& value) {
    const VARIANT* v = value.get();
    if (V_VT(v) == VT_EMPTY || (V_VT(v) == VT_DISPATCH && !V_DISPATCH(v))) return nullptr;
    if (V_VT(v) == VT_DISPATCH) return V_DISPATCH(v);
    if (V_VT(v) == VT_UNKNOWN && V_UNKNOWN(v)) {
        ComPtr<IDispatch> object;
        const HRESULT hr = V_UNKNOWN(v)->QueryInterface(IID_PPV_ARGS(&object));
        if (FAILED(hr)) ThrowFailure(hr, L"object conversion");
        return object;
    }
    ThrowFailure(DISP_E_TYPEMISMATCH, L"object conversion");
}

}  // namespace brellin::com
