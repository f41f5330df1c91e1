#pragma once

// The latency calculator's chain as a model: Node A first, Node B last and
// 1 ... 14 networks between them, in the order a packet from Node A
// crosses them; each element with its parameters and results
// (TNetworkElement) and its cell on the setup panel's 4 x 4 grid; the
// selected element; and the mark that the computed delays are out of date.
//
// The editing commands keep the setup page's rules: a new network goes
// before the selected element (right after Node A when Node A is
// selected) on the first free cell, and is selected; removing a network
// selects the one that followed it; the nodes are never removed, moved or
// dragged, and the last network is never removed. Insert, Remove (refused
// or not) and Reset mark the delays out of date; moves and drags change
// only order or cells and do not.
//
// Views follow the chain through its signals, emitted in the order the
// steps happen; the selection signal comes with every selection, also of
// the element already selected, since a view refreshes its commands there.

#include <memory>
#include <vector>

#include <QList>
#include <QObject>
#include <QPoint>

#include "latency/NetworkKinds.h"

// A cell of the setup panel's grid, column and row 0 ... 3 from the top left.
struct TNetworkCell
{
    int Column = 0;
    int Row = 0;

    friend bool operator==(const TNetworkCell &, const TNetworkCell &) = default;
};

constexpr int NetworkGridSize = 4; // cells per row and per column

// An element's top left corner on the panel, in pixels: columns at 8, 75,
// 143, 210, rows at 8, 72, 136, 200.
QPoint CellOrigin(TNetworkCell cell);
// The cell origin for a coordinate on one axis, compared unsigned (a
// negative coordinate counts as very large): left edges below 67 give 8,
// to 133 give 75, to 200 give 143, beyond give 210; top edges below 65
// give 8, to 129 give 72, to 194 give 136, beyond give 200.
int SnapToGrid(int coordinate, Qt::Orientation axis);
// The cell a panel position falls in, by SnapToGrid on each axis.
TNetworkCell CellAt(const QPoint &position);

class TNetworkChain final : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxElements = NetworkGridSize * NetworkGridSize; // 14 networks
    static constexpr int MaxNetworks = MaxElements - 2;

    // Node A ("Node A", nbDesktopCPU, top left cell) and Node B ("Node B",
    // nbTowerCPU, bottom right cell) only, Node B selected, the delays out
    // of date. The caller completes the chain (Insert, or a stored chain).
    explicit TNetworkChain(QObject *parent = nullptr);
    ~TNetworkChain() override;
    Q_DISABLE_COPY_MOVE(TNetworkChain)

    int Count() const { return int(FElements.size()); } // nodes included
    int NetworkCount() const { return Count() - 2; }
    // Null outside 0 ... Count() - 1. A const chain gives its elements
    // read-only: what a page that only shows results gets.
    const TNetworkElement *Element(int index) const;
    TNetworkElement *Element(int index);
    // -1 for an element that is not in the chain.
    int IndexOf(const TNetworkElement *element) const;
    const TNetworkElement *NodeA() const { return Element(0); }
    TNetworkElement *NodeA() { return Element(0); }
    const TNetworkElement *NodeB() const { return Element(Count() - 1); }
    TNetworkElement *NodeB() { return Element(Count() - 1); }
    // In chain order, as the latency computation takes them.
    QList<const TNetworkElement *> Elements() const;
    QList<TNetworkElement *> Elements();
    // Whether it is one of the chain's networks (not a node).
    bool IsNetwork(const TNetworkElement *element) const;

    TNetworkCell Cell(const TNetworkElement *element) const;
    // The first cell, row by row and left to right, that no element holds.
    // There is always one while an element can be inserted: at most 15
    // elements hold at most 15 of the 16 cells.
    TNetworkCell FirstFreeCell() const;

    const TNetworkElement *Selected() const { return FSelected; }
    TNetworkElement *Selected() { return FSelected; }
    // Makes an element of the chain the selected one; anything else is
    // ignored.
    void Select(TNetworkElement *element);
    // "<<" and ">>" for the selection: a network other than the first, a
    // network other than the last.
    bool CanMoveLeft() const;
    bool CanMoveRight() const;

    // Fewer than 16 elements.
    bool CanInsert() const { return Count() < MaxElements; }
    // "Remove" is offered for networks only, while there are two or more.
    bool CanRemove(const TNetworkElement *element) const;
    // A network may be dragged; the nodes stay where they are.
    bool CanDrag(const TNetworkElement *element) const { return IsNetwork(element); }

    // A new, unconfigured network (nbUnknownNetwork, "<Unknown Topology>")
    // before the selected element, on the first free cell, then selected.
    // Nothing at 16 elements (null then).
    TNetworkElement *Insert();
    // Takes a network out of a chain of two or more networks: true then,
    // and the element that followed it (a network or Node B) is selected.
    // Nodes and a sole network stay. The element is destroyed when this
    // returns. The delays are marked out of date either way.
    bool Remove(TNetworkElement *element);
    // Back to one new network between the nodes, which keep their values:
    // every network but the last is removed from the front, a new one is
    // inserted before Node B, the last old one is removed, and the new one
    // ends up selected.
    void Reset();
    // The selected network changes places with its left or right
    // neighbour, in the chain and on the grid; refused for a node or when
    // the neighbour is a node. The selection is announced again.
    bool MoveLeft();
    bool MoveRight();

    // A network goes to a cell, even one that another element holds (it
    // then covers that one): a drag over the panel's surface, or a stored
    // position. Refused for nodes, for elements not in this chain and for
    // cells off the grid.
    bool MoveToCell(TNetworkElement *element, TNetworkCell cell);
    // Whether a drag of `dragged` may end over `target`: over a network
    // (nothing moves), not over a node.
    bool AcceptsDropOn(const TNetworkElement *target, const TNetworkElement *dragged) const;

    bool LatencyDirty() const { return FLatencyDirty; }
    void SetLatencyDirty();
    // After a successful computation.
    void ClearLatencyDirty() { FLatencyDirty = false; }

signals:
    // The element is in the chain at `index`, on its cell.
    void ElementInserted(int index, TNetworkElement *element);
    // The element has left the chain from `index`; it lives until the
    // command that removed it returns.
    void ElementRemoved(int index, TNetworkElement *element);
    // Two neighbours changed places in the chain and their cells.
    void ElementsSwapped(int left, int right);
    void CellChanged(TNetworkElement *element);
    void ElementSelected(TNetworkElement *element);
    // Its kind or its display name changed.
    void ElementChanged(TNetworkElement *element);
    // The number of networks changed: CanInsert and CanRemove may differ.
    void CommandsChanged();
    // SetLatencyDirty ran.
    void LatencyDirtied();

private:
    class TChainElement;

    TChainElement *AddNode(TNetworkButtonKind kind, const QString &name, TNetworkCell cell);
    TChainElement *Own(const TNetworkElement *element) const;
    bool Move(int step);

    std::vector<std::unique_ptr<TChainElement>> FElements;
    TNetworkElement *FSelected = nullptr;
    bool FLatencyDirty = true;
};
