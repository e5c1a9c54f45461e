// The options dialog: captions, the values it reads and stores, the
// language switch, the module list, the About page, help and links.
#include "ui/options_dialog.h"

#include "widget_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>
#include <memory>

#include "app/settings.h"
#include "app/startup_shortcut.h"
#include "app/version_info.h"
#include "base/program_version.h"
#include "definitions/language_list.h"
#include "definitions/messages.h"
#include "definitions/temp_directory.h"
#include "ui/options_dialog_color_combo.h"
#include "ui/options_dialog_contact.h"
#include "app/module_information.h"
#include "ui/options_dialog_up_down.h"
#include "vm/module_list.h"

namespace quenmark {
namespace {

const std::string ResourceDir = QUENMARK_DIALOG_TEST_RESOURCES;

class OptionDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        FContext.SetMessages(&FLanguages);
        FSettings = std::make_unique<TSettings>(FDirectory.PathOf("Quenmark.ini"));
        FEnvironment.StartupHome = FDirectory.Path();
    }

    void TearDown() override {
        FDialog.reset();
    }

    // The shipped languages (German, Japanese, then the built-in English,
    // whose files are the shipped English ones), English current.
    void UseShippedLanguages() {
        FLanguages.Gather(FContext, ResourceDir);
        FLanguages.Select(&FLanguages.Items(FLanguages.Count() - 1));
    }

    // Only the built-in language, without any file.
    void UseBuiltInLanguageOnly() {
        FLanguages.Add(TCCLanguage::CreateBuiltIn(FContext, FDirectory.Path()));
        FLanguages.Select(&FLanguages.Items(0));
    }

    TfrmCalOption& Dialog() {
        if (!FDialog) {
            FDialog = std::make_unique<TfrmCalOption>(*FSettings, FLanguages, FModules, FEnvironment);
            FDialog->OnHelp = [this](int context) { FHelpContexts.push_back(context); };
            FDialog->OnOpenUrl = [this](const QUrl& url) {
                FOpened.push_back(url.toString());
                return true;
            };
        }
        return *FDialog;
    }

    void Reopen() { FDialog.reset(); }

    static void Leave(QWidget* field) {
        QFocusEvent leave(QEvent::FocusOut);
        QApplication::sendEvent(field, &leave);
    }

    static void Click(QWidget* label) {
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
    }

    int LanguageIndex(const char* name) const {
        for (size_t i = 0; i < FLanguages.Count(); ++i)
            if (FLanguages.Items(i).Language() == name) return static_cast<int>(i);
        return -1;
    }

    quenmark::testing::TempDirectory FDirectory;
    std::unique_ptr<TSettings> FSettings;
    // The program's context: its messages are those of the language in force.
    TCCContext FContext;
    TCCLanguageList FLanguages;
    TVMModuleList FModules;
    TOptionDialogEnvironment FEnvironment;
    std::unique_ptr<TfrmCalOption> FDialog;
    std::vector<int> FHelpContexts;
    std::vector<QString> FOpened;
};

TEST_F(OptionDialogTest, CaptionsComeFromTheCatalogue) {
    UseShippedLanguages();
    ASSERT_NE(FContext.GetText("OPT001"), "OPT001");
    TfrmCalOption& dialog = Dialog();
    const std::vector<std::pair<QString, const char*>> captions{
        {dialog.windowTitle(), "OPT000"},           {dialog.PageControl->tabText(0), "OPT001"},
        {dialog.PageControl->tabText(1), "OPT002"}, {dialog.PageControl->tabText(2), "OPT003"},
        {dialog.PageControl->tabText(3), "OPT004"}, {dialog.btnOK->text(), "OPT007"},
        {dialog.btnCancel->text(), "OPT008"},       {dialog.btnHelp->text(), "OPT009"},
        {dialog.lblColor->text(), "OPT011"},        {dialog.lblLanguage->text(), "OPT012"},
        {dialog.lblFont->text(), "OPT013"},         {dialog.lblMaxLogLine->text(), "OPT014"},
        {dialog.lblMaxHistory->text(), "OPT015"},   {dialog.chkSaveHistory->text(), "OPT016"},
        {dialog.chkSaveVariables->text(), "OPT017"}, {dialog.chkStartup->text(), "OPT021"},
        {dialog.chkSplash->text(), "OPT022"},       {dialog.chkTop->text(), "OPT023"},
        {dialog.chkSnap->text(), "OPT024"},         {dialog.chkAnime->text(), "OPT025"},
        {dialog.chkResident->text(), "OPT026"},     {dialog.lblWindows2000->text(), "OPT030"},
        {dialog.chkAutoComplete->text(), "OPT027"},
        {dialog.chkAlwaysTrans->text(), "OPT031"},  {dialog.chkTransInact->text(), "OPT032"},
        {dialog.lstModules->headerItem()->text(0), "OPT101"}, {dialog.memInfo->toPlainText(), "OPT909"}};
    for (const auto& [caption, code] : captions) EXPECT_EQ(caption.toStdString(), FContext.GetText(code)) << code;
}

