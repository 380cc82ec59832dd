// Checks Brellin.dll as Windows and the mail client see it.
//
// usage: com_server_test registered PATH_OF_REGISTERED_DLL
//        com_server_test unregistered
//        com_server_test record
//
// "registered" runs after regsvr32: the type library through the registry,
// the version resource, the exports, the class objects and the unload rule,
// and creation of both classes through their ProgIDs. "unregistered" runs
// after regsvr32 /u: nothing of the library resolves any more. "record"
// checks the add-in settings record, byte for byte, and its reader.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <cstring>
#include <string>

#include "addin_settings.h"
#include "brellin.h"
#include "win_check.h"

using Microsoft::WRL::ComPtr;
namespace check = brellin::check;

namespace {

// stdole's library, whose IDispatch our interfaces derive from.
constexpr GUID kStdOle = {0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// Some other class that certainly is not ours: the standard font.
constexpr GUID kForeignClass = {0x0BE35203, 0x8F91, 0x11CE, {0x9D, 0xE3, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};

std::wstring NameOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL) {
    BSTR name = nullptr;
    if (FAILED(info->GetDocumentation(id, &name, nullptr, nullptr, nullptr))) return L"(none)";
    std::wstring text(name ? name : L"");
    SysFreeString(name);
    return text;
}

struct ExpectedType {
    const wchar_t* name;
    const GUID* guid;
    TYPEKIND kind;
    WORD flags;
    const wchar_t* defaultInterface;  // for a class
};

// A dual interface has two halves: the dispatch half carries hidden, dual and
// non-extensible and is dispatchable; the automation-compatible flag belongs
// to the vtable half, which carries the others as well.
constexpr WORD kInterfaceFlags = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE;
constexpr WORD kDispatchHalfFlags = kInterfaceFlags | TYPEFLAG_FDISPATCHABLE;
constexpr WORD kVtableHalfFlags = kDispatchHalfFlags | TYPEFLAG_FOLEAUTOMATION;

const ExpectedType kTypes[] = {
    {L"_Connect", &IID__Connect, TKIND_DISPATCH, kDispatchHalfFlags, nullptr},
    {L"Connect", &CLSID_Connect, TKIND_COCLASS, TYPEFLAG_FCANCREATE, L"_Connect"},
    {L"_ClBrellin", &IID__ClBrellin, TKIND_DISPATCH, kDispatchHalfFlags, nullptr},
    {L"ClBrellin", &CLSID_ClBrellin, TKIND_COCLASS, TYPEFLAG_FCANCREATE, L"_ClBrellin"},
};

// A dual interface of ours: its vtable half has no members of its own and
// derives from stdole's IDispatch.
void CheckDualInterface(ITypeInfo* dispatchInfo, const std::wstring& name) {
    HREFTYPE vtableRef = 0;
    ComPtr<ITypeInfo> vtable;
    if (!CHECK(SUCCEEDED(dispatchInfo->GetRefTypeOfImplType(-1, &vtableRef)) &&
                   SUCCEEDED(dispatchInfo->GetRefTypeInfo(vtableRef, &vtable)),
               "no interface half of " + check::Narrow(name.c_str())))
        return;
    TYPEATTR* attr = nullptr;
    vtable->GetTypeAttr(&attr);
    CHECK(attr->typekind == TKIND_INTERFACE, "interface half of a dual interface");
    CHECK(attr->wTypeFlags == kVtableHalfFlags,
          "flags of the vtable half of " + check::Narrow(name.c_str()) + ": " + std::to_string(attr->wTypeFlags));
    CHECK(attr->cFuncs == 0, check::Narrow(name.c_str()) + " has members of its own");
    CHECK(attr->cImplTypes == 1, "one base interface");
    vtable->ReleaseTypeAttr(attr);

    HREFTYPE baseRef = 0;
    ComPtr<ITypeInfo> base;
    ComPtr<ITypeLib> baseLibrary;
    UINT index = 0;
    if (!CHECK(SUCCEEDED(vtable->GetRefTypeOfImplType(0, &baseRef)) &&
                   SUCCEEDED(vtable->GetRefTypeInfo(baseRef, &base)) &&
                   SUCCEEDED(base->GetContainingTypeLib(&baseLibrary, &index)),
               "base of the interface half"))
        return;
    CHECK_TEXT(L"IDispatch", NameOf(base.Get()).c_str(), "base interface");
    TLIBATTR* libAttr = nullptr;
    baseLibrary->GetLibAttr(&libAttr);
    CHECK(libAttr->guid == kStdOle && libAttr->wMajorVerNum == 2 && libAttr->wMinorVerNum == 0,
          "IDispatch comes from stdole 2.0");
    baseLibrary->ReleaseTLibAttr(libAttr);
}

void CheckClass(ITypeInfo* info, const ExpectedType& expected) {
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    const UINT implTypes = attr->cImplTypes;
    info->ReleaseTypeAttr(attr);
    if (!CHECK(implTypes == 1, "a class with one interface")) return;
    INT implFlags = 0;
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> defaultInterface;
    info->GetImplTypeFlags(0, &implFlags);
    CHECK(implFlags == IMPLTYPEFLAG_FDEFAULT, "the class's interface is its default");
    if (CHECK(SUCCEEDED(info->GetRefTypeOfImplType(0, &ref)) &&
                  SUCCEEDED(info->GetRefTypeInfo(ref, &defaultInterface)),
              "default interface of a class"))
        CHECK_TEXT(expected.defaultInterface, NameOf(defaultInterface.Get()).c_str(), "default interface");
}

void TestTypeLibrary(const wchar_t* dllPath) {
    ComPtr<ITypeLib> library;
    const HRESULT hr = LoadRegTypeLib(LIBID_Brellin, 1, 0, LOCALE_NEUTRAL, &library);
    if (!CHECK_HR(S_OK, hr, "LoadRegTypeLib")) return;

    BSTR path = nullptr;
    CHECK_HR(S_OK, QueryPathOfRegTypeLib(LIBID_Brellin, 1, 0, LOCALE_NEUTRAL, &path), "QueryPathOfRegTypeLib");
    CHECK(path && lstrcmpiW(path, dllPath) == 0, "type library registered at the library's path, not " + check::Narrow(path));
    SysFreeString(path);

    TLIBATTR* attr = nullptr;
    library->GetLibAttr(&attr);
    CHECK(attr->guid == LIBID_Brellin, "library identifier");
    CHECK(attr->wMajorVerNum == 1 && attr->wMinorVerNum == 0, "version 1.0");
    CHECK(attr->lcid == 0, "neutral locale");
    if (sizeof(void*) == 8)
        CHECK(attr->syskind == SYS_WIN64, "for 64-bit Windows");
    else
        CHECK(attr->syskind == SYS_WIN32, "for 32-bit Windows");
    library->ReleaseTLibAttr(attr);

    BSTR name = nullptr, help = nullptr;
    library->GetDocumentation(-1, &name, &help, nullptr, nullptr);
    CHECK_TEXT(L"Brellin", name, "library name");
    CHECK_TEXT(L"Sample AddIn Project", help, "help string");
    SysFreeString(name);
    SysFreeString(help);

    CHECK(library->GetTypeInfoCount() == ARRAYSIZE(kTypes),
          "four types, got " + std::to_string(library->GetTypeInfoCount()));
    for (UINT i = 0; i < library->GetTypeInfoCount() && i < ARRAYSIZE(kTypes); ++i) {
        const ExpectedType& expected = kTypes[i];
        ComPtr<ITypeInfo> info;
        library->GetTypeInfo(i, &info);
        const std::wstring typeName = NameOf(info.Get());
        CHECK_TEXT(expected.name, typeName.c_str(), "type " + std::to_string(i));
        TYPEATTR* typeAttr = nullptr;
        info->GetTypeAttr(&typeAttr);
        CHECK(typeAttr->guid == *expected.guid, "identifier of " + check::Narrow(expected.name));
        CHECK(typeAttr->typekind == expected.kind, "kind of " + check::Narrow(expected.name));
        CHECK(typeAttr->wTypeFlags == expected.flags,
              "flags of " + check::Narrow(expected.name) + ": " + std::to_string(typeAttr->wTypeFlags));
        info->ReleaseTypeAttr(typeAttr);
        if (expected.kind == TKIND_DISPATCH)
            CheckDualInterface(info.Get(), expected.name);
        else
            CheckClass(info.Get(), expected);
    }
}

std::wstring VersionText(const BYTE* block, const wchar_t* name, bool& present) {
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    present = VerQueryValueW(block, key.c_str(), reinterpret_cast<void**>(&value), &length) != FALSE;
    return present && value ? std::wstring(value) : std::wstring();
}

void TestVersionResource(const wchar_t* dllPath) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(dllPath, &handle);
    if (!CHECK(size != 0, "version resource present")) return;
    std::string block(size, '\0');
    auto* bytes = reinterpret_cast<BYTE*>(block.data());
    if (!CHECK(GetFileVersionInfoW(dllPath, 0, size, bytes) != FALSE, "GetFileVersionInfo")) return;

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (CHECK(VerQueryValueW(bytes, L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed,
              "fixed version information")) {
        CHECK(fixed->dwFileVersionMS == 0x00020000 && fixed->dwFileVersionLS == 0, "file version 2.0.0.0");
        CHECK(fixed->dwProductVersionMS == 0x00020000 && fixed->dwProductVersionLS == 0, "product version 2.0.0.0");
        CHECK(fixed->dwFileType == VFT_DLL, "file type: dynamic-link library");
        CHECK(fixed->dwFileOS == VOS__WINDOWS32, "for 32-bit Windows");
    }
    WORD* translation = nullptr;
    if (CHECK(VerQueryValueW(bytes, L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
                  length == 4,
              "one translation"))
        CHECK(translation[0] == 0x0409 && translation[1] == 1200, "US English, Unicode");

    static const struct {
        const wchar_t* name;
        const wchar_t* value;
    } kStrings[] = {
        {L"ProductName", L"Brellin"},        {L"FileVersion", L"2.00"},
        {L"ProductVersion", L"2.00"},        {L"InternalName", L"Brellin"},
        {L"OriginalFilename", L"Brellin.dll"}, {L"OLESelfRegister", L""},
    };
    for (const auto& expected : kStrings) {
        bool present = false;
        const std::wstring value = VersionText(bytes, expected.name, present);
        if (CHECK(present, check::Narrow(expected.name) + " present"))
            CHECK_TEXT(expected.value, value.c_str(), check::Narrow(expected.name));
    }
}

using DllGetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using DllCanUnloadNowFn = HRESULT(WINAPI*)();

void TestExportsAndClassObjects(const wchar_t* dllPath) {
    HMODULE module = LoadLibraryW(dllPath);
    if (!CHECK(module != nullptr, "LoadLibrary")) return;
    for (const char* name : {"DllRegisterServer", "DllUnregisterServer", "DllGetClassObject", "DllCanUnloadNow", "DllInstall"})
        CHECK(GetProcAddress(module, name) != nullptr, std::string("export ") + name);
    auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    auto canUnloadNow = reinterpret_cast<DllCanUnloadNowFn>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    if (!getClassObject || !canUnloadNow) return;

    CHECK_HR(S_OK, canUnloadNow(), "DllCanUnloadNow with nothing alive");

    void* unknown = reinterpret_cast<void*>(1);
    CHECK_HR(CLASS_E_CLASSNOTAVAILABLE, getClassObject(kForeignClass, IID_IClassFactory, &unknown),
             "DllGetClassObject for a foreign class");
    CHECK(unknown == nullptr, "no object for a foreign class");

    for (const CLSID* clsid : {&CLSID_Connect, &CLSID_ClBrellin}) {
        ComPtr<IClassFactory> factory;
        if (!CHECK_HR(S_OK, getClassObject(*clsid, IID_PPV_ARGS(&factory)), "DllGetClassObject")) continue;
        CHECK_HR(S_FALSE, canUnloadNow(), "DllCanUnloadNow while a class factory lives");

        // Any object will do as the would-be outer one: the factory must
        // refuse before it touches it.
        ComPtr<IUnknown> aggregated;
        CHECK_HR(CLASS_E_NOAGGREGATION,
                 factory->CreateInstance(factory.Get(), IID_IUnknown, reinterpret_cast<void**>(aggregated.GetAddressOf())),
                 "aggregation refused");

        ComPtr<IDispatch> object;
        CHECK_HR(S_OK, factory->CreateInstance(nullptr, IID_PPV_ARGS(&object)), "CreateInstance");
        CHECK_HR(S_OK, factory->LockServer(TRUE), "LockServer(TRUE)");
        factory.Reset();
        CHECK_HR(S_FALSE, canUnloadNow(), "DllCanUnloadNow while the object lives");
        object.Reset();
        CHECK_HR(S_FALSE, canUnloadNow(), "DllCanUnloadNow while the server is locked");

        ComPtr<IClassFactory> again;
        getClassObject(*clsid, IID_PPV_ARGS(&again));
        again->LockServer(FALSE);
        again.Reset();
        CHECK_HR(S_OK, canUnloadNow(), "DllCanUnloadNow after the last release and unlock");
    }
    FreeLibrary(module);
}

// Both classes through the registry, as the mail client creates them.
void TestCreationThroughRegistry() {
    CLSID clsid{};
    CHECK_HR(S_OK, CLSIDFromProgID(L"Brellin.Connect", &clsid), "ProgID Brellin.Connect");
    CHECK(clsid == CLSID_Connect, "Brellin.Connect names Connect");
    CHECK_HR(S_OK, CLSIDFromProgID(L"Brellin.ClBrellin", &clsid), "ProgID Brellin.ClBrellin");
    CHECK(clsid == CLSID_ClBrellin, "Brellin.ClBrellin names ClBrellin");

    ComPtr<IUnknown> connect;
    if (CHECK_HR(S_OK, CoCreateInstance(CLSID_Connect, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&connect)),
                 "CoCreateInstance(Connect)")) {
        ComPtr<IDTExtensibility2> addin;
        ComPtr<_Connect> defaultInterface;
        CHECK_HR(S_OK, connect.As(&addin), "Connect answers IDTExtensibility2");
        CHECK_HR(S_OK, connect.As(&defaultInterface), "Connect answers _Connect");

        // A host may call the add-in interface late bound.
        static const struct {
            const wchar_t* name;
            DISPID id;
        } kMembers[] = {{L"OnConnection", 1}, {L"OnDisconnection", 2}, {L"OnAddInsUpdate", 3},
                        {L"OnStartupComplete", 4}, {L"OnBeginShutdown", 5}};
        for (const auto& member : kMembers) {
            DISPID id = 0;
            LPOLESTR name = const_cast<LPOLESTR>(member.name);
            CHECK_HR(S_OK, addin->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), "GetIDsOfNames");
            CHECK(id == member.id, check::Narrow(member.name) + " has dispatch identifier " + std::to_string(member.id));
        }
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        VARIANT custom;
        VariantInit(&custom);
        DISPPARAMS one = {&custom, nullptr, 1, 0};
        CHECK_HR(DISP_E_BADPARAMCOUNT, addin->Invoke(4, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
                 "OnStartupComplete without its argument");
        CHECK_HR(S_OK, addin->Invoke(4, IID_NULL, 0, DISPATCH_METHOD, &one, nullptr, nullptr, nullptr),
                 "OnStartupComplete late bound");
    }

    // ClBrellin from outside: it exists, answers its empty interface and
    // nothing that could attach it.
    ComPtr<IDispatch> clBrellin;
    if (CHECK_HR(S_OK, CoCreateInstance(CLSID_ClBrellin, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&clBrellin)),
                 "CoCreateInstance(ClBrellin)")) {
        ComPtr<_ClBrellin> defaultInterface;
        ComPtr<IDTExtensibility2> addin;
        CHECK_HR(S_OK, clBrellin.As(&defaultInterface), "ClBrellin answers _ClBrellin");
        CHECK_HR(E_NOINTERFACE, clBrellin.As(&addin), "ClBrellin is no add-in");
        for (const wchar_t* member : {L"AttachOutlook", L"DetachOutlook", L"objMailItem", L"colInsp_NewInspector"}) {
            DISPID id = 0;
            LPOLESTR name = const_cast<LPOLESTR>(member);
            CHECK_HR(DISP_E_UNKNOWNNAME, clBrellin->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id),
                     "ClBrellin shows no " + check::Narrow(member));
        }
        ComPtr<ITypeInfo> info;
        if (CHECK_HR(S_OK, clBrellin->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), "ClBrellin's type information"))
            CHECK_TEXT(L"_ClBrellin", NameOf(info.Get()).c_str(), "ClBrellin's type information");
    }
}

