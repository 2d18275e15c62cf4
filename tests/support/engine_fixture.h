// Shared by the tag engine's suites: set up the data stack, run one tag or a
// whole program, and compare what a tag drew with text drawn directly.
#pragma once

#include <cstring>
#include <vector>

#include "Lcdm_opcodes.h"
#include "module_fixture.h"

namespace zortest {

using Bytes = std::vector<uint8_t>;

class EngineTest : public ModuleTest {
protected:
    // Replaces the data stack; the last byte is the top.
    static void SetStack(const Bytes& bytes) {
        lcdm::Engine.dataDepth = 0;
        for (uint8_t b : bytes) lcdm::Engine.dataStack[++lcdm::Engine.dataDepth] = b;
    }
    static Bytes Stack() {
        return Bytes(lcdm::Engine.dataStack + 1,
                     lcdm::Engine.dataStack + 1 + lcdm::Engine.dataDepth);
    }
    static Bytes ReturnStack() {
        return Bytes(lcdm::Engine.returnStack + 1,
                     lcdm::Engine.returnStack + 1 + lcdm::Engine.returnDepth);
    }
    static void FillStack(uint8_t depth) { SetStack(Bytes(depth, 0x11)); }

    // Executes one tag on the current stacks; returns the status it left.
    static uint8_t Tag(uint8_t opcode, uint8_t byte1 = 0, uint8_t byte2 = 0) {
        lcdm::Engine.StatusRegister = 0;
        lcdm::Dispatch(opcode, byte1, byte2);
        return lcdm::Engine.StatusRegister;
    }
    static uint8_t TagWith(uint8_t opcode, const Bytes& stack) {
        SetStack(stack);
        return Tag(opcode);
    }

    // Writes bytes into module memory from address.
    static void Poke(uint16_t address, const Bytes& bytes) {
        for (size_t i = 0; i < bytes.size(); ++i)
            lcdm::WriteMemoryByte(bytes[i], static_cast<uint16_t>(address + i));
    }

    // A vocabulary whose script 1 is `code`, run with `parameter`.
    uint8_t RunProgram(const Bytes& code, uint8_t parameter = 0) {
        VocabularyBuilder voc;
        script_ = voc.Add(1, lcdm::kItemScript, code);
        voc.Init();
        lcdm::RunScript(1, parameter);
        return lcdm::Engine.StatusRegister;
    }
    // Address of the first tag of the script RunProgram wrote.
    uint16_t ScriptBody() const { return static_cast<uint16_t>(script_ + 4); }

    // The frame buffer and cursor after drawing `text` with DrawCharacter from
    // the cursor the test started with.
    struct Drawn {
        uint8_t frame[lcdm::kFrameBufferSize];
        lcdm::Point cursor;
    };
    static Drawn DrawnByTag() {
        Drawn d{};
        std::memcpy(d.frame, lcdm::Graphics.FrameBuffer, sizeof d.frame);
        d.cursor = lcdm::Graphics.GraphicsCursor;
        return d;
    }
    static Drawn DrawnDirectly(const char* text, lcdm::Point from) {
        lcdm::ClearScreen();
        lcdm::Graphics.GraphicsCursor = from;
        for (const char* c = text; *c; ++c) lcdm::DrawCharacter(static_cast<uint8_t>(*c));
        return DrawnByTag();
    }
    static void ExpectSame(const Drawn& a, const Drawn& b) {
        EXPECT_EQ(0, std::memcmp(a.frame, b.frame, sizeof a.frame));
        EXPECT_EQ(a.cursor.x, b.cursor.x);
        EXPECT_EQ(a.cursor.y, b.cursor.y);
    }

private:
    uint16_t script_ = 0;
};

// Opcodes by mnemonic, for readable programs in tests.
enum Op : uint8_t {
    END = 0, JUMP = 1, CALL = 2, PUSH16 = 3, PUSH8 = 16, BRANCH = 17, BRANCH_IF_ZERO = 18,
    BRANCH_IF_NONZERO = 19, SELECT = 20, LIT0 = 32, NOP = 48, DUP = 49, DUP2 = 50, DROP = 51,
    DROP2 = 52, SWAP = 53, ROT = 54, OVER = 55, PEEK = 56, POKE = 57, AND = 58, OR = 59, XOR = 60,
    FROM_RSTACK = 61, TO_RSTACK = 62, FETCH_R = 63, NOT = 64, GREATER = 65, GREATER_SIGNED = 66,
    ADD = 67, ADD16 = 68, NEGATE = 69, SHIFT_LEFT = 70, SHIFT_RIGHT = 71, MUL_DIV = 72,
    RETURN = 73, SKIP_IF_ZERO = 74, SKIP_IF_NONZERO = 75, PUSH_PC = 76, OUTPUT = 77, DELAY = 78,
    EQUAL = 79, CLEAR = 80, MOVE_TO = 81, PLOT = 82, LINE_TO = 83, RECTANGLE = 84, FILL = 85,
    EMIT = 86, EMIT_HEX = 87, PRINT_U8 = 88, PRINT_U16 = 89, PRINT_S8 = 90, PRINT_S16 = 91,
    VAR_GET = 92, VAR_GET16 = 93, VAR_SET = 94, VAR_SET16 = 95, GET_X = 96, GET_Y = 97,
    SET_LANGUAGE = 98, GET_LANGUAGE = 99, GET_FONT_CLASS = 100, UNDROP = 101,
    USED_LANGUAGE = 102, DRAW_ICON = 103, STORE_GET = 104, STORE_PUT = 105, TO_MIN_SEC = 106,
    SPLIT_SERIAL = 107, PUSH_FIRMWARE_VERSION = 108, PUSH_VOCABULARY_ID = 109, SWITCH = 110,
    FIND_ITEM = 112, RUN_ITEM = 113, DRAW_BITMAP = 114, SELECT_FONT = 115, PRINT_STRING = 116,
    DRAW_KEY_LABEL = 117, SELECT_ICON_SET = 118, DRAW_LOGO = 121,
};
constexpr uint8_t LIT(uint8_t n) { return static_cast<uint8_t>(LIT0 + n); }

}  // namespace zortest
