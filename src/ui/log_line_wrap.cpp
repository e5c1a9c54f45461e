#include "ui/log_line_wrap.h"

#include <QFont>
#include <QStringList>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextOption>

namespace quenmark {

QString WrapLogMessage(const QString& text, const QFont& font, int width) {
    if (width <= 0 || text.isEmpty()) return text;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines.join(QChar(QChar::LineSeparator));
}

QString LogLineText(const QTextBlock& block) {
    if (const auto* message = dynamic_cast<const TLogMessage*>(block.userData())) return message->Text;
    return block.text();
}

}  // namespace quenmark
