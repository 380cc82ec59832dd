// Calls on the mail client's objects by name, through IDispatch, as late-bound
// automation makes them: the member is looked up by its name at the time of the
// call. A failing call throws Failure with the client's own description when it
// gives one. Texts cross as the ANSI code page both ways.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <initializer_list>
#include <string>

namespace brellin::com {

// A VARIANT that clears itself.
class Variant {
public:
    Variant() noexcept { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }

    static Variant Text(const std::string& ansi);
    static Variant Object(IDispatch* object);

    VARIANT* get() noexcept { return &value_; }
    const VARIANT* get() const noexcept { return &value_; }

private:
    VARIANT value_;
};

Variant GetProperty(IDispatch* object, const wchar_t* name);
void PutProperty(IDispatch* object, const wchar_t* name, const Variant& value);
Variant CallMethod(IDispatch* object, const wchar_t* name, std::initializer_list<const Variant*> arguments);

// Conversions of results; a value of another kind is coerced as automation
// would, and one that cannot be throws Failure.
std::string ToText(const Variant& value);
std::int32_t ToLong(const Variant& value);
// Empty when the result is Nothing.
Microsoft::WRL::ComPtr<IDispatch> ToObject(const Variant& value);

std::string ToAnsi(const wchar_t* text, std::size_t length);
inline std::string ToAnsi(const std::wstring& text) { return ToAnsi(text.data(), text.size()); }
std::wstring FromAnsi(const std::string& text);

// The failure of a call, as the text that goes with it.
[[noreturn]] void ThrowFailure(HRESULT hr, const wchar_t* member, EXCEPINFO* exception = nullptr);

}  // namespace brellin::com
