// The default memory image item by item: its layout, strings, bitmaps, fonts
// and icon set hold the byte values that hosts rely on, its vocabulary answers
// the lookups as a host expects, and its programs draw every page and learn
// screen to a normal end with balanced stacks.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Lcdm.h"

namespace {

using namespace lcdm;

constexpr uint16_t kEndMarker = 18834;
constexpr uint16_t kItemCount = 168;  // header included

// The module starts with the default image in its memory.
void LoadDefaultImage() { ModuleReset(); }

uint16_t Word(uint16_t address) {
    return ReadMemoryWord(address);
}
uint16_t Length(uint16_t item) {
    return Word(item);
}

class DefaultImageTest : public ::testing::Test {
protected:
    void SetUp() override { LoadDefaultImage(); }

    // Addresses of the chain's items from the header on, up to the end marker.
    static std::vector<uint16_t> Chain() {
        std::vector<uint16_t> items;
        for (uint16_t at = 0; at < kModuleMemorySize && Length(at) != 0 && Length(at) != 0xFFFF;
             at = static_cast<uint16_t>(at + Length(at)))
            items.push_back(at);
        return items;
    }

    // The one item with this number and type, found by walking the chain.
    static uint16_t Item(uint8_t number, uint8_t type) {
        for (uint16_t at : Chain())
            if (ItemNumber(at) == number && ItemType(at) == type) return at;
        ADD_FAILURE() << "no item " << int(number) << " of type " << int(type);
        return 0;
    }

