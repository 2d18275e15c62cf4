// Reads bitmap and icon pictures from their pixel-art document and checks
// each against what the module's image formats can hold.
#include "pixelart/error.h"
#include "pixelart/image.h"

namespace pixelart {

namespace {

// "bitmap 20" / "icon 7": the one positional word, a number within range.
int PictureNumber(const Document& document, const Directive& line, int max) {
    const std::string what = line.keyword == "bitmap" ? "bitmap NUMBER" : "icon CODE";
    if (line.words.size() != 1 || line.labels.size() > 1)
        document.Fail(line, "expected '" + what + "', an optional 'label' and fields");
    const std::optional<long> number = ParseNumber(line.words[0]);
    if (!number || *number > max)
        document.Fail(line, line.keyword + " " + line.words[0] + " is not a number from 0 to " +
                                std::to_string(max));
    return static_cast<int>(*number);
}

void CheckSize(const Document& document, const Directive& line, const std::string& name) {
    const Picture& picture = line.picture;
    if (picture.empty())
        document.Fail(line, name + " draws no rows (expected 1 to " +
                                std::to_string(kMaxPictureHeight) + " rows of '#' and '.')");
    if (picture.width > kMaxPictureWidth)
        document.Fail(line, name + " is " + std::to_string(picture.width) +
                                " pixels wide, expected 1 to " + std::to_string(kMaxPictureWidth));
    if (picture.height() > kMaxPictureHeight)
        document.Fail(line, name + " is " + std::to_string(picture.height()) +
                                " rows high, expected 1 to " + std::to_string(kMaxPictureHeight));
}

BitmapSource ReadBitmap(const Document& document, const Directive& line) {
    RequireOnlyFields(document, line, {"compression"});
    BitmapSource bitmap;
    bitmap.number = PictureNumber(document, line, 255);
    if (!line.labels.empty()) bitmap.label = line.labels[0];
    bitmap.compression = OptionalFieldNumber(document, line, "compression", 0, 2).value_or(0);
    bitmap.line = line.line;
    CheckSize(document, line, "bitmap " + std::to_string(bitmap.number));
    bitmap.picture = line.picture;
    return bitmap;
}

IconSource ReadIcon(const Document& document, const Directive& line) {
    RequireOnlyFields(document, line, {"y-offset"});
    IconSource icon;
    icon.code = PictureNumber(document, line, 0xFFFF);
    if (!line.labels.empty()) icon.label = line.labels[0];
    icon.line = line.line;
    const std::string name = "icon " + std::to_string(icon.code);
    CheckSize(document, line, name);
    // A baseline drawn in the picture marks the drawing position; it gives
    // the y-offset, or must agree with the one written.
    const std::optional<int> written = OptionalFieldNumber(document, line, "y-offset", 0, 255);
    const std::optional<int> drawn = line.picture.baseline;
    if (written && drawn && *written != *drawn)
        document.Fail(line, name + ": y-offset=" + std::to_string(*written) +
                                " but the baseline is drawn after " + std::to_string(*drawn) +
                                " rows");
    icon.yOffset = written.value_or(drawn.value_or(0));
    icon.picture = line.picture;
    return icon;
}

}  // namespace

const BitmapSource* PictureSet::FindBitmap(int number) const {
    for (const BitmapSource& bitmap : bitmaps)
        if (bitmap.number == number) return &bitmap;
    return nullptr;
}

PictureSet ParsePictures(const Document& document) {
    PictureSet set;
    set.file = document.file;
    for (const Directive& line : document.directives) {
        if (line.keyword == "bitmap") {
            BitmapSource bitmap = ReadBitmap(document, line);
            if (const BitmapSource* twin = set.FindBitmap(bitmap.number))
                document.Fail(line, "bitmap " + std::to_string(bitmap.number) +
                                        " is drawn twice (first on line " +
                                        std::to_string(twin->line) + ")");
            set.bitmaps.push_back(std::move(bitmap));
        } else if (line.keyword == "icon") {
            set.icons.push_back(ReadIcon(document, line));
        } else {
            document.Fail(line, "unexpected '" + line.keyword +
                                    "' (expected 'bitmap NUMBER' or 'icon CODE')");
        }
    }
    return set;
}

}  // namespace pixelart
