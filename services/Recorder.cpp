#include "Recorder.h"

#include <cstdio>

#include "Lcdm.h"
#include "ModuleText.h"

namespace services {
namespace {

constexpr size_t kCommentColumn = 32;

std::string HexList(const std::vector<uint8_t>& bytes) {
    std::string text;
    for (uint8_t byte : bytes) text += (text.empty() ? "" : " ") + Hex(byte);
    return text;
}

}  // namespace

Recorder::Recorder(std::string origin) : origin_(std::move(origin)) {}

void Recorder::Line(std::string text, const std::string& comment) {
    FlushTicks();
    if (!comment.empty()) {
        text.resize(std::max(text.size() + 1, kCommentColumn), ' ');
        text += "# " + comment;
    }
    lines_.push_back(std::move(text));
}

void Recorder::FlushTicks() {
    if (ticks_ == 0) return;
    const int ticks = ticks_;
    ticks_ = 0;
    lines_.push_back(ticks == 1 ? "tick" : "tick " + std::to_string(ticks));
}

void Recorder::Note(const std::string& text) {
    Line("# " + text);
}

void Recorder::RunEnded(uint8_t number, uint8_t parameter, uint8_t status) {
    trace_.RunEnded(number, parameter, status);
}

void Recorder::Event(const panel::PortEvent& event) {
    const std::optional<TracedEvent> traced = trace_.Take(event);
    if (!traced) return;
    if (event.kind == panel::PortEvent::Kind::kByte) {
        Line("send " + HexList(traced->bytes),
             traced->description + (event.depth > 0 ? " (sent during a DELAY wait)" : ""));
        return;
    }
    using panel::DirectAccess;
    switch (event.direct) {
        case DirectAccess::kCountDown:
            // Inside a command the wait is the replay's own to count down.
            if (event.depth == 0) ++ticks_;
            return;
        case DirectAccess::kSetStatus: Line("set-status " + std::to_string(event.value)); return;
        case DirectAccess::kFillLabelStore:
            Line("fill-store " + Hex(static_cast<uint8_t>(event.value)));
            return;
        case DirectAccess::kEmptyStacks: Line("empty-stacks"); return;
        case DirectAccess::kInitVocabulary:
            Line("init-vocabulary " + std::to_string(event.value));
            return;
        case DirectAccess::kLinkReset: Line("link-reset"); return;
    }
}

std::string Recorder::Scenario(const std::string& goldenName) {
    FlushTicks();
    std::string text = "# Recorded from " + origin_ +
                       ": the host bytes it carried out and the simulator's direct accesses.\n"
                       "# Replay it with zorhost; it ends where the recording did.\n";
    for (const std::string& line : lines_) text += line + "\n";
    return text + "expect frame " + goldenName + "\n";
}

std::string Recorder::Golden() {
    std::string text = "P1\n64 128\n";
    for (int y = 0; y < lcdm::kScreenHeight; ++y) {
        for (int x = 0; x < lcdm::kScreenWidth; ++x)
            text.push_back((lcdm::ReadFrameRowByte(y, x / 8) & (0x80 >> (x % 8))) ? '1' : '0');
        text.push_back('\n');
    }
    return text;
}

}  // namespace services
