#include "addin_loader.h"

#include <oleauto.h>

#include <cstdio>

#include "dispatch_call.h"

using Microsoft::WRL::ComPtr;

namespace hostsim {

namespace {

constexpr wchar_t kAddinsKey[] = L"Software\\Microsoft\\Office\\Outlook\\Addins";
constexpr int ext_cm_Startup = 1;
constexpr int ext_dm_HostShutdown = 0;

std::vector<std::wstring> AddinsToLoad() {
    std::vector<std::wstring> progIds;
    HKEY addins = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kAddinsKey, 0, KEY_READ, &addins) != ERROR_SUCCESS) return progIds;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = ARRAYSIZE(name);
        if (RegEnumKeyExW(addins, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        DWORD behavior = 0, size = sizeof behavior, type = 0;
        if (RegGetValueW(addins, name, L"LoadBehavior", RRF_RT_REG_DWORD, &type, &behavior, &size) == ERROR_SUCCESS &&
            behavior == 3)
            progIds.emplace_back(name);
    }
    RegCloseKey(addins);
    return progIds;
}

std::wstring ServerOf(const CLSID& clsid) {
    wchar_t text[39] = {};
    StringFromGUID2(clsid, text, ARRAYSIZE(text));
    const std::wstring key = std::wstring(L"CLSID\\") + text + L"\\InprocServer32";
    wchar_t path[MAX_PATH] = {};
    DWORD size = sizeof path;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, path, &size) != ERROR_SUCCESS)
        return {};
    return path;
}

// Windows finds classes and ProgIDs in the merged view of the user's and the
// machine's classes, the user's first, so a per-user registration is enough
// for the client. Wine looks at the machine's alone; the host therefore does
// the user's part itself: a ProgID and class registered for the current user
// give the library's path, and the object is made through the library's
// class object, as COM does for an in-process server.
std::wstring UserClassesText(const std::wstring& key) {
    wchar_t text[MAX_PATH] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + key).c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                     text, &size) != ERROR_SUCCESS)
        return {};
    return text;
}

bool UserClass(const std::wstring& progId, CLSID& clsid, std::wstring& server) {
    const std::wstring clsidText = UserClassesText(progId + L"\\CLSID");
    if (clsidText.empty() || FAILED(CLSIDFromString(clsidText.c_str(), &clsid))) return false;
    server = UserClassesText(L"CLSID\\" + clsidText + L"\\InprocServer32");
    return !server.empty();
}

HRESULT CreateFromLibrary(const CLSID& clsid, LoadedAddin& loaded, ComPtr<IUnknown>& object) {
    loaded.library = LoadLibraryW(loaded.server.c_str());
    if (!loaded.library) return HRESULT_FROM_WIN32(GetLastError());
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(loaded.library, "DllGetClassObject")));
    if (!getClassObject) return CO_E_ERRORINDLL;
    ComPtr<IClassFactory> factory;
    const HRESULT hr = getClassObject(clsid, IID_PPV_ARGS(&factory));
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(nullptr, IID_PPV_ARGS(&object));
}

// An empty array of variants, the `custom` argument of every notification.
class EmptyCustom {
public:
    EmptyCustom() { array_ = SafeArrayCreateVector(VT_VARIANT, 0, 0); }
    ~EmptyCustom() { SafeArrayDestroy(array_); }
    SAFEARRAY** get() { return &array_; }

private:
    SAFEARRAY* array_;
};

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

std::string HexResult(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

void AddinLoader::Step(const std::string& what, HRESULT hr) {
    if (FAILED(hr)) ok_ = false;
    trace_(what + " " + HexResult(hr), FAILED(hr));
}

void AddinLoader::Connect(IDispatch* application) {
    for (const auto& progId : AddinsToLoad()) Load(application, progId);
}

void AddinLoader::Load(IDispatch* application, const std::wstring& progId) {
    trace_("load " + brellin::com::ToAnsi(progId), false);
    LoadedAddin loaded;
    loaded.progId = progId;
    CLSID clsid{};
    HRESULT hr = S_OK;
    const bool perUser = UserClass(progId, clsid, loaded.server);
    if (!perUser) {
        hr = CLSIDFromProgID(progId.c_str(), &clsid);
        if (FAILED(hr)) return Step("CLSIDFromProgID", hr);
        loaded.server = ServerOf(clsid);
    }

    LARGE_INTEGER start, connected;
    QueryPerformanceCounter(&start);
    ComPtr<IUnknown> object;
    hr = perUser ? CreateFromLibrary(clsid, loaded, object)
                 : CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object));
    if (FAILED(hr)) {
        object.Reset();
        if (loaded.library) FreeLibrary(loaded.library);
        return Step("CoCreateInstance", hr);
    }
    hr = object.As(&loaded.addin);
    if (FAILED(hr)) return Step("QueryInterface(IDTExtensibility2)", hr);
    loaded.instance = AddInObject::Create(progId);
    EmptyCustom custom;
    hr = loaded.addin->OnConnection(application, ext_cm_Startup, loaded.instance.Get(), custom.get());
    QueryPerformanceCounter(&connected);
    loaded.connectMilliseconds = Milliseconds(start, connected);
    Step("OnConnection", hr);
    // The client keeps an add-in whose connection failed out of the session.
    if (FAILED(hr)) return;
    Step("OnStartupComplete", loaded.addin->OnStartupComplete(custom.get()));
    addins_.push_back(std::move(loaded));
}

bool AddinLoader::Disconnect() {
    EmptyCustom custom;
    for (auto& loaded : addins_) Step("OnBeginShutdown", loaded.addin->OnBeginShutdown(custom.get()));
    for (auto& loaded : addins_) {
        Step("OnDisconnection", loaded.addin->OnDisconnection(ext_dm_HostShutdown, custom.get()));
        loaded.addin.Reset();
        loaded.instance.Reset();
        trace_("release", false);

        // The library stays loaded until COM frees unused libraries; ask it
        // now whether it would go.
        using CanUnloadNow = HRESULT(WINAPI*)();
        HMODULE library = GetModuleHandleW(loaded.server.c_str());
        auto canUnloadNow = library ? reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(GetProcAddress(library, "DllCanUnloadNow"))) : nullptr;
        if (!canUnloadNow) {
            Step("DllCanUnloadNow", E_NOINTERFACE);
            continue;
        }
        const HRESULT hr = canUnloadNow();
        trace_("DllCanUnloadNow " + HexResult(hr), hr != S_OK);
        if (hr != S_OK) ok_ = false;
        if (loaded.library && hr == S_OK) FreeLibrary(loaded.library);
    }
    addins_.clear();
    CoFreeUnusedLibraries();
    const bool ok = ok_;
    ok_ = true;
    return ok;
}

}  // namespace hostsim
