#pragma once

// The Subnets/Hosts page of the IP subnet calculator: a table of every
// usable subnet of the subnet model's network with its host range.
//
// The table is rebuilt lazily: only when the page is refreshed while it is
// marked dirty. The area marks it on every change of class, bits, RFC 1878
// allowance or address; a click on the class already selected is no change.
// A rebuild runs under the hourglass cursor and lists at most
// MaxSubnetHostRows subnets.

#include <QWidget>

class TIPAddSubnet;
class TSuperStringGrid;

class TSubnetHostPage final : public QWidget
{
    Q_OBJECT
public:
    // `subnet` is the model the table lists; it outlives the page.
    explicit TSubnetHostPage(const TIPAddSubnet &subnet, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TSubnetHostPage)

    bool TableDirty() const { return FTableDirty; }
    // The subnet has changed: the table is rebuilt at the next refresh.
    void MarkTableDirty() { FTableDirty = true; }

    // The page's step of the area's refresh: the window is drawn at once,
    // then a table marked dirty is rebuilt.
    void UpdateSubnetHostDisplay();
    // The selected rows, under the header row, as the grid copies them.
    void CopyToClipboard();

    TSuperStringGrid *SubnetHostStringGrid = nullptr;

private:
    const TIPAddSubnet &FSubnet;
    // A new page has listed nothing yet.
    bool FTableDirty = true;
};
