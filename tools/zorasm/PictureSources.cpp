#include "PictureSources.h"

#include "Assembler.h"
#include "DataLines.h"
#include "pixelart/error.h"
#include "pixelart/image.h"
#include "pixelart/nibbles.h"

namespace zorasm {

namespace {

using Rows = std::vector<std::vector<bool>>;

constexpr const char* kIndent = "        ";
constexpr int kBitmapType = 2;
constexpr int kFontType = 3;
constexpr int kIconSetType = 7;
constexpr size_t kFontHeaderSize = 9;
constexpr int kMaxGlyphWidth = 16;
constexpr int kMaxFontClass = 10;

uint16_t Word(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] << 8 | at[1]);
}

// `height` rows of raw data, `rowBytes` each, first pixel in the top bit.
Rows RawPicture(const uint8_t* data, int width, int height, int rowBytes) {
    Rows rows(static_cast<size_t>(height), std::vector<bool>(static_cast<size_t>(width)));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[y][x] = (data[y * rowBytes + x / 8] & (0x80 >> (x % 8))) != 0;
    return rows;
}

// The rows as pixel art, with a baseline of '-' after `baseline` rows when
// it lies inside the picture (or at either edge, when `edges`).
std::string ArtRows(const Rows& rows, int width, int baseline, bool edges) {
    std::string text;
    const std::string line(static_cast<size_t>(width), '-');
    for (size_t y = 0; y <= rows.size(); ++y) {
        const bool inside = y > 0 && y < rows.size();
        if (static_cast<int>(y) == baseline && (inside || edges)) text += line + "\n";
        if (y == rows.size()) break;
        for (bool dark : rows[y]) text += dark ? '#' : '.';
        text += "\n";
    }
    return text;
}

// True when the candidate source assembles to exactly the item's bytes.
bool GivesBack(const PictureItem& candidate, const uint8_t* item, size_t length, uint32_t address) {
    MemoryFiles files;
    files.Add("image.zasm", candidate.lines);
    files.Add(candidate.file, candidate.art);
    const Assembly assembly = Assemble({"image.zasm"}, files, {address});
    return assembly.Ok() && assembly.bytes == std::vector<uint8_t>(item, item + length);
}

std::string Tail(const uint8_t* begin, const uint8_t* end) {
    return DataLines(begin, end, kIndent);
}

// ---------------------------------------------------------------- bitmaps ---

std::optional<PictureItem> Bitmap(const uint8_t* item, size_t length, uint32_t address) {
    const uint8_t* body = item + kItemHeaderSize;
    const size_t size = length - kItemHeaderSize;
    if (size < pixelart::kImageHeaderSize) return std::nullopt;
    const int compression = body[0];
    const size_t dataLength = Word(body + 1);
    const int width = Word(body + 3);
    const int height = Word(body + 5);
    if (compression > 2 || body[7] != 0 || width < 1 || width > pixelart::kMaxPictureWidth ||
        height < 1 || height > pixelart::kMaxPictureHeight ||
        pixelart::kImageHeaderSize + dataLength > size)
        return std::nullopt;
    const int rowBytes = pixelart::RowBytes(width);
    const uint8_t* data = body + pixelart::kImageHeaderSize;
    Rows rows;
    if (compression == 0) {
        if (dataLength != static_cast<size_t>(rowBytes * height)) return std::nullopt;
        rows = RawPicture(data, width, height, rowBytes);
    } else {
        const std::vector<uint8_t> nibbles = pixelart::DecodeNibbles(
            std::vector<uint8_t>(data, data + dataLength), rowBytes * 2, compression);
        if (nibbles.size() < static_cast<size_t>(rowBytes * 2 * height)) return std::nullopt;
        std::vector<uint8_t> raw;
        for (int i = 0; i < rowBytes * height; ++i)
            raw.push_back(static_cast<uint8_t>(nibbles[2 * i] << 4 | nibbles[2 * i + 1]));
        rows = RawPicture(raw.data(), width, height, rowBytes);
    }
    const int number = item[2];
    PictureItem candidate;
    candidate.file = "bitmaps.art";
    candidate.art = "bitmap " + std::to_string(number) +
                    " compression=" + std::to_string(compression) + "\n" +
                    ArtRows(rows, width, -1, false) + "\n";
    // A coded picture is coded to the length it has; a raw one has its own.
    candidate.lines = ".bitmap " + std::to_string(number) + ", \"" + candidate.file + "\"" +
                      (compression == 0 ? "" : ", " + std::to_string(length)) + "\n" +
                      Tail(data + dataLength, item + length);
    if (!GivesBack(candidate, item, length, address)) return std::nullopt;
    return candidate;
}