TEST_F(OptionDialogTest, WithoutACatalogueCaptionsShowTheirCodes) {
    TfrmCalOption& dialog = Dialog();
    EXPECT_EQ(dialog.PageControl->tabText(1), "OPT002");
    EXPECT_EQ(dialog.chkTop->text(), "OPT023");
    EXPECT_EQ(dialog.windowTitle(), "OPT000");
}

TEST_F(OptionDialogTest, DialogFontIsTheLanguagesDialogFont) {
    UseShippedLanguages();
    const TCCLanguage& language = *FLanguages.Current();
    EXPECT_EQ(Dialog().font().family().toStdString(), language.DialogFontName());
    EXPECT_EQ(Dialog().font().pointSize(), language.DialogFontSize());
}

TEST_F(OptionDialogTest, ReadsTheSettings) {
    FSettings->FontSize = 20;
    FSettings->MaxLogLine = 500;
    FSettings->MaxHistory = 0;
    FSettings->SaveHistory = false;
    FSettings->SaveVariables = true;
    FSettings->Splash = false;
    FSettings->AlwaysOnTop = true;
    FSettings->StayResident = false;
    FSettings->SnapAtEdge = true;
    FSettings->WindowAnime = false;
    FSettings->AutoComplete = false;
    TfrmCalOption& dialog = Dialog();
    EXPECT_EQ(dialog.edtFontSize->text(), "20");
    EXPECT_EQ(dialog.updMaxLogLine->Position(), 500);
    EXPECT_EQ(dialog.edtMaxHistory->text(), "0");
    EXPECT_FALSE(dialog.chkSaveHistory->isChecked());
    EXPECT_TRUE(dialog.chkSaveVariables->isChecked());
    EXPECT_FALSE(dialog.chkSplash->isChecked());
    EXPECT_TRUE(dialog.chkTop->isChecked());
    EXPECT_FALSE(dialog.chkResident->isChecked());
    EXPECT_TRUE(dialog.chkSnap->isChecked());
    EXPECT_FALSE(dialog.chkAnime->isChecked());
    EXPECT_FALSE(dialog.chkAutoComplete->isChecked());
}

TEST_F(OptionDialogTest, UpDownsKeepStoredValuesWithinTheirRanges) {
    FSettings->FontSize = 100;
    FSettings->MaxLogLine = 3;
    FSettings->MaxHistory = 999;
    TfrmCalOption& dialog = Dialog();
    EXPECT_EQ(dialog.edtFontSize->text(), "48");
    EXPECT_EQ(dialog.edtMaxLogLine->text(), "25");
    EXPECT_EQ(dialog.edtMaxHistory->text(), "255");
}

