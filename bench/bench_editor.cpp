// How long the editor takes to add a header to, and delete one from, a list
// of 3,000 headers: the form logic over the portable profile store, each
// operation with its duplicate test, its writes and its reload of the list.
// Goal: under 50 ms an operation.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "editor_fake_view.h"
#include "form1.h"
#include "host_path.h"
#include "portable_profile.h"

namespace {

namespace fs = std::filesystem;
using brellin::ListBoxId;
using brellin::TForm1;

// Answers the prompt with the next name and every question with Yes.
class Answers final : public brellin::FormDialogs, public brellin::FormShell {
public:
    std::string name;
    void ShowMessage(const std::string&, const std::string&) override {}
    bool Confirm(const std::string&, const std::string&) override { return true; }
    std::optional<std::string> InputBox(const std::string&, const std::string&) override { return name; }
    void ShowError(const std::string&, const std::string& text) override { error = text; }
    void SetHandCursor(bool) override {}
    void StartHidden(const std::string&) override {}
    void Terminate() override {}
    std::string error;
};

struct Editor {
    explicit Editor(int headers) {
        folder = fs::temp_directory_path() / "brellin-bench-editor";
        fs::remove_all(folder);
        fs::create_directories(folder);
        std::ofstream out(folder / "Brellin.ini", std::ios::binary);
        out << "[Headers]\r\n";
        for (int n = 1; n <= headers; ++n) out << n << "=Client number " << n << "\r\n";
        out.close();
        brellin::MapPathPrefix("C:\\Brellin", folder);
        form.Dispatch(&TForm1::FormActivate);
    }
    ~Editor() {
        brellin::ClearPathPrefixes();
        fs::remove_all(folder);
    }
    fs::path folder;
    brellin::PortableProfile profile;
    brellin::MemoryFormView view;
    Answers answers;
    TForm1 form{profile, "C:\\Brellin\\Brellin.exe", view, answers, answers};
};

// One add and one delete of the same header per round, so that the list
// stays at its size; each is timed on its own.
void BM_AddHeader(benchmark::State& state) {
    Editor editor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        editor.answers.name = "New client";
        editor.form.Dispatch(&TForm1::Button1Click);
        state.PauseTiming();
        editor.view.Select(ListBoxId::ListBox1, "New client");
        editor.form.Dispatch(&TForm1::Button3Click);
        state.ResumeTiming();
    }
    if (!editor.answers.error.empty()) state.SkipWithError(editor.answers.error.c_str());
}
BENCHMARK(BM_AddHeader)->Arg(3000)->Unit(benchmark::kMillisecond);

void BM_DeleteHeader(benchmark::State& state) {
    Editor editor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        editor.answers.name = "New client";
        editor.form.Dispatch(&TForm1::Button1Click);
        editor.view.Select(ListBoxId::ListBox1, "New client");
        state.ResumeTiming();
        editor.form.Dispatch(&TForm1::Button3Click);
    }
    if (!editor.answers.error.empty()) state.SkipWithError(editor.answers.error.c_str());
}
BENCHMARK(BM_DeleteHeader)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
