#include "latency/LatencyArea.h"

#include <QAbstractButton>
#include <QScopeGuard>

#include "controls/Guarded.h"
#include "controls/PageControl.h"
#include "latency/LatencyGraphsPage.h"
#include "latency/LatencyStatsPage.h"
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
    NetworkSetupTabSheet = new TNetworkSetupPage(FChain);
    LatencyCalcPageControl->addTab(NetworkSetupTabSheet, QStringLiteral("Network Setup"));
    const auto addPage = [this](QWidget *&page, const char *name, const QString &caption) {
        page = new QWidget;
        page->setObjectName(QLatin1String(name));
        LatencyCalcPageControl->addTab(page, caption);
    };
    addPage(LatencyStatsTabSheet, "LatencyStatsTabSheet", QStringLiteral("Latency Statistics"));
    addPage(LatencyGraphsTabSheet, "LatencyGraphsTabSheet", QStringLiteral("Latency Graphs"));
    LatencyStatsPage = new TLatencyStatsPage(FChain, FTotals, LatencyStatsTabSheet);
    GuardedConnect(LatencyStatsPage, &TLatencyStatsPage::PacketDirRadioGroupClick, this,
                   &TLatencyArea::LatencyStatsTabSheetEnter);
    LatencyGraphsPage = new TLatencyGraphsPage(FChain, LatencyGraphsTabSheet);

    connect(NetworkSetupTabSheet, &TNetworkSetupPage::CopyTargetChanged, this, &TCalcArea::CopyTargetChanged);
    connect(NetworkSetupTabSheet, &TNetworkSetupPage::CopyEnabledChanged, this, &TCalcArea::CopyEnabledChanged);

    InitLatencyCalculator();
}

TLatencyArea::~TLatencyArea()
{
    // The views go before the chain they show.
    delete NetworkButtonForm;
    delete LatencyCalcPageControl;
}

void TLatencyArea::InitLatencyCalculator()
{
    LatencyCalcPageControl->setCurrentWidget(NetworkSetupTabSheet);

    NetworkButtonForm = new TNetworkButtonForm(this);
    GuardedConnect(NetworkButtonForm, &TNetworkButtonForm::OnApply, this, &TLatencyArea::NetworkButtonFormApply);
    GuardedConnect(NetworkSetupTabSheet, &TNetworkSetupPage::PropertiesRequested, NetworkButtonForm,
                   &TNetworkButtonForm::EditNetworkButton);
    // An open dialog follows the selection, after the page has shown it.
    GuardedConnect(&FChain, &TNetworkChain::ElementSelected, NetworkButtonForm, [this](TNetworkElement *element) {
        if (NetworkButtonForm->isVisible())
            NetworkButtonForm->EditNetworkButton(element);
    });
    GuardedConnect(&FChain, &TNetworkChain::ElementRemoved, NetworkButtonForm,
                   [this](int, TNetworkElement *element) { NetworkButtonForm->ReleaseElement(element); });
}

void TLatencyArea::NetworkButtonFormApply()
{
    FChain.SetLatencyDirty();
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
    // Whatever the store holds, the chain ends up with at least one network.
    const auto finish = qScopeGuard([this] {
        if (FChain.NetworkCount() < 1) {
            FChain.Select(FChain.NodeB());
            FChain.Insert();
        }
        FChain.NodeA()->RebuildDisplayName();
        FChain.NodeB()->RebuildDisplayName();
        FChain.SetLatencyDirty();
    });
    if (!LoadLatencySettings()) {
        FChain.NodeA()->PacketSize = 64;
        FChain.NodeB()->PacketSize = 1024;
        FChain.Insert();
    }
    SyncPropertiesDialog();
}

void TLatencyArea::SaveSettings()
{
    SaveLatencySettings();
}
