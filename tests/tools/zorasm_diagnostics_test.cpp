// What the assembler tells a vocabulary author: misspelt names with the
// nearest known ones, both places of anything defined twice, what the module
// would never find or would refuse (warnings that do not fail the
// assembly), an image too large with the free space that could make it fit,
// and each message printed with its source line and a caret.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Suggestions.h"
#include "zorasm_support.h"

namespace zortest {
namespace {

std::string Warnings(const zorasm::Assembly& assembly) {
    std::string text;
    for (const std::string& message : assembly.diagnostics.warnings) text += message + "\n";
    return text;
}

const std::string kFont =
    "font kind=proportional first=0x41 last=0x41 cell-width=4 cell-height=3 ascent=2 spacing=1 "
    "line-gap=0 class=CLASS\n"
    "\n"
    "glyph 0x41 'A'\n"
    ".#..\n#.#.\n----\n###.\n";

std::string FontOfClass(int fontClass) {
    std::string text = kFont;
    text.replace(text.find("CLASS"), 5, std::to_string(fontClass));
    return text;
}

const std::map<std::string, std::string> kFiles = {
    {"class0.glyphs", FontOfClass(0)},
    {"class2.glyphs", FontOfClass(2)},
    {"icons.art", "icon 1\n##\n"},
};

struct Case {
    const char* what;
    std::string source;
    std::string errors;
    std::string warnings;
};

const Case kCases[] = {
    // Misspelt names: the nearest known ones.
    {"a mnemonic one letter off", ".header 1\n.script 0\n PRINT_STRNG\n END\n",
     "t.zasm:3:2: unknown mnemonic PRINT_STRNG; did you mean PRINT_STRING?\n", ""},
    {"a mnemonic in small letters and misspelt", ".header 1\n.script 0\n\tprnt_string\n",
     "t.zasm:3:2: unknown mnemonic prnt_string; did you mean PRINT_STRING?\n", ""},
    {"a data directive without its dot", ".header 1\n.script 0\n byte 1\n",
     "t.zasm:3:2: unknown mnemonic byte; did you mean .byte?\n", ""},
    {"a mnemonic near nothing known", ".header 1\n.script 0\n FROB\n",
     "t.zasm:3:2: unknown mnemonic FROB\n", ""},
    {"an item directive with a letter too many", ".strings 0, \"x\"\n",
     "t.zasm:1:1: unknown directive .strings in data outside any item (expected a tag, .byte, "
     ".word, .text, .repeat or .entry); did you mean .string?\n",
     ""},
    {"a data directive with a letter too many", ".item 0, 6\n .bytes 1\n",
     "t.zasm:2:2: unknown directive .bytes in the item 0 item (expected a tag, .byte, .word, "
     ".text, .repeat or .entry); did you mean .byte?\n",
     ""},
    {"a constant misspelt",
     ".equ t_string, 4\n.header 1\n.script 0\n LIT 0\n LIT t_strng\n PRINT_STRING\n END\n",
     "t.zasm:5:6: LIT t_strng: unknown label or constant (labels are local to their item); did "
     "you mean t_string?\n",
     ""},
    {"a label misspelt", ".header 1\n.script 0\nloop: DELAY\n BRANCH lop\n",
     "t.zasm:4:9: BRANCH lop: unknown label or constant (labels are local to their item); did "
     "you mean loop?\n",
     ""},
    // Defined twice: both places.
    {"a label twice", ".script 0\na: NOP\n  a: NOP\n",
     "t.zasm:3:3: label a is defined twice in the script 0 item (first at t.zasm:2:1)\n",
     ""},  // the module's view of the image is checked only once it assembles
    {"a string twice", ".header 1\n.string 0, \"a\"\n.string 1, \"b\"\n.string 0, \"c\"\n.end\n",
     "t.zasm:4:1: string 0 is defined twice: the module finds only the first, at t.zasm:2:1 "
     "(give this one another number)\n",
     ""},
    {"a procedure as .item and as .procedure", ".header 1\n.procedure 3\n RETURN\n.item 3, 1\n",
     "t.zasm:4:1: item 3, type 1 is defined twice: the module finds only the first, at "
     "t.zasm:2:1 (give this one another number)\n",
     ""},
    {"one font number for two classes",
     ".header 1\n.font 0, \"class0.glyphs\"\n.font 0, \"class2.glyphs\"\n.end\n", "", ""},
    {"one font number twice for one class",
     ".header 1\n.font 0, \"class2.glyphs\"\n.font 0, \"class2.glyphs\"\n.end\n",
     "t.zasm:3:1: font 0 for class 2 is defined twice: the module finds only the first, at "
     "t.zasm:2:1 (give this one another number)\n",
     ""},
    {"one icon set number for two languages",
     ".header 1\n.iconset 0, 1, \"icons.art\"\n.iconset 0, 2, \"icons.art\"\n"
     ".iconset 0, 1, \"icons.art\"\n",
     "t.zasm:4:1: iconset 0 for language 1 is defined twice: the module finds only the first, "
     "at t.zasm:2:1 (give this one another number)\n",
     ""},
    {"the header's number again, as another item", ".header 1\n.item 1, 0\n", "", ""},
    // What the module refuses or never finds.
    {"no header", ".string 0, \"a\"\n.end\n", "",
     "t.zasm:1:1: warning: the vocabulary does not start with a header item (.header ID): the "
     "module initialises none of it, so it finds none of its items\n"},
    {"data before the header", " .byte 0\n.header 1\n", "",
     "t.zasm:2:1: warning: the vocabulary does not start with a header item (.header ID): the "
     "module initialises none of it, so it finds none of its items\n"},
    {"header id 0", ".header 0\n.string 0, \"a\"\n.end\n", "",
     "t.zasm:1:1: warning: header id 0: the module takes vocabulary 0 for none and finds no "
     "item in it (give an id from 1 to 255)\n"},
    {"items after the end marker", ".header 1\n.end\n.string 0, \"a\"\n.string 1, \"b\"\n", "",
     "t.zasm:3:1: warning: string 0 is never found (nor is the item after it): the module's "
     "walk of the chain stops at the end marker (t.zasm:2:1)\n"},
    {"an item after data that ends the chain",
     ".header 1\n.data\n .word 0\n.string 0, \"a\"\n.end\n", "",
     "t.zasm:4:1: warning: string 0 is never found: the module's walk of the chain stops at "
     "address 4, in the data at t.zasm:2:1, which reads as a length of 0\n"},
    {"an item after data that lands inside it",
     ".header 1\n.data\n .word 8\n.item 0, 6\n .word 0, 0\n.end\n", "",
     "t.zasm:4:1: warning: item 0, type 6 is never found: the module's walk of the chain stops "
     "at address 12, inside item 0, type 6 (t.zasm:4:1)\n"},
    {"data that makes an item of its own keeps the chain",
     ".header 1\n.data\n .word 6\n .byte 9, 4, 'a', 0\n.string 0, \"b\"\n.end\n", "", ""},
    {"a type the module refuses", ".header 1\n.item 0, 9\n .byte 1\n.end\n", "",
     "t.zasm:2:1: warning: item 0, type 9: the module refuses a vocabulary that holds an item "
     "type above 7, and initialises none of it\n"},
    // Too large: by how much, and which free space could give the bytes.
    {"free space that can give the bytes",
     ".header 1\n.string 0, \"abc\"\n.end\n.repeat 20, 0\n.repeat 37332, 0\n",
     "t.zasm:4:1: this runs to address 37368, past the end of module memory (37344 bytes): 24 "
     "bytes too many; the free space .repeat 37332, 0 at t.zasm:5:1 can give them (make its "
     "count 37308)\n",
     ""},
    {"free space of two-byte repeats", ".header 1\n.data\n .repeat 18671, 0, 0\n",
     "t.zasm:2:1: this runs to address 37346, past the end of module memory (37344 bytes): 2 "
     "bytes too many; the free space .repeat 18671, 0, 0 at t.zasm:3:2 can give them (make its "
     "count 18670)\n",
     ""},
    // SELECT tables: which SELECT, where, and how many entries are still due.
    {"a tag inside a SELECT table", ".header 1\n.script 0\n SELECT 2\n .entry 1, 2\n RETURN\n",
     "t.zasm:5:2: RETURN stands inside the table of SELECT 2 (t.zasm:3:2): 1 .entry line is "
     "still due there (make the count match the .entry lines)\n",
     ""},
    {"a table cut by the item's end", ".header 1\n.script 0\n SELECT 3\n .entry 1, 2\n",
     "t.zasm:3:2: SELECT 3: 2 .entry lines missing after it (its table of 3 .entry lines "
     "follows it directly, before anything else)\n",
     ""},
};

TEST(ZorasmDiagnostics, EachMistakeGetsTheMessageThatSaysWhatToDo) {
    for (const Case& c : kCases) {
        const zorasm::Assembly assembly = AssembleText(c.source, kFiles);
        EXPECT_EQ(Errors(assembly), c.errors) << c.what;
        EXPECT_EQ(Warnings(assembly), c.warnings) << c.what;
        // Warnings alone never fail an assembly.
        EXPECT_EQ(assembly.Ok(), c.errors.empty()) << c.what;
    }
}

// Items added to a finished vocabulary (zorasm default --with) go before its
// end marker; what would change the vocabulary itself is refused.
TEST(ZorasmDiagnostics, AddedSourcesHoldItemsOnly) {
    zorasm::MemoryFiles files;
    files.Add("main.zasm", ".header 5\n.string 0, \"a\"\n.at 10\n.end\n");
    const auto assemble = [&](const std::string& added) {
        files.Add("mine.zasm", added);
        zorasm::AssembleOptions options;
        options.added = {"mine.zasm"};
        return zorasm::Assemble({"main.zasm"}, files, options);
    };
    const zorasm::Assembly good = assemble(".equ n, 1\n.string n, \"b\"\n");
    EXPECT_EQ(Errors(good), "");
    EXPECT_EQ(good.bytes, (std::vector<uint8_t>{0, 4, 5, 0, 0,   6, 0,    4,    'a',  0,
                                                0, 6, 1, 4, 'b', 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Errors(assemble(".header 2\n.end\n .byte 1\n.string 1, \"b\"\n")),
              "mine.zasm:1:1: .header in an added source: the items join the vocabulary of the "
              "sources they are added to, which has its header; remove this line\n"
              "mine.zasm:2:1: .end in an added source: the end marker of the sources the items "
              "are added to moves behind them; remove this line\n"
              "mine.zasm:3:2: .byte before the first item of an added source would join the last "
              "item it is added after; start the source with an item\n");
    EXPECT_EQ(Errors(assemble(".string 0, \"b\"\n")),
              "mine.zasm:1:1: string 0 is defined twice: the module finds only the first, at "
              "main.zasm:2:1 (give this one another number)\n");
}

TEST(ZorasmDiagnostics, MessagesQuoteTheirLineWithACaretUnderTheColumn) {
    const zorasm::Assembly assembly = AssembleText(
        ".header 1\n.script 0\n\tLIT 0\n\tLIT 4 ; \xC3\xA9t\xC3\xA9 PUSH8\n\tPUSH8 "
        "300\n.string 2, \"\xC3\xA9\", 3\n");
    ASSERT_EQ(assembly.diagnostics.kept.size(), 2u);
    EXPECT_EQ(assembly.diagnostics.Render(assembly.diagnostics.kept[0]),
              "t.zasm:5:8: PUSH8 300 is out of range (expected -128 to 255)\n"
              "\tPUSH8 300\n"
              "\t      ^\n");
    // A character of several bytes takes one column under it.
    EXPECT_EQ(assembly.diagnostics.Render(assembly.diagnostics.kept[1]),
              "t.zasm:6:18: LENGTH 3 is out of range (expected 4 to 65534)\n"
              ".string 2, \"\xC3\xA9\", 3\n" +
                  std::string(16, ' ') + "^\n");
    // A long line is shown around its column.
    const zorasm::Assembly wide =
        AssembleText(".item 0, 6\n .byte " + std::string(300, ' ') + "1, 999\n");
    const std::string shown = wide.diagnostics.Render(wide.diagnostics.kept.at(0));
    EXPECT_EQ(shown.substr(0, shown.find('\n')),
              "t.zasm:2:311: .byte 999 is out of range (expected -128 to 255)");
    const std::string lines = shown.substr(shown.find('\n') + 1);
    EXPECT_EQ(lines.substr(0, 3), "...");
    EXPECT_LT(lines.size(), 300u);
    const size_t caretLine = lines.find('\n') + 1;
    EXPECT_EQ(lines.find("999"), lines.find('^') - caretLine);
}

TEST(ZorasmDiagnostics, SuggestionsComeFromTheNearestNamesWithinReach) {
    const std::vector<std::string> names = {"DUP", "DUP2", "DROP", "PRINT_STRING", "PRINT_U8"};
    EXPECT_EQ(zorasm::DidYouMean("DUP3", names), "; did you mean DUP or DUP2?");
    EXPECT_EQ(zorasm::DidYouMean("PIRNT_STRING", names), "; did you mean PRINT_STRING?");
    EXPECT_EQ(zorasm::DidYouMean("PRINT_U6", names), "; did you mean PRINT_U8?");
    EXPECT_EQ(zorasm::DidYouMean("SWAP", names), "");
    EXPECT_EQ(zorasm::DidYouMean(std::string(200, 'D'), names), "");
    EXPECT_EQ(zorasm::EditDistance("kitten", "sitting", 5), 3);
    EXPECT_EQ(zorasm::EditDistance("kitten", "sitting", 2), 3);  // beyond the limit: limit + 1
}

}  // namespace
}  // namespace zortest
