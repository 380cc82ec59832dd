#include "disclaimer.h"

#include <gtest/gtest.h>

#include "failure.h"
#include "test_support.h"

namespace brellin {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

struct Case {
    const char* file;
    const char* text;
};

TEST(Disclaimer, MailReadingJoinsLinesWithCr) {
    ScratchFolder folder;
    const std::string path = folder.File("BrellinD.txt");
    const Case cases[] = {
        {"", ""},
        {"Line one\r\nLine two", "Line one\rLine two"},
        {"Line one\r\nLine two\r\n", "Line one\rLine two"},
        // Empty lines before the first text vanish; later ones stay, also at the end.
        {"\r\nA\r\n\r\nB", "A\r\rB"},
        {"\r\n\r\nA\r\n\r\n", "A\r"},
        {"A\r\n\r\n\r\n", "A\r\r"},
        {"\r\n\r\n", ""},
        {"A\nB\n", "A\rB"},
        {"A\rB\r", "A\rB"},
        {"A\n\rB", "A\r\rB"},
        {"  indented \r\n\ttab", "  indented \r\ttab"},
    };
    for (const auto& c : cases) {
        WriteBytes(path, c.file);
        EXPECT_EQ(ReadDisclaimerForMail(path), c.text) << c.file;
    }
    EXPECT_EQ(ReadDisclaimerForMail(folder.File("missing.txt")), "");
    try {
        ReadDisclaimerForMail(folder.path().string());  // a folder where the file should be
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_STREQ(failure.what(), "Cannot read the disclaimer file");
    }
}

TEST(Disclaimer, EditorReadsEveryLineBreakAsCrLf) {
    ScratchFolder folder;
    const std::string path = folder.File("BrellinD.txt");
    const Case cases[] = {
        {"", ""},
        {"A\r\nB", "A\r\nB"},
        {"A\r\nB\r\n", "A\r\nB\r\n"},
        {"A\nB\n", "A\r\nB\r\n"},
        {"A\rB", "A\r\nB"},
        {"\n\r", "\r\n\r\n"},
        {"\r\r\n", "\r\n\r\n"},
    };
    for (const auto& c : cases) {
        WriteBytes(path, c.file);
        EXPECT_EQ(ReadDisclaimerText(path), c.text) << c.file;
    }
    const std::string missing = folder.File("missing.txt");
    try {
        ReadDisclaimerText(missing);
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.what(), "Cannot open file " + missing);
    }
}

TEST(Disclaimer, EditorWritesExactlyTheText) {
    ScratchFolder folder;
    const std::string path = folder.File("BrellinD.txt");
    for (const char* text : {"Line one\r\nLine two", "Line one\r\n", "", "x"}) {
        WriteDisclaimerText(path, text);
        EXPECT_EQ(ReadBytes(path), text);
    }
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    try {
        WriteDisclaimerText(path, "new");
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.what(), "Cannot create file " + path);
    }
    EXPECT_EQ(ReadBytes(path), "x");
}

}  // namespace
}  // namespace brellin
