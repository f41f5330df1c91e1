#pragma once

// The latency calculator: a chain Node A - networks - Node B, edited on the
// "Network Setup" page, with each element's delay and share shown as a table
// ("Latency Statistics") and as three coloured bars ("Latency Graphs").
//
// The area owns the chain model (FChain: order, cells, selection, every
// element's values and results, the "results out of date" mark), the
// totals of the last computation and the single properties dialog. The
// setup page is a view of the chain and turns user events into chain
// calls; the results pages read the chain and the totals only. The dialog
// follows the chain's selection while it is open and lets go of an element
// that leaves the chain.

#include "controls/CalcArea.h"
#include "latency/LatencyStats.h"
#include "latency/NetworkChain.h"

class TLatencyGraphsPage;
class TLatencyStatsPage;
class TNetworkButtonForm;
class TNetworkSetupPage;
class TPageControl;

class TLatencyArea final : public TCalcArea
{
    Q_OBJECT
public:
    explicit TLatencyArea(QWidget *parent = nullptr);
    ~TLatencyArea() override;

    TPageControl *PageControl() const override { return LatencyCalcPageControl; }
    void PageLeaving(QWidget *page) override;
    void PageEntered(QWidget *page) override;
    // The chain from the settings store, or the first-start defaults (Node A
    // 64 bytes, Node B 1024 bytes, one unconfigured network); called once
    // by the main window right after creation.
    void LoadSettings() override;
    void SaveSettings() override;

    TNetworkChain &Chain() { return FChain; }
    const TNetworkChain &Chain() const { return FChain; }

    // Start-up of the calculator (the constructor): Network Setup active,
    // the single properties dialog wired to the chain and the setup page.
    void InitLatencyCalculator();

    // The settings subkey of the chain. LoadLatencySettings is true when the
    // subkey existed; SyncPropertiesDialog offers stored custom topology
    // names again.
    bool LoadLatencySettings();
    void SyncPropertiesDialog();
    void SaveLatencySettings();

    // The properties dialog's OK or Apply: the results are out of date.
    void NetworkButtonFormApply();

    // The results pages. ComputeLatency recomputes every delay and share
    // when the chain is marked out of date, and clears the mark only when
    // it succeeds; entering a page refills it from the stored results.
    void ComputeLatency();
    void LatencyStatsTabSheetEnter();
    // Leaving the statistics or the graphs page.
    void LatencyStatsTabSheetExit();
    void LatencyGraphsTabSheetEnter();

    TPageControl *LatencyCalcPageControl = nullptr;
    TNetworkSetupPage *NetworkSetupTabSheet = nullptr;
    QWidget *LatencyStatsTabSheet = nullptr;
    QWidget *LatencyGraphsTabSheet = nullptr;
    TNetworkButtonForm *NetworkButtonForm = nullptr;
    TLatencyStatsPage *LatencyStatsPage = nullptr;     // on LatencyStatsTabSheet
    TLatencyGraphsPage *LatencyGraphsPage = nullptr;   // on LatencyGraphsTabSheet

private:
    TNetworkChain FChain;
    TLatencyTotals FTotals; // seconds, of the last computation
};
