// The latency area's settings: the chain from and to the "LatencyCalc"
// subkey, and the properties dialog's lists aligned with the loaded networks.

#include "latency/LatencyArea.h"

#include "controls/Application.h"
#include "latency/LatencySettings.h"
#include "latency/NetworkButtonForm.h"

bool TLatencyArea::LoadLatencySettings()
{
    const std::optional<TLatencySettings> settings = ReadLatencySettings();
    if (!settings)
        return false;
    ApplyChainSettings(FChain, *settings);
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
    for (int i = 1; i + 1 < FChain.Count(); ++i) {
        TNetworkElement *network = FChain.Element(i);
        NetworkButtonForm->SetKind(network->NetworkButtonKind());
        // Names typed in an earlier run are offered again; an empty name
        // (a damaged store) is not a topology.
        network->TopologyIndex = qint16(NetworkButtonForm->OfferTopology(network->NetworkName));
        NetworkButtonForm->OfferBandwidth(FormatBandwidth(network->Bandwidth));
    }
}

void TLatencyArea::SaveLatencySettings()
{
    WriteLatencySettings(ChainSettings(FChain));
}
