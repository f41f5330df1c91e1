#include "controls/StringTableModel.h"

#include "tests/common/TestEnvironment.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TGridRect)
Q_DECLARE_METATYPE(TCopyModes)

namespace {

// A 4 x 6 table with one header row: header "A".."D", cell (c, r) = "c,r".
std::unique_ptr<TStringTableModel> SampleTable(int fixedCols = 0)
{
    auto model = std::make_unique<TStringTableModel>();
    model->SetColCount(4);
    model->SetRowCount(6);
    model->SetFixedRows(1);
    model->SetFixedCols(fixedCols);
    const QString headers[] = {u"A"_s, u"B"_s, u"C"_s, u"D"_s};
    for (int col = 0; col < 4; ++col) {
        model->SetCells(col, 0, headers[col]);
        for (int row = 1; row < 6; ++row)
            model->SetCells(col, row, QStringLiteral("%1,%2").arg(col).arg(row));
    }
    return model;
}

} // namespace

class tst_StringTableModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FEnvironment = std::make_unique<TTestEnvironment>(); }

    void cellsKeepTheirNeighbours();
    void outsideCellsReadEmptyAndIgnoreWrites();
    void columnCountKeepsLeftCells();
    void countChangesNotifyOnceWithOldCount();
    void fixedRowsAreTheHeader();
    void passesTheItemModelTester();
    void updateBracketNotifiesOnce();
    void clipboardText_data();
    void clipboardText();
    void cutEmptiesOnlyCopiedNonFixedCells();
    void cutWithoutEditingKeepsCells();
    void rowCellsReplaceTheWholeRow_data();
    void rowCellsReplaceTheWholeRow();
    void rowCellsNotifyOnce();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_StringTableModel::cellsKeepTheirNeighbours()
{
    TStringTableModel model;
    model.SetColCount(3);
    model.SetRowCount(2);
    model.SetCells(1, 1, u"middle"_s);
    model.SetCells(0, 1, u"left"_s);
    model.SetCells(2, 1, u"right"_s);
    model.SetCells(1, 1, u"m"_s);
    model.SetCells(0, 1, QString());
    QCOMPARE(model.Cells(0, 1), QString());
    QCOMPARE(model.Cells(1, 1), u"m"_s);
    QCOMPARE(model.Cells(2, 1), u"right"_s);
    model.SetCells(1, 1, u"a\tb"_s);
    QCOMPARE(model.Cells(1, 1), u"a\tb"_s);
    QCOMPARE(model.Cells(2, 1), u"right"_s);
    QCOMPARE(model.Cells(2, 0), QString());
}

void tst_StringTableModel::outsideCellsReadEmptyAndIgnoreWrites()
{
    TStringTableModel model;
    model.SetColCount(2);
    model.SetRowCount(2);
    model.SetCells(2, 0, u"x"_s);
    model.SetCells(0, 2, u"x"_s);
    model.SetCells(-1, 0, u"x"_s);
    QCOMPARE(model.Cells(2, 0), QString());
    QCOMPARE(model.Cells(0, -1), QString());
    model.SetRowCount(3);
    QCOMPARE(model.Cells(0, 2), QString());
    model.SetColCount(-5);
    QCOMPARE(model.ColCount(), 0);
    QCOMPARE(model.columnCount(), 0);
}

void tst_StringTableModel::columnCountKeepsLeftCells()
{
    auto model = SampleTable();
    model->SetColCount(2);
    QCOMPARE(model->Cells(1, 3), u"1,3"_s);
    QCOMPARE(model->Cells(2, 3), QString());
    model->SetColCount(4);
    QCOMPARE(model->Cells(2, 3), QString());
    QCOMPARE(model->Cells(1, 3), u"1,3"_s);
    model->SetCells(3, 3, u"new"_s);
    QCOMPARE(model->Cells(3, 3), u"new"_s);
    model->SetRowCount(2);
    model->SetRowCount(6);
    QCOMPARE(model->Cells(0, 1), u"0,1"_s);
    QCOMPARE(model->Cells(0, 2), QString());
}

void tst_StringTableModel::countChangesNotifyOnceWithOldCount()
{
    TStringTableModel model;
    QSignalSpy rows(&model, &TStringTableModel::RowCountChanged);
    QSignalSpy cols(&model, &TStringTableModel::ColCountChanged);
    model.SetRowCount(12);
    QCOMPARE(rows.count(), 1);
    QCOMPARE(rows.at(0).at(0).toInt(), 5);
    model.SetRowCount(12);
    QCOMPARE(rows.count(), 1);
    model.SetColCount(2);
    QCOMPARE(cols.count(), 1);
    QCOMPARE(cols.at(0).at(0).toInt(), 5);
    QCOMPARE(model.rowCount(), 11);
    QCOMPARE(model.columnCount(), 1);
}

