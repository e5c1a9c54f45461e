#include "ui/main_window_log.h"

#include "ui/log_line_wrap.h"
#include "ui/log_number_span.h"
#include "base/text_lines.h"

#include <algorithm>

#include <QClipboard>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace quenmark {

namespace {

QString TrimmedAtEnd(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace()) --end;
    return text.left(end);
}

}  // namespace

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
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUndoRedoEnabled(false);
    // The text starts at the control's left edge, as in the input line.
    document()->setDocumentMargin(0);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { UpdateHorizontalScrollBar(); });
}

void TMainLog::AddLine(const QString& text, int maxLines, TLogLine kind) {
    setUpdatesEnabled(false);
    for (const QString& line : SplitLogText(text)) AppendOneLine(line, kind);
    while (FLineCount > std::max(maxLines, 0)) DropFirstLine();
    setUpdatesEnabled(true);
    ShowLastLine();
}

void TMainLog::SetLines(const QString& text) {
    clear();
    FLineCount = 0;
    for (const QString& line : SplitLogText(text)) AppendOneLine(line, TLogLine::Result);
    ShowLastLine();
}

// The line count is kept apart from the document, which cannot tell an
// empty log from one empty line.
void TMainLog::AppendOneLine(const QString& line, TLogLine kind) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (FLineCount > 0) cursor.insertBlock();
    if (kind == TLogLine::Message) {
        cursor.insertText(WrapLogMessage(line, font(), WrapWidth()));
        cursor.block().setUserData(new TLogMessage(line));
    } else {
        cursor.insertText(line);
        cursor.block().setUserData(nullptr);
    }
    ++FLineCount;
}

// The view's width less a vertical scroll bar, whether one shows or not:
// otherwise the bar, showing because wrapped lines made the log taller,
// could change the wrapping that made it show.
int TMainLog::WrapWidth() const {
    const QScrollBar* bar = verticalScrollBar();
    const int barWidth = bar->isVisible() ? 0 : bar->sizeHint().width();
    return viewport()->width() - barWidth - 1;
}

// Wraps the messages again after the width or the font changed.
void TMainLog::WrapMessages() {
    const int width = WrapWidth();
    if (width == FWrappedAt) return;
    FWrappedAt = width;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const auto* message = dynamic_cast<const TLogMessage*>(block.userData());
        if (!message) continue;
        const QString wrapped = WrapLogMessage(message->Text, font(), width);
        if (wrapped == block.text()) continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(wrapped);
    }
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
        lines << LogLineText(block);
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
    WrapMessages();
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
        // Blanks at the end of a line take no room: a wrapped line ends in
        // the blank it was broken at.
        for (const QString& part : block.text().split(QChar(QChar::LineSeparator)))
            widest = std::max(widest, metrics.horizontalAdvance(TrimmedAtEnd(part)));
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
    verticalScrollBar()->setStyleSheet(
        QStringLiteral("QScrollBar:vertical { width: 5px; background: %1; border: none; }"
                       "QScrollBar::handle:vertical { background: %2; min-height: 8px; }"
                       "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
                       "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }")
            .arg(track.name(), handle.name()));
    FWrappedAt = 0;
    WrapMessages();
}

void TMainLog::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FWrappedAt = 0;
        WrapMessages();
    }
}

// The toolkit selects a word; a number reaches over its point, sign,
// exponent, radix prefix and suffix. The number also goes to the primary
// selection, also after the toolkit put its word there as the button is
// let go.
void TMainLog::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    SelectNumber(cursorForPosition(event->position().toPoint()));
}

void TMainLog::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    if (FClickedNumber.isEmpty()) return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard && clipboard->supportsSelection()) clipboard->setText(FClickedNumber, QClipboard::Selection);
    FClickedNumber.clear();
}

void TMainLog::SelectNumber(const QTextCursor& hit) {
    const QString line = hit.block().text();
    const TTextSpan number = NumberSpanAt(line, hit.positionInBlock());
    if (number.Length == 0) return;
    QTextCursor selection(hit.block());
    selection.setPosition(hit.block().position() + number.Start);
    selection.setPosition(hit.block().position() + number.Start + number.Length, QTextCursor::KeepAnchor);
    setTextCursor(selection);
    FClickedNumber = line.mid(number.Start, number.Length);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard && clipboard->supportsSelection()) clipboard->setText(FClickedNumber, QClipboard::Selection);
}

void TMainLog::ScrollPage(bool down) {
    verticalScrollBar()->triggerAction(down ? QAbstractSlider::SliderPageStepAdd
                                            : QAbstractSlider::SliderPageStepSub);
}

}  // namespace quenmark
