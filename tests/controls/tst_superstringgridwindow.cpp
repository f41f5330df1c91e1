#include "controls/SuperStringGrid.h"

#include "controls/DesignFont.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <climits>
#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TGridRowSelection)

namespace {

// Rows "n", "a<n>", "b<n>", counted as they are read.
class TNumberedRows final : public TGridRowSource
{
public:
    explicit TNumberedRows(int rows) : Rows(rows) {}

    int RowCount() const override { return Rows; }
    QStringList RowCells(int row) const override
    {
        ++Reads;
        return {QString::number(row), u"a"_s + QString::number(row), u"b"_s + QString::number(row)};
    }

    int Rows = 0;
    mutable int Reads = 0;
};

} // namespace

// TSuperStringGrid in window mode: a table read from a row source one
// viewport at a time.
class tst_SuperStringGridWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FEnvironment = std::make_unique<TTestEnvironment>(); }
    void init();
    void cleanup();

    void holdsOnlyAScreenfulOfRows();
    void topRowReadsItsRows_data();
    void topRowReadsItsRows();
    void keysMoveTheWindow_data();
    void keysMoveTheWindow();
    void shiftExtendsTheSelectionPastTheWindow();
    void wheelScrollsThreeRowsANotch();
    void shiftClickExtendsFromTheAnchorInDataRows();
    void dragPastTheBottomEdgeScrolls();
    void headerAndCornerSelectEveryDataRow();
    void scrollBarFollowsTheWindow();
    void resizeChangesThePage();
    void sourceChangeStartsAtTheTop();
    void emptySourceHasNoSelection();
    void editCommandsChangeNothing();
    void rowsShareOneHeight();
    void modelStaysConsistent();
    void leavingWindowModeRestoresTheStoredTable();

private:
    QString Shown(int col, int windowRow) const { return FGrid->Cells(col, 1 + windowRow); }
    QPoint CellPoint(int col, int windowRow) const { return FGrid->CellRect(col, 1 + windowRow).center(); }

    std::unique_ptr<TTestEnvironment> FEnvironment;
    std::unique_ptr<TNumberedRows> FRows;
    std::unique_ptr<TSuperStringGrid> FGrid;
};

void tst_SuperStringGridWindow::init()
{
    FRows = std::make_unique<TNumberedRows>(INT_MAX);
    FGrid = std::make_unique<TSuperStringGrid>();
    FGrid->SetFixedFont(DesignFont());
    FGrid->SetColCount(3);
    FGrid->SetRowCount(1);
    FGrid->SetFixedRows(1);
    for (int col = 0; col < 3; ++col)
        FGrid->SetCells(col, 0, u"H"_s + QString::number(col));
    FGrid->SetRowSource(FRows.get());
    FGrid->resize(300, 200);
    FGrid->show();
    QVERIFY(QTest::qWaitForWindowExposed(FGrid.get()));
}

void tst_SuperStringGridWindow::cleanup()
{
    FGrid.reset();
    FRows.reset();
}

void tst_SuperStringGridWindow::holdsOnlyAScreenfulOfRows()
{
    const int page = FGrid->PageRowCount();
    QCOMPARE(page, FGrid->viewport()->height() / FGrid->verticalHeader()->defaultSectionSize());
    QVERIFY(page >= 5);
    // The page and the row partly shown below it, under the header row.
    QCOMPARE(FGrid->RowCount(), 1 + page + 1);
    QCOMPARE(FGrid->Model()->rowCount(), page + 1);
    QCOMPARE(FGrid->DataRowCount(), INT_MAX);
    QCOMPARE(FGrid->MaxTopRow(), INT_MAX - page);
    QVERIFY(FRows->Reads <= 3 * (page + 1));
    QVERIFY(FGrid->Model()->StorageBytes() < 4096);
    QCOMPARE(FGrid->Cells(1, 0), u"H1"_s);
    QCOMPARE(Shown(1, 0), u"a0"_s);
    QCOMPARE(FGrid->verticalScrollBar()->isVisible(), false);
}

