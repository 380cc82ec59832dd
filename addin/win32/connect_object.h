// The add-in class that the mail client creates through the registry and
// connects through IDTExtensibility2.
#pragma once

#include <windows.h>

namespace brellin::com {

HRESULT CreateConnectObject(REFIID riid, void** ppv) noexcept;

}  // namespace brellin::com
