#include "Session.h"

#include <filesystem>

#include "panel/Startup.h"

namespace zorhost {

namespace {
DiskFileAccess gDisk;
}  // namespace

Session::Session(std::ostream& out, const Options& runOptions, FileAccess* fileAccess)
    : options(runOptions), files(fileAccess ? *fileAccess : gDisk), transcript(out, options) {
    port.SetObserver([this](const panel::PortEvent& event) {
        transcript.Trace(event);
        if (recorder) recorder->Event(event);
    });
}

void Session::TimerTick() {
    if (gif) gif->Look(ticks);
    ++ticks;
    panel::Timer2Timer(port);
}

std::string Session::Resolve(const std::string& fileName) const {
    const std::filesystem::path path(fileName);
    if (path.is_absolute() || scriptFolder.empty()) return fileName;
    return (std::filesystem::path(scriptFolder) / path).string();
}

}  // namespace zorhost
