// Writing a whole file at once: into a temporary file beside it, renamed over
// the target only when everything was written, so a failure never leaves a
// half-written or truncated file behind.
#pragma once

#include <string>
#include <string_view>

namespace panel {

// Returns true when written; otherwise `error` says which file and why, in the
// system's words ("cannot write out/ZOR.bmp: Permission denied").
[[nodiscard]] bool WriteWholeFile(const std::string& fileName, std::string_view bytes,
                                  std::string& error);

}  // namespace panel
