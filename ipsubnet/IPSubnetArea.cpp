#include "ipsubnet/IPSubnetArea.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTabBar>

#include "app/SettingsStore.h"
#include "app/VorlGlobal.h"
#include "controls/BetterSpinEdit.h"
#include "controls/Guarded.h"
#include "controls/PageControl.h"
#include "controls/VorlPanels.h"
#include "ipsubnet/CIDRPage.h"
#include "ipsubnet/SubnetHostPage.h"

namespace {

const QString SubnetSettingsKey = MainSettingsKey + QStringLiteral("\\Dravok");

} // namespace

// --- TIPSubnetArea ---

TIPSubnetArea::TIPSubnetArea(QWidget *parent)
    : TCalcArea(parent)
{
    setObjectName(QStringLiteral("IPSubnetCalcPanel"));
    resize(276, 313);
    InitSubnetCalculator();
}

TIPSubnetArea::~TIPSubnetArea()
{
    // Children still raise events (focus leaving a field, a spin edit
    // committing) while QWidget tears them down; none may reach handlers of
    // this half-destroyed area.
    for (QObject *child : findChildren<QObject *>())
        QObject::disconnect(child, nullptr, this, nullptr);
}

void TIPSubnetArea::InitSubnetCalculator()
{
    CreateSelectorAndBits();

    DravokPageControl = new TPageControl(this);
    DravokPageControl->setAccessibleName(QStringLiteral("IP Subnet Calculator"));
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
    CreateGeneralInfoPage();
    CreateAddressInfoPage();
    new TSubnetHostPage(this);
    new TCIDRPage(this);
    CreateOptionsActions();

    setTabOrder(BitsSpinEdit, DravokPageControl);
    DravokPageControl->setCurrentWidget(GeneralInfoTab);
    UpdateBitsRange();
    FSubnetTableDirty = true;
    UpdateSubnetDisplay();
}

void TIPSubnetArea::CreateSelectorAndBits()
{
    AddressTypeRadioGroup = new QGroupBox(QStringLiteral("Address Type"), this);
    AddressTypeRadioGroup->setObjectName(QStringLiteral("AddressTypeRadioGroup"));
    AddressTypeRadioGroup->setGeometry(0, 0, 185, 81);
    FAddressTypeButtons = new QButtonGroup(this);
    const QString items[] = {
        QStringLiteral("Class &A (1.x.x.x-126.x.x.x)"),
        QStringLiteral("Class &B (128.x.x.x-191.x.x.x)"),
        QStringLiteral("Class &C (192.x.x.x-223.x.x.x)"),
    };
    for (int i = 0; i < 3; ++i) {
        auto *item = new QRadioButton(items[i], AddressTypeRadioGroup);
        item->setObjectName(QStringLiteral("AddressTypeRadioGroupItem%1").arg(i));
        item->setGeometry(8, 17 + 20 * i, 172, 19);
        FAddressTypeButtons->addButton(item, i);
    }
    FAddressTypeButtons->button(int(FSubnet.ClassType()))->setChecked(true);
    // A new selection only: a click on the item already selected changes
    // nothing, and must not rebuild the Subnets/Hosts table.
    GuardedConnect(FAddressTypeButtons, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            AddressTypeRadioGroupClick();
    });

    BitsLabel = new QLabel(QStringLiteral("&Subnet Bits"), this);
    BitsLabel->setObjectName(QStringLiteral("BitsLabel"));
    BitsLabel->setGeometry(200, 0, 76, 16);

    BitsSpinEdit = new TBetterSpinEdit(this);
    BitsSpinEdit->setObjectName(QStringLiteral("BitsSpinEdit"));
    BitsSpinEdit->setGeometry(200, 16, 69, 21);
    BitsSpinEdit->SetMinValue(1);
    BitsSpinEdit->SetMaxValue(22);
    BitsSpinEdit->SetValue(8);
    BitsLabel->setBuddy(BitsSpinEdit);
    GuardedConnect(BitsSpinEdit, &TBetterSpinEdit::Change, this, [this] { BitsSpinEditChange(); });
}

QLabel *TIPSubnetArea::CreateLabel(QWidget *page, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, page);
    label->move(left, top);
    label->adjustSize();
    return label;
}

