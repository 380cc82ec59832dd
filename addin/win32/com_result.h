// Flat early returns for COM code: each call that can fail is followed by one
// of these, so the success path reads top to bottom without nesting. Named
// after the macros of Microsoft's implementation library, which does not build
// with MinGW.
#pragma once

#include <windows.h>

#define RETURN_IF_FAILED(expr)                         \
    do {                                               \
        const HRESULT brellin_hr_ = (expr);            \
        if (FAILED(brellin_hr_)) return brellin_hr_;   \
    } while (0)

#define RETURN_HR_IF(hr, condition)                    \
    do {                                               \
        if (condition) return (hr);                    \
    } while (0)

#define RETURN_IF_WIN32_BOOL_FALSE(expr)               \
    do {                                               \
        if (!(expr)) return HRESULT_FROM_WIN32(GetLastError()); \
    } while (0)

// For the registry functions, which return their error instead of setting it.
#define RETURN_IF_WIN32_ERROR(expr)                    \
    do {                                               \
        const LONG brellin_err_ = (expr);              \
        if (brellin_err_ != ERROR_SUCCESS) return HRESULT_FROM_WIN32(brellin_err_); \
    } while (0)
