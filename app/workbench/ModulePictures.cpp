#include "ModulePictures.h"

#include <algorithm>

#include "Lcdm.h"

namespace zorsim {
namespace {

// An icon set may claim more records than anyone draws (lengths of 1 step
// through a whole item byte by byte); beyond this many the view stops.
constexpr int kMostIcons = 1024;

// While it lives the module's screen is the view's to draw on: the frame
// buffer, the cursor, the image descriptor and the fonts are put back as they
// were when it goes (a run waiting in DELAY or stopped in the debugger finds
// its half-drawn page untouched).
class BorrowedScreen {
public:
    BorrowedScreen() : graphics_(lcdm::Graphics), images_(lcdm::Images), fonts_(lcdm::Fonts) {}
    ~BorrowedScreen() {
        lcdm::Graphics = graphics_;
        lcdm::Images = images_;
        lcdm::Fonts = fonts_;
    }
    BorrowedScreen(const BorrowedScreen&) = delete;
    BorrowedScreen& operator=(const BorrowedScreen&) = delete;

    // The top left width x height pixels of the screen.
    static QImage Take(int width, int height) {
        QImage image(width, height, QImage::Format_Mono);
        image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, (lcdm::ReadFrameRowByte(y, x / 8) >> (7 - x % 8)) & 1);
        return image;
    }

private:
    lcdm::GraphicsState graphics_;
    lcdm::ImageState images_;
    lcdm::FontState fonts_;
};

// Draws the picture the image descriptor holds at the screen's top left
// corner, as DrawImage does for the module; its yOffset only moves it, so it
// is left out.
ModulePicture DrawDescribed(const QString& caption) {
    const lcdm::ImageDescription& image = lcdm::Images.ImageDescriptor;
    lcdm::ClearScreen();
    const uint8_t status = lcdm::DrawImage(0, 0);
    if (status == lcdm::kStatusBadImageSize)
        return {{},
                caption + QString(" (not drawn: %1 x %2 is outside 1..64 x 1..128)")
                              .arg(image.width)
                              .arg(image.height)};
    if (status != lcdm::kStatusOk)
        return {{}, caption + QString(" (not drawn: compression %1, not 0, 1 or 2)").arg(status)};
    return {BorrowedScreen::Take(image.width, image.height), caption};
}

// The lowest row with a dark pixel, + 1 (0 for a blank screen).
int DrawnRows() {
    for (int y = lcdm::kScreenHeight - 1; y >= 0; --y)
        for (int b = 0; b < lcdm::kFrameBytesPerRow; ++b)
            if (lcdm::ReadFrameRowByte(y, b) != 0) return y + 1;
    return 0;
}

}  // namespace

ModulePicture BitmapPicture(uint16_t item) {
    BorrowedScreen screen;
    const lcdm::ByteView header = lcdm::MemoryView(static_cast<uint16_t>(item + 4));
    lcdm::LoadImageHeader(header);
    const lcdm::ImageDescription& image = lcdm::Images.ImageDescriptor;
    return DrawDescribed(QString("compression %1, %2 x %3, %4 bytes of data")
                             .arg(image.compression)
                             .arg(image.width)
                             .arg(image.height)
                             .arg(image.dataLength));
}

std::vector<ModulePicture> IconSetPictures(uint16_t item) {
    std::vector<ModulePicture> pictures;
    // Walked as the module's icon lookup walks: records from the body's third
    // byte to the item's end, a record length of 0 ending the set.
    const uint32_t end = uint32_t{item} + lcdm::ReadMemoryWord(item);
    if (end > lcdm::kModuleMemorySize) return pictures;
    BorrowedScreen screen;
    for (uint32_t p = item + 4u + 2u; p < end && pictures.size() < kMostIcons;) {
        const uint16_t length = lcdm::ReadMemoryWord(static_cast<uint16_t>(p));
        if (length == 0) break;
        const lcdm::ByteView record = lcdm::MemoryView(static_cast<uint16_t>(p));
        lcdm::LoadIconHeader(record);
        pictures.push_back(DrawDescribed(QString("icon %1: %2 x %3, y-offset %4")
                                             .arg(record.WordAt(2))
                                             .arg(record.At(4))
                                             .arg(record.At(5))
                                             .arg(record.At(6))));
        p += length;
    }
    return pictures;
}

std::vector<ModulePicture> FontPictures(uint16_t item) {
    std::vector<ModulePicture> pictures;
    const auto header = static_cast<uint16_t>(item + 4);
    const uint8_t first = lcdm::ReadMemoryByte(static_cast<uint16_t>(header + lcdm::kFontFirst));
    const uint8_t last = lcdm::ReadMemoryByte(static_cast<uint16_t>(header + lcdm::kFontLast));
    BorrowedScreen screen;
    lcdm::SelectFont(header, 0);
    // Codes up to 32 are the space and control codes: DrawCharacter never
    // takes their glyphs from a font.
    for (int code = std::max<int>(first, 33); code <= last; ++code) {
        lcdm::ClearScreen();
        lcdm::Graphics.GraphicsCursor = {0, lcdm::Fonts.ascent};
        if (lcdm::DrawCharacter(static_cast<uint8_t>(code)) == 0) continue;
        const int width = std::clamp(lcdm::Graphics.GraphicsCursor.x - lcdm::Fonts.spacing, 1,
                                     lcdm::kScreenWidth);
        // A glyph with blank rows above paints more rows than the cell.
        const int height =
            std::clamp(std::max<int>(lcdm::Fonts.cellHeight, DrawnRows()), 1, lcdm::kScreenHeight);
        QString caption = QString::asprintf("0x%02X", code);
        // The window sends labels in Latin-1: a code's glyph is meant as its
        // character there.
        if (code < 0x7F || code >= 0xA0) caption += QString(" '%1'").arg(QChar(code));
        pictures.push_back({BorrowedScreen::Take(width, height), caption});
    }
    return pictures;
}

ModulePicture StorePicture(uint16_t address, uint16_t size, int width, int height) {
    // The module reads the bytes into its scratch area with a block read and
    // draws from there; a block the read refuses is never drawn.
    uint8_t bytes[lcdm::kScratchBufferSize - 1] = {};
    if (size > sizeof bytes)
        return {{},
                QString("not drawn: %1 bytes, more than the module's scratch area of %2 "
                        "takes")
                    .arg(size)
                    .arg(sizeof bytes)};
    if (lcdm::ReadStoreBlock(address, bytes, size) != lcdm::kStatusOk)
        return {{},
                QString("not drawn: %1 bytes from %2 reach the label store's end, which "
                        "the module's block read refuses")
                    .arg(size)
                    .arg(address)};
    BorrowedScreen screen;
    lcdm::ImageDescription& image = lcdm::Images.ImageDescriptor;
    image.compression = 0;
    image.dataLength = size;
    image.width = width;
    image.height = height;
    image.data = lcdm::ByteView{bytes, size};
    return DrawDescribed(QString("%1 x %2, %3 bytes").arg(width).arg(height).arg(size));
}

QImage Enlarged(const QImage& picture, int factor) {
    if (picture.isNull()) return picture;
    return picture.scaled(picture.width() * factor, picture.height() * factor,
                          Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace zorsim
