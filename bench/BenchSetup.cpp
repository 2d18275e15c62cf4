#include "BenchSetup.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "Lcdm.h"
#include "panel/Startup.h"

namespace bench {

namespace {

// Body offset of the third loop's PUSH8 0 operand (L3) in script 1.
constexpr uint16_t kScriptBody = 20008;
constexpr uint16_t kThirdLoopCount = kScriptBody + 3;

// The host bytes of every `send` line of a zorhost script, in order.
void SendScriptBytes(const char* path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error(std::string("cannot read ") + path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string word;
        if (!(words >> word) || word != "send") continue;
        while (words >> word)
            lcdm::HostByteEntry(static_cast<uint8_t>(std::stoul(word, nullptr, 16)));
    }
}

}  // namespace

void LoadCountdown(bool shortLoop) {
    lcdm::ModuleReset();
    SendScriptBytes(ZOR_BENCH_DIR "/countdown.zh");
    if (lcdm::Link.ReplyByte != 2) throw std::runtime_error("bench/countdown.zh did not load");
    if (shortLoop) lcdm::WriteMemoryByte(1, kThirdLoopCount);
}

uint64_t CountdownRounds(uint8_t parameter, bool shortLoop) {
    const uint64_t outer = parameter == 0 ? 256 : parameter;
    return outer * (shortLoop ? 1 : 256) * 256 * 256;
}

void StartLikeTheWindow(panel::HostPort& port) {
    lcdm::ModuleReset();
    panel::PanelState state;
    panel::FormCreate(port);
    panel::FormActivate(port, state);
    panel::SplashTimerTimer(port);
}

void LoadLongVocabulary(int items) {
    lcdm::ModuleReset();
    uint16_t at = 18838;
    const auto item = [&](uint16_t length, uint8_t number, uint8_t type) {
        lcdm::WriteMemoryWord(length, at);
        lcdm::WriteMemoryByte(number, static_cast<uint16_t>(at + 2));
        lcdm::WriteMemoryByte(type, static_cast<uint16_t>(at + 3));
        at = static_cast<uint16_t>(at + length);
    };
    item(4, 1, lcdm::kItemHeader);
    for (int i = 0; i < items; ++i) item(6, LongVocabularyNumber(i), LongVocabularyType(i));
    lcdm::WriteMemoryWord(0xFFFF, at);
    if (lcdm::InitVocabulary(18838) != items + 1)
        throw std::runtime_error("the long vocabulary did not initialise");
}

panel::IconPicture LargestIcon() {
    panel::IconPicture picture(panel::kIconMaxWidth, panel::kIconMaxHeight);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            picture.SetBlack(x, y, ((x / 2) + (y / 2)) % 2 == 0);
    return picture;
}

}  // namespace bench
