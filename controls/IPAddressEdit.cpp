#include "controls/IPAddressEdit.h"

#include <algorithm>

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "controls/Beep.h"
#include "controls/Guarded.h"

namespace {

// Left edges of the four octet fields and their size, inside the entry
// box's one-pixel border.
constexpr int OctetFieldLefts[4] = {1, 30, 59, 88};
constexpr int OctetFieldWidth = 25;
constexpr int OctetFieldHeight = 19;

} // namespace

TIPAddressEdit::TIPAddressEdit(const std::array<QString, 4> &fieldNames, QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setCursor(Qt::IBeamCursor);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, white.color(QPalette::Base));
    setPalette(white);

    QFont bold = font();
    bold.setBold(true);
    for (int i = 0; i < 4; ++i) {
        auto *field = new QLineEdit(this);
        field->setObjectName(fieldNames.at(i));
        field->setFrame(false);
        field->setMaxLength(3);
        field->setAlignment(Qt::AlignCenter);
        field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), field));
        field->setGeometry(1 + OctetFieldLefts[i], 1, OctetFieldWidth, OctetFieldHeight);
        field->setAttribute(Qt::WA_InputMethodEnabled, false);
        field->installEventFilter(this);
        GuardedConnect(field, &QLineEdit::textEdited, this, [this, i] { OctetChange(i); });
        FFields[i] = field;
        if (i > 0) {
            const int gapLeft = 1 + OctetFieldLefts[i - 1] + OctetFieldWidth;
            auto *dot = new QLabel(QStringLiteral("."), this);
            dot->setFont(bold);
            dot->setAlignment(Qt::AlignCenter);
            dot->setGeometry(gapLeft, 1, 1 + OctetFieldLefts[i] - gapLeft, OctetFieldHeight);
        }
    }
}

void TIPAddressEdit::SetCaption(const QString &caption)
{
    QString plain = caption;
    plain.remove(u'&');
    for (int i = 0; i < 4; ++i)
        FFields[i]->setAccessibleName(QStringLiteral("%1, octet %2").arg(plain).arg(i + 1));
}

void TIPAddressEdit::ShowAddress(quint32 value)
{
    for (int i = 0; i < 4; ++i)
        FFields[i]->setText(QString::number((value >> (8 * (3 - i))) & 0xFF));
}

// Typing only: text written by the program never moves the focus.
void TIPAddressEdit::OctetChange(int index)
{
    if (FFields[index]->text().size() >= 3 && FFields[index]->hasFocus())
        FFields[(index + 1) % 4]->setFocus(Qt::TabFocusReason);
}

bool TIPAddressEdit::OctetKeyPress(int index, QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit OctetExit(index);
        return true;
    }
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint() || (event->modifiers() & Qt::ControlModifier))
        return false;
    QLineEdit *field = FFields[index];
    const bool digit = text.size() == 1 && text.at(0) >= u'0' && text.at(0) <= u'9';
    const bool full = field->text().size() >= field->maxLength() && !field->hasSelectedText();
    if (!digit || full) {
        Beep();
        return true;
    }
    return false;
}

bool TIPAddressEdit::eventFilter(QObject *watched, QEvent *event)
{
    const auto found = std::find(FFields.begin(), FFields.end(), watched);
    if (found == FFields.end())
        return QFrame::eventFilter(watched, event);
    const int index = int(found - FFields.begin());
    // Ctrl combinations are the window's first (Ctrl+C is Copy, Ctrl+X
    // Exit); one that no shortcut takes still arrives as a key press.
    if (event->type() == QEvent::ShortcutOverride
        && static_cast<QKeyEvent *>(event)->modifiers().testFlag(Qt::ControlModifier)) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::KeyPress)
        return GuardedOr(true, [&] { return OctetKeyPress(index, static_cast<QKeyEvent *>(event)); });
    if (event->type() == QEvent::FocusOut) {
        // Another application or an open menu takes the focus only for a
        // while; the field is left only for another control of the window.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            emit OctetExit(index);
    }
    return false;
}
