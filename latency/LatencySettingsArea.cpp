// The latency area's settings: the chain from and to the "LatencyCalc"
// subkey, and the properties dialog's lists aligned with the loaded networks.

#include "latency/LatencyArea.h"

#include <QComboBox>

#include "controls/Application.h"
#include "controls/VorlPanels.h"
#include "latency/LatencySettings.h"
#include "latency/NetworkButton.h"
#include "latency/NetworkButtonForm.h"
#include "latency/NetworkSetupPage.h"

namespace {

TNodeRecord NodeRecord(const TNetworkButton &node)
{
    return {node.PacketSize, node.ProcessTime};
}

void SetNode(TNetworkButton &node, const TNodeRecord &record)
{
    node.PacketSize = record.PacketSize;
    node.ProcessTime = record.ProcessTime;
}

}  // namespace

bool TLatencyArea::LoadLatencySettings()
{
    const std::optional<TLatencySettings> settings = ReadLatencySettings();
    if (!settings)
        return false;

    TNetworkSetupPage *setup = NetworkSetupTabSheet;
    SetNode(*setup->DesktopNetworkButton, settings->NodeA);
    SetNode(*setup->TowerNetworkButton, settings->NodeB);
    for (const TStoredNetwork &stored : settings->Networks) {
        // Each network goes in just before Node B, on the first free cell,
        // and is selected.
        setup->SelectNetworkButton(setup->TowerNetworkButton);
        setup->NewNetworkButtonClick();
        TNetworkButton *network = setup->FSelectedButton;
        if (!stored.Record || !network || network->IsNode())
            continue;
        const TNetworkRecord &record = *stored.Record;
        network->Bandwidth = record.Bandwidth;
        network->SetNetworkButtonKind(stored.Kind);
        // Stored positions are cell origins; anything else (a damaged
        // store) goes to the cell it falls in, so the element stays on the panel.
        network->move(TNetworkSetupPage::SnapToGrid(record.Left, Qt::Horizontal),
                      TNetworkSetupPage::SnapToGrid(record.Top, Qt::Vertical));
        network->NetworkName = stored.Name;
        network->RebuildDisplayName();
        network->PropDelay = record.PropDelay;
    }
    setup->NetworkSetupPanel->update();
    // What could not be used has been replaced by defaults; the user is told.
    if (!settings->Problems.isEmpty())
        ShowErrorMessage(settings->Problems.join(QLatin1Char('\n')));
    return true;
}

void TLatencyArea::SyncPropertiesDialog()
{
    // Asked of the user's store itself, which on Windows is the registry.
    TRegKey key;
    if (!NetworkButtonForm || !key.OpenKey(LatencySettingsKey, false))
        return;
    key.CloseKey();
    TNetworkSetupPage *setup = NetworkSetupTabSheet;
    QComboBox *topologies = NetworkButtonForm->TopologyComboBox;
    QComboBox *bandwidths = NetworkButtonForm->BandwidthComboBox;
    for (qsizetype i = 1; i + 1 < setup->FNetworkList.size(); ++i) {
        TNetworkButton *network = setup->FNetworkList.at(i);
        NetworkButtonForm->SetKind(network->NetworkButtonKind());
        int index = topologies->findText(network->NetworkName, Qt::MatchExactly | Qt::MatchCaseSensitive);
        // Names typed in an earlier run are offered again; an empty name
        // (a damaged store) is not a topology.
        if (index < 0 && !network->NetworkName.isEmpty() && network->NetworkName != UnknownTopologyName) {
            const QSignalBlocker blocker(topologies);
            topologies->addItem(network->NetworkName);
            index = topologies->count() - 1;
        }
        network->TopologyIndex = qint16(index);
        const QString bandwidth = FormatBandwidth(network->Bandwidth);
        if (bandwidth != QLatin1String("0")
            && bandwidths->findText(bandwidth, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
            const QSignalBlocker blocker(bandwidths);
            bandwidths->addItem(bandwidth);
        }
    }
}

void TLatencyArea::SaveLatencySettings()
{
    const TNetworkSetupPage *setup = NetworkSetupTabSheet;
    TLatencySettings settings;
    settings.NodeA = NodeRecord(*setup->DesktopNetworkButton);
    settings.NodeB = NodeRecord(*setup->TowerNetworkButton);
    settings.Networks.clear();
    for (qsizetype i = 1; i + 1 < setup->FNetworkList.size(); ++i) {
        const TNetworkButton *network = setup->FNetworkList.at(i);
        TNetworkRecord record;
        record.Bandwidth = network->Bandwidth;
        record.Left = network->x();
        record.PropDelay = network->PropDelay;
        record.Top = network->y();
        settings.Networks.push_back({record, network->NetworkButtonKind(), network->NetworkName});
    }
    WriteLatencySettings(settings);
}
