#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace quenmark {

class TSettings;
class TCCLanguageList;
class TVMModuleList;
class TColorSchemeComboBox;
class TContactLabel;
class TUpDown;

// Where the options dialog keeps the start-up entry: under this home
// directory, or the current user's when none is given.
struct TOptionDialogEnvironment {
    std::optional<std::string> StartupHome;
};

// The options dialog: edits the settings on four pages (0 basic, 1, 2, and
// 3 about) and lists the loaded modules and languages. Accepting it writes
// the edited values into the settings.
class TfrmCalOption : public QDialog {
    Q_OBJECT
public:
    // The icons of the module list's entries.
    static constexpr int ModuleIcon = 1;
    static constexpr int LanguageIcon = 2;
    // The item data roles of lstModules: the icon number and the position in
    // the module or language list.
    static constexpr int IconRole = Qt::UserRole;
    static constexpr int IndexRole = Qt::UserRole + 1;

    TfrmCalOption(TSettings& settings, TCCLanguageList& languages, TVMModuleList& modules,
                  QWidget* parent = nullptr);
    TfrmCalOption(TSettings& settings, TCCLanguageList& languages, TVMModuleList& modules,
                  const TOptionDialogEnvironment& environment, QWidget* parent = nullptr);
    ~TfrmCalOption() override;

    void SetActivePage(int page);
    int ActivePage() const;
    // The help context of a page: 100, 101 and 102 for the first three, 1
    // for the About page.
    static int HelpContext(int page);

    // OK: stores every edited value, switches the language, then accepts.
    void btnOKClick();

    // Shows a help topic; unset, the dialog opens the current language's help
    // file itself.
    std::function<void(int context)> OnHelp;
    // Opens a web or mail address; unset, the desktop opens it.
    std::function<bool(const QUrl&)> OnOpenUrl;

    QTabWidget* PageControl;
    QWidget* tbsBasis;
    QWidget* tbsSpecial;
    QWidget* tbsModules;
    QWidget* tbsAbout;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    QPushButton* btnHelp;

    // Basis
    QLabel* lblColor;
    QLabel* lblLanguage;
    QLabel* lblFont;
    QLabel* lblMaxLogLine;
    QLabel* lblMaxHistory;
    TColorSchemeComboBox* cmbColor;
    QComboBox* cmbLanguage;
    QComboBox* cmbFontName;
    QLineEdit* edtFontSize;
    QLineEdit* edtMaxLogLine;
    QLineEdit* edtMaxHistory;
    TUpDown* updFontSize;
    TUpDown* updMaxLogLine;
    TUpDown* updMaxHistory;
    QCheckBox* chkSaveHistory;
    QCheckBox* chkSaveVariables;

    // Special
    QCheckBox* chkStartup;
    QCheckBox* chkSplash;
    QCheckBox* chkTop;
    QCheckBox* chkResident;
    QCheckBox* chkSnap;
    QCheckBox* chkAnime;
    QCheckBox* chkAutoComplete;
    QLabel* lblWindows2000;
    QCheckBox* chkAlwaysTrans;
    QCheckBox* chkTransInact;

    // Modules
    QTreeWidget* lstModules;
    QPlainTextEdit* memModuleInfo;

    // About
    QLabel* imgIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblBuild;
    QLabel* lblCopyright;
    QPlainTextEdit* memInfo;
    QLabel* lblCredit;
    TContactLabel* imgPublisherBanner;
    TContactLabel* imgSupportBanner;
    TContactLabel* lblPublisherPage;
    TContactLabel* lblMail;
    TContactLabel* lblSupportPage;

private:
    void CreatePages();
    QWidget* CreateBasisPage();
    QWidget* CreateSpecialPage();
    QWidget* CreateModulesPage();
    QWidget* CreateAboutPage();
    QWidget* CreateContactArea();
    void CreateButtons();
    void ApplyDialogFont();
    void ApplyCaptions();
    // The names assistive technologies give the controls without a caption.
    void ApplyAccessibleNames();
    bool LanguageIsEnglish() const;
    void FillColors();
    void FillLanguages();
    void FillFontNames();
    void ReadValues();
    void FillModuleList();
    void ReadVersion();
    void ModuleSelectionChange();
    std::string ItemInformation(const QTreeWidgetItem& item) const;
    void StoreValues();
    void StoreLanguage();
    void StoreStartupEntry();
    void ShowHelp();
    void OpenAddress(const QString& address);

    TSettings& FSettings;
    TCCLanguageList& FLanguages;
    TVMModuleList& FModules;
    TOptionDialogEnvironment FEnvironment;
};

}  // namespace quenmark
