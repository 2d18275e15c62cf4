#include "Desktop.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "ZorApplication.h"

namespace zorsim {
namespace {

class RealDesktop : public Desktop {
public:
    QString OpenFile(QWidget* parent, const FileDialogSettings& settings) override {
        return QFileDialog::getOpenFileName(parent, settings.title, settings.initialFolder,
                                            settings.filter);
    }

    QString SaveFile(QWidget* parent, const FileDialogSettings& settings) override {
        QFileDialog dialog(parent, settings.title, settings.initialFolder, settings.filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(settings.defaultSuffix);
        dialog.selectFile(settings.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().first();
    }

    void ShowMessage(QWidget* parent, const QString& caption, const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
        box.exec();
    }

    void ShowError(QWidget* parent, const QString& caption, const QString& text) override {
        QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
        box.exec();
    }

    QTime LocalTime() override { return QTime::currentTime(); }

    std::optional<int> AskNumber(QWidget* parent, const QString& caption, const QString& label,
                                 int value, int min, int max) override {
        bool ok = false;
        const int number = QInputDialog::getInt(parent, caption, label, value, min, max, 1, &ok);
        if (!ok) return std::nullopt;
        return number;
    }
};

RealDesktop gRealDesktop;
Desktop* gDesktop = &gRealDesktop;

}  // namespace

void ShowErrorSentence(QWidget* parent, const QString& message) {
    QString sentence = message;
    if (!sentence.isEmpty()) sentence[0] = sentence[0].toUpper();
    CurrentDesktop().ShowError(parent, kApplicationTitle, sentence);
}

Desktop& CurrentDesktop() {
    return *gDesktop;
}

void InstallDesktop(Desktop* desktop) {
    gDesktop = desktop != nullptr ? desktop : &gRealDesktop;
}

}  // namespace zorsim
