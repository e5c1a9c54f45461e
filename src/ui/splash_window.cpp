#include "ui/splash_window.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>

#include "app/settings.h"
#include "app/version_info.h"
#include "expression/interpreter.h"
#include "ui/canvas_shapes.h"
#include "ui/color_ref.h"
#include "base/exception.h"

namespace quenmark {

namespace {

constexpr int ClientWidth = 272;
constexpr int ClientHeight = 88;
constexpr int VersionLeft = 120;
constexpr int VersionGap = 6;
constexpr int RightMargin = 10;        // build and copyright end at 262 of 272
constexpr int CreditRightMargin = 7;   // the credit line at 265

QFont SplashFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void SetTextColor(QLabel& label, TColor color) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, ToQColor(color));
    label.setPalette(palette);
}

// A label whose right end stays at right.
void PlaceRightAligned(QLabel& label, int right, int top) {
    label.adjustSize();
    label.move(right - label.width(), top);
}

}  // namespace

TfrmCalSplash::TfrmCalSplash(const TSettings& settings, const std::string& executable, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      FSettings(settings),
      FTimer(new QTimer(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the splash must never end a run whose main window starts hidden.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QString::fromLatin1(ProductNameText));
    setFixedSize(ClientWidth, ClientHeight);
    FReadyToClose = false;
    CreateLabels();
    ReadVersion(executable);
    PlaceLabels();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
    FTimer->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the time is a minimum.
    FTimer->setTimerType(Qt::PreciseTimer);
    FTimer->setInterval(MinimumShowMs);
    connect(FTimer, &QTimer::timeout, this, &TfrmCalSplash::TimerTimer);
    FTimer->start();
}

TfrmCalSplash::~TfrmCalSplash() = default;

void TfrmCalSplash::CreateLabels() {
    const TColorScheme& colors = FSettings.ColorScheme;
    lblTitle = new QLabel(QString::fromLatin1(ProductNameText), this);
    lblVersion = new QLabel(QStringLiteral("version ") + QString::fromLatin1(ProductVersionText), this);
    lblBuild = new QLabel(this);
    lblCopyright = new QLabel(this);
    lblCredit = new QLabel(QString::fromUtf8(CreditText), this);
    lblTitle->setFont(SplashFont(32, true));
    lblVersion->setFont(SplashFont(24, true));
    for (QLabel* label : {lblBuild, lblCopyright, lblCredit}) {
        label->setFont(SplashFont(11, false));
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    }
    for (QLabel* label : {lblTitle, lblVersion, lblBuild}) SetTextColor(*label, colors.DarkColor);
    for (QLabel* label : {lblCopyright, lblCredit}) SetTextColor(*label, colors.TextColor);
}

// Build and copyright lines, both empty when the version cannot be read.
void TfrmCalSplash::ReadVersion(const std::string& executable) {
    try {
        const TVerInfo info(executable);
        const std::string build = TCCInterpreter::GetLevel() + " : Build " + info.FileVersion();
        const std::string copyright = info.LegalCopyright();
        lblBuild->setText(QString::fromStdString(build));
        lblCopyright->setText(QString::fromStdString(copyright));
    } catch (const EVerInfo&) {
        lblBuild->clear();
        lblCopyright->clear();
    }
}

// The version follows the name at x = 120, or just after a name too long to
// end before it; the window grows by what the version then needs, and the
// right-aligned lines keep their distance from its right edge.
void TfrmCalSplash::PlaceLabels() {
    lblTitle->adjustSize();
    lblTitle->move(8, 4);
    lblVersion->adjustSize();
    lblVersion->move(std::max(VersionLeft, lblTitle->x() + lblTitle->width() + VersionGap), 12);
    const int width = std::max(ClientWidth, lblVersion->x() + lblVersion->width() + RightMargin);
    setFixedSize(width, ClientHeight);
    PlaceRightAligned(*lblBuild, width - RightMargin, 40);
    PlaceRightAligned(*lblCopyright, width - RightMargin, 56);
    PlaceRightAligned(*lblCredit, width - CreditRightMargin, 68);
}

void TfrmCalSplash::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setBrush(ToQColor(FSettings.ColorScheme.BaseColor));
    painter.setPen(ToQColor(FSettings.ColorScheme.DarkColor));
    RoundRectangle(painter, {0, 0, width(), height()}, 0);
}

bool TfrmCalSplash::ReadyToClose() const { return FReadyToClose; }

void TfrmCalSplash::TimerTimer() {
    FTimer->stop();
    if (FReadyToClose) {
        Release();
    } else {
        FReadyToClose = true;
    }
}

void TfrmCalSplash::MainWindowReady() {
    if (FReadyToClose) {
        Release();
    } else {
        FReadyToClose = true;
    }
}

void TfrmCalSplash::Release() { close(); }

}  // namespace quenmark
