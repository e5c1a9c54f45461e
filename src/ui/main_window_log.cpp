#include "ui/main_window_log.h"

#include "ui/log_number_span.h"
#include "base/text_lines.h"

#include <algorithm>

#include <QFontMetrics>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace quenmark {

QStringList SplitLogText(const QString& text) {
    QStringList lines;
    for (const std::string& line : SplitLines(text.toStdString(), EmptyText::OneEmptyLine))
        lines.append(QString::fromStdString(line));
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
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { UpdateHorizontalScrollBar(); });
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
    ScrollToLastLine();
    UpdateHorizontalScrollBar();
    horizontalScrollBar()->setValue(0);
}

void TMainLog::ScrollToLastLine() { verticalScrollBar()->setValue(verticalScrollBar()->maximum()); }

void TMainLog::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    ScrollToLastLine();
    UpdateHorizontalScrollBar();
}

// The lines in view are counted as if no horizontal bar took room, so that
// showing or hiding the bar never changes whether it is needed.
int TMainLog::WidestVisibleLineWidth() const {
    const QScrollBar* bar = horizontalScrollBar();
    const int barHeight = bar->isVisible() ? bar->height() : 0;
    const qreal bottom = viewport()->height() + barHeight;
    const QFontMetrics metrics(font());
    int widest = 0;
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        if (blockBoundingGeometry(block).translated(contentOffset()).top() >= bottom) break;
        widest = std::max(widest, metrics.horizontalAdvance(block.text()));
    }
    return widest;
}

void TMainLog::UpdateHorizontalScrollBar() {
    if (FUpdatingScrollBar) return;
    FUpdatingScrollBar = true;
    const bool needed = WidestVisibleLineWidth() > viewport()->width();
    setHorizontalScrollBarPolicy(needed ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    FUpdatingScrollBar = false;
}

void TMainLog::SetScrollBarColors(const QColor& track, const QColor& handle) {
    horizontalScrollBar()->setStyleSheet(
        QStringLiteral("QScrollBar:horizontal { height: 5px; background: %1; border: none; }"
                       "QScrollBar::handle:horizontal { background: %2; min-width: 16px; }"
                       "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal { width: 0; }"
                       "QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal { background: none; }")
            .arg(track.name(), handle.name()));
}

// The toolkit selects a word; a number reaches over its point, sign,
// exponent, radix prefix and suffix.
void TMainLog::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    const QTextCursor hit = cursorForPosition(event->position().toPoint());
    const TTextSpan number = NumberSpanAt(hit.block().text(), hit.positionInBlock());
    if (number.Length == 0) return;
    QTextCursor selection(hit.block());
    selection.setPosition(hit.block().position() + number.Start);
    selection.setPosition(hit.block().position() + number.Start + number.Length, QTextCursor::KeepAnchor);
    setTextCursor(selection);
}

void TMainLog::ScrollPage(bool down) {
    verticalScrollBar()->triggerAction(down ? QAbstractSlider::SliderPageStepAdd
                                            : QAbstractSlider::SliderPageStepSub);
}

}  // namespace quenmark
