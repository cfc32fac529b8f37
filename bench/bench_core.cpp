// Costs of the editor's work on a 100,000-byte generated image, each set against a baseline
// that reads the buffer and sums its bytes once. The ratios are reported as counters.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

#include "checksum/correction.h"
#include "checksum/save_pipeline.h"
#include "checksum/sums.h"
#include "clocks/clock_limits.h"
#include "clocks/voltage_text.h"
#include "fixtures/image_builder.h"
#include "rom/bios_info.h"
#include "rom/rom_loader.h"

#if CLOCKVANE_BENCH_DIFF
#include "cli/image_diff.h"
#endif

namespace {

using namespace clockvane;

Bytes benchImage()
{
    fixtures::ImageSpec spec;
    spec.length = kImageReadLimit;
    spec.signatureOffset = 0xB000;
    return fixtures::buildImage(spec);
}

const Bytes& image()
{
    static const Bytes bytes = benchImage();
    return bytes;
}

// Nanoseconds per iteration of the baseline, measured once per process.
double baselineNs()
{
    static const double ns = [] {
        const Bytes& bytes = image();
        constexpr int kRounds = 2000;
        std::uint32_t total = 0;
        const auto start = std::chrono::steady_clock::now();
        for (int round = 0; round < kRounds; ++round) {
            benchmark::DoNotOptimize(bytes.data());
            total += sum16(bytes);
            benchmark::ClobberMemory();
        }
        const auto stop = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(total);
        return std::chrono::duration<double, std::nano>(stop - start).count() / kRounds;
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
        elapsedNs += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    }
    reportRatio(state, elapsedNs);
}

void Baseline_ReadAndSum(benchmark::State& state)
{
    timed(state, [] {
        benchmark::DoNotOptimize(image().data());
        benchmark::DoNotOptimize(sum16(image()));
    });
}

// Everything an open computes: validation, identification, split, decoding, range checks,
// box texts and the sum.
void ReadingPath(benchmark::State& state)
{
    double elapsedNs = 0;
    for (auto _ : state) {
        // The bytes as the file read delivers them; the read itself is the baseline's part.
        state.PauseTiming();
        RawFile raw{image(), {}};
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        auto loaded = loadRom(std::move(raw));
        const LoadedRom& rom = *loaded;
        benchmark::DoNotOptimize(versionText(rom.image.fileImage));
        benchmark::DoNotOptimize(dateText(rom.image.fileImage));
        for (const PowerState& powerState : kPowerStates) {
            const ClockEntry& entry = rom.clocks.working[powerState.entry];
            benchmark::DoNotOptimize(checkClockRange(powerState.gpuSlider, entry.gpuClock));
            benchmark::DoNotOptimize(checkClockRange(powerState.ramSlider, entry.ramClock));
            benchmark::DoNotOptimize(formatMillivolts(entry.vcore, ','));
        }
        // The checksum panel shows the sum taken while loading; no second pass over the image.
        benchmark::DoNotOptimize(formatSum16(rom.loadedSum));
        elapsedNs += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    }
    reportRatio(state, elapsedNs);
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
// assembly and the sum shown afterwards.
void SavePipeline(benchmark::State& state)
{
    auto loaded = loadRom(RawFile{image(), {}});
    const SaveControls saveControls = controls();
    double elapsedNs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LoadedRom rom = *loaded;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        auto result = runSavePipeline({rom.image, rom.clocks, rom.loadedSum}, saveControls, [] { return false; });
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(SumBytes(rom.image.outputImage));
        elapsedNs += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    }
    reportRatio(state, elapsedNs);
}

// The classic correction on an image whose sum is off by a few hundred.
void ClassicCorrection(benchmark::State& state)
{
    auto loaded = loadRom(RawFile{image(), {}});
    LoadedRom prepared = *loaded;
    assembleOutputImage(prepared.image, prepared.clocks);
    const auto unbalancedSum = static_cast<std::uint16_t>(prepared.loadedSum + 300);
    double elapsedNs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RomImage copy = prepared.image;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(ChecksummenKorrekturFinal(copy, unbalancedSum));
        elapsedNs += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    }
    reportRatio(state, elapsedNs);
}

#if CLOCKVANE_BENCH_DIFF
// The comparison of two loaded images that `clockvane diff` prints.
void DiffOfTwoImages(benchmark::State& state)
{
    const LoadedRom a = *loadRom(RawFile{image(), {}});
    LoadedRom b = a;
    b.image.fileImage[0x300] ^= 0xFF;
    b.clocks.working[3].gpuClock += 0x100;
    timed(state, [&] { benchmark::DoNotOptimize(cli::compareImages(a, b)); });
}
BENCHMARK(DiffOfTwoImages);
#endif

BENCHMARK(Baseline_ReadAndSum);
BENCHMARK(ReadingPath);
BENCHMARK(SavePipeline);
BENCHMARK(ClassicCorrection);

} // namespace

BENCHMARK_MAIN();
