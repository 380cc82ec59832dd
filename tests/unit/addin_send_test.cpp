// The add-in's send handler, dialog operations and drive test on the in-memory
// client: what the mail case folders cannot show, namely which calls reach the
// mail item and the platform, failures, and the dialog's own state.
#include <gtest/gtest.h>

#include <filesystem>

#include "cl_brellin.h"
#include "failure.h"
#include "fake_dialog.h"
#include "fake_host.h"
#include "fake_platform.h"
#include "host_path.h"
#include "portable_profile.h"
#include "test_support.h"

namespace brellin {
namespace {

using fake::DialogAction;
using Kind = DialogAction::Kind;
using testing::ScratchFolder;
using testing::WriteBytes;

const char* const kExample =
    "[Headers]\r\n1=Acme\r\n2=Globex\r\n[Acme]\r\n1=Tax\r\n2=Audit\r\n"
    "[MAROV BRL Options]\r\nSubject=1\r\nHeader=1\r\n";

DialogAction Pick(const char* header) { return {Kind::Pick, header}; }
DialogAction Toggle(const char* sub) { return {Kind::Toggle, sub}; }
DialogAction Press(Kind kind) { return {kind, ""}; }

class SendTest : public ::testing::Test {
protected:
    SendTest() {
        MapPathPrefix("C:", folder_.path());
        WriteBytes(folder_.File("Brellin.ini"), kExample);
        WriteBytes(folder_.File("BrellinD.txt"), "Disclaimer");
        addin_.objMailItem = mail_;
    }
    ~SendTest() override { ClearPathPrefixes(); }

    // The user sends the mail and does `actions` in the dialog.
    Bool16 Send(std::vector<DialogAction> actions, Bool16 cancel = kFalse16) {
        dialog_.Plan(std::move(actions));
        EXPECT_TRUE(mail_->RaiseSend(cancel));
        return cancel;
    }

