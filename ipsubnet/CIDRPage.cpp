#include "ipsubnet/CIDRPage.h"

#include <QLabel>
#include <QLineEdit>

#include "controls/Guarded.h"
#include "controls/VorlPanels.h"
#include "ipsubnet/IPSubnetArea.h"

TCIDRPage::TCIDRPage(TIPSubnetArea *area)
    : QObject(area)
    , FArea(area)
{
    setObjectName(QStringLiteral("CIDRPage"));
    QWidget *page = area->CIDRTab;

    QLabel *addressLabel = TIPSubnetArea::CreateLabel(page, QStringLiteral("&IP Address"), 9, 8);
    SupernetAddressEdit = new TIPAddressEdit({QStringLiteral("MaskEdit5"), QStringLiteral("MaskEdit6"),
                                              QStringLiteral("MaskEdit7"), QStringLiteral("MaskEdit8")},
                                             page);
    SupernetAddressEdit->setObjectName(QStringLiteral("SupernetAddressEdit"));
    SupernetAddressEdit->setGeometry(9, 24, 116, 21);
    MaskEdit5 = SupernetAddressEdit->Field(0);
    MaskEdit6 = SupernetAddressEdit->Field(1);
    MaskEdit7 = SupernetAddressEdit->Field(2);
    MaskEdit8 = SupernetAddressEdit->Field(3);
    addressLabel->setBuddy(MaskEdit5);
    SupernetAddressEdit->SetCaption(addressLabel->text());
    // In the area's context: the area cuts its children's connections to
    // itself before its models go, so a field losing the focus while the
    // window is torn down reaches no handler.
    GuardedConnect(SupernetAddressEdit, &TIPAddressEdit::OctetExit, area, [this](int index) { MaskEdit5Exit(index); });

    QLabel *caption = TIPSubnetArea::CreateLabel(page, QStringLiteral("Max # of Supernets"), 146, 8);
    NumNetworksPanel = TIPSubnetArea::CreateValuePanel(caption, "NumNetworksPanel", 146, 24, 112);
    caption = TIPSubnetArea::CreateLabel(page, QStringLiteral("Supernet Address Allocation Range"), 9, 56);
    AllocationPanel = TIPSubnetArea::CreateValuePanel(caption, "AllocationPanel", 9, 72, 250);
    caption = TIPSubnetArea::CreateLabel(page, QStringLiteral("Route/Mask"), 8, 104);
    RouteMaskPanel = TIPSubnetArea::CreateValuePanel(caption, "RouteMaskPanel", 9, 120, 250);
    caption = TIPSubnetArea::CreateLabel(page, QStringLiteral("Hexadecimal  Route/Mask"), 8, 152);
    HexRouteMaskPanel = TIPSubnetArea::CreateValuePanel(caption, "HexRouteMaskPanel", 9, 168, 250);

    area->PlugPageContent(page, [this] { UpdateCIDRDisplay(); });
}

void TCIDRPage::MaskEdit5Exit(int index)
{
    FArea->Supernet().SetByte(quint8(index), ReadOctetText(TOctetBox::obSupernetAddress, quint8(index),
                                                           SupernetAddressEdit->Field(index)->text()));
    FArea->UpdateSubnetDisplay();
}

void TCIDRPage::UpdateCIDRDisplay()
{
    const TIPAddSupernet &supernet = FArea->Supernet();
    SupernetAddressEdit->ShowAddress(supernet.GetValue());
    NumNetworksPanel->SetCaption(QString::number(supernet.NumNetworks()));
    AllocationPanel->SetCaption(HostRangeText(supernet.Route(), supernet.LastAddress()));
    const QString separator = QStringLiteral("  /  ");
    RouteMaskPanel->SetCaption(TIPAddress::FormatDecimal(supernet.Route()) + separator
                               + supernet.BitsMask().DecimalText());
    HexRouteMaskPanel->SetCaption(TIPAddress::FormatHex(supernet.Route()) + separator + supernet.BitsMask().HexText());
}
