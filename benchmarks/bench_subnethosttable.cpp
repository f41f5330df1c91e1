#include "ipsubnet/SubnetHostTable.h"

#include "controls/SuperStringGrid.h"
#include "ipsubnet/IPAddress.h"

#include <QApplication>
#include <QTest>

// The Subnets/Hosts table at its limit: class A with 22 subnet bits lists
// 16385 subnets. Budget: fill and first paint under 10 ms.
class bench_SubnetHostTable : public QObject
{
    Q_OBJECT

private slots:
    void fillAndFirstPaint();
};

void bench_SubnetHostTable::fillAndFirstPaint()
{
    TIPAddSubnet subnet;
    subnet.SetClassType(TIPClassType::icClassA);
    subnet.SetSubnetBits(22);
    TSuperStringGrid grid;
    grid.resize(268, 200);
    grid.SetColCount(2);
    grid.SetCells(0, 0, QStringLiteral("Subnet"));
    grid.SetCells(1, 0, QStringLiteral("Host Range"));
    QBENCHMARK {
        grid.SetRowCount(2);
        FillSubnetHostTable(*grid.Model(), subnet);
        grid.grab();
    }
    QCOMPARE(grid.RowCount(), MaxSubnetHostRows + 1);
}

QTEST_MAIN(bench_SubnetHostTable)
#include "bench_subnethosttable.moc"
