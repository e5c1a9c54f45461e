#pragma once

#include <QString>
#include <QTextBlockUserData>

#include <utility>

class QFont;
class QTextBlock;

namespace quenmark {

// A message line of the log, wrapped at the log's width by line separators
// (U+2028) inside its one block, so that it still counts as one line; the
// block keeps the text as it was given, to wrap it again at another width.
class TLogMessage : public QTextBlockUserData {
public:
    explicit TLogMessage(QString text) : Text(std::move(text)) {}
    const QString Text;
};

// The text with a line separator wherever a line of width pixels in the
// font ends: at a blank where there is one, otherwise inside a word too
// long for the line. A width of 0 or less leaves the text as it is.
QString WrapLogMessage(const QString& text, const QFont& font, int width);

// The line a block holds, as it was given: a wrapped message without its
// line separators.
QString LogLineText(const QTextBlock& block);

}  // namespace quenmark
