#include "benchimages.h"

#include "features/edgedetector.h"

#include <benchmark/benchmark.h>

using namespace veldra;

namespace {

void reportMegapixels(benchmark::State& state, const QImage& image)
{
    state.counters["MP/s"] = benchmark::Counter(image.width() * double(image.height()) / 1e6,
        benchmark::Counter::kIsIterationInvariantRate);
}

// A 12-megapixel photograph, the usual size of a phone camera.
void BM_DetectEdges12MP(benchmark::State& state)
{
    const QImage image = bench::photoLikeImage(4000, 3000);
    for (auto _ : state)
        benchmark::DoNotOptimize(detectEdges(image, 20, 58));
    reportMegapixels(state, image);
}
BENCHMARK(BM_DetectEdges12MP)->Unit(benchmark::kMillisecond);

void BM_SmoothGrey12MP(benchmark::State& state)
{
    const QImage image = bench::photoLikeImage(4000, 3000);
    for (auto _ : state)
        benchmark::DoNotOptimize(smoothGrey(image));
    reportMegapixels(state, image);
}
BENCHMARK(BM_SmoothGrey12MP)->Unit(benchmark::kMillisecond);

} // namespace
