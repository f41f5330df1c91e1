#include "ipsubnet/CIDRPage.h"

#include <QLabel>
#include <QLineEdit>

#include "controls/Guarded.h"
#include "controls/IPAddressEdit.h"
#include "controls/VorlPanels.h"
#include "ipsubnet/IPAddress.h"
#include "ipsubnet/SubnetPageLayout.h"

TCIDRPage::TCIDRPage(const TIPAddSupernet &supernet, QWidget *parent)
    : QWidget(parent)
    , FSupernet(supernet)
{
    QLabel *addressLabel = CreateLabel(this, QStringLiteral("&IP Address"), 9, 8);
    SupernetAddressEdit = new TIPAddressEdit({QStringLiteral("MaskEdit5"), QStringLiteral("MaskEdit6"),
                                              QStringLiteral("MaskEdit7"), QStringLiteral("MaskEdit8")},
                                             this);
    SupernetAddressEdit->setObjectName(QStringLiteral("SupernetAddressEdit"));
    SupernetAddressEdit->setGeometry(9, 24, 116, 21);
    MaskEdit5 = SupernetAddressEdit->Field(0);
    MaskEdit6 = SupernetAddressEdit->Field(1);
    MaskEdit7 = SupernetAddressEdit->Field(2);
    MaskEdit8 = SupernetAddressEdit->Field(3);
    addressLabel->setBuddy(MaskEdit5);
    SupernetAddressEdit->SetCaption(addressLabel->text());
    GuardedConnect(SupernetAddressEdit, &TIPAddressEdit::OctetExit, this,
                   [this](int index) { emit OctetEntered(index, SupernetAddressEdit->Field(index)->text()); });

    QLabel *caption = CreateLabel(this, QStringLiteral("Max # of Supernets"), 146, 8);
    NumNetworksPanel = CreateValuePanel(caption, "NumNetworksPanel", 146, 24, 112);
    caption = CreateLabel(this, QStringLiteral("Supernet Address Allocation Range"), 9, 56);
    AllocationPanel = CreateValuePanel(caption, "AllocationPanel", 9, 72, 250);
    caption = CreateLabel(this, QStringLiteral("Route/Mask"), 8, 104);
    RouteMaskPanel = CreateValuePanel(caption, "RouteMaskPanel", 9, 120, 250);
    caption = CreateLabel(this, QStringLiteral("Hexadecimal  Route/Mask"), 8, 152);
    HexRouteMaskPanel = CreateValuePanel(caption, "HexRouteMaskPanel", 9, 168, 250);
}

void TCIDRPage::UpdateCIDRDisplay()
{
    {
        // Written, not typed: nothing to report.
        const QSignalBlocker blocker(SupernetAddressEdit);
        SupernetAddressEdit->ShowAddress(FSupernet.GetValue());
    }
    NumNetworksPanel->SetCaption(QString::number(FSupernet.NumNetworks()));
    AllocationPanel->SetCaption(HostRangeText(FSupernet.Route(), FSupernet.LastAddress()));
    const QString separator = QStringLiteral("  /  ");
    RouteMaskPanel->SetCaption(TIPAddress::FormatDecimal(FSupernet.Route()) + separator
                               + FSupernet.BitsMask().DecimalText());
    HexRouteMaskPanel->SetCaption(TIPAddress::FormatHex(FSupernet.Route()) + separator
                                  + FSupernet.BitsMask().HexText());
}
