#pragma once

// A chain element as the user sees it: a square picture button on the
// network setup panel, its display name as tooltip, and its own pop-up menu
// ("Properties...", a separator, "Remove"). It is a view of one element of
// the chain (TNetworkElement): the element holds every value, the button
// shows it (Refresh) and turns the mouse into requests (selection, drag,
// "Remove", "Properties...") that the setup page takes to the chain.

#include <optional>

#include <QMimeData>
#include <QPointer>
#include <QPushButton>

#include "latency/NetworkKinds.h"

class QAction;
class QDragMoveEvent;
class QDropEvent;
class QMenu;

class TNetworkButton final : public QPushButton
{
    Q_OBJECT
public:
    static constexpr int ButtonSize = 50;  // pixels, square
    static constexpr int PictureSize = 40;

    // A view of `element`, shown as it is; every menu item visible.
    explicit TNetworkButton(TNetworkElement *element, QWidget *parent = nullptr);
    ~TNetworkButton() override;
    Q_DISABLE_COPY_MOVE(TNetworkButton)

    // The element shown; null once it has left the chain.
    TNetworkElement *Element() const { return FElement; }
    // The element has left the chain and is about to go: the button shows
    // what it showed last and asks nothing more for it.
    void Detach() { FElement = nullptr; }

    // The element's kind as picture (loaded only when the kind changed),
    // its display name as tooltip and accessible name.
    void Refresh();

    // The separator and "Remove" of the element menu; the setup page shows
    // them where the chain would remove the element.
    void ShowRemoveCommand();
    void HideRemoveCommand();
    bool RemoveCommandVisible() const;

    // Asks for the element to be taken out (OnRemove); "Remove" does it.
    void DoRemove();

    // Arms a drag of this element that begins once the pointer, with the
    // left button held, has moved `threshold` pixels from the press.
    void BeginDrag(int threshold);

    QMenu *ElementMenu() const { return FElementMenu; }
    QAction *PropertiesItem() const { return FPropertiesItem; }
    QAction *SeparatorItem() const { return FSeparatorItem; }
    QAction *RemoveItem() const { return FRemoveItem; }

signals:
    void OnRemove(TNetworkButton *sender);
    // "Properties...": the dialog is to edit this element.
    void PropertiesRequested(TNetworkButton *sender);
    // Any mouse button pressed on the element (pos in its own coordinates).
    void MouseDown(TNetworkButton *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                   const QPoint &pos);
    // Drag of this element: before the drag runs, then once it has ended
    // (dropped or cancelled).
    void StartDrag(TNetworkButton *sender);
    void EndDrag(TNetworkButton *sender);
    // A drag moves over this element, or ends over it; the handler accepts
    // the event or not (the button has ignored it).
    void DragOver(TNetworkButton *sender, QDragMoveEvent *event);
    void DragDrop(TNetworkButton *sender, QDropEvent *event);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void LoadPicture(TNetworkButtonKind kind);
    void RunDrag();

    TNetworkElement *FElement;
    std::optional<TNetworkButtonKind> FPictureKind; // the kind whose picture is shown
    QMenu *FElementMenu = nullptr;
    QAction *FPropertiesItem = nullptr;
    QAction *FRemoveItem = nullptr;
    QAction *FSeparatorItem = nullptr;
    int FDragThreshold = -1; // pixels; -1 while no drag is armed
    QPoint FDragStart;
};

// The payload of an element's drag: the dragged element's button.
class TNetworkButtonMimeData final : public QMimeData
{
    Q_OBJECT
public:
    static constexpr const char *MimeType = "application/x-tarvelo-network-button";

    explicit TNetworkButtonMimeData(TNetworkButton *button);
    TNetworkButton *Button() const { return FButton; }

private:
    QPointer<TNetworkButton> FButton;
};

// The element's button a drag carries; none for any other drag.
TNetworkButton *DraggedNetworkButton(const QMimeData *data);
