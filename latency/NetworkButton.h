#pragma once

// A chain element as the user sees it: a square picture button on the
// network setup panel, its display name as tooltip, and its own pop-up menu
// ("Properties...", a separator, "Remove"). The parameters and the delay
// formula are the TNetworkElement part.

#include <QMimeData>
#include <QPointer>
#include <QPushButton>

#include "latency/NetworkKinds.h"

class QAction;
class QDragMoveEvent;
class QMenu;

class TNetworkButton : public QPushButton, public TNetworkElement
{
    Q_OBJECT
public:
    static constexpr int ButtonSize = 50;  // pixels, square
    static constexpr int PictureSize = 40;

    // A new network: nbUnknownNetwork, "<Unknown Topology>", every menu item shown.
    explicit TNetworkButton(QWidget *parent = nullptr);
    ~TNetworkButton() override;
    Q_DISABLE_COPY_MOVE(TNetworkButton)

    // Stores the kind, loads its picture, and shows "Remove" for a network
    // kind, hides it for a node. No effect when the kind is unchanged.
    void SetNetworkButtonKind(TNetworkButtonKind kind) override;

    // The separator and "Remove" of the element menu.
    void ShowRemoveCommand();
    void HideRemoveCommand();
    bool RemoveCommandVisible() const;

    // Asks the layout to take the element out (OnRemove).
    void DoRemove();

    // Whether the layout currently holds the element; "Remove" destroys an
    // element only once the layout has let it go.
    bool InLayout() const { return FInLayout; }
    void SetInLayout(bool value) { FInLayout = value; }

    // Arms a drag of this element that begins once the pointer, with the
    // left button held, has moved `threshold` pixels from the press.
    void BeginDrag(int threshold);

    QMenu *ElementMenu() const { return FElementMenu; }
    QAction *PropertiesItem() const { return FPropertiesItem; }
    QAction *SeparatorItem() const { return FSeparatorItem; }
    QAction *RemoveItem() const { return FRemoveItem; }

signals:
    void OnRemove(TNetworkButton *sender);
    // Any mouse button pressed on the element (pos in its own coordinates).
    void MouseDown(TNetworkButton *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                   const QPoint &pos);
    // Drag of this element: before the drag runs, then once it has ended
    // (dropped or cancelled).
    void StartDrag(TNetworkButton *sender);
    void EndDrag(TNetworkButton *sender);
    // A drag moves over this element; the handler accepts the event or not.
    void DragOver(TNetworkButton *sender, QDragMoveEvent *event);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void DisplayNameChanged() override;

private:
    void LoadPicture();
    void PropertiesItemClick();
    void RemoveItemClick();
    void RunDrag();

    QMenu *FElementMenu = nullptr;
    QAction *FPropertiesItem = nullptr;
    QAction *FRemoveItem = nullptr;
    QAction *FSeparatorItem = nullptr;
    bool FInLayout = false;
    int FDragThreshold = -1; // pixels; -1 while no drag is armed
    QPoint FDragStart;
};

// The payload of an element's drag: the dragged element itself.
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

// The element a drag carries; none for any other drag.
TNetworkButton *DraggedNetworkButton(const QMimeData *data);