    ScratchFolder folder_;
    PortableProfile profile_;
    fake::FakeMessages messages_;
    fake::FixedInstallFolder installFolder_{"C:"};
    fake::FakeDrives drives_;
    AddinPlatform platform_{profile_, messages_, installFolder_, drives_};
    SendChoice choice_;
    fake::FakeDialogForm dialog_{choice_, platform_};
    ClBrellin addin_{platform_, dialog_, choice_};
    std::shared_ptr<fake::FakeMailItem> mail_ = std::make_shared<fake::FakeMailItem>("Report", "Hello");
};

TEST_F(SendTest, CancelAndNoHeadersLeaveTheMailItemAlone) {
    EXPECT_EQ(Send({Pick("Acme"), Press(Kind::Cancel)}), kTrue16);
    EXPECT_EQ(Send({Pick("Acme"), Press(Kind::NoHeaders)}), kFalse16);
    // The handler never sets the flag to false: what the client passed stays.
    EXPECT_EQ(Send({Pick("Acme"), Press(Kind::NoHeaders)}, kTrue16), kTrue16);
    EXPECT_EQ(mail_->calls.getBody + mail_->calls.putBody + mail_->calls.getSubject +
                  mail_->calls.putSubject,
              0);
    EXPECT_EQ(choice_.blnNoHeaders, kTrue16);
    EXPECT_EQ(choice_.blnCancel, kFalse16);
}

TEST_F(SendTest, BodyIsReadAndWrittenOnceAndTheSubjectOnlyWhenChosen) {
    Send({Pick("Acme"), {Kind::Check, "", 1, 0}, {Kind::Check, "", 2, 0},
          {Kind::Check, "", 4, 0}, Press(Kind::Ok)});
    EXPECT_EQ(mail_->calls.getBody, 1);
    EXPECT_EQ(mail_->calls.putBody, 1);
    EXPECT_EQ(mail_->calls.getSubject, 0);
    EXPECT_EQ(mail_->calls.putSubject, 0);
    EXPECT_EQ(mail_->body, "Hello");

    Send({Pick("Acme"), Press(Kind::Ok)});
    EXPECT_EQ(mail_->calls.getBody, 2);
    EXPECT_EQ(mail_->calls.putBody, 2);
    EXPECT_EQ(mail_->calls.getSubject, 1);
    EXPECT_EQ(mail_->calls.putSubject, 1);
    EXPECT_EQ(mail_->subject, "(Acme) Report");
}

TEST_F(SendTest, AFailingSubjectKeepsTheBodyAlreadyWrittenAndGoesBackToTheClient) {
    mail_->failing = "PutSubject";
    dialog_.Plan({Pick("Acme"), Press(Kind::Ok)});
    Bool16 cancel = kFalse16;
    EXPECT_THROW(mail_->RaiseSend(cancel), Failure);
    EXPECT_EQ(cancel, kFalse16);
    EXPECT_EQ(mail_->body, "(Acme)\r\rHello\r\rDisclaimer");
    EXPECT_EQ(mail_->subject, "Report");
    EXPECT_FALSE(dialog_.Loaded());
}

TEST_F(SendTest, AnUnreadableDisclaimerFailsTheSendBeforeTheDialog) {
    std::filesystem::remove(folder_.File("BrellinD.txt"));
    std::filesystem::create_directory(folder_.File("BrellinD.txt"));
    choice_.strSelection = "Earlier";
    Bool16 cancel = kFalse16;
    EXPECT_THROW(mail_->RaiseSend(cancel), Failure);
    EXPECT_EQ(dialog_.Loads(), 0);
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(choice_.strSelection, "");  // the reset came before the failing read
    EXPECT_EQ(mail_->calls.getBody, 0);
}

TEST_F(SendTest, FailingDriveTestGoesBackToTheClient) {
    for (const bool listing : {true, false}) {
        drives_.failListing = listing;
        drives_.failType = !listing;
        Bool16 cancel = kFalse16;
        EXPECT_THROW(mail_->RaiseSend(cancel), Failure);
        EXPECT_EQ(dialog_.Loads(), 0);
    }
}

TEST_F(SendTest, OnANetworkShareNothingButTheMessage) {
    installFolder_.folder = "\\\\srv\\share\\Brellin";
    drives_.failListing = true;  // the drives are not even asked
    choice_.strSelection = "Earlier";
    choice_.blnCancel = kTrue16;
    EXPECT_EQ(Send({}), kFalse16);
    EXPECT_EQ(messages_.shown, std::vector<std::string>{ModBrellin::kNetworkDriveMessage});
    EXPECT_EQ(choice_.strSelection, "Earlier");
    EXPECT_EQ(choice_.blnCancel, kTrue16);
    EXPECT_EQ(dialog_.Loads(), 0);
    EXPECT_EQ(mail_->calls.getBody, 0);
}

TEST_F(SendTest, EverySendGetsAFreshDialogWithTheFocusOnIt) {
    bool focused = false;
    dialog_.onShow = [&] { focused = dialog_.Focused(); };
    Send({Pick("Acme"), Toggle("Tax"), Press(Kind::Cancel)});
    EXPECT_TRUE(focused);
    EXPECT_FALSE(dialog_.Loaded());
    std::vector<std::string> selected{"-"};
    dialog_.onShow = [&] { selected = dialog_.List2SelectedItems(); };
    Send({Pick("Acme"), Press(Kind::Cancel)});
    EXPECT_EQ(dialog_.Loads(), 2);
    EXPECT_TRUE(selected.empty());  // List2 starts empty, nothing carried over
}

TEST_F(SendTest, DisplayFlagsKeepTheLastOkAndButtonsWriteOnlyTheirOwnFlag) {
    Send({Pick("Acme"), {Kind::Check, "", 3, 1}, {Kind::Check, "", 5, 1}, Press(Kind::Ok)});
    const SendChoice afterOk = choice_;
    EXPECT_EQ(afterOk.strSelection, "Acme");
    EXPECT_EQ(afterOk.blnShowSubject, kTrue16);
    EXPECT_EQ(afterOk.blnShowHeader, kTrue16);
    EXPECT_EQ(afterOk.blnShowFooter, kTrue16);
    EXPECT_EQ(afterOk.blnShowDisclaimer, kTrue16);
    EXPECT_EQ(afterOk.blnShowLines, kTrue16);

    // The boxes are changed, but only "Ok" reads them.
    Send({Pick("Acme"), {Kind::Check, "", 3, 0}, {Kind::Check, "", 5, 0}, Press(Kind::NoHeaders)});
    EXPECT_EQ(choice_.blnShowFooter, kTrue16);
    EXPECT_EQ(choice_.blnShowLines, kTrue16);
    EXPECT_EQ(choice_.blnNoHeaders, kTrue16);
    EXPECT_EQ(choice_.blnCancel, kFalse16);
    EXPECT_EQ(choice_.strSelection, "");

    // Each box drives its own flag.
    for (int box = 1; box <= 5; ++box) {
        std::vector<DialogAction> actions{Pick("Acme")};
        for (int n = 1; n <= 5; ++n) actions.push_back({Kind::Check, "", n, n == box ? 1 : 0});
        actions.push_back(Press(Kind::Ok));
        Send(actions);
        const Bool16 flags[] = {choice_.blnShowSubject, choice_.blnShowHeader, choice_.blnShowFooter,
                                choice_.blnShowDisclaimer, choice_.blnShowLines};
        for (int n = 1; n <= 5; ++n)
            EXPECT_EQ(flags[n - 1], n == box ? kTrue16 : kFalse16) << "box " << box << " flag " << n;
    }
}

TEST_F(SendTest, OkWithoutAHeaderWritesNothing) {
    choice_.blnShowLines = kTrue16;
    EXPECT_EQ(Send({Press(Kind::Ok), Press(Kind::Close)}), kTrue16);
    EXPECT_EQ(messages_.shown, std::vector<std::string>{kNoHeaderChosenMessage});
    EXPECT_EQ(choice_.blnShowLines, kTrue16);
    EXPECT_EQ(choice_.blnShowHeader, kFalse16);
}

TEST_F(SendTest, ConfigurationGoneWhileTheDialogIsOpenClearsTheSubHeaders) {
    std::vector<std::string> subsAfterSecondPick{"-"};
    int picks = 0;
    dialog_.onPick = [&] {
        if (++picks == 1) std::filesystem::remove(folder_.File("Brellin.ini"));
        else subsAfterSecondPick = dialog_.List2Items();
    };
    Send({Pick("Acme"), Toggle("Tax"), Pick("Globex"), Press(Kind::Ok)});
    EXPECT_EQ(messages_.shown, std::vector<std::string>{kNoIniMessage});
    EXPECT_TRUE(subsAfterSecondPick.empty());
    EXPECT_EQ(mail_->subject, "(Globex) Report");
}

TEST_F(SendTest, NoConfigurationMeansNoDialogAndAnUnchangedMail) {
    std::filesystem::remove(folder_.File("Brellin.ini"));
    EXPECT_EQ(Send({}), kFalse16);
    EXPECT_EQ(messages_.shown, std::vector<std::string>{kNoIniMessage});
    EXPECT_EQ(dialog_.Loads(), 0);
    EXPECT_EQ(mail_->calls.getBody + mail_->calls.putBody, 0);
}

TEST_F(SendTest, OnlyTheArmedItemIsFollowed) {
    auto second = std::make_shared<fake::FakeMailItem>("Second", "Body");
    addin_.objMailItem = second;
    EXPECT_EQ(mail_->Sinks(), 0u);
    EXPECT_EQ(second->Sinks(), 1u);
    Bool16 cancel = kFalse16;
    EXPECT_FALSE(mail_->RaiseSend(cancel));
    addin_.objMailItem = second;  // the same item again: still one connection
    EXPECT_EQ(second->Sinks(), 1u);
    addin_.objMailItem.Reset();
    EXPECT_EQ(second->Sinks(), 0u);
}

TEST(IsNetworkDrive, ComparesExactlyAndStopsAtTheFirstEqualDrive) {
    struct Case {
        const char* drive;
        bool remote;
        int typeReads;
    };
    const Case cases[] = {
        {"N:", true, 1}, {"C:", false, 1}, {"D:", false, 1}, {"n:", false, 0},
        {"N", false, 0}, {"N:\\", false, 0}, {"", false, 0},  {"Z:", false, 0},
    };
    for (const auto& c : cases) {
        fake::FakeDrives drives;
        drives.types = {{"C:", 2}, {"D:", 4}, {"N:", 3}};
        EXPECT_EQ(ModBrellin::IsNetworkDrive(drives, c.drive), c.remote) << c.drive;
        EXPECT_EQ(drives.typeReads, c.typeReads) << c.drive;
    }
}

TEST(IsNetworkDrive, FailuresGoToTheCaller) {
    fake::FakeDrives drives;
    drives.failListing = true;
    EXPECT_THROW(ModBrellin::IsNetworkDrive(drives, "C:"), Failure);
    drives.failListing = false;
    drives.failType = true;
    EXPECT_THROW(ModBrellin::IsNetworkDrive(drives, "C:"), Failure);
    EXPECT_FALSE(ModBrellin::IsNetworkDrive(drives, "Q:"));  // no type read, no failure
}

TEST(InstallLocation, TakesTheFirstTwoCharacters) {
    fake::FakeDrives drives;
    drives.types = {{"C:", 2}, {"N:", 3}};
    const auto share = ModBrellin::TestInstallLocation(drives, "\\\\srv\\share\\Brellin");
    EXPECT_TRUE(share.share);
    EXPECT_EQ(drives.typeReads, 0);
    const auto mapped = ModBrellin::TestInstallLocation(drives, "N:\\Brellin");
    EXPECT_TRUE(mapped.networkDrive);
    EXPECT_EQ(mapped.drive, "N:");
    const auto local = ModBrellin::TestInstallLocation(drives, "C:\\Program Files\\Brellin");
    EXPECT_FALSE(local.Remote());
    const auto shortFolder = ModBrellin::TestInstallLocation(drives, "N");
    EXPECT_EQ(shortFolder.drive, "N");
    EXPECT_FALSE(shortFolder.Remote());
}

}  // namespace
}  // namespace brellin
