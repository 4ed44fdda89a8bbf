// The INF reader on INF files with many sections, and name look-ups in a long
// [SourceDisksFiles]: reading a file of N sections and finding each of them once, and
// finding each of N keys of one section.
#include <benchmark/benchmark.h>

#include <string>

#include "infinstall/core/inf_file.h"

namespace {

std::string manySections(int count)
{
    std::string text = "[Version]\r\nSignature=\"$CHICAGO$\"\r\n";
    for (int i = 0; i < count; ++i)
        text += "[S" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
    return text;
}

std::string manyKeys(int count)
{
    std::string text = "[SourceDisksFiles]\r\n";
    for (int i = 0; i < count; ++i)
        text += "file" + std::to_string(i) + ".wav=1\r\n";
    return text;
}

void readAndFindEverySection(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const std::string text = manySections(count);
    for (auto _ : state) {
        const infinstall::InfFile inf = infinstall::InfFile::parse("/tmp/MANY.INF", text);
        int found = 0;
        for (int i = 0; i < count; ++i)
            found += inf.section("s" + std::to_string(i)) != nullptr;
        if (found != count)
            state.SkipWithError("a section is missing");
        benchmark::DoNotOptimize(found);
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}

void findEveryKeyOfOneSection(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const infinstall::InfFile inf = infinstall::InfFile::parse("/tmp/KEYS.INF", manyKeys(count));
    for (auto _ : state) {
        int found = 0;
        for (int i = 0; i < count; ++i)
            found += inf.line("sourcedisksfiles", "FILE" + std::to_string(i) + ".WAV") != nullptr;
        if (found != count)
            state.SkipWithError("a key is missing");
        benchmark::DoNotOptimize(found);
    }
}

}  // namespace

BENCHMARK(readAndFindEverySection)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(200000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(findEveryKeyOfOneSection)->Arg(25000)->Arg(50000)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