    static std::vector<uint8_t> Bytes(uint16_t address, uint16_t count) {
        std::vector<uint8_t> bytes;
        for (uint16_t i = 0; i < count; ++i)
            bytes.push_back(ReadMemoryByte(static_cast<uint16_t>(address + i)));
        return bytes;
    }
};

// ----------------------------------------------------------------- layout ---

struct ItemRun {
    uint16_t start;
    uint8_t type;
    uint8_t first;
    uint8_t last;
};

// Runs of items of one type, in chain order; each run ends where the next begins.
const ItemRun kRuns[] = {
    {0, kItemHeader, 33, 33},     {4, kItemProcedure, 0, 0},
    {18, kItemBitmap, 0, 59},     {3433, kItemProcedure, 1, 20},
    {4342, kItemString, 0, 4},    {4406, kItemProcedure, 21, 25},
    {4633, kItemString, 5, 6},    {4651, kItemProcedure, 26, 26},
    {4819, kItemString, 7, 8},    {4837, kItemProcedure, 27, 27},
    {4883, kItemString, 9, 9},    {4896, kItemProcedure, 28, 28},
    {4931, kItemString, 10, 10},  {4941, kItemProcedure, 29, 29},
    {4979, kItemTextFont, 0, 0},  {6501, kItemTextFont, 0, 0},
    {8060, kItemIconSet, 0, 0},   {16826, kItemProcedure, 30, 31},
    {16979, kItemString, 11, 13}, {17011, kItemProcedure, 32, 32},
    {17061, kItemString, 14, 14}, {17070, kItemProcedure, 33, 33},
    {17089, kItemString, 15, 16}, {17117, kItemProcedure, 34, 34},
    {17139, kItemString, 17, 17}, {17149, kItemProcedure, 35, 35},
    {17186, kItemString, 18, 18}, {17197, kItemProcedure, 36, 36},
    {17239, kItemString, 19, 19}, {17249, kItemProcedure, 37, 37},
    {17283, kItemString, 20, 20}, {17294, kItemProcedure, 38, 38},
    {17319, kItemString, 21, 23}, {17353, kItemProcedure, 39, 39},
    {17405, kItemString, 24, 24}, {17413, kItemProcedure, 40, 46},
    {17897, kItemString, 25, 29}, {17953, kItemProcedure, 47, 47},
    {18027, kItemString, 30, 33}, {18074, kItemProcedure, 48, 48},
    {18119, kItemString, 34, 35}, {18140, kItemProcedure, 49, 50},
    {18249, kItemString, 36, 36}, {18259, kItemProcedure, 51, 52},
    {18335, kItemScript, 0, 8},   {18691, kItemProcedure, 53, 53},
    {18713, kItemScript, 9, 12},
};

TEST_F(DefaultImageTest, EveryRunStartsAtItsAddressAndEndsWhereTheNextBegins) {
    const std::vector<uint16_t> chain = Chain();
    ASSERT_EQ(chain.size(), kItemCount);
    size_t index = 0;
    for (size_t r = 0; r < std::size(kRuns); ++r) {
        const ItemRun& run = kRuns[r];
        const uint16_t end = r + 1 < std::size(kRuns) ? kRuns[r + 1].start : kEndMarker;
        ASSERT_LT(index, chain.size());
        EXPECT_EQ(chain[index], run.start)
            << "run of type " << int(run.type) << " from " << int(run.first);
        for (int number = run.first; number <= run.last; ++number, ++index) {
            ASSERT_LT(index, chain.size());
            const uint16_t at = chain[index];
            SCOPED_TRACE("item at " + std::to_string(at));
            EXPECT_EQ(ItemType(at), run.type);
            EXPECT_EQ(ItemNumber(at), number);
            EXPECT_GE(Length(at), kItemHeaderSize);
            EXPECT_LE(at + Length(at), end);
        }
        EXPECT_EQ(index < chain.size() ? chain[index] : kEndMarker, end) << "gap after run " << r;
    }
    EXPECT_EQ(index, chain.size());
    EXPECT_EQ(Length(0), 4);
}

TEST_F(DefaultImageTest, TotalsPerTypeAreThoseOfTheDefaultVocabulary) {
    int count[8] = {};
    for (uint16_t at : Chain()) ++count[ItemType(at) & 7];
    EXPECT_EQ(count[kItemHeader], 1);
    EXPECT_EQ(count[kItemProcedure], 54);
    EXPECT_EQ(count[kItemBitmap], 60);
    EXPECT_EQ(count[kItemString], 37);
    EXPECT_EQ(count[kItemTextFont], 2);
    EXPECT_EQ(count[kItemIconSet], 1);
    EXPECT_EQ(count[kItemScript], 13);
    EXPECT_EQ(count[6], 0);
}

TEST_F(DefaultImageTest, EndMarkerIsFollowedByFreeSpaceOfZeros) {
    EXPECT_EQ(Bytes(kEndMarker, 4), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    uint32_t nonZero = 0;
    for (uint32_t at = kEndMarker + 4; at < kModuleMemorySize; ++at)
        nonZero += Memory.ModuleMemory[at] != 0;
    EXPECT_EQ(nonZero, 0u);
    EXPECT_EQ(kModuleMemorySize - (kEndMarker + 4), 18506);
}

// ---------------------------------------------------------------- strings ---

const char* const kStrings[] = {
    "Locate", "Serial No:", "App No:",   "2nd App:", "Voltage:", "None",     "Hide",
    "Select", "OK",         "Schedule",  "Event",    "Timer=",   "Toggle",   "5 sec",
    "Btn:",   "Single Btn", "Dual Btn",  "Ready",    "Dimmer",   "Timer",    "Custom",
    "On/Off", "On+Up",      "Off+Down",  "Off",      "Welcome",  "to Q-Net", "Learn",
    "Mode!",  "Group:",     "Resolving", "unit",     "address",  "Busy...",  "Storing",
    "data",   "LEARN",
};

TEST_F(DefaultImageTest, StringsHoldTheirTextsEndedByOneZero) {
    ASSERT_EQ(std::size(kStrings), 37u);
    for (uint8_t n = 0; n < 37; ++n) {
        const std::string text = kStrings[n];
        const uint16_t at = Item(n, kItemString);
        SCOPED_TRACE("string " + std::to_string(n));
        ASSERT_EQ(Length(at), 5 + text.size());
        const std::vector<uint8_t> body = Bytes(at + 4, static_cast<uint16_t>(text.size() + 1));
        EXPECT_EQ(std::string(body.begin(), body.end() - 1), text);
        EXPECT_EQ(body.back(), 0);
    }
}

// ---------------------------------------------------------------- bitmaps ---

struct BitmapShape {
    uint8_t compression;
    uint16_t width;
    uint16_t height;
};

BitmapShape ExpectedBitmap(int n) {
    if (n <= 2) return {0, 12, 5};
    if (n <= 6) return {0, 13, 5};
    if (n == 10 || n == 18) return {2, 51, 7};
    if (n == 16 || n == 17) return {1, 51, 7};
    if (n <= 15 || (n >= 40 && n <= 42)) return {0, 51, 7};
    if (n >= 43) return {static_cast<uint8_t>(n == 50 ? 1 : n == 51 ? 2 : 0), 3, 5};
    const BitmapShape others[] = {
        {1, 39, 16}, {1, 17, 16}, {1, 17, 16}, {1, 25, 29}, {2, 26, 29}, {0, 26, 5},   // 19..24
        {0, 15, 16}, {1, 64, 35}, {0, 16, 11}, {0, 12, 12}, {1, 30, 31}, {0, 33, 5},   // 25..30
        {0, 62, 5},  {0, 56, 5},  {0, 64, 5},  {0, 45, 5},  {0, 64, 83}, {1, 29, 49},  // 31..36
        {0, 64, 14}, {0, 41, 5},  {0, 35, 5},                                          // 37..39
    };
    return others[n - 19];
}

// Nibbles a coded stream emits: runs of 7..1 or 16, copies of 127..1 or 256.
uint32_t CodedNibbles(const std::vector<uint8_t>& data) {
    uint32_t nibbles = 0;
    for (uint8_t b : data) {
        if (b < 0x80)
            nibbles += (b >> 4) == 7 ? 16 : 7 - (b >> 4);
        else
            nibbles += b == 0xFF ? 256 : 127 - (b & 0x7F);
    }
    return nibbles;
}

TEST_F(DefaultImageTest, BitmapHeadersGiveTheirCompressionSizeAndDataLength) {
    for (int n = 0; n < 60; ++n) {
        SCOPED_TRACE("bitmap " + std::to_string(n));
        const uint16_t at = Item(static_cast<uint8_t>(n), kItemBitmap);
        const BitmapShape shape = ExpectedBitmap(n);
        const uint16_t body = at + 4;
        const uint16_t dataLength = Word(body + 1);
        EXPECT_EQ(ReadMemoryByte(body), shape.compression);
        EXPECT_EQ(Word(body + 3), shape.width);
        EXPECT_EQ(Word(body + 5), shape.height);
        EXPECT_EQ(ReadMemoryByte(body + 7), 0);
        EXPECT_EQ(dataLength, Length(at) - 12);
        const uint32_t rowBytes = (shape.width + 7) / 8;
        if (shape.compression == 0) {
            EXPECT_EQ(dataLength, shape.height * rowBytes);
        } else {
            // A coded picture decodes to its full height; a last run may spill
            // into an incomplete row, which is never drawn.
            const uint32_t rows = CodedNibbles(Bytes(body + 8, dataLength)) / (2 * rowBytes);
            EXPECT_EQ(rows, shape.height);
        }
    }
}

// ------------------------------------------------------------------ fonts ---

// The address after `count` glyphs of the proportional font whose glyphs start at `at`.
uint16_t SkipGlyphs(uint16_t at, int count) {
    for (int i = 0; i < count; ++i) {
        const int rows = (ReadMemoryByte(at) & 0x0F) + 1;
        const int width = ReadMemoryByte(at + 1);
        const int rowBytes = (width - 1) / 8 + 1;
        at = static_cast<uint16_t>(at + rows * rowBytes + 2);
    }
    return at;
}

TEST_F(DefaultImageTest, TextFontsHaveTheirHeadersAndFillTheirItems) {
    const uint16_t class0 = 4979;
    const uint16_t class2 = 6501;
    ASSERT_EQ(Length(class0), 1522);
    ASSERT_EQ(Length(class2), 1559);
    EXPECT_EQ(Bytes(class0 + 4, 9), (std::vector<uint8_t>{0x80, 0x21, 0x7E, 6, 15, 10, 0, 0, 0}));
    EXPECT_EQ(Bytes(class2 + 4, 9), (std::vector<uint8_t>{0x80, 0x7F, 0xFF, 13, 15, 10, 0, 0, 2}));

    // Class 0: 94 glyphs for 0x21..0x7E, then 129 blank three-byte glyphs to the item's end.
    const uint16_t blanks = SkipGlyphs(class0 + 13, 94);
    EXPECT_EQ(blanks + 129 * 3, class0 + 1522);
    for (int i = 0; i < 129; ++i)
        ASSERT_EQ(Bytes(blanks + 3 * i, 3), (std::vector<uint8_t>{0xF0, 0x05, 0x00})) << i;

    // Class 2: 129 glyphs for 0x7F..0xFF, the last ending with the item.
    EXPECT_EQ(SkipGlyphs(class2 + 13, 129), class2 + 1559);
}

// --------------------------------------------------------------- icon set ---

TEST_F(DefaultImageTest, IconSetHoldsIconsOneToNinetyOneUpToItsEnd) {
    const uint16_t at = 8060;
    ASSERT_EQ(Length(at), 8766);
    EXPECT_EQ(ReadMemoryByte(at + 4), 0);
    EXPECT_EQ(ReadMemoryByte(at + 5), 0xCA);
    uint16_t record = at + 6;
    for (uint16_t code = 1; code <= 91; ++code) {
        SCOPED_TRACE("icon " + std::to_string(code));
        ASSERT_LT(record, at + Length(at));
        const uint8_t width = ReadMemoryByte(record + 4);
        EXPECT_EQ(Word(record + 2), code);
        EXPECT_GE(width, 17);
        EXPECT_LE(width, 62);
        EXPECT_EQ(ReadMemoryByte(record + 5), 16);  // rows
        EXPECT_EQ(ReadMemoryByte(record + 6), 10);  // yOffset
        EXPECT_EQ(ReadMemoryByte(record + 7), 0);
        EXPECT_EQ(Word(record), 8 + 16 * ((width + 7) / 8));
        record = static_cast<uint16_t>(record + Word(record));
    }
    EXPECT_EQ(record, at + Length(at));
}

// ---------------------------------------------------------------- lookups ---

TEST_F(DefaultImageTest, InitialisingAtZeroFindsTheWholeVocabulary) {
    Labels.LabelStore[16] = 0xFF;
    Labels.LabelStore[17] = 0xFF;
    EXPECT_EQ(InitVocabulary(0), kItemCount);
    EXPECT_EQ(Vocabulary.vocabularyId, 33);
    EXPECT_EQ(Vocabulary.vocabularyStart, 0);
    EXPECT_EQ(Vocabulary.lastItem, 18826);
    ASSERT_EQ(Vocabulary.fontClasses.count, 2);
    EXPECT_EQ(Vocabulary.fontClasses.entries[0], 0);
    EXPECT_EQ(Vocabulary.fontClasses.entries[1], 2);
    ASSERT_EQ(Vocabulary.availableLanguages.count, 1);
    EXPECT_EQ(Vocabulary.availableLanguages.entries[0], 0xCA);
    EXPECT_EQ(Vocabulary.currentIconSet, 8064);
    EXPECT_EQ(Labels.LabelStore[16], 0);  // the vocabulary's start, high byte first
    EXPECT_EQ(Labels.LabelStore[17], 0);
}

TEST_F(DefaultImageTest, LookupsAnswerWithTheImagesAddresses) {
    ASSERT_EQ(InitVocabulary(0), kItemCount);
    EXPECT_EQ(FindVocabularyItem(7, kItemBitmap), 172);
    EXPECT_EQ(FindVocabularyItem(99, kItemBitmap), 0);
    EXPECT_EQ(FindVocabularyItem(33, kItemHeader), 0);  // the header is never returned
    EXPECT_EQ(FindTextFont(0, 0), 4983);
    EXPECT_EQ(FindTextFont(0, 2), 6505);
    EXPECT_EQ(FindTextFont(0, 1), 0);
    EXPECT_EQ(FindIconSet(0, 0xCA), 8064);
    EXPECT_EQ(FindIconSet(0, 1), 0);
    EXPECT_EQ(NthItem(0), 0);
    EXPECT_EQ(NthItem(1), 4);
    EXPECT_EQ(NthItem(kItemCount - 1), 18826);
    EXPECT_EQ(NthItem(kItemCount), kEndMarker);
    EXPECT_EQ(NthItem(kItemCount + 1), 0);
}

TEST_F(DefaultImageTest, FindIconFindsCodesOneToNinetyOneOnly) {
    ASSERT_EQ(InitVocabulary(0), kItemCount);
    for (uint16_t code = 1; code <= 91; ++code) {
        const uint16_t record = FindIcon(code);
        ASSERT_NE(record, 0) << code;
        EXPECT_EQ(Word(record + 2), code);
        EXPECT_GT(record, 8064);
        EXPECT_LT(record, 16826);
    }
    EXPECT_EQ(FindIcon(0), 0);
    EXPECT_EQ(FindIcon(92), 0);
    EXPECT_EQ(FindIcon(0x0100), 0);
}

// --------------------------------------------------------------- programs ---

TEST_F(DefaultImageTest, ScriptOneAndProcedure53HoldTheirExactBytes) {
    const uint16_t script1 = Item(1, kItemScript);
    ASSERT_EQ(Length(script1), 24);
    EXPECT_EQ(Bytes(script1 + 4, 20),
              (std::vector<uint8_t>{0x10, 0x11, 0x5E, 0x22, 0x21, 0x71, 0x23, 0x21, 0x71, 0x3A,
                                    0x12, 0x05, 0x21, 0x10, 0x14, 0x21, 0x71, 0x00, 0x00, 0x00}));
    const uint16_t procedure53 = Item(53, kItemProcedure);
    ASSERT_EQ(procedure53, 18691);
    ASSERT_EQ(Length(procedure53), 22);
    EXPECT_EQ(Bytes(procedure53 + 4, 18),
              (std::vector<uint8_t>{0x10, 0x1A, 0x5C, 0x27, 0x3A, 0x14, 0x05, 0x01, 0x1F, 0x01,
                                    0x33, 0x01, 0x15, 0x01, 0x1C, 0x01, 0x1D, 0x49}));
}

// Scripts 2..8 are script 1 for their key; for keys 5..8 the flag of
// procedure 2 (keys 1..4 shown) is inverted before it is combined.
TEST_F(DefaultImageTest, KeyScriptsFollowTheirPattern) {
    for (uint8_t n = 1; n <= 8; ++n) {
        std::vector<uint8_t> expected = {0x10, static_cast<uint8_t>(16 + n), 0x5E, 0x22, 0x21,
                                         0x71};
        if (n >= 5) expected.push_back(0x40);  // NOT
        const std::vector<uint8_t> tail = {
            0x23, 0x21, 0x71, 0x3A, 0x12, 0x05, static_cast<uint8_t>(0x20 + n),
            0x10, 0x14, 0x21, 0x71, 0x00, 0x00, 0x00};
        expected.insert(expected.end(), tail.begin(), tail.end());
        const uint16_t at = Item(n, kItemScript);
        SCOPED_TRACE("script " + std::to_string(n));
        ASSERT_EQ(Length(at), 4 + expected.size());
        EXPECT_EQ(Bytes(at + 4, static_cast<uint16_t>(expected.size())), expected);
    }
}

// ------------------------------------------------------------------ pages ---

// Stack depths at the END of the script that ran last (-1: no END reached).
struct EndDepths {
    int data = -1;
    int ret = -1;
};
EndDepths gEndDepths;

void RecordEnd(uint16_t, uint8_t opcode, uint8_t, uint8_t) {
    if (opcode == 0) gEndDepths = {Engine.dataDepth, Engine.returnDepth};
}

// The module as the window leaves it after start-up: label store all 255, the
// vocabulary initialised, every key a "Toggle" (function code 1).
class DefaultPagesTest : public DefaultImageTest {
protected:
    void SetUp() override {
        DefaultImageTest::SetUp();
        std::memset(Labels.LabelStore, 0xFF, kLabelStoreSize);
        ASSERT_EQ(InitVocabulary(0), kItemCount);
        for (int key = 1; key <= 8; ++key) Var(key) = 1;
        SetTagTraceHook(RecordEnd);
    }
    void TearDown() override { SetTagTraceHook(nullptr); }

    static uint8_t& Var(int index) { return Engine.TagVariables[index]; }

    // Runs a script and holds when it reached END normally with `dataLeft`
    // bytes on the data stack and nothing on the return stack: a procedure
    // that left a byte behind or parked one would show here.
    static ::testing::AssertionResult Runs(uint8_t script, uint8_t parameter, int dataLeft) {
        gEndDepths = {};
        RunScript(script, parameter);
        if (Engine.StatusRegister != 1)
            return ::testing::AssertionFailure()
                   << "script " << int(script) << " (" << int(parameter) << ") ended with status "
                   << int(Engine.StatusRegister);
        if (gEndDepths.data != dataLeft || gEndDepths.ret != 0)
            return ::testing::AssertionFailure()
                   << "script " << int(script) << " (" << int(parameter) << ") reached END with "
                   << gEndDepths.data << " data and " << gEndDepths.ret << " return bytes";
        return ::testing::AssertionSuccess();
    }

    static std::vector<uint8_t> Frame() {
        return std::vector<uint8_t>(Graphics.FrameBuffer, Graphics.FrameBuffer + kFrameBufferSize);
    }

    // Pixels that differ between two frames outside the box x0..x1, y0..y1.
    static int ChangesOutside(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int x0,
                              int y0, int x1, int y1) {
        int changes = 0;
        for (size_t i = 0; i < a.size(); ++i) {
            const uint8_t diff = a[i] ^ b[i];
            if (diff == 0) continue;
            const int y = static_cast<int>(i / 8);
            for (int bit = 0; bit < 8; ++bit) {
                const int x = static_cast<int>(i % 8) * 8 + bit;
                const bool inside = x >= x0 && x <= x1 && y >= y0 && y <= y1;
                changes += (diff & (0x80 >> bit)) != 0 && !inside;
            }
        }
        return changes;
    }
};

TEST_F(DefaultPagesTest, StartUpScreenTakesLanguageAndModesFromTheLabelStore) {
    Labels.LabelStore[20] = 70;
    const uint8_t modes[] = {0x12, 0x34, 0x56, 0x78};
    std::memcpy(Labels.LabelStore + 28, modes, 4);
    uint8_t before[kTagVariableCount];
    std::memcpy(before, Engine.TagVariables, sizeof before);

    EXPECT_TRUE(Runs(0, 0, 0));
    EXPECT_EQ(Language.currentLanguage, 70);
    EXPECT_EQ(Engine.DelayCounter, 0);
    for (int i = 0; i < kTagVariableCount; ++i)
        EXPECT_EQ(Var(i), i >= 28 && i <= 31 ? modes[i - 28] : before[i]) << "variable " << i;
}

// Every page number with every flag bit of variable 26: numbers 5..7 fall to
// the placeholder, which leaves SELECT's 17 on the stack.
TEST_F(DefaultPagesTest, EveryPageDrawsToItsEnd) {
    for (int flags : {0, 8, 16, 32, 8 + 16 + 32}) {
        for (int page = 0; page < 8; ++page) {
            const uint8_t p = static_cast<uint8_t>(flags | page);
            const int fallen = page >= 5 ? 1 : 0;
            EXPECT_TRUE(Runs(10, p, fallen));
            EXPECT_EQ(Var(26), p);
            EXPECT_TRUE(Runs(10, 255, 1 + fallen));
            EXPECT_EQ(Var(26), p);
            EXPECT_TRUE(Runs(9, 1, page == 2 && flags == 0 ? 0 : fallen));
            EXPECT_TRUE(Runs(9, 0, page == 2 && flags == 0 ? 0 : fallen));
        }
    }
}

// Key 1 (low mode nibble) and key 2 (high nibble) through every function code,
// mode and a few states: each indicator stays inside its own rows 18..25.
TEST_F(DefaultPagesTest, EveryIndicatorDrawsInsideItsRow) {
    ASSERT_TRUE(Runs(10, 0, 0));
    for (int mode = 0; mode < 16; ++mode) {
        Var(28) = static_cast<uint8_t>(mode | mode << 4);
        for (int f = 0; f < 256; ++f) {
            Var(1) = Var(2) = static_cast<uint8_t>(f);
            for (uint8_t state : {0, 127, 255}) {
                SCOPED_TRACE("mode " + std::to_string(mode) + " function " + std::to_string(f) +
                             " state " + std::to_string(state));
                std::vector<uint8_t> before = Frame();
                ASSERT_TRUE(Runs(1, state, 0));
                EXPECT_EQ(ChangesOutside(before, Frame(), 6, 18, 63, 25), 0);
                before = Frame();
                ASSERT_TRUE(Runs(2, state, 0));
                EXPECT_EQ(ChangesOutside(before, Frame(), 6, 44, 63, 51), 0);
            }
        }
    }
}

TEST_F(DefaultPagesTest, KeyScriptsRedrawOnlyIndicatorsThatAreShown) {
    ASSERT_TRUE(Runs(10, 0, 0));
    const std::vector<uint8_t> page = Frame();
    EXPECT_TRUE(Runs(5, 200, 0));  // keys 5..8 are not shown
    EXPECT_EQ(Var(21), 200);
    EXPECT_EQ(Frame(), page);

    ASSERT_TRUE(Runs(10, 8, 0));  // rows shifted, no indicators
    const std::vector<uint8_t> shifted = Frame();
    EXPECT_TRUE(Runs(1, 200, 0));
    EXPECT_EQ(Var(17), 200);
    EXPECT_EQ(Frame(), shifted);
}

TEST_F(DefaultPagesTest, ScriptNineOnPageTwoOnlyTakesTheHalf) {
    ASSERT_TRUE(Runs(10, 2, 0));
    const std::vector<uint8_t> page = Frame();
    EXPECT_TRUE(Runs(9, 1, 0));
    EXPECT_EQ(Var(16), 1);
    EXPECT_EQ(Frame(), page);
}

TEST_F(DefaultPagesTest, ScriptElevenSwitchesTheClockOnPageZeroOnly) {
    Var(25) = 0x05;
    ASSERT_TRUE(Runs(10, 0, 0));
    EXPECT_TRUE(Runs(11, 7, 1));
    EXPECT_EQ(Var(25), 0x85);
    EXPECT_TRUE(Runs(11, 0, 1));
    EXPECT_EQ(Var(25), 0x05);

    ASSERT_TRUE(Runs(10, 1, 0));
    EXPECT_TRUE(Runs(11, 7, 1));
    EXPECT_EQ(Var(25), 0x05);
}

// Every learn state, and for the button screen every value of variable 10
// with the timer settings, button masks and second buttons that change it.
TEST_F(DefaultPagesTest, EveryLearnScreenDrawsToItsEnd) {
    for (int state = 0; state < 256; ++state) {
        Var(14) = static_cast<uint8_t>(state);
        EXPECT_TRUE(Runs(10, 1, 0)) << "learn state " << state;
    }
    Var(14) = 1;
    for (int half : {0, 1})
        for (int timer : {0, 1, 2, 37, 255})
            for (int mask : {0x00, 0xFF, 0xA5, 0x10})
                for (int w = 0; w < 256; ++w) {
                    Var(16) = static_cast<uint8_t>(half);
                    Var(12) = static_cast<uint8_t>(timer);
                    Var(13) = static_cast<uint8_t>(mask);
                    Var(11) = static_cast<uint8_t>(w & 7);
                    Var(10) = static_cast<uint8_t>(w);
                    Var(25) = 0x80;
                    ASSERT_TRUE(Runs(10, 1, 0))
                        << "w " << w << " timer " << timer << " mask " << mask;
                    EXPECT_EQ(Var(25) & 0xF8, 0x80);  // only the counter bits change
                }
}

// The time field for every field number, shown or hidden, with every key.
TEST_F(DefaultPagesTest, TimeFieldDrawsToItsEndForEveryField) {
    for (uint8_t page : {3, 4})
        for (uint8_t hide : {0, 255})
            for (int key = 0; key <= 8; ++key) {
                Var(10) = hide;
                Var(13) = static_cast<uint8_t>(key);
                Var(11) = 59;
                Var(12) = 23;
                ASSERT_TRUE(Runs(10, page, 0));
                for (int field = 0; field < 256; ++field)
                    ASSERT_TRUE(Runs(11, static_cast<uint8_t>(field), 0))
                        << "page " << int(page) << " hide " << int(hide) << " key " << key
                        << " field " << field;
            }
}

}  // namespace
