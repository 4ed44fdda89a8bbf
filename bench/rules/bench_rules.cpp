// The rules' hot paths with the production random source and an outside
// that does nothing.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <new>

#include "game/rules/game.h"

namespace {

// Counts every heap allocation, to show the timed paths make none.
long gAllocations = 0;

}  // namespace

// These replace the global pair, so malloc and free do match; GCC cannot
// see that across the replacement.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size)
{
    ++gAllocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

class NullOutside : public kv::GameOutside {
public:
    void playSound(kv::Sound, kv::SoundFlags) override {}
    void regrowTree() override {}
    void setFlashTimer(bool) override {}
    void setFlashBackground(kv::Rgb) override {}
    void drawFrame() override {}
    void showScore(int) override {}
    void showStartButton() override {}
    void hideStartButton() override {}
    void hidePanels() override {}
    void fieldChanged(int index) override { benchmark::DoNotOptimize(index); }
    void enterHighscore(int) override {}
};

// No two neighbours along a row, column or diagonal share a colour, so a
// full board of it holds no figure.
kv::PaletteIndex chequerColour(int field)
{
    return static_cast<kv::PaletteIndex>((field / 9 + 2 * (field % 9)) % kv::kColourCount);
}

// Every even field below 72 filled: 36 of 81.
kv::Board halfFullBoard()
{
    kv::Board board;
    for (int i = 0; i < 72; i += 2)
        board.fillField(i, chequerColour(i));
    return board;
}

// Four moves per reset take the board from 36 to 45 filled fields, so on
// average it is half full. Only the moves are timed, each batch with two
// clock reads, and the time is reported per move.
void BM_FruitlessMove(benchmark::State& state)
{
    constexpr int kMovesPerReset = 4;
    NullOutside outside;
    kv::ClockRandom random;
    kv::Game game(outside, random);
    const kv::Board start = halfFullBoard();
    long allocations = 0;
    for (auto _ : state) {
        game.board() = start;
        const long allocationsBefore = gAllocations;
        const auto begin = std::chrono::steady_clock::now();
        for (int n = 0; n < kMovesPerReset; ++n) {
            // Even field to the odd one beside it; if a new field took the
            // target, the drop is fruitless all the same.
            game.dropField(16 * n + 1, 16 * n);
        }
        const auto end = std::chrono::steady_clock::now();
        allocations += gAllocations - allocationsBefore;
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count() / kMovesPerReset);
    }
    state.counters["allocations"] = static_cast<double>(allocations);
}
BENCHMARK(BM_FruitlessMove)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_DetectorPassFullBoard(benchmark::State& state)
{
    NullOutside outside;
    kv::ClockRandom random;
    kv::Game game(outside, random);
    for (int i = 0; i < kv::kFieldCount; ++i)
        game.board().fillField(i, chequerColour(i));
    const long allocationsBefore = gAllocations;
    for (auto _ : state) {
        game.detectColumns();
        game.detectRows();
        game.detectDiagonals();
        game.detectUpperSquares();
        game.detectLowerSquares();
        benchmark::DoNotOptimize(game.state());
    }
    state.counters["allocations"] = static_cast<double>(gAllocations - allocationsBefore);
    if (game.state().score != 0)
        state.SkipWithError("the chequer board held a figure");
}
BENCHMARK(BM_DetectorPassFullBoard)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
