// Reads a font from its pixel-art document and checks every glyph drawing
// against the font's metrics.
#include <algorithm>

#include "pixelart/error.h"
#include "pixelart/font.h"

namespace pixelart {

namespace {

constexpr int kMaxGlyphWidth = 16;  // a glyph row is at most two bytes
constexpr int kMaxBlankAbove = 15;  // the high four bits of a glyph's first byte
constexpr int kMaxStoredRows = 16;  // its low four bits hold rows - 1

std::string Describe(const Glyph& glyph) {
    return "glyph " + Hex(glyph.code) + (glyph.label.empty() ? "" : " '" + glyph.label + "'");
}

uint8_t FontKind(const Document& document, const Directive& font) {
    const auto kind = font.fields.find("kind");
    if (kind == font.fields.end())
        document.Fail(font, "missing field kind= (expected proportional or fixed)");
    if (kind->second == "proportional") return 128;
    if (kind->second == "fixed") return 0;
    document.Fail(font, "kind=" + kind->second +
                            " is not a font kind (expected proportional or "
                            "fixed)");
}

FontHeader ReadHeader(const Document& document, const Directive& font) {
    if (font.keyword != "font")
        document.Fail(font, "'" + font.keyword + "' before the font line (expected 'font' first)");
    RequireOnlyFields(document, font,
                      {"kind", "first", "last", "cell-width", "cell-height", "ascent", "spacing",
                       "line-gap", "class"});
    if (!font.words.empty() || !font.labels.empty())
        document.Fail(font, "unexpected word on the font line (expected only key=value fields)");
    if (!font.picture.empty()) document.Fail(font, "the font line draws no picture");
    FontHeader header;
    header.kind = FontKind(document, font);
    header.first = static_cast<uint8_t>(FieldNumber(document, font, "first", 0, 255));
    header.last = static_cast<uint8_t>(FieldNumber(document, font, "last", header.first, 255));
    header.cellWidth =
        static_cast<uint8_t>(FieldNumber(document, font, "cell-width", 1, kMaxGlyphWidth));
    header.cellHeight = static_cast<uint8_t>(FieldNumber(document, font, "cell-height", 1, 255));
    header.ascent =
        static_cast<uint8_t>(FieldNumber(document, font, "ascent", 0, header.cellHeight));
    header.spacing = static_cast<uint8_t>(FieldNumber(document, font, "spacing", 0, 255));
    header.lineGap = static_cast<uint8_t>(FieldNumber(document, font, "line-gap", 0, 255));
    header.fontClass = static_cast<uint8_t>(FieldNumber(document, font, "class", 0, 10));
    return header;
}

// The glyph line: "glyph CODE 'c'", codes in order from the font's first.
Glyph ReadGlyphLine(const Document& document, const Directive& line, int expectedCode) {
    if (line.keyword != "glyph")
        document.Fail(line, "unexpected '" + line.keyword + "' (expected 'glyph CODE 'c'')");
    RequireOnlyFields(document, line, {"above", "rows"});
    if (line.words.size() != 1 || line.labels.size() > 1)
        document.Fail(line, "expected 'glyph CODE' and at most one quoted character");
    const std::optional<long> code = ParseNumber(line.words[0]);
    if (!code || *code > 255)
        document.Fail(line, "glyph code " + line.words[0] + " is not a number from 0 to 255");
    if (*code != expectedCode)
        document.Fail(line, "glyph " + Hex(static_cast<int>(*code)) + " found where glyph " +
                                Hex(expectedCode) + " is expected (every code from first to " +
                                "last once, in order)");
    Glyph glyph;
    glyph.code = static_cast<uint8_t>(*code);
    glyph.line = line.line;
    glyph.picture = line.picture;
    if (!line.labels.empty()) glyph.label = line.labels[0];
    if (glyph.code >= 0x20 && glyph.code <= 0x7E) {
        const std::string expected(1, static_cast<char>(glyph.code));
        if (glyph.label != expected)
            document.Fail(line, "glyph " + Hex(glyph.code) + " names '" + glyph.label +
                                    "', expected '" + expected + "'");
    }
    glyph.above = OptionalFieldNumber(document, line, "above", 0, kMaxBlankAbove);
    glyph.rows = OptionalFieldNumber(document, line, "rows", 1, kMaxStoredRows);
    if (glyph.above.has_value() != glyph.rows.has_value())
        document.Fail(line, "give both above= and rows=, or neither");
    return glyph;
}

void CheckDrawing(const Document& document, const Directive& line, const FontHeader& header,
                  const Glyph& glyph) {
    const Picture& picture = glyph.picture;
    const std::string name = Describe(glyph);
    if (picture.height() != header.cellHeight)
        document.Fail(line, name + " draws " + std::to_string(picture.height()) +
                                " rows, expected " + std::to_string(header.cellHeight) +
                                " (cell-height)");
    if (!picture.baseline)
        document.Fail(line, name + " has no baseline line of '-' (expected one after " +
                                std::to_string(header.ascent) +
                                " rows, ascent=" + std::to_string(header.ascent) + ")");
    if (*picture.baseline != header.ascent)
        document.Fail(line, name + ": its baseline comes after " +
                                std::to_string(*picture.baseline) + " rows, expected after " +
                                std::to_string(header.ascent) + " (ascent)");
    if (header.proportional() && picture.width > kMaxGlyphWidth)
        document.Fail(
            line, name + " is " + std::to_string(picture.width) + " pixels wide, expected 1 to 16");
    if (!header.proportional() && picture.width != header.cellWidth)
        document.Fail(line, name + " is " + std::to_string(picture.width) +
                                " pixels wide, expected " + std::to_string(header.cellWidth) +
                                " (cell-width of a fixed font)");
}

// A layout fixed by hand must lie in the cell and store every dark row.
void CheckFixedLayout(const Document& document, const Directive& line, const FontHeader& header,
                      const Glyph& glyph) {
    if (!glyph.above) return;
    const int top = *glyph.above;
    const int end = top + *glyph.rows;
    if (end > header.cellHeight)
        document.Fail(line, "above=" + std::to_string(top) +
                                " rows=" + std::to_string(*glyph.rows) + " reach row " +
                                std::to_string(end - 1) + ", below the cell (cell-height " +
                                std::to_string(header.cellHeight) + ")");
    for (int y = 0; y < header.cellHeight; ++y)
        if ((y < top || y >= end) && !glyph.picture.RowBlank(y))
            document.Fail(line, "row " + std::to_string(y) + " has dark pixels outside above=" +
                                    std::to_string(top) + " rows=" + std::to_string(*glyph.rows));
}

}  // namespace

FontSource ParseFont(const Document& document) {
    if (document.directives.empty())
        throw Error(document.file, 0, "no font line (expected 'font kind=... first=...')");
    FontSource font;
    font.file = document.file;
    font.line = document.directives.front().line;
    font.header = ReadHeader(document, document.directives.front());
    const int count = font.header.last - font.header.first + 1;
    for (size_t i = 1; i < document.directives.size(); ++i) {
        const Directive& line = document.directives[i];
        const int expected = font.header.first + static_cast<int>(i) - 1;
        if (expected > font.header.last)
            document.Fail(line, "'" + line.keyword + "' after the last glyph " +
                                    Hex(font.header.last) + " (last=)");
        Glyph glyph = ReadGlyphLine(document, line, expected);
        CheckDrawing(document, line, font.header, glyph);
        CheckFixedLayout(document, line, font.header, glyph);
        font.glyphs.push_back(std::move(glyph));
    }
    if (static_cast<int>(font.glyphs.size()) < count)
        throw Error(document.file, document.lastLine,
                    "the font ends before glyph " +
                        Hex(font.header.first + static_cast<int>(font.glyphs.size())) +
                        " (expected glyphs up to last=" + Hex(font.header.last) + ")");
    return font;
}

FontSource ReadFont(const std::string& path) {
    return ParseFont(ReadDocument(path));
}

}  // namespace pixelart