TEST_F(OptionDialogTest, NumericFieldsCorrectTheirTextWhenLeft) {
    FSettings->FontSize = 14;
    TfrmCalOption& dialog = Dialog();
    dialog.edtFontSize->setText("100");
    Leave(dialog.edtFontSize);
    EXPECT_EQ(dialog.edtFontSize->text(), "48");
    dialog.edtFontSize->setText("3");
    Leave(dialog.edtFontSize);
    EXPECT_EQ(dialog.edtFontSize->text(), "8");
    dialog.edtFontSize->setText("12");
    Leave(dialog.edtFontSize);
    dialog.edtFontSize->setText("twelve");
    Leave(dialog.edtFontSize);
    EXPECT_EQ(dialog.edtFontSize->text(), "12");
    dialog.edtMaxLogLine->setText("5000");
    Leave(dialog.edtMaxLogLine);
    EXPECT_EQ(dialog.edtMaxLogLine->text(), "1023");
    dialog.edtMaxHistory->setText("-1");
    Leave(dialog.edtMaxHistory);
    EXPECT_EQ(dialog.edtMaxHistory->text(), "0");
}

TEST_F(OptionDialogTest, OkStoresFieldsStillBeingEdited) {
    TfrmCalOption& dialog = Dialog();
    dialog.edtFontSize->setText("30");
    dialog.edtMaxLogLine->setText("x");
    dialog.edtMaxHistory->setText("300");
    dialog.btnOKClick();
    EXPECT_EQ(FSettings->FontSize, 30);
    EXPECT_EQ(FSettings->MaxLogLine, 100);
    EXPECT_EQ(FSettings->MaxHistory, 255);
}

// The transparency presets themselves are tested with TransparencyFor.
TEST_F(OptionDialogTest, TransparencyChecksFollowAndStoreThePresets) {
    FSettings->AlphaActive = 255;
    FSettings->AlphaInactive = 192;
    EXPECT_FALSE(Dialog().chkAlwaysTrans->isChecked());
    EXPECT_TRUE(Dialog().chkTransInact->isChecked());
    Dialog().chkAlwaysTrans->setChecked(true);
    Dialog().btnOKClick();
    EXPECT_EQ(FSettings->AlphaActive, 208);
    EXPECT_EQ(FSettings->AlphaInactive, 160);
}

TEST_F(OptionDialogTest, OkStoresTheChecksAndTheFont) {
    FSettings->FontName = "Liberation Sans";
    TfrmCalOption& dialog = Dialog();
    dialog.chkSaveHistory->setChecked(false);
    dialog.chkSaveVariables->setChecked(false);
    dialog.chkSplash->setChecked(false);
    dialog.chkTop->setChecked(false);
    dialog.chkResident->setChecked(false);
    dialog.chkSnap->setChecked(false);
    dialog.chkAnime->setChecked(false);
    dialog.chkAutoComplete->setChecked(false);
    dialog.cmbFontName->setCurrentText("Liberation Serif");
    dialog.btnOKClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(FSettings->SaveHistory || FSettings->SaveVariables || FSettings->Splash || FSettings->AlwaysOnTop ||
                 FSettings->StayResident || FSettings->SnapAtEdge || FSettings->WindowAnime);
    EXPECT_FALSE(FSettings->AutoComplete);
    EXPECT_EQ(FSettings->FontName, "Liberation Serif");
}

TEST_F(OptionDialogTest, CancelChangesNothing) {
    UseShippedLanguages();
    const TCCLanguage* language = FLanguages.Current();
    TfrmCalOption& dialog = Dialog();
    dialog.chkTop->setChecked(!FSettings->AlwaysOnTop);
    dialog.chkAlwaysTrans->setChecked(true);
    dialog.edtFontSize->setText("40");
    dialog.cmbColor->setCurrentIndex(5);
    dialog.cmbLanguage->setCurrentIndex(LanguageIndex("Deutsch"));
    dialog.chkStartup->setChecked(true);
    dialog.btnCancel->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    const TSettings defaults(FDirectory.PathOf("other.ini"));
    EXPECT_EQ(FSettings->AlwaysOnTop, defaults.AlwaysOnTop);
    EXPECT_EQ(FSettings->AlphaActive, defaults.AlphaActive);
    EXPECT_EQ(FSettings->FontSize, defaults.FontSize);
    EXPECT_EQ(FSettings->ColorScheme, defaults.ColorScheme);
    EXPECT_EQ(FSettings->Language, defaults.Language);
    EXPECT_EQ(FLanguages.Current(), language);
    EXPECT_FALSE(std::filesystem::exists(GetStartupShortcutPath(FDirectory.Path())));
}

