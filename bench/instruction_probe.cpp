// The workloads bench/instructions counts under callgrind. Each is set up,
// run once so that it is warm, then run `repetitions` times inside
// ProbeWork, the only function callgrind collects (--toggle-collect); the
// script divides the count by what this program prints.
//
//   instruction_probe loop            prints "tags N": the count-down loop, one run
//   instruction_probe page P          prints "runs 1": run-script 10 P after the start-up
//   instruction_probe render          prints "runs 100": RenderLcd of page 0
//   instruction_probe icon            prints "runs 1": a 62 x 16 dynamic icon for key 1
//   instruction_probe lookup DEPTH    prints "runs 100": the item DEPTH of 1,000 found
//   instruction_probe glyph CODE      prints "runs 100": a glyph of the built-in font
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "BenchSetup.h"
#include "Lcdm.h"
#include "panel/Encoders.h"
#include "panel/IconUpload.h"
#include "panel/LcdPicture.h"

namespace {

uint64_t gTags = 0;
void CountTag(uint16_t, uint8_t, uint8_t, uint8_t) {
    ++gTags;
}

// Callgrind counts what runs inside this function and nothing else.
template <typename Work>
__attribute__((noinline)) void ProbeWork(Work& work, int repetitions) {
    for (int i = 0; i < repetitions; ++i) work();
}

template <typename Work>
int Measure(Work work, int repetitions, const char* unit, uint64_t count) {
    work();
    ProbeWork(work, repetitions);
    std::printf("%s %llu\n", unit, static_cast<unsigned long long>(count));
    return 0;
}

int Usage() {
    std::fprintf(
        stderr,
        "usage: instruction_probe loop | page P | render | icon | lookup DEPTH | glyph CODE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    const int arg = argc > 2 ? std::atoi(argv[2]) : 0;
    panel::HostPort port;
    if (what == "loop") {
        bench::LoadCountdown(true);
        // The tags of one run, counted in a run of its own so that the
        // measured run pays nothing for the trace hook.
        lcdm::SetTagTraceHook(&CountTag);
        lcdm::RunScript(1, 1);
        lcdm::SetTagTraceHook(nullptr);
        return Measure([] { lcdm::RunScript(1, 1); }, 1, "tags", gTags);
    }
    if (what == "page" && argc > 2) {
        bench::StartLikeTheWindow(port);
        const auto page = static_cast<uint8_t>(arg);
        return Measure([&] { panel::SendRunScript(port, 10, page); }, 1, "runs", 1);
    }
    if (what == "render") {
        bench::StartLikeTheWindow(port);
        panel::LcdPicture picture;
        return Measure([&] { panel::RenderLcd(picture); }, 100, "runs", 100);
    }
    if (what == "icon") {
        bench::StartLikeTheWindow(port);
        panel::IconPicture icon = bench::LargestIcon();
        return Measure([&] { panel::SendDIButtonClick(port, icon, 1, [](const std::string&) {}); },
                       1, "runs", 1);
    }
    if (what == "lookup" && arg >= 1 && arg <= 1000) {
        bench::LoadLongVocabulary(1000);
        const uint8_t number = bench::LongVocabularyNumber(arg - 1);
        const uint8_t type = bench::LongVocabularyType(arg - 1);
        return Measure([=] { lcdm::FindVocabularyItem(number, type); }, 100, "runs", 100);
    }
    if (what == "glyph" && argc > 2) {
        lcdm::ModuleReset();
        const auto code = static_cast<uint8_t>(std::strtol(argv[2], nullptr, 0));
        return Measure([=] { lcdm::GlyphLookup(code); }, 100, "runs", 100);
    }
    return Usage();
}
