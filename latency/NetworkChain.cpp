#include "latency/NetworkChain.h"

#include <algorithm>
#include <array>

namespace {

// Cell origins in panel pixels, and the last coordinate of each cell's
// catchment on that axis (the last cell takes everything beyond).
constexpr std::array<int, NetworkGridSize> ColumnLefts = {8, 75, 143, 210};
constexpr std::array<int, NetworkGridSize> RowTops = {8, 72, 136, 200};
constexpr std::array<quint32, NetworkGridSize - 1> ColumnEnds = {66, 133, 200};
constexpr std::array<quint32, NetworkGridSize - 1> RowEnds = {64, 129, 194};

template <typename Ends>
int CellIndexOf(int coordinate, const Ends &ends)
{
    const auto c = static_cast<quint32>(coordinate);
    return int(std::lower_bound(ends.begin(), ends.end(), c) - ends.begin());
}

template <typename Element, typename Owned>
QList<Element *> ElementList(const Owned &owned)
{
    QList<Element *> elements;
    elements.reserve(qsizetype(owned.size()));
    for (const auto &element : owned)
        elements << element.get();
    return elements;
}

bool IsOnGrid(TNetworkCell cell)
{
    return cell.Column >= 0 && cell.Column < NetworkGridSize && cell.Row >= 0 && cell.Row < NetworkGridSize;
}

} // namespace

QPoint CellOrigin(TNetworkCell cell)
{
    return {ColumnLefts.at(std::size_t(qBound(0, cell.Column, NetworkGridSize - 1))),
            RowTops.at(std::size_t(qBound(0, cell.Row, NetworkGridSize - 1)))};
}

int SnapToGrid(int coordinate, Qt::Orientation axis)
{
    return axis == Qt::Horizontal ? ColumnLefts.at(std::size_t(CellIndexOf(coordinate, ColumnEnds)))
                                  : RowTops.at(std::size_t(CellIndexOf(coordinate, RowEnds)));
}

TNetworkCell CellAt(const QPoint &position)
{
    return {CellIndexOf(position.x(), ColumnEnds), CellIndexOf(position.y(), RowEnds)};
}

// An element that tells its chain when what a view shows of it changes.
class TNetworkChain::TChainElement final : public TNetworkElement
{
public:
    TChainElement(TNetworkChain &chain, TNetworkCell cell) : FCell(cell), FChain(chain) {}

    void SetNetworkButtonKind(TNetworkButtonKind kind) override
    {
        if (kind == NetworkButtonKind())
            return;
        TNetworkElement::SetNetworkButtonKind(kind);
        emit FChain.ElementChanged(this);
    }

    TNetworkCell FCell;

protected:
    void DisplayNameChanged() override { emit FChain.ElementChanged(this); }

private:
    TNetworkChain &FChain;
};

TNetworkChain::TNetworkChain(QObject *parent)
    : QObject(parent)
{
    FElements.reserve(MaxElements);
    AddNode(TNetworkButtonKind::nbDesktopCPU, QStringLiteral("Node A"), {0, 0});
    FSelected = AddNode(TNetworkButtonKind::nbTowerCPU, QStringLiteral("Node B"),
                        {NetworkGridSize - 1, NetworkGridSize - 1});
}

TNetworkChain::~TNetworkChain() = default;

TNetworkChain::TChainElement *TNetworkChain::AddNode(TNetworkButtonKind kind, const QString &name,
                                                     TNetworkCell cell)
{
    auto node = std::make_unique<TChainElement>(*this, cell);
    node->SetNetworkButtonKind(kind);
    node->NetworkName = name;
    node->RebuildDisplayName();
    FElements.push_back(std::move(node));
    return FElements.back().get();
}

const TNetworkElement *TNetworkChain::Element(int index) const
{
    return index >= 0 && index < Count() ? FElements[std::size_t(index)].get() : nullptr;
}

TNetworkElement *TNetworkChain::Element(int index)
{
    return index >= 0 && index < Count() ? FElements[std::size_t(index)].get() : nullptr;
}

int TNetworkChain::IndexOf(const TNetworkElement *element) const
{
    const auto found = std::find_if(FElements.begin(), FElements.end(),
                                    [element](const auto &owned) { return owned.get() == element; });
    return found == FElements.end() ? -1 : int(found - FElements.begin());
}

