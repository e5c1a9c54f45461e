#include "ui/quen_popup_list.h"

#include "ui/canvas_shapes.h"
#include "ui/color_ref.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace quenmark {

// Draws and measures the items of a popup list through the list's own
// drawing rules and events.
class TPopupItemDelegate : public QStyledItemDelegate {
public:
    explicit TPopupItemDelegate(TQuenPopupList* list) : QStyledItemDelegate(list), FList(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (FList->FStyle != lbStandard && FList->OnDrawItem) {
            FList->DrawItem(painter, option, index);
        } else {
            QStyledItemDelegate::paint(painter, option, index);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(),
                     FList->MeasureItem(index.row()));
    }

    void HeightChanged() { emit sizeHintChanged(QModelIndex()); }

private:
    TQuenPopupList* FList;
};

namespace {

// The screen a window at position lies on; the primary screen otherwise.
QRect DesktopAt(QPoint position) {
    QScreen* screen = QGuiApplication::screenAt(position);
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

}  // namespace

TQuenPopupList::TQuenPopupList(QWidget* owner)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint), FListBox(new QListWidget(this)) {
    // A click elsewhere only closes the list; in particular a click on the
    // selector that dropped it down must not open it again at once.
    setAttribute(Qt::WA_NoMouseReplay);
    setAttribute(Qt::WA_QuitOnClose, false);
    FListBox->setFrameShape(QFrame::NoFrame);
    FListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    FListBox->setUniformItemSizes(true);
    FListBox->setItemDelegate(new TPopupItemDelegate(this));
    FListBox->setMouseTracking(true);
    FListBox->viewport()->setMouseTracking(true);
    FListBox->installEventFilter(this);
    FListBox->viewport()->installEventFilter(this);
    setFocusProxy(FListBox);
}

TQuenPopupList::~TQuenPopupList() = default;

QStringList TQuenPopupList::Items() const {
    QStringList items;
    for (int row = 0; row < FListBox->count(); ++row) items.append(FListBox->item(row)->text());
    return items;
}

void TQuenPopupList::SetItems(const QStringList& items) {
    FListBox->clear();
    FListBox->addItems(items);
}

void TQuenPopupList::ClearItems() { FListBox->clear(); }

int TQuenPopupList::ItemIndex() const { return FListBox->currentRow(); }

void TQuenPopupList::SetItemIndex(int index) {
    if (index < 0 || index >= FListBox->count()) index = -1;
    FListBox->setCurrentRow(index);
}

void TQuenPopupList::SetItemHeight(int height) {
    if (height <= 0 || height == FItemHeight) return;
    FItemHeight = height;
    static_cast<TPopupItemDelegate*>(FListBox->itemDelegate())->HeightChanged();
}

void TQuenPopupList::SetStyle(TListBoxStyle style) {
    FStyle = style;
    FListBox->setUniformItemSizes(style != lbOwnerDrawVariable);
    FListBox->viewport()->update();
}

void TQuenPopupList::SetStayOnTop() {
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
}

void TQuenPopupList::SetFollowsTyping() {
    FFollowsTyping = true;
    // A tool-tip window stays above its owner and is never activated, so
    // the input line keeps the focus while the list is shown.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    FListBox->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(nullptr);
}

void TQuenPopupList::SetFrameColors(const QColor& background, const QColor& frame) {
    FBackground = background;
    FFrame = frame;
    update();
}

int TQuenPopupList::RowCount() const {
    const int count = FListBox->count();
    return count == 0 ? 1 : std::min(count, MaxRows);
}

int TQuenPopupList::FittingWidth(int minimumWidth) const {
    int widest = 0;
    for (int row = 0; row < FListBox->count(); ++row) widest = std::max(widest, MeasureItemWidth(row));
    if (FListBox->count() > MaxRows) widest += FListBox->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return std::max(minimumWidth, widest + 2);
}

