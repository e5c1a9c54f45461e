#pragma once

#include "app/line_session.h"
#include "app/settings.h"
#include "definitions/language_list.h"
#include "expression/interpreter.h"
#include "ui/main_window.h"
#include "ui/main_window_log.h"
#include "ui/main_window_tray.h"
#include "ui/tray_icon.h"
#include "ui/tray_shell.h"
#include "vm/module_list.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace quenmark::test {

// A notification area that accepts every entry, or that does not exist.
struct FakeTrayArea {
    bool Available = true;
    bool Shown = false;
};

class FakeTrayShell : public TTrayShell {
public:
    explicit FakeTrayShell(FakeTrayArea& area) : FArea(area) {}
    bool Add(const TNotifyIconData&) override { return FArea.Shown = true; }
    bool Modify(const TNotifyIconData&) override { return true; }
    void Delete(int) override { FArea.Shown = false; }
    bool Available() const override { return FArea.Available; }

private:
    FakeTrayArea& FArea;
};

// A main window on fresh process objects and a settings file of its own in
// a temporary directory. The window effect is off so that nothing waits.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FDirectory.isValid());
        FContext.SetMessages(&FLanguages);
        FSettings = std::make_unique<TSettings>(SettingsPath());
        FSettings->WindowAnime = false;
        FSettings->MainPlacement = {100, 100, 350, 110, true};
    }

    void TearDown() override { FWindow.reset(); }

    std::string SettingsPath() const { return FDirectory.filePath(QStringLiteral("test.cfg")).toStdString(); }

    // The process objects of this test, with the fake notification area.
    TMainWindowContext Context() {
        TMainWindowContext context;
        context.Settings = FSettings.get();
        context.Interpreter = &FInterpreter;
        context.Languages = &FLanguages;
        context.Modules = &FModules;
        context.TrayShell = std::make_unique<FakeTrayShell>(FTrayArea);
        return context;
    }

    TfrmCalQuen& MakeWindow() {
        TMainWindowContext context = Context();
        context.AskQuestion = [this](const QString& question) {
            FQuestions.push_back(question);
            return FAnswer;
        };
        FWindow = std::make_unique<TfrmCalQuen>(std::move(context));
        return *FWindow;
    }

    TfrmCalQuen& Window() { return *FWindow; }
    QStringList Log() const { return FWindow->memLog->Lines(); }

    // Types the text into the input line of the active window and presses
    // Enter there.
    void EnterLine(const QString& text) {
        if (!FWindow->isActiveWindow()) {
            FWindow->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
        }
        FWindow->edtLine->setFocus();
        QTest::keyClicks(FWindow->edtLine, text);
        QTest::keyClick(FWindow->edtLine, Qt::Key_Return);
    }

    void PressKey(QWidget* target, Qt::Key key) { QTest::keyClick(target, key); }

    std::vector<std::string> History() const { return FWindow->Session().History(); }

    QTemporaryDir FDirectory;
    std::unique_ptr<TSettings> FSettings;
    // The process objects' own context: the texts of the language the test
    // puts in force, "." and ",".
    TCCContext FContext;
    TCCLanguageList FLanguages;
    TCCInterpreter FInterpreter{FContext};
    TVMModuleList FModules;
    FakeTrayArea FTrayArea;
    bool FAnswer = false;
    QStringList FQuestions;
    std::unique_ptr<TfrmCalQuen> FWindow;
};

#ifdef QUENMARK_DIALOG_TEST_RESOURCES
// A main window in one of the shipped languages, chosen by the test's
// parameter: German, Japanese and the built-in English, in the order they
// are gathered.
class MainWindowLanguageTest : public MainWindowTest, public ::testing::WithParamInterface<size_t> {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        FLanguages.Gather(FContext, QUENMARK_DIALOG_TEST_RESOURCES);
        ASSERT_EQ(FLanguages.Count(), 3u);
        FLanguages.Select(&FLanguages.Items(GetParam()));
        MakeWindow();
    }
};
#endif

}  // namespace quenmark::test
