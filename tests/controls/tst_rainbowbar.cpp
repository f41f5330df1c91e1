#include <QAccessible>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "app/VorlGlobal.h"
#include "controls/RainbowBar.h"
#include "controls/RainbowBarModel.h"
#include "tests/common/AccessibilityRecorder.h"
#include "tests/common/TestEnvironment.h"

class tst_RainbowBar : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { FEnvironment = std::make_unique<TTestEnvironment>(); }

    void stripeHeight_data();
    void stripeHeight();
    void stripeHeightOutOfRange();
    void stripeNotifiesOnlyOnChange();

    void newBarDefaults();
    void fiveStripesFillAnInnerHeightOf185();
    void clientEdgeLeavesTheBottomRowBlank();
    void threeStripesOnAHundredRows();
    void halvesOnFiveRowsRoundToEven();
    void numStripesIsClamped_data();
    void numStripesIsClamped();
    void changingNumStripesRaisesOnChangeTwice();
    void sameCountOrValueRaisesNothing();
    void stripesOutsideTheCount();
    void stripeIndexOutOfBounds_data();
    void stripeIndexOutOfBounds();
    void readAsAChartNamedByItsHeading();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_RainbowBar::stripeHeight_data()
{
    QTest::addColumn<int>("innerHeight");
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("height");
    QTest::newRow("fifth of 185") << 185 << 0.2f << 37;
    QTest::newRow("fifth of 181") << 181 << 0.2f << 36;
    QTest::newRow("third of 100") << 100 << 1.0f / 3.0f << 33;
    QTest::newRow("2.5 to even 2") << 5 << 0.5f << 2;
    QTest::newRow("3.5 to even 4") << 7 << 0.5f << 4;
    QTest::newRow("zero share") << 237 << 0.0f << 0;
    QTest::newRow("whole bar") << 235 << 1.0f << 235;
}

void tst_RainbowBar::stripeHeight()
{
    QFETCH(int, innerHeight);
    QFETCH(float, value);
    QFETCH(int, height);
    QCOMPARE(RainbowStripeHeight(innerHeight, value), height);
}

void tst_RainbowBar::stripeHeightOutOfRange()
{
    try {
        RainbowStripeHeight(1000, 1.0e10f);
        QFAIL("no error raised");
    } catch (const TVorlError &error) {
        QCOMPARE(error.Message(), QStringLiteral("Range check error"));
    }
}

void tst_RainbowBar::stripeNotifiesOnlyOnChange()
{
    TRainbowStripe stripe;
    int changes = 0;
    stripe.OnChange = [&changes, &stripe](TRainbowStripe *sender) {
        QCOMPARE(sender, &stripe);
        ++changes;
    };
    QCOMPARE(stripe.Color(), StripeRgb(0, 0, 0));
    QCOMPARE(stripe.Value(), 0.0f);
    stripe.SetValue(0.25f);
    stripe.SetValue(0.25f);
    stripe.SetColor(StripeRgb(0, 0, 0));
    stripe.SetColor(StripeRgb(255, 0, 0));
    QCOMPARE(changes, 2);
}

// The colour of each row of the bar's middle column.
static QList<QRgb> RowColors(TRainbowBar &bar)
{
    const QImage image = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QList<QRgb> rows;
    for (int y = 0; y < image.height(); ++y)
        rows.append(image.pixel(image.width() / 2, y) | 0xff000000u);
    return rows;
}

static QRgb Default(int index)
{
    return RainbowDefaultColors()[std::size_t(index)];
}

void tst_RainbowBar::newBarDefaults()
{
    TRainbowBar bar;
    QCOMPARE(bar.size(), QSize(81, 185));
    QCOMPARE(bar.NumStripes(), 5);
    QCOMPARE(bar.BevelOuter(), TBevelCut::bvNone);
    QCOMPARE(bar.BorderStyle(), TRainbowBar::TBorderStyle::bsSingle);
    const QList<QRgb> expected{qRgb(255, 0, 0), qRgb(255, 255, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                               qRgb(128, 0, 128)};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(bar.Stripes(i).Color(), expected.at(i));
        QCOMPARE(bar.Stripes(i).Value(), 0.2f);
    }
    QCOMPARE(bar.Stripes(5).Color(), qRgb(0, 0, 0));
    QCOMPARE(bar.Stripes(5).Value(), 0.0f);
}

void tst_RainbowBar::fiveStripesFillAnInnerHeightOf185()
{
    TRainbowBar bar;
    bar.SetBorderStyle(TRainbowBar::TBorderStyle::bsNone);
    QCOMPARE(bar.StripeRect().height(), 185);
    const QList<QRgb> rows = RowColors(bar);
    for (int y = 0; y < 185; ++y)
        QCOMPARE(rows.at(y), Default(y / 37));
}

void tst_RainbowBar::clientEdgeLeavesTheBottomRowBlank()
{
    // The default bar's sunken edge leaves 181 inner rows: 5 x 36 and one
    // row of background.
    TRainbowBar bar;
    QCOMPARE(bar.StripeRect(), QRect(2, 2, 77, 181));
    const QList<QRgb> rows = RowColors(bar);
    for (int y = 2; y < 182; ++y)
        QCOMPARE(rows.at(y), Default((y - 2) / 36));
    QCOMPARE(rows.at(182), bar.Color().rgb());
}

