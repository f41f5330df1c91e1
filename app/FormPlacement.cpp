#include "app/FormPlacement.h"

#include <optional>
#include <utility>

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScopedValueRollback>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "app/SettingsStore.h"
#include "app/VorlGlobal.h"
#include "controls/Guarded.h"

namespace {

// Follows a top-level window's frame. The record holds the outer rectangle
// of the normal (neither minimised nor maximised) window, but Qt sizes the
// client area, and the frame's margins are known only once the window
// manager has framed the window; a maximised frame may have other margins
// (or none). So this remembers the margins seen in the normal state, and a
// restored outer rectangle waits here until the margins are known.
class TFramePlacement final : public QObject
{
public:
    static TFramePlacement *Of(QWidget *form);

    // Places the window's frame at `outer` once the frame is known (as far
    // as it is known until then), and then maximises it if asked: a window
    // maximised before it was framed would not know the normal frame it
    // returns to.
    void Restore(const QRect &outer, bool maximise);
    // The outer rectangle the window has, or returns to, in the normal state.
    QRect NormalFrame();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TFramePlacement(QWidget *form);
    Q_DISABLE_COPY_MOVE(TFramePlacement)

    // Neither minimised, maximised nor full screen. A minimised window is
    // left alone until it is shown again: sizing it may show it.
    bool IsNormal() const;
    // The platform's margins of the frame; null until the window is framed.
    QMargins Margins() const;
    // `shown`: the window is on the screen, so it is framed by now if the
    // platform frames windows at all.
    void Follow(bool shown);

    QWidget *FForm;
    QMargins FNormalMargins;
    // The restored outer rectangle while it waits for the frame, and the
    // client rectangle set for it meanwhile.
    std::optional<QRect> FPending;
    QRect FPendingClient;
    bool FMaximiseWhenPlaced = false;
    bool FPlacing = false;
};

TFramePlacement::TFramePlacement(QWidget *form)
    : QObject(form)
    , FForm(form)
{
    setObjectName(QStringLiteral("FramePlacement"));
    form->installEventFilter(this);
}

TFramePlacement *TFramePlacement::Of(QWidget *form)
{
    auto *placement = form->findChild<TFramePlacement *>(QStringLiteral("FramePlacement"), Qt::FindDirectChildrenOnly);
    return placement ? placement : new TFramePlacement(form);
}

bool TFramePlacement::IsNormal() const
{
    return !(FForm->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

QMargins TFramePlacement::Margins() const
{
    const QWindow *window = FForm->windowHandle();
    return window && FForm->isVisible() ? window->frameMargins() : QMargins();
}

void TFramePlacement::Follow(bool shown)
{
    if (FPlacing || !IsNormal())
        return;
    const QMargins margins = Margins();
    if (margins.isNull() && !shown)
        return;
    FNormalMargins = margins;
    if (!FPending)
        return;
    // The window manager put the frame where the window was moved to; the
    // client area is what the outer size leaves inside this frame.
    const QRect outer = *std::exchange(FPending, std::nullopt);
    const QScopedValueRollback placing(FPlacing, true);
    FForm->resize(outer.size().shrunkBy(margins).expandedTo(FForm->minimumSize()));
    if (std::exchange(FMaximiseWhenPlaced, false))
        FForm->setWindowState(FForm->windowState() | Qt::WindowMaximized);
}

bool TFramePlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FForm) {
        Guarded([&] {
            switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowStateChange:
                Follow(false);
                break;
            case QEvent::Paint:
                // A window manager frames a window before it is shown.
                if (FPending)
                    Follow(true);
                break;
            default:
                break;
            }
        });
    }
    return QObject::eventFilter(watched, event);
}

void TFramePlacement::Restore(const QRect &outer, bool maximise)
{
    // Qt places a top-level window's frame with move(); until the frame is
    // known the client area takes the whole outer size.
    FForm->move(outer.topLeft());
    FForm->resize(outer.size().expandedTo(FForm->minimumSize()));
    FPending = outer;
    FPendingClient = FForm->geometry();
    FMaximiseWhenPlaced = maximise;
    Follow(false);
}

QRect TFramePlacement::NormalFrame()
{
    Follow(false);
    // Still waiting for the frame: the stored rectangle is what the window
    // returns to, unless it was placed since (a platform without frames).
    if (FPending && (!IsNormal() || FForm->geometry() == FPendingClient))
        return *FPending;
    return FForm->normalGeometry().marginsAdded(FNormalMargins);
}

} // namespace

void TrackFormPlacement(QWidget *form)
{
    TFramePlacement::Of(form);
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
    const bool maximised = state == TPlacementState::psMaximized;
    // Reversed bounds would place the window off the screen: the window
    // keeps the place and size it has (a maximised one is still maximised).
    if (!record->HasProperBounds()) {
        if (maximised)
            form->setWindowState(Qt::WindowMaximized);
        return maximised;
    }
    // A maximised window gets the bounds as its normal ones, so that it
    // returns to them, and they are stored again, as they were.
    TFramePlacement::Of(form)->Restore(record->ClampedTo(PrimaryScreenSize()), maximised);
    if (!maximised)
        form->setWindowState(state == TPlacementState::psMinimized ? Qt::WindowMinimized : Qt::WindowNoState);
    return true;
}

void WriteFormPlacement(QWidget *form, const QString &keyPath, const QString &valueName)
{
    TRegKey key;
    if (!key.OpenKey(keyPath, true))
        return;
    // The normal bounds, also while minimised or maximised.
    const QRect frame = TFramePlacement::Of(form)->NormalFrame();
    TPlacementRecord record;
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
