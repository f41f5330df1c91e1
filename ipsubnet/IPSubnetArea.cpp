#include "ipsubnet/IPSubnetArea.h"

#include <QAction>
#include <QActionGroup>

#include "controls/PageControl.h"

TIPSubnetArea::TIPSubnetArea(QWidget *parent)
    : TCalcArea(parent)
{
    setObjectName(QStringLiteral("IPSubnetCalcPanel"));
    resize(276, 313);

    DravokPageControl = new TPageControl(this);
    DravokPageControl->setObjectName(QStringLiteral("DravokPageControl"));
    DravokPageControl->setGeometry(0, 88, 276, 225);
    const auto addPage = [this](QWidget *&page, const char *name, const QString &caption) {
        page = new QWidget;
        page->setObjectName(QLatin1String(name));
        DravokPageControl->addTab(page, caption);
    };
    addPage(GeneralInfoTab, "GeneralInfoTab", QStringLiteral("General Info"));
    addPage(AddressInfoTab, "AddressInfoTab", QStringLiteral("Address Info"));
    addPage(SubnetHostTab, "SubnetHostTab", QStringLiteral("Subnets/Hosts"));
    addPage(CIDRTab, "CIDRTab", QStringLiteral("CIDR"));

    auto *bitsGroup = new QActionGroup(this);
    SubnetBitsMenuItem = new QAction(QStringLiteral("Specify &Subnet Bits"), bitsGroup);
    SubnetBitsMenuItem->setObjectName(QStringLiteral("SubnetBitsMenuItem"));
    SubnetBitsMenuItem->setCheckable(true);
    SubnetBitsMenuItem->setChecked(true);
    NetworkBitsMenuItem = new QAction(QStringLiteral("Specify &Network Bits"), bitsGroup);
    NetworkBitsMenuItem->setObjectName(QStringLiteral("NetworkBitsMenuItem"));
    NetworkBitsMenuItem->setCheckable(true);
    N1 = new QAction(this);
    N1->setObjectName(QStringLiteral("N1"));
    N1->setSeparator(true);
    RFC1878MenuItem = new QAction(QStringLiteral("Allow &1 Subnet Bit (RFC 1878)"), this);
    RFC1878MenuItem->setObjectName(QStringLiteral("RFC1878MenuItem"));
    RFC1878MenuItem->setCheckable(true);
}

QList<QAction *> TIPSubnetArea::OptionsActions() const
{
    return {SubnetBitsMenuItem, NetworkBitsMenuItem, N1, RFC1878MenuItem};
}

void TIPSubnetArea::PageLeaving(QWidget *page)
{
    Q_UNUSED(page);
}

void TIPSubnetArea::PageEntered(QWidget *page)
{
    Q_UNUSED(page);
}

void TIPSubnetArea::LoadSettings()
{
}

void TIPSubnetArea::SaveSettings()
{
}

void TIPSubnetArea::UpdateSubnetDisplay()
{
}
