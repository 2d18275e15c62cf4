// Pictures decoded from a file's bytes by the image readers (BMP, PNG, ICO,
// GIF, JPEG, PBM, ...), with damaged files told apart from whole ones.
#pragma once

#include <QByteArray>
#include <QImage>
#include <string>

namespace panel {

struct DecodedPicture {
    QImage image;  // null when the bytes are no readable picture
    // Why the image is null: the reader's reason, with what the decoder
    // itself printed ("Unable to read image data; libpng error: Read Error").
    std::string error;
    // Rows with pixels the file lacks: a picture cut short can decode with
    // rows the reader never wrote. Such an image must not be used.
    int rowsMissing = 0;
};

DecodedPicture DecodePicture(const QByteArray& bytes);

}  // namespace panel
