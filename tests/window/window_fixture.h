// Shared by the window suites: a desktop that answers the dialogs and keeps
// the messages, the form on a fresh module, and the checks of the LCD picture
// against the module's frame buffer.
#pragma once

#include <QImage>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTime>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "Desktop.h"
#include "Lcdm.h"
#include "Main.h"
#include "PictureBox.h"
#include "ZorApplication.h"
#include "port_recorder.h"

namespace zortest {

class FakeDesktop : public zorsim::Desktop {
public:
    struct Box {
        bool error = false;
        QString caption;
        QString text;
    };

    FakeDesktop() { zorsim::InstallDesktop(this); }
    ~FakeDesktop() override { zorsim::InstallDesktop(nullptr); }

    QString OpenFile(QWidget*, const zorsim::FileDialogSettings& settings) override {
        openAsked.push_back(settings);
        return Next(openAnswers);
    }
    QString SaveFile(QWidget*, const zorsim::FileDialogSettings& settings) override {
        saveAsked.push_back(settings);
        return Next(saveAnswers);
    }
    void ShowMessage(QWidget*, const QString& caption, const QString& text) override {
        boxes.push_back({false, caption, text});
    }
    void ShowError(QWidget*, const QString& caption, const QString& text) override {
        boxes.push_back({true, caption, text});
    }
    QTime LocalTime() override { return time; }
    std::optional<int> AskNumber(QWidget*, const QString& caption, const QString&, int, int,
                                 int) override {
        numberAsked.push_back(caption);
        if (numberAnswers.empty()) return std::nullopt;
        const int answer = numberAnswers.front();
        numberAnswers.erase(numberAnswers.begin());
        return answer;
    }

    // The answers the dialogs give, in order; none left (or "") = cancelled.
    QStringList openAnswers;
    QStringList saveAnswers;
    std::vector<zorsim::FileDialogSettings> openAsked;
    std::vector<zorsim::FileDialogSettings> saveAsked;
    std::vector<Box> boxes;
    QTime time{14, 5};
    std::vector<int> numberAnswers;  // none left = cancelled
    QStringList numberAsked;

private:
    static QString Next(QStringList& answers) {
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

// A module in its program-start state and a window on it; the recorder sees
// every byte from the window's creation on.
struct FreshModule {
    FreshModule() { lcdm::ModuleReset(); }
};
struct FormOnFreshModule : FreshModule {
    panel::HostPort port;
    PortRecorder recorder{port};
    zorsim::TForm1 form{port};
};

// The recorded conversation without the 100 ms timer's count-down, which
// can fall between any two bytes: "50, DelayCounter := 0, 00" reads "50 00".
inline QString Conversation(const PortRecorder& recorder) {
    QString text = QString::fromStdString(recorder.Text());
    text.remove(QRegularExpression("(, )?DelayCounter := \\d+"));
    text.replace(QRegularExpression("\\b([0-9A-F]{2}), (?=[0-9A-F]{2}\\b)"), "\\1 ");
    return text.startsWith(", ") ? text.mid(2) : text;
}

// Shows the window and waits until its first activation has run the start-up
// screen (which waits in DELAY for about a second).
inline bool ShowAndActivate(zorsim::TForm1& form) {
    form.show();
    return QTest::qWaitForWindowActive(&form) && form.State().Activated;
}

// Module pixel (x, y) covers picture pixels 2x..2x+1, 2y..2y+1; module row
// 127 is not shown and the picture's last two rows stay white.
inline bool ExpectedBlack(int px, int py) {
    if (py >= 254) return false;
    const int x = px / 2, y = py / 2;
    return (lcdm::Graphics.FrameBuffer[y * 8 + x / 8] & (0x80 >> (x % 8))) != 0;
}

// Empty when `picture` shows the frame buffer; otherwise the first pixel that
// differs.
inline QString PictureMismatch(const QImage& picture) {
    if (picture.size() != QSize(128, 256)) return "picture is not 128 x 256";
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 128; ++x)
            if ((qGray(picture.pixel(x, y)) < 128) != ExpectedBlack(x, y))
                return QString("pixel (%1, %2) differs").arg(x).arg(y);
    return {};
}

// A picture as rows of '#' (dark) and '.'.
inline std::vector<std::string> Rows(const QImage& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) row += qGray(image.pixel(x, y)) < 128 ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

inline int BlackPixels(const QImage& picture) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) count += qGray(picture.pixel(x, y)) < 128;
    return count;
}

// Writes a vocabulary of one header item (id 33) and the given scripts from
// `start`, and initialises it there. Each script is (number, body).
inline void LoadScripts(uint16_t start,
                        std::initializer_list<std::pair<uint8_t, std::vector<uint8_t>>> scripts) {
    uint16_t at = start;
    auto item = [&at](uint8_t number, uint8_t type, const std::vector<uint8_t>& body) {
        lcdm::WriteMemoryWord(static_cast<uint16_t>(body.size() + 4), at);
        lcdm::WriteMemoryByte(number, at + 2);
        lcdm::WriteMemoryByte(type, at + 3);
        for (size_t i = 0; i < body.size(); ++i)
            lcdm::WriteMemoryByte(body[i], static_cast<uint16_t>(at + 4 + i));
        at = static_cast<uint16_t>(at + body.size() + 4);
    };
    item(33, lcdm::kItemHeader, {});
    for (const auto& [number, body] : scripts) item(number, lcdm::kItemScript, body);
    lcdm::WriteMemoryWord(0xFFFF, at);
    lcdm::InitVocabulary(start);
}

}  // namespace zortest

// QtTest's main with the simulator's own application object.
#define ZOR_WINDOW_TEST_MAIN(TestClass)         \
    int main(int argc, char** argv) {           \
        zorsim::ZorApplication app(argc, argv); \
        TestClass test;                         \
        return QTest::qExec(&test, argc, argv); \
    }
