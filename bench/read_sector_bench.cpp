// How long one step along a track's chain of sector records takes when the
// wanted sector stands at the end of a long chain.
#include <benchmark/benchmark.h>

#include "bench/hostile.h"
#include "d88/d88_image.h"
#include "tests/support/run.h"

namespace {

void BM_ReadSectorAtTheEndOfAChain(benchmark::State& state) {
    fixture::Disk disk;
    disk.tracks[0] = bench::hostileTrack(0);
    fixture::TempDir dir;
    fixture::writeFile(dir.file("chain.d88"), fixture::buildDisk(disk));
    D88Image image;
    if (!image.open(dir.file("chain.d88").c_str()) || !image.selectDisk(0)) {
        state.SkipWithError("cannot open the image");
        return;
    }
    std::uint8_t buffer[256];
    const std::int32_t steps = bench::kChainLength + 16;  // records passed to reach R16
    for (auto _ : state) {
        if (image.readSector(0, 0, 0, 16, 1, buffer, 256) != 256) {
            state.SkipWithError("sector not found");
            break;
        }
        benchmark::DoNotOptimize(buffer);
    }
    image.close();
    state.counters["ns_per_record_step"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * steps,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadSectorAtTheEndOfAChain)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
