// Reading a whole file, with the system's reason when it cannot be read.
#pragma once

#include <string>

namespace zorhost {

// False with `reason` set ("No such file or directory", "Is a directory").
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason);

}  // namespace zorhost
