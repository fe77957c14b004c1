#include "benchimages.h"

#include "recognition/face/facelocalizer.h"
#include "recognition/face/integralimage.h"
#include "recognition/plate/platelocator.h"

#include <benchmark/benchmark.h>

using namespace veldra;

namespace {

void BM_FaceLocate(benchmark::State& state)
{
    const QImage image = bench::photoLikeImage(int(state.range(0)), int(state.range(1)));
    const FaceLocalizer localizer(25, 0.2);
    for (auto _ : state)
        benchmark::DoNotOptimize(localizer.locate(image));
}
// The face page's usual photograph and a 12-megapixel camera picture.
BENCHMARK(BM_FaceLocate)->Args({ 640, 480 })->Args({ 4000, 3000 })->Unit(benchmark::kMillisecond);

void BM_IntegralImage12MP(benchmark::State& state)
{
    const QImage image = bench::photoLikeImage(4000, 3000);
    for (auto _ : state)
        benchmark::DoNotOptimize(IntegralImage(image, false));
}
BENCHMARK(BM_IntegralImage12MP)->Unit(benchmark::kMillisecond);

// The number-plate page reduces every photograph to at most 640 x 480.
void BM_PlateLocate640x480(benchmark::State& state)
{
    const QImage image = bench::photoLikeImage(640, 480);
    for (auto _ : state)
        benchmark::DoNotOptimize(PlateLocator::locate(image));
}
BENCHMARK(BM_PlateLocate640x480)->Unit(benchmark::kMillisecond);

} // namespace
