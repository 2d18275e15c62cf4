#include "panel/HostPort.h"

#include <cstring>

#include "Lcdm.h"

namespace panel {

uint8_t HostPort::Send(uint8_t byte) {
    lastLinkCode_ = lcdm::HostByteEntry(byte);
    lastReply_ = lcdm::Link.ReplyByte;
    anySent_ = true;
    if (observer_) {
        PortEvent event;
        event.byte = byte;
        event.linkCode = lastLinkCode_;
        event.reply = lastReply_;
        observer_(event);
    }
    return lastLinkCode_;
}

void HostPort::Report(std::string access) {
    if (!observer_) return;
    PortEvent event;
    event.kind = PortEvent::Kind::kDirect;
    event.access = std::move(access);
    observer_(event);
}

void HostPort::SetStatus(uint8_t value) {
    lcdm::Engine.StatusRegister = value;
    if (observer_) Report("status := " + std::to_string(value));
}

void HostPort::FillLabelStore(uint8_t value) {
    std::memset(lcdm::Labels.LabelStore, value, sizeof lcdm::Labels.LabelStore);
    if (observer_) Report("label store := " + std::to_string(value));
}

void HostPort::EmptyEngineStacks() {
    lcdm::Engine.dataDepth = 0;
    lcdm::Engine.returnDepth = 0;
    lcdm::Engine.programCounter = 0;
    Report("data depth, return depth, program counter := 0");
}

bool HostPort::CountDelayDown() {
    // The 100 ms timer only ever counts down to 0; at 0 it leaves the counter
    // alone and there is nothing to report.
    if (lcdm::Engine.DelayCounter == 0) return false;
    --lcdm::Engine.DelayCounter;
    if (observer_) Report("DelayCounter := " + std::to_string(lcdm::Engine.DelayCounter));
    return true;
}

uint16_t HostPort::InitVocabulary(uint16_t start) {
    const uint16_t items = lcdm::InitVocabulary(start);
    if (observer_)
        Report("InitVocabulary(" + std::to_string(start) + ") = " + std::to_string(items));
    return items;
}

void HostPort::LinkReset() {
    lcdm::LinkReset();
    Report("LinkReset");
}

void HostPort::OpenMemory() {
    // Does nothing in this module; called so that the start-up keeps its order.
    lcdm::MemoryOpenHook();
}

}  // namespace panel
