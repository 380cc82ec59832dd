// A small checker for the Windows test programs, in the manner of Wine's
// conformance tests: every check prints where it failed and what it saw, and
// the program's exit status is the number of failed checks.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace brellin::check {

inline int failures = 0;

inline bool Check(bool condition, const char* file, int line, const std::string& what) {
    if (!condition) {
        ++failures;
        std::printf("%s:%d: %s\n", file, line, what.c_str());
    }
    return condition;
}

inline std::string Hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(hr));
    return text;
}

inline std::string Narrow(const wchar_t* text) {
    if (!text) return "(null)";
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(length > 0 ? length - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

// Each argument is evaluated once: the call under test runs exactly once.
inline bool CheckHr(HRESULT expected, HRESULT actual, const char* file, int line, const std::string& what) {
    return Check(actual == expected, file, line, what + ": expected " + Hex(expected) + ", got " + Hex(actual));
}

inline bool CheckText(const wchar_t* expected, const wchar_t* actual, const char* file, int line,
                      const std::string& what) {
    return Check(actual && std::wstring(expected) == actual, file, line,
                 what + ": expected \"" + Narrow(expected) + "\", got \"" + Narrow(actual) + "\"");
}

}  // namespace brellin::check

#define CHECK(condition, what) ::brellin::check::Check((condition), __FILE__, __LINE__, (what))
#define CHECK_HR(expected, actual, what) \
    ::brellin::check::CheckHr((expected), (actual), __FILE__, __LINE__, (what))
#define CHECK_TEXT(expected, actual, what) \
    ::brellin::check::CheckText((expected), (actual), __FILE__, __LINE__, (what))
