#pragma once

// The IP subnet calculator: a classful IPv4 address and a count of subnet
// (or network) bits, shown as general information, address information, a
// table of every usable subnet and a CIDR view.
//
// Above the pages sit the class selector and the bits field, shared by all
// four pages. On General Info, Address Info and Subnets/Hosts they drive the
// subnet model (FSubnet); the bits field holds subnet bits or, in
// network-bits mode (FBitsMode), the class's network bits plus the subnet
// bits. On the CIDR page they drive the supernet model (FSupernet) and the
// field holds the supernet bits.
//
// Data flows one way. A handler reads its control, makes one call of a
// model, marks the Subnets/Hosts table dirty when the subnet changed, and
// calls UpdateSubnetDisplay, which writes every control from the models
// with their signals blocked and so never runs a handler. The Subnets/Hosts
// and CIDR pages are widgets of their own that are given the model they show.

#include <QWidget>

#include "controls/CalcArea.h"
#include "controls/IPAddressEdit.h"
#include "ipsubnet/CIDRPage.h"
#include "ipsubnet/IPAddress.h"
#include "ipsubnet/SubnetHostPage.h"

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class TBetterSpinEdit;
class TPageControl;
class TVorlCustomPanel;

class TIPSubnetArea final : public TCalcArea
{
    Q_OBJECT
public:
    explicit TIPSubnetArea(QWidget *parent = nullptr);
    ~TIPSubnetArea() override;
    Q_DISABLE_COPY_MOVE(TIPSubnetArea)

    TPageControl *PageControl() const override { return DravokPageControl; }
    void PageLeaving(QWidget *page) override;
    void PageEntered(QWidget *page) override;
    void AnyPageSwitched() override { UpdateSubnetDisplay(); }
    // Reads the "Dravok" subkey, then redraws whatever was applied: a read
    // error stops the load but keeps the values read before it.
    void LoadSettings() override;
    void SaveSettings() override { SaveSubnetSettings(); }

    // The Options menu items, shown in the main window's menu bar.
    QList<QAction *> OptionsActions() const override;

    // Writes the shown page, the class selector, the bits field and the
    // Options items from the models; the main window calls it after every
    // page switch of any calculator. Runs no handler.
    void UpdateSubnetDisplay();

    // Handlers.
    void AddressTypeRadioGroupClick();
    void BitsMenuItemClick(QAction *sender);
    void BitsSpinEditChange();
    void RFC1878MenuItemClick();
    void MaskEdit1Exit();
    // MaskEdit2 to MaskEdit4; `index` is the octet index, 1 to 3.
    void MaskEdit2Exit(int index);
    // MaskEdit5 to MaskEdit8 of the CIDR page; `index` is the octet index,
    // 0 to 3, and `text` the field's text.
    void MaskEdit5Exit(int index, const QString &text);
    void CopySubnetHostButtonClick();

    bool LoadSubnetSettings();
    void SaveSubnetSettings();

    const TIPAddSubnet &Subnet() const { return FSubnet; }
    const TIPAddSupernet &Supernet() const { return FSupernet; }
    TBitsMode BitsMode() const { return FBitsMode; }
    bool SubnetTableDirty() const;

    QGroupBox *AddressTypeRadioGroup = nullptr;
    QLabel *BitsLabel = nullptr;
    TBetterSpinEdit *BitsSpinEdit = nullptr;
    // Beside the bits field; enabled only while the Subnets/Hosts page is shown.
    QToolButton *CopySubnetHostButton = nullptr;

    TPageControl *DravokPageControl = nullptr;
    QWidget *GeneralInfoTab = nullptr;
    QWidget *AddressInfoTab = nullptr;
    TSubnetHostPage *SubnetHostTab = nullptr;
    TCIDRPage *CIDRTab = nullptr;

    // General Info.
    TVorlCustomPanel *MaxSubnetsPanel = nullptr;
    TVorlCustomPanel *MaxHostsPanel = nullptr;
    TVorlCustomPanel *BitMapPanel = nullptr;
    QLabel *DecClassMaskLabel = nullptr;
    TVorlCustomPanel *DecClassMaskPanel = nullptr;
    QLabel *HexClassMaskLabel = nullptr;
    TVorlCustomPanel *HexClassMaskPanel = nullptr;
    TVorlCustomPanel *DecMaskPanel = nullptr;
    TVorlCustomPanel *HexMaskPanel = nullptr;

    // Address Info.
    TIPAddressEdit *AddressEdit = nullptr;
    QLineEdit *MaskEdit1 = nullptr;
    QLineEdit *MaskEdit2 = nullptr;
    QLineEdit *MaskEdit3 = nullptr;
    QLineEdit *MaskEdit4 = nullptr;
    TVorlCustomPanel *HexAddressPanel = nullptr;
    TVorlCustomPanel *AddressRangePanel = nullptr;
    TVorlCustomPanel *SubnetMaskPanel = nullptr;
    TVorlCustomPanel *SubnetIDPanel = nullptr;
    TVorlCustomPanel *NetworkIDPanel = nullptr;
    TVorlCustomPanel *HostIDPanel = nullptr;

    QAction *SubnetBitsMenuItem = nullptr;
    QAction *NetworkBitsMenuItem = nullptr;
    QAction *N1 = nullptr;
    QAction *RFC1878MenuItem = nullptr;

private:
    void InitSubnetCalculator();
    void CreateSelectorAndBits();
    void CreateGeneralInfoPage();
    void CreateAddressInfoPage();
    void CreateOptionsActions();
    void FinishSubnetLoad();
    // On a subnet page the bits field has the subnet pages' range: a count
    // below it (one subnet bit left without the allowance) is raised.
    void KeepSubnetBitsInRange();

    bool CIDRPageShown() const;
    // Steps of UpdateSubnetDisplay.
    void UpdateSelectorCaptions();
    void UpdateBitsRange();
    void UpdateOptionsItems();
    void UpdateGeneralInfo();
    void UpdateAddressInfo();

    TIPAddSubnet FSubnet;
    TIPAddSupernet FSupernet;
    TBitsMode FBitsMode = TBitsMode::bmSubnetBits;
    QButtonGroup *FAddressTypeButtons = nullptr;
};
