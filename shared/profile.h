// The private-profile (INI) store as both programs see it: six operations,
// each one call of the platform's profile functions, with the same arguments,
// results and buffer contract. Two implementations stand behind it: the
// kernel32 binding on Windows, and our own portable one everywhere else.
#pragma once

#include <cstdint>
#include <string>

namespace brellin {

class ProfilePort {
public:
    virtual ~ProfilePort() = default;

    // Copies the value of `key` (or `fallback` when the key, its section or the
    // file is missing) into `buffer`, at most size - 1 characters and a zero,
    // and returns the number of characters copied.
    virtual std::uint32_t GetString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& fallback,
                                    char* buffer, std::uint32_t size) = 0;

    // Copies the section's key names into `buffer`, each followed by a zero,
    // the list closed by one more zero; names that do not fit are cut. Returns
    // the number of characters before the closing zero (size - 2 when cut).
    virtual std::uint32_t GetKeyNames(const std::string& file, const std::string& section,
                                      char* buffer, std::uint32_t size) = 0;

    // The key's value read as an integer, or `fallback` when it is missing or empty.
    virtual std::uint32_t GetInt(const std::string& file, const std::string& section,
                                 const std::string& key, std::int32_t fallback) = 0;

    // Each returns false when the file could not be written.
    virtual bool WriteString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
    virtual bool DeleteKey(const std::string& file, const std::string& section,
                           const std::string& key) = 0;
    virtual bool EraseSection(const std::string& file, const std::string& section) = 0;

    // Replaces every key of the section (of each section of that name) with
    // `entries`: "key=value" texts, each followed by a zero, as
    // WritePrivateProfileSection takes them; an entry without "=" is skipped.
    // The heading stays, also with no entries; a missing section is added
    // at the end of the file. One write of the file for the whole list.
    virtual bool WriteSection(const std::string& file, const std::string& section,
                              const std::string& entries) = 0;
};

}  // namespace brellin
