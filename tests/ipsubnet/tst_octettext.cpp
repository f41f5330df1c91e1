#include <QTest>

#include <memory>

#include "tests/common/TestEnvironment.h"
#include "tests/ipsubnet/IPAddressTestHelpers.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TOctetBox)

// ReadOctetText: the text of an octet field of either address box to the
// octet that the box's model is given.
class tst_OctetText : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void fieldTexts_data();
    void fieldTexts();
    void everyNumberTheFieldsHold_data();
    void everyNumberTheFieldsHold();
    void supernetFirstOctetAsTheModelReadsIt();
    void byteIndexAboveThree();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_OctetText::initTestCase()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
}

void tst_OctetText::fieldTexts_data()
{
    QTest::addColumn<TOctetBox>("box");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("octet");
    const TOctetBox subnet = TOctetBox::obSubnetAddress;
    const TOctetBox supernet = TOctetBox::obSupernetAddress;

    QTest::newRow("subnet first: empty counts as 1") << subnet << 0 << QString() << 1;
    QTest::newRow("subnet first: 0 is left to the model") << subnet << 0 << u"0"_s << 0;
    QTest::newRow("subnet first: 127 is left to the model") << subnet << 0 << u"127"_s << 127;
    QTest::newRow("subnet first: 10") << subnet << 0 << u"10"_s << 10;
    QTest::newRow("subnet first: 200") << subnet << 0 << u"200"_s << 200;
    QTest::newRow("subnet first: 223 kept") << subnet << 0 << u"223"_s << 223;
    QTest::newRow("subnet first: 224 capped") << subnet << 0 << u"224"_s << 223;
    QTest::newRow("subnet first: 240 capped") << subnet << 0 << u"240"_s << 223;
    QTest::newRow("subnet first: 999 capped") << subnet << 0 << u"999"_s << 223;
    QTest::newRow("subnet second: empty counts as 0") << subnet << 1 << QString() << 0;
    QTest::newRow("subnet second: 999 becomes 255") << subnet << 1 << u"999"_s << 255;
    QTest::newRow("subnet third: 0 kept") << subnet << 2 << u"0"_s << 0;
    QTest::newRow("subnet third: 255 kept") << subnet << 2 << u"255"_s << 255;
    QTest::newRow("subnet last: 0 becomes 1") << subnet << 3 << u"0"_s << 1;
    QTest::newRow("subnet last: 255 becomes 254") << subnet << 3 << u"255"_s << 254;
    QTest::newRow("subnet last: empty becomes 1") << subnet << 3 << QString() << 1;
    QTest::newRow("subnet last: 999 becomes 254") << subnet << 3 << u"999"_s << 254;
    QTest::newRow("supernet first: empty counts as 1") << supernet << 0 << QString() << 1;
    QTest::newRow("supernet first: 300 capped") << supernet << 0 << u"300"_s << 223;
    QTest::newRow("supernet first: 127 is left to the model") << supernet << 0 << u"127"_s << 127;
    QTest::newRow("supernet second: empty counts as 0") << supernet << 1 << QString() << 0;
    QTest::newRow("supernet third: 300 becomes 255") << supernet << 2 << u"300"_s << 255;
    QTest::newRow("supernet last: 0 kept") << supernet << 3 << u"0"_s << 0;
    QTest::newRow("supernet last: 255 kept") << supernet << 3 << u"255"_s << 255;
    QTest::newRow("supernet last: empty counts as 0") << supernet << 3 << QString() << 0;

    // Texts no field holds (the fields take up to three digits): a number
    // still reads as one, anything else as 0, and the range holds.
    QTest::newRow("leading zeros") << subnet << 2 << u"007"_s << 7;
    QTest::newRow("four digits") << subnet << 1 << u"1000"_s << 255;
    QTest::newRow("plus sign") << subnet << 1 << u"+5"_s << 5;
    QTest::newRow("blanks around") << supernet << 2 << u" 42 "_s << 42;
    QTest::newRow("negative first") << subnet << 0 << u"-5"_s << 0;
    QTest::newRow("negative middle") << supernet << 1 << u"-1"_s << 0;
    QTest::newRow("negative subnet last") << subnet << 3 << u"-300"_s << 1;
    QTest::newRow("letters") << supernet << 2 << u"abc"_s << 0;
    QTest::newRow("letters in the subnet last") << subnet << 3 << u"x"_s << 1;
    QTest::newRow("digits and letters") << subnet << 1 << u"12a"_s << 0;
    QTest::newRow("beyond 32 bits") << subnet << 1 << u"99999999999"_s << 0;
    QTest::newRow("hexadecimal") << subnet << 1 << u"0x1F"_s << 0;
    QTest::newRow("Arabic-Indic digits") << supernet << 1 << u"\u0663"_s << 0;
    QTest::newRow("a blank only") << subnet << 0 << u" "_s << 0;
}

