#include "ui/options_dialog_color_combo.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include "ui/canvas_shapes.h"
#include "ui/color_ref.h"

namespace quenmark {

namespace {

// The miniature of the calculator window inside the sample box: the title
// row with its three buttons, the input line and the size grip.
void DrawMiniature(QPainter& canvas, const TEdges& s) {
    LineSegment(canvas, {s.Left, s.Top + 2}, {s.Right, s.Top + 2});
    for (int x : {s.Left + 2, s.Right - 3, s.Right - 5}) LineSegment(canvas, {x, s.Top}, {x, s.Top + 2});
    LineSegment(canvas, {s.Left, s.Bottom - 5}, {s.Right, s.Bottom - 5});
    LineSegment(canvas, {s.Right - 1, s.Bottom - 4}, {s.Right - 4, s.Bottom - 1});
    LineSegment(canvas, {s.Right - 1, s.Bottom - 3}, {s.Right - 3, s.Bottom - 1});
}

class TColorSchemeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int row = index.row();
        if (row < 0 || static_cast<size_t>(row) >= ColorSchemeCount) return;
        const bool selected = (option.state & (QStyle::State_Selected | QStyle::State_HasFocus)) != 0;
        painter->save();
        DrawColorSchemeItem(*painter, option.rect, ColorSchemes()[static_cast<size_t>(row)], selected,
                            option.palette.color(QPalette::Base), option.palette.color(QPalette::Highlight));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), TColorSchemeComboBox::ItemHeight};
    }
};

}  // namespace

void DrawColorSchemeItem(QPainter& canvas, const QRect& rect, const TColorScheme& scheme, bool selected,
                         const QColor& background, const QColor& highlight) {
    const TEdges r{rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
    canvas.fillRect(rect, selected ? highlight : background);
    const TEdges s{r.Left + 1, r.Top + 1, (r.Bottom - r.Top) * 3 / 2, r.Bottom - 1};
    canvas.setPen(ToQColor(scheme.DarkColor));
    canvas.setBrush(ToQColor(scheme.BaseColor));
    RoundRectangle(canvas, s, 0);
    DrawMiniature(canvas, s);
    canvas.setPen(ToQColor(scheme.DarkColor));
    const QFontMetrics metrics = canvas.fontMetrics();
    canvas.drawText(QPoint(s.Right + 8, s.Top + metrics.ascent()), QString::fromStdString(scheme.ColorName));
}

TColorSchemeComboBox::TColorSchemeComboBox(QWidget* parent) : QComboBox(parent) {
    for (const TColorScheme& scheme : ColorSchemes()) addItem(QString::fromStdString(scheme.ColorName));
    setItemDelegate(new TColorSchemeDelegate(this));
}

// The face shows the chosen scheme as the list does, highlighted while the
// selector has the focus.
void TColorSchemeComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const int row = currentIndex();
    if (row < 0 || static_cast<size_t>(row) >= ColorSchemeCount) return;
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    DrawColorSchemeItem(painter, field, ColorSchemes()[static_cast<size_t>(row)], hasFocus(),
                        palette().color(QPalette::Base), palette().color(QPalette::Highlight));
}

}  // namespace quenmark
