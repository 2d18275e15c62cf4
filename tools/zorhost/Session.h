// One run of zorhost: the module's host port, the front panel's state, the
// transcript, and where in which script we are.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "FileAccess.h"
#include "LcdGif.h"
#include "Transcript.h"
#include "panel/Handlers.h"
#include "panel/HostPort.h"
#include "services/Recorder.h"
#include "SourceMap.h"

namespace zorhost {

struct Session {
    // Files come from the disk unless `fileAccess` is given.
    Session(std::ostream& out, const Options& runOptions, FileAccess* fileAccess = nullptr);

    // One tick of the 100 ms timer (a DELAY pass, `tick`): what the LCD
    // shows now was shown until this instant of virtual time, which then
    // moves on by a tenth of a second.
    void TimerTick();

    // "FILE:LINE", the prefix of every message about the current line.
    std::string Where() const { return scriptName + ":" + std::to_string(line); }
    // A file named in a script is found relative to the script's own folder,
    // so scenarios run the same from any working directory; standard input's
    // names are relative to the working directory.
    std::string Resolve(const std::string& fileName) const;

    Options options;
    FileAccess& files;
    Transcript transcript;
    panel::HostPort port;
    panel::PanelState panel;
    std::string scriptName = "-";  // as given on the command line
    std::string scriptFolder;      // empty: the working directory
    int line = 0;

    // --map: where the loaded vocabulary's tags came from.
    std::optional<zorasm::SourceMap> map;
    std::string mapName;
    bool mapMismatch = false;  // said once; reports then give addresses only
    // --record: every host byte carried out, as a scenario that replays it.
    std::unique_ptr<services::Recorder> recorder;
    // Virtual time: the 100 ms timer's ticks so far.
    uint64_t ticks = 0;
    // record-gif: the LCD's pictures while a recording runs.
    std::unique_ptr<LcdGif> gif;
};

}  // namespace zorhost
