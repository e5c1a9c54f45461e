#include "ui/options_dialog_up_down.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace quenmark {

int NumericFieldValue(const QString& text, int min, int max, int position) {
    bool isInteger = false;
    const int value = text.trimmed().toInt(&isInteger, 10);
    if (!isInteger) return position;
    return std::clamp(value, min, max);
}

TUpDown::TUpDown(int min, int max, QWidget* parent)
    : QWidget(parent), FMin(min), FMax(max), FPosition(min), FUp(new QToolButton(this)), FDown(new QToolButton(this)) {
    FUp->setArrowType(Qt::UpArrow);
    FDown->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {FUp, FDown}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(FUp, &QToolButton::clicked, this, [this] { Step(1); });
    connect(FDown, &QToolButton::clicked, this, [this] { Step(-1); });
    setFixedWidth(16);
}

void TUpDown::SetPosition(int position) {
    FPosition = std::clamp(position, FMin, FMax);
    if (FEdit) FEdit->setText(QString::number(FPosition));
}

void TUpDown::Associate(QLineEdit* edit) {
    FEdit = edit;
    if (!FEdit) return;
    FEdit->installEventFilter(this);
    FEdit->setText(QString::number(FPosition));
}

void TUpDown::ApplyFieldText() {
    if (FEdit) SetPosition(NumericFieldValue(FEdit->text(), FMin, FMax, FPosition));
}

// A step starts from what the field shows, as the user may have typed.
void TUpDown::Step(int delta) {
    ApplyFieldText();
    SetPosition(FPosition + delta);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FEdit) {
        if (event->type() == QEvent::FocusOut) ApplyFieldText();
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                Step(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TUpDown::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    FUp->setGeometry(0, 0, width(), half);
    FDown->setGeometry(0, half, width(), height() - half);
}

}  // namespace quenmark
