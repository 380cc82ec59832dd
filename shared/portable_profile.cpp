// The rules below are kernel32's as the differential test program observes
// them under Wine; each quirk kept here is one that a stored file or a caller
// may meet, so it is reproduced rather than tidied away.
#include "portable_profile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "host_path.h"

namespace brellin {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Blanks as the profile functions see them: the C0 white space and ^Z, an old
// end-of-file mark.
bool IsBlank(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

// Names compare without regard to the case of the letters A to Z; other
// letters, accented ones included, must match as they stand.
unsigned char Lower(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

std::string Fold(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) c = static_cast<char>(Lower(static_cast<unsigned char>(c)));
    return folded;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(static_cast<unsigned char>(a[i])) != Lower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsBlank(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    return text;
}

std::string_view Trim(std::string_view text) {
    text = TrimLeft(text);
    while (!text.empty() && IsBlank(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// Copies at most size - 1 characters and a zero, as lstrcpyn does; returns
// the number of characters copied.
std::uint32_t CopyCut(char* buffer, std::string_view text, std::uint32_t size) {
    if (size == 0) return 0;
    const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), size - 1));
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return count;
}

// A value (or default) enclosed in matching quotes loses them. When the
// buffer is just too small, the cut value loses its last character instead
// of the closing quote, as kernel32 under Wine does.
std::uint32_t CopyEntry(char* buffer, std::string_view value, std::uint32_t size) {
    if (size == 0) return 0;
    bool quoted = false;
    if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"') &&
        value.back() == value.front()) {
        quoted = true;
        value.remove_prefix(1);
    }
    std::string_view copied = value.substr(0, std::min<std::size_t>(value.size(), size - 1));
    if (quoted && size >= value.size() && !copied.empty()) copied.remove_suffix(1);
    return CopyCut(buffer, copied, size);
}

// The integer reading of the profile functions: blanks and control
// characters skipped, a sign, a base prefix ("0x", "0o", "0b"), then digits
// up to the first character that is none, wrapping like a 32-bit unsigned.
std::uint32_t ParseInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        switch (text[i + 1]) {
        case 'x': base = 16; i += 2; break;
        case 'o': base = 8; i += 2; break;
        case 'b': base = 2; i += 2; break;
        default: break;
        }
    }
    std::uint32_t total = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        std::uint32_t digit;
        if (c >= '0' && c <= '9') digit = static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'z') digit = static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'Z') digit = static_cast<std::uint32_t>(c - 'A' + 10);
        else break;
        if (digit >= base) break;
        total = total * base + digit;
    }
    return negative ? 0u - total : total;
}

}  // namespace

PortableProfile::Document* PortableProfile::Open(const std::string& file, bool forWriting) {
    const auto path = ToHostPath(file);
    const FileStamp stamp = StampOf(path);
    if (stamp.other) return nullptr;
    if (!stamp.exists) {
        // A missing file reads as empty; writing creates it, provided its
        // folder exists and may be written.
        if (forWriting) {
            std::error_code ignored;
            const auto folder = path.has_parent_path() ? path.parent_path()
                                                       : std::filesystem::path(".");
            if (!std::filesystem::is_directory(folder, ignored) || IsWriteProtected(folder))
                return nullptr;
        }
        auto& document = cache_[path.string()];
        document = Document{};
        return &document;
    }
    if (forWriting && IsWriteProtected(path)) return nullptr;

    auto& document = cache_[path.string()];
    if (document.exists && document.stamp == stamp) return &document;

    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ++loads_;

    document = Document{};
    document.exists = true;
    document.stamp = stamp;
    // A byte-order mark, as some editors save it, is kept and written back.
    // The text behind it is taken byte for byte, which is exact for the
    // ASCII names and values that such files hold in practice.
    if (text.compare(0, kUtf8Mark.size(), kUtf8Mark) == 0) {
        document.utf8Mark = true;
        text.erase(0, kUtf8Mark.size());
    }
    // An empty file holds nothing at all; any other starts with the nameless
    // section of the lines before the first heading.
    if (text.empty()) return &document;
    document.sections.emplace_back();

    // A line ends at a run of CR and LF characters, so blank lines vanish and
    // a file with lone CRs reads like any other.
    std::size_t next = 0;
    while (next < text.size()) {
        const std::size_t start = next;
        next = text.find_first_of("\r\n", start);
        if (next == std::string::npos) next = text.size();
        const std::size_t lineEnd = next;
        next = text.find_first_not_of("\r\n", next);
        if (next == std::string::npos) next = text.size();
        const std::string_view line = Trim(std::string_view(text).substr(start, lineEnd - start));
        if (line.empty()) continue;

        if (line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close != std::string_view::npos && close > 0) {
                Section section;
                section.name = std::string(Trim(line.substr(1, close - 1)));
                document.sections.push_back(std::move(section));
                continue;
            }
        }

        Key key;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            key.name = std::string(line);
        } else {
            std::string_view name = line.substr(0, equals);
            while (!name.empty() && IsBlank(static_cast<unsigned char>(name.back())))
                name.remove_suffix(1);
            key.name = std::string(name);
            key.value = std::string(TrimLeft(line.substr(equals + 1)));
        }
        // Of several nameless lines in a row only the first is kept.
        auto& keys = document.sections.back().keys;
        if (!key.name.empty() || keys.empty() || !keys.back().name.empty())
            keys.push_back(std::move(key));
    }
    return &document;
}

