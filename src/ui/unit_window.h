#pragma once

#include <QString>
#include <QWidget>

namespace quenmark {

class TSettings;
class TCCInterpreter;
class TCCLanguage;

// The unit-conversion window: converts a number between the units of a
// group of the current language's unit file.
class TfrmCalUnit : public QWidget {
    Q_OBJECT
public:
    TfrmCalUnit(TSettings& settings, TCCInterpreter& interpreter, TCCLanguage& language, QWidget* parent = nullptr);
    ~TfrmCalUnit() override;

    // The source field and the conversion action, as the main window uses them.
    void SetSourceText(const QString& text);
    QString SourceText() const;
    void Convert();

    // Active (text colour) or inactive (dark colour) appearance, as the
    // application gains or loses activation.
    void SetApplicationActive(bool active);
};

}  // namespace quenmark
