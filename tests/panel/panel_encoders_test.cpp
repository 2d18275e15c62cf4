// The front panel's host command sequences, byte for byte, with the
// simulator's direct accesses in their places.
#include <gtest/gtest.h>

#include <string>

#include "Lcdm.h"
#include "module_fixture.h"
#include "panel/Encoders.h"
#include "panel/Handlers.h"
#include "port_recorder.h"

namespace {

using zortest::PortRecorder;

// The byte tables separate one encoder call from the next with "; "; the
// port knows no such boundary.
std::string Table(std::string text) {
    for (size_t at; (at = text.find("; ")) != std::string::npos;) text.replace(at, 2, " ");
    return text;
}

class EncoderTest : public zortest::ModuleTest {
protected:
    panel::HostPort port;
    PortRecorder recorder{port};
    panel::PanelState state;
};

TEST_F(EncoderTest, ByteSequencesOfOneKeyPressEach) {
    panel::PageButtonClick(port, state);
    EXPECT_EQ(recorder.Text(), Table("00 00 00, status := 0, 81 09 01"));

    recorder.Clear();
    panel::KeyFunctionButtonClick(port, 3, 1);  // key 3, "Dimmer"
    EXPECT_EQ(recorder.Text(),
              Table("00 00 00, status := 0, 80 03 22; 00 00 00, status := 0, 81 0A FF"));

    recorder.Clear();
    panel::TimeButtonClick(port, 14, 5);
    EXPECT_EQ(recorder.Text(), Table("00 00 00, status := 0, 80 0B 05; "
                                     "00 00 00, status := 0, 80 0C 0E; "
                                     "00 00 00, status := 0, 81 0B FF"));

    recorder.Clear();
    panel::NextButtonClick(port);
    EXPECT_EQ(recorder.Text(),
              Table("00 00 00, status := 0, 80 19 00; 00 00 00, status := 0, 81 0A FF"));

    recorder.Clear();
    panel::TextLabelButtonClick(port, 2, "Hi");
    EXPECT_EQ(recorder.Text(), Table("09; 60 01; 60 48; 60 69; 61 02; 24"));
}

TEST_F(EncoderTest, KeyFunctionCodesIncludingNoneSelected) {
    EXPECT_EQ(panel::KeyFunctionCode(0), 1);
    EXPECT_EQ(panel::KeyFunctionCode(1), 0x22);
    EXPECT_EQ(panel::KeyFunctionCode(2), 0x10);
    EXPECT_EQ(panel::KeyFunctionCode(3), 4);
    EXPECT_EQ(panel::KeyFunctionCode(panel::kNoFunction), 1);

    // No key selected: the code goes to tag variable 0.
    EXPECT_EQ(panel::KeyFromIndex(-1), 0);
    panel::KeyFunctionButtonClick(port, panel::KeyFromIndex(-1), 2);
    EXPECT_EQ(recorder.Text(),
              Table("00 00 00, status := 0, 80 00 10; 00 00 00, status := 0, 81 0A FF"));
    EXPECT_EQ(lcdm::Engine.TagVariables[0], 0x10);
}

TEST_F(EncoderTest, NextPageTwiceAsksForPageOneThenZero) {
    panel::PageButtonClick(port, state);
    EXPECT_EQ(state.PageFlag, 1);
    panel::PageButtonClick(port, state);
    EXPECT_EQ(state.PageFlag, 0);
    EXPECT_EQ(recorder.Text(), Table("00 00 00, status := 0, 81 09 01; "
                                     "00 00 00, status := 0, 81 09 00"));
}

TEST_F(EncoderTest, ZeroTriplesBringAHalfSentCommandToItsEnd) {
    port.Send(0x80);  // a three-byte command left after its first byte
    panel::SendSetVariable(port, 7, 9);
    // The first two zeros complete 80 00 00, the third is command 00.
    EXPECT_EQ(lcdm::Engine.TagVariables[0], 0);
    EXPECT_EQ(lcdm::Engine.TagVariables[7], 9);
    EXPECT_EQ(port.LastReply(), 0x80);
}

TEST_F(EncoderTest, StatusIsClearedDirectlyBeforeTheCommand) {
    port.SetStatus(12);
    recorder.Clear();
    panel::SendRunScript(port, 5, 0);  // no vocabulary: the run finds nothing
    EXPECT_EQ(recorder.Text(), "00 00 00, status := 0, 81 05 00");
    EXPECT_EQ(lcdm::Engine.StatusRegister, lcdm::kStatusNotFound);
}

TEST_F(EncoderTest, DataByteIsNotSentWhenTheModuleDoesNotAskForIt) {
    port.Send(0x41);  // a two-byte command waiting for its operand
    recorder.Clear();
    // 0x60 completes the pending command instead of starting its own.
    EXPECT_EQ(panel::SendDataByte(port, 0x33), panel::kDataByteNotSent);
    EXPECT_EQ(recorder.Text(), "60");
    EXPECT_EQ(lcdm::Link.DataLength, 0);

    recorder.Clear();
    EXPECT_EQ(panel::SendDataByte(port, 0x33), lcdm::kLinkDone);
    EXPECT_EQ(recorder.Text(), "60 33");
    EXPECT_EQ(lcdm::Link.DataLength, 1);
}

TEST_F(EncoderTest, EmptyLabelSendsOnlyItsLanguage) {
    panel::TextLabelButtonClick(port, 4, "");
    EXPECT_EQ(recorder.Text(), Table("09; 60 01; 61 04; 24"));
}

TEST_F(EncoderTest, TwentyCharacterLabelKeepsItsFirstSeventeen) {
    const std::string text = "ABCDEFGHIJKLMNOPQRST";
    const uint8_t link = panel::TextLabelButtonClick(port, 1, text);
    EXPECT_EQ(link, lcdm::kLinkMore);
    // 09, then 21 data bytes (language and 20 characters) as 60 pairs.
    const std::vector<int> replies = recorder.Replies();
    ASSERT_EQ(replies.size(), 1u + 2 * 21 + 2 + 1);
    for (int i = 0; i < 21; ++i)
        EXPECT_EQ(replies[2 + 2 * i], i < 18 ? 0x60 : 0) << "data byte " << i;
    EXPECT_EQ(lcdm::Link.DataBuffer[0], 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(lcdm::Link.DataBuffer + 1), 17),
              text.substr(0, 17));
}

