#include "ini_file.h"

#include <gtest/gtest.h>

#include "failure.h"
#include "portable_profile.h"
#include "test_support.h"

namespace brellin {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

using IniFileTest = testing::ConfigFileTest;

TEST(ParseIniInteger, DecimalOrHexWithNothingAfter) {
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    };
    const Case cases[] = {
        {"1", true, 1},          {"0", true, 0},          {"5", true, 5},
        {"-1", true, -1},        {"+7", true, 7},         {"  7", true, 7},
        {"0x10", true, 16},      {"0X1f", true, 31},      {"0x0", true, 0},
        {"0xFFFFFFFF", true, -1}, {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0}, {"0x100000000", false, 0},
        {"", false, 0},          {"abc", false, 0},       {"1a", false, 0},
        {"0x", false, 0},        {"-", false, 0},         {"1 ", false, 0},
        {"0xg", false, 0},       {"$10", false, 0},
    };
    for (const auto& c : cases) {
        std::int32_t value = 12345;
        EXPECT_EQ(ParseIniInteger(c.text, value), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        }
    }
}

TEST_F(IniFileTest, ReadsOptionsAsTheEditorDoes) {
    WriteBytes(file_, "[MAROV BRL Options]\r\nSubject=5\r\nHeader=letters\r\nFooter=0x0\r\nLines=0x2\r\n");
    EXPECT_TRUE(ini_.ReadBool("MAROV BRL Options", "Subject", false));
    EXPECT_FALSE(ini_.ReadBool("MAROV BRL Options", "Header", false));
    EXPECT_FALSE(ini_.ReadBool("MAROV BRL Options", "Footer", true));
    EXPECT_TRUE(ini_.ReadBool("MAROV BRL Options", "Lines", false));
    EXPECT_TRUE(ini_.ReadBool("MAROV BRL Options", "Missing", true));
    EXPECT_TRUE(ini_.ValueExists("marov brl options", "SUBJECT"));
    EXPECT_FALSE(ini_.ValueExists("MAROV BRL Options", "Missing"));
    EXPECT_EQ(ini_.ReadString("MAROV BRL Options", "Missing", "0"), "0");
}

TEST_F(IniFileTest, ReadStringSeesAtMost2047Characters) {
    WriteBytes(file_, "[S]\r\nk=" + std::string(3000, 'v') + "\r\n");
    EXPECT_EQ(ini_.ReadString("S", "k", ""), std::string(2047, 'v'));
}

TEST_F(IniFileTest, WritesCreateTheFileAndKeepTheOrderOfLines) {
    ini_.WriteString("Headers", "1", "Acme");
    ini_.WriteString("Acme", "1", "Tax");
    ini_.WriteString("Headers", "2", "Globex");
    ini_.WriteBool("MAROV BRL Options", "Subject", true);
    ini_.WriteBool("MAROV BRL Options", "Lines", false);
    EXPECT_EQ(ReadBytes(file_),
              "[Headers]\r\n1=Acme\r\n2=Globex\r\n[Acme]\r\n1=Tax\r\n"
              "[MAROV BRL Options]\r\nSubject=1\r\nLines=0\r\n");
    ini_.DeleteKey("Headers", "1");
    ini_.EraseSection("acme");
    ini_.EraseSection("Missing");
    ini_.DeleteKey("Missing", "1");
    EXPECT_EQ(ReadBytes(file_),
              "[Headers]\r\n2=Globex\r\n[MAROV BRL Options]\r\nSubject=1\r\nLines=0\r\n");
}

TEST_F(IniFileTest, AFailedWriteOrEraseThrowsAndAFailedDeletionIsIgnored) {
    WriteBytes(file_, "[Headers]\r\n1=Acme\r\n");
    std::filesystem::permissions(file_, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    const std::string expected = "Unable to write to " + file_;
    try {
        ini_.WriteString("Headers", "2", "Globex");
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.what(), expected);
    }
    EXPECT_THROW(ini_.WriteBool("MAROV BRL Options", "Subject", true), Failure);
    EXPECT_THROW(ini_.EraseSection("Headers"), Failure);
    EXPECT_NO_THROW(ini_.DeleteKey("Headers", "1"));
    EXPECT_THROW(ini_.WriteNumberedSection("Headers", {"Globex"}), Failure);
    EXPECT_EQ(ReadBytes(file_), "[Headers]\r\n1=Acme\r\n");

    // A folder that may not be written: the file cannot be created.
    TIniFile missing(profile_, folder_.File("locked/Brellin.ini"));
    std::filesystem::create_directory(folder_.path() / "locked");
    std::filesystem::permissions(folder_.path() / "locked", std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::owner_exec);
    EXPECT_THROW(missing.WriteString("Headers", "1", "Acme"), Failure);
    EXPECT_FALSE(std::filesystem::exists(folder_.path() / "locked" / "Brellin.ini"));
    std::filesystem::permissions(folder_.path() / "locked", std::filesystem::perms::owner_all);
}

TEST_F(IniFileTest, ANumberedSectionIsWrittenInOnePiece) {
    WriteBytes(file_, "[Headers]\r\n1=Acme\r\n2=Globex\r\n4=Initech\r\n[Acme]\r\n1=Tax\r\n");
    ini_.WriteNumberedSection("Headers", {"Acme", "Initech", "Umbrella"});
    EXPECT_EQ(ReadBytes(file_), "[Headers]\r\n1=Acme\r\n2=Initech\r\n3=Umbrella\r\n[Acme]\r\n1=Tax\r\n");
    ini_.WriteNumberedSection("Acme", {});
    EXPECT_EQ(ReadBytes(file_), "[Headers]\r\n1=Acme\r\n2=Initech\r\n3=Umbrella\r\n[Acme]\r\n");
}

}  // namespace
}  // namespace brellin
