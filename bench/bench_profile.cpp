// How long the add-in takes to read a list of 3,000 headers its own way, one
// profile read per key, through the portable store. Goal: under 10 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "entry_list.h"
#include "portable_profile.h"

namespace {

std::string MakeConfiguration(int headers) {
    const auto folder = std::filesystem::temp_directory_path() / "brellin-bench";
    std::filesystem::create_directories(folder);
    const auto path = folder / "Brellin.ini";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "[Headers]\r\n";
    for (int n = 1; n <= headers; ++n) out << n << "=Client number " << n << "\r\n";
    return path.string();
}

void BM_ReadHeaderList(benchmark::State& state) {
    const std::string file = MakeConfiguration(static_cast<int>(state.range(0)));
    brellin::PortableProfile profile;
    for (auto _ : state) {
        auto headers = brellin::ReadAddinList(profile, file, "Headers");
        if (headers.size() != static_cast<std::size_t>(state.range(0)))
            state.SkipWithError("wrong header count");
        benchmark::DoNotOptimize(headers);
    }
}
BENCHMARK(BM_ReadHeaderList)->Arg(3000)->Unit(benchmark::kMillisecond);

// The first read after another program changed the file: parse included.
void BM_ReadHeaderListFresh(benchmark::State& state) {
    const std::string file = MakeConfiguration(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        brellin::PortableProfile profile;
        auto headers = brellin::ReadAddinList(profile, file, "Headers");
        benchmark::DoNotOptimize(headers);
    }
}
BENCHMARK(BM_ReadHeaderListFresh)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
