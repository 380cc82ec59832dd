#include "case_runner.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "addin_loader.h"
#include "dialog_driver.h"
#include "dispatch_call.h"
#include "mail_client.h"
#include "mail_scenario.h"

namespace hostsim {
namespace {

namespace scenario = brellin::scenario;
using scenario::Fail;
using scenario::Line;
using scenario::Number;
using scenario::Quoted;

using brellin::com::FromAnsi;
using brellin::com::ToAnsi;

class Session {
public:
    // A quiet session prints nothing of the case's lines.
    explicit Session(bool quiet = false)
        : quiet_(quiet),
          driver_(GetCurrentThreadId(), [this](const std::string& line) { Print(line); }),
          loader_([](const std::string& line, bool failure) {
              if (failure) std::fprintf(stderr, "hostsim: %s\n", line.c_str());
          }) {}
    ~Session() { Disconnect(); }

    void Print(const std::string& line) {
        if (quiet_) return;
        // The driver's threads print too; one line at a time.
        AcquireSRWLockExclusive(&printing_);
        std::fputs((line + "\n").c_str(), stdout);
        std::fflush(stdout);
        ReleaseSRWLockExclusive(&printing_);
    }

    void Play(const scenario::Step& step) {
        const Line& line = step.line;
        const std::string& verb = line.words[0];
        if (verb == "connect") return Connect(line);
        if (verb == "disconnect") return Disconnect();
        if (verb == "explorer") return void(application_->Explorers().Open(ExplorerObject::Create()));
        if (verb == "inspector") return OpenInspector(line);
        if (verb == "send") return Send(line, step.actions);
        Fail(line, "unknown line " + verb);
    }

    void Connect(const Line& line) {
        for (std::size_t i = 1; i < line.words.size(); i += 2) {
            const int count = Number(line, i + 1, 0, 100);
            for (int n = 0; n < count; ++n) {
                if (line.words[i] == "explorers") application_->Explorers().Open(ExplorerObject::Create());
                else if (line.words[i] == "inspectors") OpenMail("", "");
                else Fail(line, "unknown " + line.words[i]);
            }
        }
        // A client with no window named starts with one explorer.
        if (line.words.size() == 1) application_->Explorers().Open(ExplorerObject::Create());
        Disconnect();
        loader_.Connect(application_.Get());
        if (loader_.Addins().empty()) lifeFailed_ = true;
        connected_ = true;
    }

    void Disconnect() {
        if (!connected_) return;
        connected_ = false;
        if (!loader_.Disconnect()) lifeFailed_ = true;
    }

    // After the last disconnection nothing of the add-in may still listen.
    bool Unadvised() {
        bool clean = application_->Explorers().Events().Connected() == 0 &&
                     application_->Inspectors().Events().Connected() == 0;
        for (const auto& item : items_)
            if (item && item->Sinks() != 0) clean = false;
        return clean;
    }

    bool LifeFailed() const { return lifeFailed_; }
    double ConnectMilliseconds() const {
        return loader_.Addins().empty() ? -1 : loader_.Addins().front().connectMilliseconds;
    }
    DialogDriver& Driver() { return driver_; }

    ComPtr<MailItemObject> OpenMail(const std::string& subject, const std::string& body) {
        auto mail = MailItemObject::Create(FromAnsi(subject), FromAnsi(body));
        items_.push_back(mail);
        application_->Inspectors().Open(InspectorObject::Create(mail));
        return mail;
    }

