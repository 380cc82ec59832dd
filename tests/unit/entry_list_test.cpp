#include "entry_list.h"

#include <gtest/gtest.h>

#include "ini_file.h"
#include "portable_profile.h"
#include "test_support.h"

namespace brellin {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;
using Strings = std::vector<std::string>;

using EntryListTest = testing::ConfigFileTest;

TEST_F(EntryListTest, AddinListStopsAtTheFirstMissingOrEmptyKey) {
    struct Case {
        const char* file;
        Strings headers;
    };
    const Case cases[] = {
        {"[Headers]\r\n1=Acme\r\n2=Globex\r\n", {"Acme", "Globex"}},
        {"[Headers]\r\n1=Acme\r\n2=Globex\r\n4=Initech\r\n", {"Acme", "Globex"}},
        {"[Headers]\r\n1=Acme\r\n2=\r\n3=Initech\r\n", {"Acme"}},
        {"[Headers]\r\n2=Globex\r\n3=Initech\r\n", {}},
        {"[headers]\r\n2=Globex\r\n1=Acme\r\n", {"Acme", "Globex"}},
        {"[Other]\r\n1=Acme\r\n", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        Given(c.file);
        EXPECT_EQ(ReadAddinList(profile_, file_, "Headers"), c.headers) << c.file;
    }
    std::filesystem::remove(file_);
    EXPECT_EQ(ReadAddinList(profile_, file_, "Headers"), Strings{});
}

TEST_F(EntryListTest, AddinSeesAtMost255CharactersOfAValue) {
    Given("[Headers]\r\n1=" + std::string(300, 'x') + "\r\n");
    EXPECT_EQ(ReadAddinList(profile_, file_, "Headers"), Strings{std::string(255, 'x')});
}

TEST_F(EntryListTest, AddinListIsNotLimitedByA16BitCounter) {
    std::string text = "[Headers]\r\n";
    for (int n = 1; n <= 33000; ++n) text += std::to_string(n) + "=H" + std::to_string(n) + "\r\n";
    Given(text);
    const auto headers = ReadAddinList(profile_, file_, "Headers");
    ASSERT_EQ(headers.size(), 33000u);
    EXPECT_EQ(headers[32766], "H32767");
    EXPECT_EQ(headers.back(), "H33000");
}

TEST_F(EntryListTest, EditorListsValuesInLineOrderWithDefaultZero) {
    Given("[Headers]\r\n2=Globex\r\n1=Acme\r\n4=Initech\r\n4=Shadowed\r\n5=\r\nnoequals\r\n;1=comment\r\n");
    EXPECT_EQ(ListSection(ini_, "Headers"), (Strings{"Globex", "Acme", "Initech", "Initech", ""}));
    EXPECT_EQ(ListSection(ini_, "Missing"), Strings{});
}

TEST_F(EntryListTest, EditorSeesOnlyTheKeyNamesThatFitAndNeverACutOne) {
    std::string text = "[Headers]\r\n";
    for (int n = 1; n <= 4000; ++n) text += std::to_string(n) + "=H" + std::to_string(n) + "\r\n";
    Given(text);
    const auto names = ini_.ReadSection("Headers");
    // Names "1" to "N", each with its zero, within 16,384 bytes less the
    // list's closing zero; a name cut at the end of the buffer is left out.
    std::size_t used = 0, fits = 0;
    for (int n = 1; used + std::to_string(n).size() + 1 <= TIniFile::kSectionBuffer - 2; ++n) {
        used += std::to_string(n).size() + 1;
        fits = static_cast<std::size_t>(n);
    }
    ASSERT_GT(fits, 3400u);
    ASSERT_LT(fits, 3500u);
    ASSERT_GE(names.size(), fits - 1);
    ASSERT_LE(names.size(), fits);
    for (std::size_t i = 0; i < names.size(); ++i) ASSERT_EQ(names[i], std::to_string(i + 1));
}

TEST(EntryNames, DuplicateTestFoldsOnlyAsciiLetters) {
    EXPECT_TRUE(IsDuplicateName("Acme", "ACME"));
    EXPECT_TRUE(IsDuplicateName("acme corp", "ACME CORP"));
    EXPECT_TRUE(IsDuplicateName("a1-b_2", "A1-B_2"));
    EXPECT_FALSE(IsDuplicateName("\xE9t\xE9", "\xC9T\xC9"));  // accented letters stay as they are
    EXPECT_FALSE(IsDuplicateName("Acme ", "Acme"));
    EXPECT_FALSE(IsDuplicateName("Acm", "Acme"));
    EXPECT_FALSE(IsDuplicateName("[", "{"));  // 0x5B and 0x7B differ by 32 but are no letters
}

TEST(EntryNames, DeletionMatchIsExact) {
    EXPECT_TRUE(IsSameEntry("Acme", "Acme"));
    EXPECT_FALSE(IsSameEntry("Acme", "ACME"));
    EXPECT_FALSE(IsSameEntry("Acme", "Acme "));
}

}  // namespace
}  // namespace brellin
