#pragma once

#include "ui/quen_button.h"
#include "ui/quen_popup_list.h"

#include <QPointer>
#include <QStringList>

namespace quenmark {

// A selector built on the button: shows the chosen item left-aligned beside
// a drop button and drops down a TQuenPopupList to choose another.
class TQuenComboBox : public TQuenButton {
    Q_OBJECT

public:
    explicit TQuenComboBox(QWidget* owner = nullptr);
    ~TQuenComboBox() override;

    const QStringList& Items() const { return FItems; }
    QStringList& Items() { return FItems; }
    void SetItems(const QStringList& items) { FItems = items; }
    int ItemIndex() const { return FItemIndex; }
    // Shows item index (or nothing when it is out of range) and fires
    // OnChange, also when the index stays the same.
    void SetItemIndex(int index);
    // The list dropped down; null before the first drop-down.
    TQuenPopupList* PopupList() const { return FPopupList; }
    // While the dropped-down list draws an item, its canvas.
    QPainter* Canvas() const override;

    // Drops the list down, or closes it when it is open.
    void Click() override;

    TNotifyEvent OnChange;
    TDrawItemEvent OnDrawItem;
    // How wide an owner-drawn item is, so that the list can show it whole.
    TMeasureItemWidthEvent OnMeasureItemWidth;

protected:
    void DrawFace(TColor back, TColor fore) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreatePopupList();
    void PlacePopupList();
    void FillPopupList();
    void NamePopupList();

    QStringList FItems;
    int FItemIndex = -1;
    QPointer<TQuenPopupList> FPopupList;
};

}  // namespace quenmark
