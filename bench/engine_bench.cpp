// The tag engine and the module's lookups: the count-down loop of
// bench/countdown.zh, vocabulary lookups at depth 10, 100 and 1,000, and
// glyph lookups at both ends of the built-in font.
#include <benchmark/benchmark.h>

#include "BenchSetup.h"
#include "Lcdm.h"

namespace {

// One run of the count-down loop (65,536 rounds of the innermost loop, four
// tags each); "round" is the time of one round.
void BenchCountdownLoop(benchmark::State& state) {
    bench::LoadCountdown(true);
    for (auto _ : state) {
        lcdm::RunScript(1, 1);
        benchmark::DoNotOptimize(lcdm::Engine.StatusRegister);
    }
    if (lcdm::Engine.StatusRegister != lcdm::kStatusEnded)
        state.SkipWithError("the loop did not end");
    const double rounds = static_cast<double>(bench::CountdownRounds(1, true));
    state.counters["round"] =
        benchmark::Counter(rounds * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BenchCountdownLoop)->Unit(benchmark::kMicrosecond);

// FindVocabularyItem of item DEPTH in a vocabulary of 1,000 items.
void BenchVocabularyLookup(benchmark::State& state) {
    const int depth = static_cast<int>(state.range(0));
    bench::LoadLongVocabulary(1000);
    const uint8_t number = bench::LongVocabularyNumber(depth - 1);
    const uint8_t type = bench::LongVocabularyType(depth - 1);
    for (auto _ : state) benchmark::DoNotOptimize(lcdm::FindVocabularyItem(number, type));
}
BENCHMARK(BenchVocabularyLookup)->Arg(1)->Arg(10)->Arg(100)->Arg(1000);

void BenchGlyphLookup(benchmark::State& state) {
    lcdm::ModuleReset();
    const auto code = static_cast<uint8_t>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(lcdm::GlyphLookup(code));
}
BENCHMARK(BenchGlyphLookup)->Arg(0x21)->Arg(0x7E);

}  // namespace
