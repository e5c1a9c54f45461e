#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>

#include "app/color.h"
#include "definitions/unit_group_list.h"
#include "expression/interpreter.h"
#include "ui/quen_popup_list.h"
#include "ui/unit_window_position.h"

class QLabel;
class QLineEdit;

namespace quenmark {

class TSettings;
class TCCContext;
class TCCLanguage;
class TCCUnitGroup;
class TQuenButton;
class TQuenComboBox;

// The unit-conversion window: converts a number between the units of a
// group of the current language's unit file.
class TfrmCalUnit : public QWidget {
    Q_OBJECT
public:
    // The window's title, written when it is at least 210 pixels wide.
    static constexpr const char* TitleText = "   Unit Conv   ";

    // The context (not owned) gives the tokenizer its messages and the results
    // their separators; it must outlive the window.
    TfrmCalUnit(TSettings& settings, const TCCContext& context, TCCLanguage& language, QWidget* parent = nullptr);
    ~TfrmCalUnit() override;

    // The source field and the conversion action, as the main window uses them.
    void SetSourceText(const QString& text);
    QString SourceText() const;
    void Convert();

    // Active (text colour, Settings.AlphaActive) or inactive (dark colour,
    // Settings.AlphaInactive) appearance, as the application gains or loses
    // activation.
    void SetApplicationActive(bool active);

    // Toggles the AUTO mode (Settings.AutoUnit) and shows it on btnAuto.
    void ToggleAuto();
    // Hides the window and records it as hidden in the settings.
    void HideWindow();
    // The group whose units the selectors hold; null when there is none.
    TCCUnitGroup* SelectedGroup() const;

    // The screen point the show and hide effects run from and to. The main
    // window sets it to the centre of its unit button while it is visible,
    // else its animation origin; unset, the owner's centre is used.
    std::function<QPoint()> OnAnchorPoint;

    // The controls, as named in the window's design.
    TQuenButton* btnAuto;
    TQuenButton* btnHide;
    TQuenComboBox* cmbGroup;
    QLineEdit* edtFromVar;
    QLineEdit* edtToVar;
    TQuenComboBox* cmbFromUnit;
    TQuenComboBox* cmbToUnit;
    QLabel* lblLT;
    // The frames of the two number fields.
    QRect shpFromVar;
    QRect shpToVar;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void ApplyFonts();
    void ApplyVerticalLayout();
    void ApplyColors();
    void ApplyHorizontalLayout();
    int AutoButtonWidth() const;
    void FillGroups();
    void FitUnitSelectors();
    void GroupChange();
    const TCCUnitGroupList::FontTable& UnitFonts() const;
    void DrawUnitFace(TQuenButton* sender, const QRect& faceRect, TColor back, TColor fore);
    void DrawUnitItem(TQuenComboBox& selector, int index, const QRect& rect, TOwnerDrawState state);
    void PaintTitle(QPainter& painter);
    void CopyPlacement();
    QPoint AnchorPoint() const;
    bool HandleKey(QKeyEvent* event, bool pressed);
    void MoveByCaption(QPoint globalPosition);
    void ResizeByEdge(QPoint globalPosition);

    TSettings& FSettings;
    TCCLanguage& FLanguage;
    const TCCContext& FContext;
    TCCUnitGroupList* FUnits = nullptr;
    int FRowHeight = 0;
    int FUnitSelectorWidth = 0;
    bool FEscapePressed = false;
    TUnitWindowGrip FGrip = TUnitWindowGrip::None;
    // Works out the expression of the upper field; the window's own, so
    // that a conversion never disturbs the user's session.
    TCCInterpreter FCalculator;
    QPoint FGripOffset;
    QRect FGripGeometry;
};

}  // namespace quenmark
