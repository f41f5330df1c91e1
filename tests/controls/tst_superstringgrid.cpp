#include "controls/SuperStringGrid.h"

#include "controls/DesignFont.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TGridRect)
Q_DECLARE_METATYPE(TAlignment)

namespace {

QString Cell(int col, int row)
{
    return QStringLiteral("%1,%2").arg(col).arg(row);
}

} // namespace

class tst_SuperStringGrid : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FEnvironment = std::make_unique<TTestEnvironment>(); }
    void init();
    void cleanup();

    void defaults();
    void cornerClickSelectsAllNonFixedCells();
    void columnHeaderClickSelectsTheColumn();
    void shiftClickExtendsFromTheAnchor();
    void rowHeaderClickSelectsTheRow();
    void releaseOverAnotherHeaderSelectsNothing();
    void pressedHeaderLooksPressed();
    void copyTextByteForByte();
    void copyKeyRunsAfterTheKeyEvent();
    void copyWithoutEmCopyLeavesClipboard();
    void deleteClearsOnlyWithEmClear_data();
    void deleteClearsOnlyWithEmClear();
    void cutEmptiesCellsOnlyWhenEditing_data();
    void cutEmptiesCellsOnlyWhenEditing();
    void pasteKeysChangeNothing();
    void autoWidthGrowsOnPaintAndNeverShrinks();
    void autoWidthMeasuresOnlyPaintedCells();
    void autoWidthOffClipsInsideTheCell();
    void autoHeightFollowsTheCellFont();
    void alignmentPlacesTheText_data();
    void alignmentPlacesTheText();
    void autoSizeColFitsAndMayShrink();
    void countChangesNotifyOnce();
    void rowsTakeTheBaseColour();
    void grabLooksRight();

private:
    // A shown grid of `cols` x `rows` with one header row ("H0", "H1", ...)
    // and cell (c, r) = "c,r".
    void Fill(int cols, int rows);
    QPoint HeaderPoint(QHeaderView *header, int section) const;
    // Paints the grid and returns the rectangle OnDrawCell got for the cell.
    QRect DrawnTextRect(int col, int row);
    void ClickHeader(QHeaderView *header, int section, Qt::KeyboardModifiers modifiers = {});

    std::unique_ptr<TTestEnvironment> FEnvironment;
    std::unique_ptr<TSuperStringGrid> FGrid;
};

void tst_SuperStringGrid::init()
{
    FGrid = std::make_unique<TSuperStringGrid>();
    FGrid->setObjectName(u"TestStringGrid"_s);
    FGrid->SetFixedFont(DesignFont());
}

void tst_SuperStringGrid::cleanup()
{
    FGrid.reset();
}

void tst_SuperStringGrid::Fill(int cols, int rows)
{
    FGrid->SetColCount(cols);
    FGrid->SetRowCount(rows);
    FGrid->BeginUpdate();
    for (int col = 0; col < cols; ++col) {
        FGrid->SetCells(col, 0, QStringLiteral("H%1").arg(col));
        for (int row = 1; row < rows; ++row)
            FGrid->SetCells(col, row, Cell(col, row));
    }
    FGrid->EndUpdate();
    FGrid->resize(400, 300);
    FGrid->show();
    QVERIFY(QTest::qWaitForWindowExposed(FGrid.get()));
}

QPoint tst_SuperStringGrid::HeaderPoint(QHeaderView *header, int section) const
{
    const int middle = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
    return header->orientation() == Qt::Horizontal ? QPoint(middle, header->height() / 2)
                                                   : QPoint(header->width() / 2, middle);
}

void tst_SuperStringGrid::ClickHeader(QHeaderView *header, int section, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, HeaderPoint(header, section));
}

QRect tst_SuperStringGrid::DrawnTextRect(int col, int row)
{
    QRect textRect;
    FGrid->SetOnDrawCell([&](TSuperStringGrid *, QPainter *, int c, int r, const QRect &rect, TGridDrawState) {
        if (c == col && r == row)
            textRect = rect;
    });
    FGrid->grab();
    return textRect;
}

void tst_SuperStringGrid::defaults()
{
    // The other defaults (counts, fixed rows and columns, copy modes,
    // options, auto sizes) show in the clicks, clipboard texts and widths of
    // the tests below.
    QCOMPARE(FGrid->EditModes(), TEditModes{TEditMode::emCopy});
    QCOMPARE(FGrid->ColAlignments(4), TAlignment::taLeftJustify);
    QCOMPARE(FGrid->RowHeights(0), 17);
    QCOMPARE(FGrid->RowHeights(3), 17);
    QCOMPARE(FGrid->size(), QSize(345, 105));
    // The first value cell is current and selected.
    QCOMPARE(FGrid->Selection(), (TGridRect{0, 1, 0, 1}));
    FGrid->SetDefaultColWidth(82);
    QCOMPARE(FGrid->ColWidths(0), 82);
    QCOMPARE(FGrid->ColWidths(4), 82);
}

