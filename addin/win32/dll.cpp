// The library's COM plumbing in one place: the table of creatable classes, one
// class factory for all of them, the counts of living objects and factory
// locks, the five exports, and the registration that makes the mail client
// load the add-in.
#include <windows.h>
#include <olectl.h>
#include <wrl/client.h>

#include <new>
#include <string>

#include "addin_settings.h"
#include "brellin.h"
#include "clbrellin_object.h"
#include "com_ptr.h"
#include "com_result.h"
#include "connect_object.h"
#include "dispatch_call.h"
#include "module.h"

using Microsoft::WRL::ComPtr;

namespace {

HMODULE g_module = nullptr;
LONG g_objects = 0;
LONG g_locks = 0;

using CreateFunction = HRESULT (*)(REFIID, void**);

struct ClassEntry {
    const CLSID* clsid;
    const wchar_t* name;  // the ProgID is the library's name, a point and this
    CreateFunction create;
};

constexpr wchar_t kLibraryName[] = L"Brellin";

const ClassEntry kClasses[] = {
    {&CLSID_Connect, L"Connect", brellin::com::CreateConnectObject},
    {&CLSID_ClBrellin, L"ClBrellin", brellin::com::CreateClBrellinObject},
};

// The class whose ProgID names the add-in entry.
const ClassEntry& kAddinClass = kClasses[0];

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(CreateFunction create) : create_(create) {}

    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override {
        RETURN_HR_IF(E_POINTER, !ppv);
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    IFACEMETHODIMP_(ULONG) AddRef() noexcept override { return InterlockedIncrement(&refs_); }
    IFACEMETHODIMP_(ULONG) Release() noexcept override {
        const LONG refs = InterlockedDecrement(&refs_);
        if (refs == 0) delete this;
        return refs;
    }

    IFACEMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) noexcept override {
        RETURN_HR_IF(E_POINTER, !ppv);
        *ppv = nullptr;
        RETURN_HR_IF(CLASS_E_NOAGGREGATION, outer != nullptr);
        return create_(riid, ppv);
    }
    IFACEMETHODIMP LockServer(BOOL lock) noexcept override {
        if (lock)
            InterlockedIncrement(&g_locks);
        else
            InterlockedDecrement(&g_locks);
        return S_OK;
    }

private:
    LONG refs_ = 1;
    CreateFunction create_;
    brellin::com::ModuleReference module_;
};

// ---- registry helpers -------------------------------------------------------

std::wstring GuidText(REFGUID guid) {
    wchar_t text[39] = {};
    StringFromGUID2(guid, text, ARRAYSIZE(text));
    return text;
}

std::wstring ProgId(const ClassEntry& entry) {
    return std::wstring(kLibraryName) + L"." + entry.name;
}

HRESULT SetText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY handle = nullptr;
    RETURN_IF_WIN32_ERROR(RegCreateKeyExW(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_SET_VALUE, nullptr, &handle, nullptr));
    const LONG error =
        RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    RETURN_IF_WIN32_ERROR(error);
    return S_OK;
}

