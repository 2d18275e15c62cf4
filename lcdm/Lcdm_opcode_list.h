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

// Two facts about each tag that the reference of the tag set (docs/tags.md)
// gives beside its row of the list above, one table per fact, by mnemonic.
// Nothing in the module reads them.
//
// What each name of a tag's stack effect stands for (cells are bytes; a word
// is two cells, its high byte below; x and y are signed words), and what the
// tag does with it: X(mnemonic, text)
// clang-format off
#define LCDM_TAG_CELLS(X) \
    X(END, "any: whatever the stacks hold; the operand word is ignored, and the run ends") \
    X(JUMP, "the operand: an address below 37344 (status 9 otherwise)") \
    X(CALL, "the operand: an address below 37344 (status 9 otherwise); the next tag's address goes to the return stack as two cells, for RETURN") \
    X(PUSH16, "hi lo: the operand word, high byte below") \
    X(PUSH8, "b: the operand byte (-128..-1 are written as their byte)") \
    X(BRANCH, "the operand: -128..127 bytes from the next tag; a target below 0 or past 37344 sets status 9") \
    X(BRANCH_IF_ZERO, "f: a flag, popped even when the branch is refused; the operand as for BRANCH") \
    X(BRANCH_IF_NONZERO, "f: a flag, popped even when the branch is refused; the operand as for BRANCH") \
    X(SELECT, "s: the selector; the operand counts the 2-byte entries (type, number) that follow the tag. Entry s pushes its number and type and runs as its type says: 0 leaves the number (a constant), 1 and 5 RUN_ITEM, 2 DRAW_BITMAP, 3 SELECT_FONT, 4 PRINT_STRING, 6 DRAW_KEY_LABEL, others status 10. An s at or past the count runs procedure 0 with 17 pushed, which returns behind the table; a count of 0 leaves s and does nothing") \
    X(LIT, "n: the value written in the opcode, LIT 0..15 being opcodes 32..47") \
    X(NOP, "") \
    X(DUP, "a: any byte, copied") \
    X(DUP2, "a b: the two top cells (a word), copied") \
    X(DROP, "a: discarded") \
    X(DROP2, "a b: discarded (a word)") \
    X(SWAP, "a b: the two top cells, exchanged") \
    X(ROT, "a b c: the third cell from the top comes to the top") \
    X(OVER, "a b: the second cell from the top, copied to the top") \
    X(PEEK, "hi lo: an address of the processor's own 256-byte data space; b: its byte, 0 past the space") \
    X(POKE, "b: the byte; hi lo: its address in the 256-byte data space (past it status 9, and b stays)") \
    X(AND, "a b: bytes; bitwise") \
    X(OR, "a b: bytes; bitwise") \
    X(XOR, "a b: bytes; bitwise") \
    X(FROM_RSTACK, "b: the top cell of the return stack") \
    X(TO_RSTACK, "b: moved to the top of the return stack") \
    X(FETCH_R, "b: the byte at the address popped from the return stack (two cells, high below): below 1024 a byte of the frame buffer (8 per row), otherwise of module memory") \
    X(NOT, "a: any byte; f: 255 when a is 0, otherwise 0") \
    X(GREATER, "a b: bytes 0..255; f: 255 when a > b, otherwise 0") \
    X(GREATER_SIGNED, "a b: bytes -128..127; f: 255 when a > b, otherwise 0") \
    X(ADD, "a b: bytes; the sum wraps at 256") \
    X(ADD16, "w1 w2: words (two cells each); the sum wraps at 65536") \
    X(NEGATE, "a: a byte; 256 - a (0 stays 0)") \
    X(SHIFT_LEFT, "a: a byte; n: the count, taken mod 32 (8..31 give 0)") \
    X(SHIFT_RIGHT, "a: a byte; n: the count, taken mod 32 (8..31 give 0)") \
    X(MUL_DIV, "a b c: bytes; the whole product a x b divided by c, low 8 bits kept; c = 0 gives 255") \
    X(RETURN, "the address on top of the return stack (two cells) is where the run goes on") \
    X(SKIP_IF_ZERO, "f: a flag; the next tag is stepped over by its length (a SELECT so skipped loses only its opcode and count)") \
    X(SKIP_IF_NONZERO, "f: a flag; the next tag is stepped over by its length (a SELECT so skipped loses only its opcode and count)") \
    X(PUSH_PC, "hi lo: the next tag's address plus 1") \
    X(OUTPUT, "b: handed to the unit's output line (the simulator has none)") \
    X(DELAY, "n: ticks of 100 ms to wait, at least one pass even for 0; the run guard counts again from 0 after it") \
    X(EQUAL, "a b: bytes; f: 255 when a = b, otherwise 0") \
    X(CLEAR, "the whole screen cleared; the cursor at (0, 0)") \
    X(MOVE_TO, "x y: the cursor's new column and row (signed words, x below y). Right of or below the screen (x > 63, y > 127) the cursor stays where it was and no status is set; negative values are taken, and what is drawn from there is clipped") \
    X(PLOT, "b: 0 clears the pixel at the cursor, any other value sets it") \
    X(LINE_TO, "x y: the line's far end (signed words); both ends are drawn and the cursor moves to the far end. A far end right of or below the screen draws nothing and sets no status") \
    X(RECTANGLE, "x y: the corner opposite the cursor (signed words). The box covers columns cursor x to x - 1 (x excluded) and rows cursor y to y (both included); a y above the cursor's row gives only the two horizontal lines. Both corners must lie on the screen (so x is at most 63), otherwise nothing is drawn and no status is set. The cursor stays") \
    X(FILL, "x y: the corner opposite the cursor (signed words, both corners included, clipped to the screen); p: the pattern word, its low byte for even rows and its high byte for odd rows, bit 0 the leftmost column of each group of eight. The cursor stays") \
    X(EMIT, "c: a character code. 32 draws a space, 10 moves down by the cell height and line gap, 13 goes back to column 0, other codes up to 32 draw nothing; a glyph is drawn with its baseline at the cursor (the font's ascent rows above the cursor's row) and the cursor moves right by its width and the font's spacing") \
    X(EMIT_HEX, "b: drawn as two hexadecimal digits, as EMIT draws them") \
    X(PRINT_U8, "v: the byte; m: the layout: 0 three columns right-aligned with spaces, 1 the digits alone, 2 or 3 the last m digits with leading zeros, above 3 nothing") \
    X(PRINT_U16, "w: the word; m: the layout: 0 six columns right-aligned with spaces, 1 the digits alone, 2..6 the last m digits with leading zeros, above 6 nothing") \
    X(PRINT_S8, "v: a byte -128..127, right-aligned in 4 columns with spaces") \
    X(PRINT_S16, "w: a word -32768..32767, right-aligned in 7 columns with spaces") \
    X(VAR_GET, "i: a tag variable 0..63 (status 11 past it); v: its value") \
    X(VAR_GET16, "i: a word variable 0..31 (status 11 past it), tag variables 2i (high) and 2i + 1 (low); hi lo: its value") \
    X(VAR_SET, "v: the value; i: a tag variable 0..63 (status 11 past it)") \
    X(VAR_SET16, "hi lo: the word; i: a word variable 0..31, tag variables 2i and 2i + 1 (status 11 past it)") \
    X(GET_X, "x: the cursor's column as a signed word (two cells)") \
    X(GET_Y, "y: the cursor's row as a signed word (two cells)") \
    X(SET_LANGUAGE, "l: the language; its font class follows from it, and the icon set and the font last chosen are looked up again for it") \
    X(GET_LANGUAGE, "l: the current language") \
    X(GET_FONT_CLASS, "c: the font class of the current language") \
    X(UNDROP, "b: the byte last popped, uncovered again (the depth grows by one)") \
    X(USED_LANGUAGE, "i: an index into the list of languages the key labels use; l: that language, 0 past the list") \
    X(DRAW_ICON, "hi lo: an icon code; f: 255 when the current icon set holds the icon and it was drawn at the cursor (its y-offset rows above the cursor's row), otherwise 0") \
    X(STORE_GET, "hi lo: a label store address 0..8191 (status 9 past it); b: its byte") \
    X(STORE_PUT, "b: the byte; hi lo: a label store address 0..8191 (past it status 9, and b stays)") \
    X(TO_MIN_SEC, "v: a timer setting in 5-second steps counted from 1 (1 is 0 s); s: its seconds 0..59; m: its minutes") \
    X(SPLIT_SERIAL, "b0 b1 b2 b3: a 32-bit number, b0 (deepest) the lowest byte; d0 d1: its low 12 bits as two base-100 digit pairs (d0 = low mod 100); d2..d5: its high 20 bits as four pairs, d5 on top the highest") \
    X(PUSH_FIRMWARE_VERSION, "36: the firmware version, 2.4") \
    X(PUSH_VOCABULARY_ID, "n: the header item's number, 0 with no vocabulary") \
    X(SWITCH, "f: handed to the unit's switch line (the simulator has none)") \
    X(FIND_ITEM, "n t: an item number and type; found, the address of the item's body (past its 4 header bytes) and 255, otherwise 0 alone") \
    X(RUN_ITEM, "n t: an item number and type 1 (a procedure: its RETURN comes back behind the tag) or 5 (a script: its END ends the run)") \
    X(DRAW_BITMAP, "n t: a bitmap number and type 2; drawn with its top left corner at the cursor, which stays") \
    X(SELECT_FONT, "n t: a text font number and type 3; it takes effect only when the vocabulary holds font n both for class 0 and for the current language's class") \
    X(PRINT_STRING, "n t: a string number and type 4; its characters drawn as EMIT draws them, up to its 0 byte or to the first character no font has") \
    X(DRAW_KEY_LABEL, "k t: a key 1..8 (status 11 otherwise) and type 6; the key's label in the current language (a text with its baseline at the cursor, or an icon) or, when it has none, \"Button k\"") \
    X(SELECT_ICON_SET, "n t: an icon set number and type 7; the set of that number for the current language, or none when the vocabulary has none") \
    X(DRAW_LOGO, "n: a logo number; drawn with its top left corner at the cursor; r: 0 drawn, 25 the logo is disabled, 16 the label store could not be read")
