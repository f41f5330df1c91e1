#include "ipsubnet/SubnetHostPage.h"

#include <QDir>
#include <QGuiApplication>
#include <QToolButton>

#include "controls/StringTableModel.h"
#include "controls/SuperStringGrid.h"
#include "tests/ipsubnet/SubnetAreaTest.h"

using namespace Qt::StringLiterals;

class tst_SubnetHostPage : public TSubnetAreaTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void workedTableOnEntry();
    void rebuiltOnlyWhenDirty();
    void classClickRebuildsOnlyOnAChange_data();
    void classClickRebuildsOnlyOnAChange();
    void backFromTheCidrPageRebuildsNothing();
    void fillsUnderTheHourglass();
    void largestTableStopsAtTheLimit();
    void copyButtonFollowsThePage();
    void grabLooksRight();

private:
    TSuperStringGrid *Grid() const;
    QToolButton *CopyButton() const;
};

void tst_SubnetHostPage::init()
{
    SetUpArea();
}

void tst_SubnetHostPage::cleanup()
{
    TearDownArea();
}

TSuperStringGrid *tst_SubnetHostPage::Grid() const
{
    return FArea->findChild<TSuperStringGrid *>(u"SubnetHostStringGrid"_s);
}

QToolButton *tst_SubnetHostPage::CopyButton() const
{
    return FArea->findChild<QToolButton *>(u"CopySubnetHostButton"_s);
}

void tst_SubnetHostPage::workedTableOnEntry()
{
    ClickClass(2);
    SetBits(2);
    ShowPage(FArea->AddressInfoTab);
    TypeOctet(FArea->MaskEdit2, u"168"_s);
    TypeOctet(FArea->MaskEdit3, u"1"_s);
    TypeOctet(FArea->MaskEdit4, u"65"_s);
    QCOMPARE(FArea->Subnet().DecimalText(), u"192.168.1.65"_s);
    ShowPage(FArea->SubnetHostTab);
    QVERIFY(!FArea->SubnetTableDirty());
    // The grid fills its page.
    QCOMPARE(Grid()->geometry(), FArea->SubnetHostTab->rect());
    QCOMPARE(Grid()->RowCount(), 3);
    QCOMPARE(Grid()->Cells(0, 1), u"0"_s);
    QCOMPARE(Grid()->Cells(1, 1), u"192.168.1.65  -  192.168.1.126"_s);
    QCOMPARE(Grid()->Cells(0, 2), u"1"_s);
    QCOMPARE(Grid()->Cells(1, 2), u"192.168.1.129  -  192.168.1.190"_s);

    // The allowance changes the listing at once while the page is shown.
    FArea->RFC1878MenuItem->trigger();
    QCOMPARE(Grid()->RowCount(), 5);
    QCOMPARE(Grid()->Cells(1, 1), u"192.168.1.1  -  192.168.1.62"_s);
    QCOMPARE(Grid()->Cells(1, 4), u"192.168.1.193  -  192.168.1.254"_s);
}

void tst_SubnetHostPage::rebuiltOnlyWhenDirty()
{
    ShowPage(FArea->SubnetHostTab);
    QCOMPARE(Grid()->RowCount(), 255);
    Grid()->SetCells(1, 5, u"untouched"_s);
    ShowPage(FArea->GeneralInfoTab);
    ShowPage(FArea->SubnetHostTab);
    QCOMPARE(Grid()->Cells(1, 5), u"untouched"_s);

    SetBits(4);
    QCOMPARE(Grid()->RowCount(), 15);
    QCOMPARE(Grid()->Cells(1, 5), u"128.0.80.1  -  128.0.95.254"_s);
    QVERIFY(!FArea->SubnetTableDirty());

    // A change made on another page is listed when the page is shown again.
    ShowPage(FArea->GeneralInfoTab);
    SetBits(3);
    QVERIFY(FArea->SubnetTableDirty());
    QCOMPARE(Grid()->RowCount(), 15);
    ShowPage(FArea->SubnetHostTab);
    QCOMPARE(Grid()->RowCount(), 7);
}

void tst_SubnetHostPage::classClickRebuildsOnlyOnAChange_data()
{
    QTest::addColumn<bool>("onTablePage");
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("rebuilt");
    // Class B is selected at the start.
    QTest::newRow("selected item, table shown") << true << 1 << false;
    QTest::newRow("selected item, on General Info") << false << 1 << false;
    QTest::newRow("class C, table shown") << true << 2 << true;
    QTest::newRow("class C, on General Info") << false << 2 << true;
}

void tst_SubnetHostPage::classClickRebuildsOnlyOnAChange()
{
    QFETCH(bool, onTablePage);
    QFETCH(int, item);
    QFETCH(bool, rebuilt);
    ShowPage(FArea->SubnetHostTab);
    QCOMPARE(CheckedClass(), 1);
    // A rebuild writes every row, so a cell of our own marks the table as it was.
    Grid()->SetCells(1, 5, u"untouched"_s);
    int hourglasses = 0;
    connect(Grid()->Model(), &QAbstractItemModel::dataChanged, this, [&hourglasses] {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        hourglasses += cursor && cursor->shape() == Qt::WaitCursor;
    });
    if (!onTablePage)
        ShowPage(FArea->GeneralInfoTab);
    ClickClass(item);
    if (!onTablePage)
        ShowPage(FArea->SubnetHostTab);
    QCOMPARE(Grid()->Cells(1, 5) != u"untouched"_s, rebuilt);
    QCOMPARE(hourglasses > 0, rebuilt);
    QVERIFY(!FArea->SubnetTableDirty());
}

