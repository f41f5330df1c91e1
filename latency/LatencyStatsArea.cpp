// The latency area's results handlers: the lazy computation and the
// statistics and graphs pages' enter and exit handlers.

#include "latency/LatencyArea.h"

#include <QToolButton>

#include "latency/LatencyGraphsPage.h"
#include "latency/LatencyStatsPage.h"

void TLatencyArea::ComputeLatency()
{
    if (!FChain.LatencyDirty())
        return;
    // A failure (packet sizes beyond 2147483647 together, Ethernet at
    // 0 Mbps) leaves the mark set: the next entry tries again.
    FTotals = ComputeLatencyResults(FChain.Elements());
    FChain.ClearLatencyDirty();
}

void TLatencyArea::LatencyStatsTabSheetEnter()
{
    // The target first: should the computation fail, Copy still copies
    // this page's (previous) table, not another page's.
    emit CopyTargetChanged(LatencyStatsPage->CopyLatencyStatsButton);
    ComputeLatency();
    LatencyStatsPage->FillGrid();
}

void TLatencyArea::LatencyStatsTabSheetExit()
{
    emit CopyEnabledChanged(false);
}

void TLatencyArea::LatencyGraphsTabSheetEnter()
{
    emit CopyTargetChanged(LatencyGraphsPage->CopyLatencyGraphsButton);
    ComputeLatency();
    LatencyGraphsPage->ShowResults();
}
