#include "ui/main_window_completion.h"

#include "app/color_schemes.h"
#include "app/line_session.h"
#include "app/settings.h"
#include "ui/color_ref.h"
#include "ui/quen_popup_list.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace quenmark {

namespace {

// Room between a name and its description, and around the item texts.
constexpr int DescriptionGap = 12;
constexpr int TextMargin = 3;
// The list is at least this many average characters wide, so that the
// descriptions can be read beside the names.
constexpr int MinimumWidthInCharacters = 36;

std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }

// The position in bytes of the line edit's cursor, and back.
size_t ByteCursor(const QLineEdit& input) { return static_cast<size_t>(input.text().left(input.cursorPosition()).toUtf8().size()); }
int CharacterCursor(const std::string& text, size_t cursor) {
    return static_cast<int>(QString::fromUtf8(text.data(), static_cast<qsizetype>(cursor)).size());
}

bool IsRecallKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Period && event->modifiers().testFlag(Qt::AltModifier);
}

bool IsModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr;
}

}  // namespace

TInputCompletion::TInputCompletion(QLineEdit& input, TLineSession& session, TCCInterpreter& interpreter,
                                   const TVMModuleList& modules, const TSettings& settings)
    : QObject(&input),
      FInput(input),
      FContext(interpreter.Context()),
      FSettings(settings),
      FCompletion(interpreter, &modules) {
    FRecall.Attach(session, interpreter);
    FPopup = new TQuenPopupList(input.window());
    FPopup->SetFollowsTyping();
    FPopup->SetStyle(lbOwnerDrawFixed);
    FPopup->OnDrawItem = [this](QWidget*, int index, const QRect& rect, TOwnerDrawState state) {
        DrawItem(index, rect, (state & odSelected) != 0);
    };
    FPopup->OnMeasureItemWidth = [this](int index) { return ItemWidth(index); };
    FPopup->OnChange = [this](QObject*) { TakeChoice(); };
    connect(&input, &QLineEdit::textEdited, this, &TInputCompletion::TextEdited);
    connect(&input, &QLineEdit::cursorPositionChanged, this, [this] {
        if (!FReplacing && FPopup->isVisible()) Refresh();
    });
    input.installEventFilter(this);
    input.window()->installEventFilter(this);
}

TInputCompletion::~TInputCompletion() { delete FPopup; }

void TInputCompletion::ApplyColors(const TColorScheme& scheme) {
    FBaseColor = ToQColor(scheme.BaseColor);
    FDarkColor = ToQColor(scheme.DarkColor);
    FTextColor = ToQColor(scheme.TextColor);
    FPopup->SetFrameColors(FBaseColor, FDarkColor);
}

void TInputCompletion::HidePopup() {
    if (FPopup) FPopup->hide();
    FChoiceMoved = false;
}

// The list goes when the input line loses the focus or the window moves,
// changes its size or hides.
bool TInputCompletion::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusOut:
        if (watched == &FInput) HidePopup();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Hide:
    case QEvent::WindowDeactivate:
        if (watched == FInput.window()) HidePopup();
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

bool TInputCompletion::KeyPress(QKeyEvent* event) {
    if (IsRecallKey(event)) {
        if (FInput.hasFocus()) RecallResult();
        return true;
    }
    if (!IsModifierKey(event->key())) FRecall.EndSequence();
    return FPopup && FPopup->isVisible() && PopupKeyPress(event);
}

bool TInputCompletion::PopupKeyPress(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up: MoveChoice(-1); return true;
    case Qt::Key_Down: MoveChoice(+1); return true;
    case Qt::Key_Tab: TakeChoice(); return true;
    case Qt::Key_Escape: HidePopup(); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (FChoiceMoved) {
            TakeChoice();
            return true;
        }
        HidePopup();
        return false;
    default: return false;
    }
}

void TInputCompletion::TextEdited() {
    if (!FReplacing) Refresh();
}

void TInputCompletion::Refresh() {
    FCandidates.clear();
    if (FSettings.AutoComplete && FInput.hasFocus())
        FCandidates = FCompletion.CandidatesAt(Utf8(FInput.text()), ByteCursor(FInput));
    if (FCandidates.empty()) HidePopup();
    else ShowCandidates();
}

