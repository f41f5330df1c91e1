#include "latency/LatencyArea.h"

#include "controls/PageControl.h"

TLatencyArea::TLatencyArea(QWidget *parent)
    : TCalcArea(parent)
{
    setObjectName(QStringLiteral("LatencyCalcPanel"));
    resize(276, 313);

    LatencyCalcPageControl = new TPageControl(this);
    LatencyCalcPageControl->setObjectName(QStringLiteral("LatencyCalcPageControl"));
    LatencyCalcPageControl->setGeometry(0, 0, 276, 313);
    const auto addPage = [this](QWidget *&page, const char *name, const QString &caption) {
        page = new QWidget;
        page->setObjectName(QLatin1String(name));
        LatencyCalcPageControl->addTab(page, caption);
    };
    addPage(NetworkSetupTabSheet, "NetworkSetupTabSheet", QStringLiteral("Network Setup"));
    addPage(LatencyStatsTabSheet, "LatencyStatsTabSheet", QStringLiteral("Latency Statistics"));
    addPage(LatencyGraphsTabSheet, "LatencyGraphsTabSheet", QStringLiteral("Latency Graphs"));
}

void TLatencyArea::PageLeaving(QWidget *page)
{
    Q_UNUSED(page);
}

void TLatencyArea::PageEntered(QWidget *page)
{
    Q_UNUSED(page);
}

void TLatencyArea::LoadSettings()
{
}

void TLatencyArea::SaveSettings()
{
}