TVorlCustomPanel *TIPSubnetArea::CreateValuePanel(QLabel *caption, const char *name, int left, int top, int width)
{
    auto *panel = new TVorlCustomPanel(caption->parentWidget());
    panel->setObjectName(QLatin1String(name));
    // No caption has an access key: the buddy only names the value.
    caption->setBuddy(panel);
    panel->SetBevelOuter(TBevelCut::bvLowered);
    panel->SetAlignment(Qt::AlignRight);
    panel->setGeometry(left, top, width, 21);
    return panel;
}

void TIPSubnetArea::CreateGeneralInfoPage()
{
    QWidget *page = GeneralInfoTab;
    QLabel *caption = CreateLabel(page, QStringLiteral("Max # of Subnets "), 9, 8);
    MaxSubnetsPanel = CreateValuePanel(caption, "MaxSubnetsPanel", 9, 24, 112);
    caption = CreateLabel(page, QStringLiteral("Max # of Hosts/Subnet"), 146, 8);
    MaxHostsPanel = CreateValuePanel(caption, "MaxHostsPanel", 146, 24, 112);
    caption = CreateLabel(page, QStringLiteral("Bit Map (n=network, s=subnet, h=host)"), 9, 56);
    BitMapPanel = CreateValuePanel(caption, "BitMapPanel", 9, 72, 249);
    DecClassMaskLabel = CreateLabel(page, QStringLiteral("Decimal Class B Mask"), 9, 104);
    DecClassMaskLabel->setObjectName(QStringLiteral("DecClassMaskLabel"));
    DecClassMaskPanel = CreateValuePanel(DecClassMaskLabel, "DecClassMaskPanel", 9, 120, 112);
    HexClassMaskLabel = CreateLabel(page, QStringLiteral("Hex Class B Mask"), 146, 104);
    HexClassMaskLabel->setObjectName(QStringLiteral("HexClassMaskLabel"));
    HexClassMaskPanel = CreateValuePanel(HexClassMaskLabel, "HexClassMaskPanel", 146, 120, 112);
    caption = CreateLabel(page, QStringLiteral("Decimal Network Mask"), 9, 152);
    DecMaskPanel = CreateValuePanel(caption, "DecMaskPanel", 9, 168, 112);
    caption = CreateLabel(page, QStringLiteral("Hex Network Mask"), 146, 152);
    HexMaskPanel = CreateValuePanel(caption, "HexMaskPanel", 146, 168, 112);
}

void TIPSubnetArea::CreateAddressInfoPage()
{
    QWidget *page = AddressInfoTab;
    QLabel *addressLabel = CreateLabel(page, QStringLiteral("&IP Address"), 9, 8);
    AddressEdit = new TIPAddressEdit({QStringLiteral("MaskEdit1"), QStringLiteral("MaskEdit2"),
                                      QStringLiteral("MaskEdit3"), QStringLiteral("MaskEdit4")},
                                     page);
    AddressEdit->setObjectName(QStringLiteral("AddressEdit"));
    AddressEdit->setGeometry(9, 24, 116, 21);
    MaskEdit1 = AddressEdit->Field(0);
    MaskEdit2 = AddressEdit->Field(1);
    MaskEdit3 = AddressEdit->Field(2);
    MaskEdit4 = AddressEdit->Field(3);
    addressLabel->setBuddy(MaskEdit1);
    AddressEdit->SetCaption(addressLabel->text());
    GuardedConnect(AddressEdit, &TIPAddressEdit::OctetExit, this, [this](int index) {
        if (index == 0)
            MaskEdit1Exit();
        else
            MaskEdit2Exit(index);
    });

    QLabel *caption = CreateLabel(page, QStringLiteral("Hexadecimal"), 146, 8);
    HexAddressPanel = CreateValuePanel(caption, "HexAddressPanel", 146, 24, 112);
    caption = CreateLabel(page, QStringLiteral("Subnet Address Allocation Range"), 9, 56);
    AddressRangePanel = CreateValuePanel(caption, "AddressRangePanel", 9, 72, 250);
    caption = CreateLabel(page, QStringLiteral("Subnet Mask"), 9, 104);
    SubnetMaskPanel = CreateValuePanel(caption, "SubnetMaskPanel", 9, 120, 112);
    caption = CreateLabel(page, QStringLiteral("Subnet ID"), 146, 104);
    SubnetIDPanel = CreateValuePanel(caption, "SubnetIDPanel", 146, 120, 112);
    caption = CreateLabel(page, QStringLiteral("Network ID"), 9, 152);
    NetworkIDPanel = CreateValuePanel(caption, "NetworkIDPanel", 9, 168, 112);
    caption = CreateLabel(page, QStringLiteral("Host ID"), 145, 152);
    HostIDPanel = CreateValuePanel(caption, "HostIDPanel", 145, 168, 112);
}

