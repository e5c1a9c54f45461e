#include "main_window_test_support.h"

#include "app/history_section.h"
#include "app/line_session.h"
#include "app/saved_variables.h"
#include "app/settings_file.h"
#include "base/text_lookup.h"
#include "support/echo_messages.h"
#include "ui/main_window_session_end.h"
#include "vm/variable_list.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>

#include <signal.h>

namespace quenmark::test {
namespace {

// The three saves, observed in the file: the settings with the current
// version's header, the variables and the history.
class MainWindowSessionEnd : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        MakeWindow();
        Window().WatchSessionEnd(FWatcher);
        EnterLine(QStringLiteral("x = 5"));
        FSettings->MaxLogLine = 77;
    }

    QString Path() const { return QString::fromStdString(SettingsPath()); }

    void ExpectEverythingSaved() {
        ASSERT_TRUE(IsSettingsFileValid(FContext, SettingsPath()));
        TSettings reread(SettingsPath());
        reread.Load();
        EXPECT_EQ(reread.MaxLogLine, 77);
        TVMVariableList variables;
        ReadVariablesSection(reread, variables);
        ASSERT_NE(variables.Find("x"), nullptr);
        EXPECT_EQ(variables.Find("x")->Value, Variant(int32_t{5}));
        std::vector<std::string> history;
        ReadHistorySection(reread, history);
        EXPECT_EQ(history, std::vector<std::string>({"x = 5"}));
    }

    // Whether anything writes the file again from now on.
    void ExpectNoFurtherSave() {
        ASSERT_TRUE(QFile::remove(Path()));
        QCoreApplication::processEvents();
        FWindow.reset();
        EXPECT_FALSE(QFile::exists(Path()));
    }

    TSessionEndWatcher FWatcher;
};

TEST_F(MainWindowSessionEnd, SigtermSavesOnceAndEndsTheRunWithItsStatus) {
    QSignalSpy ended(&Window(), &TfrmCalQuen::RunEnded);
    ASSERT_EQ(raise(SIGTERM), 0);
    ASSERT_TRUE(ended.wait(2000));
    EXPECT_EQ(ended.first().first().toInt(), 128 + SIGTERM);
    ExpectEverythingSaved();
    // A second signal and the window's end save nothing more.
    ASSERT_EQ(raise(SIGHUP), 0);
    QTest::qWait(50);
    EXPECT_EQ(ended.size(), 1);
    ExpectNoFurtherSave();
}

TEST_F(MainWindowSessionEnd, SighupSavesLikeSigterm) {
    QSignalSpy ended(&Window(), &TfrmCalQuen::RunEnded);
    ASSERT_EQ(raise(SIGHUP), 0);
    ASSERT_TRUE(ended.wait(2000));
    EXPECT_EQ(ended.first().first().toInt(), 128 + SIGHUP);
    ExpectEverythingSaved();
}

TEST_F(MainWindowSessionEnd, TheSessionManagersRequestSavesWithoutEndingTheRun) {
    QSignalSpy ended(&Window(), &TfrmCalQuen::RunEnded);
    FWatcher.CommitDataRequested();
    ExpectEverythingSaved();
    EXPECT_TRUE(ended.isEmpty());
    EXPECT_TRUE(Window().isVisible());
    // The run goes on, and its normal end saves what changed since.
    EnterLine(QStringLiteral("y = 6"));
    FWindow.reset();
    std::vector<std::string> history;
    ReadHistorySection(*FSettings, history);
    EXPECT_EQ(history, std::vector<std::string>({"x = 5", "y = 6"}));
}

TEST_F(MainWindowSessionEnd, WhileHiddenTheSessionEndStillSaves) {
    Window().actHide->trigger();
    ASSERT_FALSE(Window().isVisible());
    FWatcher.CommitDataRequested();
    ExpectEverythingSaved();
}

TEST(SessionEndWatcher, RestoresTheFormerSignalHandlingWhenItEnds) {
    struct sigaction before {};
    sigaction(SIGTERM, nullptr, &before);
    {
        TSessionEndWatcher watcher;
        struct sigaction during {};
        sigaction(SIGTERM, nullptr, &during);
        EXPECT_NE(during.sa_handler, before.sa_handler);
    }
    struct sigaction after {};
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

// A save that fails is shown with the file and the reason; the program
// keeps running and saves again when the user asks.
TEST_F(MainWindowTest, AFailedSaveIsShownAndRetriedOnRequest) {
    testing::EchoMessages echo;
    FContext.SetMessages(&echo);
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(SettingsPath())));
    TLineSession session(FInterpreter, *FSettings);
    QStringList shown;
    const bool saved = SaveSessionAskingOnFailure(session, [&](const QString& text) {
        shown << text;
        QDir().rmdir(QString::fromStdString(SettingsPath()));
        return TSaveFailureChoice::Retry;
    });
    EXPECT_TRUE(saved);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().contains(QString::fromStdString(SettingsPath()))) << shown.first().toStdString();
    EXPECT_TRUE(IsSettingsFileValid(FContext, SettingsPath()));
}

TEST_F(MainWindowTest, TheFailureBoxOffersRetryAndQuitWithoutSaving) {
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        for (QAbstractButton* button : box->buttons()) buttons << button->text();
        box->buttons().last()->click();
    });
    EXPECT_EQ(AskAfterFailedSave(nullptr, FContext, QStringLiteral("text")), TSaveFailureChoice::QuitWithoutSaving);
    EXPECT_EQ(buttons, QStringList({QString::fromStdString(FContext.GetText("QEN406")),
                                    QString::fromStdString(FContext.GetText("QEN407"))}));
}

}  // namespace
}  // namespace quenmark::test
