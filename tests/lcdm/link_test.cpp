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

TEST_F(HostLink, AFailedLabelStoreBlockLeavesNoBlockInProgress) {
    lcdm::Labels.LabelStore[8000] = 0x77;
    Send({0x82, 0x1F, 0x40, 0x09, 0x60, 250, 0x60, 0x01});  // 8000 + 250 passes the end
    Send({0x16});
    EXPECT_EQ(0, Reply());
    EXPECT_EQ(0, Link.BlockSize);
    EXPECT_EQ(0x1F40, Link.AddressPointer);
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
