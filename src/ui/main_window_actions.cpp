#include "ui/main_window.h"

#include "app/line_session.h"
#include "app/settings.h"
#include "definitions/language.h"
#include "definitions/language_list.h"
#include "expression/interpreter.h"
#include "platform/installed_layout.h"
#include "ui/help_window.h"
#include "ui/main_window_completion.h"
#include "ui/main_window_error_handler.h"
#include "ui/main_window_log.h"
#include "ui/main_window_tray.h"
#include "ui/options_dialog.h"
#include "ui/quen_button.h"
#include "ui/unit_window.h"
#include "ui/window_helpers.h"
#include "ui/window_names.h"
#include "base/exception.h"
#include "vm/number_text.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <cmath>

namespace quenmark {

namespace {

// The format mask lines of the decimal format items.
const char* const NormalFormatLine = "@FORMAT \"\"";
const char* const SeparatorFormatLine = "@FORMAT \"#,##0.###\"";
const char* const ExponentFormatLine = "@FORMAT \"0.0#############E+\"";

// The help topic of the syntax of a line.
constexpr int LineHelpContext = 200;

}  // namespace

QString TfrmCalQuen::Caption(const char* code) const {
    return QString::fromUtf8(FInterpreter.Context().GetText(code));
}

// An action's work runs guarded: an exception that escapes it is reported
// in the error message box and the window goes on.
QAction* TfrmCalQuen::NewAction(const char* name, std::function<void()> run) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromUtf8(name));
    connect(action, &QAction::triggered, this, [this, run = std::move(run)]() {
        try {
            run();
        } catch (const std::exception& error) {
            ShowApplicationError(this, error);
        }
    });
    return action;
}

void TfrmCalQuen::CreateActions() {
    actCalc = NewAction("actCalc", [this] { actCalcExecute(); });
    const char* const radixNames[] = {"actDec", "actHex", "actOct", "actBin"};
    for (size_t i = 0; i < FRadixActions.size(); ++i) {
        const std::string line = std::string("@") + OutputModeWord(OutputModes[i]);
        FRadixActions[i] = NewAction(radixNames[i], [this, line] {
            ExecuteLine(line);
            FocusInput();
        });
        FRadixActions[i]->setText(QString::fromUtf8(line.substr(1)));
        FRadixActions[i]->setCheckable(true);
    }
    // Radio items: checking one unchecks the others.
    auto* radixes = new QActionGroup(this);
    for (QAction* radix : FRadixActions) radixes->addAction(radix);
    actDec = FRadixActions[0];
    actHex = FRadixActions[1];
    actOct = FRadixActions[2];
    actBin = FRadixActions[3];
    auto formatAction = [this](const char* name, const char* line) {
        return NewAction(name, [this, line] {
            ExecuteLine(line);
            FocusInput();
        });
    };
    actDecNormal = formatAction("actDecNormal", NormalFormatLine);
    actDecSeparator = formatAction("actDecSeparator", SeparatorFormatLine);
    actDecExponent = formatAction("actDecExponent", ExponentFormatLine);

    actHide = NewAction("actHide", [this] { actHideExecute(); });
    actShow = NewAction("actShow", [this] { actShowExecute(); });
    actVar = NewAction("actVar", [] {});
    actVar->setVisible(false);
    actUnit = NewAction("actUnit", [this] { actUnitExecute(); });
    actOption = NewAction("actOption", [this] { ShowOptionDialog(0); });
    actAbout = NewAction("actAbout", [this] { ShowOptionDialog(3); });
    actHelpContents = NewAction("actHelpContents", [this] { actHelpContentsExecute(); });
    actHelpLine = NewAction("actHelpLine", [this] { actHelpLineExecute(); });
    actExit = NewAction("actExit", [this] { actExitExecute(); });
    actCopyResult = NewAction("actCopyResult", [this] { actCopyResultExecute(); });
    AssignKeys();
}

