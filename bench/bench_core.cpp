// Costs of the editor's work on a 100,000-byte generated image, each set against a baseline
// that reads the buffer and sums its bytes once. The ratios are reported as counters.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <chrono>
#include <cstdint>

#include "bytes/sums.h"
#include "edit/correction.h"
#include "edit/save_pipeline.h"
#include "fixtures/image_builder.h"
#include "image/bios_info.h"
#include "image/rom_loader.h"
#include "layout/clock_limits.h"
#include "layout/voltage_text.h"

#if CLOCKVANE_BENCH_DIFF
#include "image/image_diff.h"
#endif

namespace {

using namespace clockvane;

Bytes benchImage()
{
    fixtures::ImageRecipe recipe;
    recipe.length = kImageReadLimit;
    recipe.signatureOffset = 0xB000;
    return fixtures::buildImage(recipe);
}

const Bytes& image()
{
    static const Bytes bytes = benchImage();
    return bytes;
}

// The baseline's work: read the buffer and sum its bytes once.
void readAndSum()
{
    benchmark::DoNotOptimize(image().data());
    benchmark::DoNotOptimize(sum16(image()));
}

// Nanoseconds per iteration of the baseline, measured once per process and timed the way
// every benchmark below is timed: the fastest of a few batches, so a cold first batch does
// not flatter the ratios.
double baselineNs()
{
    static const double ns = [] {
        constexpr int kRounds = 2000;
        double best = 0;
        for (int batch = 0; batch < 5; ++batch) {
            double elapsed = 0;
            for (int round = 0; round < kRounds; ++round) {
                const auto start = std::chrono::steady_clock::now();
                readAndSum();
                elapsed += std::chrono::duration<double, std::nano>(
                               std::chrono::steady_clock::now() - start)
                               .count();
            }
            if (batch == 0 || elapsed / kRounds < best) best = elapsed / kRounds;
        }
        return best;
    }();
    return ns;
}

void reportRatio(benchmark::State& state, double elapsedNs)
{
    const double perIteration = elapsedNs / static_cast<double>(state.iterations());
    state.counters["x_baseline"] = perIteration / baselineNs();
}

template <typename Body>
void timed(benchmark::State& state, Body body)
{
    double elapsedNs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        body();
        elapsedNs +=
            std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
                .count();
    }
    reportRatio(state, elapsedNs);
}

void Baseline_ReadAndSum(benchmark::State& state) { timed(state, readAndSum); }

// Everything an open computes from the bytes the file read delivered: validation,
// identification, split, decoding, range checks, box texts and the sum (taken once, while
// loading). Handing the bytes over is part of it.
void ReadingPath(benchmark::State& state)
{
    timed(state, [] {
        auto loaded = loadRom(RawFile{image(), {}});
        const LoadedRom& rom = *loaded;
        benchmark::DoNotOptimize(versionText(rom.image.fileImage));
        benchmark::DoNotOptimize(dateText(rom.image.fileImage));
        for (const PowerState& powerState : kPowerStates) {
            const ClockEntry& entry = rom.clocks.working[powerState.entry()];
            benchmark::DoNotOptimize(checkClockRange(powerState.gpuSlider, entry.gpuClock));
            benchmark::DoNotOptimize(checkClockRange(powerState.ramSlider, entry.ramClock));
            benchmark::DoNotOptimize(formatMillivolts(entry.vcore, ','));
        }
        benchmark::DoNotOptimize(formatSum16(rom.loadedSum));
    });
}

SaveControls controls()
{
    SaveControls c;
    c.sliders = {800, 1000, 300, 500, 850, 1100, 850, 1100, 500, 900};
    c.vcoreTexts = {"1.2", "1.1", "1.25", "", "1.15"};
    c.uvdLinked = true;
    c.decimalSeparator = '.';
    return c;
}

// The save from control values to the bytes to write: write-back, CorrectCRC, rebuild,
// assembly and the sum shown afterwards. Every save rewrites all fields from the controls, so
// saving the same document again does the same work.
void SavePipeline(benchmark::State& state)
{
    LoadedRom rom = *loadRom(RawFile{image(), {}});
    const SaveControls saveControls = controls();
    FixedClassicAnswer no(false);
    timed(state, [&] {
        auto result = runSavePipeline(rom.image, rom.clocks, rom.loadedSum, saveControls, no);
        benchmark::DoNotOptimize(bytesToWrite(rom.image));
        benchmark::DoNotOptimize(formatSum16(result->outputSum));
    });
}

// The classic correction on an assembled image whose sum is off by 300, alternately up and
// down, so that every run has the area to rewrite.
void ClassicCorrection(benchmark::State& state)
{
    LoadedRom rom = *loadRom(RawFile{image(), {}});
    assembleOutputImage(rom.image, rom.clocks);
    const std::uint16_t sum = sum16(rom.image.outputImage);
    bool up = false;
    timed(state, [&] {
        up = !up;
        const auto target = static_cast<std::uint16_t>(up ? sum + 300 : sum - 300);
        benchmark::DoNotOptimize(ChecksummenKorrekturFinal(rom.image, target));
    });
}

#if CLOCKVANE_BENCH_DIFF
// The comparison of two loaded images that `clockvane diff` prints.
void DiffOfTwoImages(benchmark::State& state)
{
    const LoadedRom a = *loadRom(RawFile{image(), {}});
    LoadedRom b = a;
    b.image.fileImage[0x300] ^= 0xFF;
    b.clocks.working[3].gpuClock += 0x100;
    timed(state, [&] { benchmark::DoNotOptimize(compareImages(a, b)); });
}
BENCHMARK(DiffOfTwoImages);
#endif

BENCHMARK(Baseline_ReadAndSum);
BENCHMARK(ReadingPath);
BENCHMARK(SavePipeline);
BENCHMARK(ClassicCorrection);

}  // namespace

int main(int argc, char** argv)
{
    // glibc gives the top of the heap back to the system whenever more than 128 KiB are free
    // there. Each iteration frees an image's two 100 KB buffers, so without this every
    // iteration would pay for page faults that a program opening one file pays once.
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
