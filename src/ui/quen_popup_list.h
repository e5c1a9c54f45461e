#pragma once

#include "ui/control_types.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

#include <functional>

class QListWidget;
class QPainter;
class QStyleOptionViewItem;
class QModelIndex;

namespace quenmark {

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

// How a modal-style window was left.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

// State of an item being owner-drawn.
enum TOwnerDrawFlag : unsigned { odSelected = 1u << 0, odFocused = 1u << 1 };
using TOwnerDrawState = unsigned;

// Owner drawing of one list item; the handler draws on the list's Canvas().
using TDrawItemEvent =
    std::function<void(QWidget* control, int index, const QRect& rect, TOwnerDrawState state)>;
// Height of one item of a variable-height owner-drawn list.
using TMeasureItemEvent = std::function<void(QWidget* control, int index, int& height)>;
// Width that one owner-drawn item needs, from the list's left edge.
using TMeasureItemWidthEvent = std::function<int(int index)>;

// The borderless, always-on-top list that a selector drops down: a frame
// one pixel wide around a borderless list box. Choosing an item (release over
// it, or Enter) fires OnChange; Escape or a click elsewhere cancels. When
// shown it grows to the right to its widest item, within the desktop.
class TQuenPopupList : public QWidget {
    Q_OBJECT

public:
    // A drop-down list shows at most this many rows and scrolls beyond.
    static constexpr int MaxRows = 10;

    explicit TQuenPopupList(QWidget* owner = nullptr);
    ~TQuenPopupList() override;

    QStringList Items() const;
    void SetItems(const QStringList& items);
    void ClearItems();
    int ItemIndex() const;
    void SetItemIndex(int index);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int height);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle style);
    // The painter of the item being drawn; null outside item drawing.
    QPainter* Canvas() const { return FCanvas; }
    void SetStayOnTop();
    // A list that offers choices for what is typed in another control: it
    // shows without taking the keyboard or the activation, and its owner
    // passes it the keys and hides it.
    void SetFollowsTyping();
    // The background and frame in these colours instead of the system's.
    void SetFrameColors(const QColor& background, const QColor& frame);

    TModalResult ModalResult() const { return FModalResult; }
    // Rows the window shows: the items, at most MaxRows, and 1 when empty.
    int RowCount() const;
    // The width that shows every item whole: at least minimumWidth, with
    // the frame and, when the rows scroll, the scroll bar.
    int FittingWidth(int minimumWidth) const;
    QListWidget* ListBox() const { return FListBox; }

    // Places the window and its list box for the items it holds, then shows it.
    void setVisible(bool visible) override;

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;
    TMeasureItemWidthEvent OnMeasureItemWidth;
    TNotifyEvent OnChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TPopupItemDelegate;

    void FormShow();
    void Choose();
    void Dismiss();
    void ListMouseMove(QPoint position);
    void ListMouseUp(QPoint position);
    bool ListKeyDown(int key);
    void DrawItem(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index);
    int MeasureItem(int index);
    int MeasureItemWidth(int index) const;

    QListWidget* FListBox;
    int FItemHeight = 16;
    TListBoxStyle FStyle = lbStandard;
    TModalResult FModalResult = mrNone;
    QPainter* FCanvas = nullptr;
    bool FFollowsTyping = false;
    QColor FBackground;
    QColor FFrame;
};

}  // namespace quenmark