void tst_RainbowBar::threeStripesOnAHundredRows()
{
    TRainbowBar bar;
    bar.SetBorderStyle(TRainbowBar::TBorderStyle::bsNone);
    bar.resize(38, 100);
    bar.SetNumStripes(3);
    QCOMPARE(bar.Stripes(2).Value(), 1.0f / 3.0f);
    const QList<QRgb> rows = RowColors(bar);
    QCOMPARE(rows.at(32), Default(0));
    QCOMPARE(rows.at(33), Default(1));
    QCOMPARE(rows.at(98), Default(2));
    QCOMPARE(rows.at(99), bar.Color().rgb());
}

void tst_RainbowBar::halvesOnFiveRowsRoundToEven()
{
    TRainbowBar bar;
    bar.SetBorderStyle(TRainbowBar::TBorderStyle::bsNone);
    bar.resize(10, 5);
    bar.SetNumStripes(2);
    QCOMPARE(bar.Stripes(0).Value(), 0.5f);
    const QList<QRgb> rows = RowColors(bar);
    QCOMPARE(rows, (QList<QRgb>{Default(0), Default(0), Default(1), Default(1), bar.Color().rgb()}));
}

void tst_RainbowBar::numStripesIsClamped_data()
{
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("count");
    QTest::newRow("0 gives 1") << 0 << 1;
    QTest::newRow("200 gives 16") << 200 << 16;
    QTest::newRow("16 stays") << 16 << 16;
    QTest::newRow("negative gives 1") << -3 << 1;
}

void tst_RainbowBar::numStripesIsClamped()
{
    QFETCH(int, written);
    QFETCH(int, count);
    TRainbowBar bar;
    bar.SetNumStripes(written);
    QCOMPARE(bar.NumStripes(), count);
    QCOMPARE(bar.Stripes(count - 1).Color(), Default(count - 1));
    QCOMPARE(bar.Stripes(count - 1).Value(), 1.0f / float(count));
}

void tst_RainbowBar::changingNumStripesRaisesOnChangeTwice()
{
    TRainbowBar bar;
    QSignalSpy spy(&bar, &TRainbowBar::OnChange);
    bar.SetNumStripes(7);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).value<TRainbowBar *>(), &bar);
    QCOMPARE(bar.Stripes(6).Color(), Default(6));
    QCOMPARE(bar.Stripes(6).Value(), 1.0f / 7.0f);
}

void tst_RainbowBar::sameCountOrValueRaisesNothing()
{
    TRainbowBar bar;
    bar.Stripes(0).SetValue(0.7f);
    QSignalSpy spy(&bar, &TRainbowBar::OnChange);
    bar.SetNumStripes(5);
    bar.Stripes(0).SetValue(0.7f);
    bar.Stripes(1).SetColor(Default(1));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(bar.Stripes(0).Value(), 0.7f);  // the same count keeps the values
    bar.Stripes(1).SetValue(0.1f);
    QCOMPARE(spy.count(), 1);
}

void tst_RainbowBar::stripesOutsideTheCount()
{
    TRainbowBar bar;
    bar.SetBorderStyle(TRainbowBar::TBorderStyle::bsNone);
    bar.SetNumStripes(16);
    bar.SetNumStripes(4);
    // Beyond the count a stripe keeps what it had and is not painted.
    QCOMPARE(bar.Stripes(15).Color(), Default(15));
    QCOMPARE(bar.Stripes(15).Value(), 1.0f / 16.0f);
    bar.Stripes(15).SetColor(qRgb(1, 2, 3));
    bar.Stripes(0).SetValue(0.0f);
    bar.Stripes(1).SetValue(0.0f);
    bar.Stripes(2).SetValue(0.0f);
    bar.Stripes(3).SetValue(0.0f);
    const QList<QRgb> rows = RowColors(bar);
    QCOMPARE(rows.count(bar.Color().rgb()), rows.size());
}

void tst_RainbowBar::stripeIndexOutOfBounds_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("16") << 16;
    QTest::newRow("255") << 255;
    QTest::newRow("-1") << -1;
}

void tst_RainbowBar::stripeIndexOutOfBounds()
{
    QFETCH(int, index);
    TRainbowBar bar;
    try {
        bar.Stripes(index);
        QFAIL("no error raised");
    } catch (const TVorlError &error) {
        QCOMPARE(error.Message(), QStringLiteral("Array index out of bounds: %1").arg(index));
    }
}

void tst_RainbowBar::readAsAChartNamedByItsHeading()
{
    TAccessibilityRecorder recorder;
    QWidget page;
    auto *heading = new QLabel(QStringLiteral("A   --> B"), &page);
    auto *bar = new TRainbowBar(&page);
    heading->setBuddy(bar);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(bar);
    QCOMPARE(iface->role(), QAccessible::Chart);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("A   --> B"));
    QCOMPARE(iface->relations(QAccessible::Label).size(), 1);
}

QTEST_MAIN(tst_RainbowBar)
#include "tst_rainbowbar.moc"