TEST_F(EncoderTest, TwentyCharacterLabelStoresSeventeenOnTheKey) {
    zortest::VocabularyBuilder vocabulary;
    vocabulary.Add(10, lcdm::kItemScript, {0x00, 0x00, 0x00});  // Refresh: END
    ASSERT_EQ(vocabulary.Init(), 2);
    port.FillLabelStore(0xFF);
    panel::TextLabelButtonClick(port, 1, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(port.LastReply(), 0x24);
    const uint16_t record = lcdm::RecordAddress(1);
    EXPECT_EQ(lcdm::ReadStoreByte(record), 18);  // 17 characters and their 0
    EXPECT_EQ(lcdm::ReadStoreByte(record + 1), 1);
    std::string stored;
    for (int i = 0; i < 18; ++i)
        stored.push_back(static_cast<char>(lcdm::ReadStoreByte(record + 16 + i)));
    EXPECT_EQ(stored, std::string("ABCDEFGHIJKLMNOPQ") + '\0');
}

TEST_F(EncoderTest, LabelForNoKeyStoresNothingAnywhere) {
    // A host left memory mode and a pointer behind; a label for "no key" must
    // not land in module memory through them.
    port.Send(0x82);
    port.Send(0x00);
    port.Send(100);
    port.Send(0x0A);
    const uint16_t before = lcdm::ReadMemoryWord(100);
    recorder.Clear();
    const uint8_t link = panel::TextLabelButtonClick(port, panel::KeyFromIndex(-1), "Hi");
    EXPECT_EQ(link, lcdm::kLinkMore);
    EXPECT_EQ(recorder.Text(), Table("09; 60 01; 60 48; 60 69; 61 00"));
    EXPECT_EQ(port.LastReply(), 0);  // the key was refused
    EXPECT_EQ(lcdm::ReadMemoryWord(100), before);
    EXPECT_EQ(lcdm::Link.AddressPointer, 100);
}

TEST_F(EncoderTest, HalfSentCommandTakesTheLabelsFirstByteAsOperand) {
    port.Send(0x80);
    port.Send(0x05);  // 80 05 waits for its value
    recorder.Clear();
    panel::TextLabelButtonClick(port, 2, "");
    // 09 completes 80 05 09; 60 01 is taken in full; 0x61 then waits for the key.
    EXPECT_EQ(lcdm::Engine.TagVariables[5], 9);
    EXPECT_EQ(recorder.Text(), Table("09; 60 01; 61 02; 24"));
}

}  // namespace
