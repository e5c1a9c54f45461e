#include "ui/main_window_font.h"

#include <QString>

#include <algorithm>

namespace quenmark {

namespace {

// The pixel size whose monospace line is 15 pixels high and 8 wide: the
// cell of "FixedSys", which the default font size stands for.
constexpr int FixedSysPixelSize = 13;
constexpr int DefaultFontSize = 14;

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
        return font;
    }
    if (pointSize > 0) font.setPointSize(pointSize);
    return font;
}

}  // namespace quenmark
