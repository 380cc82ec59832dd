// The editor's form logic where the scenario cases do not reach: the texts of
// the error display and the application's title, the web link, and that the
// loading runs once and a failing handler never lets its error escape.
#include "form1.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "host_path.h"
#include "portable_profile.h"
#include "test_support.h"

namespace brellin {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

TEST(ApplicationTitleOf, NameCutAtItsFirstDotFirstCharacterKept) {
    EXPECT_EQ(ApplicationTitleOf("C:\\Program Files\\Brellin\\Brellin.exe"), "Brellin");
    EXPECT_EQ(ApplicationTitleOf("C:\\Tools\\BRELLIN.EXE"), "Brellin");
    EXPECT_EQ(ApplicationTitleOf("C:\\x.y\\brellin.old.exe"), "brellin");
    EXPECT_EQ(ApplicationTitleOf("D:EDITOR"), "Editor");
    EXPECT_EQ(ApplicationTitleOf("C:\\Tools\\.hidden"), "");
}

TEST(ErrorDisplayText, FullStopAddedAfterCharactersThatSortAfterIt) {
    EXPECT_EQ(ErrorDisplayText("Cannot open file C:\\Brellin\\BrellinD.txt"),
              "Cannot open file C:\\Brellin\\BrellinD.txt.");
    EXPECT_EQ(ErrorDisplayText("Done."), "Done.");
    EXPECT_EQ(ErrorDisplayText("Really!"), "Really!");  // "!" sorts before "."
    EXPECT_EQ(ErrorDisplayText("Stop-"), "Stop-");      // so does "-"
    EXPECT_EQ(ErrorDisplayText("C:\\"), "C:\\.");
    EXPECT_EQ(ErrorDisplayText("Caf\xE9"), "Caf\xE9.");  // above 127 counts as after
    EXPECT_EQ(ErrorDisplayText(""), "");
}

TEST(TrimName, DropsTheBlanksTheFileWouldDrop) {
    EXPECT_EQ(TrimName("  Acme\t "), "Acme");
    EXPECT_EQ(TrimName("Acme Corp"), "Acme Corp");
    EXPECT_EQ(TrimName(" \t\r\n\x1A "), "");
    EXPECT_EQ(TrimName("\xA0" "Acme"), "\xA0" "Acme");  // no blank to the file either
}

class RecordingPorts final : public FormView, public FormDialogs, public FormShell {
public:
    std::vector<std::string> Items(ListBoxId list) const override { return lists[list == ListBoxId::ListBox1 ? 0 : 1]; }
    void SetItems(ListBoxId list, const std::vector<std::string>& items) override {
        lists[list == ListBoxId::ListBox1 ? 0 : 1] = items;
        selected[list == ListBoxId::ListBox1 ? 0 : 1] = -1;
        ++listFills;
    }
    int ItemIndex(ListBoxId list) const override { return selected[list == ListBoxId::ListBox1 ? 0 : 1]; }
    bool Checked(CheckBoxId box) const override { return checks[static_cast<int>(box) - 1]; }
    void SetChecked(CheckBoxId box, bool checked) override { checks[static_cast<int>(box) - 1] = checked; }
    std::string MemoText() const override { return memo; }
    void SetMemoText(const std::string& text) override { memo = text; }

    void ShowMessage(const std::string&, const std::string& text) override { messages.push_back(text); }
    bool Confirm(const std::string&, const std::string&) override { return answerYes; }
    std::optional<std::string> InputBox(const std::string&, const std::string&) override { return std::nullopt; }
    void ShowError(const std::string& title, const std::string& text) override {
        errors.push_back(title + ": " + text);
    }

    void SetHandCursor(bool hand) override { cursors.push_back(hand); }
    void StartHidden(const std::string& commandLine) override { started.push_back(commandLine); }
    void Terminate() override { ++terminations; }

    std::vector<std::string> lists[2];  // ListBox1, ListBox2
    int selected[2] = {-1, -1};
    bool answerYes = false;
    bool checks[4] = {};
    std::string memo;
    int listFills = 0;
    std::vector<std::string> messages, errors, started;
    std::vector<bool> cursors;
    int terminations = 0;
};

class Form1Test : public ::testing::Test {
protected:
    Form1Test() { MapPathPrefix("C:\\Brellin", folder_.path()); }
    ~Form1Test() override { ClearPathPrefixes(); }