HRESULT SetNumber(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value) {
    HKEY handle = nullptr;
    RETURN_IF_WIN32_ERROR(RegCreateKeyExW(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_SET_VALUE, nullptr, &handle, nullptr));
    const LONG error = RegSetValueExW(handle, name, 0, REG_DWORD,
                                      reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(handle);
    RETURN_IF_WIN32_ERROR(error);
    return S_OK;
}

// Removes a key with everything below it; a key that is not there is no failure.
HRESULT DeleteTree(HKEY root, const std::wstring& key) {
    const LONG error = RegDeleteTreeW(root, key.c_str());
    if (error == ERROR_FILE_NOT_FOUND) return S_OK;
    RETURN_IF_WIN32_ERROR(error);
    return S_OK;
}

bool IsEmptyKey(HKEY root, const std::wstring& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    DWORD subkeys = 0, values = 0;
    const LONG error = RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, &subkeys, nullptr,
                                        nullptr, &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(handle);
    return error == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

// ---- the add-in entry, as the settings record describes it -------------------

struct AddinEntry {
    HKEY root = nullptr;
    std::wstring parent;  // the mail client's key below the root
    std::wstring key;     // parent\Addins\<ProgID>
    brellin::addin_settings::Settings settings;
};

HRESULT ReadAddinEntry(AddinEntry& entry) {
    const auto& record = brellin::addin_settings::kRecord;
    auto settings = brellin::addin_settings::Read(reinterpret_cast<const unsigned char*>(&record),
                                                  sizeof record);
    RETURN_HR_IF(E_UNEXPECTED, !settings);

    static const struct {
        const char* name;
        HKEY key;
    } kRoots[] = {{"HKEY_CURRENT_USER", HKEY_CURRENT_USER}, {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}};
    const auto separator = settings->root.find('\\');
    RETURN_HR_IF(E_UNEXPECTED, separator == std::string::npos);
    const std::string rootName = settings->root.substr(0, separator);
    for (const auto& root : kRoots)
        if (rootName == root.name) entry.root = root.key;
    RETURN_HR_IF(E_UNEXPECTED, entry.root == nullptr);

    entry.parent = brellin::com::FromAnsi(settings->root.substr(separator + 1));
    entry.key = entry.parent + L"\\Addins\\" + ProgId(kAddinClass);
    entry.settings = std::move(*settings);
    return S_OK;
}

HRESULT RegisterAddinEntry() {
    AddinEntry entry;
    RETURN_IF_FAILED(ReadAddinEntry(entry));
    RETURN_IF_FAILED(SetText(entry.root, entry.key, L"FriendlyName", brellin::com::FromAnsi(entry.settings.displayName)));
    RETURN_IF_FAILED(SetText(entry.root, entry.key, L"Description", brellin::com::FromAnsi(entry.settings.description)));
    return SetNumber(entry.root, entry.key, L"LoadBehavior", entry.settings.loadBehavior);
}

HRESULT UnregisterAddinEntry() {
    AddinEntry entry;
    RETURN_IF_FAILED(ReadAddinEntry(entry));
    RETURN_IF_FAILED(DeleteTree(entry.root, entry.key));
    // The keys on the way there were made for us when the mail client was not
    // installed; they go when nothing else lives in them. "Software\Microsoft"
    // itself always stays.
    std::wstring key = entry.key.substr(0, entry.key.rfind(L'\\'));
    for (int depth = 0; depth < 3 && IsEmptyKey(entry.root, key); ++depth) {
        RegDeleteKeyW(entry.root, key.c_str());
        key.erase(key.rfind(L'\\'));
    }
    return S_OK;
}

// ---- classes and type library ----------------------------------------------

HRESULT RegisterClassEntry(const ClassEntry& entry, const std::wstring& path) {
    const std::wstring clsidKey = L"CLSID\\" + GuidText(*entry.clsid);
    const std::wstring progId = ProgId(entry);
    RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, clsidKey, nullptr, progId));
    RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, clsidKey + L"\\InprocServer32", nullptr, path));
    RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"));
    RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, clsidKey + L"\\ProgID", nullptr, progId));
    RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, clsidKey + L"\\TypeLib", nullptr, GuidText(LIBID_Brellin)));
    RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, clsidKey + L"\\VERSION", nullptr, L"1.0"));
    RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, progId, nullptr, progId));
    return SetText(HKEY_CLASSES_ROOT, progId + L"\\CLSID", nullptr, GuidText(*entry.clsid));
}

HRESULT UnregisterClassEntry(const ClassEntry& entry) {
    RETURN_IF_FAILED(DeleteTree(HKEY_CLASSES_ROOT, L"CLSID\\" + GuidText(*entry.clsid)));
    return DeleteTree(HKEY_CLASSES_ROOT, ProgId(entry));
}

HRESULT RegisterTypeLibrary(const std::wstring& path) {
    ComPtr<ITypeLib> library;
    RETURN_IF_FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library));
    std::wstring registeredPath = path;  // the call takes a writable text
    return RegisterTypeLib(library.Get(), registeredPath.data(), nullptr);
}

