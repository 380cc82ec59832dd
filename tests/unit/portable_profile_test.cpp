// The portable store's own promises beyond what the differential program
// compares with kernel32: it notices changes made by other programs, and it
// does not parse an unchanged file again.
#include "portable_profile.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace brellin {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;

std::string Get(PortableProfile& profile, const std::string& file, const std::string& section,
                const std::string& key) {
    char buffer[256];
    const auto count = profile.GetString(file, section, key, "", buffer, sizeof buffer);
    return std::string(buffer, count);
}

TEST(PortableProfile, ReadsTheExampleConfiguration) {
    ScratchFolder folder;
    const std::string file = folder.File("Brellin.ini");
    WriteBytes(file,
               "[Headers]\r\n1=Acme\r\n2=Globex\r\n[Acme]\r\n1=Tax\r\n2=Audit\r\n"
               "[MAROV BRL Options]\r\nSubject=1\r\nHeader=1\r\nFooter=0\r\nLines=0\r\n");
    PortableProfile profile;
    EXPECT_EQ(Get(profile, file, "Headers", "2"), "Globex");
    EXPECT_EQ(Get(profile, file, "ACME", "2"), "Audit");
    EXPECT_EQ(Get(profile, file, "Globex", "1"), "");
    EXPECT_EQ(profile.GetInt(file, "MAROV BRL Options", "Subject", 0), 1u);
    EXPECT_EQ(profile.GetInt(file, "MAROV BRL Options", "Footer", 7), 0u);
    EXPECT_EQ(profile.GetInt(file, "Missing", "Footer", 7), 7u);
}

TEST(PortableProfile, ParsesAnUnchangedFileOnceAndSeesEveryOutsideChange) {
    ScratchFolder folder;
    const std::string file = folder.File("Brellin.ini");
    WriteBytes(file, "[Headers]\r\n1=Acme\r\n");
    PortableProfile profile;
    EXPECT_EQ(Get(profile, file, "Headers", "1"), "Acme");
    EXPECT_EQ(Get(profile, file, "Headers", "1"), "Acme");
    EXPECT_EQ(profile.Loads(), 1u);

    // Same size, new time: another program changed one letter.
    const auto before = std::filesystem::last_write_time(file);
    WriteBytes(file, "[Headers]\r\n1=Acmf\r\n");
    std::filesystem::last_write_time(file, before + std::chrono::seconds(1));
    EXPECT_EQ(Get(profile, file, "Headers", "1"), "Acmf");

    // New size, even within the same clock tick.
    WriteBytes(file, "[Headers]\r\n1=Globex\r\n");
    std::filesystem::last_write_time(file, before + std::chrono::seconds(1));
    EXPECT_EQ(Get(profile, file, "Headers", "1"), "Globex");

    std::filesystem::remove(file);
    EXPECT_EQ(Get(profile, file, "Headers", "1"), "");

    // Our own writes are seen at once, and by a second store as well.
    EXPECT_TRUE(profile.WriteString(file, "Headers", "1", "Initech"));
    PortableProfile other;
    EXPECT_EQ(Get(profile, file, "Headers", "1"), "Initech");
    EXPECT_EQ(Get(other, file, "Headers", "1"), "Initech");
}

}  // namespace
}  // namespace brellin
