#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>

#include <vector>

#include "app/name_completion.h"
#include "app/result_recall.h"

class QKeyEvent;
class QLineEdit;
class QRect;

namespace quenmark {

class TCCContext;
class TCCInterpreter;
class TLineSession;
class TQuenPopupList;
class TSettings;
class TVMModuleList;
struct TColorScheme;

// What the input line offers while the user types: a popup list under the
// line with the names that start with the typed text, and the session's
// results brought back by Alt+. .
//
// Keys while the list is shown: Up and Down move the choice, Tab takes it,
// Escape closes the list (and nothing else). Enter takes the choice only
// after Up or Down moved it; otherwise Enter closes the list and runs the
// line, so that a list that merely popped up never swallows the Enter meant
// for the line. Without the list Up and Down recall the history as before.
class TInputCompletion : public QObject {
    Q_OBJECT

public:
    TInputCompletion(QLineEdit& input, TLineSession& session, TCCInterpreter& interpreter,
                     const TVMModuleList& modules, const TSettings& settings);
    ~TInputCompletion() override;

    // A key press the window previews; true when it was handled here.
    bool KeyPress(QKeyEvent* event);
    void ApplyColors(const TColorScheme& scheme);
    void HidePopup();

    const TResultRecall& Results() const { return FRecall; }
    TQuenPopupList* Popup() const { return FPopup; }
    const std::vector<TCompletionCandidate>& Candidates() const { return FCandidates; }
    // The description the list shows: a module's own text marked as being
    // in English where the language is another.
    QString ShownDescription(const TCompletionCandidate& candidate) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool PopupKeyPress(QKeyEvent* event);
    void TextEdited();
    void Refresh();
    void ShowCandidates();
    int PopupWidth() const;
    QRect PopupGeometry(int rows, int itemHeight) const;
    void MoveChoice(int step);
    void TakeChoice();
    void RecallResult();
    void ReplaceText(const std::string& text, size_t cursor);
    void DrawItem(int index, const QRect& rect, bool selected);
    int ItemWidth(int index) const;

    QLineEdit& FInput;
    const TCCContext& FContext;
    const TSettings& FSettings;
    TNameCompletion FCompletion;
    TResultRecall FRecall;
    QPointer<TQuenPopupList> FPopup;
    std::vector<TCompletionCandidate> FCandidates;
    // Up or Down moved the choice since the list was shown.
    bool FChoiceMoved = false;
    // The text is being changed here, not typed.
    bool FReplacing = false;
    int FDescriptionColumn = 0;
    QColor FBaseColor;
    QColor FDarkColor;
    QColor FTextColor;
};

}  // namespace quenmark
