// "Send" in the "Dynamic Icon" group against a real module: the byte
// sequence, the picture's shape on the way, and the three refusals.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Lcdm.h"
#include "module_fixture.h"
#include "panel/IconUpload.h"
#include "panel/Startup.h"
#include "port_recorder.h"

namespace {

using panel::IconPicture;

std::string Hex(uint8_t byte) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

// The bytes of an upload as the window's description lists them.
std::string ExpectedUpload(uint8_t key, const IconPicture& picture, bool keyTaken = true) {
    std::string text = "09 20 60 01 60 00 60 " + Hex(key) + " 60 " + Hex(picture.Width()) + " 60 " +
                       Hex(picture.Height()) + " 60 0A 24";
    for (int y = 0; y < picture.Height(); ++y)
        for (int j = 0; 8 * j < picture.Width(); ++j)
            text += " 60 " + Hex(static_cast<uint8_t>(~picture.Row(y)[j])) + " 21 24";
    text += " 22 60 01 60 01 60 00 60 " + Hex(key) + " 61 " + Hex(key);
    return keyTaken ? text + " 24" : text;
}

class IconUploadTest : public zortest::ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        panel::FormCreate(port);  // label store 255, the default vocabulary
        port.SetObserver([this](const panel::PortEvent& event) {
            if (event.kind != panel::PortEvent::Kind::kByte) return;
            bytes += (bytes.empty() ? "" : " ") + Hex(event.byte);
            if (onByte) onByte(event);
        });
    }

    bool Send(IconPicture& picture, uint8_t key) {
        bytes.clear();
        errors.clear();
        return panel::SendDIButtonClick(
            port, picture, key, [this](const std::string& text) { errors.push_back(text); });
    }

    // The directory entry of the slot holding language 1, id (0, key); -1 if none.
    int SlotOf(uint8_t key) const {
        for (int slot = 0; slot < lcdm::kIconSlots; ++slot) {
            const uint16_t entry = lcdm::kIconDirectory + slot * lcdm::kIconDirectoryEntrySize;
            if (lcdm::ReadStoreByte(entry + 7) == 1 && lcdm::ReadStoreByte(entry + 2) == 0 &&
                lcdm::ReadStoreByte(entry + 3) == key)
                return slot;
        }
        return -1;
    }

    // The first label directory entry of key `key`: (length byte, language).
    std::pair<int, int> LabelEntry(uint8_t key) const {
        const uint16_t record = lcdm::RecordAddress(key);
        return {lcdm::ReadStoreByte(record), lcdm::ReadStoreByte(record + 1)};
    }

    panel::HostPort port;
    std::string bytes;
    std::vector<std::string> errors;
    std::function<void(const panel::PortEvent&)> onByte;
};

IconPicture Marked(int width, int height) {
    IconPicture picture(width, height);
    picture.SetBlack(0, 0, true);
    picture.SetBlack(width - 1, height - 1, true);
    return picture;
}

TEST_F(IconUploadTest, AFullSizeIconIsSentByteForByteAndBecomesTheLabel) {
    IconPicture picture = Marked(62, 16);
    const IconPicture before = picture;
    ASSERT_TRUE(Send(picture, 2));
    EXPECT_EQ(bytes, ExpectedUpload(2, before));
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(picture, before);
    // A black top left pixel is bit 7 of the first icon byte.
    EXPECT_EQ(bytes.substr(45, 5), "60 80");

    const int slot = SlotOf(2);
    ASSERT_GE(slot, 0);
    const uint16_t bitmap = lcdm::kIconBitmaps + slot * lcdm::kIconSlotSize;
    EXPECT_EQ(lcdm::ReadStoreByte(bitmap), 0x80);
    EXPECT_EQ(lcdm::ReadStoreByte(bitmap + 127), 0x04);  // pixel 61 of the last row
    // Key 2's label refers to the icon: an entry of 130 in language 1.
    EXPECT_EQ(LabelEntry(2), std::make_pair(130, 1));
}

