// The library's module state as its COM classes see it: every living object
// holds one ModuleReference, so that DllCanUnloadNow knows when the library
// may go; and the type library embedded in the library, for the classes'
// IDispatch.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace brellin::com {

class ModuleReference {
public:
    ModuleReference() noexcept;
    ~ModuleReference();
    ModuleReference(const ModuleReference&) = delete;
    ModuleReference& operator=(const ModuleReference&) = delete;
};

// The type information of one of our interfaces, from the library's own
// embedded type library (no registration needed).
HRESULT GetOwnTypeInfo(REFIID iid, ITypeInfo** typeInfo) noexcept;

// The full path of the library file.
HRESULT GetModulePath(wchar_t* path, DWORD capacity) noexcept;

}  // namespace brellin::com
