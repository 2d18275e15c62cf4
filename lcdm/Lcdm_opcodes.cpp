// The opcode table. Each row covers one opcode (or a range that shares a
// handler, as LIT does); every opcode no row names is invalid and sets status 8
// after its operand bytes have been fetched.
#include "Lcdm_opcodes.h"

#include "Lcdm_tag_support.h"

namespace lcdm {
namespace {

using K = OperandKind;

struct Row {
    uint8_t first;
    uint8_t last;
    const char* mnemonic;
    OperandKind operand;
    const char* stackEffect;
    const char* summary;
    TagHandler handler;
};

// clang-format off
constexpr Row kRows[] = {
    // first last  mnemonic                operand        stack effect               summary
    {  0,   0,  "END",                  K::kWord,     "any -> empty",          "both stacks emptied, status 1",           TagEnd},
    {  1,   1,  "JUMP",                 K::kAddress,  "->",                    "program counter := address",              TagJump},
    {  2,   2,  "CALL",                 K::kAddress,  "->",                    "return address to the return stack, jump", TagCall},
    {  3,   3,  "PUSH16",               K::kWord,     "-> hi lo",              "push a 16-bit constant",                  TagPush16},
    { 16,  16,  "PUSH8",                K::kByte,     "-> b",                  "push a byte constant",                    TagPush8},
    { 17,  17,  "BRANCH",               K::kOffset,   "->",                    "relative jump",                           TagBranch},
    { 18,  18,  "BRANCH_IF_ZERO",       K::kOffset,   "f ->",                  "relative jump if f = 0",                  TagBranchIfZero},
    { 19,  19,  "BRANCH_IF_NONZERO",    K::kOffset,   "f ->",                  "relative jump if f != 0",                 TagBranchIfNonzero},
    { 20,  20,  "SELECT",               K::kCount,    "s -> (by entry)",       "run entry s of the following table",      TagSelect},
    { 32,  47,  "LIT",                  K::kInOpcode, "-> n",                  "push opcode - 32 (0..15)",                TagLit},
    { 48,  48,  "NOP",                  K::kNone,     "->",                    "nothing",                                 TagNop},
    { 49,  49,  "DUP",                  K::kNone,     "a -> a a",              "",                                        TagDup},
    { 50,  50,  "DUP2",                 K::kNone,     "a b -> a b a b",        "",                                        TagDup2},
    { 51,  51,  "DROP",                 K::kNone,     "a ->",                  "",                                        TagDrop},
    { 52,  52,  "DROP2",                K::kNone,     "a b ->",                "",                                        TagDrop2},
    { 53,  53,  "SWAP",                 K::kNone,     "a b -> b a",            "",                                        TagSwap},
    { 54,  54,  "ROT",                  K::kNone,     "a b c -> b c a",        "",                                        TagRot},
    { 55,  55,  "OVER",                 K::kNone,     "a b -> a b a",          "",                                        TagOver},
    { 56,  56,  "PEEK",                 K::kNone,     "hi lo -> b",            "byte of the processor data space",        TagPeek},
    { 57,  57,  "POKE",                 K::kNone,     "b hi lo ->",            "byte into the processor data space",      TagPoke},
    { 58,  58,  "AND",                  K::kNone,     "a b -> a&b",            "",                                        TagAnd},
    { 59,  59,  "OR",                   K::kNone,     "a b -> a|b",            "",                                        TagOr},
    { 60,  60,  "XOR",                  K::kNone,     "a b -> a^b",            "",                                        TagXor},
    { 61,  61,  "FROM_RSTACK",          K::kNone,     "-> b",                  "byte moved from the return stack",        TagFromRstack},
    { 62,  62,  "TO_RSTACK",            K::kNone,     "b ->",                  "byte moved to the return stack",          TagToRstack},
    { 63,  63,  "FETCH_R",              K::kNone,     "-> b",                  "byte at the address popped from the return stack", TagFetchR},
    { 64,  64,  "NOT",                  K::kNone,     "a -> f",                "f = 255 if a = 0",                        TagNot},
    { 65,  65,  "GREATER",              K::kNone,     "a b -> f",              "unsigned a > b",                          TagGreater},
    { 66,  66,  "GREATER_SIGNED",       K::kNone,     "a b -> f",              "signed a > b",                            TagGreaterSigned},
    { 67,  67,  "ADD",                  K::kNone,     "a b -> a+b",            "8-bit sum",                               TagAdd},
    { 68,  68,  "ADD16",                K::kNone,     "w1 w2 -> w1+w2",        "16-bit sum",                              TagAdd16},
    { 69,  69,  "NEGATE",               K::kNone,     "a -> -a",               "8-bit",                                   TagNegate},
    { 70,  70,  "SHIFT_LEFT",           K::kNone,     "a n -> a<<n",           "count mod 32",                            TagShiftLeft},
    { 71,  71,  "SHIFT_RIGHT",          K::kNone,     "a n -> a>>n",           "count mod 32",                            TagShiftRight},
    { 72,  72,  "MUL_DIV",              K::kNone,     "a b c -> a*b/c",        "full product, then divide",               TagMulDiv},
    { 73,  73,  "RETURN",               K::kNone,     "->",                    "program counter from the return stack",   TagReturn},
    { 74,  74,  "SKIP_IF_ZERO",         K::kNone,     "f ->",                  "skip the next tag if f = 0",              TagSkipIfZero},
    { 75,  75,  "SKIP_IF_NONZERO",      K::kNone,     "f ->",                  "skip the next tag if f != 0",             TagSkipIfNonzero},
    { 76,  76,  "PUSH_PC",              K::kNone,     "-> hi lo",              "push program counter + 1",                TagPushPc},
    { 77,  77,  "OUTPUT",               K::kNone,     "b ->",                  "byte to the output hook",                 TagOutput},
    { 78,  78,  "DELAY",                K::kNone,     "n ->",                  "wait n ticks of 100 ms",                  TagDelay},
    { 79,  79,  "EQUAL",                K::kNone,     "a b -> f",              "a = b",                                   TagEqual},
    { 80,  80,  "CLEAR",                K::kNone,     "->",                    "clear the screen, cursor to (0, 0)",      TagClear},
    { 81,  81,  "MOVE_TO",              K::kNone,     "x y ->",                "set the cursor",                          TagMoveTo},
    { 82,  82,  "PLOT",                 K::kNone,     "b ->",                  "pixel at the cursor",                     TagPlot},
    { 83,  83,  "LINE_TO",              K::kNone,     "x y ->",                "line from the cursor",                    TagLineTo},
    { 84,  84,  "RECTANGLE",            K::kNone,     "x y ->",                "framed box from the cursor",              TagRectangle},
    { 85,  85,  "FILL",                 K::kNone,     "x y p ->",              "patterned fill from the cursor",          TagFill},
    { 86,  86,  "EMIT",                 K::kNone,     "c ->",                  "draw one character",                      TagEmit},
    { 87,  87,  "EMIT_HEX",             K::kNone,     "b ->",                  "two hexadecimal digits",                  TagEmitHex},
    { 88,  88,  "PRINT_U8",             K::kNone,     "v m ->",                "unsigned byte in decimal, layout m",      TagPrintU8},
    { 89,  89,  "PRINT_U16",            K::kNone,     "w m ->",                "unsigned word in decimal, layout m",      TagPrintU16},
    { 90,  90,  "PRINT_S8",             K::kNone,     "v ->",                  "signed byte in 4 columns",                TagPrintS8},
    { 91,  91,  "PRINT_S16",            K::kNone,     "w ->",                  "signed word in 7 columns",                TagPrintS16},
    { 92,  92,  "VAR_GET",              K::kNone,     "i -> v",                "tag variable i",                          TagVarGet},
    { 93,  93,  "VAR_GET16",            K::kNone,     "i -> hi lo",            "tag variable word i",                     TagVarGet16},
    { 94,  94,  "VAR_SET",              K::kNone,     "v i ->",                "tag variable i := v",                     TagVarSet},
    { 95,  95,  "VAR_SET16",            K::kNone,     "hi lo i ->",            "tag variable word i := w",                TagVarSet16},
    { 96,  96,  "GET_X",                K::kNone,     "-> x",                  "cursor x as a word",                      TagGetX},
    { 97,  97,  "GET_Y",                K::kNone,     "-> y",                  "cursor y as a word",                      TagGetY},
    { 98,  98,  "SET_LANGUAGE",         K::kNone,     "l ->",                  "change language, reselect icon set and font", TagSetLanguage},
    { 99,  99,  "GET_LANGUAGE",         K::kNone,     "-> l",                  "current language",                        TagGetLanguage},
    {100, 100,  "GET_FONT_CLASS",       K::kNone,     "-> c",                  "current font class",                      TagGetFontClass},
    {101, 101,  "UNDROP",               K::kNone,     "-> b",                  "data depth + 1",                          TagUndrop},
    {102, 102,  "USED_LANGUAGE",        K::kNone,     "i -> l",                "entry i of the used-language list",       TagUsedLanguage},
    {103, 103,  "DRAW_ICON",            K::kNone,     "hi lo -> f",            "icon of the current icon set",            TagDrawIcon},
    {104, 104,  "STORE_GET",            K::kNone,     "hi lo -> b",            "label store byte",                        TagStoreGet},
    {105, 105,  "STORE_PUT",            K::kNone,     "b hi lo ->",            "label store byte written",                TagStorePut},
    {106, 106,  "TO_MIN_SEC",           K::kNone,     "v -> s m",              "timer step to seconds and minutes",       TagToMinSec},
    {107, 107,  "SPLIT_SERIAL",         K::kNone,     "b0 b1 b2 b3 -> d0 d1 d2 d3 d4 d5", "serial number to base-100 digit pairs", TagSplitSerial},
    {108, 108,  "PUSH_FIRMWARE_VERSION", K::kNone,    "-> 36",                 "",                                        TagPushFirmwareVersion},
    {109, 109,  "PUSH_VOCABULARY_ID",   K::kNone,     "-> n",                  "vocabulary id",                           TagPushVocabularyId},
    {110, 110,  "SWITCH",               K::kNone,     "f ->",                  "flag to the switch hook",                 TagSwitch},
    {111, 111,  "NOP",                  K::kNone,     "->",                    "nothing",                                 TagNop},
    {112, 112,  "FIND_ITEM",            K::kNone,     "n t -> hi lo 255 | 0",  "locate a vocabulary item",                TagFindItem},
    {113, 113,  "RUN_ITEM",             K::kNone,     "n t ->",                "enter a procedure or script",             TagRunItem},
    {114, 114,  "DRAW_BITMAP",          K::kNone,     "n t ->",                "bitmap item at the cursor",               TagDrawBitmap},
    {115, 115,  "SELECT_FONT",          K::kNone,     "n t ->",                "choose text font n",                      TagSelectFont},
    {116, 116,  "PRINT_STRING",         K::kNone,     "n t ->",                "string item at the cursor",               TagPrintString},
    {117, 117,  "DRAW_KEY_LABEL",       K::kNone,     "k t ->",                "label of key k at the cursor",            TagDrawKeyLabel},
    {118, 118,  "SELECT_ICON_SET",      K::kNone,     "n t ->",                "choose icon set n",                       TagSelectIconSet},
    {121, 121,  "DRAW_LOGO",            K::kNone,     "n -> r",                "logo bitmap n, result code",              TagDrawLogo},
};
// clang-format on

struct Table {
    OpcodeInfo entries[256];
};

constexpr OperandKind InvalidOperand(uint8_t opcode) {
    return opcode < 16 ? K::kWord : opcode < 32 ? K::kByte : K::kNone;
}

constexpr Table BuildTable() {
    Table table{};
    for (int op = 0; op < 256; ++op) {
        const auto code = static_cast<uint8_t>(op);
        table.entries[op] = {nullptr, EncodedLength(code), InvalidOperand(code), "->",
                             "invalid opcode: status 8", TagInvalid};
    }
    for (const Row& row : kRows)
        for (int op = row.first; op <= row.last; ++op)
            table.entries[op] = {row.mnemonic, EncodedLength(static_cast<uint8_t>(op)),
                                 row.operand, row.stackEffect, row.summary, row.handler};
    return table;
}

constexpr Table kTable = BuildTable();

}  // namespace

const OpcodeInfo& Opcode(uint8_t opcode) { return kTable.entries[opcode]; }

}  // namespace lcdm
