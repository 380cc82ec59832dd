// The lists of the configuration file (headers in "Headers", sub headers in
// each header's own section) as each program reads them, and the two ways the
// editor compares an entry with the names in a list.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "profile.h"

namespace brellin {

class TIniFile;

// The add-in reads through a buffer of this many characters, so it sees at
// most the first 255 characters of a value.
inline constexpr std::uint32_t kAddinReadBuffer = 256;

// One read of the add-in's way: a fresh 256-character buffer, default "".
// Returns the characters before the first zero; empty when missing or empty.
std::string ReadAddinValue(ProfilePort& profile, const std::string& file,
                           const std::string& section, const std::string& key);

// The add-in's list: keys "1", "2", ... read in ascending order, each value
// handed to `add`, up to the first key that is missing or empty. The counter
// cannot overflow: a list of any length ends at its first gap.
void ReadAddinList(ProfilePort& profile, const std::string& file, const std::string& section,
                   const std::function<void(const std::string&)>& add);
std::vector<std::string> ReadAddinList(ProfilePort& profile, const std::string& file,
                                       const std::string& section);

// The editor's list: the section's key names in the order of their lines,
// each value read with the default "0".
std::vector<std::string> ListSection(const TIniFile& ini, const std::string& section);

// The editor's duplicate test: equal once the letters a to z are turned into
// A to Z in both texts; every other character must match as it stands.
bool IsDuplicateName(std::string_view a, std::string_view b);

// The editor's deletion match: equal character for character.
bool IsSameEntry(std::string_view a, std::string_view b);

}  // namespace brellin
