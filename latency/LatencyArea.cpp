#include "latency/LatencyArea.h"

#include <QScopeGuard>

#include "controls/Guarded.h"
#include "controls/PageControl.h"
#include "latency/LatencyGraphsPage.h"
#include "latency/LatencyStatsPage.h"
#include "latency/NetworkButton.h"
#include "latency/NetworkButtonForm.h"
#include "latency/NetworkSetupPage.h"

TLatencyArea::TLatencyArea(QWidget *parent)
    : TCalcArea(parent)
{
    setObjectName(QStringLiteral("LatencyCalcPanel"));
    resize(276, 313);

    LatencyCalcPageControl = new TPageControl(this);
    LatencyCalcPageControl->setAccessibleName(QStringLiteral("Latency Calculator"));
    LatencyCalcPageControl->setObjectName(QStringLiteral("LatencyCalcPageControl"));
    LatencyCalcPageControl->setGeometry(0, 0, 276, 313);
    NetworkSetupTabSheet = new TNetworkSetupPage;
    LatencyCalcPageControl->addTab(NetworkSetupTabSheet, QStringLiteral("Network Setup"));
    const auto addPage = [this](QWidget *&page, const char *name, const QString &caption) {
        page = new QWidget;
        page->setObjectName(QLatin1String(name));
        LatencyCalcPageControl->addTab(page, caption);
    };
    addPage(LatencyStatsTabSheet, "LatencyStatsTabSheet", QStringLiteral("Latency Statistics"));
    addPage(LatencyGraphsTabSheet, "LatencyGraphsTabSheet", QStringLiteral("Latency Graphs"));
    LatencyStatsPage = new TLatencyStatsPage(LatencyStatsTabSheet);
    GuardedConnect(LatencyStatsPage, &TLatencyStatsPage::PacketDirRadioGroupClick, this,
                   &TLatencyArea::LatencyStatsTabSheetEnter);
    LatencyGraphsPage = new TLatencyGraphsPage(LatencyGraphsTabSheet);

    connect(NetworkSetupTabSheet, &TNetworkSetupPage::CopyTargetChanged, this, &TCalcArea::CopyTargetChanged);
    connect(NetworkSetupTabSheet, &TNetworkSetupPage::CopyEnabledChanged, this, &TCalcArea::CopyEnabledChanged);

    InitLatencyCalculator();
}

void TLatencyArea::InitLatencyCalculator()
{
    LatencyCalcPageControl->setCurrentWidget(NetworkSetupTabSheet);
    NetworkSetupTabSheet->FSelectedButton = NetworkSetupTabSheet->TowerNetworkButton;
    NetworkSetupTabSheet->SetLatencyDirty();

    NetworkButtonForm = TNetworkButtonForm::GetNetworkButtonForm(true, this);
    GuardedConnect(NetworkButtonForm, &TNetworkButtonForm::OnApply, NetworkSetupTabSheet,
                   &TNetworkSetupPage::NetworkButtonFormApply);
}

void TLatencyArea::PageLeaving(QWidget *page)
{
    if (page == NetworkSetupTabSheet)
        NetworkSetupTabSheet->NetworkSetupTabSheetExit();
    else if (page == LatencyStatsTabSheet || page == LatencyGraphsTabSheet)
        LatencyStatsTabSheetExit();
}

void TLatencyArea::PageEntered(QWidget *page)
{
    if (page == NetworkSetupTabSheet)
        NetworkSetupTabSheet->NetworkSetupTabSheetEnter();
    else if (page == LatencyStatsTabSheet)
        LatencyStatsTabSheetEnter();
    else if (page == LatencyGraphsTabSheet)
        LatencyGraphsTabSheetEnter();
}

void TLatencyArea::LoadSettings()
{
    TNetworkSetupPage *page = NetworkSetupTabSheet;
    // Whatever the store holds, the chain ends up with at least one network
    // and consistent commands.
    const auto finish = qScopeGuard([page] {
        if (page->FNetworkList.size() < 3) {
            page->SelectNetworkButton(page->TowerNetworkButton);
            page->NewNetworkButtonClick();
        }
        page->UpdateRemoveCommands();
        page->DesktopNetworkButton->RebuildDisplayName();
        page->TowerNetworkButton->RebuildDisplayName();
        page->SetLatencyDirty();
    });
    if (!LoadLatencySettings()) {
        page->DesktopNetworkButton->PacketSize = 64;
        page->TowerNetworkButton->PacketSize = 1024;
        page->NewNetworkButtonClick();
    }
    SyncPropertiesDialog();
}

void TLatencyArea::SaveSettings()
{
    SaveLatencySettings();
}