// Owner-drawn items are measured by their handler; plain ones by their text
// with the margins the item drawing keeps on either side.
int TQuenPopupList::MeasureItemWidth(int index) const {
    if (FStyle != lbStandard && OnMeasureItemWidth) return OnMeasureItemWidth(index);
    const int margin = FListBox->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, FListBox) + 1;
    return FListBox->fontMetrics().horizontalAdvance(FListBox->item(index)->text()) + 2 * margin;
}

void TQuenPopupList::setVisible(bool visible) {
    if (visible && !isVisible()) {
        FModalResult = mrNone;
        FormShow();
    }
    QWidget::setVisible(visible);
    if (visible && !FFollowsTyping) FListBox->setFocus(Qt::PopupFocusReason);
}

// Sizes the window to its rows and widest item and keeps it on the desktop:
// a list that would reach past the bottom or right edge is moved up or left
// onto that edge, and none is wider than the desktop.
void TQuenPopupList::FormShow() {
    QRect frame(geometry().topLeft(), QSize(FittingWidth(width()), RowCount() * FItemHeight + 2));
    const QRect desktop = DesktopAt(frame.topLeft());
    if (!desktop.isEmpty()) {
        frame.setWidth(std::min(frame.width(), desktop.width()));
        if (frame.bottom() >= desktop.bottom()) frame.moveBottom(desktop.bottom());
        if (frame.right() >= desktop.right()) frame.moveRight(desktop.right());
    }
    setGeometry(frame);
    FListBox->setGeometry(1, 1, frame.width() - 2, frame.height() - 2);
}

void TQuenPopupList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setBrush(FBackground.isValid() ? FBackground : ToQColor(clWindow));
    painter.setPen(FFrame.isValid() ? FFrame : ToQColor(clWindowFrame));
    RoundRectangle(painter, {0, 0, width(), height()}, 0);
}

// Qt closes a popup when the user clicks elsewhere: that cancels the choice.
void TQuenPopupList::closeEvent(QCloseEvent* event) {
    FModalResult = mrCancel;
    QWidget::closeEvent(event);
}

void TQuenPopupList::Choose() {
    FModalResult = mrOk;
    if (OnChange) OnChange(this);
    hide();
}

void TQuenPopupList::Dismiss() {
    FModalResult = mrCancel;
    hide();
}

bool TQuenPopupList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FListBox->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            ListMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        } else if (event->type() == QEvent::MouseButtonRelease) {
            ListMouseUp(static_cast<QMouseEvent*>(event)->position().toPoint());
            return true;
        }
    } else if (watched == FListBox && event->type() == QEvent::KeyPress) {
        return ListKeyDown(static_cast<QKeyEvent*>(event)->key());
    }
    return QWidget::eventFilter(watched, event);
}

void TQuenPopupList::ListMouseMove(QPoint position) {
    const QModelIndex index = FListBox->indexAt(position);
    SetItemIndex(index.isValid() ? index.row() : -1);
}

void TQuenPopupList::ListMouseUp(QPoint position) {
    const QModelIndex index = FListBox->indexAt(position);
    if (!index.isValid()) return;
    SetItemIndex(index.row());
    Choose();
}

bool TQuenPopupList::ListKeyDown(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: Choose(); return true;
    case Qt::Key_Escape: Dismiss(); return true;
    default: return false;
    }
}

void TQuenPopupList::DrawItem(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) {
    TOwnerDrawState state = 0;
    if (option.state & QStyle::State_Selected) state |= odSelected;
    if (option.state & QStyle::State_HasFocus) state |= odFocused;
    painter->save();
    FCanvas = painter;
    OnDrawItem(this, index.row(), option.rect, state);
    FCanvas = nullptr;
    painter->restore();
}

int TQuenPopupList::MeasureItem(int index) {
    int height = FItemHeight;
    if (FStyle == lbOwnerDrawVariable && OnMeasureItem) OnMeasureItem(this, index, height);
    return height;
}

}  // namespace quenmark
