// The host port: the one way the front panel reaches the module. Every host
// byte (one HostByteEntry call each) and every direct access the simulator
// makes to module state — which a physical host could not — passes here, so
// that a tracer can watch the whole conversation through one observer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace panel {

// One thing that passed through the port.
struct PortEvent {
    enum class Kind { kByte, kDirect };
    Kind kind = Kind::kByte;
    uint8_t byte = 0;      // kByte: the host byte sent
    uint8_t linkCode = 0;  // kByte: HostByteEntry's result
    uint8_t reply = 0;     // kByte: the ReplyByte after the call
    std::string access;    // kDirect: what was done, e.g. "status := 0"
};

using PortObserver = std::function<void(const PortEvent&)>;

class HostPort {
public:
    // The observer sees every event after it happened; pass {} to stop watching.
    void SetObserver(PortObserver observer) { observer_ = std::move(observer); }

    // Sends one host byte; returns its link code. The reply stays readable
    // through LastReply() until the next byte.
    uint8_t Send(uint8_t byte);
    bool AnySent() const { return anySent_; }
    uint8_t LastLinkCode() const { return lastLinkCode_; }
    uint8_t LastReply() const { return lastReply_; }

    // ---- direct accesses ----
    void SetStatus(uint8_t value);            // StatusRegister := value
    void FillLabelStore(uint8_t value);       // all 8192 bytes := value
    void EmptyEngineStacks();                 // depths and program counter := 0
    bool CountDelayDown();                    // DelayCounter - 1 while above 0
    uint16_t InitVocabulary(uint16_t start);  // items walked, 0 if invalid
    void LinkReset();
    void OpenMemory();  // the memory's open hook

private:
    void Report(std::string access);

    PortObserver observer_;
    bool anySent_ = false;
    uint8_t lastLinkCode_ = 0;
    uint8_t lastReply_ = 0;
};

}  // namespace panel
