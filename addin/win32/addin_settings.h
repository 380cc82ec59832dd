// The add-in's mail client settings, kept as one constant record in the
// library: the add-in designer's class, then the registry root, display name,
// description and initial load behaviour, each length-prefixed as the record's
// readers expect. Registration reads the entry it writes from this record.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace brellin::addin_settings {

#pragma pack(push, 1)
struct Record {
    GUID designer;                 // the add-in designer behind the add-in class
    std::uint32_t restLength;      // bytes of every field below
    std::uint32_t rootLength;      // text lengths count the terminating zero
    char root[52];
    std::uint32_t displayNameLength;
    char displayName[8];
    std::uint32_t descriptionLength;
    char description[8];
    std::uint32_t loadBehavior;
    std::uint32_t reserved[6];
};
#pragma pack(pop)

// The record as the library carries it.
extern const Record kRecord;

// What the record says, read field by field.
struct Settings {
    std::string root;  // "HKEY_CURRENT_USER\..."
    std::string displayName;
    std::string description;
    std::uint32_t loadBehavior = 0;
};

// Reads a record from its bytes; nothing when it is cut short, a length runs
// past its end or a text lacks its terminating zero where its length says.
std::optional<Settings> Read(const unsigned char* bytes, std::size_t size);

}  // namespace brellin::addin_settings