void TIPSubnetArea::CreateOptionsActions()
{
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

    GuardedConnect(SubnetBitsMenuItem, &QAction::triggered, this, [this] { BitsMenuItemClick(SubnetBitsMenuItem); });
    GuardedConnect(NetworkBitsMenuItem, &QAction::triggered, this, [this] { BitsMenuItemClick(NetworkBitsMenuItem); });
    // The action has toggled its check mark by the time triggered arrives.
    GuardedConnect(RFC1878MenuItem, &QAction::triggered, this, [this] { RFC1878MenuItemClick(); });
}

QList<QAction *> TIPSubnetArea::OptionsActions() const
{
    return {SubnetBitsMenuItem, NetworkBitsMenuItem, N1, RFC1878MenuItem};
}

void TIPSubnetArea::PlugPageContent(QWidget *page, std::function<void()> update)
{
    if (page == SubnetHostTab)
        FUpdateSubnetHostPage = std::move(update);
    else if (page == CIDRTab)
        FUpdateCIDRPage = std::move(update);
}

bool TIPSubnetArea::NetworkBitsMode() const
{
    return NetworkBitsMenuItem->isChecked();
}

bool TIPSubnetArea::CIDRPageShown() const
{
    return DravokPageControl->currentWidget() == CIDRTab;
}

// What the bits field shows on the subnet pages for the current mode.
int TIPSubnetArea::SubnetBitsFieldValue() const
{
    return NetworkBitsMode() ? FSubnet.NetworkBits() + FSubnet.SubnetBits() : FSubnet.SubnetBits();
}

// --- Page bookkeeping ---

void TIPSubnetArea::PageLeaving(QWidget *page)
{
    if (page == SubnetHostTab) {
        if (CopySubnetHostButton)
            CopySubnetHostButton->setEnabled(false);
        emit CopyEnabledChanged(false);
    } else if (page == CIDRTab) {
        AddressTypeRadioGroup->setTitle(QStringLiteral("Address Type"));
        BitsLabel->setText(NetworkBitsMode() ? QStringLiteral("&Network Bits") : QStringLiteral("&Subnet Bits"));
        DravokPageControl->repaint();
    }
}

void TIPSubnetArea::PageEntered(QWidget *page)
{
    if (page == SubnetHostTab && CopySubnetHostButton) {
        CopySubnetHostButton->setEnabled(true);
        emit CopyTargetChanged(CopySubnetHostButton);
    } else if (page == CIDRTab) {
        AddressTypeRadioGroup->setTitle(QStringLiteral("Address Prefix"));
        BitsLabel->setText(QStringLiteral("&Supernet Bits"));
    }
    if (page == GeneralInfoTab || page == AddressInfoTab || page == SubnetHostTab || page == CIDRTab)
        UpdateBitsRange();
}

// --- Bits field, class selector, options ---

void TIPSubnetArea::UpdateBitsRange()
{
    int minimum = 1;
    int maximum = 24;
    int value = FSupernet.SupernetBits();
    if (!CIDRPageShown()) {
        const int base = NetworkBitsMode() ? FSubnet.NetworkBits() : 0;
        minimum = base + FSubnet.MinSubnetBits();
        maximum = base + FSubnet.MaxSubnetBits();
        value = SubnetBitsFieldValue();
    }
    {
        // The field may still hold a count of the other mode or page; only
        // the model's own count, clamped into the new range, may reach it.
        QScopedValueRollback guard(FSettingBitsRange, true);
        BitsSpinEdit->SetMinValue(minimum);
        BitsSpinEdit->SetMaxValue(maximum);
        BitsSpinEdit->SetValue(value);
    }
    if (BitsSpinEdit->Value() != value)
        BitsSpinEditChange();
}

