// The window on a process whose modules load on demand, as the desktop
// program starts it: a line that needs no module loads none, and the
// options dialog's module page loads the waiting ones for their records.
#include "app/calculator_process.h"
#include "ui/main_window.h"
#include "ui/main_window_log.h"
#include "ui/options_dialog.h"
#include "vm/module_list.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <string>

namespace quenmark::test {
namespace {

class MainWindowModulesOnDemand : public ::testing::Test {
protected:
    // A process on the shipped modules with a cache folder of the test.
    std::unique_ptr<TCalculatorProcess> StartProcess() {
        auto process = std::make_unique<TCalculatorProcess>(Path("quenmark.ini"));
        process->LoadLanguages();
        process->CreateInterpreter();
        process->SetModuleFolderList({{QUENMARK_SHIPPED_MODULE_DIR, false}});
        process->SetModuleCacheDirectory(Path("cache/"));
        process->LoadModulesOnDemand();
        return process;
    }
    std::string Path(const char* name) const { return FDirectory.filePath(QString::fromLatin1(name)).toStdString(); }

    QTemporaryDir FDirectory;
};

TEST_F(MainWindowModulesOnDemand, ALineWithoutModulesLoadsNoneAndTheModulePageLoadsThem) {
    ASSERT_TRUE(FDirectory.isValid());
    const size_t shipped = StartProcess()->ModuleList().Count();  // indexes every module
    ASSERT_GT(shipped, 0u);
    const auto process = StartProcess();
    TVMModuleList& modules = process->ModuleList();
    EXPECT_EQ(modules.Count(), 0u);

    process->Settings().WindowAnime = false;
    TMainWindowContext context;
    context.Settings = &process->Settings();
    context.Interpreter = &process->Interpreter();
    context.Languages = &process->LanguageList();
    context.Modules = &modules;
    TfrmCalQuen window(std::move(context));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.edtLine->setFocus();
    QTest::keyClicks(window.edtLine, QStringLiteral("1+1"));
    QTest::keyClick(window.edtLine, Qt::Key_Return);
    EXPECT_TRUE(window.memLog->Lines().contains(QStringLiteral("2"))) << window.memLog->Lines().join('|').toStdString();
    EXPECT_EQ(modules.Count(), 0u);
    // "*" is a start character of the shipped operator tokenizer: that one
    // module loads, ahead of the others in the list's load order.
    QTest::keyClicks(window.edtLine, QStringLiteral("3*2"));
    QTest::keyClick(window.edtLine, Qt::Key_Return);
    EXPECT_TRUE(window.memLog->Lines().contains(QStringLiteral("6")));
    EXPECT_EQ(modules.Count(), 1u);

    TfrmCalOption dialog(process->Settings(), process->LanguageList(), modules, &window);
    EXPECT_EQ(modules.Count(), shipped);
    EXPECT_EQ(modules.PendingCount(), 0u);
    // The page lists them in their order of precedence, each with its name.
    for (size_t i = 0; i < shipped; ++i) {
        const QTreeWidgetItem* item = dialog.lstModules->topLevelItem(static_cast<int>(i));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(0).toStdString(), modules.Listing()[i].FileName);
        EXPECT_FALSE(item->text(1).isEmpty()) << item->text(0).toStdString();
    }
}

}  // namespace
}  // namespace quenmark::test
