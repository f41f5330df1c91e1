#include <QTest>

#include "prefix/PrefixCalc.h"

using namespace Qt::StringLiterals;

// TPrefixCalc: one input reaches every page that follows from it.
class tst_TPrefixCalc : public QObject
{
    Q_OBJECT
private slots:
    void entryReachesSplitAndPlan();
    void unreadableEntryKeepsEverything();
    void goToMessageLastsUntilTheSplitChanges_data();
    void goToMessageLastsUntilTheSplitChanges();
    void summaryFollowsItsText();
};

void tst_TPrefixCalc::entryReachesSplitAndPlan()
{
    TPrefixCalc calc;
    calc.SetPlanText(u"Lab 50\nWAN 2"_s);
    QVERIFY(calc.SetEntryText(u"10.1.2.3/24"_s));
    QCOMPARE(calc.Split().Prefix().Text(), u"10.1.2.0/24"_s);
    QCOMPARE(calc.Split().NewLength(), 26);
    QCOMPARE(calc.Plan().Prefix().Text(), u"10.1.2.0/24"_s);
    QCOMPARE(calc.Plan().RowCount(), 2);
    calc.SetSplitLength(28);
    QVERIFY(calc.SetEntryText(u"10.1.2.3/25"_s));
    // A chosen length stays while it fits; the plan moves with the prefix.
    QCOMPARE(calc.Split().NewLength(), 28);
    QCOMPARE(calc.Plan().Prefix().Text(), u"10.1.2.0/25"_s);
    QCOMPARE(calc.Plan().RowCells(0).value(3), u"10.1.2.0"_s);
    QVERIFY(calc.SetEntryText(u"2001:db8::/48"_s));
    QCOMPARE(calc.Split().NewLength(), 64);
    QCOMPARE(calc.Plan().Headers().value(1), u"/64 Networks"_s);
}

void tst_TPrefixCalc::unreadableEntryKeepsEverything()
{
    TPrefixCalc calc;
    calc.SetPlanText(u"Lab 50"_s);
    QVERIFY(calc.SetEntryText(u"10.1.2.0/24"_s));
    calc.SetSplitLength(30);
    const TResultRows rows = calc.Info().Rows();
    QVERIFY(!calc.SetEntryText(u"10.1.2.0/33"_s));
    QCOMPARE(calc.Info().Message(), u"prefix length 33 is out of range 0–32"_s);
    QCOMPARE(calc.Info().EntryText(), u"10.1.2.0/33"_s);
    QCOMPARE(calc.Info().Rows(), rows);
    QCOMPARE(calc.Split().Prefix().Text(), u"10.1.2.0/24"_s);
    QCOMPARE(calc.Split().NewLength(), 30);
    QCOMPARE(calc.Plan().RowCount(), 1);
}

void tst_TPrefixCalc::goToMessageLastsUntilTheSplitChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("a new prefix") << u"entry"_s;
    QTest::newRow("a new length") << u"length"_s;
    QTest::newRow("a go to that reads") << u"goto"_s;
}

void tst_TPrefixCalc::goToMessageLastsUntilTheSplitChanges()
{
    QFETCH(QString, change);
    TPrefixCalc calc;
    QVERIFY(calc.SetEntryText(u"10.0.0.0/8"_s));
    const TReadResult<int> wrong = calc.GoTo(u"5x"_s);
    QVERIFY(!wrong.Ok);
    QCOMPARE(calc.GoToMessage(), u"'5x' is not a subnet number"_s);
    QCOMPARE(calc.GoToText(), u"5x"_s);
    // Another page's input leaves it.
    calc.SetPlanText(u"A 2"_s);
    QCOMPARE(calc.GoToMessage(), u"'5x' is not a subnet number"_s);
    if (change == u"entry")
        calc.SetEntryText(u"10.0.0.0/9"_s);
    else if (change == u"length")
        calc.SetSplitLength(12);
    else
        QCOMPARE(calc.GoTo(u"3"_s).Value, 2);
    QCOMPARE(calc.GoToMessage(), QString());
}

void tst_TPrefixCalc::summaryFollowsItsText()
{
    TPrefixCalc calc;
    QCOMPARE(calc.Summary().PrefixCount(), 0);
    calc.SetSummaryText(u"10.0.0.0/25\n10.0.0.128/25\nnonsense"_s);
    QCOMPARE(calc.SummaryText(), u"10.0.0.0/25\n10.0.0.128/25\nnonsense"_s);
    QCOMPARE(calc.Summary().PrefixTexts(), QStringList{u"10.0.0.0/24"_s});
    QCOMPARE(calc.Summary().LineMessages().size(), 1);
}

QTEST_APPLESS_MAIN(tst_TPrefixCalc)
#include "tst_prefixcalc.moc"