void TestNothingResolves() {
    CLSID clsid{};
    CHECK_HR(CO_E_CLASSSTRING, CLSIDFromProgID(L"Brellin.Connect", &clsid), "ProgID Brellin.Connect after unregistration");
    CHECK_HR(CO_E_CLASSSTRING, CLSIDFromProgID(L"Brellin.ClBrellin", &clsid), "ProgID Brellin.ClBrellin after unregistration");
    ComPtr<IUnknown> object;
    CHECK_HR(REGDB_E_CLASSNOTREG, CoCreateInstance(CLSID_Connect, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object)),
             "Connect after unregistration");
    CHECK_HR(REGDB_E_CLASSNOTREG, CoCreateInstance(CLSID_ClBrellin, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object)),
             "ClBrellin after unregistration");
    ComPtr<ITypeLib> library;
    CHECK(FAILED(LoadRegTypeLib(LIBID_Brellin, 1, 0, LOCALE_NEUTRAL, &library)), "type library after unregistration");
}

void TestSettingsRecord() {
    namespace settings = brellin::addin_settings;
    // The record as the add-in designer lays it out, byte for byte.
    static const unsigned char kExpected[] =
        "\xF7\x14\x07\xAC\x04\x3D\xD1\x11\xAE\x7D\x00\xA0\xC9\x0F\x26\xF4"  // designer class
        "\x6C\x00\x00\x00"                                                  // 108 bytes follow
        "\x34\x00\x00\x00" "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\Outlook\0"
        "\x08\x00\x00\x00" "Brellin\0"
        "\x08\x00\x00\x00" "Brellin\0"
        "\x03\x00\x00\x00"
        "\0\0\0\0" "\0\0\0\0" "\0\0\0\0" "\0\0\0\0" "\0\0\0\0" "\0\0\0\0";
    const auto* bytes = reinterpret_cast<const unsigned char*>(&settings::kRecord);
    CHECK(sizeof settings::kRecord == sizeof kExpected - 1, "record size " + std::to_string(sizeof settings::kRecord));
    for (std::size_t i = 0; i < sizeof kExpected - 1 && i < sizeof settings::kRecord; ++i)
        if (!CHECK(bytes[i] == kExpected[i], "record byte " + std::to_string(i))) break;

    const auto read = settings::Read(bytes, sizeof settings::kRecord);
    if (CHECK(read.has_value(), "the record reads")) {
        CHECK(read->root == "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\Outlook", "registry root");
        CHECK(read->displayName == "Brellin" && read->description == "Brellin", "display name and description");
        CHECK(read->loadBehavior == 3, "load behaviour");
    }

    // A record cut short anywhere, or with a length that runs past its end,
    // is refused rather than read beyond.
    for (std::size_t size = 0; size < sizeof settings::kRecord; ++size)
        if (!CHECK(!settings::Read(bytes, size).has_value(), "record cut at " + std::to_string(size))) break;
    unsigned char broken[sizeof settings::kRecord];
    std::memcpy(broken, bytes, sizeof broken);
    broken[20] = 0xFF;  // the root's length
    CHECK(!settings::Read(broken, sizeof broken).has_value(), "a text length past the end");
    std::memcpy(broken, bytes, sizeof broken);
    broken[24 + 51] = 'x';  // the root's terminating zero
    CHECK(!settings::Read(broken, sizeof broken).has_value(), "a text without its terminating zero");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::printf("usage: com_server_test registered DLL | unregistered | record\n");
        return 2;
    }
    const std::wstring mode = argv[1];
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (mode == L"registered" && argc == 3) {
        wchar_t path[MAX_PATH];
        GetFullPathNameW(argv[2], MAX_PATH, path, nullptr);
        TestTypeLibrary(path);
        TestVersionResource(path);
        TestExportsAndClassObjects(path);
        TestCreationThroughRegistry();
    } else if (mode == L"unregistered") {
        TestNothingResolves();
    } else if (mode == L"record") {
        TestSettingsRecord();
    } else {
        std::printf("unknown mode\n");
        return 2;
    }
    CoUninitialize();
    std::printf("%d failed checks\n", brellin::check::failures);
    return brellin::check::failures == 0 ? 0 : 1;
}
