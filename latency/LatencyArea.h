#pragma once

// The latency calculator: a chain Node A - networks - Node B, edited on the
// "Network Setup" page, with each element's delay and share shown as a table
// ("Latency Statistics") and as three coloured bars ("Latency Graphs").
//
// The chain, its selection and the "results out of date" mark belong to the
// setup page (NetworkSetupTabSheet->FNetworkList, ->FSelectedButton,
// ->FLatencyDirty; Chain() gives the elements for the computation); the
// area ties the pages to the main window and runs the start-up.

#include "controls/CalcArea.h"
#include "latency/LatencyStats.h"

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

    TPageControl *PageControl() const override { return LatencyCalcPageControl; }
    void PageLeaving(QWidget *page) override;
    void PageEntered(QWidget *page) override;
    // The chain from the settings store, or the first-start defaults (Node A
    // 64 bytes, Node B 1024 bytes, one unconfigured network); called once
    // by the main window right after creation.
    void LoadSettings() override;
    void SaveSettings() override;

    // Start-up of the calculator (the constructor): Network Setup active,
    // Node A and Node B, the single properties dialog wired to the page.
    void InitLatencyCalculator();

    // The settings subkey of the chain. LoadLatencySettings is true when the
    // subkey existed; SyncPropertiesDialog offers stored custom topology
    // names again.
    bool LoadLatencySettings();
    void SyncPropertiesDialog();
    void SaveLatencySettings();

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
    TLatencyTotals FTotals;                            // seconds, of the last computation
};
