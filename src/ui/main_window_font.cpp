#include "ui/main_window_font.h"

#include <QFontInfo>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace quenmark {

namespace {

// The pixel size whose monospace line is 15 pixels high and 8 wide: the
// cell of "FixedSys", which the default font size stands for.
constexpr int FixedSysPixelSize = 13;
constexpr int DefaultFontSize = 14;
// The monospace face with Japanese characters (fonts-vlgothic): a character
// the chosen face lacks comes from it, so that the log keeps its columns
// rather than falling back to a proportional face.
const char* const JapaneseMonospaceFace = "VL Gothic";

// The chosen face first, then the Japanese monospace face.
void AddJapaneseFallback(QFont& font, const QString& primary) {
    font.setFamilies({primary, QString::fromLatin1(JapaneseMonospaceFace)});
}

}  // namespace

bool IsFixedSysName(const std::string& name) {
    return QString::fromUtf8(name).compare(QStringLiteral("FixedSys"), Qt::CaseInsensitive) == 0;
}

QFont SettingsFont(const std::string& name, int pointSize) {
    QFont font(QString::fromUtf8(name));
    if (IsFixedSysName(name)) {
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        const int size = pointSize > 0 ? pointSize : DefaultFontSize;
        font.setPixelSize(std::max(1, (FixedSysPixelSize * size + DefaultFontSize / 2) / DefaultFontSize));
        // The system's monospace face by its real name: a missing first
        // family would hand every character to the fallback.
        AddJapaneseFallback(font, QFontInfo(font).family());
        return font;
    }
    if (pointSize > 0) font.setPointSize(pointSize);
    AddJapaneseFallback(font, QString::fromUtf8(name));
    return font;
}

}  // namespace quenmark
