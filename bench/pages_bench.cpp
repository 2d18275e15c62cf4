// What a user action costs the module: redrawing whole pages of the default
// vocabulary through the tag engine, and host bytes through the byte entry.
#include <benchmark/benchmark.h>

#include "Lcdm.h"

namespace {

using namespace lcdm;

// A fresh module with the default vocabulary initialised, as after start-up.
void StartModule() {
    ModuleReset();
    InitVocabulary(0);
    LinkReset();
}

// Script 10 makes its parameter the current page and draws it from scratch.
void BenchDrawPage(benchmark::State& state) {
    StartModule();
    const auto page = static_cast<uint8_t>(state.range(0));
    for (auto _ : state) {
        RunScript(10, page);
        benchmark::DoNotOptimize(Engine.StatusRegister);
    }
    if (Engine.StatusRegister != kStatusEnded) state.SkipWithError("the page did not end with END");
}
BENCHMARK(BenchDrawPage)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// A text label for key 2: the bytes the window sends, storing and the redraw.
void BenchTextLabel(benchmark::State& state) {
    StartModule();
    InitLabelStore();
    const uint8_t bytes[] = {0x09, 0x60, 0x01, 0x60, 'H', 0x60, 'i', 0x61, 0x02, 0x24};
    for (auto _ : state) {
        for (uint8_t b : bytes) HostByteEntry(b);
        benchmark::DoNotOptimize(Link.ReplyByte);
    }
}
BENCHMARK(BenchTextLabel)->Unit(benchmark::kMicrosecond);

// Host bytes that complete cheap commands: the link's own overhead.
void BenchHostBytes(benchmark::State& state) {
    StartModule();
    for (auto _ : state) {
        HostByteEntry(0x80);
        HostByteEntry(0x05);
        benchmark::DoNotOptimize(HostByteEntry(0x42));
    }
    state.SetItemsProcessed(state.iterations() * 3);
}
BENCHMARK(BenchHostBytes);

}  // namespace