void TInputCompletion::ShowCandidates() {
    const QFontMetrics metrics(FInput.font());
    QStringList names;
    int widestName = 0;
    for (const TCompletionCandidate& candidate : FCandidates) {
        names.append(QString::fromUtf8(candidate.Name));
        widestName = std::max(widestName, metrics.horizontalAdvance(names.back()));
    }
    FDescriptionColumn = TextMargin + widestName + DescriptionGap;
    const bool wasVisible = FPopup->isVisible();
    FPopup->setFont(FInput.font());
    FPopup->SetItems(names);
    FPopup->SetItemIndex(0);
    FPopup->SetItemHeight(metrics.height() + 2);
    if (wasVisible) FPopup->hide();  // shown again below, sized for the new items
    FChoiceMoved = false;
    FPopup->setGeometry(PopupGeometry(FPopup->RowCount(), FPopup->ItemHeight()));
    FPopup->show();
}

int TInputCompletion::PopupWidth() const {
    return std::max(FInput.width(), MinimumWidthInCharacters * FInput.fontMetrics().averageCharWidth());
}

// Under the input line; where the screen ends below, above the window,
// so that the list never lies over the window and the line being typed.
QRect TInputCompletion::PopupGeometry(int rows, int itemHeight) const {
    const QPoint inputTop = FInput.mapToGlobal(QPoint(0, 0));
    QRect frame(inputTop.x(), inputTop.y() + FInput.height(), PopupWidth(), rows * itemHeight + 2);
    const QScreen* screen = FInput.screen();
    if (screen && frame.bottom() > screen->availableGeometry().bottom())
        frame.moveBottom(FInput.window()->frameGeometry().top() - 1);
    return frame;
}

// Long descriptions are cut short rather than widening the list.
int TInputCompletion::ItemWidth(int index) const {
    const QFontMetrics metrics(FInput.font());
    const auto& candidate = FCandidates[static_cast<size_t>(index)];
    const int description = metrics.horizontalAdvance(ShownDescription(candidate));
    return std::min(FDescriptionColumn + description + TextMargin, PopupWidth() - 2);
}

QString TInputCompletion::ShownDescription(const TCompletionCandidate& candidate) const {
    if (!candidate.DescribedByModule || candidate.Description.empty()) return QString::fromUtf8(candidate.Description);
    // Without a message file the context gives the code back.
    const std::string marked = FContext.GetTextWith("QEN513", candidate.Description);
    return QString::fromUtf8(marked == "QEN513" ? candidate.Description : marked);
}

void TInputCompletion::MoveChoice(int step) {
    const int count = static_cast<int>(FCandidates.size());
    FPopup->SetItemIndex(std::clamp(FPopup->ItemIndex() + step, 0, count - 1));
    FChoiceMoved = true;
}

void TInputCompletion::TakeChoice() {
    const int row = FPopup->ItemIndex();
    if (row < 0 || row >= static_cast<int>(FCandidates.size())) return HidePopup();
    const TCompletedLine completed =
        ApplyCandidate(Utf8(FInput.text()), ByteCursor(FInput), FCandidates[static_cast<size_t>(row)]);
    HidePopup();
    ReplaceText(completed.Text, completed.Cursor);
}

void TInputCompletion::RecallResult() {
    HidePopup();
    TEditedLine line{Utf8(FInput.text()), ByteCursor(FInput)};
    if (FRecall.Recall(line)) ReplaceText(line.Text, line.Cursor);
}

// Replaces the text as one edit, so that the user can undo it, without
// taking it for typing.
void TInputCompletion::ReplaceText(const std::string& text, size_t cursor) {
    FReplacing = true;
    FInput.selectAll();
    FInput.insert(QString::fromUtf8(text));
    FInput.setCursorPosition(CharacterCursor(text, cursor));
    FReplacing = false;
}

// The name in the text colour, the description in the dark colour from a
// column of its own, cut short with "..." where it does not fit; the
// chosen item inverted.
void TInputCompletion::DrawItem(int index, const QRect& rect, bool selected) {
    QPainter* painter = FPopup->Canvas();
    if (!painter || index < 0 || index >= static_cast<int>(FCandidates.size())) return;
    const TCompletionCandidate& candidate = FCandidates[static_cast<size_t>(index)];
    painter->fillRect(rect, selected ? FDarkColor : FBaseColor);
    painter->setFont(FInput.font());
    painter->setPen(selected ? FBaseColor : FTextColor);
    const QRect nameRect = rect.adjusted(TextMargin, 0, -TextMargin, 0);
    painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(candidate.Name));
    const QRect descriptionRect = rect.adjusted(FDescriptionColumn, 0, -TextMargin, 0);
    if (descriptionRect.width() <= 0) return;
    const QString description = painter->fontMetrics().elidedText(ShownDescription(candidate),
                                                                  Qt::ElideRight, descriptionRect.width());
    painter->setPen(selected ? FBaseColor : FDarkColor);
    painter->drawText(descriptionRect, Qt::AlignLeft | Qt::AlignVCenter, description);
}

}  // namespace quenmark