TEST_F(OptionDialogTest, ExecEndsWithAcceptedForOkAndRejectedForEscape) {
    TfrmCalOption& dialog = Dialog();
    QTimer::singleShot(0, &dialog, [&] { dialog.btnOK->click(); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(dialog.btnOK->isDefault());
}

TEST_F(OptionDialogTest, AnUnknownSchemeNameSelectsTheFirstScheme) {
    FSettings->ColorScheme.ColorName = "No Such Scheme";
    EXPECT_EQ(Dialog().cmbColor->currentIndex(), 0);
}

TEST_F(OptionDialogTest, TheStoredSchemeIsSelectedAndOkStoresTheChosenRow) {
    FSettings->ColorScheme = ColorSchemes()[4];
    TfrmCalOption& dialog = Dialog();
    EXPECT_EQ(dialog.cmbColor->currentIndex(), 4);
    dialog.cmbColor->setCurrentIndex(7);
    dialog.btnOKClick();
    EXPECT_EQ(FSettings->ColorScheme, ColorSchemes()[7]);
}

TEST_F(OptionDialogTest, AFaceThatIsNotInstalledIsKept) {
    FSettings->FontName = "FixedSys";
    TfrmCalOption& dialog = Dialog();
    EXPECT_EQ(dialog.cmbFontName->currentText(), "FixedSys");
    dialog.btnOKClick();
    EXPECT_EQ(FSettings->FontName, "FixedSys");
}

TEST_F(OptionDialogTest, AnInstalledFaceIsSelectedOnce) {
    FSettings->FontName = "Liberation Sans";
    TfrmCalOption& dialog = Dialog();
    EXPECT_EQ(dialog.cmbFontName->currentText(), "Liberation Sans");
    EXPECT_EQ(dialog.cmbFontName->findText("Liberation Sans"), dialog.cmbFontName->currentIndex());
    EXPECT_EQ(dialog.cmbFontName->findText("FixedSys"), -1);
}

TEST_F(OptionDialogTest, WithOnlyTheBuiltInLanguageNoLanguageIsListed) {
    UseBuiltInLanguageOnly();
    TfrmCalOption& dialog = Dialog();
    EXPECT_EQ(dialog.lstModules->topLevelItemCount(), 0);
    ASSERT_EQ(dialog.cmbLanguage->count(), 1);
    EXPECT_EQ(dialog.cmbLanguage->currentText(), "English");
}

TEST_F(OptionDialogTest, LanguageSelectorShowsTheCurrentLanguage) {
    UseShippedLanguages();
    FLanguages.Select(&FLanguages.Items(static_cast<size_t>(LanguageIndex("日本語"))));
    TfrmCalOption& dialog = Dialog();
    ASSERT_EQ(dialog.cmbLanguage->count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(dialog.cmbLanguage->itemText(i).toStdString(), FLanguages.Items(static_cast<size_t>(i)).Language());
    EXPECT_EQ(dialog.cmbLanguage->currentText(), "日本語");
}

TEST_F(OptionDialogTest, OkSwitchesLanguageAndMessagesAtOnce) {
    UseShippedLanguages();
    const TCCMessages german(FContext, "German.msg", ResourceDir);
    ASSERT_NE(FContext.GetText("OPT001"), german.GetText("OPT001"));
    TfrmCalOption& dialog = Dialog();
    dialog.cmbLanguage->setCurrentIndex(LanguageIndex("Deutsch"));
    dialog.btnOKClick();
    EXPECT_EQ(FSettings->Language, "Deutsch");
    ASSERT_NE(FLanguages.Current(), nullptr);
    EXPECT_EQ(FLanguages.Current()->Language(), "Deutsch");
    EXPECT_EQ(FContext.GetText("OPT001"), FLanguages.Current()->GetMessages().GetText("OPT001"));
    for (const char* code : {"OPT001", "QEN001", "QEN901", "INT001"})
        EXPECT_EQ(FContext.GetText(code), german.GetText(code));
    Reopen();
    EXPECT_EQ(Dialog().PageControl->tabText(0).toStdString(), german.GetText("OPT001"));
    EXPECT_EQ(Dialog().cmbLanguage->currentText(), "Deutsch");
}

TEST_F(OptionDialogTest, ModulesPageListsModulesThenLanguageFiles) {
    UseShippedLanguages();
    FModules.Add(std::make_unique<TVMModule>(FContext, QUENMARK_DIALOG_TEST_MODULES, "sample.vmx"));
    TfrmCalOption& dialog = Dialog();
    QTreeWidget& list = *dialog.lstModules;
    ASSERT_EQ(list.topLevelItemCount(), 3);
    EXPECT_EQ(list.topLevelItem(0)->text(0), "sample.vmx");
    EXPECT_EQ(list.topLevelItem(0)->text(1), "Sample");
    EXPECT_EQ(list.topLevelItem(0)->data(0, TfrmCalOption::IconRole).toInt(), TfrmCalOption::ModuleIcon);
    for (int i = 1; i < 3; ++i) {
        const TCCLanguage& language = FLanguages.Items(static_cast<size_t>(i - 1));
        EXPECT_EQ(list.topLevelItem(i)->text(0).toStdString(), language.FileName());
        EXPECT_EQ(list.topLevelItem(i)->text(1).toStdString(), language.Language());
        EXPECT_EQ(list.topLevelItem(i)->data(0, TfrmCalOption::IconRole).toInt(), TfrmCalOption::LanguageIcon);
    }
    EXPECT_EQ(list.columnWidth(0), 110);
    EXPECT_EQ(list.columnWidth(1), 205);
}

QStringList ExpectedText(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines) text.append(QString::fromStdString(line));
    text.append(QString());  // the last line's end
    return text;
}

TEST_F(OptionDialogTest, SelectingAnEntryShowsItsInformation) {
    UseShippedLanguages();
    FModules.Add(std::make_unique<TVMModule>(FContext, QUENMARK_DIALOG_TEST_MODULES, "sample.vmx"));
    TfrmCalOption& dialog = Dialog();
    QTreeWidget& list = *dialog.lstModules;
    EXPECT_TRUE(dialog.memModuleInfo->toPlainText().isEmpty());
    list.topLevelItem(0)->setSelected(true);
    EXPECT_EQ(dialog.memModuleInfo->toPlainText().split('\n'),
              ExpectedText(ModuleInformationLines(RecordsOf(FModules[0]))));
    const int japanese = LanguageIndex("日本語");
    list.clearSelection();
    EXPECT_TRUE(dialog.memModuleInfo->toPlainText().isEmpty());
    list.topLevelItem(1 + japanese)->setSelected(true);
    const QStringList lines = dialog.memModuleInfo->toPlainText().split('\n');
    EXPECT_EQ(lines, ExpectedText(LanguageInformationLines(FLanguages.Items(static_cast<size_t>(japanese)),
                                                           InformationLabels(FLanguages))));
    EXPECT_EQ(lines.value(5), "  LanguageID : 0x0411");
}

TEST_F(OptionDialogTest, InAnotherLanguageTheModulesEnglishDescriptionsAreAnnounced) {
    UseShippedLanguages();
    FModules.Add(std::make_unique<TVMModule>(FContext, QUENMARK_DIALOG_TEST_MODULES, "sample.vmx"));
    for (size_t i = 0; i < FLanguages.Count(); ++i) {
        TCCLanguage& language = FLanguages.Items(i);
        FLanguages.Select(&language);
        // The module's own texts stay English; the labels speak the language.
        const std::string english =
            ExpectedText(ModuleInformationLines(RecordsOf(FModules[0]), InformationLabels(FLanguages)))
                .join('\n')
                .toStdString();
        FDialog.reset();
        Dialog().lstModules->topLevelItem(0)->setSelected(true);
        const std::string shown = Dialog().memModuleInfo->toPlainText().toStdString();
        if (language.LangID() == 1033) {
            EXPECT_EQ(shown, english);
        } else {
            EXPECT_EQ(shown, language.GetMessages().GetText("OPT047") + "\n\n" + english) << language.Language();
        }
    }
}

TEST_F(OptionDialogTest, TheAboutPageSpeaksTheLanguage) {
    UseShippedLanguages();
    for (size_t i = 0; i < FLanguages.Count(); ++i) {
        TCCLanguage& language = FLanguages.Items(i);
        FLanguages.Select(&language);
        FDialog.reset();
        const TCCMessages& messages = language.GetMessages();
        EXPECT_EQ(Dialog().lblCredit->text().toStdString(), messages.GetText("OPT040") + "\n" + messages.GetText("OPT041"));
        EXPECT_EQ(Dialog().lblVersion->text().toStdString(), messages.GetTextWith("OPT042", ProductVersionText));
    }
}

TEST_F(OptionDialogTest, AboutPageShowsTheVersion) {
    UseShippedLanguages();
    TfrmCalOption& dialog = Dialog();
    EXPECT_EQ(dialog.lblTitle->text(), "Quenmark");
    EXPECT_EQ(dialog.lblVersion->text().toStdString(), std::string("version ") + ProductVersionText);
    EXPECT_EQ(dialog.lblBuild->text().toStdString(), std::string("Interpreter Level 1A : Build ") + FileVersionText);
    EXPECT_EQ(dialog.lblCopyright->text().toStdString(), TVerInfo(ProgramExecutablePath()).LegalCopyright());
    EXPECT_EQ(dialog.memInfo->toPlainText().toStdString(), FContext.GetText("OPT909"));
    EXPECT_TRUE(dialog.memInfo->isReadOnly());
}

TEST_F(OptionDialogTest, ContactLinksOpenTheirAddresses) {
    TfrmCalOption& dialog = Dialog();
    Click(dialog.lblPublisherPage);
    Click(dialog.lblMail);
    Click(dialog.lblSupportPage);
    Click(dialog.imgPublisherBanner);
    Click(dialog.imgSupportBanner);
    const std::vector<QString> expected{PublisherPageAddress, QString("mailto:") + AuthorMailAddress,
                                        SupportPageAddress, PublisherPageAddress, SupportPageAddress};
    EXPECT_EQ(FOpened, expected);
    EXPECT_EQ(dialog.imgPublisherBanner->toolTip(), dialog.lblPublisherPage->text());
}

TEST_F(OptionDialogTest, HelpShowsTheTopicOfThePage) {
    TfrmCalOption& dialog = Dialog();
    for (int page : {0, 1, 2, 3}) {
        dialog.SetActivePage(page);
        EXPECT_EQ(dialog.ActivePage(), page);
        dialog.btnHelp->click();
    }
    EXPECT_EQ(FHelpContexts, (std::vector<int>{100, 101, 102, 1}));
}

TEST_F(OptionDialogTest, AnInvalidPageLeavesTheActivePage) {
    TfrmCalOption& dialog = Dialog();
    dialog.SetActivePage(3);
    dialog.SetActivePage(7);
    dialog.SetActivePage(-1);
    EXPECT_EQ(dialog.ActivePage(), 3);
}

TEST_F(OptionDialogTest, StartupOptionCreatesAndDeletesTheEntry) {
    const std::string entry = GetStartupShortcutPath(FDirectory.Path());
    EXPECT_FALSE(Dialog().chkStartup->isChecked());
    Dialog().chkStartup->setChecked(true);
    Dialog().btnOKClick();
    EXPECT_TRUE(std::filesystem::is_regular_file(entry));
    Reopen();
    EXPECT_TRUE(Dialog().chkStartup->isChecked());
    Dialog().chkStartup->setChecked(false);
    Dialog().btnOKClick();
    EXPECT_FALSE(std::filesystem::exists(entry));
}

}  // namespace
}  // namespace quenmark
