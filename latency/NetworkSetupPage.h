#pragma once

// The "Network Setup" page: the chain Node A - networks - Node B as picture
// buttons on a canvas panel, joined by lines in chain order, with commands
// to insert, remove, move, reset and drag networks and to copy the layout
// as a picture.
//
// The chain order lives only in FNetworkList (Node A first, Node B last,
// 1 ... 14 networks between); positions live only in the buttons. Elements
// sit on a 4 x 4 grid of cell origins (left 8, 75, 143, 210; top 8, 72,
// 136, 200). Every command that changes the set of networks, and every OK or
// Apply of the properties dialog, marks the results out of date
// (FLatencyDirty, LatencyDirtied); moves and drags do not.
//
// For assistive technology the panel is the picture "Network layout", whose
// description is the chain in order, by display names.

#include <QList>
#include <QWidget>

#include "latency/NetworkKinds.h"

class QAbstractButton;
class QAction;
class QDragMoveEvent;
class QMenu;
class QPainter;
class QPushButton;
class QToolButton;
class TCanvasPanel;
class TNetworkButton;
class TNetworkButtonForm;
class TNetworkElement;
class TVorlCustomPanel;

class TNetworkSetupPage final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MaxElements = 16; // Node A, 14 networks, Node B
    static constexpr int DragThreshold = 5; // pixels

    // Builds the page with Node A and Node B only; Node B is selected.
    // InitLatencyCalculator (the area) completes the chain.
    explicit TNetworkSetupPage(QWidget *parent = nullptr);
    ~TNetworkSetupPage() override;
    Q_DISABLE_COPY_MOVE(TNetworkSetupPage)

    // The cell origin for a coordinate, compared unsigned (a negative
    // coordinate counts as very large).
    static int SnapToGrid(int coordinate, Qt::Orientation axis);

    // Puts the element on the first cell (row by row, left to right) that no
    // element of the chain occupies; keeps its position when none is free.
    void PlaceNetworkButton(TNetworkButton *element);
    // Makes the element the selected one: focus, "<<" and ">>", and an open
    // properties dialog follows.
    void SelectNetworkButton(TNetworkButton *element);
    // The chain lines: window-text pen, 2 pixels, centre to centre in list order.
    void PaintNetworkLinks(QPainter &canvas);
    // Shows or hides "Remove" (element menus and "&Remove Network") and
    // enables "&Insert Network" by the current number of networks.
    void UpdateRemoveCommands();
    // The chain as the latency computation takes it.
    QList<TNetworkElement *> Chain() const;

    // Also brings the layout's description up to date: every change of the
    // chain or of an element's display name ends here (a move ends in
    // MoveNetworkButtonClick).
    void SetLatencyDirty();

    // Handlers.
    void NetworkSetupTabSheetEnter();
    void NetworkSetupTabSheetExit();
    void NewNetworkButtonClick();
    void NetworkButtonRemove(TNetworkButton *sender);
    void RemoveNetwork1Click();
    void RemoveSubmenuClick(QAction *item);
    void ResetNetworkButtonClick();
    void MoveNetworkButtonClick(QObject *sender);
    void NetworkButtonMouseDown(TNetworkButton *sender, Qt::MouseButton button);
    void NetworkButtonStartDrag(TNetworkButton *sender);
    // Drag over the panel's surface at `pos` (panel coordinates), or over a
    // network; true when the drop is accepted.
    bool NetworkSetupPanelDragOver(QObject *source, const QPoint &pos);
    bool NetworkButtonDragOver(TNetworkButton *sender, QObject *source);
    void NetworkButtonEndDrag(TNetworkButton *sender);
    void NetworkSetupPanelPaint(TVorlCustomPanel *sender, QPainter *canvas);
    void CopyNetworkSetupButtonClick();
    void NetworkButtonFormApply();

    TCanvasPanel *NetworkSetupPanel = nullptr;
    TNetworkButton *DesktopNetworkButton = nullptr; // Node A
    TNetworkButton *TowerNetworkButton = nullptr;   // Node B
    QPushButton *MoveNetworkLeftButton = nullptr;
    QPushButton *NewNetworkButton = nullptr;
    QToolButton *CopyNetworkSetupButton = nullptr;
    QPushButton *ResetNetworkButton = nullptr;
    QPushButton *MoveNetworkRightButton = nullptr;
    QMenu *NetworkSetupPopupMenu = nullptr;
    QAction *NewNetwork1 = nullptr;
    QMenu *RemoveNetwork1 = nullptr; // submenu: item k stands for FNetworkList[k + 1]

    QList<TNetworkButton *> FNetworkList;
    TNetworkButton *FSelectedButton = nullptr;
    bool FLatencyDirty = true;

signals:
    void CopyTargetChanged(QAbstractButton *button);
    void CopyEnabledChanged(bool enabled);
    // FLatencyDirty was set.
    void LatencyDirtied();

private:
    TNetworkButton *CreateNode(const char *name, TNetworkButtonKind kind, const QString &caption,
                               const QPoint &position);
    void SetInsertEnabled(bool enabled);
    void UpdateLayoutDescription();
    void PanelDragOver(QDragMoveEvent *event);
};
