#include "ui/main_window_font.h"

#include <QString>

namespace quenmark {

namespace {

// The pixel size whose monospace line is 15 pixels high and 8 wide.
constexpr int FixedSysPixelSize = 13;

}  // namespace

bool IsFixedSysName(const std::string& name) {
    return QString::fromUtf8(name).compare(QStringLiteral("FixedSys"), Qt::CaseInsensitive) == 0;
}

QFont SettingsFont(const std::string& name, int pointSize) {
    QFont font(QString::fromUtf8(name));
    if (IsFixedSysName(name)) {
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        font.setPixelSize(FixedSysPixelSize);
        return font;
    }
    if (pointSize > 0) font.setPointSize(pointSize);
    return font;
}

}  // namespace quenmark
