// Rendering costs of the board widgets on the offscreen platform (set unless QT_QPA_PLATFORM is).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "game/rules/random_source.h"
#include "game/tree/tree.h"
#include "game/ui/widgets/palette_pictures.h"
#include "game/ui/widgets/tree_canvas_widget.h"

namespace {

void BM_TreeIntoCanvas(benchmark::State& state)
{
    kv::TreeCanvasWidget canvas(nullptr);
    canvas.setBackgroundColour(QColor(230, 255, 230));
    canvas.setForegroundColour(QColor(0, 128, 0));
    kv::ClockRandom random;
    kv::Tree tree(canvas, random, [] {});
    for (auto _ : state) {
        tree.regrow();
        // Reading the image ends the drawing, as the first paint after a regrowth does.
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}
BENCHMARK(BM_TreeIntoCanvas)->Unit(benchmark::kMillisecond);

void BM_PalettePictures(benchmark::State& state)
{
    const qreal ratio = static_cast<qreal>(state.range(0));
    for (auto _ : state) {
        for (int entry = 0; entry < kv::kPaletteSize; ++entry) {
            QImage image = kv::drawPalettePicture(static_cast<kv::PaletteIndex>(entry), ratio);
            benchmark::DoNotOptimize(image.constBits());
        }
    }
}
BENCHMARK(BM_PalettePictures)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
