#pragma once

#include <QColor>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>

namespace quenmark {

// How a log line is shown: a result (or an echoed input line) stays one
// line, which the horizontal scroll bar reaches; a message (the welcome,
// help, errors) wraps at the log's width.
enum class TLogLine { Result, Message };

// The main window's read-only log: whole lines, never more than a limit,
// always showing its last line scrolled fully to the left, also after a
// resize. Thin scroll bars show while a visible line is wider than the log
// and while the lines are taller than it; a double click selects a whole
// number, which also goes to the primary selection.
class TMainLog : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TMainLog(QWidget* parent = nullptr);

    // Appends text as new last lines (a line break inside it starts a
    // further line), drops first lines while more than maxLines remain,
    // and shows the last line. Redraws once.
    void AddLine(const QString& text, int maxLines, TLogLine kind = TLogLine::Result);

    // Replaces the whole log by the text's lines.
    void SetLines(const QString& text);

    int LineCount() const { return FLineCount; }
    QStringList Lines() const;

    // Scrolls by one page, as Page Up or Page Down in the log would.
    void ScrollPage(bool down);

    // The colours of the scroll bars: their track and their handle.
    void SetScrollBarColors(const QColor& track, const QColor& handle);
    // The width of the widest line that is in view, at least in part.
    int WidestVisibleLineWidth() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void UpdateHorizontalScrollBar();
    void ScrollToLastLine();

    void AppendOneLine(const QString& line, TLogLine kind);
    int WrapWidth() const;
    void WrapMessages();
    void SelectNumber(const QTextCursor& hit);
    void DropFirstLine();
    void ShowLastLine();

    int FLineCount = 0;
    bool FUpdatingScrollBar = false;
    int FWrappedAt = 0;
    // The number a double click selected, until the button is let go.
    QString FClickedNumber;
};

// The lines of a text as SplitLines (base/text_lines.h) makes them; an
// empty text is one empty line.
QStringList SplitLogText(const QString& text);

}  // namespace quenmark