    void Send(const Line& line, const std::vector<brellin::fake::DialogAction>& actions) {
        const int number = Number(line, 1, 1, 1 << 20);
        if (number > static_cast<int>(items_.size())) Fail(line, "no such inspector");
        const auto& mail = items_[number - 1];
        const std::string n = std::to_string(number);
        if (!mail || mail->Sinks() == 0) return Print("notarmed " + n);

        driver_.Plan(actions);
        VARIANT_BOOL cancel = VARIANT_FALSE;
        const FireResult result = mail->RaiseSend(cancel);
        driver_.SendEnded();
        if (!driver_.Error().empty()) throw scenario::ScenarioError(driver_.Error());
        if (FAILED(result.hr)) {
            const std::string reason = result.description.empty() ? HexResult(result.hr) : ToAnsi(result.description);
            return Print("failed " + n + " " + Quoted(reason));
        }
        Print("sent " + n + " cancel=" + (cancel ? "1" : "0") + " subject=" + Quoted(ToAnsi(mail->subject)) +
              " body=" + Quoted(ToAnsi(mail->body)));
    }

private:
    void OpenInspector(const Line& line) {
        const std::string& kind = scenario::Argument(line, 1);
        if (kind == "mail") return void(OpenMail(scenario::Argument(line, 2), scenario::Argument(line, 3)));
        if (kind != "other") Fail(line, "unknown item " + kind);
        items_.push_back(nullptr);
        application_->Inspectors().Open(InspectorObject::Create(OtherItemObject::Create(40)));
    }

    bool quiet_;
    SRWLOCK printing_ = SRWLOCK_INIT;
    ComPtr<ApplicationObject> application_ = ApplicationObject::Create();
    std::vector<ComPtr<MailItemObject>> items_;
    DialogDriver driver_;
    AddinLoader loader_;
    bool connected_ = false;
    bool lifeFailed_ = false;
};

}  // namespace

int RunCase(const std::filesystem::path& caseFolder) {
    try {
        const auto play = scenario::ReadScenario(caseFolder / "scenario.txt");
        Session session;
        for (const auto& step : play.steps) session.Play(step);
        session.Disconnect();
        if (!session.Unadvised()) {
            std::fprintf(stderr, "hostsim: the add-in still listens to the client after disconnection\n");
            return 1;
        }
        return session.LifeFailed() ? 1 : 0;
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "hostsim: %s\n", error.what());
        return 2;
    }
}

int PrintSetup(const std::filesystem::path& caseFolder) {
    try {
        const auto play = scenario::ReadScenario(caseFolder / "scenario.txt");
        std::printf("location %s\n", play.location.c_str());
        for (const auto& [drive, type] : play.drives) std::printf("drive %s %d\n", drive.c_str(), type);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "hostsim: %s\n", error.what());
        return 2;
    }
}

int RunSpeed(int rounds) {
    try {
        if (rounds < 1) throw scenario::ScenarioError("at least one round");
        // Each round is a fresh start of the client: the add-in is created and
        // connected, then two mails are sent. The first send of a session
        // also creates the dialog's fonts; later ones find them.
        std::vector<double> connects, firstSends, laterSends;
        for (int round = 0; round < rounds; ++round) {
            Session session(true);
            session.Connect(scenario::Line{0, false, {"connect"}});
            if (session.LifeFailed()) return 1;
            connects.push_back(session.ConnectMilliseconds());
            for (int send = 1; send <= 2; ++send) {
                session.OpenMail("Report", "Hello");
                session.Send(scenario::Line{0, false, {"send", std::to_string(send)}},
                             {{brellin::fake::DialogAction::Kind::Cancel, ""}});
                (send == 1 ? firstSends : laterSends).push_back(session.Driver().LastShowMilliseconds());
            }
        }
        const auto report = [](const char* what, std::vector<double> figures) {
            const double first = figures.front();
            std::sort(figures.begin(), figures.end());
            std::printf("%s: first %.2f ms, median %.2f ms, slowest %.2f ms over %zu\n", what, first,
                        figures[figures.size() / 2], figures.back(), figures.size());
        };
        report("connect (Connect created to OnConnection returned)", connects);
        report("first send of a session (Send raised to the dialog shown)", firstSends);
        report("later send (Send raised to the dialog shown)", laterSends);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "hostsim: %s\n", error.what());
        return 2;
    }
}

}  // namespace hostsim
