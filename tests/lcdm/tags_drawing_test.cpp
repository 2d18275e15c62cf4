// Drawing and text output tags.
#include "engine_fixture.h"

namespace zortest {
namespace {

using lcdm::Engine;
using lcdm::Graphics;

class DrawingTags : public EngineTest {
protected:
    static Bytes Word(int value) {
        return {static_cast<uint8_t>((value >> 8) & 0xFF), static_cast<uint8_t>(value & 0xFF)};
    }
    static Bytes Words(std::initializer_list<int> values) {
        Bytes out;
        for (int v : values)
            for (uint8_t b : Word(v)) out.push_back(b);
        return out;
    }
    static void CursorAt(int x, int y) { Graphics.GraphicsCursor = {x, y}; }
    // Runs a text tag from (2, 20) and checks it drew exactly `text`.
    void ExpectText(uint8_t opcode, const Bytes& stack, const char* text) {
        ClearAndPlace();
        EXPECT_EQ(0, TagWith(opcode, stack));
        EXPECT_EQ(0, Engine.dataDepth);
        const Drawn byTag = DrawnByTag();
        ExpectSame(DrawnDirectly(text, {2, 20}), byTag);
    }
    static void ClearAndPlace() {
        lcdm::ClearScreen();
        CursorAt(2, 20);
    }
};

TEST_F(DrawingTags, MoveToAcceptsNegativeButNotBeyondTheScreen) {
    EXPECT_EQ(0, TagWith(MOVE_TO, Words({-3, 10})));
    EXPECT_EQ(-3, Graphics.GraphicsCursor.x);
    EXPECT_EQ(10, Graphics.GraphicsCursor.y);
    EXPECT_EQ(0, TagWith(MOVE_TO, Words({64, 10})));  // refused silently
    EXPECT_EQ(-3, Graphics.GraphicsCursor.x);
    EXPECT_EQ(0, TagWith(MOVE_TO, Words({0, 128})));
    EXPECT_EQ(10, Graphics.GraphicsCursor.y);
    EXPECT_EQ(0, Engine.dataDepth);
    EXPECT_EQ(lcdm::kStatusDataUnderflow, TagWith(MOVE_TO, {1, 2, 3}));
}

TEST_F(DrawingTags, GetXAndGetYPushTheCursorAsWords) {
    CursorAt(-3, 127);
    EXPECT_EQ(0, TagWith(GET_X, Bytes{}));
    EXPECT_EQ(0, Tag(GET_Y));
    EXPECT_EQ((Bytes{0xFF, 0xFD, 0x00, 0x7F}), Stack());
    FillStack(30);
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(GET_X));
}

TEST_F(DrawingTags, PlotSetsAndClearsAtTheCursor) {
    CursorAt(63, 127);
    EXPECT_EQ(0, TagWith(PLOT, {9}));
    EXPECT_TRUE(PixelOn(63, 127));
    EXPECT_EQ(0, TagWith(PLOT, {0}));
    EXPECT_FALSE(PixelOn(63, 127));
    CursorAt(-1, 0);
    EXPECT_EQ(0, TagWith(PLOT, {1}));
    EXPECT_EQ(0, PixelsOn());
}

TEST_F(DrawingTags, LineToDrawsFromTheCursorAndMovesIt) {
    CursorAt(0, 0);
    EXPECT_EQ(0, TagWith(LINE_TO, Words({3, 1})));
    EXPECT_EQ("##..", RowText(0, 0, 3));
    EXPECT_EQ("..##", RowText(1, 0, 3));
    EXPECT_EQ(3, Graphics.GraphicsCursor.x);
    EXPECT_EQ(1, Graphics.GraphicsCursor.y);
    EXPECT_EQ(0, TagWith(LINE_TO, Words({64, 1})));  // beyond: nothing drawn, cursor kept
    EXPECT_EQ(4, PixelsOn());
    EXPECT_EQ(3, Graphics.GraphicsCursor.x);
}

TEST_F(DrawingTags, RectangleIsAnOpaqueFrameFromTheCursor) {
    lcdm::FillPattern(0, 0, 63, 10, 0xFFFF);
    CursorAt(0, 0);
    EXPECT_EQ(0, TagWith(RECTANGLE, Words({10, 4})));
    EXPECT_EQ("##########", RowText(0, 0, 9));
    EXPECT_EQ("#........#", RowText(2, 0, 9));
    EXPECT_EQ("##########", RowText(4, 0, 9));
    EXPECT_EQ(0, Graphics.GraphicsCursor.x);
    lcdm::ClearScreen();
    EXPECT_EQ(0, TagWith(RECTANGLE, Words({64, 4})));  // a corner off the screen: nothing
    EXPECT_EQ(0, PixelsOn());
}

TEST_F(DrawingTags, FillUsesLowByteOnEvenRowsAndHighByteOnOdd) {
    CursorAt(0, 0);
    EXPECT_EQ(0, TagWith(FILL, Words({7, 3, 0xAA55})));
    EXPECT_EQ("#.#.#.#.", RowText(0, 0, 7));
    EXPECT_EQ(".#.#.#.#", RowText(1, 0, 7));
    EXPECT_EQ("#.#.#.#.", RowText(2, 0, 7));
    EXPECT_EQ("........", RowText(4, 0, 7));
    EXPECT_EQ(lcdm::kStatusDataUnderflow, TagWith(FILL, Words({1, 2})));
}

TEST_F(DrawingTags, NumbersInTheirLayouts) {
    ExpectText(PRINT_U8, {5, 0}, "  5");
    ExpectText(PRINT_U8, {5, 1}, "5");
    ExpectText(PRINT_U8, {5, 2}, "05");
    ExpectText(PRINT_U8, {5, 3}, "005");
    ExpectText(PRINT_U8, {5, 4}, "");
    ExpectText(PRINT_U8, {123, 2}, "23");
    ExpectText(PRINT_U8, {255, 1}, "255");
    ExpectText(PRINT_U16, {0, 0, 0}, "     0");
    ExpectText(PRINT_U16, {0xFF, 0xFF, 1}, "65535");
    ExpectText(PRINT_U16, {0x01, 0x00, 6}, "000256");
    ExpectText(PRINT_U16, {0x01, 0x00, 7}, "");
    ExpectText(PRINT_S8, {255}, "  -1");
    ExpectText(PRINT_S8, {0x80}, "-128");
    ExpectText(PRINT_S16, {0x80, 0x00}, " -32768");
    ExpectText(PRINT_S16, {0x00, 42}, "     42");
    ExpectText(EMIT_HEX, {0x3C}, "3C");
    ExpectText(EMIT, {'A'}, "A");
    EXPECT_EQ(lcdm::kStatusDataUnderflow, TagWith(PRINT_U16, {1, 2}));
}

uint8_t gOutput = 0;
int gSwitches = 0;
bool gSwitchedOn = false;

TEST_F(DrawingTags, OutputAndSwitchReachTheirHooks) {
    lcdm::SetOutputHook([](uint8_t v) { gOutput = v; });
    lcdm::SetSwitchHook([](bool on) { ++gSwitches, gSwitchedOn = on; });
    EXPECT_EQ(0, TagWith(OUTPUT, {0x5C}));
    EXPECT_EQ(0, TagWith(SWITCH, {16}));
    EXPECT_TRUE(gSwitchedOn);
    EXPECT_EQ(0, TagWith(SWITCH, {0}));
    EXPECT_FALSE(gSwitchedOn);
    lcdm::SetOutputHook(nullptr);
    lcdm::SetSwitchHook(nullptr);
    EXPECT_EQ(0, TagWith(OUTPUT, {1}));  // no hook: popped all the same
    EXPECT_EQ(0x5C, gOutput);
    EXPECT_EQ(2, gSwitches);
    EXPECT_EQ(0, Engine.dataDepth);
}

TEST_F(DrawingTags, DrawLogoReplacesTheNumberByItsResult) {
    lcdm::Labels.LabelStore[3712] = 1;  // logo 1 disabled
    EXPECT_EQ(0, TagWith(DRAW_LOGO, {1}));
    EXPECT_EQ((Bytes{lcdm::kStatusLogoDisabled}), Stack());
    FillStack(31);
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(DRAW_LOGO));  // though it does not grow
    EXPECT_EQ(0x11, Engine.dataStack[31]);
}

}  // namespace
}  // namespace zortest
