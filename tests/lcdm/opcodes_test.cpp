// The opcode table against the tag set the vocabularies are written in.
#include <cstring>
#include <set>
#include <string>

#include "Lcdm_tag_support.h"
#include "engine_fixture.h"

namespace zortest {
namespace {

struct Named {
    uint8_t opcode;
    const char* mnemonic;
};

// Written out independently of the table, so that a row moved to another
// opcode is caught.
constexpr Named kExpected[] = {
    {END, "END"}, {JUMP, "JUMP"}, {CALL, "CALL"}, {PUSH16, "PUSH16"}, {PUSH8, "PUSH8"},
    {BRANCH, "BRANCH"}, {BRANCH_IF_ZERO, "BRANCH_IF_ZERO"}, {BRANCH_IF_NONZERO, "BRANCH_IF_NONZERO"},
    {SELECT, "SELECT"}, {NOP, "NOP"}, {111, "NOP"}, {DUP, "DUP"}, {DUP2, "DUP2"}, {DROP, "DROP"},
    {DROP2, "DROP2"}, {SWAP, "SWAP"}, {ROT, "ROT"}, {OVER, "OVER"}, {PEEK, "PEEK"}, {POKE, "POKE"},
    {AND, "AND"}, {OR, "OR"}, {XOR, "XOR"}, {FROM_RSTACK, "FROM_RSTACK"}, {TO_RSTACK, "TO_RSTACK"},
    {FETCH_R, "FETCH_R"}, {NOT, "NOT"}, {GREATER, "GREATER"}, {GREATER_SIGNED, "GREATER_SIGNED"},
    {ADD, "ADD"}, {ADD16, "ADD16"}, {NEGATE, "NEGATE"}, {SHIFT_LEFT, "SHIFT_LEFT"},
    {SHIFT_RIGHT, "SHIFT_RIGHT"}, {MUL_DIV, "MUL_DIV"}, {RETURN, "RETURN"},
    {SKIP_IF_ZERO, "SKIP_IF_ZERO"}, {SKIP_IF_NONZERO, "SKIP_IF_NONZERO"}, {PUSH_PC, "PUSH_PC"},
    {OUTPUT, "OUTPUT"}, {DELAY, "DELAY"}, {EQUAL, "EQUAL"}, {CLEAR, "CLEAR"}, {MOVE_TO, "MOVE_TO"},
    {PLOT, "PLOT"}, {LINE_TO, "LINE_TO"}, {RECTANGLE, "RECTANGLE"}, {FILL, "FILL"}, {EMIT, "EMIT"},
    {EMIT_HEX, "EMIT_HEX"}, {PRINT_U8, "PRINT_U8"}, {PRINT_U16, "PRINT_U16"},
    {PRINT_S8, "PRINT_S8"}, {PRINT_S16, "PRINT_S16"}, {VAR_GET, "VAR_GET"},
    {VAR_GET16, "VAR_GET16"}, {VAR_SET, "VAR_SET"}, {VAR_SET16, "VAR_SET16"}, {GET_X, "GET_X"},
    {GET_Y, "GET_Y"}, {SET_LANGUAGE, "SET_LANGUAGE"}, {GET_LANGUAGE, "GET_LANGUAGE"},
    {GET_FONT_CLASS, "GET_FONT_CLASS"}, {UNDROP, "UNDROP"}, {USED_LANGUAGE, "USED_LANGUAGE"},
    {DRAW_ICON, "DRAW_ICON"}, {STORE_GET, "STORE_GET"}, {STORE_PUT, "STORE_PUT"},
    {TO_MIN_SEC, "TO_MIN_SEC"}, {SPLIT_SERIAL, "SPLIT_SERIAL"},
    {PUSH_FIRMWARE_VERSION, "PUSH_FIRMWARE_VERSION"}, {PUSH_VOCABULARY_ID, "PUSH_VOCABULARY_ID"},
    {SWITCH, "SWITCH"}, {FIND_ITEM, "FIND_ITEM"}, {RUN_ITEM, "RUN_ITEM"},
    {DRAW_BITMAP, "DRAW_BITMAP"}, {SELECT_FONT, "SELECT_FONT"}, {PRINT_STRING, "PRINT_STRING"},
    {DRAW_KEY_LABEL, "DRAW_KEY_LABEL"}, {SELECT_ICON_SET, "SELECT_ICON_SET"},
    {DRAW_LOGO, "DRAW_LOGO"},
};

TEST(OpcodeTable, NamesEveryTagAtItsOpcode) {
    std::set<int> named;
    for (const Named& n : kExpected) {
        ASSERT_NE(nullptr, lcdm::Opcode(n.opcode).mnemonic) << int(n.opcode);
        EXPECT_STREQ(n.mnemonic, lcdm::Opcode(n.opcode).mnemonic) << int(n.opcode);
        named.insert(n.opcode);
    }
    for (int op = 32; op <= 47; ++op) {
        EXPECT_STREQ("LIT", lcdm::Opcode(op).mnemonic);
        named.insert(op);
    }
    // Everything else is invalid, and nothing valid is missing from the list.
    int valid = 0;
    for (int op = 0; op < 256; ++op) {
        const bool isValid = lcdm::IsValidOpcode(static_cast<uint8_t>(op));
        valid += isValid;
        EXPECT_EQ(named.count(op) == 1, isValid) << op;
        EXPECT_EQ(isValid, lcdm::HandlerOf(op) != lcdm::TagInvalid) << op;
        EXPECT_NE(nullptr, lcdm::Opcode(op).stackEffect) << op;
    }
    EXPECT_EQ(97, valid);
}

TEST(OpcodeTable, LengthFollowsTheOpcodeRange) {
    for (int op = 0; op < 256; ++op) {
        const int expected = op < 16 ? 3 : op < 32 ? 2 : 1;
        EXPECT_EQ(expected, lcdm::TagLength(static_cast<uint8_t>(op))) << op;
    }
    EXPECT_EQ(lcdm::OperandKind::kAddress, lcdm::Opcode(JUMP).operand);
    EXPECT_EQ(lcdm::OperandKind::kOffset, lcdm::Opcode(BRANCH_IF_ZERO).operand);
    EXPECT_EQ(lcdm::OperandKind::kCount, lcdm::Opcode(SELECT).operand);
    EXPECT_EQ(lcdm::OperandKind::kInOpcode, lcdm::Opcode(LIT(7)).operand);
}

// Script 1 of the default vocabulary, decoded by lengths alone, lands on END.
TEST(OpcodeTable, DecodesAStoredScriptTagByTag) {
    const uint8_t script[] = {0x10, 0x11, 0x5E, 0x22, 0x21, 0x71, 0x23, 0x21, 0x71, 0x3A,
                              0x12, 0x05, 0x21, 0x10, 0x14, 0x21, 0x71, 0x00, 0x00, 0x00};
    std::string names;
    for (size_t at = 0; at < sizeof script; at += lcdm::TagLength(script[at]))
        names += std::string(lcdm::Opcode(script[at]).mnemonic) + " ";
    EXPECT_EQ("PUSH8 VAR_SET LIT LIT RUN_ITEM LIT LIT RUN_ITEM AND BRANCH_IF_ZERO LIT PUSH8 LIT "
              "RUN_ITEM END ",
              names);
}

}  // namespace
}  // namespace zortest
