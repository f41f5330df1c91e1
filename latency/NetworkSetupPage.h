#pragma once

// The "Network Setup" page: a view of the chain (TNetworkChain) Node A -
// networks - Node B as picture buttons on a canvas panel, joined by lines
// in chain order, with commands to insert, remove, move, reset and drag
// networks and to copy the layout as a picture.
//
// Each handler makes one call to the chain; the page follows the chain's
// signals (buttons created, destroyed and moved, the "&Remove Network"
// submenu, the commands' enabled state, the lines) and those refreshes
// call no handler. The order and the cells live in the chain only; a
// button is a view of its element.
//
// For assistive technology the panel is the picture "Network layout", whose
// description is the chain in order, by display names.

#include <QHash>
#include <QWidget>

class QAbstractButton;
class QAction;
class QDragMoveEvent;
class QMenu;
class QPainter;
class QPushButton;
class QToolButton;
class TCanvasPanel;
class TNetworkButton;
class TNetworkChain;
class TNetworkElement;
class TVorlCustomPanel;

class TNetworkSetupPage final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int DragThreshold = 5; // pixels

    // Shows `chain`, which outlives the page.
    explicit TNetworkSetupPage(TNetworkChain &chain, QWidget *parent = nullptr);
    ~TNetworkSetupPage() override;
    Q_DISABLE_COPY_MOVE(TNetworkSetupPage)

    // The button that shows an element of the chain; none for anything else.
    TNetworkButton *NetworkButton(const TNetworkElement *element) const;
    // The chain lines: window-text pen, 2 pixels, centre to centre in chain order.
    void PaintNetworkLinks(QPainter &canvas);

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
    // Drag over the panel's surface at `pos` (panel coordinates), or over an
    // element; true when the drop is accepted.
    bool NetworkSetupPanelDragOver(QObject *source, const QPoint &pos);
    bool NetworkButtonDragOver(TNetworkButton *sender, QObject *source);
    void NetworkButtonEndDrag(TNetworkButton *sender);
    void NetworkSetupPanelPaint(TVorlCustomPanel *sender, QPainter *canvas);
    void CopyNetworkSetupButtonClick();

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
    QMenu *RemoveNetwork1 = nullptr; // submenu: item k stands for the chain's element k + 1

signals:
    void CopyTargetChanged(QAbstractButton *button);
    void CopyEnabledChanged(bool enabled);
    // "Properties..." of an element.
    void PropertiesRequested(TNetworkElement *element);

private:
    // The refreshes that follow the chain.
    void ElementInserted(int index, TNetworkElement *element);
    void ElementRemoved(int index, TNetworkElement *element);
    void ElementsSwapped(int left, int right);
    void CellChanged(TNetworkElement *element);
    void ElementSelected(TNetworkElement *element);
    void ElementChanged(TNetworkElement *element);
    void UpdateCommands();
    void UpdateRemoveCommand(TNetworkElement *element);
    void UpdateLayoutDescription();

    TNetworkButton *AddButton(TNetworkElement *element, const QString &name);
    void PlaceButton(TNetworkButton *button);
    void PanelDragOver(QDragMoveEvent *event);

    TNetworkChain &FChain;
    QHash<const TNetworkElement *, TNetworkButton *> FButtons;
};
