// What the window asks of the desktop beyond its own controls: the modal file
// dialogs, the message boxes and the local time. Tests put a desktop of their
// own in its place, so that they choose the files and read the messages.
#pragma once

#include <QString>
#include <QTime>
#include <optional>

class QWidget;

namespace zorsim {

struct FileDialogSettings {
    QString title;          // empty: the platform's own
    QString filter;         // in the toolkit's form: "Bitmap (*.bmp);;All files (*)"
    QString initialFolder;  // empty: the working folder
    QString fileName;       // the name proposed
    QString defaultSuffix;  // added to a name typed without one
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // The file chosen, or an empty string when the user cancelled.
    virtual QString OpenFile(QWidget* parent, const FileDialogSettings& settings) = 0;
    virtual QString SaveFile(QWidget* parent, const FileDialogSettings& settings) = 0;
    // A plain box: no symbol, one OK button.
    virtual void ShowMessage(QWidget* parent, const QString& caption, const QString& text) = 0;
    // An error box: the platform's error symbol, one OK button.
    virtual void ShowError(QWidget* parent, const QString& caption, const QString& text) = 0;
    virtual QTime LocalTime() = 0;
    // A whole number from `min` to `max`, proposing `value`; nothing when cancelled.
    virtual std::optional<int> AskNumber(QWidget* parent, const QString& caption,
                                         const QString& label, int value, int min, int max) = 0;
};

// An error box captioned with the application's title. Messages of the
// toolkit-free code begin in lower case, as they also end up in
// transcripts; the box shows them as a sentence.
void ShowErrorSentence(QWidget* parent, const QString& message);

// The desktop in use: the real one unless another was installed.
Desktop& CurrentDesktop();
// Puts `desktop` in place (nullptr: the real one again). The caller keeps
// ownership and uninstalls it before it goes away.
void InstallDesktop(Desktop* desktop);

}  // namespace zorsim
