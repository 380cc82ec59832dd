// Connection, window events and disconnection on the in-memory client: which
// client objects the add-in takes, which event sources it follows (every
// advise paired with its unadvise), which mail item is armed, and that no
// failing step reaches the client.
#include <gtest/gtest.h>

#include <map>

#include "connect.h"
#include "fake_dialog.h"
#include "fake_host.h"
#include "fake_platform.h"
#include "host_path.h"
#include "portable_profile.h"
#include "test_support.h"

namespace brellin {
namespace {

constexpr const char* kWarning = ModBrellin::kNetworkDriveMessage;

class ConnectTest : public ::testing::Test {
protected:
    // The client starts with these windows; inspectors show empty mails.
    void Start(int explorerCount, int inspectorCount) {
        for (int i = 0; i < explorerCount; ++i) application_->explorers->Open();
        for (int i = 0; i < inspectorCount; ++i) application_->inspectors->Open(NewMail());
    }
    void Connected() { connect_.AddinInstance_OnConnection(passed_, 1, addInInst_); }
    std::shared_ptr<fake::FakeMailItem> NewMail() { return std::make_shared<fake::FakeMailItem>("", ""); }
    std::shared_ptr<fake::FakeMailItem> OpenMail() {
        auto mail = NewMail();
        application_->inspectors->Open(mail);
        return mail;
    }
    ClBrellin& Addin() { return *connect_.clBrellin(); }

