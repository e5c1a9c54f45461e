// The four pages of the options dialog, their lists and the version lines.
#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <vector>

#include "app/settings.h"
#include "app/version_info.h"
#include "definitions/language_list.h"
#include "expression/interpreter.h"
#include "ui/color_ref.h"
#include "ui/main_window_icons.h"
#include "ui/options_dialog_color_combo.h"
#include "ui/options_dialog_contact.h"
#include "app/module_information.h"
#include "ui/options_dialog_up_down.h"
#include "base/exception.h"
#include "vm/module_list.h"

namespace quenmark {

namespace {

constexpr int ModuleNameColumnWidth = 110;
constexpr int DescriptionColumnWidth = 205;
constexpr int ModuleListHeight = 104;
constexpr int ModuleInfoHeight = 150;
constexpr int NumericFieldWidth = 44;
constexpr QSize BannerSize(88, 31);

// A numeric field with its up-down at its right.
QHBoxLayout* NumericField(QLineEdit*& edit, TUpDown*& upDown, int min, int max, QWidget* page) {
    edit = new QLineEdit(page);
    edit->setFixedWidth(NumericFieldWidth);
    edit->setAlignment(Qt::AlignRight);
    upDown = new TUpDown(min, max, page);
    upDown->setFixedHeight(edit->sizeHint().height());
    upDown->Associate(edit);
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(edit);
    row->addWidget(upDown);
    row->addStretch();
    return row;
}

// The list's small icons: a module is a chip, a language a speech bubble.
QIcon ModuleListIcon(int icon) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(40, 40, 90));
    if (icon == TfrmCalOption::ModuleIcon) {
        painter.setBrush(QColor(120, 150, 210));
        painter.drawRect(3, 3, 9, 9);
        for (int x : {5, 8, 11}) {
            painter.drawLine(x, 0, x, 2);
            painter.drawLine(x, 13, x, 15);
        }
    } else {
        painter.setBrush(QColor(250, 220, 120));
        painter.drawEllipse(1, 1, 13, 10);
        painter.drawLine(4, 10, 3, 14);
        painter.drawLine(3, 14, 8, 11);
    }
    return QIcon(pixmap);
}

QTreeWidgetItem* AddListEntry(QTreeWidget& list, const std::string& caption, int icon, size_t index) {
    auto* item = new QTreeWidgetItem(&list);
    item->setText(0, QString::fromStdString(caption));
    item->setIcon(0, ModuleListIcon(icon));
    item->setData(0, TfrmCalOption::IconRole, icon);
    item->setData(0, TfrmCalOption::IndexRole, static_cast<int>(index));
    return item;
}

}  // namespace

void TfrmCalOption::CreatePages() {
    PageControl = new QTabWidget(this);
    tbsBasis = CreateBasisPage();
    tbsSpecial = CreateSpecialPage();
    tbsModules = CreateModulesPage();
    tbsAbout = CreateAboutPage();
    for (QWidget* page : {tbsBasis, tbsSpecial, tbsModules, tbsAbout}) PageControl->addTab(page, QString());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
}

