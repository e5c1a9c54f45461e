#include "ui/quen_combo_box.h"

#include "ui/canvas_shapes.h"

#include <QKeyEvent>
#include <QListWidget>

#include <algorithm>

namespace quenmark {

TQuenComboBox::TQuenComboBox(QWidget* owner) : TQuenButton(owner) { SetAlignment(taLeftJustify); }

// The list may belong to the selector's owner, but it lives only as long as
// the selector.
TQuenComboBox::~TQuenComboBox() { delete FPopupList; }

void TQuenComboBox::SetItemIndex(int index) {
    if (index >= 0 && index < FItems.size()) {
        SetText(FItems[index]);
        FItemIndex = index;
    } else {
        SetText(QString());
        FItemIndex = -1;
    }
    repaint();
    if (OnChange) OnChange(this);
}

QPainter* TQuenComboBox::Canvas() const {
    if (FPopupList && FPopupList->Canvas()) return FPopupList->Canvas();
    return TQuenButton::Canvas();
}

void TQuenComboBox::DrawFace(TColor back, TColor fore) {
    TQuenButton::DrawFace(back, fore);
    const int w = width();
    const int h = height();
    const int x0 = w - h + 2;
    const int x1 = w - 2;
    const int d = x1 - x0;
    QPainter& canvas = *TQuenButton::Canvas();
    UseColors(back, back);
    RoundRectangle(canvas, {x0, 2, x1, h - 2}, RoundSize());
    UseColors(fore, fore);
    FilledPolygon(canvas,
                  {{x0 + d / 2, 3 * h / 5}, {x0 + d / 4, 2 * h / 5}, {x0 + 3 * d / 4, 2 * h / 5}});
}

void TQuenComboBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        Click();
        break;
    case Qt::Key_Up:
        event->accept();
        SetItemIndex(FItemIndex - 1);
        if (FItemIndex == -1) SetItemIndex(0);
        break;
    case Qt::Key_Down:
        event->accept();
        SetItemIndex(FItemIndex + 1);
        if (FItemIndex == -1) SetItemIndex(static_cast<int>(FItems.size()) - 1);
        break;
    default: TQuenButton::keyPressEvent(event);
    }
}

void TQuenComboBox::Click() {
    setFocus(Qt::OtherFocusReason);
    if (FPopupList) {
        FPopupList->ClearItems();
    } else {
        CreatePopupList();
    }
    if (FPopupList->isVisible()) {
        FPopupList->hide();
        return;
    }
    PlacePopupList();
    FillPopupList();
    NamePopupList();
    FPopupList->show();
}

void TQuenComboBox::CreatePopupList() {
    FPopupList = new TQuenPopupList(parentWidget());
    FPopupList->OnChange = [this](QObject*) { SetItemIndex(FPopupList->ItemIndex()); };
}

// The dropped list is presented to assistive technologies under the
// selector's name, or its caption where it has none.
void TQuenComboBox::NamePopupList() {
    const QString name = accessibleName().isEmpty() ? Text() : accessibleName();
    FPopupList->setWindowTitle(name);
    FPopupList->ListBox()->setAccessibleName(name);
}

// Just below the selector, at least as wide as it, one selector height per
// row; the list widens itself to its items when shown.
void TQuenComboBox::PlacePopupList() {
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    const int rows = FItems.isEmpty() ? 1 : static_cast<int>(std::min<qsizetype>(FItems.size(), TQuenPopupList::MaxRows));
    FPopupList->setGeometry(origin.x(), origin.y() + height(), width(), height() * rows);
    FPopupList->SetItemHeight(height());
}

void TQuenComboBox::FillPopupList() {
    FPopupList->SetItems(FItems);
    // Selected after the items are in, so that the current choice shows.
    FPopupList->SetItemIndex(FItemIndex);
    FPopupList->SetStayOnTop();
    QFont listFont(font().family());
    if (font().pixelSize() > 0) {
        listFont.setPixelSize(font().pixelSize());
    } else {
        listFont.setPointSizeF(font().pointSizeF());
    }
    listFont.setBold(font().bold());
    listFont.setItalic(font().italic());
    listFont.setUnderline(font().underline());
    listFont.setStrikeOut(font().strikeOut());
    FPopupList->setFont(listFont);
    FPopupList->SetStyle(Style() == dsOwnerDraw ? lbOwnerDrawFixed : lbStandard);
    FPopupList->OnDrawItem = OnDrawItem;
    FPopupList->OnMeasureItemWidth = OnMeasureItemWidth;
}

}  // namespace quenmark
