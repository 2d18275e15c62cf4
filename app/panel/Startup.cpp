#include "panel/Startup.h"

#include "panel/Encoders.h"

namespace panel {
namespace {

constexpr uint8_t kFirstKey = 1;
constexpr uint8_t kLastKey = 8;
constexpr uint8_t kToggleCode = 1;
constexpr uint8_t kScriptShowPage = 9;

}  // namespace

void FormCreate(HostPort& port) {
    port.FillLabelStore(0xFF);
    port.EmptyEngineStacks();
    port.OpenMemory();
    for (uint8_t key = kFirstKey; key <= kLastKey; ++key) {
        SendSetVariable(port, key, kToggleCode);
        SendRunScript(port, key, 0);
    }
    btnInitVocClick(port);
}

void btnInitVocClick(HostPort& port) {
    port.InitVocabulary(0);
    port.LinkReset();
}

void FormActivate(HostPort& port, PanelState& state) {
    if (state.Activated) return;
    btnInitVocClick(port);
    port.Send(0x50);  // run script 0, the start-up screen,
    port.Send(0x00);  // with parameter 0
    state.Activated = true;
}

void SplashTimerTimer(HostPort& port) {
    SendRunScript(port, kScriptShowPage, 0);
}

void Timer2Timer(HostPort& port) {
    port.CountDelayDown();
}

}  // namespace panel
