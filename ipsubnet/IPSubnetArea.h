#pragma once

// The IP subnet calculator: a classful IPv4 address and a count of subnet
// (or network) bits, shown as general information, address information, a
// table of every usable subnet and a CIDR view.

#include "controls/CalcArea.h"

class QAction;
class TPageControl;

class TIPSubnetArea final : public TCalcArea
{
    Q_OBJECT
public:
    explicit TIPSubnetArea(QWidget *parent = nullptr);

    TPageControl *PageControl() const override { return DravokPageControl; }
    void PageLeaving(QWidget *page) override;
    void PageEntered(QWidget *page) override;
    void LoadSettings() override;
    void SaveSettings() override;

    // The Options menu items, shown in the main window's menu bar.
    QList<QAction *> OptionsActions() const;

    // Redraws the pages from the models; the main window calls it after
    // every page switch of any calculator.
    void UpdateSubnetDisplay();

    TPageControl *DravokPageControl = nullptr;
    QWidget *GeneralInfoTab = nullptr;
    QWidget *AddressInfoTab = nullptr;
    QWidget *SubnetHostTab = nullptr;
    QWidget *CIDRTab = nullptr;

    QAction *SubnetBitsMenuItem = nullptr;
    QAction *NetworkBitsMenuItem = nullptr;
    QAction *N1 = nullptr;
    QAction *RFC1878MenuItem = nullptr;
};