void tst_StringTableModel::fixedRowsAreTheHeader()
{
    auto model = SampleTable(1);
    QCOMPARE(model->rowCount(), 5);
    QCOMPARE(model->columnCount(), 3);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), u"B"_s);
    QCOMPARE(model->headerData(1, Qt::Vertical).toString(), u"0,2"_s);
    QCOMPARE(model->data(model->index(0, 0)).toString(), u"1,1"_s);
    QCOMPARE(model->CellIndex(2, 3), model->index(2, 1));
    QVERIFY(!model->CellIndex(0, 3).isValid());
    QVERIFY(!model->CellIndex(2, 0).isValid());
    QVERIFY(model->setData(model->index(1, 1), u"edited"_s));
    QCOMPARE(model->Cells(2, 2), u"edited"_s);

    model->SetFixedRows(2);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), u"B\n1,1"_s);
    QCOMPARE(model->rowCount(), 4);
}

void tst_StringTableModel::passesTheItemModelTester()
{
    TStringTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.SetRowCount(100);
    model.SetColCount(3);
    for (int row = 0; row < 100; ++row)
        model.SetCells(row % 3, row, QString::number(row));
    model.SetFixedRows(0);
    model.SetFixedCols(2);
    model.SetRowCount(1);
    model.SetRowCount(0);
    model.SetColCount(1);
    model.SetRowCount(40);
    model.BeginUpdate();
    model.SetCells(0, 20, u"x"_s);
    model.EndUpdate();
    model.SetFixedCols(0);
    model.SetColCount(4);
    model.SetCells(3, 39, u"last"_s);
    QCOMPARE(model.data(model.index(39, 3)).toString(), u"last"_s);
}

void tst_StringTableModel::updateBracketNotifiesOnce()
{
    auto model = SampleTable();
    QSignalSpy changes(model.get(), &QAbstractItemModel::dataChanged);
    model->BeginUpdate();
    model->BeginUpdate();
    for (int row = 1; row < 6; ++row)
        model->SetCells(2, row, u"z"_s);
    model->EndUpdate();
    QCOMPARE(changes.count(), 0);
    model->EndUpdate();
    QCOMPARE(changes.count(), 1);
    // An unbalanced EndUpdate is harmless.
    model->EndUpdate();
    model->SetCells(0, 1, u"y"_s);
    QCOMPARE(changes.count(), 2);
    // Writing the text a cell already has changes nothing.
    model->SetCells(0, 1, u"y"_s);
    QCOMPARE(changes.count(), 2);
}

void tst_StringTableModel::clipboardText_data()
{
    QTest::addColumn<int>("fixedCols");
    QTest::addColumn<TGridRect>("selection");
    QTest::addColumn<TCopyModes>("modes");
    QTest::addColumn<QString>("text");

    const TCopyModes defaults{TCopyMode::cmFixedCols, TCopyMode::cmFixedRows};
    QTest::newRow("one cell gives its header and the cell")
        << 0 << TGridRect{1, 2, 1, 2} << defaults << u"B\r\n1,2\r\n"_s;
    QTest::newRow("rows 3 and 4 of columns 0 and 1")
        << 0 << TGridRect{0, 3, 1, 4} << defaults << u"A\tB\r\n0,3\t1,3\r\n0,4\t1,4\r\n"_s;
    QTest::newRow("no header line without cmFixedRows")
        << 0 << TGridRect{2, 5, 3, 5} << TCopyModes{TCopyMode::cmFixedCols} << u"2,5\t3,5\r\n"_s;
    QTest::newRow("cmEntireRows takes every column")
        << 0 << TGridRect{2, 1, 2, 1} << TCopyModes{TCopyMode::cmEntireRows}
        << u"0,1\t1,1\t2,1\t3,1\r\n"_s;
    QTest::newRow("cmEntireCols takes every non-fixed row")
        << 0 << TGridRect{3, 2, 3, 2} << TCopyModes{TCopyMode::cmEntireCols, TCopyMode::cmFixedRows}
        << u"D\r\n3,1\r\n3,2\r\n3,3\r\n3,4\r\n3,5\r\n"_s;
    QTest::newRow("fixed column first with cmFixedCols")
        << 1 << TGridRect{2, 4, 3, 4} << defaults << u"A\tC\tD\r\n0,4\t2,4\t3,4\r\n"_s;
    QTest::newRow("fixed column left out without cmFixedCols")
        << 1 << TGridRect{2, 4, 2, 4} << TCopyModes{TCopyMode::cmFixedRows} << u"C\r\n2,4\r\n"_s;
    QTest::newRow("corner and headers with both entire modes")
        << 1 << TGridRect{1, 1, 1, 1}
        << TCopyModes{TCopyMode::cmEntireCols, TCopyMode::cmEntireRows, TCopyMode::cmFixedCols, TCopyMode::cmFixedRows}
        << u"A\tB\tC\tD\r\n0,1\t1,1\t2,1\t3,1\r\n0,2\t1,2\t2,2\t3,2\r\n0,3\t1,3\t2,3\t3,3\r\n"
           u"0,4\t1,4\t2,4\t3,4\r\n0,5\t1,5\t2,5\t3,5\r\n"_s;
    QTest::newRow("selection past the table is clamped")
        << 0 << TGridRect{3, 5, 9, 9} << defaults << u"D\r\n3,5\r\n"_s;
}

