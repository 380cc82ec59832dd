// Runs one editor scenario folder natively: the form logic over our portable
// profile store, with fakes for the window that answer prompts and questions
// as the scenario says and print what the user would see.
//
// usage: editor_runner CASE_FOLDER
#include <unistd.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <utility>

#include "editor_fake_view.h"
#include "editor_scenario.h"
#include "form1.h"
#include "host_path.h"
#include "portable_profile.h"

namespace {

namespace fs = std::filesystem;
namespace sc = brellin::scenario;
using brellin::CheckBoxId;
using brellin::ListBoxId;

// The program as the form sees it: a Windows path, mapped onto the run folder.
constexpr const char* kProgramFolder = "C:\\Brellin";
constexpr const char* kProgramPath = "C:\\Brellin\\Brellin.exe";

void Print(const std::string& line) { std::cout << sc::WithFolderPlaceholder(line, kProgramFolder) << '\n'; }

class FakeDialogs final : public brellin::FormDialogs {
public:
    std::deque<std::optional<std::string>> answers;  // for prompts: a text, or none to give up
    std::optional<bool> confirmation;

    void ShowMessage(const std::string& caption, const std::string& text) override {
        Print("message " + sc::Quote(caption) + " " + sc::Quote(text));
    }
    bool Confirm(const std::string& caption, const std::string& text) override {
        Print("message " + sc::Quote(caption) + " " + sc::Quote(text));
        if (!confirmation) {
            Print("unanswered");
            return false;
        }
        return *std::exchange(confirmation, std::nullopt);
    }
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt) override {
        Print("prompt " + sc::Quote(caption) + " " + sc::Quote(prompt));
        if (answers.empty()) {
            Print("unanswered");
            return std::nullopt;
        }
        const auto answer = answers.front();
        answers.pop_front();
        // The prompt's field takes at most 255 characters.
        return answer ? std::optional(answer->substr(0, 255)) : std::nullopt;
    }
    void ShowError(const std::string& title, const std::string& text) override {
        Print("error " + sc::Quote(text) + (title == "Brellin" ? "" : " caption=" + sc::Quote(title)));
    }
};

class FakeShell final : public brellin::FormShell {
public:
    bool terminated = false;
    void SetHandCursor(bool) override {}
    void StartHidden(const std::string&) override {}
    void Terminate() override { terminated = true; }
};

std::optional<std::string> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void DenyWrites(const fs::path& path) {
    using fs::perms;
    fs::permissions(path, perms::owner_write | perms::group_write | perms::others_write,
                    fs::perm_options::remove);
}

int Run(const fs::path& caseFolder, const fs::path& runFolder) {
    const auto scenarioText = ReadFile(caseFolder / "scenario.txt");
    std::vector<sc::Step> steps;
    std::string error;
    if (!scenarioText || !sc::Parse(*scenarioText, steps, error)) {
        std::cerr << "editor_runner: " << caseFolder.string() << "/scenario.txt: "
                  << (scenarioText ? error : "cannot read") << '\n';
        return 2;
    }
    for (const auto& entry : fs::directory_iterator(caseFolder))
        if (sc::IsCaseInput(entry.path().filename().string()))
            fs::copy(entry.path(), runFolder / entry.path().filename(), fs::copy_options::recursive);
    brellin::MapPathPrefix(kProgramFolder, runFolder);

    brellin::PortableProfile profile;
    brellin::MemoryFormView view;
    FakeDialogs dialogs;
    FakeShell shell;
    brellin::TForm1 form(profile, kProgramPath, view, dialogs, shell);

    bool started = false;
    for (const auto& step : steps) {
        if (shell.terminated) break;
        const auto& a = step.args;
        if (step.verb == "deny-writes") {
            DenyWrites(a[0] == "." ? runFolder : runFolder / a[0]);
        } else if (step.verb == "start") {
            started = true;
            form.Dispatch(&brellin::TForm1::FormActivate);
        } else if (step.verb == "select-header" || step.verb == "select-sub") {
            const bool header = step.verb == "select-header";
            if (!view.Select(header ? ListBoxId::ListBox1 : ListBoxId::ListBox2, a[0]))
                Print("nosuch " + sc::Quote(a[0]));
            else if (header)
                form.Dispatch(&brellin::TForm1::ListBox1Click);
        } else if (step.verb == "add-header" || step.verb == "add-sub") {
            dialogs.answers.clear();
            for (const auto& answer : a)
                dialogs.answers.push_back(answer == "cancel" || answer == "escape" || answer == "close"
                                              ? std::nullopt
                                              : std::optional(answer));
            form.Dispatch(step.verb == "add-header" ? &brellin::TForm1::Button1Click
                                                    : &brellin::TForm1::Button4Click);
        } else if (step.verb == "delete-header" || step.verb == "delete-sub") {
            dialogs.confirmation = a[0] == "yes";
            form.Dispatch(step.verb == "delete-header" ? &brellin::TForm1::Button3Click
                                                       : &brellin::TForm1::Button6Click);
            dialogs.confirmation.reset();
        } else if (step.verb == "click-check") {
            static constexpr brellin::TForm1::Handler handlers[] = {
                &brellin::TForm1::CheckBox1Click, &brellin::TForm1::CheckBox2Click,
                &brellin::TForm1::CheckBox3Click, &brellin::TForm1::CheckBox4Click};
            const int k = std::stoi(a[0]);
            if (k < 1 || k > 4) {
                std::cerr << "editor_runner: line " << step.line << ": no check box " << k << '\n';
                return 2;
            }
            const auto box = static_cast<CheckBoxId>(k);
            view.SetChecked(box, !view.Checked(box));
            form.Dispatch(handlers[k - 1]);
        } else if (step.verb == "memo") {
            view.SetMemoText(a[0]);
        } else if (step.verb == "save-disclaimer") {
            form.Dispatch(&brellin::TForm1::Button8Click);
        } else if (step.verb == "layout" || step.verb == "resize") {
            std::cerr << "editor_runner: line " << step.line << ": " << step.verb
                      << " needs the real window; such a case is wine-only\n";
            return 2;
        } else if (step.verb == "done") {
            form.Dispatch(&brellin::TForm1::Button2Click);
            continue;
        }
        if (started)
            Print(sc::StateLine(view.List(ListBoxId::ListBox1), view.ItemIndex(ListBoxId::ListBox1),
                                view.List(ListBoxId::ListBox2), view.ItemIndex(ListBoxId::ListBox2),
                                view.Checks()));
    }

    for (const char* name : sc::kCaseFiles) {
        const auto path = runFolder / name;
        Print(sc::FileLine(name, fs::is_regular_file(path) ? ReadFile(path) : std::nullopt,
                           fs::is_directory(path)));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: editor_runner CASE_FOLDER\n";
        return 2;
    }
    const fs::path runFolder =
        fs::temp_directory_path() / ("brellin-editor-" + std::to_string(::getpid()));
    fs::remove_all(runFolder);
    fs::create_directories(runFolder);
    int status;
    try {
        status = Run(argv[1], runFolder);
    } catch (const std::exception& e) {
        std::cerr << "editor_runner: " << e.what() << '\n';
        status = 2;
    }
    // The case may have taken write access away; give it back to clean up.
    std::error_code ignored;
    fs::permissions(runFolder, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (const auto& entry : fs::recursive_directory_iterator(runFolder, ignored))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(runFolder, ignored);
    return status;
}
