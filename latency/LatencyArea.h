#pragma once

// The latency calculator: a chain Node A - networks - Node B, edited on the
// "Network Setup" page, with each element's delay and share shown as a table
// ("Latency Statistics") and as three coloured bars ("Latency Graphs").

#include "controls/CalcArea.h"

class TPageControl;

class TLatencyArea final : public TCalcArea
{
    Q_OBJECT
public:
    explicit TLatencyArea(QWidget *parent = nullptr);

    TPageControl *PageControl() const override { return LatencyCalcPageControl; }
    void PageLeaving(QWidget *page) override;
    void PageEntered(QWidget *page) override;
    void LoadSettings() override;
    void SaveSettings() override;

    TPageControl *LatencyCalcPageControl = nullptr;
    QWidget *NetworkSetupTabSheet = nullptr;
    QWidget *LatencyStatsTabSheet = nullptr;
    QWidget *LatencyGraphsTabSheet = nullptr;
};
