#include "panel/IconFile.h"

#include <QImageReader>

#include "files/Files.h"
#include "panel/PictureDecoding.h"

namespace panel {
namespace {

QString SupportedFormats() {
    QStringList names;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        names << QString::fromLatin1(format);
    return names.join(", ");
}

}  // namespace

IconFileResult LoadIconFile(const std::string& fileName, IconPicture& picture, std::string& error) {
    files::ReadError readError;
    const std::optional<std::string> bytes =
        files::ReadFile(fileName, kMaxPictureFileBytes, readError);
    if (!bytes) {
        error = readError.Message(fileName);
        return IconFileResult::kCannotOpen;
    }
    return LoadIconBytes(*bytes, fileName, picture, error);
}

IconFileResult LoadIconBytes(const std::string& bytes, const std::string& shownName,
                             IconPicture& picture, std::string& error) {
    const DecodedPicture decoded =
        DecodePicture(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoded.image.isNull()) {
        error = "cannot load " + shownName + " as a picture: " + decoded.error +
                " (expected a picture file of a known format: " + SupportedFormats().toStdString() +
                ")";
        return IconFileResult::kNotAPicture;
    }
    if (decoded.rowsMissing > 0) {
        error = "cannot load " + shownName + " as a picture: the file is damaged (" +
                std::to_string(decoded.rowsMissing) + " of its " +
                std::to_string(decoded.image.height()) + " rows have pixels missing)";
        return IconFileResult::kNotAPicture;
    }
    picture = MakeMonochrome(decoded.image);
    return IconFileResult::kLoaded;
}

}  // namespace panel