bool PortableProfile::Save(const std::string& file, Document& document) {
    std::string text(document.utf8Mark ? kUtf8Mark : std::string_view());
    for (const auto& section : document.sections) {
        if (!section.name.empty()) {
            text += '[';
            text += section.name;
            text += "]\r\n";
        }
        for (const auto& key : section.keys) {
            text += key.name;
            if (key.value) {
                text += '=';
                text += *key.value;
            }
            text += "\r\n";
        }
    }
    const auto path = ToHostPath(file);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out.flush()) return false;
    }
    // The next use reads the file afresh, as kernel32 does with a file
    // written moments ago, so names take the form they have on disk.
    document.exists = false;
    return true;
}

const PortableProfile::Key* PortableProfile::Find(const Document& document,
                                                  const std::string& section,
                                                  const std::string& key) const {
    if (!document.indexed) {
        document.index.clear();
        for (std::size_t i = 0; i < document.sections.size(); ++i)
            document.index.emplace(Fold(document.sections[i].name), i);
        document.indexed = true;
    }
    const auto found = document.index.find(Fold(Trim(section)));
    if (found == document.index.end()) return nullptr;

    // Only the first section of that name is searched.
    const Section& target = document.sections[found->second];
    if (!target.indexed) {
        target.index.clear();
        for (std::size_t i = 0; i < target.keys.size(); ++i)
            target.index.emplace(Fold(target.keys[i].name), i);
        target.indexed = true;
    }
    const auto hit = target.index.find(Fold(Trim(key)));
    return hit == target.index.end() ? nullptr : &target.keys[hit->second];
}

std::uint32_t PortableProfile::ReadString(const std::string& file, const std::string& section,
                                          const std::string& key, const std::string& fallback,
                                          char* buffer, std::uint32_t size) {
    if (size == 0) return 0;
    // Trailing spaces of the default are dropped, all but its first character.
    std::string_view def = fallback;
    while (def.size() > 1 && def.back() == ' ') def.remove_suffix(1);

    const Document* document = Open(file, false);
    if (!document) return CopyCut(buffer, def, size);
    const Key* found = Find(*document, section, key);
    return CopyEntry(buffer, found && found->value ? std::string_view(*found->value) : def, size);
}

std::uint32_t PortableProfile::GetString(const std::string& file, const std::string& section,
                                         const std::string& key, const std::string& fallback,
                                         char* buffer, std::uint32_t size) {
    return ReadString(file, section, key, fallback, buffer, size);
}

std::uint32_t PortableProfile::GetKeyNames(const std::string& file, const std::string& section,
                                           char* buffer, std::uint32_t size) {
    if (size == 0) return 0;
    // The names are gathered as kernel32 gathers them, in a buffer of its
    // own; the caller's buffer then receives the characters counted and one
    // zero, and nothing more.
    std::string list(size, '\0');
    std::uint32_t count = 0;
    const Document* document = Open(file, false);
    const Section* target = nullptr;
    if (document) {
        for (const auto& candidate : document->sections)
            if (SameName(candidate.name, section)) {
                target = &candidate;
                break;
            }
    }
    if (target) {
        std::uint32_t left = size;
        std::size_t out = 0;
        for (const auto& key : target->keys) {
            if (left <= 2) break;
            if (key.name.empty() && !key.value) continue;
            if (!key.name.empty() && key.name.front() == ';') continue;
            if (!key.value) continue;
            const std::uint32_t copied = CopyCut(list.data() + out, key.name, left - 1);
            left -= copied + 1;
            out += copied + 1;
            if (left < 2) break;
        }
        count = left <= 1 ? size - 2 : size - left;
    }
    // An empty first name reads like an empty list.
    if (list[0] == '\0') count = 0;
    std::memcpy(buffer, list.data(), count);
    buffer[count] = '\0';
    return count;
}

