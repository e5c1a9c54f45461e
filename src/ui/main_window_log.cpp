#include "ui/main_window_log.h"

#include <algorithm>

#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace quenmark {

QStringList SplitLogText(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(lineBreak);
    if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();
    return lines;
}

TMainLog::TMainLog(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUndoRedoEnabled(false);
    // The text starts at the control's left edge, as in the input line.
    document()->setDocumentMargin(0);
}

void TMainLog::AddLine(const QString& text, int maxLines) {
    setUpdatesEnabled(false);
    for (const QString& line : SplitLogText(text)) AppendOneLine(line);
    while (FLineCount > std::max(maxLines, 0)) DropFirstLine();
    setUpdatesEnabled(true);
    ShowLastLine();
}

void TMainLog::SetLines(const QString& text) {
    clear();
    FLineCount = 0;
    for (const QString& line : SplitLogText(text)) AppendOneLine(line);
    ShowLastLine();
}

// The line count is kept apart from the document, which cannot tell an
// empty log from one empty line.
void TMainLog::AppendOneLine(const QString& line) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (FLineCount > 0) cursor.insertBlock();
    cursor.insertText(line);
    ++FLineCount;
}

void TMainLog::DropFirstLine() {
    if (FLineCount <= 1) {
        clear();
        FLineCount = 0;
        return;
    }
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    --FLineCount;
}

QStringList TMainLog::Lines() const {
    QStringList lines;
    if (FLineCount == 0) return lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

void TMainLog::ShowLastLine() {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock);
    setTextCursor(cursor);
    ensureCursorVisible();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    horizontalScrollBar()->setValue(0);
}

void TMainLog::ScrollPage(bool down) {
    verticalScrollBar()->triggerAction(down ? QAbstractSlider::SliderPageStepAdd
                                            : QAbstractSlider::SliderPageStepSub);
}

}  // namespace quenmark
