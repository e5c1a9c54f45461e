#pragma once

#include "ui/color_ref.h"
#include "ui/control_types.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

#include <QMenu>
class QPainter;

namespace quenmark {

struct TEdges;

// What the face of a button shows.
enum TQuenButtonStyle { qbText, qbClose, qbUp, qbDown, qbLeft, qbRight };

// dsOwnerDraw hands the drawing of the face to OnDrawFace.
enum TQuenDrawStyle { dsStandard, dsOwnerDraw };

// dtSelected: focused or under the mouse; dtPushed: during a click.
enum TQuenDrawType { dtNormal = 0, dtSelected = 1, dtPushed = 2 };

class TQuenButton;

// Owner drawing of a face: the button, the face rectangle, the state, and the
// background and foreground colours the standard drawing would use. The
// handler draws on sender->Canvas().
using TQuenDrawFaceEvent = std::function<void(TQuenButton* sender, const QRect& faceRect,
                                              TQuenDrawType state, TColor back, TColor fore)>;

// A small flat button with rounded corners that draws a caption or a glyph
// (close cross, arrows) and can open a pop-up menu instead of clicking.
class TQuenButton : public QWidget {
    Q_OBJECT

public:
    // How long each step of the blink before a click lasts, in milliseconds.
    static constexpr int BlinkStepMs = 75;

    explicit TQuenButton(QWidget* owner = nullptr);
    ~TQuenButton() override;

    TQuenButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TQuenButtonStyle value);
    TQuenDrawStyle Style() const { return FStyle; }
    void SetStyle(TQuenDrawStyle value);
    const QString& Text() const { return FText; }
    void SetText(const QString& value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    int RoundSize() const { return FRoundSize; }
    void SetRoundSize(int value);

    TColor FaceColor() const { return FFaceColor; }
    void SetFaceColor(TColor value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor value);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor value);
    TColor PushColor() const { return FPushColor; }
    void SetPushColor(TColor value);

    QFont Font() const { return font(); }
    void SetFont(const QFont& value) { setFont(value); }
    bool Blink() const { return FBlink; }
    void SetBlink(bool value) { FBlink = value; }
    QMenu* Popup() const { return FPopup; }
    void SetPopup(QMenu* value) { FPopup = value; }
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);

    TQuenDrawType DrawState() const { return FDrawState; }
    // True while the pointer is followed after it entered the client area.
    bool MouseCapture() const { return FMouseCapture; }
    // The painter of the paint in progress; null outside painting.
    virtual QPainter* Canvas() const { return FCanvas; }

    // Takes the focus, blinks, then opens Popup at the cursor or fires
    // OnClick.
    virtual void Click();
    // The click of the keyboard or of assistive technologies: as Click, but
    // Popup opens below the button, where the user's attention is.
    void ClickFromKeyboard();

    TQuenDrawFaceEvent OnDrawFace;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    // Paints the whole control on Canvas(): frame, then the face of DrawState.
    void Paint();
    virtual void DrawFrame(TColor back, TColor pen);
    virtual void DrawFace(TColor back, TColor fore);
    // Sets DrawState and paints at once.
    void PaintAs(TQuenDrawType state);
    // Brush and pen of the canvas in one colour each.
    void UseColors(TColor brush, TColor pen);

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void DrawContent(const TEdges& face, TColor fore);
    void DrawCaption(const TEdges& face, TColor fore);
    void DrawGlyph(TColor fore);
    void FollowPointer(QPoint position);
    void ChangeDrawState(TQuenDrawType state);
    template <typename T>
    void Assign(T& field, const T& value) {
        field = value;
        update();
    }

    TQuenButtonStyle FButtonStyle = qbText;
    TQuenDrawStyle FStyle = dsStandard;
    QString FText;
    TAlignment FAlignment = taCenter;
    int FRoundSize = 0;
    TColor FFaceColor = clBtnFace;
    TColor FBorderColor = clBtnText;
    TColor FTextColor = clBtnText;
    TColor FSelectedColor = clBtnShadow;
    TColor FPushColor = clHighlight;
    bool FBlink = true;
    QPointer<QMenu> FPopup;
    bool FTabStop = false;
    TQuenDrawType FDrawState = dtNormal;
    bool FMouseCapture = false;
    bool FClicked = false;
    bool FPopupAtButton = false;
    QPainter* FCanvas = nullptr;
};

}  // namespace quenmark