QWidget* TfrmCalOption::CreateBasisPage() {
    auto* page = new QWidget;
    lblColor = new QLabel(page);
    lblLanguage = new QLabel(page);
    lblFont = new QLabel(page);
    lblMaxLogLine = new QLabel(page);
    lblMaxHistory = new QLabel(page);
    cmbColor = new TColorSchemeComboBox(page);
    cmbLanguage = new QComboBox(page);
    cmbFontName = new QComboBox(page);
    cmbFontName->setMaxVisibleItems(16);
    chkSaveHistory = new QCheckBox(page);
    chkSaveVariables = new QCheckBox(page);

    auto* grid = new QGridLayout(page);
    grid->addWidget(lblColor, 0, 0);
    grid->addWidget(cmbColor, 0, 1, 1, 2);
    grid->addWidget(lblLanguage, 1, 0);
    grid->addWidget(cmbLanguage, 1, 1, 1, 2);
    grid->addWidget(lblFont, 2, 0);
    grid->addWidget(cmbFontName, 2, 1);
    grid->addLayout(NumericField(edtFontSize, updFontSize, 8, 48, page), 2, 2);
    grid->addWidget(lblMaxLogLine, 3, 0);
    grid->addLayout(NumericField(edtMaxLogLine, updMaxLogLine, 25, 1023, page), 3, 1);
    grid->addWidget(lblMaxHistory, 4, 0);
    grid->addLayout(NumericField(edtMaxHistory, updMaxHistory, 0, 255, page), 4, 1);
    grid->addWidget(chkSaveHistory, 5, 0, 1, 3);
    grid->addWidget(chkSaveVariables, 6, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(7, 1);
    return page;
}

QWidget* TfrmCalOption::CreateSpecialPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    for (QCheckBox** check : {&chkStartup, &chkSplash, &chkTop, &chkResident, &chkSnap, &chkAnime,
                              &chkAutoComplete}) {
        *check = new QCheckBox(page);
        layout->addWidget(*check);
    }
    layout->addSpacing(8);
    lblWindows2000 = new QLabel(page);
    layout->addWidget(lblWindows2000);
    for (QCheckBox** check : {&chkAlwaysTrans, &chkTransInact}) {
        *check = new QCheckBox(page);
        auto* indented = new QHBoxLayout;
        indented->addSpacing(16);
        indented->addWidget(*check);
        layout->addLayout(indented);
    }
    layout->addStretch();
    return page;
}

QWidget* TfrmCalOption::CreateModulesPage() {
    auto* page = new QWidget;
    lstModules = new QTreeWidget(page);
    lstModules->setColumnCount(2);
    lstModules->setColumnWidth(0, ModuleNameColumnWidth);
    lstModules->setColumnWidth(1, DescriptionColumnWidth);
    lstModules->setRootIsDecorated(false);
    lstModules->setUniformRowHeights(true);
    lstModules->setIconSize(QSize(16, 16));
    lstModules->setSelectionMode(QAbstractItemView::SingleSelection);
    lstModules->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstModules->header()->setStretchLastSection(false);
    lstModules->setMinimumWidth(ModuleNameColumnWidth + DescriptionColumnWidth + 24);
    lstModules->setFixedHeight(ModuleListHeight);
    // The selection stays as visible when the list loses the focus.
    QPalette colors = lstModules->palette();
    colors.setColor(QPalette::Inactive, QPalette::Highlight, colors.color(QPalette::Active, QPalette::Highlight));
    colors.setColor(QPalette::Inactive, QPalette::HighlightedText,
                    colors.color(QPalette::Active, QPalette::HighlightedText));
    lstModules->setPalette(colors);
    connect(lstModules, &QTreeWidget::itemSelectionChanged, this, &TfrmCalOption::ModuleSelectionChange);

    memModuleInfo = new QPlainTextEdit(page);
    memModuleInfo->setReadOnly(true);
    memModuleInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memModuleInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memModuleInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memModuleInfo->setFixedHeight(ModuleInfoHeight);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lstModules);
    layout->addWidget(memModuleInfo);
    layout->addStretch();
    return page;
}

