// The tag set as one list: for each opcode (or range sharing a handler, as
// LIT does) its mnemonic, operand kind, stack effect, summary and handler.
// The engine's dispatch table and the opcode information that the assembler,
// the disassembler and tracers read are both expanded from this list, so
// nothing repeats it; tools that expand it without handlers need none of the
// engine. Opcodes the list does not name are invalid: status 8 after their
// operand bytes have been fetched.
//
// X(first, last, mnemonic, operand kind, stack effect (top on the right), summary, handler)
#pragma once

// clang-format off
#define LCDM_OPCODE_LIST(X) \
    X(  0,   0, END,                   kWord,     "any -> empty", "both stacks emptied, status 1", TagEnd) \
    X(  1,   1, JUMP,                  kAddress,  "->", "program counter := address", TagJump) \
    X(  2,   2, CALL,                  kAddress,  "->", "return address to the return stack, jump", TagCall) \
    X(  3,   3, PUSH16,                kWord,     "-> hi lo", "push a 16-bit constant", TagPush16) \
    X( 16,  16, PUSH8,                 kByte,     "-> b", "push a byte constant", TagPush8) \
    X( 17,  17, BRANCH,                kOffset,   "->", "relative jump", TagBranch) \
    X( 18,  18, BRANCH_IF_ZERO,        kOffset,   "f ->", "relative jump if f = 0", TagBranchIfZero) \
    X( 19,  19, BRANCH_IF_NONZERO,     kOffset,   "f ->", "relative jump if f != 0", TagBranchIfNonzero) \
    X( 20,  20, SELECT,                kCount,    "s -> (by entry)", "run entry s of the following table", TagSelect) \
    X( 32,  47, LIT,                   kInOpcode, "-> n", "push opcode - 32 (0..15)", TagLit) \
    X( 48,  48, NOP,                   kNone,     "->", "nothing", TagNop) \
    X( 49,  49, DUP,                   kNone,     "a -> a a", "", TagDup) \
    X( 50,  50, DUP2,                  kNone,     "a b -> a b a b", "", TagDup2) \
    X( 51,  51, DROP,                  kNone,     "a ->", "", TagDrop) \
    X( 52,  52, DROP2,                 kNone,     "a b ->", "", TagDrop2) \
    X( 53,  53, SWAP,                  kNone,     "a b -> b a", "", TagSwap) \
    X( 54,  54, ROT,                   kNone,     "a b c -> b c a", "", TagRot) \
    X( 55,  55, OVER,                  kNone,     "a b -> a b a", "", TagOver) \
    X( 56,  56, PEEK,                  kNone,     "hi lo -> b", "byte of the processor data space", TagPeek) \
    X( 57,  57, POKE,                  kNone,     "b hi lo ->", "byte into the processor data space", TagPoke) \
    X( 58,  58, AND,                   kNone,     "a b -> a&b", "", TagAnd) \
    X( 59,  59, OR,                    kNone,     "a b -> a|b", "", TagOr) \
    X( 60,  60, XOR,                   kNone,     "a b -> a^b", "", TagXor) \
    X( 61,  61, FROM_RSTACK,           kNone,     "-> b", "byte moved from the return stack", TagFromRstack) \
    X( 62,  62, TO_RSTACK,             kNone,     "b ->", "byte moved to the return stack", TagToRstack) \
    X( 63,  63, FETCH_R,               kNone,     "-> b", "byte at the address popped from the return stack", TagFetchR) \
    X( 64,  64, NOT,                   kNone,     "a -> f", "f = 255 if a = 0", TagNot) \
    X( 65,  65, GREATER,               kNone,     "a b -> f", "unsigned a > b", TagGreater) \
    X( 66,  66, GREATER_SIGNED,        kNone,     "a b -> f", "signed a > b", TagGreaterSigned) \
    X( 67,  67, ADD,                   kNone,     "a b -> a+b", "8-bit sum", TagAdd) \
    X( 68,  68, ADD16,                 kNone,     "w1 w2 -> w1+w2", "16-bit sum", TagAdd16) \
    X( 69,  69, NEGATE,                kNone,     "a -> -a", "8-bit", TagNegate) \
    X( 70,  70, SHIFT_LEFT,            kNone,     "a n -> a<<n", "count mod 32", TagShiftLeft) \
    X( 71,  71, SHIFT_RIGHT,           kNone,     "a n -> a>>n", "count mod 32", TagShiftRight) \
    X( 72,  72, MUL_DIV,               kNone,     "a b c -> a*b/c", "full product, then divide", TagMulDiv) \
    X( 73,  73, RETURN,                kNone,     "->", "program counter from the return stack", TagReturn) \
    X( 74,  74, SKIP_IF_ZERO,          kNone,     "f ->", "skip the next tag if f = 0", TagSkipIfZero) \
    X( 75,  75, SKIP_IF_NONZERO,       kNone,     "f ->", "skip the next tag if f != 0", TagSkipIfNonzero) \
    X( 76,  76, PUSH_PC,               kNone,     "-> hi lo", "push program counter + 1", TagPushPc) \
    X( 77,  77, OUTPUT,                kNone,     "b ->", "byte to the output hook", TagOutput) \
    X( 78,  78, DELAY,                 kNone,     "n ->", "wait n ticks of 100 ms", TagDelay) \
    X( 79,  79, EQUAL,                 kNone,     "a b -> f", "a = b", TagEqual) \
    X( 80,  80, CLEAR,                 kNone,     "->", "clear the screen, cursor to (0, 0)", TagClear) \
    X( 81,  81, MOVE_TO,               kNone,     "x y ->", "set the cursor", TagMoveTo) \
    X( 82,  82, PLOT,                  kNone,     "b ->", "pixel at the cursor", TagPlot) \
    X( 83,  83, LINE_TO,               kNone,     "x y ->", "line from the cursor", TagLineTo) \
    X( 84,  84, RECTANGLE,             kNone,     "x y ->", "framed box from the cursor", TagRectangle) \
    X( 85,  85, FILL,                  kNone,     "x y p ->", "patterned fill from the cursor", TagFill) \
    X( 86,  86, EMIT,                  kNone,     "c ->", "draw one character", TagEmit) \
    X( 87,  87, EMIT_HEX,              kNone,     "b ->", "two hexadecimal digits", TagEmitHex) \
    X( 88,  88, PRINT_U8,              kNone,     "v m ->", "unsigned byte in decimal, layout m", TagPrintU8) \
    X( 89,  89, PRINT_U16,             kNone,     "w m ->", "unsigned word in decimal, layout m", TagPrintU16) \
    X( 90,  90, PRINT_S8,              kNone,     "v ->", "signed byte in 4 columns", TagPrintS8) \
    X( 91,  91, PRINT_S16,             kNone,     "w ->", "signed word in 7 columns", TagPrintS16) \
    X( 92,  92, VAR_GET,               kNone,     "i -> v", "tag variable i", TagVarGet) \
    X( 93,  93, VAR_GET16,             kNone,     "i -> hi lo", "tag variable word i", TagVarGet16) \
    X( 94,  94, VAR_SET,               kNone,     "v i ->", "tag variable i := v", TagVarSet) \
    X( 95,  95, VAR_SET16,             kNone,     "hi lo i ->", "tag variable word i := w", TagVarSet16) \
    X( 96,  96, GET_X,                 kNone,     "-> x", "cursor x as a word", TagGetX) \
    X( 97,  97, GET_Y,                 kNone,     "-> y", "cursor y as a word", TagGetY) \
    X( 98,  98, SET_LANGUAGE,          kNone,     "l ->", "change language, reselect icon set and font", TagSetLanguage) \
    X( 99,  99, GET_LANGUAGE,          kNone,     "-> l", "current language", TagGetLanguage) \
    X(100, 100, GET_FONT_CLASS,        kNone,     "-> c", "current font class", TagGetFontClass) \
    X(101, 101, UNDROP,                kNone,     "-> b", "data depth + 1", TagUndrop) \
    X(102, 102, USED_LANGUAGE,         kNone,     "i -> l", "entry i of the used-language list", TagUsedLanguage) \
    X(103, 103, DRAW_ICON,             kNone,     "hi lo -> f", "icon of the current icon set", TagDrawIcon) \
    X(104, 104, STORE_GET,             kNone,     "hi lo -> b", "label store byte", TagStoreGet) \
    X(105, 105, STORE_PUT,             kNone,     "b hi lo ->", "label store byte written", TagStorePut) \
    X(106, 106, TO_MIN_SEC,            kNone,     "v -> s m", "timer step to seconds and minutes", TagToMinSec) \
    X(107, 107, SPLIT_SERIAL,          kNone,     "b0 b1 b2 b3 -> d0 d1 d2 d3 d4 d5", "serial number to base-100 digit pairs", TagSplitSerial) \
    X(108, 108, PUSH_FIRMWARE_VERSION, kNone,     "-> 36", "", TagPushFirmwareVersion) \
    X(109, 109, PUSH_VOCABULARY_ID,    kNone,     "-> n", "vocabulary id", TagPushVocabularyId) \
    X(110, 110, SWITCH,                kNone,     "f ->", "flag to the switch hook", TagSwitch) \
    X(111, 111, NOP,                   kNone,     "->", "nothing", TagNop) \
    X(112, 112, FIND_ITEM,             kNone,     "n t -> hi lo 255 | 0", "locate a vocabulary item", TagFindItem) \
    X(113, 113, RUN_ITEM,              kNone,     "n t ->", "enter a procedure or script", TagRunItem) \
    X(114, 114, DRAW_BITMAP,           kNone,     "n t ->", "bitmap item at the cursor", TagDrawBitmap) \
    X(115, 115, SELECT_FONT,           kNone,     "n t ->", "choose text font n", TagSelectFont) \
    X(116, 116, PRINT_STRING,          kNone,     "n t ->", "string item at the cursor", TagPrintString) \
    X(117, 117, DRAW_KEY_LABEL,        kNone,     "k t ->", "label of key k at the cursor", TagDrawKeyLabel) \
    X(118, 118, SELECT_ICON_SET,       kNone,     "n t ->", "choose icon set n", TagSelectIconSet) \
    X(121, 121, DRAW_LOGO,             kNone,     "n -> r", "logo bitmap n, result code", TagDrawLogo)
// clang-format on