HRESULT UnregisterTypeLibrary() {
    BSTR registered = nullptr;
    if (FAILED(QueryPathOfRegTypeLib(LIBID_Brellin, 1, 0, LOCALE_NEUTRAL, &registered))) return S_OK;
    SysFreeString(registered);
    // Each bitness registers its own entry of the type library.
    return UnRegisterTypeLib(LIBID_Brellin, 1, 0, LOCALE_NEUTRAL, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
}

// The interfaces of our classes, as the type library's registration lists them.
const struct {
    const IID* iid;
    const wchar_t* name;
} kInterfaces[] = {{&IID__Connect, L"_Connect"}, {&IID__ClBrellin, L"_ClBrellin"}};

constexpr wchar_t kTypeLibraryVersion[] = L"1.0";
// The universal marshaller of dual interfaces, described by their type library.
constexpr wchar_t kAutomationMarshaller[] = L"{00020424-0000-0000-C000-000000000046}";

// The keys that registering the type library makes, written by us. A 64-bit
// Wine writes some of them to the machine's classes even when the classes
// root stands for the user's, so a per-user registration cannot leave this to
// the system.
HRESULT RegisterTypeLibraryKeys(const std::wstring& path) {
    ComPtr<ITypeLib> library;
    RETURN_IF_FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library));
    BSTR help = nullptr;
    RETURN_IF_FAILED(library->GetDocumentation(-1, nullptr, &help, nullptr, nullptr));
    const std::wstring helpText = help ? help : L"";
    SysFreeString(help);
    const std::wstring libid = GuidText(LIBID_Brellin);
    const std::wstring key = L"TypeLib\\" + libid + L"\\" + kTypeLibraryVersion;
    const std::wstring folder = path.substr(0, path.rfind(L'\\'));
    RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, key, nullptr, helpText));
    RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, key + (sizeof(void*) == 8 ? L"\\0\\win64" : L"\\0\\win32"), nullptr, path));
    RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, key + L"\\FLAGS", nullptr, L"0"));
    RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, key + L"\\HELPDIR", nullptr, folder));
    for (const auto& entry : kInterfaces) {
        const std::wstring interfaceKey = L"Interface\\" + GuidText(*entry.iid);
        RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, interfaceKey, nullptr, entry.name));
        RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, interfaceKey + L"\\ProxyStubClsid", nullptr, kAutomationMarshaller));
        RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, interfaceKey + L"\\ProxyStubClsid32", nullptr, kAutomationMarshaller));
        RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, interfaceKey + L"\\TypeLib", nullptr, libid));
        RETURN_IF_FAILED(SetText(HKEY_CLASSES_ROOT, interfaceKey + L"\\TypeLib", L"Version", kTypeLibraryVersion));
    }
    return S_OK;
}

HRESULT UnregisterTypeLibraryKeys() {
    HRESULT first = DeleteTree(HKEY_CLASSES_ROOT, L"TypeLib\\" + GuidText(LIBID_Brellin));
    for (const auto& entry : kInterfaces) {
        const HRESULT hr = DeleteTree(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(*entry.iid));
        if (SUCCEEDED(first)) first = hr;
    }
    return first;
}

enum class Scope { Machine, User };

HRESULT UnregisterAll(Scope scope) {
    // Every part is tried, so that one failure does not leave the others behind.
    HRESULT first = S_OK;
    auto note = [&first](HRESULT hr) {
        if (FAILED(hr) && SUCCEEDED(first)) first = hr;
    };
    note(UnregisterAddinEntry());
    for (const auto& entry : kClasses) note(UnregisterClassEntry(entry));
    note(scope == Scope::User ? UnregisterTypeLibraryKeys() : UnregisterTypeLibrary());
    return first;
}

