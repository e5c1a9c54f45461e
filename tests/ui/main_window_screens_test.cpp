// The main window keeps its title bar on a screen: a saved position off
// every screen is not used, and a change of the screens moves a window
// that they left behind.
#include "main_window_test_support.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

namespace quenmark::test {
namespace {

class MainWindowScreens : public MainWindowTest {
protected:
    static QRect Available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    // The default place: the bottom right corner of the primary screen.
    static QRect Corner(QSize size) {
        const QRect area = Available();
        return {area.right() + 1 - size.width(), area.bottom() + 1 - size.height(), size.width(), size.height()};
    }
};

TEST_F(MainWindowScreens, ASavedPositionOnTheScreenIsUsed) {
    FSettings->MainPlacement = {100, 100, 350, 110, true};
    MakeWindow();
    EXPECT_EQ(Window().geometry(), QRect(100, 100, 350, 110));
}

TEST_F(MainWindowScreens, ASavedPositionOffEveryScreenGivesTheDefaultPlace) {
    for (const TWindowPlacement& saved : {TWindowPlacement{5000, 5000, 350, 110, true},
                                          TWindowPlacement{-1000, 100, 350, 110, true},
                                          TWindowPlacement{100, -50, 350, 110, true}}) {
        FWindow.reset();
        FSettings->MainPlacement = saved;
        MakeWindow();
        EXPECT_EQ(Window().geometry(), Corner(QSize(350, 110))) << saved.Left << "," << saved.Top;
    }
}

// The settings keep the place the window went to, so that a save writes it
// and applying the options again does not take the window back off-screen.
TEST_F(MainWindowScreens, TheSettingsTakeThePlaceTheWindowWentTo) {
    FSettings->MainPlacement = {5000, 5000, 350, 110, true};
    MakeWindow();
    const QRect corner = Corner(QSize(350, 110));
    EXPECT_EQ(FSettings->MainPlacement, (TWindowPlacement{corner.x(), corner.y(), 350, 110, true}));
    Window().ApplyPosition();
    EXPECT_EQ(Window().geometry(), corner);
}

TEST_F(MainWindowScreens, AChangedScreenAreaBringsAWindowLeftOutsideBack) {
    MakeWindow();
    Window().move(Available().right() + 500, 100);
    QScreen* screen = QGuiApplication::primaryScreen();
    emit screen->availableGeometryChanged(screen->availableGeometry());
    QCoreApplication::processEvents();
    EXPECT_EQ(Window().geometry(), Corner(QSize(350, 110)));
}

TEST_F(MainWindowScreens, AChangedScreenAreaLeavesAWindowOnItWhereItIs) {
    MakeWindow();
    Window().move(120, 130);
    QScreen* screen = QGuiApplication::primaryScreen();
    emit screen->availableGeometryChanged(screen->availableGeometry());
    QCoreApplication::processEvents();
    EXPECT_EQ(Window().pos(), QPoint(120, 130));
}

}  // namespace
}  // namespace quenmark::test
