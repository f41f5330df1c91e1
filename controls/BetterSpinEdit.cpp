#include "controls/BetterSpinEdit.h"

#include <algorithm>
#include <limits>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>

#include "controls/Beep.h"
#include "controls/Guarded.h"
#include "controls/Spin.h"

namespace {

// Equal bounds mean "unbounded". With MinValue > MaxValue, candidates below
// MinValue give MinValue and all others MaxValue.
qint32 ClampToBounds(qint32 value, qint32 minValue, qint32 maxValue)
{
    if (minValue == maxValue)
        return value;
    if (value < minValue)
        return minValue;
    if (value > maxValue)
        return maxValue;
    return value;
}

// Optional sign, then one or more ASCII digits and nothing else; false when
// the number leaves the signed 32-bit range.
bool ParseDecimal(const QString &text, qint32 &result)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return false;
    // Accumulated as a magnitude so that -2147483648 still fits.
    const qint64 limit = negative ? qint64(std::numeric_limits<qint32>::max()) + 1
                                  : qint64(std::numeric_limits<qint32>::max());
    qint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > limit)
            return false;
    }
    result = qint32(negative ? -magnitude : magnitude);
    return true;
}

constexpr char16_t CarriageReturn = 13;
constexpr char16_t Backspace = 8;

} // namespace

TBetterSpinEdit::TBetterSpinEdit(QWidget *parent)
    : QLineEdit(parent)
    , FSpinButtons(new TSpinButton(this))
{
    FSpinButtons->SetFocusControl(this);
    FSpinButtons->resize(PairWidth, 17);
    GuardedConnect(FSpinButtons, &TSpinButton::UpClick, this, [this](TSpinButton *sender) { StepUp(sender); });
    GuardedConnect(FSpinButtons, &TSpinButton::DownClick, this, [this](TSpinButton *sender) { StepDown(sender); });

    // Text only arrives through the key filter: no drops, no input-method
    // composition that would slip past it.
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);

    setText(QStringLiteral("0"));
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    UpdateMinimumSize();
    resize(DefaultWidth, std::max(DefaultHeight, MinimumHeight()));
    LayoutSpinButtons();
}

TBetterSpinEdit::~TBetterSpinEdit() = default;

void TBetterSpinEdit::SetValue(qint32 value)
{
    if (FInfinity)
        return;
    value = ClampToBounds(value, FMinValue, FMaxValue);
    const bool changed = value != FValue;
    FValue = value;
    // The text is current before any handler runs, and is rewritten even
    // when the value stays, so unreadable text disappears on every commit.
    ShowValue();
    if (changed)
        emit Change(this);
}

void TBetterSpinEdit::SetMinValue(qint32 value)
{
    FMinValue = value;
    SetValue(FValue);
}

void TBetterSpinEdit::SetMaxValue(qint32 value)
{
    FMaxValue = value;
    SetValue(FValue);
}

void TBetterSpinEdit::SetInfinity(bool value)
{
    if (FInfinity == value)
        return;
    FInfinity = value;
    if (FInfinity)
        setText(QString(QChar(InfinitySign)));
    else
        ShowValue();
}

void TBetterSpinEdit::ShowValue()
{
    setText(QString::number(FValue));
}

void TBetterSpinEdit::CommitText()
{
    SetValue(ReadTextValue());
}

bool TBetterSpinEdit::CanModifyText() const
{
    return FEditorEnabled && !isReadOnly();
}

// --- Steps -----------------------------------------------------------------

void TBetterSpinEdit::StepUp(QObject *)
{
    Step(true, false);
}

void TBetterSpinEdit::StepDown(QObject *)
{
    Step(false, false);
}

void TBetterSpinEdit::FastStepUp()
{
    Step(true, true);
}

void TBetterSpinEdit::FastStepDown()
{
    Step(false, true);
}

void TBetterSpinEdit::Step(bool up, bool fast)
{
    if (up)
        emit UpClicking(this);
    else
        emit DownClicking(this);

    // The step size, the bounds and the text are read only now, so a
    // Clicking handler may shape this step.
    if (isReadOnly()) {
        Beep();
    } else {
        // The step starts from what the text shows. Change compares the
        // result with the value committed before the step, so typing 22 over
        // 8 and stepping into the bound 22 still reports the change, and
        // typing 9 over 8 and stepping back to 8 reports none.
        const qint64 size = fast ? FFastIncrement : FIncrement;
        SetValue(SaturatedAdd(ReadTextValue(), up ? size : -size));
    }

    if (up)
        emit UpClick(this);
    else
        emit DownClick(this);
}

qint32 TBetterSpinEdit::SaturatedAdd(qint32 value, qint64 delta)
{
    const qint64 sum = qint64(value) + delta;
    return qint32(std::clamp<qint64>(sum, std::numeric_limits<qint32>::min(),
                                     std::numeric_limits<qint32>::max()));
}

// --- Text and keys ---------------------------------------------------------

bool TBetterSpinEdit::IsAcceptedChar(QChar c) const
{
    return IsAcceptedChar(c, FEditorEnabled);
}

bool TBetterSpinEdit::IsAcceptedChar(QChar c, bool editorEnabled)
{
    const char16_t code = c.unicode();
    const bool accepted = (code >= u'0' && code <= u'9') || code == u'-'
                          || (code < 32 && code != CarriageReturn);
    if (!accepted)
        return false;
    // Without the editor only the control characters that edit nothing remain.
    return editorEnabled || (code < 32 && code != Backspace);
}