// Each command of the control menu has a key, shown in the menu, that works
// wherever the focus is in the window. Escape hides on its release (see
// PreviewKey); its shortcut here only names it in the menu.
void TfrmCalQuen::AssignKeys() {
    const std::pair<QAction*, QKeySequence> keys[] = {
        {actUnit, QKeySequence(Qt::CTRL | Qt::Key_U)},
        {actCopyResult, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
        {actOption, QKeySequence(Qt::CTRL | Qt::Key_Comma)},
        {actAbout, QKeySequence(Qt::CTRL | Qt::Key_F1)},
        {actHelpContents, QKeySequence(Qt::Key_F1)},
        {actHelpLine, QKeySequence(Qt::SHIFT | Qt::Key_F1)},
        {actExit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
    };
    for (const auto& [action, key] : keys) {
        action->setShortcut(key);
        action->setShortcutVisibleInContextMenu(true);
        addAction(action);
    }
    actHide->setShortcut(QKeySequence(Qt::Key_Escape));
    actHide->setShortcutContext(Qt::WidgetShortcut);
    actHide->setShortcutVisibleInContextMenu(true);
}

// The control menu opened from the keyboard drops down below its button,
// its first item active.
void TfrmCalQuen::OpenControlMenuAtWindow() {
    if (!isVisible()) return;
    mnuControl->popup(mapToGlobal(QPoint(btnControl->x(), btnControl->y() + btnControl->height())));
    mnuControl->setActiveAction(HideItemAction());
}

void TfrmCalQuen::CreateMenus() {
    mnuDec = new QMenu(this);
    mnuDec->setObjectName(QStringLiteral("mnuDec"));
    mnuDec->addActions({actDec, actHex, actOct, actBin});
    mnuDec->addSeparator();
    mnuDec->addActions({actDecNormal, actDecSeparator, actDecExponent});
    btnDec->SetPopup(mnuDec);

    mnuControl = new QMenu(this);
    mnuControl->setObjectName(QStringLiteral("mnuControl"));
    mnuControl->addAction(actHide);
    mnuControl->setDefaultAction(actHide);
    mnuControl->addSeparator();
    mnuControl->addActions({actVar, actUnit, actCopyResult, actOption});
    mniHelp = mnuControl->addMenu(QString());
    mniHelp->setObjectName(QStringLiteral("mniHelp"));
    mniHelp->addActions({actHelpContents, actHelpLine});
    mnuControl->addAction(actAbout);
    mnuControl->addSeparator();
    mnuControl->addAction(actExit);
    btnControl->SetPopup(mnuControl);
}

void TfrmCalQuen::ApplyCaptions() {
    actHide->setText(Caption("QEN001"));
    actShow->setText(Caption("QEN002"));
    actVar->setText(Caption("QEN011"));
    actUnit->setText(Caption("QEN012"));
    actCopyResult->setText(Caption("QEN013"));
    actOption->setText(Caption("QEN021"));
    actAbout->setText(Caption("QEN022"));
    mniHelp->setTitle(Caption("QEN031"));
    actHelpContents->setText(Caption("QEN032"));
    actHelpLine->setText(Caption("QEN033"));
    actExit->setText(Caption("QEN099"));
    actDecNormal->setText(Caption("QEN201"));
    actDecSeparator->setText(Caption("QEN202"));
    actDecExponent->setText(Caption("QEN203"));
    btnUnit->SetText(Caption("QEN510"));
    memLog->setAccessibleName(Caption("QEN500"));
    edtLine->setAccessibleName(Caption("QEN501"));
    btnControl->setAccessibleName(Caption("QEN502"));
    btnHide->setAccessibleName(Caption("QEN503"));
}

TfrmCalUnit* TfrmCalQuen::UnitWindow() const { return FUnitWindow; }

THelpWindow* TfrmCalQuen::HelpWindow() const { return FHelpWindow; }

QAction* TfrmCalQuen::HideItemAction() const { return mnuControl->actions().value(0); }

// The control menu's first and default item runs the hide or show action,
// whichever applies to the window's state, as the tray's double click does.
void TfrmCalQuen::BindHideItem(QAction* action) {
    QAction* bound = HideItemAction();
    if (bound != action) {
        mnuControl->insertAction(bound, action);
        mnuControl->removeAction(bound);
    }
    mnuControl->setDefaultAction(action);
    FTray->SetDoubleClickAction(action);
}

void TfrmCalQuen::actCalcExecute() {
    ExecuteLine(TrimLine(edtLine->text().toUtf8().toStdString()));
    edtLine->clear();
    FocusInput();
}

void TfrmCalQuen::actShowExecute() {
    ShowWindowNormally();
    if (FUnitWindow && FSettings.UnitPlacement.Show) FUnitWindow->show();
    BindHideItem(actHide);
    FSettings.MainPlacement.Show = true;
    FocusInput();
}

// Hidden into the notification area when the program stays resident and
// there is one; otherwise minimised, so that the task bar still offers it.
void TfrmCalQuen::actHideExecute() {
    if (FUnitWindow) FUnitWindow->hide();
    if (FSettings.StayResident && CanHideToTray()) {
        hide();
        FSettings.MainPlacement.Show = false;
    } else {
        showMinimized();
    }
    BindHideItem(actShow);
}

bool TfrmCalQuen::CanHideToTray() const { return FTray->Available(); }

// The question's buttons speak the current language; the box opens above
// this window, which may stay on top of every other.
bool TfrmCalQuen::Ask(const QString& question) {
    if (FAskQuestion) return FAskQuestion(question);
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(ProductName), question, QMessageBox::NoButton, this);
    QPushButton* yes = box.addButton(Caption("QEN902"), QMessageBox::YesRole);
    box.addButton(Caption("QEN903"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    KeepAboveOwner(box);
    box.exec();
    return box.clickedButton() == yes;
}

void TfrmCalQuen::actExitExecute() {
    if (Ask(Caption("QEN901"))) {
        FClosing = true;
        close();
        return;
    }
    FocusInput();
}

void TfrmCalQuen::ActivateFromSecondLaunch() {
    actShow->trigger();
    raise();
    activateWindow();
}

// The unit window follows the results: the value unchanged when it is
// opened, the absolute value after each line while it is open. A result
// that is no number leaves it as it is.
void TfrmCalQuen::TransferToUnitWindow(const Variant& result, bool absolute) {
    if (!FUnitWindow || !FUnitWindow->isVisible()) return;
    QString text;
    try {
        const NumberSeparators& separators = FInterpreter.Context().Separators();
        text = QString::fromUtf8(absolute ? RealToText(std::fabs(result.ToReal(separators)), separators)
                                          : result.ToText(separators));
    } catch (const Exception&) {
        return;
    }
    FUnitWindow->SetSourceText(text);
    FUnitWindow->Convert();
}

void TfrmCalQuen::actUnitExecute() {
    FocusInput();
    if (!FUnitWindow) {
        TCCLanguage* language = FLanguages.Current();
        if (!language) return;
        FUnitWindow = new TfrmCalUnit(FSettings, FInterpreter.Context(), *language, this);
        NameUnitWindow(*FUnitWindow, [this](const char* code) { return Caption(code); });
    }
    KeepAboveOwner(*FUnitWindow);
    FUnitWindow->show();
    FUnitWindow->raise();
    FUnitWindow->activateWindow();
    FUnitWindow->edtFromVar->setFocus(Qt::OtherFocusReason);
    FSettings.UnitPlacement.Show = true;
    SetAlpha(*FUnitWindow, FSettings.AlphaActive);
    if (FInterpreter.LastWasExpression()) TransferToUnitWindow(FInterpreter.LastResult(), false);
}

void TfrmCalQuen::ShowOptionDialog(int page) {
    FTray->SetEnabled(false);
    // The tray entry is enabled again however the dialog ends.
    struct TrayEnabler {
        TMainWindowTray& Tray;
        ~TrayEnabler() { Tray.SetEnabled(true); }
    } enabler{*FTray};
    {
        TfrmCalOption dialog(FSettings, FLanguages, FModules, this);
        dialog.SetActivePage(page);
        KeepAboveOwner(dialog);
        if (dialog.exec() == QDialog::Accepted) {
            delete FUnitWindow;
            FSettings.UnitPlacement.Show = false;
            if (!FSettings.StayResident) ShowWindowNormally();
            FSettings.Save();
            ApplyPosition();
            if (FHelpWindow) KeepAboveOwner(*FHelpWindow);
            ApplyColors();
            ApplyLayout();
            ApplyCaptions();
            SetAlpha(*this, FSettings.AlphaActive);
            HandHelpFile();
        }
    }
    FocusInput();
}

// The help file of the language in force, beside the program.
void TfrmCalQuen::HandHelpFile() {
    const TCCLanguage* language = FLanguages.Current();
    const std::string name = language ? language->HelpFileName() : std::string("Quenmark.hlp");
    FHelpFile = QString::fromUtf8(DataDirectory() + name);
    if (FHelpWindow) FHelpWindow->SetHelpFile(FHelpFile);
}

THelpWindow& TfrmCalQuen::EnsureHelpWindow() {
    if (!FHelpWindow) FHelpWindow = new THelpWindow(this);
    KeepAboveOwner(*FHelpWindow);
    FHelpWindow->SetHelpFile(FHelpFile);
    FHelpWindow->SetMissingFileText(
        QString::fromUtf8(FInterpreter.Context().GetTextWith("QEN512", FHelpFile.toUtf8().toStdString())));
    return *FHelpWindow;
}

void TfrmCalQuen::actHelpContentsExecute() { EnsureHelpWindow().ShowContents(); }

// The last result as the log shows it; nothing without one.
void TfrmCalQuen::actCopyResultExecute() {
    if (const TRecalledResult* last = FCompletion->Results().Last())
        QGuiApplication::clipboard()->setText(QString::fromUtf8(last->Shown));
}

void TfrmCalQuen::actHelpLineExecute() { EnsureHelpWindow().ShowContext(LineHelpContext); }

}  // namespace quenmark
