#include "Transcript.h"

#include "Format.h"

namespace zorhost {

void Transcript::Line(const std::string& text) {
    if (!options_.quiet) out_ << text << '\n';
}

void Transcript::Failure(const std::string& where, const std::string& expected,
                         const std::string& got) {
    anyFailure_ = true;
    const std::string line = where + ": expected " + expected + ", got " + got;
    out_ << line << '\n';
    if (failureListener_) failureListener_(line);
}

void Transcript::ErrorBox(const std::string& where, const std::string& text) {
    Line("! error: " + text);
    if (options_.strict) Failure(where, "no error box", "! error: " + text);
}

void Transcript::EndOfScript() {
    if (options_.trace != TraceMode::kDecoded || options_.quiet) return;
    for (const std::string& line : commands_.Incomplete("waits for more bytes"))
        out_ << line << '\n';
}

void Transcript::Trace(const panel::PortEvent& event) {
    if (options_.trace == TraceMode::kOff || options_.quiet) return;
    if (options_.trace == TraceMode::kDecoded) {
        for (const std::string& line : commands_.Lines(event)) out_ << line << '\n';
        return;
    }
    if (event.kind == panel::PortEvent::Kind::kDirect)
        out_ << "! " << event.access << '\n';
    else
        out_ << "> " << Hex2(event.byte) << ' ' << int{event.linkCode} << ' ' << Hex2(event.reply)
             << '\n';
}

}  // namespace zorhost