void tst_StringTableModel::clipboardText()
{
    QFETCH(int, fixedCols);
    QFETCH(TGridRect, selection);
    QFETCH(TCopyModes, modes);
    QFETCH(QString, text);
    auto model = SampleTable(fixedCols);
    QCOMPARE(GridClipboardText(*model, selection, modes), text);
}

void tst_StringTableModel::cutEmptiesOnlyCopiedNonFixedCells()
{
    auto model = SampleTable(1);
    model->SetCells(2, 3, u"tab\there"_s);
    model->SetCells(3, 3, QString());
    const QString text = CutGridClipboardText(*model, {2, 3, 3, 3}, {TCopyMode::cmFixedCols, TCopyMode::cmFixedRows}, true);
    // Verbatim: the TAB inside the cell is not escaped, the empty cell
    // gives an empty last field.
    QCOMPARE(text, u"A\tC\tD\r\n0,3\ttab\there\t\r\n"_s);
    QCOMPARE(model->Cells(2, 3), QString());
    QCOMPARE(model->Cells(0, 3), u"0,3"_s);
    QCOMPARE(model->Cells(2, 0), u"C"_s);
    QCOMPARE(model->Cells(1, 3), u"1,3"_s);
    QCOMPARE(model->Cells(2, 4), u"2,4"_s);
}

void tst_StringTableModel::cutWithoutEditingKeepsCells()
{
    auto model = SampleTable();
    const QString text = CutGridClipboardText(*model, {0, 1, 0, 1}, {TCopyMode::cmFixedRows}, false);
    QCOMPARE(text, u"A\r\n0,1\r\n"_s);
    QCOMPARE(model->Cells(0, 1), u"0,1"_s);
}

void tst_StringTableModel::rowCellsReplaceTheWholeRow_data()
{
    QTest::addColumn<int>("fixedCols");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("read");
    QTest::newRow("all cells") << 0 << 2 << QStringList{u"w"_s, u"x"_s, u""_s, u"zz"_s}
                               << QStringList{u"w"_s, u"x"_s, u""_s, u"zz"_s};
    QTest::newRow("fewer cells empty the rest") << 0 << 3 << QStringList{u"only"_s}
                                                << QStringList{u"only"_s, u""_s, u""_s, u""_s};
    QTest::newRow("extra cells are dropped") << 1 << 5 << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}
                                             << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s};
    QTest::newRow("the header row") << 0 << 0 << QStringList{u"#"_s, u"Net"_s}
                                    << QStringList{u"#"_s, u"Net"_s, u""_s, u""_s};
    QTest::newRow("outside the table") << 0 << 6 << QStringList{u"x"_s} << QStringList{u""_s, u""_s, u""_s, u""_s};
}

void tst_StringTableModel::rowCellsReplaceTheWholeRow()
{
    QFETCH(int, fixedCols);
    QFETCH(int, row);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, read);
    const auto model = SampleTable(fixedCols);
    model->SetRowCells(row, cells);
    QStringList got;
    for (int col = 0; col < 4; ++col)
        got << model->Cells(col, row);
    QCOMPARE(got, read);
    // The neighbours keep their cells, and single cells still write.
    const int other = row == 1 ? 2 : 1;
    QCOMPARE(model->Cells(3, other), QStringLiteral("3,%1").arg(other));
    model->SetCells(1, row, u"again"_s);
    QCOMPARE(model->Cells(1, row), row < 6 ? u"again"_s : QString());
    QCOMPARE(model->Cells(2, row), read.value(2));
}

void tst_StringTableModel::rowCellsNotifyOnce()
{
    const auto model = SampleTable(1);
    QSignalSpy data(model.get(), &QAbstractItemModel::dataChanged);
    QSignalSpy headers(model.get(), &QAbstractItemModel::headerDataChanged);
    model->SetRowCells(3, {u"v"_s, u"a"_s, u"b"_s, u"c"_s});
    QCOMPARE(data.count(), 1);
    QCOMPARE(data.first().at(0).toModelIndex(), model->index(2, 0));
    QCOMPARE(data.first().at(1).toModelIndex(), model->index(2, 2));
    // The fixed column is the vertical header.
    QCOMPARE(headers.count(), 1);
    QCOMPARE(headers.first().at(0).value<Qt::Orientation>(), Qt::Vertical);
    QCOMPARE(model->headerData(2, Qt::Vertical).toString(), u"v"_s);
    model->SetRowCells(0, {u"H"_s, u"I"_s});
    QCOMPARE(headers.count(), 2);
    QCOMPARE(headers.last().at(0).value<Qt::Orientation>(), Qt::Horizontal);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), u"I"_s);

    data.clear();
    headers.clear();
    model->BeginUpdate();
    model->SetRowCells(1, {u"x"_s});
    model->SetRowCells(2, {u"y"_s});
    QCOMPARE(data.count(), 0);
    model->EndUpdate();
    QCOMPARE(data.count(), 1);
}

QTEST_APPLESS_MAIN(tst_StringTableModel)
#include "tst_stringtablemodel.moc"
