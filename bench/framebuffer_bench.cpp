// Spans narrow and wide (each written to the screen as one row word), and a
// full-screen raw image, which is 128 rows of the widest kind.
#include <benchmark/benchmark.h>

#include <cstring>

#include "Lcdm.h"

namespace {

using namespace lcdm;

// Draws one span per iteration, walking x and y so that every bit offset and
// row is visited, refilling the span buffer as every real caller does.
void BenchDrawSpan(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    ModuleReset();
    int x = 0;
    int y = 0;
    for (auto _ : state) {
        std::memset(Graphics.SpanBuffer, 0xA5, 8);
        benchmark::DoNotOptimize(DrawSpan(x, y, width));
        x = (x + 1) & 7;
        y = (y + 1) & 127;
    }
    benchmark::DoNotOptimize(Graphics.FrameBuffer);
    state.SetItemsProcessed(state.iterations() * width);
}
BENCHMARK(BenchDrawSpan)->Arg(8)->Arg(9)->Arg(64);

void BenchFullScreenRawImage(benchmark::State& state) {
    ModuleReset();
    const uint8_t header[] = {0, 0x04, 0x00, 0, 64, 0, 128, 0};
    std::memcpy(Memory.ModuleMemory, header, sizeof header);
    for (int i = 0; i < 1024; ++i) Memory.ModuleMemory[8 + i] = static_cast<uint8_t>(i * 37);
    MemoryWritten();
    const ByteView image = MemoryView(0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(DrawImageRecord(0, 0, image));
    }
    benchmark::DoNotOptimize(Graphics.FrameBuffer);
    state.SetBytesProcessed(state.iterations() * 1024);
}
BENCHMARK(BenchFullScreenRawImage);

}  // namespace