QWidget* TfrmCalOption::CreateAboutPage() {
    auto* page = new QWidget;
    imgIcon = new QLabel(page);
    imgIcon->setPixmap(SchemeIconPixmap(FSettings.ColorScheme.Icon, 32));
    lblTitle = new QLabel(page);
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setPixelSize(28);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(page);
    QFont versionFont = titleFont;
    versionFont.setPixelSize(18);
    lblVersion->setFont(versionFont);
    lblBuild = new QLabel(page);
    lblCopyright = new QLabel(page);
    memInfo = new QPlainTextEdit(page);
    memInfo->setReadOnly(true);
    memInfo->setFrameShape(QFrame::NoFrame);
    memInfo->setFixedHeight(64);
    QPalette memColors = memInfo->palette();
    memColors.setColor(QPalette::Base, memColors.color(QPalette::Window));
    memInfo->setPalette(memColors);
    lblCredit = new QLabel(page);

    auto* heading = new QHBoxLayout;
    heading->addWidget(imgIcon);
    heading->addSpacing(8);
    heading->addWidget(lblTitle);
    heading->addWidget(lblVersion, 0, Qt::AlignBottom);
    heading->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(heading);
    layout->addWidget(lblBuild);
    layout->addWidget(lblCopyright);
    layout->addWidget(memInfo);
    layout->addWidget(lblCredit);
    layout->addWidget(CreateContactArea());
    layout->addStretch();
    return page;
}

// Two banners and three links; a click opens the address with the desktop.
QWidget* TfrmCalOption::CreateContactArea() {
    auto* area = new QWidget;
    const QColor base = ToQColor(FSettings.ColorScheme.BaseColor);
    const QColor dark = ToQColor(FSettings.ColorScheme.DarkColor);
    imgPublisherBanner = new TContactLabel(area);
    imgPublisherBanner->setPixmap(ContactBanner(QString::fromLatin1(ProductNameText), base, dark, BannerSize));
    imgSupportBanner = new TContactLabel(area);
    imgSupportBanner->setPixmap(ContactBanner(QStringLiteral("?"), base, dark, BannerSize));
    lblPublisherPage = new TContactLabel(area);
    lblPublisherPage->SetLinkText(QString::fromLatin1(PublisherPageAddress));
    lblMail = new TContactLabel(area);
    lblMail->SetLinkText(QString::fromLatin1(AuthorMailAddress));
    lblSupportPage = new TContactLabel(area);
    lblSupportPage->SetLinkText(QString::fromLatin1(SupportPageAddress));

    lblPublisherPage->OnClick = [this] { OpenAddress(lblPublisherPage->LinkText()); };
    lblSupportPage->OnClick = [this] { OpenAddress(lblSupportPage->LinkText()); };
    lblMail->OnClick = [this] { OpenAddress(QStringLiteral("mailto:") + lblMail->LinkText()); };
    imgPublisherBanner->OnClick = [this] { OpenAddress(imgPublisherBanner->toolTip()); };
    imgSupportBanner->OnClick = [this] { OpenAddress(imgSupportBanner->toolTip()); };

    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(imgPublisherBanner, 0, 0, 2, 1);
    grid->addWidget(lblPublisherPage, 0, 1);
    grid->addWidget(lblMail, 1, 1);
    grid->addWidget(imgSupportBanner, 2, 0);
    grid->addWidget(lblSupportPage, 2, 1);
    grid->setColumnStretch(1, 1);
    return area;
}

void TfrmCalOption::CreateButtons() {
    btnOK = new QPushButton(this);
    btnCancel = new QPushButton(this);
    btnHelp = new QPushButton(this);
    btnOK->setDefault(true);
    btnOK->setAutoDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TfrmCalOption::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHelp, &QPushButton::clicked, this, &TfrmCalOption::ShowHelp);
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : {btnOK, btnCancel, btnHelp}) row->addWidget(button);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

namespace {

// The module page shows each module's full records, which only a loaded
// module gives: the modules that wait to be loaded when first needed are
// loaded when the page is built, not at start.
void LoadWaitingModules(TVMModuleList& modules) {
    const std::vector<TListedModule> listing = modules.Listing();
    for (size_t order = 0; modules.PendingCount() > 0 && order < listing.size() + modules.Notices().size() + 1;
         ++order)
        modules.LoadPending(order);
}

// Modules loaded on demand join the list in the order they were needed;
// the page lists them in their order of precedence, as "@MOD" does.
std::vector<size_t> ModulesInOrderOfPrecedence(const TVMModuleList& modules) {
    std::vector<size_t> indexes(modules.Count());
    for (size_t i = 0; i < indexes.size(); ++i) indexes[i] = i;
    std::stable_sort(indexes.begin(), indexes.end(),
                     [&modules](size_t left, size_t right) { return modules[left].Order() < modules[right].Order(); });
    return indexes;
}

}  // namespace

