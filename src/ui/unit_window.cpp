#include "ui/unit_window.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <exception>
#include <optional>

#include "app/settings.h"
#include "app/unit_conversion.h"
#include "definitions/language.h"
#include "definitions/unit_group_list.h"
#include "ui/canvas_shapes.h"
#include "ui/color_ref.h"
#include "ui/main_window_font.h"
#include "ui/quen_combo_box.h"
#include "ui/screen_keeper.h"
#include "ui/unit_name_painter.h"
#include "ui/unit_window_position.h"
#include "ui/window_helpers.h"

namespace quenmark {

namespace {

constexpr int TitleRowTop = 2;
constexpr int TitleButtonHeight = 14;
constexpr int HideButtonWidth = 14;
constexpr int MinimumAutoButtonWidth = 48;
// Room on either side of the AUTO/MANUAL caption inside the button's face.
constexpr int AutoCaptionMargin = 5;
// Where a unit name starts in its selector's face and list items.
constexpr int UnitNameLeft = 4;
// The distance of a selector's face from its edges.
constexpr int FaceInset = 2;

// The mode button's caption, in the language of the messages; English
// where the messages lack it.
QString AutoCaption(const TCCContext& context, bool on) {
    const char* code = on ? "QEN560" : "QEN561";
    const std::string text = context.GetText(code);
    if (text == code) return on ? QStringLiteral("AUTO") : QStringLiteral("MANUAL");
    return QString::fromStdString(text);
}
constexpr int GroupTop = 20;
constexpr int RowGap = 3;
constexpr int MinimumWidth = 140;
// The narrowest the upper and lower number fields get beside the unit
// selectors.
constexpr int MinimumNumberWidth = 96;

QFont ButtonFont() {
    QFont font("Arial");
    font.setPointSize(8);
    return font;
}

// A bitmap of size in device-independent pixels with as many device pixels
// as the canvas it goes to has, so that names drawn on it stay sharp at
// every device pixel ratio.
QPixmap SharpBitmap(QSize size, const QPainter& canvas) {
    const qreal ratio = canvas.device() ? canvas.device()->devicePixelRatioF() : 1.0;
    QPixmap bitmap(size * ratio);
    bitmap.setDevicePixelRatio(ratio);
    return bitmap;
}

void SetVertical(QWidget& widget, int top, int height) { widget.setGeometry(widget.x(), top, widget.width(), height); }

void SetHorizontal(QWidget& widget, int left, int width) {
    widget.setGeometry(left, widget.y(), width, widget.height());
}

void SetEditColors(QLineEdit& edit, TColor background, TColor text) {
    QPalette palette = edit.palette();
    palette.setColor(QPalette::Base, ToQColor(background));
    palette.setColor(QPalette::Text, ToQColor(text));
    edit.setPalette(palette);
}

void SetControlColors(TQuenButton& control, const TColorScheme& colors) {
    control.SetFaceColor(colors.BaseColor);
    control.SetBorderColor(colors.DarkColor);
    control.SetSelectedColor(colors.DarkColor);
    control.SetTextColor(colors.DarkColor);
}

const TCCUnitGroupList::FontTable& DefaultUnitFonts() {
    static const TCCUnitGroupList::FontTable defaults = TCCUnitGroupList::DefaultFonts();
    return defaults;
}

}  // namespace

TfrmCalUnit::TfrmCalUnit(TSettings& settings, const TCCContext& context, TCCLanguage& language, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      FSettings(settings),
      FLanguage(language),
      FContext(context),
      FCalculator(context) {
    setWindowTitle(QString::fromLatin1(TitleText).trimmed());
    setMouseTracking(true);
    setMinimumWidth(MinimumWidth);
    CreateControls();
    // Inverted once here so that running the toggle restores it and shows it.
    FSettings.AutoUnit = !FSettings.AutoUnit;
    ToggleAuto();
    const TWindowPlacement& placement = FSettings.UnitPlacement;
    setGeometry(placement.Left, placement.Top, std::max(placement.Width, MinimumWidth), placement.Height);
    ApplyFonts();
    ApplyVerticalLayout();
    ApplyColors();
    ApplyHorizontalLayout();
    FillGroups();
    // Made wider than its saved place for the names of the language, the
    // window grows to the left, so that its right edge, with its buttons,
    // stays where the saved place put it (beside the main window's).
    if (width() > placement.Width && placement.Width > 0) move(placement.Left + placement.Width - width(), y());
    // Off every screen, the window goes just above the main window: its
    // owner where it has one (which may itself have been brought back onto
    // a screen), otherwise where the settings place it.
    auto aboveMainWindow = [this]() -> std::optional<QRect> {
        const TWindowPlacement& saved = FSettings.MainPlacement;
        const QWidget* owner = parentWidget();
        const QRect main = owner ? owner->geometry() : QRect(saved.Left, saved.Top, saved.Width, saved.Height);
        return QRect(main.x(), main.y() - height() - 1, width(), height());
    };
    auto* screens = new TScreenKeeper(this, UnitWindowCaptionHeight, aboveMainWindow);
    screens->OnPlaced = [this](const QRect& placed) { SetPlacementGeometry(FSettings.UnitPlacement, placed); };
    screens->KeepOnScreen();
}

TfrmCalUnit::~TfrmCalUnit() = default;

void TfrmCalUnit::CreateControls() {
    cmbGroup = new TQuenComboBox(this);
    edtFromVar = new QLineEdit(this);
    cmbFromUnit = new TQuenComboBox(this);
    edtToVar = new QLineEdit(this);
    cmbToUnit = new TQuenComboBox(this);
    btnAuto = new TQuenButton(this);
    btnHide = new TQuenButton(this);
    lblLT = new QLabel(QStringLiteral(">gl"), this);
    lblLT->hide();  // measures the font, never seen nor presented to assistive technologies

    for (QLineEdit* edit : {edtFromVar, edtToVar}) {
        edit->setFrame(false);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    edtFromVar->setMaxLength(40);
    edtToVar->setReadOnly(true);
    edtToVar->setFocusPolicy(Qt::ClickFocus);
    for (TQuenComboBox* selector : {cmbGroup, cmbFromUnit, cmbToUnit}) {
        selector->SetRoundSize(2);
        selector->SetBlink(false);
        selector->SetTabStop(true);
    }
    for (TQuenComboBox* selector : {cmbFromUnit, cmbToUnit}) {
        selector->SetStyle(dsOwnerDraw);
        selector->OnDrawFace = [this](TQuenButton* sender, const QRect& faceRect, TQuenDrawType, TColor back,
                                      TColor fore) { DrawUnitFace(sender, faceRect, back, fore); };
        selector->OnDrawItem = [this, selector](QWidget*, int index, const QRect& rect, TOwnerDrawState state) {
            DrawUnitItem(*selector, index, rect, state);
        };
        selector->OnMeasureItemWidth = [this, selector](int index) {
            return 2 * UnitNameLeft + UnitNameWidth(selector->Items().value(index).toStdString(), UnitFonts(),
                                                    FSettings.FontSize);
        };
        selector->OnChange = [this](QObject*) { Convert(); };
    }
    cmbGroup->OnChange = [this](QObject*) { GroupChange(); };
    // The conversion follows each keystroke.
    connect(edtFromVar, &QLineEdit::textChanged, this, [this] { Convert(); });

    btnAuto->SetText(AutoCaption(FContext, true));
    btnHide->SetButtonStyle(qbClose);
    for (TQuenButton* button : {btnAuto, btnHide}) {
        button->SetRoundSize(2);
        button->SetBlink(false);
        button->SetTabStop(true);
        button->SetFont(ButtonFont());
    }
    btnAuto->OnClick = [this](QObject*) { ToggleAuto(); };
    btnHide->OnClick = [this](QObject*) { HideWindow(); };

    setTabOrder(cmbGroup, edtFromVar);
    setTabOrder(edtFromVar, cmbFromUnit);
    setTabOrder(cmbFromUnit, cmbToUnit);
    setTabOrder(cmbToUnit, btnAuto);
    setTabOrder(btnAuto, btnHide);

    // Keys reach the window before its controls.
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void TfrmCalUnit::ApplyFonts() {
    const QFont font = SettingsFont(FSettings.FontName, FSettings.FontSize);
    setFont(font);
    for (TQuenComboBox* selector : {cmbGroup, cmbFromUnit, cmbToUnit}) selector->SetFont(font);
    lblLT->setFont(font);
    lblLT->adjustSize();
    for (TQuenButton* button : {btnAuto, btnHide}) button->SetFont(ButtonFont());
}

// The rows take the taller of the window's text and the unit names, with a
// quarter more, and never less than the face's inset around it, so that no
// text is cut at the bottom.
void TfrmCalUnit::ApplyVerticalLayout() {
    int nameHeight = 0;
    try {
        nameHeight = UnitNameHeight(FLanguage.GetUnits().Fonts(), FSettings.FontSize);
    } catch (const std::exception&) {
        nameHeight = UnitNameHeight(DefaultUnitFonts(), FSettings.FontSize);
    }
    const int textHeight = std::max(QFontMetrics(lblLT->font()).height(), nameHeight);
    FRowHeight = std::max(textHeight + textHeight / 4, textHeight + 2 * FaceInset);
    const int h = FRowHeight;
    SetVertical(*cmbGroup, GroupTop, h);
    const int fromTop = cmbGroup->y() + cmbGroup->height() + RowGap;
    shpFromVar = QRect(shpFromVar.x(), fromTop, shpFromVar.width(), h);
    SetVertical(*edtFromVar, fromTop + 1, h - 2);
    SetVertical(*cmbFromUnit, fromTop, h);
    const int toTop = cmbFromUnit->y() + cmbFromUnit->height() + RowGap;
    shpToVar = QRect(shpToVar.x(), toTop, shpToVar.width(), h);
    SetVertical(*edtToVar, toTop + 1, h - 2);
    SetVertical(*cmbToUnit, toTop, h);
    setFixedHeight(cmbToUnit->y() + cmbToUnit->height() + RowGap);
}

void TfrmCalUnit::ApplyColors() {
    const TColorScheme& colors = FSettings.ColorScheme;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(colors.BaseColor));
    palette.setColor(QPalette::WindowText, ToQColor(colors.TextColor));
    setPalette(palette);
    for (TQuenButton* control : {btnAuto, btnHide, static_cast<TQuenButton*>(cmbGroup),
                                 static_cast<TQuenButton*>(cmbFromUnit), static_cast<TQuenButton*>(cmbToUnit)})
        SetControlColors(*control, colors);
    SetEditColors(*edtFromVar, colors.BaseColor, colors.TextColor);
    SetEditColors(*edtToVar, colors.BaseColor, colors.DarkColor);
}

// The number fields take three fifths of the width, less where the unit
// selectors beside them need more for their longest name.
void TfrmCalUnit::ApplyHorizontalLayout() {
    const int w = width();
    const int shapeWidth = std::max(MinimumNumberWidth, std::min(w * 3 / 5, w - 8 - FUnitSelectorWidth));
    shpFromVar = QRect(3, shpFromVar.y(), shapeWidth, shpFromVar.height());
    shpToVar = QRect(3, shpToVar.y(), shapeWidth, shpToVar.height());
    const int unitLeft = shpFromVar.x() + shpFromVar.width() + 2;
    for (QLineEdit* edit : {edtFromVar, edtToVar}) SetHorizontal(*edit, shpFromVar.x() + 3, shapeWidth - 6);
    for (TQuenComboBox* selector : {cmbFromUnit, cmbToUnit}) SetHorizontal(*selector, unitLeft, w - unitLeft - 3);
    SetHorizontal(*cmbGroup, 3, w - 6);
    btnHide->setGeometry(w - HideButtonWidth - 2, TitleRowTop, HideButtonWidth, TitleButtonHeight);
    const int autoWidth = AutoButtonWidth();
    btnAuto->setGeometry(btnHide->x() - 1 - autoWidth, TitleRowTop, autoWidth, TitleButtonHeight);
}

// The width a unit selector needs for the longest unit name of every
// group, its symbol included, beside the selector's arrow; the window is
// kept wide enough for it and the number fields.
void TfrmCalUnit::FitUnitSelectors() {
    int widest = 0;
    for (size_t g = 0; FUnits && g < FUnits->Count(); ++g) {
        const TCCUnitGroup& group = FUnits->Items(g);
        for (size_t u = 0; u < group.Count(); ++u)
            widest = std::max(widest, UnitNameWidth(group.Items(u).Name, UnitFonts(), FSettings.FontSize));
    }
    FUnitSelectorWidth = widest == 0 ? 0 : widest + 2 * UnitNameLeft + 2 * FaceInset + FRowHeight;
    setMinimumWidth(std::max(MinimumWidth, FUnitSelectorWidth + MinimumNumberWidth + 8));
    ApplyHorizontalLayout();
}

// Wide enough for the longer of the button's two captions.
int TfrmCalUnit::AutoButtonWidth() const {
    const QFontMetrics metrics(btnAuto->Font());
    const int caption =
        std::max(metrics.horizontalAdvance(AutoCaption(FContext, true)), metrics.horizontalAdvance(AutoCaption(FContext, false)));
    return std::max(MinimumAutoButtonWidth, caption + 2 * AutoCaptionMargin);
}

void TfrmCalUnit::FillGroups() {
    QStringList names;
    try {
        FUnits = &FLanguage.GetUnits();
        for (size_t i = 0; i < FUnits->Count(); ++i) names.append(QString::fromStdString(FUnits->Items(i).Name));
    } catch (const std::exception&) {
        FUnits = nullptr;
        names.clear();
    }
    cmbGroup->SetItems(names);
    if (!names.isEmpty()) cmbGroup->SetItemIndex(0);
    FitUnitSelectors();
}

TCCUnitGroup* TfrmCalUnit::SelectedGroup() const {
    const int index = cmbGroup->ItemIndex();
    if (!FUnits || index < 0 || static_cast<size_t>(index) >= FUnits->Count()) return nullptr;
    return &FUnits->Items(static_cast<size_t>(index));
}

void TfrmCalUnit::GroupChange() {
    QStringList names;
    if (const TCCUnitGroup* group = SelectedGroup()) {
        for (size_t i = 0; i < group->Count(); ++i) names.append(QString::fromStdString(group->Items(i).Name));
    }
    cmbFromUnit->SetItems(names);
    cmbToUnit->SetItems(names);
    // Each selection converts; without units the faces are emptied.
    const int first = names.isEmpty() ? -1 : 0;
    cmbFromUnit->SetItemIndex(first);
    cmbToUnit->SetItemIndex(first);
}

const TCCUnitGroupList::FontTable& TfrmCalUnit::UnitFonts() const {
    return FUnits ? FUnits->Fonts() : DefaultUnitFonts();
}

void TfrmCalUnit::SetSourceText(const QString& text) { edtFromVar->setText(text); }

QString TfrmCalUnit::SourceText() const { return edtFromVar->text(); }

void TfrmCalUnit::Convert() {
    const std::string result =
        ConvertUnitText(FCalculator, SelectedGroup(), edtFromVar->text().toStdString(),
                        cmbFromUnit->Text().toStdString(), cmbToUnit->Text().toStdString());
    edtToVar->setText(QString::fromStdString(result));
}

void TfrmCalUnit::ToggleAuto() {
    FSettings.AutoUnit = !FSettings.AutoUnit;
    btnAuto->SetText(AutoCaption(FContext, FSettings.AutoUnit));
    QWidget* owner = parentWidget();
    if (owner && owner->isVisible()) owner->activateWindow();
}

void TfrmCalUnit::HideWindow() {
    hide();
    FSettings.UnitPlacement.Show = false;
}

void TfrmCalUnit::SetApplicationActive(bool active) {
    const TColorScheme& colors = FSettings.ColorScheme;
    SetEditColors(*edtFromVar, colors.BaseColor, active ? colors.TextColor : colors.DarkColor);
    update();
    SetAlpha(*this, active ? FSettings.AlphaActive : FSettings.AlphaInactive);
}

// The face of a unit selector: the name with its tags on a bitmap of the
// face's colours.
void TfrmCalUnit::DrawUnitFace(TQuenButton* sender, const QRect& faceRect, TColor back, TColor fore) {
    QPainter* canvas = sender->Canvas();
    if (!canvas || faceRect.isEmpty()) return;
    QPixmap bitmap = SharpBitmap(faceRect.size(), *canvas);
    {
        QPainter painter(&bitmap);
        painter.fillRect(QRect(QPoint(), faceRect.size()), ToQColor(back));
        painter.setPen(ToQColor(fore));
        QPoint pen(UnitNameLeft, 0);
        DrawUnitName(painter, pen, sender->Text().toStdString(), UnitFonts(), FSettings.FontSize);
    }
    canvas->drawPixmap(faceRect.topLeft(), bitmap);
}

void TfrmCalUnit::DrawUnitItem(TQuenComboBox& selector, int index, const QRect& rect, TOwnerDrawState state) {
    QPainter* canvas = selector.Canvas();
    if (!canvas || rect.isEmpty() || index < 0 || index >= selector.Items().size()) return;
    const bool selected = (state & odSelected) != 0;
    QPixmap bitmap = SharpBitmap(rect.size(), *canvas);
    {
        QPainter painter(&bitmap);
        painter.fillRect(QRect(QPoint(), rect.size()), ToQColor(selected ? clHighlight : clWindow));
        painter.setPen(ToQColor(selected ? clHighlightText : clWindowText));
        QPoint pen(UnitNameLeft, 0);
        DrawUnitName(painter, pen, selector.Items()[index].toStdString(), UnitFonts(), FSettings.FontSize);
    }
    canvas->drawPixmap(rect.topLeft(), bitmap);
}

}  // namespace quenmark