TNetworkChain::TChainElement *TNetworkChain::Own(const TNetworkElement *element) const
{
    const int index = IndexOf(element);
    return index < 0 ? nullptr : FElements[std::size_t(index)].get();
}

QList<const TNetworkElement *> TNetworkChain::Elements() const
{
    return ElementList<const TNetworkElement>(FElements);
}

QList<TNetworkElement *> TNetworkChain::Elements()
{
    return ElementList<TNetworkElement>(FElements);
}

bool TNetworkChain::IsNetwork(const TNetworkElement *element) const
{
    const int index = IndexOf(element);
    return index >= 1 && index <= Count() - 2;
}

TNetworkCell TNetworkChain::Cell(const TNetworkElement *element) const
{
    const TChainElement *own = Own(element);
    return own ? own->FCell : TNetworkCell{};
}

TNetworkCell TNetworkChain::FirstFreeCell() const
{
    for (int row = 0; row < NetworkGridSize; ++row) {
        for (int column = 0; column < NetworkGridSize; ++column) {
            const TNetworkCell cell{column, row};
            if (std::none_of(FElements.begin(), FElements.end(),
                             [cell](const auto &element) { return element->FCell == cell; }))
                return cell;
        }
    }
    return {};
}

void TNetworkChain::Select(TNetworkElement *element)
{
    if (IndexOf(element) < 0)
        return;
    FSelected = element;
    emit ElementSelected(element);
}

bool TNetworkChain::CanMoveLeft() const
{
    const int i = IndexOf(FSelected);
    return i >= 2 && i <= Count() - 2;
}

bool TNetworkChain::CanMoveRight() const
{
    const int i = IndexOf(FSelected);
    return i >= 1 && i <= Count() - 3;
}

bool TNetworkChain::CanRemove(const TNetworkElement *element) const
{
    return NetworkCount() >= 2 && IsNetwork(element);
}

TNetworkElement *TNetworkChain::Insert()
{
    if (!CanInsert())
        return nullptr;
    const int selected = IndexOf(FSelected);
    const int index = selected < 1 ? (FSelected == NodeA() ? 1 : Count() - 1) : selected;
    auto owned = std::make_unique<TChainElement>(*this, FirstFreeCell());
    TChainElement *element = owned.get();
    FElements.insert(FElements.begin() + index, std::move(owned));
    emit ElementInserted(index, element);
    Select(element);
    emit CommandsChanged();
    SetLatencyDirty();
    return element;
}

bool TNetworkChain::Remove(TNetworkElement *element)
{
    const int index = IndexOf(element);
    const bool removed = NetworkCount() >= 2 && index >= 1 && index <= Count() - 2;
    std::unique_ptr<TChainElement> leaving;
    if (removed) {
        leaving = std::move(FElements[std::size_t(index)]);
        FElements.erase(FElements.begin() + index);
        emit ElementRemoved(index, element);
        Select(Element(index));
        emit CommandsChanged();
    }
    SetLatencyDirty();
    return removed;
}

void TNetworkChain::Reset()
{
    while (NetworkCount() > 1)
        Remove(Element(1));
    Select(NodeB());
    Insert();
    Remove(Element(1));
    SetLatencyDirty();
}

bool TNetworkChain::MoveLeft()
{
    return Move(-1);
}

bool TNetworkChain::MoveRight()
{
    return Move(+1);
}

bool TNetworkChain::Move(int step)
{
    const int i = IndexOf(FSelected);
    const int j = i + step;
    if (!IsNetwork(FSelected) || !IsNetwork(Element(j)))
        return false;
    std::swap(FElements[std::size_t(i)]->FCell, FElements[std::size_t(j)]->FCell);
    std::swap(FElements[std::size_t(i)], FElements[std::size_t(j)]);
    emit ElementsSwapped(qMin(i, j), qMax(i, j));
    Select(FSelected);
    return true;
}

bool TNetworkChain::MoveToCell(TNetworkElement *element, TNetworkCell cell)
{
    if (!IsNetwork(element) || !IsOnGrid(cell))
        return false;
    TChainElement *own = Own(element);
    if (own->FCell != cell) {
        own->FCell = cell;
        emit CellChanged(element);
    }
    return true;
}

bool TNetworkChain::AcceptsDropOn(const TNetworkElement *target, const TNetworkElement *dragged) const
{
    return dragged && IsNetwork(target);
}

void TNetworkChain::SetLatencyDirty()
{
    FLatencyDirty = true;
    emit LatencyDirtied();
}
