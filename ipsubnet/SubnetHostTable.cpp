#include "ipsubnet/SubnetHostTable.h"

#include "controls/StringTableModel.h"
#include "ipsubnet/IPAddress.h"

#include <string_view>

using namespace std::string_view_literals;

int SubnetHostRowCount(const TIPAddSubnet &subnet)
{
    return int(qMin<quint32>(subnet.MaxSubnets(), MaxSubnetHostRows));
}

namespace {

// TIPAddress::FormatDecimal written straight into a buffer: the table makes
// two of these per row for up to 16385 rows, and formatting through
// QString::arg would cost most of the fill.
QChar *AppendDottedDecimal(QChar *out, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        const uint octet = (value >> shift) & 0xFF;
        if (octet >= 100)
            *out++ = QChar(u'0' + octet / 100);
        if (octet >= 10)
            *out++ = QChar(u'0' + octet / 10 % 10);
        *out++ = QChar(u'0' + octet % 10);
        if (shift > 0)
            *out++ = u'.';
    }
    return out;
}

} // namespace

QString HostRangeText(quint32 first, quint32 last)
{
    // Two addresses of at most 15 characters and the 5 of the separator.
    QChar buffer[35];
    QChar *out = AppendDottedDecimal(buffer, first);
    for (char16_t c : u"  -  "sv)
        *out++ = c;
    out = AppendDottedDecimal(out, last);
    return QString(buffer, out - buffer);
}

void FillSubnetHostTable(TStringTableModel &table, const TIPAddSubnet &subnet)
{
    // A model of the same network walked from the first host of its first
    // usable subnet, one subnet per row.
    TIPAddSubnet scratch;
    scratch.SetSubnetBits(subnet.SubnetBits());
    scratch.SetRFC1878(subnet.RFC1878());
    scratch.SetValue(subnet.AllocationFirst());
    const quint32 step = quint32(1) << subnet.HostBits();
    const int rows = SubnetHostRowCount(subnet);

    table.SetRowCount(rows + 1);
    table.BeginUpdate();
    for (int row = 1; row <= rows; ++row) {
        table.SetCells(0, row, QString::number(row - 1));
        table.SetCells(1, row, HostRangeText(scratch.FirstHost(), scratch.LastHost()));
        // Not past the last row: beyond the last subnet of 223.255.255.0 the
        // address would wrap around.
        if (row < rows)
            scratch.SetValue(scratch.GetValue() + step);
    }
    table.EndUpdate();
}