void tst_SuperStringGridWindow::topRowReadsItsRows_data()
{
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("shownTop");
    QTest::newRow("first") << 0 << 0;
    QTest::newRow("middle") << 1000000 << 1000000;
    QTest::newRow("past the end is the last page") << INT_MAX << -1;
    QTest::newRow("below zero is the first") << -5 << 0;
}

void tst_SuperStringGridWindow::topRowReadsItsRows()
{
    QFETCH(int, top);
    QFETCH(int, shownTop);
    if (shownTop < 0)
        shownTop = FGrid->MaxTopRow();
    QSignalSpy changes(FGrid.get(), &TSuperStringGrid::WindowChanged);
    FGrid->SetTopRow(top);
    QCOMPARE(FGrid->TopRow(), shownTop);
    QCOMPARE(changes.count(), shownTop == 0 ? 0 : 1);
    QCOMPARE(Shown(0, 0), QString::number(shownTop));
    QCOMPARE(Shown(2, 1), u"b"_s + QString::number(shownTop + 1));
    // At the end the window holds exactly the rows that are left.
    if (shownTop == FGrid->MaxTopRow()) {
        QCOMPARE(FGrid->Model()->rowCount(), FGrid->PageRowCount());
        QCOMPARE(Shown(0, FGrid->PageRowCount() - 1), QString::number(INT_MAX - 1));
    }
}

void tst_SuperStringGridWindow::keysMoveTheWindow_data()
{
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    // -1: the last row of the page; -2: the last data row; -3 the row
    // after the page.
    QTest::newRow("Down inside the page") << 0 << int(Qt::Key_Down) << 0 << 1 << 0;
    QTest::newRow("Down from the last row of the page") << -1 << int(Qt::Key_Down) << 0 << -3 << 0;
    QTest::newRow("Up at the first row") << 0 << int(Qt::Key_Up) << 0 << 0 << 0;
    QTest::newRow("PageDown") << 0 << int(Qt::Key_PageDown) << 0 << -3 << 0;
    QTest::newRow("PageUp near the top") << 2 << int(Qt::Key_PageUp) << 0 << 0 << 0;
    QTest::newRow("Ctrl+End") << 0 << int(Qt::Key_End) << int(Qt::ControlModifier) << -2 << 2;
    QTest::newRow("End stays in the row") << 0 << int(Qt::Key_End) << 0 << 0 << 2;
    QTest::newRow("Right") << 0 << int(Qt::Key_Right) << 0 << 0 << 1;
    QTest::newRow("Down at the last data row") << -2 << int(Qt::Key_Down) << 0 << -2 << 0;
}

void tst_SuperStringGridWindow::keysMoveTheWindow()
{
    QFETCH(int, startRow);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, row);
    QFETCH(int, col);
    const int page = FGrid->PageRowCount();
    const auto resolve = [page](int value) {
        switch (value) {
        case -1:
            return page - 1;
        case -2:
            return INT_MAX - 1;
        case -3:
            return page;
        default:
            return value;
        }
    };
    FGrid->setFocus();
    FGrid->SelectRows(resolve(startRow), resolve(startRow));
    QTest::keyClick(FGrid.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    const int expected = resolve(row);
    QCOMPARE(FGrid->RowSelection(), (TGridRowSelection{col, col, expected, expected}));
    // The current row is wholly in view, and it is the cell Qt shows current.
    QVERIFY(expected >= FGrid->TopRow() && expected < FGrid->TopRow() + page);
    QCOMPARE(FGrid->currentIndex().row(), expected - FGrid->TopRow());
    QCOMPARE(FGrid->currentIndex().column(), col);
    QCOMPARE(FGrid->Cells(0, 1 + expected - FGrid->TopRow()), QString::number(expected));
}

