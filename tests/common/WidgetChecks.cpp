#include "tests/common/WidgetChecks.h"

#include <QAbstractButton>
#include <QAction>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include "controls/VorlPanels.h"

namespace {

// The visible labels that describe the widget (labelled-by).
QStringList CaptionLabels(QAccessibleInterface *iface)
{
    QStringList captions;
    for (const auto &[label, relation] : iface->relations(QAccessible::Label)) {
        Q_UNUSED(relation);
        auto *widget = qobject_cast<QLabel *>(label->object());
        if (widget && widget->isVisible() && !label->text(QAccessible::Name).isEmpty())
            captions << label->text(QAccessible::Name);
    }
    return captions;
}

QList<QWidget *> VisibleWidgets(QWidget *root)
{
    QList<QWidget *> widgets;
    for (QWidget *w : root->findChildren<QWidget *>())
        if (w->isVisible())
            widgets << w;
    return widgets;
}

} // namespace

bool IsPartOfAControl(QWidget *w)
{
    if (qobject_cast<QScrollBar *>(w) || qobject_cast<QTabBar *>(w) || qobject_cast<QHeaderView *>(w))
        return true;
    for (QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<QComboBox *>(p) || qobject_cast<QAbstractSpinBox *>(p) || qobject_cast<QTabBar *>(p)
            || qobject_cast<QHeaderView *>(p))
            return true;
    auto *area = qobject_cast<QAbstractScrollArea *>(w->parentWidget());
    return area && w == area->viewport();
}

bool IsControl(QWidget *w)
{
    return !IsPartOfAControl(w) && (w->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton *>(w));
}

QString AccessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name).trimmed() : QString();
}

QString Describe(QWidget *w)
{
    QStringList path;
    for (QWidget *p = w; p; p = p->parentWidget())
        path.prepend(p->objectName().isEmpty() ? QString::fromLatin1(p->metaObject()->className()) : p->objectName());
    return path.join(u'/');
}

// Our panels show their caption (static text, named by it and described by
// a caption label), a picture (named and described) or hold other displays.
// Anything else that has no children of its own paints something: it must
// say what it is and what it shows; only frame lines may stay silent.
QString DisplayFault(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    if (!iface)
        return QStringLiteral("no accessible interface");
    const QString name = iface->text(QAccessible::Name);
    const QString description = iface->text(QAccessible::Description);
    const QAccessible::Role role = iface->role();
    if (auto *panel = qobject_cast<TVorlCustomPanel *>(w)) {
        if (role == QAccessible::StaticText) {
            if (name.isEmpty() || name != panel->Caption())
                return QStringLiteral("reads \"%1\" but shows \"%2\"").arg(name, panel->Caption());
            return CaptionLabels(iface).isEmpty() ? QStringLiteral("no caption label") : QString();
        }
        if (role == QAccessible::Graphic || role == QAccessible::Chart)
            return name.isEmpty() || description.isEmpty() ? QStringLiteral("a picture without name or description")
                                                           : QString();
        if (role == QAccessible::Pane && iface->childCount() > 0)
            return {};
        return QStringLiteral("a panel with role %1").arg(int(role));
    }
    if (iface->childCount() > 0 || role == QAccessible::Border || role == QAccessible::Separator)
        return {};
    if (role == QAccessible::Client || role == QAccessible::Pane || role == QAccessible::NoRole)
        return QStringLiteral("a filler (role %1)").arg(int(role));
    return name.isEmpty() && description.isEmpty() ? QStringLiteral("no name") : QString();
}

QStringList UnnamedControls(QWidget *root)
{
    QStringList unnamed;
    for (QWidget *w : VisibleWidgets(root))
        if (IsControl(w) && AccessibleName(w).isEmpty())
            unnamed << Describe(w);
    return unnamed;
}

QStringList UnreadableDisplays(QWidget *root, int *panels)
{
    QStringList faults;
    for (QWidget *w : VisibleWidgets(root)) {
        if (IsControl(w) || IsPartOfAControl(w))
            continue;
        if (panels && qobject_cast<TVorlCustomPanel *>(w))
            ++*panels;
        const QString fault = DisplayFault(w);
        if (!fault.isEmpty())
            faults << Describe(w) + QStringLiteral(": ") + fault;
    }
    return faults;
}

QStringList ClippedTexts(QWidget *root)
{
    QStringList clipped;
    const auto check = [&clipped](QWidget *w, const QString &text, int room) {
        const int width = w->fontMetrics().horizontalAdvance(text);
        if (width > room)
            clipped << QStringLiteral("%1: \"%2\" is %3 pixels wide in %4").arg(Describe(w), text).arg(width).arg(room);
    };
    for (QWidget *w : VisibleWidgets(root)) {
        if (w != root && w->parentWidget() && !IsPartOfAControl(w)
            && !w->parentWidget()->rect().contains(w->geometry()) && !qobject_cast<QAbstractItemView *>(w->parentWidget()))
            clipped << QStringLiteral("%1 reaches out of its parent").arg(Describe(w));
        if (auto *label = qobject_cast<QLabel *>(w); label && !label->wordWrap() && !label->text().isEmpty()) {
            QString text = label->text();
            text.remove(u'&');
            check(w, text, label->contentsRect().width());
        } else if (auto *label = qobject_cast<QLabel *>(w); label && label->wordWrap()) {
            if (label->heightForWidth(label->width()) > label->height())
                clipped << QStringLiteral("%1: its lines need more height").arg(Describe(w));
            // Lines break only between words: the widest word must fit.
            const QStringList words = label->text().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
            for (const QString &word : words)
                check(w, word, label->contentsRect().width());
        } else if (auto *panel = qobject_cast<TVorlCustomPanel *>(w)) {
            check(w, panel->Caption(), panel->GetInnerRect().width() - 2 * panel->CaptionPadding());
        } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            QStyleOptionFrame option;
            option.initFrom(edit);
            option.rect = edit->rect();
            option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
            const QRect room = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
            const QMargins margins = edit->textMargins();
            // QLineEdit keeps 2 pixels on each side of the text.
            check(w, edit->text(), room.width() - margins.left() - margins.right() - 4);
        }
    }
    return clipped;
}

QList<QWidget *> FocusableControls(QWidget *root)
{
    QList<QWidget *> controls;
    for (QWidget *w : VisibleWidgets(root))
        if (w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
            controls << w;
    return controls;
}

QStringList ShortcutClaimants(QWidget *root, QKeyCombination key)
{
    QStringList claimants;
    for (QWidget *w : FocusableControls(root)) {
        QKeyEvent override(QEvent::ShortcutOverride, key.key(), key.keyboardModifiers());
        override.ignore();
        QApplication::sendEvent(w, &override);
        if (override.isAccepted())
            claimants << Describe(w);
    }
    return claimants;
}

QStringList ControlsNotReaching(QWidget *root, QAction *action, QKeyCombination key, int *reached)
{
    QStringList missed;
    QSignalSpy triggered(action, &QAction::triggered);
    for (QWidget *w : FocusableControls(root)) {
        w->setFocus(Qt::TabFocusReason);
        const qsizetype before = triggered.count();
        QTest::keyClick(w, key.key(), key.keyboardModifiers());
        if (!w->hasFocus() || triggered.count() != before + 1)
            missed << Describe(w);
        if (reached)
            ++*reached;
    }
    return missed;
}
