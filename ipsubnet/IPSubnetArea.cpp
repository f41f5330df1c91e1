#include "ipsubnet/IPSubnetArea.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

#include "app/VorlGlobal.h"
#include "controls/Artwork.h"
#include "controls/BetterSpinEdit.h"
#include "controls/Guarded.h"
#include "controls/PageControl.h"
#include "controls/VorlPanels.h"
#include "ipsubnet/SubnetPageLayout.h"
#include "ipsubnet/SubnetSettings.h"

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
    const auto addPage = [this](QWidget *page, const char *name, const QString &caption) {
        page->setObjectName(QLatin1String(name));
        DravokPageControl->addTab(page, caption);
    };
    GeneralInfoTab = new QWidget;
    addPage(GeneralInfoTab, "GeneralInfoTab", QStringLiteral("General Info"));
    AddressInfoTab = new QWidget;
    addPage(AddressInfoTab, "AddressInfoTab", QStringLiteral("Address Info"));
    CreateGeneralInfoPage();
    CreateAddressInfoPage();
    // Built in the page control, so that their captions are measured in
    // the area's font.
    SubnetHostTab = new TSubnetHostPage(FSubnet, DravokPageControl);
    addPage(SubnetHostTab, "SubnetHostTab", QStringLiteral("Subnets/Hosts"));
    CopySubnetHostButton = CreateCopyButton(this, "CopySubnetHostButton",
                                            QStringLiteral("Copy subnet/host table to clipboard"), QRect(232, 54, 25, 25));
    CopySubnetHostButton->setEnabled(false);
    GuardedConnect(CopySubnetHostButton, &QToolButton::clicked, this, &TIPSubnetArea::CopySubnetHostButtonClick);
    CIDRTab = new TCIDRPage(FSupernet, DravokPageControl);
    addPage(CIDRTab, "CIDRTab", QStringLiteral("CIDR"));
    GuardedConnect(CIDRTab, &TCIDRPage::OctetEntered, this, &TIPSubnetArea::MaskEdit5Exit);
    CreateOptionsActions();

    setTabOrder(BitsSpinEdit, DravokPageControl);
    DravokPageControl->setCurrentWidget(GeneralInfoTab);
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

bool TIPSubnetArea::CIDRPageShown() const
{
    return DravokPageControl->currentWidget() == CIDRTab;
}

bool TIPSubnetArea::SubnetTableDirty() const
{
    return SubnetHostTab->TableDirty();
}

// --- Page bookkeeping ---

void TIPSubnetArea::PageLeaving(QWidget *page)
{
    if (page == SubnetHostTab) {
        CopySubnetHostButton->setEnabled(false);
        emit CopyEnabledChanged(false);
    } else if (page == CIDRTab) {
        UpdateSelectorCaptions();
        DravokPageControl->repaint();
    }
}

void TIPSubnetArea::PageEntered(QWidget *page)
{
    if (page == SubnetHostTab) {
        CopySubnetHostButton->setEnabled(true);
        emit CopyTargetChanged(CopySubnetHostButton);
    }
    KeepSubnetBitsInRange();
}

void TIPSubnetArea::KeepSubnetBitsInRange()
{
    if (!CIDRPageShown() && FSubnet.RaiseToMinSubnetBits())
        SubnetHostTab->MarkTableDirty();
}

// --- Handlers ---

void TIPSubnetArea::BitsSpinEditChange()
{
    const int value = BitsSpinEdit->Value();
    if (CIDRPageShown())
        FSupernet.SetSupernetBits(quint8(std::clamp(value, 0, 255)));
    else if (FSubnet.SetBitsCount(FBitsMode, value))
        SubnetHostTab->MarkTableDirty();
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
    } else {
        FSubnet.SetClassTypeKeepingBits(FBitsMode, classType);
        SubnetHostTab->MarkTableDirty();
    }
    UpdateSubnetDisplay();
}

// On the CIDR page only the check mark changes: the field keeps its
// supernet meaning until a subnet page shows it.
void TIPSubnetArea::BitsMenuItemClick(QAction *sender)
{
    FBitsMode = sender == NetworkBitsMenuItem ? TBitsMode::bmNetworkBits : TBitsMode::bmSubnetBits;
    if (!CIDRPageShown())
        UpdateSubnetDisplay();
}

void TIPSubnetArea::RFC1878MenuItemClick()
{
    FSubnet.SetRFC1878(RFC1878MenuItem->isChecked());
    // Without the allowance the field's range starts at two subnet bits.
    KeepSubnetBitsInRange();
    SubnetHostTab->MarkTableDirty();
    UpdateSubnetDisplay();
}

void TIPSubnetArea::MaskEdit1Exit()
{
    FSubnet.SetOctetText(FBitsMode, 0, MaskEdit1->text());
    SubnetHostTab->MarkTableDirty();
    UpdateSubnetDisplay();
}

void TIPSubnetArea::MaskEdit2Exit(int index)
{
    FSubnet.SetOctetText(FBitsMode, quint8(index), AddressEdit->Field(index)->text());
    SubnetHostTab->MarkTableDirty();
    UpdateSubnetDisplay();
}

