#include "ini_file.h"

#include <cctype>
#include <memory>

#include "failure.h"

namespace brellin {
namespace {

bool SameKeyName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

std::vector<std::string> TIniFile::ReadSection(const std::string& section, bool* complete) const {
    auto buffer = std::make_unique<char[]>(kSectionBuffer);
    const std::uint32_t count =
        profile_.GetKeyNames(fileName_, section, buffer.get(), kSectionBuffer);
    // Only the characters the call reports are taken: past them the buffer
    // may hold anything.
    std::vector<std::string> names;
    std::uint32_t start = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (buffer[i] != '\0') continue;
        if (i > start) names.emplace_back(buffer.get() + start, i - start);
        start = i + 1;
    }
    if (start < count) names.emplace_back(buffer.get() + start, count - start);
    // A full buffer ends in a name that may have been cut short: such a name
    // would stand for another key (a cut "3498" reads as "3"), so it is left
    // out, like every key beyond it.
    const bool full = count + 2 == kSectionBuffer;
    if (full && !names.empty()) names.pop_back();
    if (complete) *complete = !full;
    return names;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const {
    auto buffer = std::make_unique<char[]>(kValueBuffer);
    const std::uint32_t count =
        profile_.GetString(fileName_, section, key, fallback, buffer.get(), kValueBuffer);
    return std::string(buffer.get(), count);
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
    for (const auto& name : ReadSection(section))
        if (SameKeyName(name, key)) return true;
    return false;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
    std::int32_t value = 0;
    if (!ParseIniInteger(ReadString(section, key, ""), value)) return fallback;
    return value != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    if (!profile_.WriteString(fileName_, section, key, value)) FailWrite();
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(const std::string& section) {
    if (!profile_.EraseSection(fileName_, section)) FailWrite();
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
    profile_.DeleteKey(fileName_, section, key);
}

void TIniFile::WriteNumberedSection(const std::string& section,
                                    const std::vector<std::string>& values) {
    std::string entries;
    for (std::size_t i = 0; i < values.size(); ++i) {
        entries += std::to_string(i + 1);
        entries += '=';
        entries += values[i];
        entries += '\0';
    }
    if (!profile_.WriteSection(fileName_, section, entries)) FailWrite();
}

void TIniFile::FailWrite() const { throw Failure("Unable to write to " + fileName_); }

bool ParseIniInteger(const std::string& text, std::int32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return false;
    std::int64_t total = 0;
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int digit;
        if (std::isdigit(c)) digit = c - '0';
        else if (base == 16 && std::isxdigit(c)) digit = std::tolower(c) - 'a' + 10;
        else return false;
        total = total * base + digit;
        // Hexadecimal may fill all 32 bits; decimal must stay a signed value.
        const std::int64_t limit = base == 16 ? 0xFFFFFFFFll : (negative ? 0x80000000ll : 0x7FFFFFFFll);
        if (total > limit) return false;
    }
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(negative ? -total : total));
    return true;
}

}  // namespace brellin
