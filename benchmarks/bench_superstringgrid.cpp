#include "controls/SuperStringGrid.h"

#include "controls/DesignFont.h"

#include <QApplication>
#include <QTest>

#include <malloc.h>

#include <memory>

// The largest table of the program: 16385 listed subnets below one header
// row. Budgets: fill and first paint under 10 ms, copying every row under
// 20 ms, the table's storage under 4 MB.
class bench_SuperStringGrid : public QObject
{
    Q_OBJECT

private slots:
    // The benchmarks build without the test support library.
    void initTestCase() { QApplication::setFont(DesignFont()); }
    void fillAndFirstPaint();
    void selectAllAndClipboardText();
    void tableMemory();

private:
    static constexpr int Rows = 16385 + 1;
    static constexpr int Cols = 4;
    static const QList<QStringList> &Texts();
    static void Fill(TSuperStringGrid &grid);
};

const QList<QStringList> &bench_SuperStringGrid::Texts()
{
    static const QList<QStringList> texts = [] {
        const auto dotted = [](quint32 a) {
            return QStringLiteral("%1.%2.%3.%4").arg(a >> 24).arg((a >> 16) & 255).arg((a >> 8) & 255).arg(a & 255);
        };
        QList<QStringList> rows;
        rows.reserve(Rows);
        rows.append({QStringLiteral("Subnet"), QStringLiteral("Host Range"), QStringLiteral("Broadcast"),
                     QStringLiteral("Hosts")});
        for (int row = 1; row < Rows; ++row) {
            const quint32 base = (10u << 24) + quint32(row - 1) * 4u;
            rows.append({QString::number(row - 1), dotted(base + 1) + QStringLiteral("  -  ") + dotted(base + 2),
                         dotted(base + 3), QStringLiteral("2")});
        }
        return rows;
    }();
    return texts;
}

void bench_SuperStringGrid::Fill(TSuperStringGrid &grid)
{
    const QList<QStringList> &texts = Texts();
    grid.SetColCount(Cols);
    grid.SetRowCount(Rows);
    grid.BeginUpdate();
    for (int row = 0; row < Rows; ++row)
        for (int col = 0; col < Cols; ++col)
            grid.SetCells(col, row, texts[row][col]);
    grid.EndUpdate();
}

void bench_SuperStringGrid::fillAndFirstPaint()
{
    // The texts are made once beforehand: only the grid's work is timed.
    Texts();
    QBENCHMARK {
        TSuperStringGrid grid;
        grid.SetFixedFont(DesignFont());
        grid.resize(276, 200);
        Fill(grid);
        grid.grab();
    }
}

void bench_SuperStringGrid::selectAllAndClipboardText()
{
    TSuperStringGrid grid;
    grid.resize(276, 200);
    Fill(grid);
    grid.grab();
    QString text;
    QBENCHMARK {
        grid.selectAll();
        text = GridClipboardText(*grid.Model(), grid.Selection(), grid.CopyModes());
    }
    QCOMPARE(text.count(u'\n'), Rows);
    QVERIFY(text.startsWith(QStringLiteral("Subnet\tHost Range\tBroadcast\tHosts\r\n0\t10.0.0.1  -  10.0.0.2\t")));
}

void bench_SuperStringGrid::tableMemory()
{
    const auto heapInUse = [] { return qsizetype(mallinfo2().uordblks); };
    Texts();
    const qsizetype before = heapInUse();
    auto grid = std::make_unique<TSuperStringGrid>();
    const qsizetype emptyGrid = heapInUse();
    Fill(*grid);
    const qsizetype filled = heapInUse();
    qInfo("table storage %lld bytes, heap growth of the fill %lld bytes (empty grid %lld bytes)",
          qlonglong(grid->Model()->StorageBytes()), qlonglong(filled - emptyGrid), qlonglong(emptyGrid - before));
    QVERIFY(filled - emptyGrid < 4 * 1024 * 1024);
}

QTEST_MAIN(bench_SuperStringGrid)
#include "bench_superstringgrid.moc"
