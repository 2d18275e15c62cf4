// The pixel-art text format, independent of what the pictures mean.
//
// A document is a sequence of directives. A directive is one line: a keyword,
// then positional words, 'quoted' labels and key=value fields. The lines right
// below a directive may draw its picture, one row per line, '#' for a dark
// pixel and '.' for a light one. One line of '-' inside a picture marks a
// baseline between two rows (it is not a row). "//" starts a comment anywhere;
// a blank line ends a picture. Fonts, bitmaps and icons all read this layer
// and give the directives their meaning.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pixelart {

struct Picture {
    int width = 0;
    std::vector<std::vector<bool>> rows;  // rows[y][x], true = dark
    int firstLine = 0;                    // source line of the first row (0: no rows)
    std::optional<int> baseline;          // rows drawn above the '-' line, if there is one

    int height() const { return static_cast<int>(rows.size()); }
    bool empty() const { return rows.empty(); }
    bool At(int x, int y) const { return rows[y][x]; }
    bool RowBlank(int y) const;
};

struct Directive {
    std::string keyword;
    std::vector<std::string> words;             // positional words, in order
    std::vector<std::string> labels;            // contents of 'quoted' words, in order
    std::map<std::string, std::string> fields;  // key=value
    int line = 0;
    Picture picture;
};

struct Document {
    std::string file;
    std::vector<Directive> directives;
    int lastLine = 0;  // for messages about what is missing at the end

    // Throws Error at the directive's line.
    [[noreturn]] void Fail(const Directive& directive, const std::string& message) const;
};

Document ParseDocument(std::string_view text, const std::string& file);
Document ReadDocument(const std::string& path);  // reads the file, names it as given

// A number field written in decimal or 0x hexadecimal, within min..max.
int FieldNumber(const Document& document, const Directive& directive, const std::string& key,
                int min, int max);
std::optional<int> OptionalFieldNumber(const Document& document, const Directive& directive,
                                       const std::string& key, int min, int max);
// Parses a decimal or 0x hexadecimal number, or nothing if the text is not one.
std::optional<long> ParseNumber(std::string_view text);
// Rejects fields other than the ones listed, naming the first stranger.
void RequireOnlyFields(const Document& document, const Directive& directive,
                       const std::vector<std::string>& allowed);

}  // namespace pixelart