// Modules in load order, then why any module was left out, then the
// language files; the built-in language, last in the list, has no file to
// show. A module whose information cannot be read keeps its entry without
// the name.
void TfrmCalOption::FillModuleList() {
    LoadWaitingModules(FModules);
    for (const size_t i : ModulesInOrderOfPrecedence(FModules)) {
        QTreeWidgetItem* item = AddListEntry(*lstModules, FModules[i].FileName(), ModuleIcon, i);
        try {
            const VMXModuleInfo* info = FModules[i].ModuleInfo();
            if (info && info->Name) item->setText(1, QString::fromUtf8(info->Name));
        } catch (const std::exception&) {
        }
    }
    for (const std::string& notice : FModules.Notices()) {
        auto* item = new QTreeWidgetItem(lstModules);
        item->setText(0, QString::fromStdString(notice));
        item->setToolTip(0, item->text(0));
        item->setFirstColumnSpanned(true);
    }
    for (size_t i = 0; i + 1 < FLanguages.Count(); ++i) {
        const TCCLanguage& language = FLanguages.Items(i);
        QTreeWidgetItem* item = AddListEntry(*lstModules, language.FileName(), LanguageIcon, i);
        item->setText(1, QString::fromStdString(language.Language()));
    }
}

void TfrmCalOption::ModuleSelectionChange() {
    memModuleInfo->clear();
    const QList<QTreeWidgetItem*> selected = lstModules->selectedItems();
    if (selected.isEmpty()) return;
    std::string text;
    try {
        text = ItemInformation(*selected.front());
    } catch (const std::exception&) {
        return;
    }
    QString shown = QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (selected.front()->data(0, IconRole).toInt() == ModuleIcon && !LanguageIsEnglish())
        shown.prepend(QString::fromStdString(FLanguages.GetText("OPT047")) + QStringLiteral("\n\n"));
    memModuleInfo->setPlainText(shown);
}

// Modules describe themselves in English only; another language says so
// above their descriptions.
bool TfrmCalOption::LanguageIsEnglish() const {
    constexpr int32_t PrimaryLanguageMask = 0x3FF;
    constexpr int32_t English = 0x09;
    const TCCLanguage* language = FLanguages.Current();
    return !language || (language->LangID() & PrimaryLanguageMask) == English;
}

std::string TfrmCalOption::ItemInformation(const QTreeWidgetItem& item) const {
    const int icon = item.data(0, IconRole).toInt();
    if (icon != ModuleIcon && icon != LanguageIcon) return item.text(0).toStdString();
    const size_t index = static_cast<size_t>(item.data(0, IndexRole).toInt());
    const TInformationLabels labels = InformationLabels(FLanguages);
    if (icon == ModuleIcon) return InformationText(ModuleInformationLines(RecordsOf(FModules[index]), labels));
    return InformationText(LanguageInformationLines(FLanguages.Items(index), labels));
}

// "Interpreter Level 1A : Build 1.1.0.87", with the debug and pre-release
// marks of the version flags; both lines stay empty without version data.
void TfrmCalOption::ReadVersion() {
    try {
        const TVerInfo info(ProgramExecutablePath());
        std::string build = "Build " + info.FileVersion();
        if (info.IsDebugBuild()) build += " ,Debug Build";
        if (info.IsPreRelease()) build += " ,Pre-Release Version";
        build = TCCInterpreter::GetLevel() + " : " + build;
        const std::string copyright = info.LegalCopyright();
        lblBuild->setText(QString::fromStdString(build));
        lblCopyright->setText(QString::fromStdString(copyright));
    } catch (const EVerInfo&) {
    }
}

}  // namespace quenmark
