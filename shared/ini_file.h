// The editor's view of the configuration file, one object per operation, with
// the reads, writes and failure texts that the editor relies on. Every call
// goes straight to the profile store, which writes through at once, so the
// add-in sees each completed change at its next read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "profile.h"

namespace brellin {

class TIniFile {
public:
    // The editor sees only the key names that fit into this many bytes,
    // each followed by a zero, and values up to 2,047 characters.
    static constexpr std::uint32_t kSectionBuffer = 16384;
    static constexpr std::uint32_t kValueBuffer = 2048;

    TIniFile(ProfilePort& profile, std::string fileName)
        : profile_(profile), fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }

    // The section's key names in the order of their lines; empty for a
    // missing file or section. `complete`, when given, tells whether every
    // key name fitted.
    std::vector<std::string> ReadSection(const std::string& section, bool* complete = nullptr) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // True when the key is among the section's key names, case ignored.
    bool ValueExists(const std::string& section, const std::string& key) const;
    // The value as a decimal or "0x" hexadecimal integer, true when not 0;
    // `fallback` when the key is missing or the value is no such number.
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

    // Both throw Failure("Unable to write to <file>") when the write fails.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void EraseSection(const std::string& section);
    // A failed deletion is ignored.
    void DeleteKey(const std::string& section, const std::string& key);
    // The section's keys replaced by `values` as keys "1" to "N", in their
    // order, in one write: it fails whole, leaving the section as it was.
    void WriteNumberedSection(const std::string& section, const std::vector<std::string>& values);

private:
    [[noreturn]] void FailWrite() const;

    ProfilePort& profile_;
    std::string fileName_;
};

// The integer reading behind ReadBool: optional leading blanks and sign, then
// decimal digits or "0x"/"0X" and hexadecimal digits, and nothing after them;
// no value when the text is no such number or lies outside 32 bits.
bool ParseIniInteger(const std::string& text, std::int32_t& value);

}  // namespace brellin