TEST_F(IconUploadTest, NarrowIconsSendOnlyTheBytesTheirRowsNeed) {
    IconPicture picture = Marked(10, 16);
    const IconPicture before = picture;
    ASSERT_TRUE(Send(picture, 5));
    EXPECT_EQ(bytes, ExpectedUpload(5, before));
    EXPECT_EQ(picture.Width(), 10);
    // Two bytes a row; the bits past pixel 9 carry no dark pixels.
    EXPECT_EQ(bytes.find("60 3F"), std::string::npos);
    EXPECT_NE(bytes.find(" 60 40 21 24"), std::string::npos);  // pixel 9 of the last row
}

TEST_F(IconUploadTest, LargerPicturesAreSentAsSixtyTwoBySixteen) {
    IconPicture picture = Marked(100, 10);
    ASSERT_TRUE(Send(picture, 1));
    EXPECT_EQ(picture.Width(), 62);
    EXPECT_EQ(picture.Height(), 16);
    EXPECT_EQ(bytes, ExpectedUpload(1, picture));
}

// With no key selected the icon still loads, under id 0; the key selection
// 61 00 is refused, and executing the data buffer then would append the four
// label bytes to the icon. The last 24 is therefore not sent.
TEST_F(IconUploadTest, ARefusedKeyLeavesTheIconsDataAlone) {
    IconPicture picture = Marked(62, 16);
    ASSERT_TRUE(Send(picture, 0));
    EXPECT_EQ(bytes, ExpectedUpload(0, picture, false));
    const int slot = SlotOf(0);
    ASSERT_GE(slot, 0);
    const uint16_t bitmap = lcdm::kIconBitmaps + slot * lcdm::kIconSlotSize;
    for (int i = 128; i < 132; ++i) EXPECT_EQ(lcdm::ReadStoreByte(bitmap + i), 0xFF) << i;
    for (uint8_t key = 1; key <= 8; ++key) EXPECT_EQ(LabelEntry(key).first, 0xFF) << int(key);
}

TEST_F(IconUploadTest, NoFreeSlotStopsBeforeTheIconBytes) {
    for (int id = 101; id <= 116; ++id) {
        IconPicture filler(8, 1);
        ASSERT_TRUE(Send(filler, static_cast<uint8_t>(id)));
        ASSERT_TRUE(errors.empty()) << id;
    }
    IconPicture picture = Marked(62, 16);
    EXPECT_FALSE(Send(picture, 3));
    EXPECT_EQ(errors, std::vector<std::string>{"Cannot find free room for dynamic icon"});
    EXPECT_EQ(bytes, "09 20 60 01 60 00 60 03 60 3E 60 10 60 0A 24");
    EXPECT_EQ(LabelEntry(3).first, 0xFF);
}

TEST_F(IconUploadTest, ARefusedByteStopsTheUploadWithoutALabel) {
    // The module refuses from the third icon byte on: its load is undone.
    int appended = 0;
    onByte = [&](const panel::PortEvent& event) {
        if (event.byte == 0x21 && ++appended == 3) lcdm::IconLoad.loadFailed = true;
    };
    IconPicture picture = Marked(62, 16);
    EXPECT_FALSE(Send(picture, 4));
    EXPECT_EQ(errors, std::vector<std::string>{"Error while appending dynamic icon"});
    EXPECT_EQ(bytes.substr(bytes.size() - 11), "60 00 21 24");
    EXPECT_EQ(bytes.find("22"), std::string::npos);
    EXPECT_EQ(LabelEntry(4).first, 0xFF);
}

TEST_F(IconUploadTest, AnIconThatCannotBeFinishedIsStillTheKeysLabel) {
    int appended = 0;
    onByte = [&](const panel::PortEvent& event) {
        if (event.byte == 0x24 && event.reply == 0x24 && ++appended == 129)
            lcdm::IconLoad.loadFailed = true;  // after the last icon byte
    };
    IconPicture picture = Marked(62, 16);
    EXPECT_TRUE(Send(picture, 6));
    EXPECT_EQ(errors, std::vector<std::string>{"Cannot write this dynamic icon"});
    EXPECT_EQ(bytes, ExpectedUpload(6, picture));
    EXPECT_EQ(LabelEntry(6), std::make_pair(130, 1));
}

}  // namespace
