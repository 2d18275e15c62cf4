// The disassembler's promise: whatever the image, assembling what it prints
// gives the same bytes, and so do the sources to edit (--sources: pictures as
// pixel art, fonts as glyphs). Checked on hand-made corner cases and on
// random item chains (programs with random tags, jumps, tables, invalid
// opcodes and tags cut by their item's end; strings; data items; bitmaps,
// icon sets and fonts, valid and damaged; items of one number and type twice;
// odd chain ends).
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "Disassembler.h"
#include "Lcdm_opcodes.h"
#include "pixelart/font.h"
#include "pixelart/image.h"
#include "pixelart/nibbles.h"
#include "zorasm_support.h"

namespace zortest {
namespace {

using Bytes = std::vector<uint8_t>;

// Disassembles and assembles again at the same base; the text on failure.
std::string RoundTrip(const Bytes& image, uint32_t base, Bytes& again) {
    const std::string text = zorasm::Disassemble(image, base, "image.bin");
    zorasm::MemoryFiles files;
    files.Add("d.zasm", text);
    const zorasm::Assembly assembly = zorasm::Assemble({"d.zasm"}, files, {base});
    again = assembly.bytes;
    return Errors(assembly) + text;
}

// The same through the sources to edit: every file written, assembled again.
std::string SourcesRoundTrip(const Bytes& image, uint32_t base, Bytes& again,
                             zorasm::SourceSet& set) {
    set = zorasm::DisassembleToSources(image, base, "image.bin");
    zorasm::MemoryFiles files;
    std::string text;
    for (const auto& [name, contents] : set.files) {
        files.Add(name, contents);
        text += "--- " + name + "\n" + contents;
    }
    const zorasm::Assembly assembly = zorasm::Assemble({zorasm::kSourcesMain}, files, {base});
    again = assembly.bytes;
    return Errors(assembly) + text;
}

void ExpectRoundTrip(const Bytes& image, uint32_t base = 0) {
    Bytes again;
    const std::string text = RoundTrip(image, base, again);
    EXPECT_EQ(again, image) << text;
    zorasm::SourceSet set;
    const std::string sources = SourcesRoundTrip(image, base, again, set);
    EXPECT_EQ(again, image) << sources;
}

void Put(Bytes& out, std::initializer_list<int> bytes) {
    for (int b : bytes) out.push_back(static_cast<uint8_t>(b));
}

void PutItem(Bytes& out, int number, int type, const Bytes& body) {
    const size_t length = body.size() + 4;
    Put(out, {int(length >> 8), int(length & 0xFF), number, type});
    out.insert(out.end(), body.begin(), body.end());
}

TEST(ZorasmDisassembler, PrintsProgramsWithLabelsAndStringsAsText) {
    Bytes image;
    PutItem(image, 33, 0, {});
    // A program: a loop back, a forward branch, a jump and a call inside,
    // a jump to another item, a table, padding.
    PutItem(image, 1, 1,
            {0x31, 0x12, 0x03, 0x01, 0x00, 0x08, 0x02, 0x00, 0x11, 0x01, 0x00, 0x00, 0x14, 0x01,
             0x01, 0x05, 0x49, 0x30, 0x30});
    PutItem(image, 2, 4, {'A', '"', '\\', 0x0A, 0xE9, 0});
    Put(image, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0});
    const std::string text = zorasm::Disassemble(image, 0, "image.bin");
    EXPECT_NE(text.find(".procedure 1, 23          ; padded with NOP\n"
                        "L0008:\n"
                        "        DUP\n"
                        "        BRANCH_IF_ZERO L000E\n"
                        "        JUMP L0008\n"
                        "L000E:\n"
                        "        CALL L0011\n"
                        "L0011:\n"
                        "        JUMP 0\n"
                        "        SELECT 1\n"
                        "            .entry 1, 5\n"
                        "        RETURN\n\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(".string 2, \"A\\\"\\\\\\n\\xE9\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find(".end\n\n; 2 bytes of free space (zeros) to the end\n.repeat 2, 0\n"),
              std::string::npos)
        << text;
    ExpectRoundTrip(image);
}

TEST(ZorasmDisassembler, OddBytesAreShownAsDataThatAssemblesBack) {
    Bytes image;
    // Invalid opcodes (with their operand bytes), the second NOP, a SELECT
    // whose table runs past the end, a tag cut by the end.
    PutItem(image, 3, 5, {0x04, 0x12, 0x34, 0x15, 0x01, 0x7A, 0x6F, 0x14, 0x03, 0x01, 0x02, 0x03});
    PutItem(image, 4, 5, {0x30, 0x03, 0x01});
    PutItem(image, 5, 4, {'a', 0, 'b', 0});      // not a clean string
    PutItem(image, 6, 9, {1, 2, 3});             // a type the module refuses
    PutItem(image, 7, 0, {9});                   // a header item of the wrong length
    PutItem(image, 8, 1, {});                    // an empty program
    Put(image, {0xFF, 0xFF, 0x00, 0x01, 0x02});  // a chain end that is no end marker
    const std::string text = zorasm::Disassemble(image, 0, "image.bin");
    EXPECT_NE(text.find(".byte 0x04, 0x12, 0x34    ; invalid opcode 4\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find(".byte 0x6F    ; NOP (opcode 111)\n"), std::string::npos) << text;
    EXPECT_NE(text.find(".byte 0x03, 0x01    ; a tag cut by the item's end\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find(".data "), std::string::npos) << text;
    ExpectRoundTrip(image);
    ExpectRoundTrip(Bytes{0, 3, 1, 2, 0, 0});  // a length below 4 ends the chain
    ExpectRoundTrip(Bytes{0, 9, 1, 2, 5});     // a length past the image's end
    ExpectRoundTrip(Bytes{});
    ExpectRoundTrip(Bytes{0, 0, 0, 0, 0});
}

TEST(ZorasmDisassembler, ItemsOfOneNumberAndTypeTwiceKeepTheSecondAsData) {
    Bytes image;
    PutItem(image, 33, 0, {});
    PutItem(image, 3, 4, {'a', 0});
    PutItem(image, 3, 4, {'b', 0});   // never found by the module
    PutItem(image, 3, 5, {0, 0, 0});  // another type: found
    PutItem(image, 33, 0, {});        // the header's number again: found
    Put(image, {0xFF, 0xFF, 0xFF, 0xFF});
    const std::string text = zorasm::Disassemble(image, 0, "image.bin");
    EXPECT_NE(text.find(".string 3, \"a\"\n\n.data                   ; item 3, type 4 again: the "
                        "module finds only the first\n        .byte 0x00, 0x06, 0x03, 0x04, "
                        "0x62, 0x00\n\n.script 3\n"),
              std::string::npos)
        << text;
    ExpectRoundTrip(image);
}

// ------------------------------------------------------------ random chains ---

class ChainMaker {
public:
    ChainMaker(std::mt19937& random, uint32_t base) : random_(random), base_(base) {}

    Bytes Make() {
        if (Chance(80)) PutItem(image_, Byte(), 0, {});
        const int items = Below(25);
        for (int i = 0; i < items; ++i) Item();
        End();
        return image_;
    }

private:
    int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    int Byte() { return Below(256); }

    void Item() {
        static const int kTypes[] = {1, 1, 1, 5, 5, 4, 4, 2, 2, 3, 3, 7, 7, 6, 0, 8, 200};
        const int type = kTypes[Below(static_cast<int>(std::size(kTypes)))];
        const int number = Byte();
        const uint32_t address = base_ + static_cast<uint32_t>(image_.size());
        Bytes body;
        if (type == 1 || type == 5) {
            body = Program(address + 4);
        } else if ((type == 2 || type == 3 || type == 7) && Chance(60)) {
            body = type == 2 ? Bitmap() : type == 3 ? Font() : IconSet();
            // Now and then a damaged one: a byte changed or data after it.
            if (Chance(15) && !body.empty()) body[Below(static_cast<int>(body.size()))] ^= 0x81;
            if (Chance(15)) body.push_back(static_cast<uint8_t>(Byte()));
        } else if (type == 4 && Chance(70)) {
            for (int i = Below(20); i > 0; --i)
                body.push_back(static_cast<uint8_t>(1 + Below(255)));
            body.push_back(0);
        } else {
            for (int i = Below(60); i > 0; --i)
                body.push_back(static_cast<uint8_t>(Chance(30) ? 0 : Byte()));
        }
        PutItem(image_, number, type, body);
    }

    pixelart::Picture Picture(int maxWidth, int maxHeight) {
        pixelart::Picture picture;
        picture.width = 1 + Below(maxWidth);
        const int height = 1 + Below(maxHeight);
        const int density = Below(100);
        for (int y = 0; y < height; ++y) {
            if (y > 0 && Chance(40)) {
                picture.rows.push_back(picture.rows.back());
                continue;
            }
            std::vector<bool> row;
            for (int x = 0; x < picture.width; ++x) row.push_back(Below(100) < density);
            picture.rows.push_back(row);
        }
        return picture;
    }

    // A bitmap as zorasm makes it: raw, or coded to a length its coder reaches.
    Bytes Bitmap() {
        const pixelart::Picture picture = Picture(64, 40);
        const int compression = Below(3);
        if (compression == 0) {
            const Bytes rows = pixelart::RawRows(picture);
            Bytes body = pixelart::ImageHeader(0, rows.size(), picture);
            body.insert(body.end(), rows.begin(), rows.end());
            return body;
        }
        const pixelart::NibbleCoder coder(pixelart::PictureNibbles(picture),
                                          pixelart::RowBytes(picture.width) * 2, compression);
        size_t length = coder.Shortest() + static_cast<size_t>(Below(8));
        while (!coder.Reachable(length)) --length;
        const Bytes codes = coder.Code(length);
        Bytes body = pixelart::ImageHeader(compression, codes.size(), picture);
        body.insert(body.end(), codes.begin(), codes.end());
        return body;
    }

    Bytes IconSet() {
        Bytes body{0, static_cast<uint8_t>(Byte())};
        for (int i = 1 + Below(4); i > 0; --i) {
            pixelart::IconSource icon;
            icon.code = Below(65536);
            icon.picture = Picture(64, 20);
            icon.yOffset = Below(icon.picture.height() + 3);
            const Bytes record = pixelart::EncodeIcon(icon);
            body.insert(body.end(), record.begin(), record.end());
        }
        return body;
    }

    // A font as the glyph encoder makes it, tight or padded, or with hand
    // layouts that store blank rows.
    Bytes Font() {
        pixelart::FontSource font;
        font.header.kind = Chance(70) ? 128 : 0;
        font.header.first = static_cast<uint8_t>(0x20 + Below(90));
        font.header.last = static_cast<uint8_t>(font.header.first + Below(5));
        font.header.cellWidth = static_cast<uint8_t>(1 + Below(16));
        font.header.cellHeight = static_cast<uint8_t>(1 + Below(16));
        font.header.ascent = static_cast<uint8_t>(Below(font.header.cellHeight + 1));
        font.header.spacing = static_cast<uint8_t>(Below(3));
        font.header.fontClass = static_cast<uint8_t>(Below(11));
        for (int code = font.header.first; code <= font.header.last; ++code) {
            pixelart::Glyph glyph;
            glyph.code = static_cast<uint8_t>(code);
            const int width = font.header.proportional() ? 1 + Below(16) : font.header.cellWidth;
            glyph.picture = Picture(1, 1);
            glyph.picture.width = width;
            glyph.picture.rows.assign(font.header.cellHeight, std::vector<bool>(width));
            const int top = Below(font.header.cellHeight);
            const int rows = 1 + Below(font.header.cellHeight - top);
            for (int y = top; y < top + rows; ++y)
                for (int x = 0; x < width; ++x) glyph.picture.rows[y][x] = Chance(40);
            if (Chance(30)) {
                glyph.above = std::min(top, 15);
                glyph.rows = std::min(16, font.header.cellHeight - *glyph.above);
            }
            font.glyphs.push_back(std::move(glyph));
        }
        try {
            const size_t tight = pixelart::EncodeFont(font).bytes.size();
            return pixelart::EncodeFont(font, tight + static_cast<size_t>(Below(6))).bytes;
        } catch (const pixelart::Error&) {
            return pixelart::EncodeFont(font).bytes;  // no padding reaches that size
        }
    }

    // Random tags, then jumps and branches aimed at the starts of other tags.
    Bytes Program(uint32_t start) {
        Bytes body;
        std::vector<size_t> starts;
        std::vector<size_t> aimed;
        for (int i = Below(30); i > 0; --i) {
            starts.push_back(body.size());
            const auto opcode = static_cast<uint8_t>(Chance(40) ? Byte() : kCommon[Below(8)]);
            body.push_back(opcode);
            if (opcode == lcdm::kOpSelect) {
                const int count = Below(4);
                body.push_back(static_cast<uint8_t>(count));
                for (int e = 0; e < 2 * count; ++e) body.push_back(static_cast<uint8_t>(Below(8)));
                continue;
            }
            for (int b = 1; b < lcdm::EncodedLength(opcode); ++b)
                body.push_back(static_cast<uint8_t>(Byte()));
            if (opcode == 1 || opcode == 2 || (opcode >= 17 && opcode <= 19))
                aimed.push_back(starts.back());
        }
        for (size_t at : aimed) {
            if (Chance(20) || starts.empty()) continue;  // keep the random operand
            const size_t target =
                starts[static_cast<size_t>(Below(static_cast<int>(starts.size())))];
            if (body[at] <= 2 && at + 2 < body.size()) {
                const uint32_t address = start + static_cast<uint32_t>(target);
                body[at + 1] = static_cast<uint8_t>(address >> 8);
                body[at + 2] = static_cast<uint8_t>(address & 0xFF);
            } else if (body[at] > 2 && at + 1 < body.size()) {
                const long offset = static_cast<long>(target) - static_cast<long>(at + 2);
                if (offset >= -128 && offset <= 127)
                    body[at + 1] = static_cast<uint8_t>(offset & 0xFF);
            }
        }
        if (Chance(50)) body.insert(body.end(), static_cast<size_t>(Below(6)), lcdm::kOpNop);
        if (Chance(20) && !body.empty()) body.pop_back();  // a tag cut by the item's end
        return body;
    }

    void End() {
        const int how = Below(5);
        if (how == 0) return;                                     // the image just ends
        if (how == 1) return Put(image_, {0, 0, 0, 0, 0, 0});     // a zero length word
        if (how == 2) return Put(image_, {0x01, 0x00, 1, 1, 5});  // runs past the image
        Put(image_, {0xFF, 0xFF, 0xFF, 0xFF});
        if (how == 4)
            for (int i = Below(10); i > 0; --i) image_.push_back(static_cast<uint8_t>(Byte()));
        image_.insert(image_.end(), static_cast<size_t>(Below(300)), 0);
    }

    static constexpr uint8_t kCommon[8] = {1, 2, 3, 16, 18, 20, 49, 48};
    std::mt19937& random_;
    uint32_t base_;
    Bytes image_;
};

TEST(ZorasmRoundTrip, RandomItemChainsAssembleBackToTheSameBytes) {
    std::mt19937 random(1234);
    std::map<std::string, size_t> drawn;  // items written as pictures, by directive
    size_t asBytes = 0;
    for (int round = 0; round < 300; ++round) {
        const uint32_t base = round % 3 == 0 ? static_cast<uint32_t>(random() % 30000) : 0;
        const Bytes image = ChainMaker(random, base).Make();
        Bytes again;
        const std::string text = RoundTrip(image, base, again);
        ASSERT_EQ(again, image) << "round " << round << ", base " << base << "\n" << text;
        zorasm::SourceSet set;
        const std::string sources = SourcesRoundTrip(image, base, again, set);
        ASSERT_EQ(again, image) << "sources, round " << round << ", base " << base << "\n"
                                << sources;
        const std::string& main = set.files[zorasm::kSourcesMain];
        for (const char* directive : {"\n.bitmap ", "\n.font ", "\n.iconset "})
            for (size_t at = main.find(directive); at != std::string::npos;
                 at = main.find(directive, at + 1))
                ++drawn[directive];
        asBytes += set.itemsAsBytes;
    }
    // The chains hold valid pictures and fonts (drawn into files) as well as
    // damaged ones and odd bytes (kept as bytes).
    EXPECT_GT(drawn["\n.bitmap "], 100u);
    EXPECT_GT(drawn["\n.font "], 100u);
    EXPECT_GT(drawn["\n.iconset "], 100u);
    EXPECT_GT(asBytes, 300u);
}

}  // namespace
}  // namespace zortest
