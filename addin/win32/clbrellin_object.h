// ClBrellin as seen from outside the library: creatable, with its empty
// default interface, and inert, since only the add-in class can attach it.
#pragma once

#include <windows.h>

namespace brellin::com {

HRESULT CreateClBrellinObject(REFIID riid, void** ppv) noexcept;

}  // namespace brellin::com
