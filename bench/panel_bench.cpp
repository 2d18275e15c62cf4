// What the window's actions cost after its start-up: every default page
// redrawn by run-script 10, the LCD picture rendered from the frame buffer,
// and a 62 x 16 dynamic icon uploaded with its redraws.
#include <benchmark/benchmark.h>

#include "BenchSetup.h"
#include "Lcdm.h"
#include "panel/Encoders.h"
#include "panel/IconUpload.h"
#include "panel/LcdPicture.h"

namespace {

// run-script 10 P in the start-up state; 255 redraws the current page, 0.
void BenchStartUpPage(benchmark::State& state) {
    panel::HostPort port;
    bench::StartLikeTheWindow(port);
    const auto page = static_cast<uint8_t>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(panel::SendRunScript(port, 10, page));
    if (lcdm::Engine.StatusRegister != lcdm::kStatusEnded)
        state.SkipWithError("the page did not end");
}
BENCHMARK(BenchStartUpPage)->Arg(255)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

void BenchRenderLcd(benchmark::State& state) {
    panel::HostPort port;
    bench::StartLikeTheWindow(port);
    panel::LcdPicture picture;
    for (auto _ : state) {
        panel::RenderLcd(picture);
        benchmark::DoNotOptimize(picture.Row(0));
    }
}
BENCHMARK(BenchRenderLcd);

// Warm: the icon replaces the one the first upload put in the key's slot.
void BenchIconUpload(benchmark::State& state) {
    panel::HostPort port;
    bench::StartLikeTheWindow(port);
    panel::IconPicture icon = bench::LargestIcon();
    bool refused = false;
    const auto showError = [&](const std::string&) { refused = true; };
    panel::SendDIButtonClick(port, icon, 1, showError);
    for (auto _ : state)
        benchmark::DoNotOptimize(panel::SendDIButtonClick(port, icon, 1, showError));
    if (refused) state.SkipWithError("the module refused the icon");
}
BENCHMARK(BenchIconUpload)->Unit(benchmark::kMicrosecond);

}  // namespace