void tst_SuperStringGrid::cornerClickSelectsAllNonFixedCells()
{
    FGrid->SetFixedCols(1);
    Fill(5, 8);
    QAbstractButton *corner = FGrid->findChild<QAbstractButton *>(u"CornerButton"_s);
    QVERIFY(corner);
    QVERIFY(corner->isVisible());
    QTest::mouseClick(corner, Qt::LeftButton);
    QCOMPARE(FGrid->Selection(), (TGridRect{1, 1, 4, 7}));
}

void tst_SuperStringGrid::columnHeaderClickSelectsTheColumn()
{
    Fill(6, 10);
    ClickHeader(FGrid->horizontalHeader(), 2);
    QCOMPARE(FGrid->Selection(), (TGridRect{2, 1, 2, 9}));
    FGrid->CopyToClipboard();
    QCOMPARE(ClipboardText(), u"H2\r\n2,1\r\n2,2\r\n2,3\r\n2,4\r\n2,5\r\n2,6\r\n2,7\r\n2,8\r\n2,9\r\n"_s);
}

void tst_SuperStringGrid::shiftClickExtendsFromTheAnchor()
{
    Fill(7, 10);
    ClickHeader(FGrid->horizontalHeader(), 2);
    ClickHeader(FGrid->horizontalHeader(), 5, Qt::ShiftModifier);
    QCOMPARE(FGrid->Selection(), (TGridRect{2, 1, 5, 9}));
    // The anchor stays at column 2; the rows are those of the selection.
    FGrid->SetSelection({3, 4, 3, 6});
    ClickHeader(FGrid->horizontalHeader(), 0, Qt::ShiftModifier);
    QCOMPARE(FGrid->Selection(), (TGridRect{0, 4, 2, 6}));
    // Without goRangeSelect Shift does not extend.
    TGridOptions options = FGrid->Options();
    FGrid->SetOptions(options.Exclude(TGridOption::goRangeSelect));
    ClickHeader(FGrid->horizontalHeader(), 4, Qt::ShiftModifier);
    QCOMPARE(FGrid->Selection(), (TGridRect{4, 1, 4, 9}));
}

void tst_SuperStringGrid::rowHeaderClickSelectsTheRow()
{
    FGrid->SetFixedCols(1);
    Fill(4, 9);
    QVERIFY(FGrid->verticalHeader()->isVisible());
    ClickHeader(FGrid->verticalHeader(), 2);
    QCOMPARE(FGrid->Selection(), (TGridRect{1, 3, 3, 3}));
    ClickHeader(FGrid->verticalHeader(), 5, Qt::ShiftModifier);
    QCOMPARE(FGrid->Selection(), (TGridRect{1, 3, 3, 6}));
    FGrid->CopyToClipboard();
    QCOMPARE(ClipboardText(), u"H0\tH1\tH2\tH3\r\n0,3\t1,3\t2,3\t3,3\r\n0,4\t1,4\t2,4\t3,4\r\n"
                              u"0,5\t1,5\t2,5\t3,5\r\n0,6\t1,6\t2,6\t3,6\r\n"_s);
}

void tst_SuperStringGrid::releaseOverAnotherHeaderSelectsNothing()
{
    Fill(6, 10);
    FGrid->SetSelection({1, 3, 1, 3});
    QHeaderView *header = FGrid->horizontalHeader();
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, HeaderPoint(header, 1));
    QTest::mouseMove(header->viewport(), HeaderPoint(header, 3));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, HeaderPoint(header, 3));
    QCOMPARE(FGrid->Selection(), (TGridRect{1, 3, 1, 3}));
    // A press alone does not select either.
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, HeaderPoint(header, 4));
    QCOMPARE(FGrid->Selection(), (TGridRect{1, 3, 1, 3}));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, HeaderPoint(header, 4));
    QCOMPARE(FGrid->Selection(), (TGridRect{4, 1, 4, 9}));
}

