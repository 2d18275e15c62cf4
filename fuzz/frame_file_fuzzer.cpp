// Reads arbitrary bytes as a golden frame file: PBM (P1 text, P4 binary) or
// a 128 x 256 snapshot through the image readers (BMP, PNG, ...). Any input
// gives a frame or a script error, and a frame that was read survives being
// written as PBM text and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FrameFile.h"
#include "ScriptError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const zorhost::Frame frame =
            zorhost::ParseFrame(std::string(reinterpret_cast<const char*>(data), size), "f");
        if (frame.knownRows != zorhost::kFrameHeight && frame.knownRows != zorhost::kFrameHeight - 1)
            std::abort();
        const zorhost::Frame again = zorhost::ParseFrame(zorhost::FormatPbm(frame), "again");
        if (zorhost::Compare(frame, again).pixels != 0) std::abort();
    } catch (const zorhost::ScriptError&) {
        // A refusal with its reason is the right answer to most inputs.
    }
    return 0;
}
