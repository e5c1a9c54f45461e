#include "ui/unit_name_painter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPoint>

#include <algorithm>

namespace quenmark {

namespace {

// Reads a unit name run by run; each tag changes the style of the runs
// after it.
class TUnitNameReader {
public:
    TUnitNameReader(std::string_view text, int fontSize)
        : FText(text), FNameSize(fontSize * 4 / 5), FRaisedSize(FNameSize / 2) {
        FCurrent.PointSize = FNameSize;
    }

    std::vector<TUnitNameRun> Read() {
        while (FPosition < FText.size()) {
            if (!AtTag()) {
                FCurrent.Text += FText[FPosition++];
                continue;
            }
            Flush();
            if (!ReadTag()) return FRuns;
        }
        Flush();
        return FRuns;
    }

private:
    static bool IsSingleByte(char c) { return static_cast<unsigned char>(c) < 0x80; }

    bool AtTag() const {
        if (FText[FPosition] != '<') return false;
        return FPosition + 1 >= FText.size() || IsSingleByte(FText[FPosition + 1]);
    }

    void Flush() {
        if (!FCurrent.Text.empty()) FRuns.push_back(FCurrent);
        FCurrent.Text.clear();
    }

    // Reads from "<" through ">"; false when the name ends inside the tag or
    // the tag is in error.
    bool ReadTag() {
        ++FPosition;
        const bool closing = FPosition < FText.size() && FText[FPosition] == '/';
        if (closing) ++FPosition;
        while (FPosition < FText.size()) {
            const char letter = FText[FPosition++];
            if (letter == '>') return true;
            if (closing) {
                Close(letter);
            } else if (!Open(letter)) {
                return false;
            }
        }
        return false;
    }

    void Close(char letter) {
        switch (letter) {
        case 'B': case 'b': FCurrent.Bold = false; break;
        case 'I': case 'i': FCurrent.Italic = false; break;
        case 'U': case 'u': FCurrent.PointSize = FNameSize; break;
        case 'F': case 'f': FCurrent.Face = 0; break;
        default: break;
        }
    }

    bool Open(char letter) {
        switch (letter) {
        case 'B': case 'b': FCurrent.Bold = true; break;
        case 'I': case 'i': FCurrent.Italic = true; break;
        case 'U': case 'u': FCurrent.PointSize = FRaisedSize; break;
        case 'F': case 'f': return OpenFace();
        default: break;
        }
        return true;
    }

    // The character after F names the face; one above "9" means face 0, one
    // below "0" (or none at all) is an error.
    bool OpenFace() {
        if (FPosition >= FText.size()) return false;
        const unsigned char digit = static_cast<unsigned char>(FText[FPosition++]);
        if (digit < '0') return false;
        FCurrent.Face = digit > '9' ? 0 : digit - '0';
        return true;
    }

    std::string_view FText;
    size_t FPosition = 0;
    const int FNameSize;
    const int FRaisedSize;
    TUnitNameRun FCurrent;
    std::vector<TUnitNameRun> FRuns;
};

QFont RunFont(const TUnitNameRun& run, const TCCUnitGroupList::FontTable& fonts) {
    QFont font(QString::fromStdString(fonts[static_cast<size_t>(run.Face)]));
    font.setPointSize(std::max(1, run.PointSize));
    font.setBold(run.Bold);
    font.setItalic(run.Italic);
    return font;
}

}  // namespace

std::vector<TUnitNameRun> UnitNameRuns(std::string_view text, int fontSize) {
    return TUnitNameReader(text, fontSize).Read();
}

void DrawUnitName(QPainter& canvas, QPoint& penPosition, std::string_view text,
                  const TCCUnitGroupList::FontTable& fonts, int fontSize) {
    for (const TUnitNameRun& run : UnitNameRuns(text, fontSize)) {
        canvas.setFont(RunFont(run, fonts));
        const QFontMetrics metrics = canvas.fontMetrics();
        const QString runText = QString::fromUtf8(run.Text.data(), static_cast<qsizetype>(run.Text.size()));
        canvas.drawText(QPoint(penPosition.x(), penPosition.y() + metrics.ascent()), runText);
        penPosition.rx() += metrics.horizontalAdvance(runText);
    }
}

int UnitNameWidth(std::string_view text, const TCCUnitGroupList::FontTable& fonts, int fontSize) {
    int width = 0;
    for (const TUnitNameRun& run : UnitNameRuns(text, fontSize)) {
        const QString runText = QString::fromUtf8(run.Text.data(), static_cast<qsizetype>(run.Text.size()));
        width += QFontMetrics(RunFont(run, fonts)).horizontalAdvance(runText);
    }
    return width;
}

int UnitNameHeight(const TCCUnitGroupList::FontTable& fonts, int fontSize) {
    TUnitNameRun run;
    run.PointSize = fontSize * 4 / 5;
    return QFontMetrics(RunFont(run, fonts)).height();
}

}  // namespace quenmark
