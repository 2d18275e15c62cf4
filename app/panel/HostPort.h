// The host port: the one way the front panel reaches the module. Every host
// byte (one HostByteEntry call each) and every direct access the simulator
// makes to module state — which a physical host could not — passes here, so
// that a tracer can watch the whole conversation through one observer.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace panel {

// The direct accesses the simulator makes, which a physical host cannot.
enum class DirectAccess {
    kSetStatus,       // StatusRegister := value
    kFillLabelStore,  // all 8192 bytes := value
    kEmptyStacks,     // depths and program counter := 0
    kCountDown,       // the 100 ms timer: DelayCounter - 1 (value: the new count)
    kInitVocabulary,  // InitVocabulary(value)
    kLinkReset,
};

// One thing that passed through the port.
struct PortEvent {
    enum class Kind { kByte, kDirect };
    Kind kind = Kind::kByte;
    uint8_t byte = 0;                                // kByte: the host byte sent
    uint8_t linkCode = 0;                            // kByte: HostByteEntry's result
    uint8_t reply = 0;                               // kByte: the ReplyByte after the call
    std::string access;                              // kDirect: what was done, e.g. "status := 0"
    DirectAccess direct = DirectAccess::kSetStatus;  // kDirect: which access
    uint16_t value = 0;                              // kDirect: its value, where it has one
    // Host bytes whose command was still being carried out when this happened
    // (a DELAY wait inside a command lets events in): 0 between commands.
    int depth = 0;
};

using PortObserver = std::function<void(const PortEvent&)>;

class HostPort {
public:
    // The observer sees every event after it happened; pass {} to stop watching.
    void SetObserver(PortObserver observer) { observer_ = std::move(observer); }
    // Further observers (recorders) beside it; the token removes one again.
    int AddObserver(PortObserver observer);
    void RemoveObserver(int token) { extraObservers_.erase(token); }

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
    void Report(DirectAccess direct, uint16_t value, std::string access);
    void Notify(const PortEvent& event);
    bool Watched() const { return observer_ || !extraObservers_.empty(); }

    PortObserver observer_;
    std::map<int, PortObserver> extraObservers_;
    int nextToken_ = 0;
    int depth_ = 0;  // Send calls under way
    bool anySent_ = false;
    uint8_t lastLinkCode_ = 0;
    uint8_t lastReply_ = 0;
};

}  // namespace panel
