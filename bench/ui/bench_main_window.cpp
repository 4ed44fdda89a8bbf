// Target: a drop that completes a stripe, through the main window, in at most 16 ms from the
// drop to the repainted window: dissolving, score, a new tree with its one yield, and repaint.
#include <QApplication>

#include <benchmark/benchmark.h>

#include <deque>
#include <initializer_list>

#include "game/rules/game.h"
#include "game/ui/main_window.h"
#include "game/ui/widgets/field_widget.h"

namespace {

class QueuedRandom : public kv::RandomSource {
public:
    void add(std::initializer_list<double> numbers) { numbers_.insert(numbers_.end(), numbers); }
    double next() override
    {
        if (numbers_.empty())
            qFatal("the benchmark's random numbers ran dry");
        const double r = numbers_.front();
        numbers_.pop_front();
        return r;
    }
    void reseedFromClock() override {}

private:
    std::deque<double> numbers_;
};

class SilentSound : public kv::SoundBackend {
public:
    void play(const QString&, bool) override {}
};

double fieldAt(int index)
{
    return (index + 0.5) / 81.0;
}
double red()
{
    return 0.5 / kv::GameState::kColourSpan;
}

// Red on 0 to 3 and on 20, so that dragging 20 onto 4 completes the top row.
void arrangeStripe(kv::MainWindow& window, QueuedRandom& random)
{
    random.add({red(), fieldAt(0), red(), fieldAt(1), red(), fieldAt(2)});
    window.game().startGame();
    random.add({red(), fieldAt(3), red(), fieldAt(20), red(), fieldAt(60)});
    random.add({0.0, 0.0, 0.0, 0.0});  // no random wipe, no blocked field
    emit window.field(0)->dropped(0, 0);
}

void BM_StripeDropToRepaintedWindow(benchmark::State& state)
{
    QueuedRandom random;
    kv::ClockRandom treeRandom;
    SilentSound sound;
    kv::MainWindow window(kv::MainWindowSetup{&random, &treeRandom, &sound, {}});
    window.show();
    QCoreApplication::processEvents();

    for (auto _ : state) {
        state.PauseTiming();
        arrangeStripe(window, random);
        window.repaint();
        state.ResumeTiming();

        emit window.field(4)->dropped(4, 20);
        window.repaint();

        state.PauseTiming();
        if (window.game().state().score != 4)
            state.SkipWithError("the drop did not score a stripe");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StripeDropToRepaintedWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
