// Our own private-profile store in standard C++, used wherever kernel32 is not:
// the native test tier, the scenario runners and the benchmarks. It reads and
// writes files exactly as kernel32 does for everything our two programs can
// produce or meet; a Windows test program compares the two call by call.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host_path.h"
#include "profile.h"

namespace brellin {

class PortableProfile final : public ProfilePort {
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

    // How many times a file was parsed; a benchmark and a test read it to see
    // that an unchanged file is not parsed again.
    std::uint64_t Loads() const { return loads_; }

private:
    struct Key {
        std::string name;
        std::optional<std::string> value;  // none: a line without "="
    };
    struct Section {
        std::string name;  // empty: the lines before the first heading
        std::vector<Key> keys;
        // Folded key name to its first line; built when first needed.
        mutable std::unordered_map<std::string, std::size_t> index;
        mutable bool indexed = false;
    };
    struct Document {
        std::vector<Section> sections;
        bool exists = false;
        bool utf8Mark = false;  // the file starts with a UTF-8 byte-order mark
        FileStamp stamp;
        // Folded section name to its first heading; built when first needed.
        mutable std::unordered_map<std::string, std::size_t> index;
        mutable bool indexed = false;
    };

    Document* Open(const std::string& file, bool forWriting);
    bool Save(const std::string& file, Document& document);
    void AddKey(Document& document, const std::string& section, std::string_view key,
                std::string_view value);
    const Key* Find(const Document& document, const std::string& section,
                    const std::string& key) const;
    std::uint32_t ReadString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& fallback, char* buffer,
                             std::uint32_t size);

    std::map<std::string, Document> cache_;
    std::uint64_t loads_ = 0;
};

}  // namespace brellin
