#include "ui/window_helpers.h"

#include "app/settings.h"
#include "widget_test_support.h"

#include <QMetaObject>
#include <QWindow>

#include <chrono>
#include <cstdlib>

namespace quenmark {
namespace {

// ---- opacity ----

struct AlphaRow {
    const char* name;
    int alpha;
    double opacity;
    bool layered;
};

class SetAlphaTest : public ::testing::TestWithParam<AlphaRow> {};

TEST_P(SetAlphaTest, SetsTheWindowsOpacity) {
    QWidget window;
    SetAlpha(window, GetParam().alpha);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), GetParam().opacity);
    EXPECT_EQ(IsLayered(window), GetParam().layered);
}

INSTANTIATE_TEST_SUITE_P(Rows, SetAlphaTest,
                         ::testing::Values(AlphaRow{"FullAlphaIsOpaque", 255, 1.0, false},
                                           AlphaRow{"AboveFullAlphaIsOpaque", 300, 1.0, false},
                                           AlphaRow{"TheDefaultInactiveLevel", 192, 192.0 / 255, true},
                                           AlphaRow{"LightTranslucency", 208, 208.0 / 255, true},
                                           AlphaRow{"StrongTranslucency", 160, 160.0 / 255, true},
                                           AlphaRow{"ZeroIsInvisible", 0, 0.0, true},
                                           AlphaRow{"OnlyTheLowEightBitsCount", -64, 192.0 / 255, true}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SetAlpha, FullAlphaMakesALayeredWindowOpaqueAgain) {
    QWidget window;
    SetAlpha(window, 160);
    ASSERT_TRUE(IsLayered(window));
    SetAlpha(window, 255);
    EXPECT_EQ(window.windowOpacity(), 1.0);
    EXPECT_FALSE(IsLayered(window));
}

TEST(SetLayered, OffMakesOpaqueAndOnKeepsTheOpacity) {
    QWidget window;
    SetAlpha(window, 208);
    SetLayered(window, true);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 208.0 / 255);
    SetLayered(window, false);
    EXPECT_EQ(window.windowOpacity(), 1.0);
    EXPECT_FALSE(IsLayered(window));
}

// ---- activity ----

class WindowActivityTest : public test::WindowTest {};

TEST_F(WindowActivityTest, OnlyTheActiveWindowOfTheActiveApplicationCounts) {
    EXPECT_FALSE(IsWindowActive(*Window())) << "hidden";
    ShowWindow();
    EXPECT_TRUE(IsWindowActive(*Window()));

    QWidget other;
    other.setGeometry(500, 100, 100, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_TRUE(IsWindowActive(other));
    EXPECT_FALSE(IsWindowActive(*Window()));
}

// ---- the outline effect ----

// Counts how often an outline overlay is shown while it lives.
class OverlayWatcher : public QObject {
public:
    OverlayWatcher() { qApp->installEventFilter(this); }
    ~OverlayWatcher() override { qApp->removeEventFilter(this); }
    int Shown() const { return FShown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == "OutlineOverlay") ++FShown;
        return false;
    }

private:
    int FShown = 0;
};

bool AnyOverlayVisible() {
    for (const QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->objectName() == "OutlineOverlay" && window->isVisible()) return true;
    }
    return false;
}

using Milliseconds = std::chrono::milliseconds;

template <typename Action>
Milliseconds Timed(Action action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration_cast<Milliseconds>(std::chrono::steady_clock::now() - start);
}

class AnimateOutlineTest : public test::WindowTest {
protected:
    void SetUp() override {
        test::WindowTest::SetUp();
        Window()->setGeometry(300, 250, 350, 110);
        ShowWindow();
    }
    TSettings FSettings{"unused.cfg"};
};

TEST_F(AnimateOutlineTest, DoesNothingWithTheEffectSwitchedOff) {
    FSettings.WindowAnime = false;
    OverlayWatcher watcher;
    const Milliseconds took = Timed([&] { AnimateOutline(*Window(), {10, 10}, true, FSettings); });
    EXPECT_LT(took.count(), 50);
    EXPECT_EQ(watcher.Shown(), 0);
}

TEST_F(AnimateOutlineTest, BlocksForTwentyFiveStepsAndLeavesNothingBehind) {
    ASSERT_TRUE(FSettings.WindowAnime);
    for (const bool showing : {true, false}) {
        SCOPED_TRACE(showing ? "showing" : "hiding");
        OverlayWatcher watcher;
        const Milliseconds took = Timed([&] { AnimateOutline(*Window(), {10, 10}, showing, FSettings); });
        EXPECT_GE(took.count(), 240);
        EXPECT_LT(took.count(), 2000);
        EXPECT_EQ(watcher.Shown(), 1);
        EXPECT_FALSE(AnyOverlayVisible());
    }
}

// The ending state cannot be undone within a process, so it is tested in a
// child process of its own.
TEST_F(AnimateOutlineTest, DoesNothingWhileTheApplicationIsEnding) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            if (IsApplicationEnding()) std::exit(2);
            // What the event loop reports when it returns for good.
            QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection);
            if (!IsApplicationEnding()) std::exit(3);
            OverlayWatcher watcher;
            const Milliseconds took = Timed([&] { AnimateOutline(*Window(), {10, 10}, true, FSettings); });
            std::exit(took.count() < 50 && watcher.Shown() == 0 ? 0 : 4);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace quenmark
