// A scratch folder per test, removed at its end, and byte-exact file helpers.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "ini_file.h"
#include "portable_profile.h"

namespace brellin::testing {

class ScratchFolder {
public:
    ScratchFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("brellin-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                 std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A configuration file in a scratch folder, with the portable store and the
// editor's INI object over it.
class ConfigFileTest : public ::testing::Test {
protected:
    void Given(const std::string& bytes) { WriteBytes(file_, bytes); }
    ScratchFolder folder_;
    std::string file_ = folder_.File("Brellin.ini");
    PortableProfile profile_;
    TIniFile ini_{profile_, file_};
};

}  // namespace brellin::testing
