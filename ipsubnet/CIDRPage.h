#pragma once

// The CIDR page of the IP subnet calculator: an address and, in the area's
// bits field, a count of supernet bits; shows how many classful networks the
// supernet covers, its address range, and its route and mask in decimal
// and hexadecimal. It works on the area's supernet model only; nothing here
// marks the subnet table dirty.

#include <QObject>

class QLineEdit;
class TIPAddressEdit;
class TIPSubnetArea;
class TVorlCustomPanel;

class TCIDRPage final : public QObject
{
    Q_OBJECT
public:
    // Builds the page's controls on the area's CIDRTab and plugs the page's
    // refresh into the area.
    explicit TCIDRPage(TIPSubnetArea *area);
    Q_DISABLE_COPY_MOVE(TCIDRPage)

    // Leaving any of MaskEdit5 to MaskEdit8 (or Enter in it); `index` is the
    // octet index, 0 to 3. The field's text is read by ReadOctetText; the
    // first octet then follows the network rules of the model.
    void MaskEdit5Exit(int index);
    // The CIDR step of the area's UpdateSubnetDisplay.
    void UpdateCIDRDisplay();

    TIPAddressEdit *SupernetAddressEdit = nullptr;
    QLineEdit *MaskEdit5 = nullptr;
    QLineEdit *MaskEdit6 = nullptr;
    QLineEdit *MaskEdit7 = nullptr;
    QLineEdit *MaskEdit8 = nullptr;
    TVorlCustomPanel *NumNetworksPanel = nullptr;
    TVorlCustomPanel *AllocationPanel = nullptr;
    TVorlCustomPanel *RouteMaskPanel = nullptr;
    TVorlCustomPanel *HexRouteMaskPanel = nullptr;

private:
    TIPSubnetArea *FArea;
};
