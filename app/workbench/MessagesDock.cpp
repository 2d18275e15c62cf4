#include "MessagesDock.h"

#include <QFile>
#include <QFontDatabase>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBlock>

namespace zorsim {

MessagesDock::MessagesDock(Workbench&, QWidget* parent) : ToolDock("Messages", parent) {
    setObjectName("MessagesDock");
    auto* split = new QSplitter(Qt::Vertical, this);
    List = new QListWidget(split);
    List->setObjectName("Messages");
    Source = new QPlainTextEdit(split);
    Source->setObjectName("MessageSource");
    Source->setReadOnly(true);
    Source->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setWidget(split);
    connect(List, &QListWidget::currentRowChanged, this, &MessagesDock::ShowSourceOf);
}

void MessagesDock::Show(const std::vector<std::string>& messages) {
    List->clear();
    Source->clear();
    for (const std::string& message : messages) List->addItem(QString::fromStdString(message));
    if (messages.empty()) List->addItem("No messages: the vocabulary loaded.");
}

void MessagesDock::ShowSourceOf(int row) {
    if (row < 0) return;
    static const QRegularExpression where(R"(^(.+?):(\d+)(?::\d+)?: )");
    const QRegularExpressionMatch match = where.match(List->item(row)->text());
    if (!match.hasMatch()) return;
    QFile file(match.captured(1));
    if (!file.open(QIODevice::ReadOnly)) {
        Source->setPlainText("(cannot read " + match.captured(1) + ")");
        return;
    }
    // Sources are a few MB at most; a huge file is shown by its start.
    Source->setPlainText(QString::fromUtf8(file.read(4 << 20)));
    const QTextBlock line = Source->document()->findBlockByLineNumber(match.captured(2).toInt() - 1);
    QTextCursor cursor(line);
    cursor.select(QTextCursor::LineUnderCursor);
    Source->setTextCursor(cursor);
    Source->centerCursor();
}

}  // namespace zorsim
