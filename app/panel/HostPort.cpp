#include "panel/HostPort.h"

#include <cstring>

#include "Lcdm.h"

namespace panel {

int HostPort::AddObserver(PortObserver observer) {
    extraObservers_[++nextToken_] = std::move(observer);
    return nextToken_;
}

void HostPort::Notify(const PortEvent& event) {
    if (observer_) observer_(event);
    // A copy: an observer may remove itself (or another) while told.
    const std::map<int, PortObserver> extras = extraObservers_;
    for (const auto& [token, observer] : extras) observer(event);
}

uint8_t HostPort::Send(uint8_t byte) {
    ++depth_;
    lastLinkCode_ = lcdm::HostByteEntry(byte);
    --depth_;
    lastReply_ = lcdm::Link.ReplyByte;
    anySent_ = true;
    if (Watched()) {
        PortEvent event;
        event.byte = byte;
        event.linkCode = lastLinkCode_;
        event.reply = lastReply_;
        event.depth = depth_;
        Notify(event);
    }
    return lastLinkCode_;
}

void HostPort::Report(DirectAccess direct, uint16_t value, std::string access) {
    if (!Watched()) return;
    PortEvent event;
    event.kind = PortEvent::Kind::kDirect;
    event.direct = direct;
    event.value = value;
    event.access = std::move(access);
    event.depth = depth_;
    Notify(event);
}

void HostPort::SetStatus(uint8_t value) {
    lcdm::Engine.StatusRegister = value;
    if (Watched()) Report(DirectAccess::kSetStatus, value, "status := " + std::to_string(value));
}

void HostPort::FillLabelStore(uint8_t value) {
    std::memset(lcdm::Labels.LabelStore, value, sizeof lcdm::Labels.LabelStore);
    if (Watched())
        Report(DirectAccess::kFillLabelStore, value, "label store := " + std::to_string(value));
}

void HostPort::EmptyEngineStacks() {
    lcdm::Engine.dataDepth = 0;
    lcdm::Engine.returnDepth = 0;
    lcdm::Engine.programCounter = 0;
    Report(DirectAccess::kEmptyStacks, 0, "data depth, return depth, program counter := 0");
}

bool HostPort::CountDelayDown() {
    // The 100 ms timer only ever counts down to 0; at 0 it leaves the counter
    // alone and there is nothing to report.
    if (lcdm::Engine.DelayCounter == 0) return false;
    --lcdm::Engine.DelayCounter;
    if (Watched())
        Report(DirectAccess::kCountDown, lcdm::Engine.DelayCounter,
               "DelayCounter := " + std::to_string(lcdm::Engine.DelayCounter));
    return true;
}

uint16_t HostPort::InitVocabulary(uint16_t start) {
    const uint16_t items = lcdm::InitVocabulary(start);
    if (Watched())
        Report(DirectAccess::kInitVocabulary, start,
               "InitVocabulary(" + std::to_string(start) + ") = " + std::to_string(items));
    return items;
}

void HostPort::LinkReset() {
    lcdm::LinkReset();
    Report(DirectAccess::kLinkReset, 0, "LinkReset");
}

void HostPort::OpenMemory() {
    // Does nothing in this module; called so that the start-up keeps its order.
    lcdm::MemoryOpenHook();
}

}  // namespace panel
