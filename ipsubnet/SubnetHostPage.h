#pragma once

// The Subnets/Hosts page of the IP subnet calculator: a table of every
// usable subnet of the current network with its host range, and the copy
// button beside the bits field that puts the selected rows on the clipboard.
//
// The table is rebuilt lazily: only when the page is refreshed while the
// area's dirty mark is set (every change of class, bits, RFC 1878 allowance
// or address sets it). A rebuild runs under the hourglass cursor and lists
// at most MaxSubnetHostRows subnets.

#include <QObject>

class QToolButton;
class TIPSubnetArea;
class TSuperStringGrid;

class TSubnetHostPage final : public QObject
{
    Q_OBJECT
public:
    // Builds the page's controls on the area's SubnetHostTab, the copy
    // button on the area itself, and plugs the page's refresh into the area.
    explicit TSubnetHostPage(TIPSubnetArea *area);
    Q_DISABLE_COPY_MOVE(TSubnetHostPage)

    void CopySubnetHostButtonClick();
    // The Subnets/Hosts step of the area's UpdateSubnetDisplay.
    void UpdateSubnetHostDisplay();

    TSuperStringGrid *SubnetHostStringGrid = nullptr;
    QToolButton *CopySubnetHostButton = nullptr;

private:
    TIPSubnetArea *FArea;
};