qint32 TBetterSpinEdit::ReadTextValue() const
{
    if (FInfinity)
        return FValue;
    return ReadTextValue(text(), FValue);
}

qint32 TBetterSpinEdit::ReadTextValue(const QString &text, qint32 committed)
{
    if (text.isEmpty())
        return committed;
    // A minus sign counts only in the first position; stray ones are typos.
    QString digits = text;
    for (qsizetype i = digits.size() - 1; i >= 1; --i) {
        if (digits[i] == u'-')
            digits.remove(i, 1);
    }
    qint32 value = 0;
    return ParseDecimal(digits, value) ? value : 0;
}

bool TBetterSpinEdit::event(QEvent *event)
{
    // Keys this control consumes itself beat any window shortcut on them.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return true;
        default:
            break;
        }
        // Ctrl combinations are the window's first (in the main window
        // Ctrl+C is Copy and Ctrl+X Exit); one that no shortcut takes still
        // arrives as a key press and edits as usual.
        if (key->modifiers().testFlag(Qt::ControlModifier)) {
            event->ignore();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void TBetterSpinEdit::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
        Guarded([this] { FastStepUp(); });
        event->accept();
        return;
    case Qt::Key_PageDown:
        Guarded([this] { FastStepDown(); });
        event->accept();
        return;
    case Qt::Key_Up:
        Guarded([this] { StepUp(this); });
        event->accept();
        return;
    case Qt::Key_Down:
        Guarded([this] { StepDown(this); });
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter commits and stays here: it neither presses a dialog's
        // default button nor beeps.
        Guarded([this] { CommitText(); });
        event->accept();
        return;
    case Qt::Key_Escape:
        // Consumed, so a dialog's Esc does not close it from inside the field.
        event->accept();
        return;
    default:
        break;
    }

    if ((event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste)) && !CanModifyText()) {
        event->accept();
        return;
    }

    // Backspace is character 8 whatever the modifiers; Ctrl and Ctrl+Shift
    // combinations are commands, never typed text; Delete is a key only.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool command = modifiers == Qt::ControlModifier
                         || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    if (event->key() == Qt::Key_Backspace) {
        if (!IsAcceptedChar(QChar(Backspace))) {
            Beep();
            event->accept();
            return;
        }
    } else if (event->key() != Qt::Key_Delete && !command) {
        const QString typed = event->text();
        const bool refused = std::any_of(typed.cbegin(), typed.cend(),
                                         [this](QChar c) { return !IsAcceptedChar(c); });
        if (refused) {
            Beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TBetterSpinEdit::mouseReleaseEvent(QMouseEvent *event)
{
    // The middle button pastes the selection on X11: barred like Paste.
    if (event->button() == Qt::MiddleButton && !CanModifyText()) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TBetterSpinEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (!CanModifyText()) {
        // Newer Qt names the standard actions; older Qt only captions them.
        const QString cut = QCoreApplication::translate("QLineEdit", "Cu&t");
        const QString paste = QCoreApplication::translate("QLineEdit", "&Paste");
        for (QAction *action : menu->actions()) {
            const QString name = action->objectName();
            const QString caption = action->text().section(u'\t', 0, 0);
            if (name == u"edit-cut" || name == u"edit-paste" || caption == cut || caption == paste)
                action->setEnabled(false);
        }
    }
    menu->popup(event->globalPos());
}

// --- Focus -----------------------------------------------------------------

void TBetterSpinEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (FAutoSelect && event->reason() != Qt::MouseFocusReason)
        selectAll();
    else if (!FAutoSelect)
        deselect();
}

void TBetterSpinEdit::focusOutEvent(QFocusEvent *event)
{
    // A context menu or another window taking the focus is not leaving the
    // field; commit only when the focus moves on inside the window.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        Guarded([this] { CommitText(); });
    QLineEdit::focusOutEvent(event);
}

// --- Size and layout -------------------------------------------------------

int TBetterSpinEdit::MinimumHeight() const
{
    const int h = fontMetrics().height();
    const int systemHeight = QFontMetrics(QApplication::font()).height();
    constexpr int border = 1; // a one-pixel window border
    return h + std::min(systemHeight, h) / 4 + 4 * border + 1;
}

QSize TBetterSpinEdit::sizeHint() const
{
    return {DefaultWidth, std::max(DefaultHeight, MinimumHeight())};
}

QSize TBetterSpinEdit::minimumSizeHint() const
{
    return {MinimumWidth, MinimumHeight()};
}

void TBetterSpinEdit::UpdateMinimumSize()
{
    setMinimumSize(MinimumWidth, MinimumHeight());
}

void TBetterSpinEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    LayoutSpinButtons();
}

void TBetterSpinEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        UpdateMinimumSize();
        LayoutSpinButtons();
    }
}

void TBetterSpinEdit::LayoutSpinButtons()
{
    // The pair sits flush with the inside of the frame, full inner height.
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect inner = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const int pairWidth = std::max(FSpinButtons->width(), int(TSpinButton::MinimumWidth));
    FSpinButtons->setGeometry(inner.right() + 1 - pairWidth, inner.top(), pairWidth, inner.height());
    FitTextArea();
}

void TBetterSpinEdit::FitTextArea()
{
    // The line edit keeps its own 2-pixel margin, so text ends 2 pixels left
    // of the pair.
    setTextMargins(0, 0, FSpinButtons->width(), 0);
}
