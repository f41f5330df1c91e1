#include "app/FormPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>

#include "app/SettingsStore.h"
#include "app/VorlGlobal.h"

namespace {
const char *const PendingFrameSize = "tarveloPendingFrameSize";
}

void ApplyPendingPlacement(QWidget *form)
{
    const QVariant pending = form->property(PendingFrameSize);
    if (!pending.isValid())
        return;
    form->setProperty(PendingFrameSize, QVariant());
    const QSize extra = form->frameGeometry().size() - form->geometry().size();
    if (!form->isMaximized() && !form->isMinimized())
        form->resize((pending.toSize() - extra).expandedTo(form->minimumSize()));
}

QSize PrimaryScreenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

bool ReadFormPlacement(QWidget *form, const QString &keyPath, const QString &valueName)
{
    TRegKey key;
    if (!key.OpenKey(keyPath, false) || !key.ValueExists(valueName))
        return false;
    const auto record = TPlacementRecord::Decode(key.ReadBinaryData(valueName, TPlacementRecord::Size));
    if (!record)
        return false;

    const auto state = static_cast<TPlacementState>(record->WindowState);
    if (state == TPlacementState::psMaximized) {
        form->setWindowState(Qt::WindowMaximized);
        return true;
    }
    // Reversed bounds would place the window off the screen: the window
    // keeps the place and size it has.
    if (!record->HasProperBounds())
        return false;
    // The record holds the outer frame; Qt places the frame with move() and
    // sizes the client area, so the frame's extra size is taken off. Before
    // the window is shown its frame is unknown: the size is then finished by
    // ApplyPendingPlacement().
    const QRect bounds = record->ClampedTo(PrimaryScreenSize());
    form->move(bounds.topLeft());
    if (form->isVisible()) {
        const QSize extra = form->frameGeometry().size() - form->geometry().size();
        form->resize((bounds.size() - extra).expandedTo(form->minimumSize()));
    } else {
        form->resize(bounds.size().expandedTo(form->minimumSize()));
        form->setProperty(PendingFrameSize, bounds.size());
    }
    form->setWindowState(state == TPlacementState::psMinimized ? Qt::WindowMinimized : Qt::WindowNoState);
    return true;
}

void WriteFormPlacement(QWidget *form, const QString &keyPath, const QString &valueName)
{
    TRegKey key;
    if (!key.OpenKey(keyPath, true))
        return;
    TPlacementRecord record;
    // The normal bounds, also while minimised; a maximised window keeps the
    // bounds it will return to.
    const QRect frame = form->isMaximized() || form->isMinimized()
                            ? QRect(form->normalGeometry().topLeft() - (form->geometry().topLeft() - form->frameGeometry().topLeft()),
                                    form->normalGeometry().size() + (form->frameGeometry().size() - form->geometry().size()))
                            : form->frameGeometry();
    record.Left = frame.left();
    record.Top = frame.top();
    record.Right = frame.left() + frame.width();
    record.Bottom = frame.top() + frame.height();
    record.WindowState = static_cast<quint8>(form->isMinimized()   ? TPlacementState::psMinimized
                                             : form->isMaximized() ? TPlacementState::psMaximized
                                                                   : TPlacementState::psNormal);
    key.WriteBinaryData(valueName, record.Encode());
    key.CloseKey();
}
