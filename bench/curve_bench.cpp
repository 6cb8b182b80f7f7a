// Cost of the response curve: one evaluation per pump tick, one rebuild per drag step.
#include <benchmark/benchmark.h>

#include "core/spline.h"

static std::vector<int> wavyHeights(int count) {
  std::vector<int> heights = straightLineHeights(count);
  for (size_t i = 1; i + 1 < heights.size(); i += 2) heights[i] = 100 - heights[i];
  return heights;
}

static void applyResponseCurve(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::vector<CurveSegment> spline = splineThroughHeights(wavyHeights(count));
  int percent = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(curvePercentAt(spline, count, percent));
    percent = percent == 100 ? 0 : percent + 1;
  }
}
BENCHMARK(applyResponseCurve)->Arg(6)->Arg(101);

static void rebuildCurveSpline(benchmark::State& state) {
  const std::vector<int> heights = wavyHeights(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(splineThroughHeights(heights));
}
BENCHMARK(rebuildCurveSpline)->Arg(6)->Arg(101);

static void curveRowsForOneRedraw(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::vector<CurveSegment> spline = splineThroughHeights(wavyHeights(count));
  for (auto _ : state) {
    for (int column = 4; column < 372; ++column) benchmark::DoNotOptimize(curveRowAt(spline, count, 376, 100, column));
  }
}
BENCHMARK(curveRowsForOneRedraw)->Arg(6)->Arg(101);

BENCHMARK_MAIN();