HRESULT RegisterAll(Scope scope) {
    wchar_t path[MAX_PATH];
    RETURN_IF_FAILED(brellin::com::GetModulePath(path, ARRAYSIZE(path)));
    RETURN_IF_FAILED(scope == Scope::User ? RegisterTypeLibraryKeys(path) : RegisterTypeLibrary(path));
    for (const auto& entry : kClasses) RETURN_IF_FAILED(RegisterClassEntry(entry, path));
    return RegisterAddinEntry();
}

// Registers, taking back a half registration: the mail client would try to
// load what is not there.
HRESULT Register(Scope scope) {
    const HRESULT hr = RegisterAll(scope);
    if (FAILED(hr)) UnregisterAll(scope);
    return hr;
}

// Per-user registration: for the time of the call, everything written to or
// removed from the classes root goes to the current user's classes instead,
// so that a user without administrator rights installs and removes the
// add-in. The add-in entry is the user's in any case.
class PerUserClasses {
public:
    PerUserClasses() {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &classes_, nullptr) != ERROR_SUCCESS) {
            classes_ = nullptr;
            return;
        }
        if (RegOverridePredefKey(HKEY_CLASSES_ROOT, classes_) != ERROR_SUCCESS) {
            RegCloseKey(classes_);
            classes_ = nullptr;
        }
    }
    ~PerUserClasses() {
        if (!classes_) return;
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        RegCloseKey(classes_);
    }
    PerUserClasses(const PerUserClasses&) = delete;
    PerUserClasses& operator=(const PerUserClasses&) = delete;
    bool Active() const { return classes_ != nullptr; }

private:
    HKEY classes_ = nullptr;
};

}  // namespace

namespace brellin::com {

ModuleReference::ModuleReference() noexcept { InterlockedIncrement(&g_objects); }
ModuleReference::~ModuleReference() { InterlockedDecrement(&g_objects); }

HRESULT GetModulePath(wchar_t* path, DWORD capacity) noexcept {
    const DWORD length = GetModuleFileNameW(g_module, path, capacity);
    RETURN_IF_WIN32_BOOL_FALSE(length != 0);
    RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER), length >= capacity);
    return S_OK;
}

HRESULT GetOwnTypeInfo(REFIID iid, ITypeInfo** typeInfo) noexcept {
    wchar_t path[MAX_PATH];
    RETURN_IF_FAILED(GetModulePath(path, ARRAYSIZE(path)));
    ComPtr<ITypeLib> library;
    RETURN_IF_FAILED(LoadTypeLibEx(path, REGKIND_NONE, &library));
    return library->GetTypeInfoOfGuid(iid, typeInfo);
}

}  // namespace brellin::com

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    RETURN_HR_IF(E_POINTER, !ppv);
    *ppv = nullptr;
    for (const auto& entry : kClasses) {
        if (clsid != *entry.clsid) continue;
        auto factory = brellin::com::Adopt<IClassFactory>(new (std::nothrow) ClassFactory(entry.create));
        RETURN_HR_IF(E_OUTOFMEMORY, !factory);
        return factory->QueryInterface(riid, ppv);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
    return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    try {
        return Register(Scope::Machine);
    } catch (...) {
        return E_OUTOFMEMORY;  // building the keys' texts is all that can throw
    }
}

STDAPI DllUnregisterServer() {
    try {
        return UnregisterAll(Scope::Machine);
    } catch (...) {
        return E_OUTOFMEMORY;  // building the keys' texts is all that can throw
    }
}

// regsvr32 /n /i:user registers for the current user only, and
// regsvr32 /u /n /i:user takes that back. Any other command line is refused
// rather than silently registering for the whole machine.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
    if (!commandLine || CompareStringOrdinal(commandLine, -1, L"user", -1, TRUE) != CSTR_EQUAL)
        return E_INVALIDARG;
    try {
        PerUserClasses perUser;
        if (!perUser.Active()) return E_ACCESSDENIED;
        return install ? Register(Scope::User) : UnregisterAll(Scope::User);
    } catch (...) {
        return E_OUTOFMEMORY;  // building the keys' texts is all that can throw
    }
}