// -------------------------------------------------------------- icon sets ---

std::optional<PictureItem> IconSet(const uint8_t* item, size_t length, uint32_t address) {
    const uint8_t* body = item + kItemHeaderSize;
    const size_t size = length - kItemHeaderSize;
    if (size < 2 || body[0] != 0) return std::nullopt;
    const int number = item[2];
    const int language = body[1];
    std::string art;
    size_t at = 2;
    int icons = 0;
    while (at + pixelart::kIconHeaderSize <= size) {
        const uint8_t* record = body + at;
        const int width = record[4], height = record[5], yOffset = record[6];
        if (width < 1 || width > pixelart::kMaxPictureWidth || height < 1 ||
            height > pixelart::kMaxPictureHeight || record[7] != 0)
            break;
        const size_t recordLength =
            pixelart::kIconHeaderSize + static_cast<size_t>(height * pixelart::RowBytes(width));
        if (Word(record) != recordLength || at + recordLength > size) break;
        art += "icon " + std::to_string(Word(record + 2)) + " y-offset=" + std::to_string(yOffset) +
               "\n" +
               ArtRows(RawPicture(record + pixelart::kIconHeaderSize, width, height,
                                  pixelart::RowBytes(width)),
                       width, yOffset, false) +
               "\n";
        at += recordLength;
        ++icons;
    }
    if (icons == 0) return std::nullopt;
    PictureItem candidate;
    candidate.file =
        "iconset_" + std::to_string(number) + "_language_" + std::to_string(language) + ".art";
    candidate.art = art;
    candidate.lines = ".iconset " + std::to_string(number) + ", " + HexByte(language) + ", \"" +
                      candidate.file + "\"\n" + Tail(body + at, item + length);
    if (!GivesBack(candidate, item, length, address)) return std::nullopt;
    return candidate;
}

// ------------------------------------------------------------------ fonts ---

struct GlyphSource {
    int code = 0;
    int width = 0;
    int above = 0;
    int rows = 1;
    Rows picture;  // the whole cell

    // Blank rows above the first dark row and stored rows down to the last:
    // the layout the glyph encoder chooses by itself.
    bool Tight() const {
        int top = -1, bottom = -1;
        for (int y = 0; y < static_cast<int>(picture.size()); ++y)
            for (bool dark : picture[y])
                if (dark) {
                    if (top < 0) top = y;
                    bottom = y;
                }
        if (top < 0) return above == 0 && rows == 1;
        const int tightAbove = top < 15 ? top : 15;
        return above == tightAbove && rows == bottom - tightAbove + 1;
    }
};

struct FontTable {
    int kind, first, last, cellWidth, cellHeight, ascent, spacing, lineGap, fontClass;
    std::vector<GlyphSource> glyphs;
    size_t size = 0;  // bytes of the table
};

