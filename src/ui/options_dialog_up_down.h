#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace quenmark {

// The value a numeric field's text stands for when the field is left: the
// decimal integer it holds, raised to min or lowered to max; the current
// position when the text is no integer.
int NumericFieldValue(const QString& text, int min, int max, int position);

// A pair of arrow buttons that steps a position within its range and shows
// it in an associated edit field. Leaving the field (or ApplyFieldText)
// takes its text by the rule of NumericFieldValue; the arrow keys in the
// field step as the buttons do.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    TUpDown(int min, int max, QWidget* parent = nullptr);

    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    // Kept within the range; the field shows the new position.
    void SetPosition(int position);

    void Associate(QLineEdit* edit);
    // Takes the field's text as the position and writes the position back.
    void ApplyFieldText();

    QToolButton* UpButton() const { return FUp; }
    QToolButton* DownButton() const { return FDown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Step(int delta);

    int FMin;
    int FMax;
    int FPosition;
    QLineEdit* FEdit = nullptr;
    QToolButton* FUp;
    QToolButton* FDown;
};

}  // namespace quenmark