void tst_OctetText::fieldTexts()
{
    QFETCH(TOctetBox, box);
    QFETCH(int, index);
    QFETCH(QString, text);
    QTEST(int(ReadOctetText(box, quint8(index), text)), "octet");
}

void tst_OctetText::everyNumberTheFieldsHold_data()
{
    QTest::addColumn<TOctetBox>("box");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    const TOctetBox subnet = TOctetBox::obSubnetAddress;
    const TOctetBox supernet = TOctetBox::obSupernetAddress;
    QTest::newRow("subnet first") << subnet << 0 << 0 << 223;
    QTest::newRow("subnet second") << subnet << 1 << 0 << 255;
    QTest::newRow("subnet third") << subnet << 2 << 0 << 255;
    QTest::newRow("subnet last") << subnet << 3 << 1 << 254;
    QTest::newRow("supernet first") << supernet << 0 << 0 << 223;
    QTest::newRow("supernet second") << supernet << 1 << 0 << 255;
    QTest::newRow("supernet third") << supernet << 2 << 0 << 255;
    QTest::newRow("supernet last") << supernet << 3 << 0 << 255;
}

// 0 to 999 with and without leading zeros: inside the field's range a
// number is kept, outside it stops at the nearer end.
void tst_OctetText::everyNumberTheFieldsHold()
{
    QFETCH(TOctetBox, box);
    QFETCH(int, index);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    for (int number = 0; number <= 999; ++number) {
        const int expected = number < lowest ? lowest : number > highest ? highest : number;
        for (int width = QString::number(number).size(); width <= 3; ++width) {
            const QString text = QString::number(number).rightJustified(width, u'0');
            QCOMPARE(int(ReadOctetText(box, quint8(index), text)), expected);
        }
    }
}

// The supernet model applies the network rules to any first octet, so the
// cap at 223 and the empty field's 1 set the same address as the raw
// number (at most 255) or 0 would.
void tst_OctetText::supernetFirstOctetAsTheModelReadsIt()
{
    for (int number = -1; number <= 999; ++number) {
        const QString text = number < 0 ? QString() : QString::number(number);
        for (const quint32 start : {Addr(192, 0, 0, 1), Addr(1, 2, 3, 4), Addr(223, 9, 9, 9)}) {
            TIPAddSupernet read;
            TIPAddSupernet raw;
            read.SetValue(start);
            raw.SetValue(start);
            read.SetByte(0, ReadOctetText(TOctetBox::obSupernetAddress, 0, text));
            raw.SetByte(0, quint8(qBound(0, number, 255)));
            QCOMPARE(read.GetValue(), raw.GetValue());
            QCOMPARE(read.ClassType(), raw.ClassType());
            QCOMPARE(read.ClassMask().GetValue(), raw.ClassMask().GetValue());
        }
    }
}

void tst_OctetText::byteIndexAboveThree()
{
    for (const TOctetBox box : {TOctetBox::obSubnetAddress, TOctetBox::obSupernetAddress}) {
        QCOMPARE(ErrorOf([box] { ReadOctetText(box, 4, u"5"_s); }), u"Invalid TIPAddress Byte Index"_s);
        QCOMPARE(ErrorOf([box] { ReadOctetText(box, 255, QString()); }), u"Invalid TIPAddress Byte Index"_s);
    }
}

QTEST_APPLESS_MAIN(tst_OctetText)
#include "tst_octettext.moc"
