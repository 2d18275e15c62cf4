// Reading a picture file for the "Dynamic Icon" group ("Open"): any format
// the image readers know (BMP, PNG, ICO, GIF, JPEG, ...), made one bit.
#pragma once

#include <cstddef>
#include <string>

#include "panel/IconPicture.h"

namespace panel {

// A picture file larger than this is refused unread: no picture a user would
// crop to 62 x 16 comes near it, and an endless stream must end somewhere.
inline constexpr size_t kMaxPictureFileBytes = 64u << 20;

enum class IconFileResult {
    kLoaded,
    kCannotOpen,   // missing, unreadable, a folder, too large: the file itself is the problem
    kNotAPicture,  // read, but no known picture format, or a damaged one
};

// On kLoaded `picture` holds the file's picture, made monochrome; otherwise
// `picture` is untouched and `error` names the file, what went wrong and what
// was expected.
IconFileResult LoadIconFile(const std::string& fileName, IconPicture& picture, std::string& error);

// The same for a file's bytes already read; `shownName` names it in `error`.
IconFileResult LoadIconBytes(const std::string& bytes, const std::string& shownName,
                             IconPicture& picture, std::string& error);

}  // namespace panel
