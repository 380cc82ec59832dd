// Plays one mail case folder on the portable add-in and an in-memory mail
// client, and prints what happens, one line per event:
//
//   message "TEXT"                              a message box (answered with OK)
//   dialog headers="A|B" checks=10011           the dialog appears
//   subs="Tax|Audit"                            List2 after a pick
//   stuck                                       the actions ran out, the dialog still open
//   sent N cancel=0|1 subject="..." body="..."  the send of the N-th inspector's mail returned
//   notarmed N                                  the add-in did not see that send
//   failed N "REASON"                           the send handler failed
//
// usage: mail_runner CASE_FOLDER
//
// The case's Brellin.ini and BrellinD.txt are copied into a scratch install
// folder, which stands for the folder the case names with "location" (by
// default "C:\Program Files\Brellin" on a fixed drive C:).
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "connect.h"
#include "config_paths.h"
#include "failure.h"
#include "fake_dialog.h"
#include "fake_host.h"
#include "fake_platform.h"
#include "host_path.h"
#include "mail_scenario.h"
#include "mod_brellin.h"
#include "portable_profile.h"

namespace brellin {
namespace {

namespace fs = std::filesystem;
using fake::DialogAction;
using scenario::Argument;
using scenario::Fail;
using scenario::Joined;
using scenario::Line;
using scenario::Number;
using scenario::Quoted;

class Runner {
public:
    explicit Runner(fs::path caseFolder)
        : caseFolder_(std::move(caseFolder)),
          scratch_(fs::temp_directory_path() / ("brellin-mail-" + std::to_string(::getpid()))) {
        messages_.onShow = [this](const std::string& text) { Print("message " + Quoted(text)); };
        dialog_.onShow = [this] {
            Print("dialog headers=" + Quoted(Joined(dialog_.List1Items())) + " checks=" + dialog_.Checks());
        };
        dialog_.onPick = [this] { Print("subs=" + Quoted(Joined(dialog_.List2Items()))); };
        dialog_.onStuck = [this] { Print("stuck"); };
    }
    ~Runner() {
        Disconnect();
        std::error_code ignored;
        fs::remove_all(scratch_, ignored);
    }

    void Run() {
        auto play = scenario::ReadScenario(caseFolder_ / "scenario.txt");
        location_ = play.location;
        for (const auto& [drive, type] : play.drives) drives_.types[drive] = type;
        Install();
        for (auto& step : play.steps) Play(step.line, std::move(step.actions));
    }

private:
    static void Print(const std::string& text) { std::cout << text << '\n'; }

    // The install folder's drive or share is played by a scratch folder.
    void Install() {
        std::string prefix = location_.substr(0, 2);
        if (prefix == "\\\\") {
            const auto share = location_.find('\\', location_.find('\\', 2) + 1);
            prefix = location_.substr(0, share);
        }
        MapPathPrefix(prefix, scratch_ / "root");
        const fs::path folder = ToHostPath(location_);
        fs::create_directories(folder);
        for (const auto name : {kConfigFileName, kDisclaimerFileName}) {
            const fs::path source = caseFolder_ / std::string(name);
            if (fs::exists(source)) fs::copy_file(source, folder / std::string(name));
        }
        installFolder_.folder = location_;
    }

    void Play(const Line& line, std::vector<DialogAction> actions) {
        const std::string& verb = line.words[0];
        if (verb == "connect") return ConnectAddin(line);
        if (verb == "disconnect") return Disconnect();
        if (verb == "explorer") return void(application_->explorers->Open());
        if (verb == "inspector") return OpenInspector(line);
        if (verb == "send") return Send(Number(line, 1, 1, 1 << 20), std::move(actions));
        Fail(line, "unknown line " + verb);
    }

    void ConnectAddin(const Line& line) {
        for (std::size_t i = 1; i < line.words.size(); i += 2) {
            const int count = Number(line, i + 1, 0, 100);
            for (int n = 0; n < count; ++n) {
                if (line.words[i] == "explorers") application_->explorers->Open();
                else if (line.words[i] == "inspectors") OpenMail("", "");
                else Fail(line, "unknown " + line.words[i]);
            }
        }
        // A client with no window named starts with one explorer.
        if (line.words.size() == 1) application_->explorers->Open();
        connect_.AddinInstance_OnConnection(passed_, 1, addInInst_);
        connected_ = true;
    }

    void Disconnect() {
        if (!connected_) return;
        connected_ = false;
        connect_.AddinInstance_OnDisconnection(0);
    }

    void OpenInspector(const Line& line) {
        const std::string& kind = Argument(line, 1);
        if (kind == "mail") return OpenMail(Argument(line, 2), Argument(line, 3));
        if (kind != "other") Fail(line, "unknown item " + kind);
        items_.push_back(nullptr);
        application_->inspectors->Open(std::make_shared<fake::FakeOtherItem>(40));
    }

    void OpenMail(const std::string& subject, const std::string& body) {
        auto mail = std::make_shared<fake::FakeMailItem>(subject, body);
        items_.push_back(mail);
        application_->inspectors->Open(mail);
    }

    void Send(int number, std::vector<DialogAction> actions) {
        if (number > static_cast<int>(items_.size()))
            throw scenario::ScenarioError("send " + std::to_string(number) + ": no such inspector");
        const auto& mail = items_[number - 1];
        const std::string n = std::to_string(number);
        if (!mail) return Print("notarmed " + n);
        dialog_.Plan(std::move(actions));
        Bool16 cancel = kFalse16;
        try {
            if (!mail->RaiseSend(cancel)) return Print("notarmed " + n);
        } catch (const Failure& failure) {
            return Print("failed " + n + " " + Quoted(failure.what()));
        }
        Print("sent " + n + " cancel=" + (cancel ? "1" : "0") + " subject=" + Quoted(mail->subject) +
              " body=" + Quoted(mail->body));
    }

    fs::path caseFolder_;
    fs::path scratch_;
    std::string location_ = "C:\\Program Files\\Brellin";

    PortableProfile profile_;
    fake::FakeMessages messages_;
    fake::FixedInstallFolder installFolder_{""};
    fake::FakeDrives drives_;
    AddinPlatform platform_{profile_, messages_, installFolder_, drives_};
    fake::FakeDialogForm dialog_{ModBrellin::sendChoice, platform_};
    std::shared_ptr<fake::FakeApplication> application_ = std::make_shared<fake::FakeApplication>();
    fake::FakeConnectingApplication passed_{application_};
    fake::FakeAddInInstance addInInst_;
    brellin::Connect connect_{platform_, dialog_, ModBrellin::sendChoice};
    bool connected_ = false;
    std::vector<std::shared_ptr<fake::FakeMailItem>> items_;
};

}  // namespace
}  // namespace brellin

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: mail_runner CASE_FOLDER\n";
        return 2;
    }
    try {
        brellin::Runner runner(argv[1]);
        runner.Run();
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << "mail_runner: " << error.what() << '\n';
        return 2;
    }
    return 0;
}