void TIPSubnetArea::MaskEdit5Exit(int index, const QString &text)
{
    FSupernet.SetOctetText(quint8(index), text);
    UpdateSubnetDisplay();
}

void TIPSubnetArea::CopySubnetHostButtonClick()
{
    SubnetHostTab->CopyToClipboard();
}

// --- Display ---

void TIPSubnetArea::UpdateSubnetDisplay()
{
    const bool cidr = CIDRPageShown();
    {
        const QSignalBlocker blocker(FAddressTypeButtons);
        const TIPClassType classType = cidr ? FSupernet.ClassType() : FSubnet.ClassType();
        if (QAbstractButton *item = FAddressTypeButtons->button(int(classType)))
            item->setChecked(true);
    }
    UpdateSelectorCaptions();
    UpdateBitsRange();
    UpdateOptionsItems();

    QWidget *page = DravokPageControl->currentWidget();
    if (page == GeneralInfoTab)
        UpdateGeneralInfo();
    else if (page == AddressInfoTab)
        UpdateAddressInfo();
    else if (page == SubnetHostTab)
        SubnetHostTab->UpdateSubnetHostDisplay();
    else if (page == CIDRTab)
        CIDRTab->UpdateCIDRDisplay();
}

void TIPSubnetArea::UpdateSelectorCaptions()
{
    if (CIDRPageShown()) {
        AddressTypeRadioGroup->setTitle(QStringLiteral("Address Prefix"));
        BitsLabel->setText(QStringLiteral("&Supernet Bits"));
    } else {
        AddressTypeRadioGroup->setTitle(QStringLiteral("Address Type"));
        BitsLabel->setText(FBitsMode == TBitsMode::bmNetworkBits ? QStringLiteral("&Network Bits")
                                                                 : QStringLiteral("&Subnet Bits"));
    }
}

// The minimum is written before the maximum; the count of the models lies
// inside the range, so the field shows it unclamped.
void TIPSubnetArea::UpdateBitsRange()
{
    const bool cidr = CIDRPageShown();
    const TBitsRange range = cidr ? TIPAddSupernet::BitsRange() : FSubnet.BitsRange(FBitsMode);
    const QSignalBlocker blocker(BitsSpinEdit);
    BitsSpinEdit->SetMinValue(range.Minimum);
    BitsSpinEdit->SetMaxValue(range.Maximum);
    BitsSpinEdit->SetValue(cidr ? FSupernet.SupernetBits() : FSubnet.BitsCount(FBitsMode));
}

// Checking an item from code triggers nothing; the action group unchecks
// the other mode.
void TIPSubnetArea::UpdateOptionsItems()
{
    (FBitsMode == TBitsMode::bmNetworkBits ? NetworkBitsMenuItem : SubnetBitsMenuItem)->setChecked(true);
    RFC1878MenuItem->setChecked(FSubnet.RFC1878());
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
    {
        // Written, not typed: nothing to apply.
        const QSignalBlocker blocker(AddressEdit);
        AddressEdit->ShowAddress(FSubnet.GetValue());
    }
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
    KeepSubnetBitsInRange();
    SubnetHostTab->MarkTableDirty();
    UpdateSubnetDisplay();
}

bool TIPSubnetArea::LoadSubnetSettings()
{
    const std::optional<TStoredSubnetSettings> stored = ReadSubnetSettings();
    if (!stored)
        return false;
    // What was read applies in the table's order, as each value would have
    // been applied as it was read.
    const TSubnetSettings &values = stored->Values;
    if (stored->Has(TSubnetSetting::ssUseSubnetBits))
        FBitsMode = values.UseSubnetBits ? TBitsMode::bmSubnetBits : TBitsMode::bmNetworkBits;
    if (stored->Has(TSubnetSetting::ssUseRFC1878)) {
        FSubnet.SetRFC1878(values.UseRFC1878);
        KeepSubnetBitsInRange();
    }
    if (stored->Has(TSubnetSetting::ssAddressType))
        FSubnet.SetClassLetter(values.AddressType);
    if (stored->Has(TSubnetSetting::ssSubnetBits))
        FSubnet.SetSubnetBits(quint8(values.SubnetBits));
    if (stored->Has(TSubnetSetting::ssSubnetAddress))
        FSubnet.SetValue(values.SubnetAddress);
    if (stored->Has(TSubnetSetting::ssSupernetAddress))
        FSupernet.SetValue(values.SupernetAddress);
    if (!stored->Error.isEmpty())
        RaiseError(stored->Error);
    return true;
}

void TIPSubnetArea::SaveSubnetSettings()
{
    TSubnetSettings settings;
    settings.UseSubnetBits = FBitsMode == TBitsMode::bmSubnetBits;
    settings.UseRFC1878 = FSubnet.RFC1878();
    settings.AddressType = FSubnet.ClassLetter();
    settings.SubnetBits = FSubnet.SubnetBits();
    settings.SubnetAddress = FSubnet.GetValue();
    settings.SupernetAddress = FSupernet.GetValue();
    WriteSubnetSettings(settings);
}
