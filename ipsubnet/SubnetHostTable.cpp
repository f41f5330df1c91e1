#include "ipsubnet/SubnetHostTable.h"

#include "controls/StringTableModel.h"
#include "ipsubnet/IPAddress.h"

int SubnetHostRowCount(const TIPAddSubnet &subnet)
{
    return int(qMin<quint32>(subnet.MaxSubnets(), MaxSubnetHostRows));
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