// The CIDR page shows the supernet's class in the selector; showing the
// subnet's again on the way back is no change of the subnet.
void tst_SubnetHostPage::backFromTheCidrPageRebuildsNothing()
{
    ShowPage(FArea->SubnetHostTab);
    Grid()->SetCells(1, 5, u"untouched"_s);
    ShowPage(FArea->CIDRTab);
    QCOMPARE(CheckedClass(), 2);
    ShowPage(FArea->SubnetHostTab);
    QCOMPARE(CheckedClass(), 1);
    QCOMPARE(Grid()->Cells(1, 5), u"untouched"_s);

    // A change made there to the supernet is none either.
    ShowPage(FArea->CIDRTab);
    ClickClass(0);
    SetBits(5);
    ShowPage(FArea->SubnetHostTab);
    QCOMPARE(Grid()->Cells(1, 5), u"untouched"_s);
    QVERIFY(!FArea->SubnetTableDirty());
}

void tst_SubnetHostPage::fillsUnderTheHourglass()
{
    QList<int> cursors;
    connect(Grid(), &TSuperStringGrid::RowCountChange, this, [&cursors] {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        cursors << (cursor ? int(cursor->shape()) : -1);
    });
    ShowPage(FArea->SubnetHostTab);
    QCOMPARE(cursors, QList<int>{int(Qt::WaitCursor)});
    QVERIFY(!QGuiApplication::overrideCursor());
    // Nothing changed: no rebuild, no hourglass.
    ShowPage(FArea->AddressInfoTab);
    ShowPage(FArea->SubnetHostTab);
    QCOMPARE(cursors.size(), 1);
}

void tst_SubnetHostPage::largestTableStopsAtTheLimit()
{
    ShowPage(FArea->SubnetHostTab);
    ClassItem(0)->click();
    SetBits(22);
    QCOMPARE(Grid()->RowCount(), 16386);
    QCOMPARE(Grid()->Cells(0, 16385), u"16384"_s);
    QCOMPARE(Grid()->Cells(1, 1), u"1.0.0.5  -  1.0.0.6"_s);
    QCOMPARE(Grid()->Cells(1, 16385), u"1.1.0.5  -  1.1.0.6"_s);
}

void tst_SubnetHostPage::copyButtonFollowsThePage()
{
    // The argument type is only declared where the signal is, so the
    // target is taken directly rather than through a QSignalSpy.
    QList<QAbstractButton *> targets;
    connect(FArea.get(), &TCalcArea::CopyTargetChanged, this,
            [&targets](QAbstractButton *button) { targets << button; });
    QList<bool> enabled;
    connect(FArea.get(), &TCalcArea::CopyEnabledChanged, this, [&enabled](bool value) { enabled << value; });
    QVERIFY(CopyButton());
    QVERIFY(!CopyButton()->isEnabled());
    QVERIFY(!CopyButton()->icon().pixmap(16, 16).isNull());
    ShowPage(FArea->SubnetHostTab);
    QVERIFY(CopyButton()->isEnabled());
    QCOMPARE(targets.size(), 1);
    QAbstractButton *target = targets.at(0);
    QCOMPARE(target, static_cast<QAbstractButton *>(CopyButton()));

    Grid()->SetSelection({0, 3, 1, 4});
    ClearClipboard();
    // What the Copy command does with its target.
    target->click();
    QCOMPARE(ClipboardText(), u"Subnet\tHost Range\r\n2\t128.0.3.1  -  128.0.3.254\r\n"
                              u"3\t128.0.4.1  -  128.0.4.254\r\n"_s);

    for (QWidget *page : QList<QWidget *>{FArea->GeneralInfoTab, FArea->AddressInfoTab, FArea->CIDRTab}) {
        ShowPage(page);
        QVERIFY(!CopyButton()->isEnabled());
        ShowPage(FArea->SubnetHostTab);
        QVERIFY(CopyButton()->isEnabled());
    }
    // Each page left tells the window that Copy has no target.
    QCOMPARE(enabled, QList<bool>(3, false));
}

void tst_SubnetHostPage::grabLooksRight()
{
    ShowPage(FArea->SubnetHostTab);
    Grid()->SetSelection({0, 3, 1, 3});
    const QString file = QDir::temp().filePath(u"tst_subnethostpage.png"_s);
    QVERIFY(FArea->grab().save(file));
    // Painted, the ranges of this table fit the column without widening it.
    QCOMPARE(Grid()->ColWidths(1), 176);
}

QTEST_MAIN(tst_SubnetHostPage)
#include "tst_subnethostpage.moc"
