// The splash window: its lines, colours and the release hand-shake with the
// main window in both orders.
#include "ui/splash_window.h"

#include "widget_test_support.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include "app/settings.h"
#include "app/version_info.h"
#include "base/program_version.h"
#include "definitions/temp_directory.h"

namespace quenmark {
namespace {

constexpr TColor Base = RGBColor(230, 240, 250);
constexpr TColor Dark = RGBColor(20, 40, 100);
constexpr TColor Text = RGBColor(120, 0, 0);

class SplashWindowTest : public ::testing::Test {
protected:
    SplashWindowTest() : FSettings(FDirectory.PathOf("Quenmark.ini")) {
        FSettings.ColorScheme = {"Test", Base, Dark, Text, 0};
    }

    // A splash of the running program, which has the built-in version data.
    QPointer<TfrmCalSplash> Create(const std::string& executable = ProgramExecutablePath()) {
        return new TfrmCalSplash(FSettings, executable);
    }

    static bool Released(QPointer<TfrmCalSplash>& splash) {
        return QTest::qWaitFor([&] { return splash.isNull(); }, 1000);
    }

    quenmark::testing::TempDirectory FDirectory;
    TSettings FSettings;
};

TEST_F(SplashWindowTest, ShowsNameVersionBuildAndCopyright) {
    QPointer<TfrmCalSplash> splash = Create();
    EXPECT_EQ(splash->lblTitle->text(), "Quenmark");
    EXPECT_EQ(splash->lblVersion->text().toStdString(), std::string("version ") + ProductVersionText);
    EXPECT_EQ(splash->lblBuild->text().toStdString(), std::string("Interpreter Level 1A : Build ") + FileVersionText);
    EXPECT_EQ(splash->lblCopyright->text().toStdString(), TVerInfo(ProgramExecutablePath()).LegalCopyright());
    EXPECT_FALSE(splash->lblCopyright->text().isEmpty());
    EXPECT_EQ(splash->lblCredit->text(), QString::fromUtf8(TfrmCalSplash::CreditText));
    delete splash;
}

TEST_F(SplashWindowTest, AnExecutableWithoutVersionDataLeavesBuildAndCopyrightEmpty) {
    QPointer<TfrmCalSplash> splash = Create("/bin/sh");
    EXPECT_TRUE(splash->lblBuild->text().isEmpty());
    EXPECT_TRUE(splash->lblCopyright->text().isEmpty());
    EXPECT_EQ(splash->lblTitle->text(), "Quenmark");
    delete splash;
}

TEST_F(SplashWindowTest, LabelsSitWhereTheLayoutPutsThem) {
    QPointer<TfrmCalSplash> splash = Create();
    EXPECT_EQ(splash->height(), 88);
    EXPECT_GE(splash->width(), 272);
    EXPECT_EQ(splash->lblTitle->pos(), QPoint(8, 4));
    EXPECT_EQ(splash->lblVersion->y(), 12);
    EXPECT_GE(splash->lblVersion->x(), 120);
    const int right = splash->width();
    EXPECT_EQ(splash->lblBuild->geometry().right() + 1, right - 10);
    EXPECT_EQ(splash->lblBuild->y(), 40);
    EXPECT_EQ(splash->lblCopyright->geometry().right() + 1, right - 10);
    EXPECT_EQ(splash->lblCopyright->y(), 56);
    EXPECT_EQ(splash->lblCredit->geometry().right() + 1, right - 7);
    EXPECT_EQ(splash->lblCredit->y(), 68);
    EXPECT_EQ(splash->lblTitle->font().pixelSize(), 32);
    EXPECT_TRUE(splash->lblTitle->font().bold());
    EXPECT_EQ(splash->lblVersion->font().pixelSize(), 24);
    EXPECT_EQ(splash->lblBuild->font().pixelSize(), 11);
    delete splash;
}

// The name is longer than the space before x = 120 allows: the version moves
// after it and the window grows, so that no text overlaps or is cut.
TEST_F(SplashWindowTest, NameAndVersionDoNotOverlap) {
    QPointer<TfrmCalSplash> splash = Create();
    const QRect title = splash->lblTitle->geometry();
    const QRect version = splash->lblVersion->geometry();
    EXPECT_GT(version.left(), title.right());
    EXPECT_LE(version.right() + 1 + 10, splash->width());
    for (QLabel* label : {splash->lblTitle, splash->lblVersion, splash->lblBuild, splash->lblCopyright,
                          splash->lblCredit})
        EXPECT_TRUE(splash->rect().contains(label->geometry())) << label->text().toStdString();
    delete splash;
}

TEST_F(SplashWindowTest, ColoursComeFromTheScheme) {
    QPointer<TfrmCalSplash> splash = Create();
    for (QLabel* label : {splash->lblTitle, splash->lblVersion, splash->lblBuild})
        EXPECT_EQ(label->palette().color(QPalette::WindowText), ToQColor(Dark));
    for (QLabel* label : {splash->lblCopyright, splash->lblCredit})
        EXPECT_EQ(label->palette().color(QPalette::WindowText), ToQColor(Text));
    const QImage image = test::Snapshot(*splash);
    EXPECT_EQ(test::PixelAt(image, 0, 0), ToQColor(Dark));
    EXPECT_EQ(test::PixelAt(image, 271, 87), ToQColor(Dark));
    EXPECT_EQ(test::PixelAt(image, 2, 85), ToQColor(Base));
    delete splash;
}

TEST_F(SplashWindowTest, TimerRunsOnceForTheMinimumTime) {
    QPointer<TfrmCalSplash> splash = Create();
    EXPECT_EQ(splash->Timer()->interval(), 2800);
    EXPECT_TRUE(splash->Timer()->isActive());
    EXPECT_TRUE(splash->Timer()->isSingleShot());
    EXPECT_FALSE(splash->ReadyToClose());
    delete splash;
}

TEST_F(SplashWindowTest, MainWindowFirstThenTimerReleases) {
    QPointer<TfrmCalSplash> splash = Create();
    splash->show();
    splash->MainWindowReady();
    EXPECT_TRUE(splash->ReadyToClose());
    EXPECT_FALSE(Released(splash));
    splash->TimerTimer();
    EXPECT_TRUE(Released(splash));
}

TEST_F(SplashWindowTest, TimerFirstThenMainWindowReleases) {
    QPointer<TfrmCalSplash> splash = Create();
    splash->show();
    splash->TimerTimer();
    EXPECT_TRUE(splash->ReadyToClose());
    EXPECT_FALSE(splash->Timer()->isActive());
    EXPECT_FALSE(Released(splash));
    splash->MainWindowReady();
    EXPECT_TRUE(Released(splash));
}

TEST_F(SplashWindowTest, StaysTheMinimumTimeWhenTheMainWindowIsQuicker) {
    // The minimum time runs from the splash window's creation.
    QElapsedTimer clock;
    clock.start();
    QPointer<TfrmCalSplash> splash = Create();
    splash->show();
    splash->MainWindowReady();
    ASSERT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 5000));
    EXPECT_GE(clock.elapsed(), 2700);
}

TEST_F(SplashWindowTest, ReleasingTheSplashDoesNotEndTheApplication) {
    QPointer<TfrmCalSplash> splash = Create();
    EXPECT_FALSE(splash->testAttribute(Qt::WA_QuitOnClose));
    delete splash;
}

}  // namespace
}  // namespace quenmark
