#pragma once

// The CIDR page of the IP subnet calculator: an address and, in the area's
// bits field, a count of supernet bits; shows how many classful networks the
// supernet covers, its address range, and its route and mask in decimal and
// hexadecimal.
//
// The page shows the supernet model it is given and reports what is typed
// into its octet fields; the area applies that to the model and refreshes.

#include <QWidget>

class QLineEdit;
class TIPAddSupernet;
class TIPAddressEdit;
class TVorlCustomPanel;

class TCIDRPage final : public QWidget
{
    Q_OBJECT
public:
    // `supernet` is the model the page shows; it outlives the page.
    explicit TCIDRPage(const TIPAddSupernet &supernet, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TCIDRPage)

    // The page's step of the area's refresh: the supernet's octets in the
    // fields and its values in the panels.
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

signals:
    // An octet field was left for another control, or Enter was pressed in
    // it: `index` is the octet index, 0 to 3, and `text` the field's text.
    void OctetEntered(int index, const QString &text);

private:
    const TIPAddSupernet &FSupernet;
};
