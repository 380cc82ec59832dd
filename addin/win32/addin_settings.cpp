#include "addin_settings.h"

#include <cstring>

namespace brellin::addin_settings {

// {AC0714F7-3D04-11D1-AE7D-00A0C90F26F4}
constexpr GUID kDesigner = {0xAC0714F7, 0x3D04, 0x11D1, {0xAE, 0x7D, 0x00, 0xA0, 0xC9, 0x0F, 0x26, 0xF4}};

const Record kRecord = {
    kDesigner,
    sizeof(Record) - offsetof(Record, rootLength),
    sizeof(Record::root), "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\Outlook",
    sizeof(Record::displayName), "Brellin",
    sizeof(Record::description), "Brellin",
    3,
    {0, 0, 0, 0, 0, 0},
};

static_assert(sizeof(Record) == 128);
static_assert(offsetof(Record, restLength) == 16);
static_assert(offsetof(Record, root) == 24);
static_assert(offsetof(Record, loadBehavior) == 100);

namespace {

class Cursor {
public:
    Cursor(const unsigned char* bytes, std::size_t size) : at_(bytes), left_(size) {}

    bool Skip(std::size_t count) {
        if (count > left_) return false;
        at_ += count;
        left_ -= count;
        return true;
    }
    bool ReadU32(std::uint32_t& value) {
        if (left_ < sizeof value) return false;
        std::memcpy(&value, at_, sizeof value);  // little-endian, as stored
        return Skip(sizeof value);
    }
    bool ReadText(std::string& text) {
        std::uint32_t length = 0;
        if (!ReadU32(length) || length == 0 || length > left_) return false;
        if (at_[length - 1] != 0) return false;
        text.assign(reinterpret_cast<const char*>(at_), length - 1);
        if (text.find('\0') != std::string::npos) return false;
        return Skip(length);
    }
    std::size_t Left() const { return left_; }

private:
    const unsigned char* at_;
    std::size_t left_;
};

}  // namespace

std::optional<Settings> Read(const unsigned char* bytes, std::size_t size) {
    Cursor cursor(bytes, size);
    std::uint32_t restLength = 0;
    if (!cursor.Skip(sizeof(GUID)) || !cursor.ReadU32(restLength)) return std::nullopt;
    if (restLength != cursor.Left()) return std::nullopt;
    Settings settings;
    if (!cursor.ReadText(settings.root) || !cursor.ReadText(settings.displayName) ||
        !cursor.ReadText(settings.description) || !cursor.ReadU32(settings.loadBehavior))
        return std::nullopt;
    if (cursor.Left() != 6 * sizeof(std::uint32_t)) return std::nullopt;
    return settings;
}

}  // namespace brellin::addin_settings
