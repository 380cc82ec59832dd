#include "config_paths.h"

#include <gtest/gtest.h>

namespace brellin {
namespace {

TEST(ConfigPaths, AddinAppendsFileNamesToTheInstallFolder) {
    EXPECT_EQ(AddinConfigPath("C:\\Program Files\\Brellin"), "C:\\Program Files\\Brellin\\Brellin.ini");
    EXPECT_EQ(AddinDisclaimerPath("C:\\Program Files\\Brellin"),
              "C:\\Program Files\\Brellin\\BrellinD.txt");
    EXPECT_EQ(AddinConfigPath("\\\\srv\\share"), "\\\\srv\\share\\Brellin.ini");
}

TEST(ConfigPaths, EditorReplacesTheExtensionOfItsProgramPath) {
    struct Case {
        const char* program;
        const char* config;
        const char* disclaimer;
    };
    const Case cases[] = {
        {"C:\\Brellin\\Brellin.exe", "C:\\Brellin\\Brellin.ini", "C:\\Brellin\\BrellinD.txt"},
        {"C:\\Brellin\\BRELLIN.EXE", "C:\\Brellin\\BRELLIN.ini", "C:\\Brellin\\BRELLIND.txt"},
        // Only the last dot of the file name counts; dots in folders do not.
        {"C:\\a.b\\Brellin.old.exe", "C:\\a.b\\Brellin.old.ini", "C:\\a.b\\Brellin.oldD.txt"},
        {"C:\\a.b\\Brellin", "C:\\a.b\\Brellin.ini", "C:\\a.b\\BrellinD.txt"},
        {"C:Brellin", "C:Brellin.ini", "C:BrellinD.txt"},
        {"D:.exe", "D:.ini", "D:D.txt"},
        {"C:\\Brellin\\Brellin.", "C:\\Brellin\\Brellin.ini", "C:\\Brellin\\BrellinD.txt"},
        {"\\\\srv\\share.x\\Brellin.exe", "\\\\srv\\share.x\\Brellin.ini", "\\\\srv\\share.x\\BrellinD.txt"},
        {"", ".ini", "D.txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EditorConfigPath(c.program), c.config) << c.program;
        EXPECT_EQ(EditorDisclaimerPath(c.program), c.disclaimer) << c.program;
    }
}

}  // namespace
}  // namespace brellin
