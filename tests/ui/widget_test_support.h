#pragma once

#include "ui/color_ref.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QCursor>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <memory>
#include <ostream>

// Readable colours and points in failure messages.
inline void PrintTo(const QColor& color, std::ostream* os) {
    *os << "rgb(" << color.red() << ", " << color.green() << ", " << color.blue() << ")";
}
inline void PrintTo(const QPoint& point, std::ostream* os) {
    *os << "(" << point.x() << ", " << point.y() << ")";
}
inline void PrintTo(const QRect& rect, std::ostream* os) {
    *os << "(" << rect.x() << ", " << rect.y() << " " << rect.width() << "x" << rect.height()
        << ")";
}

namespace quenmark::test {

// Distinct colours for the controls' colour properties, so that every pixel
// tells which of them painted it.
inline constexpr TColor FaceRGB = RGBColor(200, 200, 200);
inline constexpr TColor BorderRGB = RGBColor(0, 0, 128);
inline constexpr TColor TextRGB = RGBColor(128, 0, 0);
inline constexpr TColor SelectedRGB = RGBColor(0, 160, 0);
inline constexpr TColor PushRGB = RGBColor(255, 200, 0);

inline QImage Snapshot(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QColor PixelAt(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

// A shown and active top-level window to put controls on.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        FWindow = std::make_unique<QWidget>();
        FWindow->setGeometry(100, 100, 300, 200);
    }

    // The real pointer is put outside the window first, so that showing it
    // sends no enter or leave events of its own to the controls.
    void ShowWindow() {
        QCursor::setPos(FWindow->geometry().bottomRight() + QPoint(50, 50));
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    }

    QWidget* Window() { return FWindow.get(); }

private:
    std::unique_ptr<QWidget> FWindow;
};

}  // namespace quenmark::test
