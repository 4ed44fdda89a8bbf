// One tree's geometry on a canvas that draws nothing, with the production random source.
#include <benchmark/benchmark.h>

#include "game/rules/random_source.h"
#include "game/tree/tree.h"

namespace {

class NullCanvas : public kv::TreeCanvas {
public:
    double innerWidth() const override { return 2280; }
    double innerHeight() const override { return 2220; }
    void clear() override {}
    void setLineWidth(int pixels) override { benchmark::DoNotOptimize(pixels); }
    void drawLine(int x1, int y1, int x2, int y2) override
    {
        ++lines;
        benchmark::DoNotOptimize(x1 + y1 + x2 + y2);
    }
    long lines = 0;
};

void BM_RegrowTree(benchmark::State& state)
{
    NullCanvas canvas;
    kv::ClockRandom random;
    kv::Tree tree(canvas, random, [] {});
    for (auto _ : state)
        tree.regrow();
    state.counters["segments_per_tree"] =
        benchmark::Counter(static_cast<double>(canvas.lines) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_RegrowTree)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