// clang-format on

// The statuses each tag can set (the run guard's 40 can end any run, and an
// opcode the list does not name sets 8): X(mnemonic, status...)
// clang-format off
#define LCDM_TAG_STATUSES(X) \
    X(END, kStatusEnded) \
    X(JUMP, kStatusAddressRange) \
    X(CALL, kStatusAddressRange, kStatusReturnOverflow) \
    X(PUSH16, kStatusDataOverflow) \
    X(PUSH8, kStatusDataOverflow) \
    X(BRANCH, kStatusAddressRange) \
    X(BRANCH_IF_ZERO, kStatusDataUnderflow, kStatusAddressRange) \
    X(BRANCH_IF_NONZERO, kStatusDataUnderflow, kStatusAddressRange) \
    X(SELECT, kStatusNotFound, kStatusDataUnderflow, kStatusDataOverflow, kStatusReturnOverflow, kStatusWrongType, kStatusIndexRange, kStatusBitmapFailed) \
    X(LIT, kStatusDataOverflow) \
    X(NOP) \
    X(DUP, kStatusDataUnderflow, kStatusDataOverflow) \
    X(DUP2, kStatusDataUnderflow, kStatusDataOverflow) \
    X(DROP, kStatusDataUnderflow) \
    X(DROP2, kStatusDataUnderflow) \
    X(SWAP, kStatusDataUnderflow) \
    X(ROT, kStatusDataUnderflow) \
    X(OVER, kStatusDataUnderflow, kStatusDataOverflow) \
    X(PEEK, kStatusDataUnderflow) \
    X(POKE, kStatusDataUnderflow, kStatusAddressRange) \
    X(AND, kStatusDataUnderflow) \
    X(OR, kStatusDataUnderflow) \
    X(XOR, kStatusDataUnderflow) \
    X(FROM_RSTACK, kStatusReturnUnderflow, kStatusDataOverflow) \
    X(TO_RSTACK, kStatusDataUnderflow, kStatusReturnOverflow) \
    X(FETCH_R, kStatusReturnUnderflow, kStatusDataOverflow) \
    X(NOT, kStatusDataUnderflow) \
    X(GREATER, kStatusDataUnderflow) \
    X(GREATER_SIGNED, kStatusDataUnderflow) \
    X(ADD, kStatusDataUnderflow) \
    X(ADD16, kStatusDataUnderflow) \
    X(NEGATE, kStatusDataUnderflow) \
    X(SHIFT_LEFT, kStatusDataUnderflow) \
    X(SHIFT_RIGHT, kStatusDataUnderflow) \
    X(MUL_DIV, kStatusDataUnderflow) \
    X(RETURN, kStatusReturnUnderflow) \
    X(SKIP_IF_ZERO, kStatusDataUnderflow) \
    X(SKIP_IF_NONZERO, kStatusDataUnderflow) \
    X(PUSH_PC, kStatusDataOverflow) \
    X(OUTPUT, kStatusDataUnderflow) \
    X(DELAY, kStatusDataUnderflow) \
    X(EQUAL, kStatusDataUnderflow) \
    X(CLEAR) \
    X(MOVE_TO, kStatusDataUnderflow) \
    X(PLOT, kStatusDataUnderflow) \
    X(LINE_TO, kStatusDataUnderflow) \
    X(RECTANGLE, kStatusDataUnderflow) \
    X(FILL, kStatusDataUnderflow) \
    X(EMIT, kStatusDataUnderflow) \
    X(EMIT_HEX, kStatusDataUnderflow) \
    X(PRINT_U8, kStatusDataUnderflow) \
    X(PRINT_U16, kStatusDataUnderflow) \
    X(PRINT_S8, kStatusDataUnderflow) \
    X(PRINT_S16, kStatusDataUnderflow) \
    X(VAR_GET, kStatusDataUnderflow, kStatusIndexRange) \
    X(VAR_GET16, kStatusDataUnderflow, kStatusDataOverflow, kStatusIndexRange) \
    X(VAR_SET, kStatusDataUnderflow, kStatusIndexRange) \
    X(VAR_SET16, kStatusDataUnderflow, kStatusIndexRange) \
    X(GET_X, kStatusDataOverflow) \
    X(GET_Y, kStatusDataOverflow) \
    X(SET_LANGUAGE, kStatusDataUnderflow, kStatusDataOverflow) \
    X(GET_LANGUAGE, kStatusDataOverflow) \
    X(GET_FONT_CLASS, kStatusDataOverflow) \
    X(UNDROP, kStatusDataOverflow) \
    X(USED_LANGUAGE, kStatusDataUnderflow) \
    X(DRAW_ICON, kStatusDataUnderflow) \
    X(STORE_GET, kStatusDataUnderflow, kStatusAddressRange) \
    X(STORE_PUT, kStatusDataUnderflow, kStatusAddressRange) \
    X(TO_MIN_SEC, kStatusDataUnderflow, kStatusDataOverflow) \
    X(SPLIT_SERIAL, kStatusDataUnderflow, kStatusDataOverflow) \
    X(PUSH_FIRMWARE_VERSION, kStatusDataOverflow) \
    X(PUSH_VOCABULARY_ID, kStatusDataOverflow) \
    X(SWITCH, kStatusDataUnderflow) \
    X(FIND_ITEM, kStatusDataUnderflow, kStatusDataOverflow) \
    X(RUN_ITEM, kStatusNotFound, kStatusDataUnderflow, kStatusReturnOverflow, kStatusWrongType) \
    X(DRAW_BITMAP, kStatusNotFound, kStatusDataUnderflow, kStatusWrongType, kStatusBitmapFailed) \
    X(SELECT_FONT, kStatusDataUnderflow, kStatusWrongType) \
    X(PRINT_STRING, kStatusNotFound, kStatusDataUnderflow, kStatusWrongType) \
    X(DRAW_KEY_LABEL, kStatusDataUnderflow, kStatusWrongType, kStatusIndexRange) \
    X(SELECT_ICON_SET, kStatusDataUnderflow, kStatusWrongType) \
    X(DRAW_LOGO, kStatusDataUnderflow, kStatusDataOverflow)
// clang-format on