    PortableProfile profile_;
    fake::FakeMessages messages_;
    fake::FixedInstallFolder installFolder_{"C:\\Program Files\\Brellin"};
    fake::FakeDrives drives_;
    AddinPlatform platform_{profile_, messages_, installFolder_, drives_};
    SendChoice choice_;
    fake::FakeDialogForm dialog_{choice_, platform_};
    Connect connect_{platform_, dialog_, choice_};
    std::shared_ptr<fake::FakeApplication> application_ = std::make_shared<fake::FakeApplication>();
    fake::FakeConnectingApplication passed_{application_};
    fake::FakeAddInInstance addInInst_;
};

TEST_F(ConnectTest, AttachTakesTheClientsObjectsAndFollowsBothCollections) {
    Start(1, 0);
    Connected();
    ASSERT_NE(connect_.clBrellin(), nullptr);
    EXPECT_EQ(passed_.calls, (std::vector<std::string>{"Explorers.Count", "Inspectors.Count", "OutlookApplication"}));
    EXPECT_EQ(Addin().objOutlook, application_);
    EXPECT_NE(Addin().objNS, nullptr);
    EXPECT_EQ(Addin().colExpl.get(), application_->explorers);
    EXPECT_EQ(Addin().colInsp.get(), application_->inspectors);
    EXPECT_EQ(Addin().objExpl, application_->explorers->windows.front());
    EXPECT_EQ(Addin().objInsp, nullptr);
    EXPECT_FALSE(Addin().objMailItem);
    EXPECT_EQ(application_->explorers->advises, 1);
    EXPECT_EQ(application_->inspectors->advises, 1);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ConnectTest, WithoutAnyWindowNothingIsFollowedUntilTheNextConnection) {
    Connected();
    EXPECT_EQ(passed_.calls, (std::vector<std::string>{"Explorers.Count", "Inspectors.Count"}));
    EXPECT_EQ(connect_.clBrellin(), nullptr);
    const auto mail = OpenMail();
    EXPECT_EQ(mail->Advises(), 0);
    EXPECT_EQ(application_->inspectors->advises, 0);

    // The next connection, with that window open, attaches.
    Connected();
    ASSERT_NE(connect_.clBrellin(), nullptr);
    EXPECT_FALSE(Addin().objMailItem);  // an inspector open before connection is not examined
    EXPECT_EQ(Addin().objExpl, nullptr);
    application_->explorers->Open();
    EXPECT_EQ(Addin().objExpl, application_->explorers->windows.front());
}

TEST_F(ConnectTest, ConnectionFailuresEndTheHandlerQuietly) {
    struct Case {
        const char* name;
        bool failCounts, failProgId, notOutlook;
        bool created;
    } cases[] = {
        {"counts cannot be read", true, false, false, false},
        {"ProgId refused", false, true, false, false},
        {"host is not the mail client", false, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto application = std::make_shared<fake::FakeApplication>();
        application->explorers->Open();
        fake::FakeConnectingApplication passed{application};
        passed.failCounts = c.failCounts;
        passed.notOutlook = c.notOutlook;
        fake::FakeAddInInstance addInInst;
        addInInst.fail = c.failProgId;
        Connect connect{platform_, dialog_, choice_};
        EXPECT_NO_THROW(connect.AddinInstance_OnConnection(passed, 0, addInInst));
        EXPECT_EQ(connect.clBrellin() != nullptr, c.created);
        EXPECT_EQ(application->explorers->advises + application->inspectors->advises, 0);
        EXPECT_NO_THROW(connect.AddinInstance_OnDisconnection(0));
    }
}

TEST_F(ConnectTest, APartialAttachKeepsWhatWasTakenAndIsTornDownLikeAFullOne) {
    struct Case {
        const char* failing;
        bool ns, explorers, inspectors;
    } cases[] = {
        {"GetNamespace", false, false, false},
        {"Explorers", true, false, false},
        {"Inspectors", true, true, false},
        {"ActiveExplorer", true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        auto application = std::make_shared<fake::FakeApplication>();
        application->explorers->Open();
        application->failing = c.failing;
        fake::FakeConnectingApplication passed{application};
        Connect connect{platform_, dialog_, choice_};
        connect.AddinInstance_OnConnection(passed, 1, addInInst_);
        ASSERT_NE(connect.clBrellin(), nullptr);
        ClBrellin& addin = *connect.clBrellin();
        EXPECT_EQ(addin.objOutlook, application);
        EXPECT_EQ(addin.objNS != nullptr, c.ns);
        EXPECT_EQ(application->explorers->Sinks(), c.explorers ? 1u : 0u);
        EXPECT_EQ(application->inspectors->Sinks(), c.inspectors ? 1u : 0u);
        EXPECT_EQ(addin.objExpl, nullptr);

        connect.AddinInstance_OnDisconnection(0);
        EXPECT_EQ(connect.clBrellin(), nullptr);
        EXPECT_EQ(application->explorers->unadvises, application->explorers->advises);
        EXPECT_EQ(application->inspectors->unadvises, application->inspectors->advises);
        EXPECT_EQ(application->explorers->Sinks() + application->inspectors->Sinks(), 0u);
    }
}

TEST_F(ConnectTest, TheLocationMessageComesOnceAndTheConnectionGoesOn) {
    struct Case {
        const char* folder;
        std::map<std::string, int> drives;
        bool failListing;
        int explorers;
        bool warned;
        int typeReads;
    } cases[] = {
        {"\\\\srv\\share\\Brellin", {{"C:", 2}}, false, 1, true, 0},  // a share: no drive asked
        {"N:\\Brellin", {{"C:", 2}, {"N:", 3}}, false, 1, true, 1},
        {"N:\\Brellin", {{"N:", 3}}, false, 0, true, 1},  // warned also without any window
        {"E:\\Brellin", {{"D:", 3}, {"E:", 2}}, false, 1, false, 1},
        {"n:\\Brellin", {{"N:", 3}}, false, 1, false, 0},  // no drive's path equals "n:"
        {"C:\\Brellin", {{"C:", 2}}, true, 1, true, 0},    // the drive test fails
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        fake::FakeMessages messages;
        fake::FixedInstallFolder folder{c.folder};
        fake::FakeDrives drives;
        drives.types = c.drives;
        drives.failListing = c.failListing;
        AddinPlatform platform{profile_, messages, folder, drives};
        auto application = std::make_shared<fake::FakeApplication>();
        for (int i = 0; i < c.explorers; ++i) application->explorers->Open();
        fake::FakeConnectingApplication passed{application};
        Connect connect{platform, dialog_, choice_};
        connect.AddinInstance_OnConnection(passed, 1, addInInst_);
        EXPECT_EQ(messages.shown, c.warned ? std::vector<std::string>{kWarning} : std::vector<std::string>{});
        EXPECT_EQ(drives.typeReads, c.typeReads);
        EXPECT_EQ(connect.clBrellin() != nullptr, c.explorers > 0);
    }
}

TEST_F(ConnectTest, OnlyTheMailOfTheLatestMailInspectorIsArmed) {
    Start(1, 0);
    Connected();
    const auto first = OpenMail();
    EXPECT_EQ(Addin().objMailItem.get(), first);
    EXPECT_EQ(first->Advises(), 1);

    const auto second = OpenMail();
    EXPECT_EQ(Addin().objMailItem.get(), second);
    EXPECT_EQ(first->Unadvises(), 1);
    EXPECT_EQ(first->Sinks(), 0u);
    Bool16 cancel = kFalse16;
    EXPECT_FALSE(first->RaiseSend(cancel)) << "the first mail's send is no longer intercepted";

    // A contact, an item that claims to be mail but is not, and an inspector
    // without an item: each becomes objInsp, and the armed mail stays.
    const std::shared_ptr<host::Item> others[] = {std::make_shared<fake::FakeOtherItem>(40),
                                                  std::make_shared<fake::FakeOtherItem>(host::olMail), nullptr};
    for (const auto& item : others) {
        const auto window = application_->inspectors->Open(item);
        EXPECT_EQ(Addin().objInsp, window);
        EXPECT_EQ(Addin().objMailItem.get(), second);
    }
    EXPECT_EQ(second->Advises(), 1);
    EXPECT_EQ(second->Unadvises(), 0);
}

TEST_F(ConnectTest, ASecondExplorerDoesNotReplaceTheFirst) {
    Start(0, 1);
    Connected();
    EXPECT_EQ(Addin().objExpl, nullptr);
    const auto first = application_->explorers->Open();
    application_->explorers->Open();
    EXPECT_EQ(Addin().objExpl, first);
}

TEST_F(ConnectTest, DisconnectionLetsGoOfEverythingAndUnloadsTheDialog) {
    Start(1, 0);
    Connected();
    const auto mail = OpenMail();
    dialog_.List1AddItem("loaded");
    ASSERT_TRUE(dialog_.Loaded());

    connect_.AddinInstance_OnDisconnection(0);
    EXPECT_EQ(connect_.clBrellin(), nullptr);
    EXPECT_FALSE(dialog_.Loaded());
    EXPECT_EQ(application_->explorers->advises, 1);
    EXPECT_EQ(application_->inspectors->advises, 1);
    EXPECT_EQ(application_->explorers->unadvises, 1);
    EXPECT_EQ(application_->inspectors->unadvises, 1);
    EXPECT_EQ(mail->Advises(), 1);
    EXPECT_EQ(mail->Unadvises(), 1);

    // Nothing is followed any more, and a second disconnection is harmless.
    const auto later = OpenMail();
    EXPECT_EQ(later->Advises(), 0);
    EXPECT_NO_THROW(connect_.AddinInstance_OnDisconnection(0));
}

TEST_F(ConnectTest, TheArmedMailsSendReachesTheSendHandler) {
    testing::ScratchFolder folder;
    testing::WriteBytes(folder.File("BrellinD.txt"), "Disclaimer");
    MapPathPrefix("C:", folder.path());
    installFolder_.folder = "C:";
    Start(1, 0);
    Connected();
    const auto mail = OpenMail();
    Bool16 cancel = kFalse16;
    // No configuration file: the handler says so and sends the mail as it is.
    EXPECT_TRUE(mail->RaiseSend(cancel));
    ClearPathPrefixes();
    EXPECT_EQ(messages_.shown, std::vector<std::string>{kNoIniMessage});
    EXPECT_EQ(cancel, kFalse16);
}

}  // namespace
}  // namespace brellin