void TIPSubnetArea::BitsSpinEditChange()
{
    if (FSettingBitsRange)
        return;
    const int value = BitsSpinEdit->Value();
    const quint8 count = quint8(std::clamp(value, 0, 255));
    if (CIDRPageShown()) {
        if (value != FSupernet.SupernetBits())
            FSupernet.SetSupernetBits(count);
    } else if (!NetworkBitsMode()) {
        if (value != FSubnet.SubnetBits()) {
            FSubnet.SetSubnetBits(count);
            FSubnetTableDirty = true;
        }
    } else if (value != FSubnet.NetworkBits() + FSubnet.SubnetBits() && value > FSubnet.NetworkBits()) {
        FSubnet.SetSubnetBits(quint8(count - FSubnet.NetworkBits()));
        FSubnetTableDirty = true;
    }
    UpdateSubnetDisplay();
}

void TIPSubnetArea::AddressTypeRadioGroupClick()
{
    const int index = FAddressTypeButtons->checkedId();
    if (index < 0)
        return;
    const auto classType = static_cast<TIPClassType>(index);
    if (CIDRPageShown()) {
        FSupernet.SetClassType(classType);
        UpdateSubnetDisplay();
        return;
    }
    // In network-bits mode the prefix length shown stays where the new
    // class allows it. UpdateBitsRange first shows the model's own count, so
    // setting the remembered one raises the change that applies it, also
    // after a typed first octet when the field still shows the old prefix.
    const int networkBits = BitsSpinEdit->Value();
    FSubnet.SetClassType(classType);
    UpdateBitsRange();
    UpdateSubnetDisplay();
    FSubnetTableDirty = true;
    if (NetworkBitsMode()) {
        BitsSpinEdit->SetValue(networkBits);
    }
    UpdateSubnetDisplay();
}

void TIPSubnetArea::BitsMenuItemClick(QAction *sender)
{
    sender->setChecked(true);
    if (CIDRPageShown())
        return;
    if (sender == SubnetBitsMenuItem)
        BitsLabel->setText(QStringLiteral("&Subnet Bits"));
    else
        BitsLabel->setText(QStringLiteral("&Network Bits"));
    UpdateBitsRange();
    BitsSpinEdit->SetValue(SubnetBitsFieldValue());
    UpdateSubnetDisplay();
}

void TIPSubnetArea::RFC1878MenuItemClick()
{
    FSubnet.SetRFC1878(RFC1878MenuItem->isChecked());
    UpdateBitsRange();
    FSubnetTableDirty = true;
    UpdateSubnetDisplay();
}

// --- Octet entry ---

void TIPSubnetArea::MaskEdit1Exit()
{
    FSubnet.SetByte(0, ReadOctetText(TOctetBox::obSubnetAddress, 0, MaskEdit1->text()));
    FSubnetTableDirty = true;
    UpdateSubnetDisplay();
}

void TIPSubnetArea::MaskEdit2Exit(int index)
{
    FSubnet.SetByte(quint8(index),
                    ReadOctetText(TOctetBox::obSubnetAddress, quint8(index), AddressEdit->Field(index)->text()));
    FSubnetTableDirty = true;
    UpdateSubnetDisplay();
}

// --- Display ---

void TIPSubnetArea::SelectAddressType(int index)
{
    if (FAddressTypeButtons->checkedId() == index)
        return;
    {
        // The handler runs here, in this call, not from the toggle signal.
        const QSignalBlocker blocker(FAddressTypeButtons);
        FAddressTypeButtons->button(index)->setChecked(true);
    }
    AddressTypeRadioGroupClick();
}

void TIPSubnetArea::UpdateSubnetDisplay()
{
    if (FUpdatingSubnetDisplay)
        return;
    QScopedValueRollback guard(FUpdatingSubnetDisplay, true);

    QWidget *page = DravokPageControl->currentWidget();
    if (page == CIDRTab) {
        SelectAddressType(int(FSupernet.ClassType()));
        BitsSpinEdit->SetValue(FSupernet.SupernetBits());
        if (FUpdateCIDRPage)
            FUpdateCIDRPage();
        return;
    }

    SelectAddressType(int(FSubnet.ClassType()));
    BitsSpinEdit->SetValue(SubnetBitsFieldValue());
    if (page == GeneralInfoTab)
        UpdateGeneralInfo();
    else if (page == AddressInfoTab)
        UpdateAddressInfo();
    else if (page == SubnetHostTab && FUpdateSubnetHostPage)
        FUpdateSubnetHostPage();
}