std::uint32_t PortableProfile::GetInt(const std::string& file, const std::string& section,
                                      const std::string& key, std::int32_t fallback) {
    char value[30];
    if (ReadString(file, section, key, "", value, sizeof value) == 0)
        return static_cast<std::uint32_t>(fallback);
    return ParseInteger(value);
}

bool PortableProfile::WriteString(const std::string& file, const std::string& section,
                                  const std::string& key, const std::string& value) {
    Document* document = Open(file, true);
    if (!document) return false;

    const std::string_view newValue = TrimLeft(value);
    auto* found = const_cast<Key*>(Find(*document, section, key));
    if (found && found->value && *found->value == newValue) return true;
    if (found) {
        found->value = std::string(newValue);
    } else {
        AddKey(*document, section, key, newValue);
    }
    return Save(file, *document);
}

void PortableProfile::AddKey(Document& document, const std::string& section,
                             std::string_view key, std::string_view value) {
    // A new key goes to the end of the first section of that name, a new
    // section to the end of the file; both keep their names as given, less
    // the leading blanks.
    const std::string_view sectionName = Trim(section);
    Section* target = nullptr;
    for (auto& candidate : document.sections)
        if (SameName(candidate.name, sectionName)) {
            target = &candidate;
            break;
        }
    if (!target) {
        Section created;
        created.name = std::string(TrimLeft(section));
        document.sections.push_back(std::move(created));
        target = &document.sections.back();
        document.indexed = false;
    }
    target->keys.push_back(Key{std::string(TrimLeft(key)), std::string(value)});
    target->indexed = false;
}

bool PortableProfile::DeleteKey(const std::string& file, const std::string& section,
                                const std::string& key) {
    Document* document = Open(file, true);
    if (!document) return false;
    // Every section of that name is searched until one key is removed.
    for (auto& candidate : document->sections) {
        if (!SameName(candidate.name, section)) continue;
        auto it = std::find_if(candidate.keys.begin(), candidate.keys.end(),
                               [&](const Key& k) { return SameName(k.name, key); });
        if (it == candidate.keys.end()) continue;
        candidate.keys.erase(it);
        candidate.indexed = false;
        return Save(file, *document);
    }
    return true;
}

bool PortableProfile::EraseSection(const std::string& file, const std::string& section) {
    Document* document = Open(file, true);
    if (!document) return false;
    auto& sections = document->sections;
    auto it = std::find_if(sections.begin(), sections.end(),
                           [&](const Section& s) { return SameName(s.name, section); });
    if (it == sections.end()) return true;
    sections.erase(it);
    document->indexed = false;
    // kernel32 reports success once the file is open, whether or not the
    // shortened file could be written.
    Save(file, *document);
    return true;
}

bool PortableProfile::WriteSection(const std::string& file, const std::string& section,
                                   const std::string& entries) {
    Document* document = Open(file, true);
    if (!document) return false;
    bool changed = false;
    // Every section of that name loses all its lines, comments included;
    // the nameless lines before the first heading are never one of them.
    for (auto& candidate : document->sections) {
        if (candidate.name.empty() || !SameName(candidate.name, section) || candidate.keys.empty())
            continue;
        candidate.keys.clear();
        candidate.indexed = false;
        changed = true;
    }
    std::size_t next = 0;
    while (next < entries.size() && entries[next] != '\0') {
        std::size_t end = entries.find('\0', next);
        if (end == std::string::npos) end = entries.size();
        const std::string_view entry = std::string_view(entries).substr(next, end - next);
        next = end + 1;
        const std::size_t equals = entry.find('=');
        if (equals == std::string_view::npos) continue;
        // Each entry is added as a new line, even beside one of the same name.
        AddKey(*document, section, entry.substr(0, equals), TrimLeft(entry.substr(equals + 1)));
        changed = true;
    }
    return !changed || Save(file, *document);
}

}  // namespace brellin