void tst_SuperStringGrid::pressedHeaderLooksPressed()
{
    Fill(3, 4);
    QHeaderView *header = FGrid->horizontalHeader();
    const QRect section(header->sectionViewportPosition(1), 0, header->sectionSize(1), header->height());
    const QImage normal = header->grab().toImage().copy(section);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, HeaderPoint(header, 1));
    const QImage pressed = header->grab().toImage().copy(section);
    QVERIFY(pressed != normal);
    // Moving off the section drops the pressed look, moving back restores it.
    QTest::mouseMove(header->viewport(), HeaderPoint(header, 2));
    QCOMPARE(header->grab().toImage().copy(section), normal);
    QTest::mouseMove(header->viewport(), HeaderPoint(header, 1));
    QCOMPARE(header->grab().toImage().copy(section), pressed);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, HeaderPoint(header, 1));
    QCOMPARE(header->grab().toImage().copy(section), normal);
}

void tst_SuperStringGrid::copyTextByteForByte()
{
    FGrid->SetColCount(2);
    FGrid->SetRowCount(6);
    FGrid->SetCells(0, 0, u"Subnet"_s);
    FGrid->SetCells(1, 0, u"Host Range"_s);
    for (int row = 1; row < 6; ++row) {
        FGrid->SetCells(0, row, QString::number(row - 1));
        FGrid->SetCells(1, row, QStringLiteral("10.0.%1.1  -  10.0.%1.254").arg(row));
    }
    FGrid->SetCells(1, 4, QString());
    FGrid->SetSelection({0, 3, 1, 4});
    FGrid->CopyToClipboard();
    const QByteArray expected = "Subnet\tHost Range\r\n2\t10.0.3.1  -  10.0.3.254\r\n3\t\r\n";
    QCOMPARE(ClipboardText().toUtf8(), expected);
}

