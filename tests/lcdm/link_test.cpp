// The host byte link: framing, the block read-out packets, commands that
// arrive while a script waits, and the link reset.
#include "engine_fixture.h"

namespace zortest {
namespace {

using lcdm::Engine;
using lcdm::Link;

class HostLink : public EngineTest {
protected:
    // Sends the bytes; returns the link code of each.
    static Bytes Send(const Bytes& bytes) {
        Bytes codes;
        for (uint8_t b : bytes) codes.push_back(lcdm::HostByteEntry(b));
        return codes;
    }
    static uint8_t Reply() { return Link.ReplyByte; }
};

TEST_F(HostLink, FramesByTheFirstBytesTopBits) {
    EXPECT_EQ((Bytes{7, 0}), Send({0x40, 0xC0}));  // 0xC0 as an operand is fine
    EXPECT_EQ(0x40, Reply());
    EXPECT_EQ(0xC0, Engine.TagVariables[0]);
    EXPECT_EQ((Bytes{7, 7, 0}), Send({0x80, 0x05, 0x06}));
    EXPECT_EQ(6, Engine.TagVariables[5]);
    EXPECT_EQ((Bytes{12, 0}), Send({0xC7, 0x00}));  // rejected, then a fresh first byte
    EXPECT_EQ(0, Link.ReceiveCount);
}

TEST_F(HostLink, ThreeZerosAlwaysReachACommandBoundary) {
    EXPECT_EQ((Bytes{7, 7, 0, 0}), Send({0x80, 0x00, 0x00, 0x00}));
    EXPECT_EQ(0x00, Link.LastCommandByte);
    EXPECT_EQ(0, Link.ReceiveCount);
}

TEST_F(HostLink, UnassignedCommandsSetStatus12AfterTheirLastByte) {
    EXPECT_EQ((Bytes{0}), Send({0x04}));
    EXPECT_EQ(12, Engine.StatusRegister);
    Engine.StatusRegister = 0;
    EXPECT_EQ((Bytes{7, 7}), Send({0xA5, 1}));
    EXPECT_EQ(0, Engine.StatusRegister);
    EXPECT_EQ((Bytes{0}), Send({2}));
    EXPECT_EQ(12, Engine.StatusRegister);
    EXPECT_EQ(0, Reply());
}

TEST_F(HostLink, DataBufferTakesEighteenBytesAndKeepsTheNineteenthFree) {
    for (int i = 0; i < 18; ++i) {
        Send({0x60, static_cast<uint8_t>(i)});
        ASSERT_EQ(0x60, Reply()) << i;
    }
    Send({0x60, 0xEE});
    EXPECT_EQ(0, Reply());
    EXPECT_EQ(18, Link.DataLength);
    EXPECT_EQ(0, Link.DataBuffer[18]);
    Send({0x09, 0x60, 1, 0x60, 2});
    Send({0x84, 3, 4});
    EXPECT_EQ(4, Link.DataLength);
}

// ------------------------------------------------------------ block read ---

Bytes gPacket;

TEST_F(HostLink, BlockReadPassesElevenPositionsAPacket) {
    lcdm::SetBlockTransmitHook([](uint8_t b) { gPacket.push_back(b); });
    gPacket.clear();
    for (int i = 0; i < 12; ++i) lcdm::WriteMemoryByte(static_cast<uint8_t>(0xA0 + i), 100 + i);
    Send({0x82, 0x00, 100, 0x09, 0x60, 12, 0x60, 0x00});  // 12 bytes from module memory
    Send({0x16});
    EXPECT_EQ(0xAA, Reply());  // position 10 travels in the reply
    EXPECT_EQ((Bytes{0x80, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9}), gPacket);
    EXPECT_EQ(112, Link.AddressPointer);
    gPacket.clear();
    Send({0x16});
    EXPECT_EQ(0, Reply());  // position 21: past the end
    EXPECT_EQ((Bytes{0x81, 0xAB, 0, 0, 0, 0, 0, 0, 0, 0, 0}), gPacket);
    Send({0x16});  // ends the block
    EXPECT_EQ(0, Link.BlockSize);
    Send({0x16});  // no request left in the buffer
    EXPECT_EQ(0, Reply());
    EXPECT_EQ(0, Link.BlockSize);
    lcdm::SetBlockTransmitHook(nullptr);
}

// A label store block is read with one block read, whose bound refuses a
// block reaching the store's last byte; a refused read leaves no block in
// progress and the pointer where it was.
TEST_F(HostLink, LabelStoreBlocksAndTheirBound) {
    const struct {
        uint16_t address;
        uint8_t count, reply, blockSize;
        uint16_t pointer;
    } cases[] = {
        {8000, 11, 0x77, 11, 8011},
        {8000, 250, 0, 0, 8000},  // passes the end
        {8181, 11, 0, 0, 8181},   // would end on byte 8191
    };
    for (const auto& c : cases) {
        lcdm::ModuleReset();
        lcdm::Labels.LabelStore[c.address + 10] = 0x77;  // travels in the first reply
        Send({0x82, static_cast<uint8_t>(c.address >> 8), static_cast<uint8_t>(c.address & 0xFF),
              0x09, 0x60, c.count, 0x60, 0x01});
        Send({0x16});
        EXPECT_EQ(c.reply, Reply()) << c.address << " " << int(c.count);
        EXPECT_EQ(c.blockSize, Link.BlockSize) << c.address << " " << int(c.count);
        EXPECT_EQ(c.pointer, Link.AddressPointer) << c.address << " " << int(c.count);
    }
}

// ------------------------------------------------- refusals and hooks ---

// A command refused for its operand, or for where its data would go, replies
// 0 and changes neither the screen nor the label store; a refused both-logo
// write drops the data it held.
TEST_F(HostLink, RefusedCommandsChangeNothing) {
    const struct {
        const char* what;
        Bytes setup, command;
    } cases[] = {{"fill screen without 0xAC", {}, {0x69, 0xAB}},
                 {"remove a language without 0xAC", {}, {0x85, 70, 0xAB}},
                 {"both logos from pointer 64: logo 1's copy would lie below 0",
                  {0x2A, 0x60, 1, 0x60, 2, 0x82, 0x00, 0x40},
                  {0x2B}}};
    for (const auto& c : cases) {
        lcdm::ModuleReset();
        Send(c.setup);
        const Bytes store(lcdm::Labels.LabelStore, lcdm::Labels.LabelStore + lcdm::kLabelStoreSize);
        Send(c.command);
        EXPECT_EQ(0, Reply()) << c.what;
        EXPECT_EQ(0, PixelsOn()) << c.what;
        EXPECT_EQ(store,
                  Bytes(lcdm::Labels.LabelStore, lcdm::Labels.LabelStore + lcdm::kLabelStoreSize))
            << c.what;
        EXPECT_EQ(0, Link.DataLength) << c.what;
    }
}

int gServiceCalls = 0;
void CountService() {
    ++gServiceCalls;
}

TEST_F(HostLink, ServiceHookOnlyForTheOperandPair191And191) {
    const struct {
        bool hook;
        uint8_t a, b;
        int calls;
    } cases[] = {{true, 0xBF, 0xBF, 1},
                 {true, 0xBF, 0xBE, 0},
                 {true, 0xBE, 0xBF, 0},
                 {false, 0xBF, 0xBF, 0}};
    for (const auto& c : cases) {
        gServiceCalls = 0;
        lcdm::SetServiceHook(c.hook ? &CountService : nullptr);
        Send({0x9F, c.a, c.b});
        EXPECT_EQ(0x9F, Reply());  // echoed whatever the operands
        EXPECT_EQ(c.calls, gServiceCalls) << int(c.a) << " " << int(c.b);
    }
    lcdm::SetServiceHook(nullptr);
}

// Names for listings and traces: a row naming a range names each of its first
// bytes; first bytes no row takes, and the rejected class, have none.
TEST_F(HostLink, CommandNamesFollowTheCommandTables) {
    const struct {
        uint8_t first;
        const char* name;
    } cases[] = {{0x00, "NOP"},          {0x03, "IDENTIFY"},        {0x04, nullptr},
                 {0x2B, "WRITE_BUFFER"}, {0x3F, nullptr},           {0x40, "SET_VARIABLE"},
                 {0x4F, "SET_VARIABLE"}, {0x5A, "RUN_SCRIPT"},      {0x6C, "SELECT_LOGO"},
                 {0x6D, nullptr},        {0x85, "REMOVE_LANGUAGE"}, {0x9F, "SERVICE"},
                 {0xA5, nullptr},        {0xC0, nullptr},           {0xFF, nullptr}};
    for (const auto& c : cases) EXPECT_STREQ(c.name, lcdm::CommandName(c.first)) << int(c.first);
}

// --------------------------------------- commands during a DELAY wait ---

int gPasses = 0;
uint8_t PumpSendingAVariable() {
    if (gPasses++ == 0) {
        lcdm::HostByteEntry(0x80);
        lcdm::HostByteEntry(9);
        lcdm::HostByteEntry(99);
    }
    if (Engine.DelayCounter > 0) --Engine.DelayCounter;
    return 0;
}

TEST_F(HostLink, ACommandDuringAWaitIsFramedAfreshAndTheWaitingCommandStillEchoes) {
    VocabularyBuilder voc;
    voc.Add(1, lcdm::kItemScript, {LIT(2), DELAY, END, 0, 0});
    voc.Init();
    gPasses = 0;
    lcdm::SetRenderLcdAndPump(PumpSendingAVariable);
    Send({0x51, 0x00});
    lcdm::SetRenderLcdAndPump(nullptr);
    EXPECT_EQ(99, Engine.TagVariables[9]);
    // The set-variable command cleared the status, so the script went on to END.
    EXPECT_EQ(1, Engine.StatusRegister);
    EXPECT_EQ(0x51, Reply());
}

// A script waits in DELAY with 30 bytes on its stack. The first language
// command there sets the language, but reselecting its icon set overflows and
// leaves one byte more; the second finds no room even for its language byte
// and must not take that stray byte as a language.
Bytes gReplies;
uint8_t gLanguageAfterBoth = 0;
uint8_t PumpSendingTwoLanguages() {
    if (gPasses++ == 0) {
        for (uint8_t language : {70, 71}) {
            lcdm::HostByteEntry(0x64);
            lcdm::HostByteEntry(language);
            gReplies.push_back(Link.ReplyByte);
        }
        gLanguageAfterBoth = lcdm::Language.currentLanguage;
    }
    if (Engine.DelayCounter > 0) --Engine.DelayCounter;
    return 0;
}

TEST_F(HostLink, ALanguageCommandDuringAWaitNeverTakesAStrangersByte) {
    VocabularyBuilder voc;
    Bytes script(29, LIT(1));  // 30 bytes with the script's parameter
    script.insert(script.end(), {LIT(2), DELAY, END, 0, 0});
    voc.Add(1, lcdm::kItemScript, script);
    voc.Init();
    gPasses = 0;
    gReplies.clear();
    lcdm::SetRenderLcdAndPump(PumpSendingTwoLanguages);
    Send({0x51, 0x00});
    lcdm::SetRenderLcdAndPump(nullptr);
    EXPECT_EQ((Bytes{0, 0}), gReplies);
    EXPECT_EQ(70, gLanguageAfterBoth);
}

TEST_F(HostLink, LinkResetDropsAHalfReceivedCommand) {
    Send({0x80, 0x01});
    Send({0x0A});  // a data mode, which the reset replaces
    Send({0x82, 0x01});
    lcdm::LinkReset();
    EXPECT_EQ(0, Link.ReceiveCount);
    EXPECT_EQ(lcdm::kModeNone, Link.DataMode);
    EXPECT_EQ((Bytes{0}), Send({0x00}));
    EXPECT_EQ(0x00, Link.LastCommandByte);
}

}  // namespace
}  // namespace zortest
