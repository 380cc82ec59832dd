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

#include "cl_brellin.h"
#include "config_paths.h"
#include "failure.h"
#include "fake_dialog.h"
#include "fake_host.h"
#include "fake_platform.h"
#include "host_path.h"
#include "mod_brellin.h"
#include "portable_profile.h"

namespace brellin {
namespace {

namespace fs = std::filesystem;
using fake::DialogAction;

class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Line {
    int number = 0;
    bool indented = false;
    std::vector<std::string> words;
};

std::vector<std::string> Tokenize(const std::string& text, int number) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r') {
            ++i;
            continue;
        }
        std::string word;
        if (text[i] != '"') {
            while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r')
                word += text[i++];
        } else {
            ++i;
            for (;;) {
                if (i >= text.size())
                    throw ScenarioError("line " + std::to_string(number) + ": unclosed text");
                const char c = text[i++];
                if (c == '"') break;
                if (c != '\\') {
                    word += c;
                    continue;
                }
                if (i >= text.size())
                    throw ScenarioError("line " + std::to_string(number) + ": lone backslash");
                const char e = text[i++];
                if (e == 'r') word += '\r';
                else if (e == 'n') word += '\n';
                else if (e == '"' || e == '\\') word += e;
                else throw ScenarioError("line " + std::to_string(number) + ": unknown escape \\" + e);
            }
        }
        words.push_back(word);
    }
    return words;
}

std::vector<Line> ReadScenario(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw ScenarioError("cannot read " + file.string());
    std::vector<Line> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        const auto start = text.find_first_not_of(" \t\r");
        if (start == std::string::npos || text[start] == '#') continue;
        Line line{number, start > 0, Tokenize(text, number)};
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '"') out += "\\\"";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out + "\"";
}

std::string Joined(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) out += (out.empty() ? "" : "|") + item;
    return out;
}

int Number(const Line& line, std::size_t index, int low, int high) {
    const std::string& word = line.words.at(index);
    try {
        std::size_t used = 0;
        const int value = std::stoi(word, &used);
        if (used == word.size() && value >= low && value <= high) return value;
    } catch (const std::exception&) {
    }
    throw ScenarioError("line " + std::to_string(line.number) + ": bad number " + word);
}

DialogAction ReadAction(const Line& line) {
    const auto& w = line.words;
    const auto need = [&](std::size_t count) {
        if (w.size() != count)
            throw ScenarioError("line " + std::to_string(line.number) + ": wrong arguments to " + w[0]);
    };
    using Kind = DialogAction::Kind;
    if (w[0] == "pick") return need(2), DialogAction{Kind::Pick, w[1]};
    if (w[0] == "toggle") return need(2), DialogAction{Kind::Toggle, w[1]};
    if (w[0] == "check") return need(3), DialogAction{Kind::Check, "", Number(line, 1, 1, 5), Number(line, 2, 0, 1)};
    if (w[0] == "ok") return need(1), DialogAction{Kind::Ok, ""};
    if (w[0] == "cancel") return need(1), DialogAction{Kind::Cancel, ""};
    if (w[0] == "noheaders") return need(1), DialogAction{Kind::NoHeaders, ""};
    if (w[0] == "close") return need(1), DialogAction{Kind::Close, ""};
    throw ScenarioError("line " + std::to_string(line.number) + ": unknown dialog action " + w[0]);
}

// Until the add-in follows the client's inspectors itself, the runner arms
// the mail item of every new mail inspector, as the add-in's wiring will.
class ArmingStandIn final : public host::InspectorsEvents {
public:
    explicit ArmingStandIn(ClBrellin& addin) : addin_(addin) {}
    void NewInspector(const std::shared_ptr<host::Inspector>& inspector) override {
        const auto item = inspector->CurrentItem();
        if (item->Class() == host::olMail) addin_.objMailItem = item->AsMailItem();
    }

private:
    ClBrellin& addin_;
};

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
        const auto lines = ReadScenario(caseFolder_ / "scenario.txt");
        // Where the add-in lies and which drives there are hold from the start.
        for (const auto& line : lines) {
            if (line.words[0] == "location") location_ = Argument(line, 1);
            if (line.words[0] == "drive") drives_.types[Argument(line, 1)] = Number(line, 2, 1, 5);
        }
        Install();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const Line& line = lines[i];
            if (line.indented)
                throw ScenarioError("line " + std::to_string(line.number) + ": dialog action without send");
            std::vector<DialogAction> actions;
            while (i + 1 < lines.size() && lines[i + 1].indented) actions.push_back(ReadAction(lines[++i]));
            Step(line, std::move(actions));
        }
    }

private:
    static const std::string& Argument(const Line& line, std::size_t index) {
        if (index >= line.words.size())
            throw ScenarioError("line " + std::to_string(line.number) + ": missing argument");
        return line.words[index];
    }

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

    void Step(const Line& line, std::vector<DialogAction> actions) {
        const std::string& verb = line.words[0];
        if (verb == "location" || verb == "drive") return;
        if (!actions.empty() && verb != "send")
            throw ScenarioError("line " + std::to_string(line.number) + ": dialog actions after " + verb);
        if (verb == "connect") return Connect(line);
        if (verb == "disconnect") return Disconnect();
        if (verb == "explorer") return void(application_.explorers->Open());
        if (verb == "inspector") return OpenInspector(line);
        if (verb == "send") return Send(Number(line, 1, 1, 1 << 20), std::move(actions));
        throw ScenarioError("line " + std::to_string(line.number) + ": unknown line " + verb);
    }

    void Connect(const Line& line) {
        for (std::size_t i = 1; i + 1 < line.words.size(); i += 2) {
            const int count = Number(line, i + 1, 0, 100);
            for (int n = 0; n < count; ++n) {
                if (line.words[i] == "explorers") application_.explorers->Open();
                else if (line.words[i] == "inspectors") OpenMail("", "");
                else throw ScenarioError("line " + std::to_string(line.number) + ": unknown " + line.words[i]);
            }
        }
        Disconnect();
        addin_ = std::make_unique<ClBrellin>(platform_, dialog_, ModBrellin::sendChoice);
        arming_ = std::make_unique<ArmingStandIn>(*addin_);
        application_.inspectors->Advise(*arming_);
    }

    void Disconnect() {
        if (!addin_) return;
        application_.inspectors->Unadvise(*arming_);
        dialog_.Unload();
        arming_.reset();
        addin_.reset();
    }

    void OpenInspector(const Line& line) {
        const std::string& kind = Argument(line, 1);
        if (kind == "mail") return OpenMail(Argument(line, 2), Argument(line, 3));
        if (kind != "other") throw ScenarioError("line " + std::to_string(line.number) + ": unknown item " + kind);
        items_.push_back(nullptr);
        application_.inspectors->Open(std::make_shared<fake::FakeOtherItem>(40));
    }

    void OpenMail(const std::string& subject, const std::string& body) {
        auto mail = std::make_shared<fake::FakeMailItem>(subject, body);
        items_.push_back(mail);
        application_.inspectors->Open(mail);
    }

    void Send(int number, std::vector<DialogAction> actions) {
        if (number > static_cast<int>(items_.size()))
            throw ScenarioError("send " + std::to_string(number) + ": no such inspector");
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
    fake::FakeApplication application_;
    std::vector<std::shared_ptr<fake::FakeMailItem>> items_;
    std::unique_ptr<ClBrellin> addin_;
    std::unique_ptr<ArmingStandIn> arming_;
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
