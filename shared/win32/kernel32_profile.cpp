#include "kernel32_profile.h"

#include <windows.h>

namespace brellin {

std::uint32_t Kernel32Profile::GetString(const std::string& file, const std::string& section,
                                         const std::string& key, const std::string& fallback,
                                         char* buffer, std::uint32_t size) {
    return GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer, size,
                                    file.c_str());
}

std::uint32_t Kernel32Profile::GetKeyNames(const std::string& file, const std::string& section,
                                           char* buffer, std::uint32_t size) {
    return GetPrivateProfileStringA(section.c_str(), nullptr, nullptr, buffer, size, file.c_str());
}

std::uint32_t Kernel32Profile::GetInt(const std::string& file, const std::string& section,
                                      const std::string& key, std::int32_t fallback) {
    return GetPrivateProfileIntA(section.c_str(), key.c_str(), fallback, file.c_str());
}

bool Kernel32Profile::WriteString(const std::string& file, const std::string& section,
                                  const std::string& key, const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

bool Kernel32Profile::DeleteKey(const std::string& file, const std::string& section,
                                const std::string& key) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str());
}

bool Kernel32Profile::EraseSection(const std::string& file, const std::string& section) {
    return WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str());
}

bool Kernel32Profile::WriteSection(const std::string& file, const std::string& section,
                                   const std::string& entries) {
    // The list ends at an empty entry: the zero that c_str() adds after the
    // last entry's own.
    return WritePrivateProfileSectionA(section.c_str(), entries.c_str(), file.c_str());
}

}  // namespace brellin
