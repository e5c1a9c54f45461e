#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QToolButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QTreeWidget>

#include <algorithm>

#include "app/settings.h"
#include "app/startup_shortcut.h"
#include "app/transparency.h"
#include "app/version_info.h"
#include "definitions/full_path.h"
#include "definitions/language.h"
#include "definitions/language_list.h"
#include "ui/help_window.h"
#include "ui/options_dialog_color_combo.h"
#include "ui/options_dialog_contact.h"
#include "ui/options_dialog_up_down.h"
#include "base/names.h"

namespace quenmark {

namespace {

// The text of a message code in the language in force.
QString Caption(const TCCLanguageList& languages, const char* code) {
    return QString::fromStdString(languages.GetText(code));
}

void SetText(QLabel& label, const TCCLanguageList& languages, const char* code) {
    label.setText(Caption(languages, code));
}

}  // namespace

TfrmCalOption::TfrmCalOption(TSettings& settings, TCCLanguageList& languages, TVMModuleList& modules,
                             QWidget* parent)
    : TfrmCalOption(settings, languages, modules, TOptionDialogEnvironment{}, parent) {}

TfrmCalOption::TfrmCalOption(TSettings& settings, TCCLanguageList& languages, TVMModuleList& modules,
                             const TOptionDialogEnvironment& environment, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      FSettings(settings),
      FLanguages(languages),
      FModules(modules),
      FEnvironment(environment) {
    ApplyDialogFont();
    CreatePages();
    CreateButtons();
    lblTitle->setText(QString::fromLatin1(ProductNameText));
    ApplyCaptions();
    FillColors();
    FillLanguages();
    FillFontNames();
    ReadValues();
    FillModuleList();
    ReadVersion();
    memInfo->setPlainText(Caption(FLanguages, "OPT909"));
    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TfrmCalOption::~TfrmCalOption() = default;

void TfrmCalOption::ApplyDialogFont() {
    const TCCLanguage* language = FLanguages.Current();
    if (!language) return;
    QFont dialogFont(QString::fromStdString(language->DialogFontName()));
    if (language->DialogFontSize() > 0) dialogFont.setPointSize(language->DialogFontSize());
    setFont(dialogFont);
}

void TfrmCalOption::ApplyCaptions() {
    setWindowTitle(Caption(FLanguages, "OPT000"));
    TCCLanguage* language = FLanguages.Current();
    lblVersion->setText(QString::fromStdString(language ? language->GetMessages().GetTextWith("OPT042", ProductVersionText)
                                                        : std::string("version ") + ProductVersionText));
    lblCredit->setText(Caption(FLanguages, "OPT040") + QLatin1Char('\n') + Caption(FLanguages, "OPT041"));
    PageControl->setTabText(0, Caption(FLanguages, "OPT001"));
    PageControl->setTabText(1, Caption(FLanguages, "OPT002"));
    PageControl->setTabText(2, Caption(FLanguages, "OPT003"));
    PageControl->setTabText(3, Caption(FLanguages, "OPT004"));
    btnOK->setText(Caption(FLanguages, "OPT007"));
    btnCancel->setText(Caption(FLanguages, "OPT008"));
    btnHelp->setText(Caption(FLanguages, "OPT009"));
    SetText(*lblColor, FLanguages, "OPT011");
    SetText(*lblLanguage, FLanguages, "OPT012");
    SetText(*lblFont, FLanguages, "OPT013");
    SetText(*lblMaxLogLine, FLanguages, "OPT014");
    SetText(*lblMaxHistory, FLanguages, "OPT015");
    chkSaveHistory->setText(Caption(FLanguages, "OPT016"));
    chkSaveVariables->setText(Caption(FLanguages, "OPT017"));
    chkStartup->setText(Caption(FLanguages, "OPT021"));
    chkSplash->setText(Caption(FLanguages, "OPT022"));
    chkTop->setText(Caption(FLanguages, "OPT023"));
    chkSnap->setText(Caption(FLanguages, "OPT024"));
    chkAnime->setText(Caption(FLanguages, "OPT025"));
    chkResident->setText(Caption(FLanguages, "OPT026"));
    chkAutoComplete->setText(Caption(FLanguages, "OPT027"));
    SetText(*lblWindows2000, FLanguages, "OPT030");
    chkAlwaysTrans->setText(Caption(FLanguages, "OPT031"));
    chkTransInact->setText(Caption(FLanguages, "OPT032"));
    lstModules->setHeaderLabels({Caption(FLanguages, "OPT101"), QString()});
    // The banners point where their page labels do.
    imgPublisherBanner->setToolTip(lblPublisherPage->LinkText());
    imgSupportBanner->setToolTip(lblSupportPage->LinkText());
    ApplyAccessibleNames();
}

// A field is named by the label before it; the arrow buttons, the module
// list and the information texts by their purpose.
void TfrmCalOption::ApplyAccessibleNames() {
    lblColor->setBuddy(cmbColor);
    lblLanguage->setBuddy(cmbLanguage);
    lblFont->setBuddy(cmbFontName);
    lblMaxLogLine->setBuddy(edtMaxLogLine);
    lblMaxHistory->setBuddy(edtMaxHistory);
    edtFontSize->setAccessibleName(Caption(FLanguages, "OPT043"));
    for (TUpDown* upDown : {updFontSize, updMaxLogLine, updMaxHistory}) {
        upDown->UpButton()->setAccessibleName(Caption(FLanguages, "OPT044"));
        upDown->DownButton()->setAccessibleName(Caption(FLanguages, "OPT045"));
    }
    lstModules->setAccessibleName(Caption(FLanguages, "OPT003"));
    memModuleInfo->setAccessibleName(Caption(FLanguages, "OPT046"));
    memInfo->setAccessibleName(Caption(FLanguages, "OPT004"));
}

void TfrmCalOption::FillColors() {
    cmbColor->setCurrentIndex(static_cast<int>(ColorSchemeIndexOf(FSettings.ColorScheme.ColorName)));
}

void TfrmCalOption::FillLanguages() {
    cmbLanguage->clear();
    for (size_t i = 0; i < FLanguages.Count(); ++i)
        cmbLanguage->addItem(QString::fromStdString(FLanguages.Items(i).Language()), static_cast<int>(i));
    if (cmbLanguage->count() > 0) cmbLanguage->setCurrentIndex(0);
    const TCCLanguage* current = FLanguages.Current();
    if (!current) return;
    for (size_t i = 0; i < FLanguages.Count(); ++i) {
        if (SameName(FLanguages.Items(i).Language(), current->Language())) {
            cmbLanguage->setCurrentIndex(static_cast<int>(i));
            return;
        }
    }
}

// The installed faces. A stored face that is not installed (such as the
// default "FixedSys", which Linux desktops lack) is offered first, so that
// confirming the dialog keeps it instead of silently taking another face.
void TfrmCalOption::FillFontNames() {
    const QStringList faces = QFontDatabase::families();
    cmbFontName->addItems(faces);
    const QString stored = QString::fromStdString(FSettings.FontName);
    int index = cmbFontName->findText(stored);
    if (index < 0 && !stored.isEmpty()) {
        cmbFontName->insertItem(0, stored);
        index = 0;
    }
    cmbFontName->setCurrentIndex(index < 0 ? 0 : index);
}

void TfrmCalOption::ReadValues() {
    updFontSize->SetPosition(FSettings.FontSize);
    updMaxLogLine->SetPosition(FSettings.MaxLogLine);
    updMaxHistory->SetPosition(FSettings.MaxHistory);
    chkSaveHistory->setChecked(FSettings.SaveHistory);
    chkSaveVariables->setChecked(FSettings.SaveVariables);
    chkStartup->setChecked(FEnvironment.StartupHome ? StartupShortcutExists(*FEnvironment.StartupHome)
                                                    : StartupShortcutExists());
    chkSplash->setChecked(FSettings.Splash);
    chkTop->setChecked(FSettings.AlwaysOnTop);
    chkResident->setChecked(FSettings.StayResident);
    chkSnap->setChecked(FSettings.SnapAtEdge);
    chkAnime->setChecked(FSettings.WindowAnime);
    chkAutoComplete->setChecked(FSettings.AutoComplete);
    const TTransparencyChoice transparency = TransparencyChoiceOf(FSettings.AlphaActive, FSettings.AlphaInactive);
    chkAlwaysTrans->setChecked(transparency.AlwaysTransparent);
    chkTransInact->setChecked(transparency.TransparentWhenInactive);
}

void TfrmCalOption::SetActivePage(int page) {
    if (page >= 0 && page < PageControl->count()) PageControl->setCurrentIndex(page);
}

int TfrmCalOption::ActivePage() const { return PageControl->currentIndex(); }

int TfrmCalOption::HelpContext(int page) {
    switch (page) {
    case 0: return 100;
    case 1: return 101;
    case 2: return 102;
    default: return 1;
    }
}

void TfrmCalOption::btnOKClick() {
    StoreValues();
    accept();
}

void TfrmCalOption::StoreValues() {
    FSettings.ColorScheme = ColorSchemes()[static_cast<size_t>(std::max(0, cmbColor->currentIndex()))];
    StoreLanguage();
    FSettings.FontName = cmbFontName->currentText().toStdString();
    // A field still being edited counts as left.
    for (TUpDown* upDown : {updFontSize, updMaxLogLine, updMaxHistory}) upDown->ApplyFieldText();
    FSettings.FontSize = updFontSize->Position();
    FSettings.MaxLogLine = updMaxLogLine->Position();
    FSettings.MaxHistory = updMaxHistory->Position();
    FSettings.SaveHistory = chkSaveHistory->isChecked();
    FSettings.SaveVariables = chkSaveVariables->isChecked();
    StoreStartupEntry();
    FSettings.Splash = chkSplash->isChecked();
    FSettings.AlwaysOnTop = chkTop->isChecked();
    FSettings.StayResident = chkResident->isChecked();
    FSettings.SnapAtEdge = chkSnap->isChecked();
    FSettings.WindowAnime = chkAnime->isChecked();
    FSettings.AutoComplete = chkAutoComplete->isChecked();
    const TTransparency transparency = TransparencyFor({chkAlwaysTrans->isChecked(), chkTransInact->isChecked()});
    FSettings.AlphaActive = transparency.AlphaActive;
    FSettings.AlphaInactive = transparency.AlphaInactive;
}

// The chosen language is put in force in the language list, whose messages
// are the context's: every text changes with it, and its help file is
// the one help shows from now on.
void TfrmCalOption::StoreLanguage() {
    const int index = cmbLanguage->currentIndex();
    if (index < 0 || static_cast<size_t>(index) >= FLanguages.Count()) return;
    FSettings.Language = cmbLanguage->currentText().toStdString();
    FLanguages.Select(&FLanguages.Items(static_cast<size_t>(index)));
}

void TfrmCalOption::StoreStartupEntry() {
    if (chkStartup->isChecked()) {
        if (FEnvironment.StartupHome) {
            CreateStartupShortcut(*FEnvironment.StartupHome, ProgramExecutablePath());
        } else {
            CreateStartupShortcut();
        }
        return;
    }
    if (FEnvironment.StartupHome) {
        DeleteStartupShortcut(*FEnvironment.StartupHome);
    } else {
        DeleteStartupShortcut();
    }
}

void TfrmCalOption::ShowHelp() {
    const int context = HelpContext(ActivePage());
    if (OnHelp) {
        OnHelp(context);
        return;
    }
    const TCCLanguage* language = FLanguages.Current();
    auto* help = new THelpWindow(this);
    help->setAttribute(Qt::WA_DeleteOnClose);
    help->SetHelpFile(language ? QString::fromStdString(FullPath(language->HelpFileName())) : QString());
    help->ShowContext(context);
}

void TfrmCalOption::OpenAddress(const QString& address) {
    const QUrl url(address);
    if (OnOpenUrl) {
        OnOpenUrl(url);
    } else {
        QDesktopServices::openUrl(url);
    }
}

}  // namespace quenmark
