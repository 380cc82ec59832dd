#include "entry_list.h"

#include <array>

#include "ini_file.h"

namespace brellin {

std::string ReadAddinValue(ProfilePort& profile, const std::string& file,
                           const std::string& section, const std::string& key) {
    std::array<char, kAddinReadBuffer> buffer{};
    const std::uint32_t count =
        profile.GetString(file, section, key, "", buffer.data(), kAddinReadBuffer);
    if (count == 0) return {};
    return std::string(buffer.data());
}

void ReadAddinList(ProfilePort& profile, const std::string& file, const std::string& section,
                   const std::function<void(const std::string&)>& add) {
    for (std::uint64_t number = 1;; ++number) {
        const std::string value = ReadAddinValue(profile, file, section, std::to_string(number));
        if (value.empty()) return;
        add(value);
    }
}

std::vector<std::string> ReadAddinList(ProfilePort& profile, const std::string& file,
                                       const std::string& section) {
    std::vector<std::string> values;
    ReadAddinList(profile, file, section, [&](const std::string& v) { values.push_back(v); });
    return values;
}

std::vector<std::string> ListSection(const TIniFile& ini, const std::string& section) {
    std::vector<std::string> values;
    for (const auto& name : ini.ReadSection(section)) values.push_back(ini.ReadString(section, name, "0"));
    return values;
}

bool IsDuplicateName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

bool IsSameEntry(std::string_view a, std::string_view b) { return a == b; }

}  // namespace brellin
