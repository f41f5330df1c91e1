#pragma once

// The IP subnet calculator: a classful IPv4 address and a count of subnet
// (or network) bits, shown as general information, address information, a
// table of every usable subnet and a CIDR view.
//
// Above the pages sit the class selector and the bits field, shared by all
// four pages. On General Info, Address Info and Subnets/Hosts they drive the
// subnet model (FSubnet); the bits field holds subnet bits or, in
// network-bits mode, the class's network bits plus the subnet bits. On the
// CIDR page they drive the supernet model (FSupernet) and the field holds
// the supernet bits. UpdateSubnetDisplay redraws the shown page from the
// models; it is guarded against the nested selector and bits-field events
// it raises itself.
//
// The Subnets/Hosts and CIDR page contents are built in their own files and
// plug their redraw step in with PlugPageContent.

#include <functional>

#include <QWidget>

#include "controls/CalcArea.h"
#include "controls/IPAddressEdit.h"
#include "ipsubnet/IPAddress.h"

class QAbstractButton;
class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
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
    // Reads the "Dravok" subkey, then redraws whatever was applied: a read
    // error stops the load but keeps the values read before it.
    void LoadSettings() override;
    void SaveSettings() override { SaveSubnetSettings(); }

    // The Options menu items, shown in the main window's menu bar.
    QList<QAction *> OptionsActions() const;

    // Redraws the shown page from the models; the main window calls it after
    // every page switch of any calculator.
    void UpdateSubnetDisplay();
    // The bits field's range for the shown page and mode; the field then
    // shows the model's count, clamped into the range (a clamp is applied
    // to the model).
    void UpdateBitsRange();

    // Handlers.
    void AddressTypeRadioGroupClick();
    void BitsMenuItemClick(QAction *sender);
    void BitsSpinEditChange();
    void RFC1878MenuItemClick();
    void MaskEdit1Exit();
    // MaskEdit2 to MaskEdit4; `index` is the octet index, 1 to 3.
    void MaskEdit2Exit(int index);

    bool LoadSubnetSettings();
    void SaveSubnetSettings();

    // What the Subnets/Hosts and CIDR pages work on.
    TIPAddSubnet &Subnet() { return FSubnet; }
    TIPAddSupernet &Supernet() { return FSupernet; }
    bool SubnetTableDirty() const { return FSubnetTableDirty; }
    void SetSubnetTableDirty(bool value) { FSubnetTableDirty = value; }
    bool NetworkBitsMode() const;

    // Plugs in the redraw step of the Subnets/Hosts or CIDR page (`page` is
    // SubnetHostTab or CIDRTab). UpdateSubnetDisplay runs it while that page
    // is shown, after selecting the class and setting the bits field.
    void PlugPageContent(QWidget *page, std::function<void()> update);

    QGroupBox *AddressTypeRadioGroup = nullptr;
    QLabel *BitsLabel = nullptr;
    TBetterSpinEdit *BitsSpinEdit = nullptr;
    // Created with the Subnets/Hosts page; enabled only while it is shown.
    QAbstractButton *CopySubnetHostButton = nullptr;

    TPageControl *DravokPageControl = nullptr;
    QWidget *GeneralInfoTab = nullptr;
    QWidget *AddressInfoTab = nullptr;
    QWidget *SubnetHostTab = nullptr;
    QWidget *CIDRTab = nullptr;

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

    // A sunken, right-aligned read-only value panel, 21 pixels high, as on
    // every page of this calculator: on the caption's page, described by the
    // caption (its buddy, so a screen reader reads the caption with the value).
    static TVorlCustomPanel *CreateValuePanel(QLabel *caption, const char *name, int left, int top, int width);
    static QLabel *CreateLabel(QWidget *page, const QString &text, int left, int top);

private:
    void InitSubnetCalculator();
    void CreateSelectorAndBits();
    void CreateGeneralInfoPage();
    void CreateAddressInfoPage();
    void CreateOptionsActions();
    void FinishSubnetLoad();

    bool CIDRPageShown() const;
    int SubnetBitsFieldValue() const;
    void SelectAddressType(int index);
    void UpdateGeneralInfo();
    void UpdateAddressInfo();

    TIPAddSubnet FSubnet;
    TIPAddSupernet FSupernet;
    bool FSubnetTableDirty = true;
    bool FUpdatingSubnetDisplay = false;
    // The bits field's bounds are being set: its change events carry values
    // of the old range or mode and must not reach the models.
    bool FSettingBitsRange = false;
    QButtonGroup *FAddressTypeButtons = nullptr;
    std::function<void()> FUpdateSubnetHostPage;
    std::function<void()> FUpdateCIDRPage;
};
