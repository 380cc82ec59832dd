// Taking over a reference that is already counted. MinGW's ComPtr::Attach
// adds a reference of its own (unlike the Windows SDK's), which would leak the
// object and keep the library from ever unloading; use Adopt instead.
#pragma once

#include <wrl/client.h>

namespace brellin::com {

template <class T>
Microsoft::WRL::ComPtr<T> Adopt(T* counted) noexcept {
    Microsoft::WRL::ComPtr<T> pointer;
    *pointer.GetAddressOf() = counted;
    return pointer;
}

}  // namespace brellin::com
