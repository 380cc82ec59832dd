// How long the user waits from pressing Send to the header selection dialog,
// filled and ready, with 3,000 headers and a 3,000-line disclaimer: the
// add-in's whole send run up to the dialog's show, on the portable profile
// store and an in-memory client. Goal: under 10 ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "cl_brellin.h"
#include "fake_dialog.h"
#include "fake_host.h"
#include "fake_platform.h"
#include "host_path.h"
#include "portable_profile.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

fs::path MakeInstallFolder(int headers, int disclaimerLines) {
    const fs::path folder = fs::temp_directory_path() / "brellin-bench-send";
    fs::create_directories(folder);
    std::ofstream ini(folder / "Brellin.ini", std::ios::binary | std::ios::trunc);
    ini << "[Headers]\r\n";
    for (int n = 1; n <= headers; ++n) ini << n << "=Client number " << n << "\r\n";
    ini << "[MAROV BRL Options]\r\nSubject=1\r\nHeader=1\r\nFooter=1\r\nLines=1\r\n";
    std::ofstream disclaimer(folder / "BrellinD.txt", std::ios::binary | std::ios::trunc);
    for (int n = 1; n <= disclaimerLines; ++n)
        disclaimer << "This message is confidential; line " << n << " of the disclaimer.\r\n";
    return folder;
}

// Times each send from the Send event to the moment the dialog shows.
void SendToDialog(benchmark::State& state, bool changedFile) {
    const int count = static_cast<int>(state.range(0));
    const fs::path folder = MakeInstallFolder(count, count);
    brellin::MapPathPrefix("C:", folder);

    brellin::PortableProfile profile;
    brellin::fake::FakeMessages messages;
    brellin::fake::FixedInstallFolder installFolder("C:");
    brellin::fake::FakeDrives drives;
    brellin::AddinPlatform platform{profile, messages, installFolder, drives};
    brellin::SendChoice choice;
    brellin::fake::FakeDialogForm dialog(choice, platform);
    brellin::ClBrellin addin(platform, dialog, choice);
    auto mail = std::make_shared<brellin::fake::FakeMailItem>("Report", "Hello");
    addin.objMailItem = mail;

    Clock::time_point start;
    Clock::time_point shown;
    dialog.onShow = [&] {
        shown = Clock::now();
        if (dialog.List1Items().size() != static_cast<std::size_t>(count))
            state.SkipWithError("the dialog does not list every header");
    };
    for (auto _ : state) {
        if (changedFile) {
            // The first send after the editor wrote the file: it is read anew.
            state.PauseTiming();
            fs::last_write_time(folder / "Brellin.ini", fs::file_time_type::clock::now() +
                                                            std::chrono::seconds(state.iterations()));
            state.ResumeTiming();
        }
        dialog.Plan({{brellin::fake::DialogAction::Kind::Cancel, ""}});
        brellin::Bool16 cancel = brellin::kFalse16;
        start = Clock::now();
        mail->RaiseSend(cancel);
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    }
    brellin::ClearPathPrefixes();
}

void BM_SendToDialog(benchmark::State& state) { SendToDialog(state, false); }
void BM_SendToDialogChangedFile(benchmark::State& state) { SendToDialog(state, true); }

BENCHMARK(BM_SendToDialog)->Arg(3000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SendToDialogChangedFile)->Arg(3000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