void TIPSubnetArea::UpdateGeneralInfo()
{
    const QString letter(FSubnet.ClassLetter());
    MaxSubnetsPanel->SetCaption(QString::number(FSubnet.MaxSubnets()));
    MaxHostsPanel->SetCaption(QString::number(FSubnet.MaxHosts()));
    BitMapPanel->SetCaption(FSubnet.BitMap());
    DecClassMaskLabel->setText(QStringLiteral("Decimal Class ") + letter + QStringLiteral(" Mask"));
    DecClassMaskLabel->adjustSize();
    HexClassMaskLabel->setText(QStringLiteral("Hex Class ") + letter + QStringLiteral(" Mask"));
    HexClassMaskLabel->adjustSize();
    DecClassMaskPanel->SetCaption(FSubnet.ClassMask().DecimalText());
    HexClassMaskPanel->SetCaption(FSubnet.ClassMask().HexText());
    DecMaskPanel->SetCaption(FSubnet.SubnetMask().DecimalText());
    HexMaskPanel->SetCaption(FSubnet.SubnetMask().HexText());
}

void TIPSubnetArea::UpdateAddressInfo()
{
    AddressEdit->ShowAddress(FSubnet.GetValue());
    HexAddressPanel->SetCaption(FSubnet.HexText());
    AddressRangePanel->SetCaption(HostRangeText(FSubnet.FirstHost(), FSubnet.LastHost()));
    SubnetMaskPanel->SetCaption(FSubnet.SubnetMask().DecimalText());
    SubnetIDPanel->SetCaption(TIPAddress::FormatDecimal(FSubnet.SubnetID()));
    NetworkIDPanel->SetCaption(TIPAddress::FormatDecimal(FSubnet.NetworkID()));
    HostIDPanel->SetCaption(TIPAddress::FormatDecimal(FSubnet.HostID()));
}

// --- Settings ---

void TIPSubnetArea::LoadSettings()
{
    try {
        LoadSubnetSettings();
    } catch (...) {
        FinishSubnetLoad();
        throw;
    }
    FinishSubnetLoad();
}

// The load set the models directly; the field and the pages catch up here.
void TIPSubnetArea::FinishSubnetLoad()
{
    UpdateBitsRange();
    FSubnetTableDirty = true;
    UpdateSubnetDisplay();
}

bool TIPSubnetArea::LoadSubnetSettings()
{
    TRegKey key;
    if (!key.OpenKey(SubnetSettingsKey, false))
        return false;
    BitsMenuItemClick(key.ReadBool(QStringLiteral("UseSubnetBits")) ? SubnetBitsMenuItem : NetworkBitsMenuItem);
    RFC1878MenuItem->setChecked(key.ReadBool(QStringLiteral("UseRFC1878")));
    RFC1878MenuItemClick();

    const QString addressType = key.ReadString(QStringLiteral("AddressType"));
    if (addressType.isEmpty())
        RaiseError(QStringLiteral("Failed to get data for '%1'").arg(QStringLiteral("AddressType")));
    FSubnet.SetClassLetter(addressType.at(0));

    const qint32 subnetBits = key.ReadInteger(QStringLiteral("SubnetBits"));
    if (subnetBits < 0 || subnetBits > 255)
        RaiseError(QStringLiteral("Range check error"));
    FSubnet.SetSubnetBits(quint8(subnetBits));

    FSubnet.SetValue(quint32(key.ReadInteger(QStringLiteral("SubnetAddress"))));
    FSupernet.SetValue(quint32(key.ReadInteger(QStringLiteral("SupernetAddress"))));
    key.CloseKey();
    return true;
}

void TIPSubnetArea::SaveSubnetSettings()
{
    TRegKey key;
    if (!key.OpenKey(SubnetSettingsKey, true))
        return;
    key.WriteBool(QStringLiteral("UseSubnetBits"), SubnetBitsMenuItem->isChecked());
    key.WriteBool(QStringLiteral("UseRFC1878"), RFC1878MenuItem->isChecked());
    key.WriteString(QStringLiteral("AddressType"), QString(FSubnet.ClassLetter()));
    key.WriteInteger(QStringLiteral("SubnetBits"), FSubnet.SubnetBits());
    key.WriteInteger(QStringLiteral("SubnetAddress"), qint32(FSubnet.GetValue()));
    key.WriteInteger(QStringLiteral("SupernetAddress"), qint32(FSupernet.GetValue()));
    key.CloseKey();
}
