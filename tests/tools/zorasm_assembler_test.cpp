// The assembler: the language's statements, each item kind, labels and
// branches, lengths and padding, layout checks, includes, and the messages
// that name FILE:LINE, the value and what was expected.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CppOutput.h"
#include "Listing.h"
#include "pixelart/image.h"
#include "pixelart/nibbles.h"
#include "zorasm_support.h"

namespace zortest {
namespace {

using Bytes = std::vector<uint8_t>;

// The body bytes of the one item that `text` (a directive and its lines) makes.
Bytes BodyOf(const std::string& text) {
    const Bytes bytes = BytesOf(text);
    return bytes.size() < 4 ? Bytes{} : Bytes(bytes.begin() + 4, bytes.end());
}

// --------------------------------------------------------- source lines ---

TEST(ZorasmSource, DataStatementsNumbersCharactersAndStrings) {
    EXPECT_EQ(BytesOf(".header 7\n"
                      ".string 3, \"Hi\"   ; a comment ; with \"quotes\"\n"
                      "\n"
                      "; a comment line\n"
                      ".item 9, 6\n"
                      "        .byte 1, -1, 'A', '\\'', '\\\\', 0x7f\n"
                      "        .word 0x1234, -2\n"
                      "        .text \"a\\\"b;\\x00\\n\"\n"
                      "        .repeat 2, 0xF0, 5\n"
                      "        .repeat 0, 1\n"
                      ".end\n"),
              (Bytes{0x00, 0x04, 7,    0x00,                                     // header
                     0x00, 0x07, 3,    4,    'H',  'i',  0,                      // string
                     0x00, 0x18, 9,    6,    1,    0xFF, 'A', '\'', '\\', 0x7F,  // .byte
                     0x12, 0x34, 0xFF, 0xFE,                                     // .word
                     'a',  '"',  'b',  ';',  0x00, '\n',                         // .text
                     0xF0, 5,    0xF0, 5,                                        // .repeat
                     0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(ZorasmSource, MalformedLinesAreReportedAtTheirFileAndLine) {
    const auto error = [](const std::string& line) {
        return Errors(AssembleText(".item 0, 6\n" + line + "\n"));
    };
    EXPECT_EQ(error(".text \"open"), "t.zasm:2:7: missing closing \"\n");
    EXPECT_EQ(error(".text \"\\q\""),
              "t.zasm:2:7: unknown escape '\\q' (expected \\\", \\', \\\\, \\n or \\xHH with two "
              "hexadecimal digits)\n");
    EXPECT_EQ(error(".byte 12z"),
              "t.zasm:2:7: '12z' is not a number (expected decimal, or hexadecimal after 0x)\n");
    EXPECT_EQ(error(".byte 0x"), "t.zasm:2:7: '0x' has no digits after 0x\n");
    EXPECT_EQ(error(".byte ''"), "t.zasm:2:7: empty character '' (expected 'c')\n");
    EXPECT_EQ(
        error(".byte 'ab'"),
        "t.zasm:2:7: a character in quotes holds one character (expected 'c' or an escape)\n");
    EXPECT_EQ(error(".byte 1,, 2"), "t.zasm:2:9: empty operand of .byte (two commas in a row?)\n");
    EXPECT_EQ(error(".byte 1 2"),
              "t.zasm:2:9: operands of .byte are separated by commas (after '1')\n");
    EXPECT_EQ(error(".byte @"),
              "t.zasm:2:7: unexpected character '@' (expected a name, a number, a string, ',' or "
              "':')\n");
    EXPECT_EQ(error(".byte 256"), "t.zasm:2:7: .byte 256 is out of range (expected -128 to 255)\n");
    EXPECT_EQ(error(".word 65536"),
              "t.zasm:2:7: .word 65536 is out of range (expected -32768 to 65535)\n");
    EXPECT_EQ(error(".byte \"s\""), "t.zasm:2:7: .byte \"s\" is a string (expected a number)\n");
    EXPECT_EQ(error(".byte"), "t.zasm:2:1: .byte takes one or more bytes, found 0 operands\n");
    EXPECT_EQ(error(".text 5"), "t.zasm:2:7: .text takes a string in double quotes, found 5\n");
    EXPECT_EQ(error("DUP"),
              "t.zasm:2:1: tag DUP in the item 0 item (tags belong in .procedure and .script "
              "items)\n");
    EXPECT_EQ(error("1: DUP"),
              "t.zasm:2:1: expected a directive or a mnemonic at the start of the statement\n");
}

TEST(ZorasmSource, ConstantsStandForNumbersAnywhere) {
    EXPECT_EQ(BytesOf(".equ id, later         ; defined before or after use\n"
                      ".header id\n"
                      ".equ later, 0x21\n"
                      ".equ t_string, 4\n"
                      ".item 2, t_string, size\n"
                      "        .byte id, 0\n"
                      ".equ size, 6\n"),
              (Bytes{0, 4, 0x21, 0, 0, 6, 2, 4, 0x21, 0}));
    EXPECT_EQ(Errors(AssembleText(".equ a, 1\n.equ a, 2\n")),
              "t.zasm:2:6: .equ a is defined twice (first at t.zasm:1:6)\n");
    EXPECT_EQ(Errors(AssembleText(".equ a, b\n.equ b, a\n.header a\n")),
              "t.zasm:3:9: the constant a is defined in terms of itself\n");
    // A chain of names resolves at any length; a loop at its far end does not.
    std::string chain;
    for (int i = 0; i < 5000; ++i)
        chain += ".equ c" + std::to_string(i) + ", c" + std::to_string(i + 1) + "\n";
    EXPECT_EQ(BytesOf(chain + ".equ c5000, 9\n.header c0\n"), (Bytes{0, 4, 9, 0}));
    EXPECT_EQ(Errors(AssembleText(chain + ".equ c5000, c17\n.header c0\n")),
              "t.zasm:5002:9: the constant c0 is defined in terms of itself\n");
    EXPECT_EQ(Errors(AssembleText(".header nobody\n")),
              "t.zasm:1:9: .header id nobody: unknown constant\n");
    EXPECT_EQ(Errors(AssembleText(".equ x, \"s\"\n")),
              "t.zasm:1:9: .equ x: the value \"s\" is not a number or a name\n");
    EXPECT_EQ(Errors(AssembleText(".equ big, 300\n.header big\n")),
              "t.zasm:2:9: .header id big (= 300) is out of range (expected 0 to 255)\n");
}

TEST(ZorasmSource, EveryIndependentErrorIsReported) {
    const zorasm::Assembly assembly = AssembleText(
        ".header 1\n"
        ".procedure 1\n"
        "        dup\n"
        "        PUSH8 999\n"
        ".string 300, \"x\"\n"
        ".script 2\n"
        "        JUMP nowhere\n");
    EXPECT_EQ(Errors(assembly),
              "t.zasm:3:9: unknown mnemonic dup (mnemonics are written in capitals: DUP)\n"
              "t.zasm:4:15: PUSH8 999 is out of range (expected -128 to 255)\n"
              "t.zasm:5:9: item number 300 is out of range (expected 0 to 255)\n"
              "t.zasm:7:14: JUMP nowhere: unknown label or constant (labels are local to their "
              "item)\n");
    EXPECT_FALSE(assembly.Ok());
}

// Garbage in, a screenful out: a huge word is shown by its start, and past a
// hundred errors the rest are only counted.
TEST(ZorasmSource, HugeInputsGiveShortMessages) {
    const std::string word(3000, 'x');
    EXPECT_EQ(Errors(AssembleText(".header 1\n.script 0\n " + word + "\n")),
              "t.zasm:3:2: unknown mnemonic " + word.substr(0, 60) + "... (3000 bytes)\n");
    std::string lines;
    for (int i = 0; i < 250; ++i) lines += "x\n";
    const zorasm::Assembly assembly = AssembleText(lines);
    EXPECT_EQ(assembly.diagnostics.errors.size(), zorasm::Diagnostics::kMaxKept);
    EXPECT_EQ(assembly.diagnostics.notKept, 250 - zorasm::Diagnostics::kMaxKept);
}

TEST(ZorasmSource, IncludesAreReadRelativeToTheIncludingFile) {
    const std::map<std::string, std::string> files = {
        {"sub/a.zasm", ".include \"b.zasm\"\n.string 1, \"a\"\n"},
        {"sub/b.zasm", ".string 0, \"b\"\n"}};
    EXPECT_EQ(BytesOf(".header 1\n.include \"sub/a.zasm\"\n.end\n", files),
              (Bytes{0, 4, 1, 0, 0, 6, 0, 4, 'b', 0, 0, 6, 1, 4, 'a', 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    // Errors name the included file and its line.
    EXPECT_EQ(Errors(AssembleText(".include \"sub/c.zasm\"\n",
                                  {{"sub/c.zasm", ".header 1\n.header 999\n"}})),
              "sub/c.zasm:2:9: .header id 999 is out of range (expected 0 to 255)\n");
    EXPECT_EQ(Errors(AssembleText(".header 1\n.include \"sub/none.zasm\"\n")),
              "t.zasm:2:1: .include: cannot read sub/none.zasm: no such file\n");
    EXPECT_EQ(Errors(AssembleText(".include \"a.zasm\"\n", {{"a.zasm", ".include \"t.zasm\"\n"}})),
              "a.zasm:1:1: .include \"t.zasm\" includes t.zasm, which is already being read (an "
              "include loop)\n");
    EXPECT_EQ(Errors(AssembleText(".include sub\n")),
              "t.zasm:1:1: .include takes one file name in double quotes\n");
    const zorasm::Assembly missing = zorasm::Assemble({"none.zasm"}, zorasm::MemoryFiles());
    EXPECT_EQ(Errors(missing), "cannot read none.zasm: no such file\n");
}

// ------------------------------------------------------------ programs ---

TEST(ZorasmPrograms, TagsAreWrittenByTheirMnemonicsAndOperandKinds) {
    EXPECT_EQ(BodyOf(".procedure 2\n"
                     "        LIT 15\n"
                     "        PUSH8 -1\n"
                     "        PUSH8 255\n"
                     "        PUSH16 -20\n"
                     "        PUSH16 0xBEEF\n"
                     "        END\n"
                     "        END 0x1234\n"
                     "        NOP\n"
                     "        DRAW_LOGO\n"
                     "        JUMP 4342\n"),
              (Bytes{0x2F, 0x10, 0xFF, 0x10, 0xFF, 0x03, 0xFF, 0xEC, 0x03, 0xBE, 0xEF,
                     0,    0,    0,    0,    0x12, 0x34, 0x30, 0x79, 0x01, 0x10, 0xF6}));
    const auto error = [](const std::string& line) {
        return Errors(AssembleText(".script 0\n" + line + "\n"));
    };
    EXPECT_EQ(error("LIT 16"), "t.zasm:2:5: LIT 16 is out of range (expected 0 to 15)\n");
    EXPECT_EQ(error("PUSH16 -32769"),
              "t.zasm:2:8: PUSH16 -32769 is out of range (expected -32768 to 65535)\n");
    EXPECT_EQ(error("PUSH16"), "t.zasm:2:1: PUSH16 takes a word, found 0 operands\n");
    EXPECT_EQ(error("DUP 1"), "t.zasm:2:1: DUP takes no operand, found 1 operand\n");
    EXPECT_EQ(error("JUMP 65536"),
              "t.zasm:2:6: JUMP 65536 is out of range (expected 0 to 65535)\n");
    EXPECT_EQ(error("FROB"), "t.zasm:2:1: unknown mnemonic FROB\n");
}

TEST(ZorasmPrograms, TheModulesOwnScriptExampleAssemblesToItsBytes) {
    EXPECT_EQ(BodyOf(".script 1\n"
                     "        PUSH8 17\n"
                     "        VAR_SET\n"
                     "        LIT 2\n"
                     "        LIT 1\n"
                     "        RUN_ITEM\n"
                     "        LIT 3\n"
                     "        LIT 1\n"
                     "        RUN_ITEM\n"
                     "        AND\n"
                     "        BRANCH_IF_ZERO done\n"
                     "        LIT 1\n"
                     "        PUSH8 20\n"
                     "        LIT 1\n"
                     "        RUN_ITEM\n"
                     "done:   END\n"),
              (Bytes{0x10, 0x11, 0x5E, 0x22, 0x21, 0x71, 0x23, 0x21, 0x71, 0x3A,
                     0x12, 0x05, 0x21, 0x10, 0x14, 0x21, 0x71, 0x00, 0x00, 0x00}));
}

TEST(ZorasmPrograms, LabelsGiveAbsoluteAddressesAndBranchOffsets) {
    // At base 100 the body starts at 104.
    EXPECT_EQ(BytesOf(".procedure 1\n"
                      "start:\n"
                      "        DUP\n"
                      "        BRANCH_IF_ZERO done\n"
                      "        JUMP start\n"
                      "        CALL done\n"
                      "loop:   BRANCH loop\n"
                      "done:   RETURN\n",
                      {}, 100),
              (Bytes{0, 16, 1, 1, 0x31, 0x12, 0x08, 0x01, 0, 104, 0x02, 0, 115, 0x11, 0xFE, 0x49}));
    EXPECT_EQ(BodyOf(".equ skip, 3\n.procedure 1\n BRANCH +5\n BRANCH -3\n BRANCH skip\n"),
              (Bytes{0x11, 5, 0x11, 0xFD, 0x11, 3}));
}

TEST(ZorasmPrograms, LabelErrorsNameTheLabelAndTheReach) {
    const std::string filler = "        .repeat 127, 0x30\n";
    EXPECT_EQ(Errors(AssembleText(".script 0\n BRANCH far\n" + filler + "far: END\n")), "");
    EXPECT_EQ(Errors(AssembleText(".script 0\n BRANCH far\n" + filler + " NOP\nfar: END\n")),
              "t.zasm:2:9: BRANCH far: the label lies 128 bytes after the next tag, out of a "
              "branch's reach (-128 to 127)\n");
    EXPECT_EQ(
        Errors(AssembleText(".script 0\nback: NOP\n" + filler + " BRANCH_IF_NONZERO back\n")),
        "t.zasm:4:20: BRANCH_IF_NONZERO back: the label lies 130 bytes before the next tag, out "
        "of a branch's reach (-128 to 127)\n");
    EXPECT_EQ(Errors(AssembleText(".script 0\n BRANCH 128\n")),
              "t.zasm:2:9: BRANCH 128 is out of range (expected -128 to 127)\n");
    // Labels are local to their item.
    EXPECT_EQ(
        Errors(AssembleText(".script 0\nhere: END\n.script 1\n JUMP here\n")),
        "t.zasm:4:7: JUMP here: unknown label or constant (labels are local to their item)\n");
    EXPECT_EQ(Errors(AssembleText(".equ x, 1\n.script 0\nx: END\n")),
              "t.zasm:3:1: label x has the name of a constant (.equ)\n");
    EXPECT_EQ(Errors(AssembleText("top: .script 0\n")),
              "t.zasm:1:1: a label cannot stand on an item directive (put it on the line below)\n");
}

TEST(ZorasmPrograms, SelectTablesTakeExactlyTheirCountOfEntries) {
    EXPECT_EQ(BodyOf(".procedure 53\n"
                     "        PUSH8 26\n"
                     "        VAR_GET\n"
                     "        LIT 7\n"
                     "        AND\n"
                     "        SELECT 5\n"
                     "        .entry 1, 31\n"
                     "        .entry 1, 51\n"
                     "case2:  .entry 1, 21\n"
                     "        .entry 1, 28\n"
                     "        .entry 1, 29\n"
                     "        RETURN\n"),
              (Bytes{0x10, 0x1A, 0x5C, 0x27, 0x3A, 0x14, 0x05, 0x01, 0x1F, 0x01, 0x33, 0x01, 0x15,
                     0x01, 0x1C, 0x01, 0x1D, 0x49}));
    EXPECT_EQ(BodyOf(".script 0\n SELECT 0\n END\n"), (Bytes{0x14, 0, 0, 0, 0}));
    EXPECT_EQ(Errors(AssembleText(".script 0\n .entry 1, 2\n")),
              "t.zasm:2:2: .entry outside a SELECT table\n");
    EXPECT_EQ(Errors(AssembleText(".script 0\n SELECT 1\n .entry 1\n")),
              "t.zasm:3:2: .entry takes TYPE, NUMBER, found 1 operand\n");
}

// ----------------------------------------------------- lengths and layout ---

TEST(ZorasmLayout, ProgramsArePaddedWithNopOrReportWhatTheyNeed) {
    EXPECT_EQ(BytesOf(".script 4, 10\n        END\n"),
              (Bytes{0, 10, 4, 5, 0, 0, 0, 0x30, 0x30, 0x30}));
    EXPECT_EQ(BytesOf(".header 1\n.procedure 0, to 10\n RETURN\n.at 10\n.end\n"),
              (Bytes{0, 4, 1, 0, 0, 6, 0, 1, 0x49, 0x30, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Errors(AssembleText(".script 4, 8\n PUSH16 1\n PUSH16 2\n")),
              "t.zasm:1:1: script 4 does not fit: it needs 10 bytes and has 8\n");
    EXPECT_EQ(Errors(AssembleText(".header 1\n.script 4, to 6\n")),
              "t.zasm:2:12: LENGTH to 6: the item starts at 4, which leaves it 2 bytes (at least 4 "
              "are needed)\n");
    EXPECT_EQ(Errors(AssembleText(".script 4, 3\n")),
              "t.zasm:1:12: LENGTH 3 is out of range (expected 4 to 65534)\n");
    EXPECT_EQ(
        Errors(AssembleText(".string 4, \"abc\", 10\n")),
        "t.zasm:1:1: string 4 is 8 bytes long, its LENGTH is 10 (only programs, coded bitmaps "
        "and fonts are fitted to a length)\n");
    EXPECT_EQ(Errors(AssembleText(".header 1, 4\n")),
              "t.zasm:1:1: expected .header ID, found 2 operands\n");
    EXPECT_EQ(Errors(AssembleText(".header 1\n .byte 0\n")),
              "t.zasm:1:1: the header item holds nothing but its 4 bytes (use .item N, 0 for "
              "more)\n");
}

TEST(ZorasmLayout, AtPinsTheNextItemAndDataMayStandOutsideItems) {
    EXPECT_EQ(Errors(AssembleText(".header 1\n.at 4\n.string 0, \"ab\"\n.at 12\n.end\n.at 11\n")),
              "t.zasm:4:1: .at 12: the end marker starts at 11, not at 12\n"
              "t.zasm:6:1: .at 11: the image ends at 15, not at 11\n");
    // Data before the first item and after the end marker, and .data after an item.
    EXPECT_EQ(BytesOf(" .byte 9\n.item 0, 6\n .byte 1\n.data\n .byte 2\n.end\n .byte 3\n"),
              (Bytes{9, 0, 5, 0, 6, 1, 2, 0xFF, 0xFF, 0xFF, 0xFF, 3}));
    EXPECT_EQ(Errors(AssembleText(".end\n DUP\n")),
              "t.zasm:2:2: tag DUP in data outside any item (tags belong in .procedure and .script "
              "items)\n");
    EXPECT_EQ(Errors(AssembleText(".end 1\n")), "t.zasm:1:1: expected .end\n");
}

TEST(ZorasmLayout, TheImageMustFitInModuleMemory) {
    EXPECT_EQ(Errors(AssembleText(".item 0, 6\n .repeat 37340, 0\n")), "");
    EXPECT_EQ(Errors(AssembleText(".item 0, 6\n .repeat 37341, 0\n")),
              "t.zasm:1:1: this runs to address 37345, past the end of module memory (37344 "
              "bytes): 1 byte too many; no free space (a .repeat of zeros outside any item) is "
              "left to give them: shorten or remove items\n");
    EXPECT_EQ(Errors(AssembleText(".item 0, 6\n .repeat 36340, 0\n", {}, 1000)), "");
    EXPECT_EQ(Errors(AssembleText(".item 0, 6\n .repeat 70000, 0\n")),
              "t.zasm:2:10: .repeat count 70000 is out of range (expected 0 to 65535)\n");
    // No more bytes than memory holds are ever made (a few lines once asked
    // for a GB): a larger .repeat is refused where it stands, and what lies
    // past the end of memory takes its room but keeps no bytes.
    EXPECT_EQ(Errors(AssembleText(".data\n .repeat 65535, 0, 0\n")),
              "t.zasm:2:2: .repeat 65535 of 2 bytes makes 131070 bytes, more than module memory "
              "holds (37344)\n");
    std::string items;
    for (int n = 0; n < 100; ++n) items += ".procedure " + std::to_string(n) + ", 65534\n";
    const zorasm::Assembly past = AssembleText(items + ".data\n .repeat 37344, 0\n .word 0\n");
    EXPECT_EQ(Errors(past),
              "t.zasm:1:1: this runs to address 65534, past the end of module memory (37344 "
              "bytes): 6553402 bytes too many; the largest free space, .repeat 37344, 0 at "
              "t.zasm:102:2, holds only 37344: shorten or remove items\n");
    EXPECT_LE(past.bytes.size(), zorasm::kModuleMemorySize);
}

// ------------------------------------------------ pictures, fonts, icons ---

const std::string kArt =
    "bitmap 1 'raw'\n"
    "#.......#.\n"
    "........##\n"
    "\n"
    "bitmap 2 'coded' compression=1\n"
    "#################\n"
    "#...............#\n"
    "#..##.....##....#\n"
    "#...............#\n"
    "#################\n"
    "\n"
    "icon 1 'a' y-offset=2\n"
    "###\n"
    "#..\n"
    "\n"
    "icon 0x0203\n"
    "#########\n";

TEST(ZorasmPictures, RawBitmapsAndIconSetsAreTheirRecords) {
    EXPECT_EQ(BytesOf(".bitmap 1, \"p/art.art\"\n", {{"p/art.art", kArt}}),
              (Bytes{0, 16, 1, 2, 0, 0, 4, 0, 10, 0, 2, 0, 0x80, 0x80, 0x00, 0xC0}));
    EXPECT_EQ(BytesOf(".iconset 0, 0xCA, \"art.art\", 26\n", {{"art.art", kArt}}),
              (Bytes{0, 26, 0, 7, 0, 0xCA,                       // item, icon set fields
                     0, 10, 0, 1, 3, 2,    2, 0, 0xE0, 0x80,     // icon 1
                     0, 10, 2, 3, 9, 1,    0, 0, 0xFF, 0x80}));  // icon 0x0203
    const std::map<std::string, std::string> files = {{"art.art", kArt}};
    EXPECT_EQ(Errors(AssembleText(".bitmap 1, \"art.art\", 17\n", files)),
              "t.zasm:1:1: bitmap 1 is 16 bytes long, its LENGTH is 17 (a raw bitmap is as long as "
              "its rows; only coded ones take a chosen length)\n");
    EXPECT_EQ(Errors(AssembleText(".bitmap 3, \"art.art\"\n", files)),
              "t.zasm:1:1: art.art has no picture 'bitmap 3'\n");
    EXPECT_EQ(Errors(AssembleText(".bitmap 3, \"none.art\"\n")),
              "t.zasm:1:1: picture file: cannot read none.art: no such file\n");
    EXPECT_EQ(Errors(AssembleText(".iconset 0, 1, \"b.art\"\n", {{"b.art", "bitmap 1\n#\n"}})),
              "t.zasm:1:1: b.art holds no 'icon' pictures\n");
    EXPECT_EQ(Errors(AssembleText(".bitmap 1, 5\n")),
              "t.zasm:1:12: .bitmap: expected a string in double quotes, found 5 (.bitmap N, "
              "\"FILE\" [, LENGTH])\n");
    // A broken picture file is reported once, however many items name it.
    EXPECT_EQ(Errors(AssembleText(".bitmap 1, \"bad.art\"\n.bitmap 2, \"bad.art\"\n",
                                  {{"bad.art", "bitmap 1\n#x\n"}})),
              "bad.art:2:1: unexpected 'x' in column 2 of a picture row (expected '#' for dark or "
              "'.' for light)\n");
}

TEST(ZorasmPictures, CodedBitmapsAreCodedToExactlyTheirLength) {
    const std::map<std::string, std::string> files = {{"art.art", kArt}};
    const pixelart::Picture picture =
        pixelart::ParsePictures(pixelart::ParseDocument(kArt, "art.art")).bitmaps[1].picture;
    const pixelart::NibbleCoder coder(pixelart::PictureNibbles(picture), 6, 1);
    for (size_t coded = coder.Shortest(); coded <= coder.Longest(); ++coded) {
        const Bytes bytes = BytesOf(
            ".bitmap 2, \"art.art\", " + std::to_string(13 + coded) + "\n .byte 0xEE\n", files);
        ASSERT_EQ(bytes.size(), 12 + coded + 1);
        EXPECT_EQ((bytes[5] << 8) | bytes[6], static_cast<int>(coded));  // dataLength
        EXPECT_EQ(Bytes(bytes.begin() + 12, bytes.end() - 1), coder.Code(coded));
        EXPECT_EQ(bytes.back(), 0xEE);  // data after the codes stays after them
    }
    // Without a length: the shortest coding.
    EXPECT_EQ(BytesOf(".bitmap 2, \"art.art\"\n", files).size(), 12 + coder.Shortest());
    const std::string range = "its codings take " + std::to_string(coder.Shortest()) + " to " +
                              std::to_string(coder.Longest()) + " bytes\n";
    EXPECT_EQ(Errors(AssembleText(".bitmap 2, \"art.art\", 12\n", files)),
              "t.zasm:1:1: bitmap 2 (art.art line 5, compression 1, 17 x 5) cannot be coded in 0 "
              "bytes: " +
                  range);
    EXPECT_EQ(Errors(AssembleText(
                  ".bitmap 2, \"art.art\", " + std::to_string(13 + coder.Longest()) + "\n", files)),
              "t.zasm:1:1: bitmap 2 (art.art line 5, compression 1, 17 x 5) cannot be coded in " +
                  std::to_string(coder.Longest() + 1) + " bytes: " + range);
}

const std::string kFont =
    "font kind=proportional first=0x41 last=0x42 cell-width=4 cell-height=5 ascent=3 spacing=1 "
    "line-gap=2 class=2\n"
    "\n"
    "glyph 0x41 'A'\n"
    "....\n.##.\n#..#\n----\n####\n....\n"
    "\n"
    "glyph 0x42 'B'\n"
    "##..\n#.#.\n##..\n----\n....\n....\n";

TEST(ZorasmFonts, AFontAndTheDataAfterItFillTheItemExactly) {
    const std::map<std::string, std::string> files = {{"f.glyphs", kFont}};
    // Tight: 9 header bytes and two glyphs of 5 bytes.
    const Bytes tight = BytesOf(".font 0, \"f.glyphs\"\n", files);
    EXPECT_EQ(tight, (Bytes{0,    23, 0,    3,    0x80, 0x41, 0x42, 4,    5,    3,
                            1,    2,  2,  // item, header
                            0x12, 4,  0x60, 0x90, 0xF0, 0x02, 4,    0xC0, 0xA0, 0xC0}));
    const Bytes fitted =
        BytesOf(".font 0, \"f.glyphs\", 30\n .repeat 1, 0xF0, 0x05, 0x00\n", files);
    ASSERT_EQ(fitted.size(), 30u);
    EXPECT_EQ(fitted[12], 2);  // the font class, where the vocabulary looks for it
    EXPECT_EQ(Bytes(fitted.end() - 3, fitted.end()), (Bytes{0xF0, 0x05, 0x00}));
    // Exactly the tight table and the data: nothing to pad.
    const Bytes exact = BytesOf(".font 0, \"f.glyphs\", 26\n .repeat 1, 0xF0, 5, 0\n", files);
    EXPECT_EQ(Bytes(exact.begin() + 4, exact.end() - 3), Bytes(tight.begin() + 4, tight.end()));
    EXPECT_EQ(Errors(AssembleText(".font 0, \"f.glyphs\", 25\n .repeat 1, 0xF0, 5, 0\n", files)),
              "t.zasm:1:1: font 0 cannot fill a 18-byte table: f.glyphs:1: the glyphs need 19 "
              "bytes, more than the table size 18 (draw them smaller or give a larger size)\n");
    EXPECT_EQ(Errors(AssembleText(".font 0, \"f.glyphs\", 12\n", files)),
              "t.zasm:1:1: font 0: LENGTH 12 leaves 8 bytes for the font table after the 0 bytes "
              "of data\n");
}

// ------------------------------------------------------- listing, C++ out ---

TEST(ZorasmListing, ShowsEachItemsRoomAndUseAndEveryLinesBytes) {
    const zorasm::Assembly assembly =
        AssembleText(".header 7\n.script 0, 40\n        DROP\n        END\n.end\n");
    ASSERT_TRUE(assembly.Ok());
    const std::string listing = zorasm::RenderListing(assembly, {"t.zasm"});
    EXPECT_NE(
        listing.find(";  0x0004     4      40  script 0                      40       8      32\n"),
        std::string::npos)
        << listing;
    EXPECT_NE(
        listing.find("0008  33                        t.zasm:3                          DROP\n"),
        std::string::npos)
        << listing;
    EXPECT_NE(listing.find("000C  30 30 30 30 30 30 30 30                             NOP padding\n"
                           "0014  30 30 30 30 30 30 30 30\n"),
              std::string::npos)
        << listing;
    EXPECT_NE(listing.find("002C  FF FF FF FF               t.zasm:5                  .end\n"),
              std::string::npos)
        << listing;
}

TEST(ZorasmCppOutput, DefinesTheBytesAsModuleDataWithAGeneratedByLine) {
    const std::string text = zorasm::RenderCpp({0x01, 0xAB}, "Image", {"a.zasm", "b.zasm"});
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "// Generated by zorasm from a.zasm b.zasm; edit the sources, not this file.");
    EXPECT_NE(text.find("extern const uint8_t Image[2];\nconst uint8_t Image[2] = {\n"
                        "    /* 00000 */ 0x01, 0xAB,\n};"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("namespace lcdm {"), std::string::npos);
}

}  // namespace
}  // namespace zortest