void tst_SuperStringGridWindow::shiftExtendsTheSelectionPastTheWindow()
{
    const int page = FGrid->PageRowCount();
    FGrid->setFocus();
    for (int i = 0; i < page + 3; ++i)
        QTest::keyClick(FGrid.get(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(FGrid->RowSelection(), (TGridRowSelection{0, 0, 0, page + 3}));
    QCOMPARE(FGrid->TopRow(), 4);
    // Rows 0 to 3 are out of view; the shown part of the selection is selected.
    const QModelIndexList shown = FGrid->selectionModel()->selectedIndexes();
    QCOMPARE(shown.size(), page);
    QCOMPARE(FGrid->Selection().Top, 1);
    // Back at the top the rows scrolled away are selected again.
    FGrid->SetTopRow(0);
    QVERIFY(FGrid->selectionModel()->isSelected(FGrid->Model()->index(0, 0)));
    QVERIFY(!FGrid->selectionModel()->isSelected(FGrid->Model()->index(0, 1)));
}

void tst_SuperStringGridWindow::wheelScrollsThreeRowsANotch()
{
    const QPoint at = CellPoint(1, 1);
    const auto turn = [&](int delta) {
        QWheelEvent wheel(at, FGrid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(FGrid->viewport(), &wheel);
    };
    turn(-120);
    QCOMPARE(FGrid->TopRow(), 3);
    turn(-60);
    QCOMPARE(FGrid->TopRow(), 3);
    turn(-60);
    QCOMPARE(FGrid->TopRow(), 6);
    turn(240);
    QCOMPARE(FGrid->TopRow(), 0);
    QCOMPARE(Shown(0, 0), u"0"_s);
    QCOMPARE(FGrid->verticalScrollBar()->value(), 0);
}

void tst_SuperStringGridWindow::shiftClickExtendsFromTheAnchorInDataRows()
{
    QTest::mouseClick(FGrid->viewport(), Qt::LeftButton, {}, CellPoint(1, 2));
    QCOMPARE(FGrid->RowSelection(), (TGridRowSelection{1, 1, 2, 2}));
    FGrid->SetTopRow(5000);
    QTest::mouseClick(FGrid->viewport(), Qt::LeftButton, Qt::ShiftModifier, CellPoint(2, 1));
    QCOMPARE(FGrid->RowSelection(), (TGridRowSelection{1, 2, 2, 5001}));
    QCOMPARE(FGrid->TopRow(), 5000);
    // A plain click starts afresh.
    QTest::mouseClick(FGrid->viewport(), Qt::LeftButton, {}, CellPoint(0, 0));
    QCOMPARE(FGrid->RowSelection(), (TGridRowSelection{0, 0, 5000, 5000}));
}

void tst_SuperStringGridWindow::dragPastTheBottomEdgeScrolls()
{
    QWidget *viewport = FGrid->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, CellPoint(0, 0));
    const QPoint below(CellPoint(0, 0).x(), viewport->height() + 5);
    QTest::mouseMove(viewport, below);
    QTest::mouseMove(viewport, below + QPoint(0, 1));
    QTest::mouseMove(viewport, below + QPoint(0, 2));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, below + QPoint(0, 2));
    const int page = FGrid->PageRowCount();
    QCOMPARE(FGrid->RowSelection(), (TGridRowSelection{0, 0, 0, page + 2}));
    QCOMPARE(FGrid->TopRow(), 3);
    // A move without the button selects nothing more.
    QTest::mouseMove(viewport, below + QPoint(0, 3));
    QCOMPARE(FGrid->RowSelection().LastRow, page + 2);
}

void tst_SuperStringGridWindow::headerAndCornerSelectEveryDataRow()
{
    QHeaderView *header = FGrid->horizontalHeader();
    const auto click = [header](int section, Qt::KeyboardModifiers modifiers) {
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, at);
    };
    FGrid->SetTopRow(70);
    click(1, {});
    QCOMPARE(FGrid->RowSelection(), (TGridRowSelection{1, 1, 0, INT_MAX - 1}));
    QCOMPARE(FGrid->TopRow(), 70);
    click(2, Qt::ShiftModifier);
    QCOMPARE(FGrid->RowSelection(), (TGridRowSelection{1, 2, 0, INT_MAX - 1}));

    QTest::mouseClick(FGrid->viewport(), Qt::LeftButton, {}, CellPoint(0, 0));
    QTest::keyClick(FGrid.get(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(FGrid->RowSelection(), (TGridRowSelection{0, 2, 0, INT_MAX - 1}));

    QTest::mouseClick(FGrid->viewport(), Qt::LeftButton, {}, CellPoint(0, 0));
    FGrid->SetFixedCols(1);
    FGrid->RowSourceChanged();
    FGrid->CornerButton()->click();
    QCOMPARE(FGrid->RowSelection(), (TGridRowSelection{1, 2, 0, INT_MAX - 1}));
}

void tst_SuperStringGridWindow::scrollBarFollowsTheWindow()
{
    QScrollBar bar(Qt::Vertical);
    ConnectWindowScrollBar(FGrid.get(), &bar);
    QCOMPARE(bar.minimum(), 0);
    QCOMPARE(bar.maximum(), FGrid->MaxTopRow());
    QCOMPARE(bar.pageStep(), FGrid->PageRowCount());
    bar.setValue(123456);
    QCOMPARE(FGrid->TopRow(), 123456);
    QCOMPARE(Shown(1, 0), u"a123456"_s);
    FGrid->SetTopRow(7);
    QCOMPARE(bar.value(), 7);
    bar.triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(FGrid->TopRow(), FGrid->MaxTopRow());
    QCOMPARE(Shown(0, FGrid->PageRowCount() - 1), QString::number(INT_MAX - 1));
    FRows->Rows = 3;
    FGrid->RowSourceChanged();
    QCOMPARE(bar.maximum(), 0);
    QCOMPARE(bar.value(), 0);
}

void tst_SuperStringGridWindow::resizeChangesThePage()
{
    QSignalSpy changes(FGrid.get(), &TSuperStringGrid::WindowChanged);
    const int page = FGrid->PageRowCount();
    FGrid->resize(300, 200 + 5 * FGrid->verticalHeader()->defaultSectionSize());
    QTRY_COMPARE(FGrid->PageRowCount(), page + 5);
    QVERIFY(changes.count() >= 1);
    QCOMPARE(FGrid->Model()->rowCount(), page + 6);
    QCOMPARE(Shown(0, page + 5), QString::number(page + 5));
}

void tst_SuperStringGridWindow::sourceChangeStartsAtTheTop()
{
    FGrid->SetTopRow(900);
    QTest::mouseClick(FGrid->viewport(), Qt::LeftButton, {}, CellPoint(2, 3));
    FRows->Rows = 1000;
    FGrid->RowSourceChanged();
    QCOMPARE(FGrid->TopRow(), 0);
    QCOMPARE(FGrid->RowSelection(), (TGridRowSelection{0, 0, 0, 0}));
    QCOMPARE(FGrid->MaxTopRow(), 1000 - FGrid->PageRowCount());
    QCOMPARE(FGrid->currentIndex(), FGrid->Model()->index(0, 0));
}

void tst_SuperStringGridWindow::emptySourceHasNoSelection()
{
    FRows->Rows = 0;
    FGrid->RowSourceChanged();
    QCOMPARE(FGrid->RowCount(), 1);
    QVERIFY(FGrid->RowSelection().IsEmpty());
    QCOMPARE(FGrid->MaxTopRow(), 0);
    FGrid->setFocus();
    QTest::keyClick(FGrid.get(), Qt::Key_Down);
    QTest::keyClick(FGrid.get(), Qt::Key_A, Qt::ControlModifier);
    QVERIFY(FGrid->RowSelection().IsEmpty());
    // Two rows: the window holds them both and does not scroll.
    FRows->Rows = 2;
    FGrid->RowSourceChanged();
    QCOMPARE(FGrid->RowCount(), 3);
    QTest::keyClick(FGrid.get(), Qt::Key_PageDown);
    QCOMPARE(FGrid->RowSelection(), (TGridRowSelection{0, 0, 1, 1}));
    QCOMPARE(FGrid->TopRow(), 0);
}

void tst_SuperStringGridWindow::editCommandsChangeNothing()
{
    FGrid->SetEditModes({TEditMode::emClear, TEditMode::emCopy, TEditMode::emCut});
    FGrid->SetOptions({TGridOption::goRangeSelect, TGridOption::goEditing, TGridOption::goVertLine,
                       TGridOption::goHorzLine});
    ClearClipboard();
    FGrid->setFocus();
    QTest::keyClick(FGrid.get(), Qt::Key_Delete);
    QTest::keyClick(FGrid.get(), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(FGrid.get(), Qt::Key_C, Qt::ControlModifier);
    FGrid->CopyToClipboard();
    QCoreApplication::processEvents();
    QCOMPARE(Shown(0, 0), u"0"_s);
    QCOMPARE(ClipboardText(), QString());
    // Typing edits nothing and searches nothing.
    QTest::keyClicks(FGrid.get(), u"5"_s);
    QCOMPARE(FGrid->RowSelection(), (TGridRowSelection{0, 0, 0, 0}));
    QVERIFY(!FGrid->findChild<QLineEdit *>());
}

void tst_SuperStringGridWindow::rowsShareOneHeight()
{
    QFont large = FGrid->font();
    large.setPixelSize(24);
    FGrid->setFont(large);
    FGrid->viewport()->repaint();
    const int height = QFontMetrics(large).height() + 2 + 1;
    QTRY_COMPARE(FGrid->verticalHeader()->defaultSectionSize(), height);
    for (int row = 0; row < FGrid->Model()->rowCount(); ++row)
        QCOMPARE(FGrid->verticalHeader()->sectionSize(row), height);
    QTRY_COMPARE(FGrid->PageRowCount(), FGrid->viewport()->height() / height);
}

void tst_SuperStringGridWindow::modelStaysConsistent()
{
    QAbstractItemModelTester tester(FGrid->Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    FGrid->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(FGrid.get(), Qt::Key_PageDown);
    FGrid->SetTopRow(FGrid->MaxTopRow());
    FGrid->resize(300, 400);
    QTRY_VERIFY(FGrid->PageRowCount() > 10);
    FRows->Rows = 4;
    FGrid->RowSourceChanged();
    FRows->Rows = 0;
    FGrid->RowSourceChanged();
    FRows->Rows = 50;
    FGrid->RowSourceChanged();
    FGrid->resize(300, 120);
    QTRY_VERIFY(FGrid->PageRowCount() < 10);
    QCOMPARE(FGrid->Model()->rowCount(), FGrid->PageRowCount() + 1);
}

void tst_SuperStringGridWindow::leavingWindowModeRestoresTheStoredTable()
{
    FGrid->SetRowSource(nullptr);
    QCOMPARE(FGrid->RowCount(), 1);
    QCOMPARE(FGrid->DataRowCount(), 0);
    FGrid->SetRowCount(101);
    for (int row = 1; row < 101; ++row)
        FGrid->SetCells(0, row, QString::number(row));
    QTRY_VERIFY(FGrid->verticalScrollBar()->isVisible());
    FGrid->setFocus();
    QTest::keyClick(FGrid.get(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(FGrid->Selection().Bottom, 100);
    QVERIFY(FGrid->verticalScrollBar()->value() > 0);
}

TARVELO_TEST_MAIN(tst_SuperStringGridWindow)
#include "tst_superstringgridwindow.moc"
