// The profile store the shipped programs use: kernel32's private-profile
// functions, one call per operation.
#pragma once

#include "../profile.h"

namespace brellin {

class Kernel32Profile final : public ProfilePort {
public:
    std::uint32_t GetString(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& fallback, char* buffer,
                            std::uint32_t size) override;
    std::uint32_t GetKeyNames(const std::string& file, const std::string& section, char* buffer,
                              std::uint32_t size) override;
    std::uint32_t GetInt(const std::string& file, const std::string& section,
                         const std::string& key, std::int32_t fallback) override;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    bool DeleteKey(const std::string& file, const std::string& section,
                   const std::string& key) override;
    bool EraseSection(const std::string& file, const std::string& section) override;
    bool WriteSection(const std::string& file, const std::string& section,
                      const std::string& entries) override;
};

}  // namespace brellin
