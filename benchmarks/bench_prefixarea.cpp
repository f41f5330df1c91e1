// The Prefix calculator's pages in their window: a keystroke in the entry
// to all results painted, the first paint of a split whatever its count,
// copying 1,048,576 rows through the page's copy button, and the heap the
// Split page takes for a split of four rows and for one of 2^128.
// Budgets: under 1 ms, under 10 ms, under 1 s, and no growth with the count.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <malloc.h>

#include <memory>

#include "controls/DesignFont.h"
#include "controls/PageControl.h"
#include "controls/SuperStringGrid.h"
#include "prefix/PrefixArea.h"
#include "prefix/PrefixInfoPage.h"
#include "prefix/PrefixSplitPage.h"

class bench_PrefixArea : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setFont(DesignFont()); }
    void init();
    void cleanup();
    void keystrokeToAllResults_data();
    void keystrokeToAllResults();
    void firstPaintOfASplit_data();
    void firstPaintOfASplit();
    void copyMillionRows();
    void splitPageMemory();

private:
    void ShowSplit(const QString &entry, int length);

    std::unique_ptr<QWidget> FWindow;
    TPrefixArea *FArea = nullptr;
};

void bench_PrefixArea::init()
{
    FWindow = std::make_unique<QWidget>();
    FWindow->resize(292, 409);
    FArea = new TPrefixArea(FWindow.get());
    FArea->move(8, 88);
    FWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
}

void bench_PrefixArea::cleanup()
{
    FWindow.reset();
    FArea = nullptr;
}

void bench_PrefixArea::ShowSplit(const QString &entry, int length)
{
    FArea->PrefixEditChange(entry);
    FArea->PrefixPageControl->setCurrentWidget(FArea->SplitTabSheet);
    FArea->PageEntered(FArea->SplitTabSheet);
    FArea->NewLengthSpinEditChange(length);
    FArea->SplitTabSheet->SplitStringGrid->viewport()->repaint();
}

void bench_PrefixArea::keystrokeToAllResults_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("IPv4") << QStringLiteral("10.1.2.3/19");
    QTest::newRow("IPv6") << QStringLiteral("2001:db8:1234::1/48");
    QTest::newRow("IPv6 /0, every registry entry") << QStringLiteral("::/0");
}

void bench_PrefixArea::keystrokeToAllResults()
{
    QFETCH(QString, entry);
    QLineEdit *edit = FArea->PrefixEdit;
    TSuperStringGrid *grid = FArea->PrefixTabSheet->PrefixStringGrid;
    edit->setFocus();
    edit->setText(entry);
    FArea->PrefixEditChange(entry);
    // Each keystroke reads the prefix anew: a blank after it (which the
    // reader ignores) is typed and deleted in turn.
    bool blank = false;
    QBENCHMARK {
        QTest::keyClick(edit, blank ? Qt::Key_Backspace : Qt::Key_Space);
        blank = !blank;
        grid->viewport()->repaint();
    }
    QVERIFY(grid->RowCount() >= 8);
}

void bench_PrefixArea::firstPaintOfASplit_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("length");
    QTest::newRow("/24 into /26, 4 rows") << QStringLiteral("10.0.0.0/24") << 26;
    QTest::newRow("/8 into /30, 4194304 rows") << QStringLiteral("10.0.0.0/8") << 30;
    QTest::newRow("/32 into /64, 2^32 rows") << QStringLiteral("2001:db8::/32") << 64;
    QTest::newRow("::/0 into /128, 2^128 rows") << QStringLiteral("::/0") << 128;
}

void bench_PrefixArea::firstPaintOfASplit()
{
    QFETCH(QString, entry);
    QFETCH(int, length);
    ShowSplit(entry, length - 1);
    TSuperStringGrid *grid = FArea->SplitTabSheet->SplitStringGrid;
    // Two lengths in turn: every paint is the first of its split.
    int next = length;
    QBENCHMARK {
        FArea->NewLengthSpinEditChange(next);
        grid->viewport()->repaint();
        next = next == length ? length - 1 : length;
    }
    QVERIFY(grid->RowCount() > 1);
}

void bench_PrefixArea::copyMillionRows()
{
    ShowSplit(QStringLiteral("10.0.0.0/8"), 28);
    TSuperStringGrid *grid = FArea->SplitTabSheet->SplitStringGrid;
    QCOMPARE(grid->DataRowCount(), 1048576);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    QBENCHMARK {
        FArea->CopyPrefixButton->click();
    }
    const QString text = QGuiApplication::clipboard()->text();
    QCOMPARE(text.count(u'\n'), 1048576 + 1);
}

void bench_PrefixArea::splitPageMemory()
{
    const auto heapInUse = [] { return qsizetype(mallinfo2().uordblks); };
    // The page as the first start shows it, then each split painted and
    // scrolled to its last row.
    const auto growth = [&](const QString &entry, int length) {
        ShowSplit(QStringLiteral("10.0.0.0/24"), 26);
        const qsizetype before = heapInUse();
        ShowSplit(entry, length);
        TSuperStringGrid *grid = FArea->SplitTabSheet->SplitStringGrid;
        grid->SetTopRow(grid->MaxTopRow());
        grid->viewport()->repaint();
        FArea->GoToEditReturn(QStringLiteral("340282366920938463463374607431768211456"));
        grid->viewport()->repaint();
        return heapInUse() - before;
    };
    const qsizetype small = growth(QStringLiteral("192.168.0.0/24"), 26);
    const qsizetype huge = growth(QStringLiteral("::/0"), 128);
    qInfo("split page heap growth: 4 rows %lld bytes, 2^128 rows (::/0 into /128) %lld bytes", qlonglong(small),
          qlonglong(huge));
    QVERIFY(huge < 64 * 1024);
}

QTEST_MAIN(bench_PrefixArea)
#include "bench_prefixarea.moc"