    ScratchFolder folder_;
    PortableProfile profile_;
    RecordingPorts ports_;
    TForm1 form_{profile_, "C:\\Brellin\\Brellin.exe", ports_, ports_, ports_};
};

TEST_F(Form1Test, LoadsOnceOnly) {
    WriteBytes(folder_.File("Brellin.ini"), "[Headers]\r\n1=Acme\r\n[MAROV BRL Options]\r\nLines=7\r\n");
    WriteBytes(folder_.File("BrellinD.txt"), "Text");
    form_.Dispatch(&TForm1::FormActivate);
    EXPECT_EQ(ports_.lists[0], std::vector<std::string>{"Acme"});
    EXPECT_TRUE(ports_.checks[3]);
    EXPECT_EQ(ports_.memo, "Text");

    // Back in the window after another program changed the files: nothing
    // is read again, nothing written.
    WriteBytes(folder_.File("Brellin.ini"), "[Headers]\r\n1=Other\r\n[MAROV BRL Options]\r\nLines=0\r\n");
    WriteBytes(folder_.File("BrellinD.txt"), "Other");
    const int fills = ports_.listFills;
    form_.Dispatch(&TForm1::FormActivate);
    EXPECT_EQ(ports_.listFills, fills);
    EXPECT_TRUE(ports_.checks[3]);
    EXPECT_EQ(ports_.memo, "Text");
    EXPECT_EQ(ReadBytes(folder_.File("Brellin.ini")), "[Headers]\r\n1=Other\r\n[MAROV BRL Options]\r\nLines=0\r\n");
    EXPECT_TRUE(ports_.errors.empty());
}

TEST_F(Form1Test, ErrorsOfAnyKindEndAtTheErrorDisplay) {
    // An error that carries a message is shown with it; one that carries
    // none with an empty text; neither leaves Dispatch.
    struct Throwing final : FormShell {
        void SetHandCursor(bool) override { throw std::runtime_error("Out of resources"); }
        void StartHidden(const std::string&) override { throw 42; }
        void Terminate() override {}
    } shell;
    TForm1 form(profile_, "C:\\Brellin\\Brellin.exe", ports_, ports_, shell);
    form.Dispatch(&TForm1::Label7MouseEnter);
    form.Dispatch(&TForm1::Label7Click);
    EXPECT_EQ(ports_.errors, (std::vector<std::string>{"Brellin: Out of resources.", "Brellin: "}));
}

TEST_F(Form1Test, LinkOpensTheProductPageAndSetsTheApplicationCursor) {
    form_.Dispatch(&TForm1::Label7MouseEnter);
    form_.Dispatch(&TForm1::Label7Click);
    form_.Dispatch(&TForm1::Label7MouseLeave);
    EXPECT_EQ(ports_.cursors, (std::vector<bool>{true, false}));
    EXPECT_EQ(ports_.started, std::vector<std::string>{"explorer http://www.brellin.com"});
}

TEST_F(Form1Test, KeysBeyondWhatTheListShowsSurviveADelete) {
    // Key names that fill the editor's listing before the end of the
    // section, as a hand-edited file may have them.
    std::string text = "[Headers]\r\n";
    const auto key = [](int n) {
        std::string name = std::to_string(n);
        return n == 1 ? name : std::string(10 - name.size(), '0') + name;
    };
    for (int n = 1; n <= 1600; ++n) text += key(n) + "=H" + std::to_string(n) + "\r\n";
    WriteBytes(folder_.File("Brellin.ini"), text);
    form_.Dispatch(&TForm1::FormActivate);
    const auto listed = ports_.lists[0];
    ASSERT_FALSE(listed.empty());
    ASSERT_LT(listed.size(), 1600u);
    ASSERT_EQ(listed.front(), "H1");

    ports_.selected[0] = 0;
    ports_.answerYes = true;
    form_.Dispatch(&TForm1::Button3Click);  // deletes "H1", the first entry

    const std::string after = ReadBytes(folder_.File("Brellin.ini"));
    EXPECT_NE(after.find("\r\n1=H2\r\n"), std::string::npos);
    EXPECT_EQ(after.find("=H1\r\n"), std::string::npos);
    // Every header the list could not show is still in the file.
    for (int n = static_cast<int>(listed.size()) + 1; n <= 1600; ++n)
        EXPECT_NE(after.find(key(n) + "=H" + std::to_string(n) + "\r\n"), std::string::npos) << n;
    EXPECT_TRUE(ports_.errors.empty());
}

TEST_F(Form1Test, DoneEndsWithoutSaving) {
    WriteBytes(folder_.File("BrellinD.txt"), "Old");
    form_.Dispatch(&TForm1::FormActivate);
    ports_.memo = "Edited";
    form_.Dispatch(&TForm1::Button2Click);
    EXPECT_EQ(ports_.terminations, 1);
    EXPECT_EQ(ReadBytes(folder_.File("BrellinD.txt")), "Old");
    EXPECT_TRUE(ports_.messages.empty());
}

}  // namespace
}  // namespace brellin
