#pragma once

// The Prefix page: what the entered prefix is, one result a line (network,
// ranges, masks, counts, address type, reverse zone, bit map), in a
// caption/value grid that scrolls where a value outgrows the page.

#include <QWidget>

class TPrefixInfo;
class TSuperStringGrid;

class TPrefixInfoPage final : public QWidget
{
    Q_OBJECT
public:
    explicit TPrefixInfoPage(const TPrefixInfo &info, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TPrefixInfoPage)

    // Shows the rows of the prefix last read.
    void UpdateDisplay();

    TSuperStringGrid *PrefixStringGrid = nullptr;

private:
    const TPrefixInfo &FInfo;
};
