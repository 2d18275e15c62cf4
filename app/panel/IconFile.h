// Reading a picture file for the "Dynamic Icon" group ("Open"): any format
// the image readers know (BMP, PNG, ICO, GIF, JPEG, ...), made one bit.
#pragma once

#include <string>

#include "panel/IconPicture.h"

namespace panel {

enum class IconFileResult {
    kLoaded,
    kCannotOpen,   // missing, unreadable, a folder: the file itself is the problem
    kNotAPicture,  // read, but no known picture format, or a damaged one
};

// On kLoaded `picture` holds the file's picture, made monochrome; otherwise
// `picture` is untouched and `error` names the file, what went wrong and what
// was expected.
IconFileResult LoadIconFile(const std::string& fileName, IconPicture& picture, std::string& error);

}  // namespace panel