std::optional<FontTable> ReadFontTable(const uint8_t* body, size_t size) {
    if (size < kFontHeaderSize) return std::nullopt;
    FontTable font{body[0], body[1], body[2], body[3], body[4], body[5],
                   body[6], body[7], body[8], {},      0};
    const bool proportional = font.kind == 128;
    if ((font.kind != 0 && !proportional) || font.last < font.first || font.cellWidth < 1 ||
        font.cellWidth > kMaxGlyphWidth || font.cellHeight < 1 || font.ascent > font.cellHeight ||
        font.fontClass > kMaxFontClass)
        return std::nullopt;
    size_t at = kFontHeaderSize;
    for (int code = font.first; code <= font.last; ++code) {
        GlyphSource glyph;
        glyph.code = code;
        if (at + (proportional ? 2 : 1) > size) return std::nullopt;
        glyph.above = body[at] >> 4;
        glyph.rows = (body[at] & 0x0F) + 1;
        glyph.width = proportional ? body[at + 1] : font.cellWidth;
        if (glyph.width < 1 || glyph.width > kMaxGlyphWidth ||
            glyph.above + glyph.rows > font.cellHeight)
            return std::nullopt;
        const int walked = proportional ? (glyph.width - 1) / 8 + 1 : font.cellWidth / 8 + 1;
        const size_t rowsStart = at + (proportional ? 2 : 1);
        const size_t glyphEnd = rowsStart + static_cast<size_t>(glyph.rows * walked);
        if (glyphEnd > size) return std::nullopt;
        glyph.picture.assign(static_cast<size_t>(font.cellHeight),
                             std::vector<bool>(static_cast<size_t>(glyph.width)));
        const Rows stored = RawPicture(body + rowsStart, glyph.width, glyph.rows, walked);
        for (int r = 0; r < glyph.rows; ++r) glyph.picture[glyph.above + r] = stored[r];
        font.glyphs.push_back(std::move(glyph));
        at = glyphEnd;
    }
    font.size = at;
    return font;
}

std::string GlyphFile(const FontTable& font, bool fixAll) {
    std::string text = std::string("font kind=") + (font.kind == 128 ? "proportional" : "fixed") +
                       " first=" + pixelart::Hex(font.first) + " last=" + pixelart::Hex(font.last) +
                       " cell-width=" + std::to_string(font.cellWidth) +
                       " cell-height=" + std::to_string(font.cellHeight) +
                       " ascent=" + std::to_string(font.ascent) +
                       " spacing=" + std::to_string(font.spacing) +
                       " line-gap=" + std::to_string(font.lineGap) +
                       " class=" + std::to_string(font.fontClass) + "\n";
    for (const GlyphSource& glyph : font.glyphs) {
        text += "\nglyph " + pixelart::Hex(glyph.code);
        if (glyph.code >= 0x20 && glyph.code <= 0x7E)
            text += " '" + std::string(1, static_cast<char>(glyph.code)) + "'";
        if (fixAll && !glyph.Tight())
            text += " above=" + std::to_string(glyph.above) + " rows=" + std::to_string(glyph.rows);
        text += "\n" + ArtRows(glyph.picture, glyph.width, font.ascent, true);
    }
    return text;
}

// The glyph encoder's own layouts (and its padding to the item's length)
// first, so that a font it made reads as its drawings; then each glyph's
// stored layout written out where the encoder would choose another.
std::optional<PictureItem> Font(const uint8_t* item, size_t length, uint32_t address) {
    const uint8_t* body = item + kItemHeaderSize;
    const std::optional<FontTable> font = ReadFontTable(body, length - kItemHeaderSize);
    if (!font) return std::nullopt;
    const int number = item[2];
    PictureItem candidate;
    candidate.file =
        "font_" + std::to_string(number) + "_class_" + std::to_string(font->fontClass) + ".glyphs";
    candidate.lines = ".font " + std::to_string(number) + ", \"" + candidate.file + "\", " +
                      std::to_string(length) + "\n" + Tail(body + font->size, item + length);
    for (bool fix : {false, true}) {
        candidate.art = GlyphFile(*font, fix);
        if (GivesBack(candidate, item, length, address)) return candidate;
    }
    return std::nullopt;
}

}  // namespace

std::optional<PictureItem> PictureItemOf(const uint8_t* item, size_t length, uint32_t address) {
    if (length < kItemHeaderSize) return std::nullopt;
    try {
        switch (item[3]) {
            case kBitmapType: return Bitmap(item, length, address);
            case kFontType: return Font(item, length, address);
            case kIconSetType: return IconSet(item, length, address);
            default: return std::nullopt;
        }
    } catch (const pixelart::Error&) {
        return std::nullopt;  // a picture the encoders refuse stays bytes
    }
}

}  // namespace zorasm
