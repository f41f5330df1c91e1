#pragma once

// The contents of the Subnets/Hosts table: one row per usable subnet of a
// subnet model's network, in ascending address order, below one header row.

#include <QString>

class TIPAddSubnet;
class TStringTableModel;

// Listing every subnet of a class A network with 22 subnet bits would take
// four million rows; the table stops at this many.
constexpr int MaxSubnetHostRows = 16385;

// The rows listed for `subnet`, header excluded: MaxSubnets, at most
// MaxSubnetHostRows.
int SubnetHostRowCount(const TIPAddSubnet &subnet);

// Sets `table` to the header row plus SubnetHostRowCount rows and writes
// them: column 0 the subnet's position from 0, column 1 its first and last
// host (HostRangeText: "192.168.1.65  -  192.168.1.126"). Header cells are
// left alone.
void FillSubnetHostTable(TStringTableModel &table, const TIPAddSubnet &subnet);
