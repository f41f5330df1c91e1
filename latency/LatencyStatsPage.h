#pragma once

// The "Latency Statistics" page: a packet direction chooser, a copy button
// and the table of every chain element's delay and share for the chosen
// direction, with a totals row. The area recomputes and asks the page to
// refill; the page reads the chain and the totals (read-only) and only
// shows and copies.

#include <QWidget>

#include "latency/LatencyStats.h"

class QButtonGroup;
class QGroupBox;
class QRadioButton;
class QToolButton;
class TNetworkChain;
class TSuperStringGrid;

class TLatencyStatsPage final : public QWidget
{
    Q_OBJECT
public:
    // Fills its parent, the 268 x 285 tab sheet. Shows `chain` and
    // `totals`, which outlive the page.
    explicit TLatencyStatsPage(const TNetworkChain &chain, const TLatencyTotals &totals,
                               QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TLatencyStatsPage)

    // The checked item of PacketDirRadioGroup.
    TPacketDirection PacketDirection() const;
    void SetPacketDirection(TPacketDirection direction);

    // Header texts and column alignments, once at start.
    void PrepareGrid();
    // The table for the chosen direction from the stored results: one row
    // per element in chain order, then the totals; columns fitted to the texts.
    void FillGrid();

    void CopyLatencyStatsButtonClick();

    QGroupBox *PacketDirRadioGroup = nullptr;
    QToolButton *CopyLatencyStatsButton = nullptr;
    TSuperStringGrid *LatencyStatsStringGrid = nullptr;

signals:
    // A click on a direction item; the area refills the table.
    void PacketDirRadioGroupClick();

private:
    const TNetworkChain &FChain;
    const TLatencyTotals &FTotals;
    QButtonGroup *FPacketDirButtons = nullptr;
};