void tst_SuperStringGrid::copyKeyRunsAfterTheKeyEvent()
{
    Fill(3, 4);
    ClearClipboard();
    FGrid->SetSelection({1, 2, 2, 2});
    QTest::keyClick(FGrid.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE(ClipboardText(), u"H1\tH2\r\n1,2\t2,2\r\n"_s);
}

void tst_SuperStringGrid::copyWithoutEmCopyLeavesClipboard()
{
    Fill(3, 4);
    FGrid->SetEditModes({});
    QGuiApplication::clipboard()->setText(u"kept"_s);
    FGrid->CopyToClipboard();
    QCOMPARE(ClipboardText(), u"kept"_s);
    QTest::keyClick(FGrid.get(), Qt::Key_C, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(FGrid.get(), QEvent::MetaCall);
    QCOMPARE(ClipboardText(), u"kept"_s);
}

void tst_SuperStringGrid::deleteClearsOnlyWithEmClear_data()
{
    QTest::addColumn<bool>("withClear");
    QTest::addColumn<bool>("editing");
    QTest::newRow("emClear, no goEditing") << true << false;
    QTest::newRow("emClear with goEditing") << true << true;
    QTest::newRow("no emClear") << false << false;
}

void tst_SuperStringGrid::deleteClearsOnlyWithEmClear()
{
    QFETCH(bool, withClear);
    QFETCH(bool, editing);
    Fill(4, 6);
    if (withClear)
        FGrid->SetEditModes({TEditMode::emCopy, TEditMode::emClear});
    if (editing)
        FGrid->SetOptions(FGrid->Options().Include(TGridOption::goEditing));
    FGrid->SetSelection({1, 2, 2, 3});
    QTest::keyClick(FGrid.get(), Qt::Key_Delete);
    // Posted: the cells change only after the key event.
    QCOMPARE(FGrid->Cells(1, 2), Cell(1, 2));
    QCoreApplication::sendPostedEvents(FGrid.get(), QEvent::MetaCall);
    for (int row = 2; row <= 3; ++row)
        for (int col = 1; col <= 2; ++col)
            QCOMPARE(FGrid->Cells(col, row), withClear ? QString() : Cell(col, row));
    QCOMPARE(FGrid->Cells(0, 2), Cell(0, 2));
    QCOMPARE(FGrid->Cells(3, 3), Cell(3, 3));
    QCOMPARE(FGrid->Cells(1, 4), Cell(1, 4));
    QCOMPARE(FGrid->Cells(1, 0), u"H1"_s);
}

void tst_SuperStringGrid::cutEmptiesCellsOnlyWhenEditing_data()
{
    QTest::addColumn<bool>("editing");
    QTest::newRow("goEditing") << true;
    QTest::newRow("no goEditing") << false;
}

void tst_SuperStringGrid::cutEmptiesCellsOnlyWhenEditing()
{
    QFETCH(bool, editing);
    Fill(3, 4);
    FGrid->SetEditModes({TEditMode::emCut});
    if (editing)
        FGrid->SetOptions(FGrid->Options().Include(TGridOption::goEditing));
    FGrid->SetSelection({0, 1, 1, 1});
    QTest::keyClick(FGrid.get(), Qt::Key_X, Qt::ControlModifier);
    QTRY_COMPARE(ClipboardText(), u"H0\tH1\r\n0,1\t1,1\r\n"_s);
    QCOMPARE(FGrid->Cells(0, 1), editing ? QString() : Cell(0, 1));
    QCOMPARE(FGrid->Cells(1, 1), editing ? QString() : Cell(1, 1));
    QCOMPARE(FGrid->Cells(2, 1), Cell(2, 1));
    QCOMPARE(FGrid->Cells(0, 0), u"H0"_s);
}

void tst_SuperStringGrid::pasteKeysChangeNothing()
{
    Fill(3, 4);
    FGrid->SetEditModes({TEditMode::emClear, TEditMode::emCopy, TEditMode::emCut, TEditMode::emPaste});
    FGrid->SetOptions(FGrid->Options().Include(TGridOption::goEditing));
    QGuiApplication::clipboard()->setText(u"pasted"_s);
    FGrid->SetSelection({1, 1, 1, 1});
    QTest::keyClick(FGrid.get(), Qt::Key_P, Qt::ControlModifier);
    QTest::keyClick(FGrid.get(), Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(FGrid.get(), QEvent::MetaCall);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            QCOMPARE(FGrid->Cells(col, row), row == 0 ? QStringLiteral("H%1").arg(col) : Cell(col, row));
    QCOMPARE(ClipboardText(), u"pasted"_s);
}

void tst_SuperStringGrid::autoWidthGrowsOnPaintAndNeverShrinks()
{
    Fill(3, 4);
    const QString longText = u"a text much wider than its column"_s;
    const int width = QFontMetrics(FGrid->font()).horizontalAdvance(longText);
    QVERIFY(width + 4 > FGrid->ColWidths(1));
    FGrid->SetCells(1, 2, longText);
    FGrid->grab();
    QCOMPARE(FGrid->ColWidths(1), width + 4);
    FGrid->SetCells(1, 2, u"short"_s);
    FGrid->grab();
    QCOMPARE(FGrid->ColWidths(1), width + 4);

    // Header cells are measured in the fixed font.
    QFont wide = DesignFont();
    wide.setPixelSize(20);
    FGrid->SetFixedFont(wide);
    const QString header = u"A long header caption"_s;
    FGrid->SetCells(2, 0, header);
    FGrid->grab();
    QCOMPARE(FGrid->ColWidths(2), QFontMetrics(wide).horizontalAdvance(header) + 4);
    QCOMPARE(FGrid->RowHeights(0), QFontMetrics(wide).height() + 2);
}

void tst_SuperStringGrid::autoWidthMeasuresOnlyPaintedCells()
{
    Fill(2, 500);
    const QString longText = u"far below, wider than the column"_s;
    FGrid->SetCells(0, 450, longText);
    FGrid->grab();
    QCOMPARE(FGrid->ColWidths(0), 64);
    FGrid->scrollTo(FGrid->Model()->CellIndex(0, 450));
    FGrid->grab();
    QCOMPARE(FGrid->ColWidths(0), QFontMetrics(FGrid->font()).horizontalAdvance(longText) + 4);
}

void tst_SuperStringGrid::autoWidthOffClipsInsideTheCell()
{
    Fill(3, 4);
    FGrid->SetAutoWidth(false);
    FGrid->SetCells(1, 2, u"a text much wider than its column"_s);
    const QRect textRect = DrawnTextRect(1, 2);
    QCOMPARE(FGrid->ColWidths(1), 64);
    const QRect cell = FGrid->CellRect(1, 2);
    QCOMPARE(textRect.left(), cell.left() + 2);
    QCOMPARE(textRect.right(), cell.right() - 2);
}

void tst_SuperStringGrid::autoHeightFollowsTheCellFont()
{
    Fill(3, 6);
    QFont big = FGrid->font();
    big.setPixelSize(30);
    FGrid->SetOnGetCellFont([&](TSuperStringGrid *sender, QFont &font, QColor &, int col, int row) {
        QCOMPARE(sender, FGrid.get());
        if (col == 2 && row == 3)
            font = big;
    });
    FGrid->grab();
    QCOMPARE(FGrid->RowHeights(3), QFontMetrics(big).height() + 2);
    QCOMPARE(FGrid->RowHeights(2), 17);
    QCOMPARE(FGrid->ColWidths(2), qMax(64, QFontMetrics(big).horizontalAdvance(Cell(2, 3)) + 4));
}

void tst_SuperStringGrid::alignmentPlacesTheText_data()
{
    QTest::addColumn<TAlignment>("alignment");
    QTest::newRow("left") << TAlignment::taLeftJustify;
    QTest::newRow("right") << TAlignment::taRightJustify;
    QTest::newRow("centre") << TAlignment::taCenter;
}

void tst_SuperStringGrid::alignmentPlacesTheText()
{
    QFETCH(TAlignment, alignment);
    Fill(3, 4);
    FGrid->SetColAlignments(1, alignment);
    const QRect textRect = DrawnTextRect(1, 2);
    const QRect cell = FGrid->CellRect(1, 2);
    const int width = QFontMetrics(FGrid->font()).horizontalAdvance(Cell(1, 2));
    const int height = QFontMetrics(FGrid->font()).height();
    QCOMPARE(textRect.width(), width);
    QCOMPARE(textRect.top(), cell.top() + (cell.height() - height) / 2);
    switch (alignment) {
    case TAlignment::taLeftJustify:
        QCOMPARE(textRect.left(), cell.left() + 2);
        break;
    case TAlignment::taRightJustify:
        QCOMPARE(textRect.left() + width, cell.left() + cell.width() - 2);
        break;
    case TAlignment::taCenter:
        QCOMPARE(textRect.left(), cell.left() + (cell.width() - width) / 2);
        break;
    }
    // A column beyond ColCount is ignored.
    FGrid->SetColAlignments(3, TAlignment::taCenter);
    FGrid->SetColCount(4);
    QCOMPARE(FGrid->ColAlignments(3), TAlignment::taLeftJustify);
}

void tst_SuperStringGrid::autoSizeColFitsAndMayShrink()
{
    Fill(3, 4);
    FGrid->SetColWidths(0, 300);
    FGrid->AutoSizeCol(0);
    QCOMPARE(FGrid->ColWidths(0), 64);
    const QString text = u"a rather long cell text of column zero"_s;
    FGrid->SetCells(0, 3, text);
    FGrid->AutoSizeCols();
    QCOMPARE(FGrid->ColWidths(0), QFontMetrics(FGrid->font()).horizontalAdvance(text) + 4);
    QCOMPARE(FGrid->ColWidths(1), 64);
}

void tst_SuperStringGrid::countChangesNotifyOnce()
{
    QSignalSpy rows(FGrid.get(), &TSuperStringGrid::RowCountChange);
    QSignalSpy cols(FGrid.get(), &TSuperStringGrid::ColCountChange);
    FGrid->SetRowCount(9);
    QCOMPARE(rows.count(), 1);
    QCOMPARE(rows.at(0).at(1).toInt(), 5);
    FGrid->SetRowCount(9);
    QCOMPARE(rows.count(), 1);
    FGrid->SetColCount(2);
    QCOMPARE(cols.count(), 1);
    QCOMPARE(cols.at(0).at(1).toInt(), 5);
    QCOMPARE(cols.at(0).at(0).value<TSuperStringGrid *>(), FGrid.get());
}

void tst_SuperStringGrid::rowsTakeTheBaseColour()
{
    QPalette palette = FGrid->palette();
    palette.setColor(QPalette::Base, Qt::yellow);
    FGrid->setPalette(palette);
    FGrid->SetRowCount(7);
    QCOMPARE(FGrid->RowColors(6), QColor(Qt::yellow));
    QCOMPARE(FGrid->RowColors(1), QGuiApplication::palette().color(QPalette::Base));
}

void tst_SuperStringGrid::grabLooksRight()
{
    FGrid->SetColCount(2);
    FGrid->SetRowCount(40);
    FGrid->SetColWidths(0, 71);
    FGrid->SetColWidths(1, 176);
    FGrid->SetColAlignments(0, TAlignment::taRightJustify);
    FGrid->SetColAlignments(1, TAlignment::taCenter);
    FGrid->SetCells(0, 0, u"Subnet"_s);
    FGrid->SetCells(1, 0, u"Host Range"_s);
    for (int row = 1; row < 40; ++row) {
        FGrid->SetCells(0, row, QString::number(row - 1));
        FGrid->SetCells(1, row, QStringLiteral("192.168.%1.1  -  192.168.%1.254").arg(row));
    }
    FGrid->resize(276, 200);
    FGrid->show();
    QVERIFY(QTest::qWaitForWindowExposed(FGrid.get()));
    FGrid->SetSelection({0, 3, 1, 4});
    const QString file = QDir::temp().filePath(u"tst_superstringgrid.png"_s);
    QVERIFY(FGrid->grab().save(file));
    // The 176-pixel column holds its widest text without growing.
    QCOMPARE(FGrid->ColWidths(1), 176);
}

QTEST_MAIN(tst_SuperStringGrid)
#include "tst_superstringgrid.moc"
