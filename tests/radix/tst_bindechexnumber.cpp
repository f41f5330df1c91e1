#include <QTest>

#include <functional>

#include "app/VorlGlobal.h"
#include "radix/BinDecHex.h"
#include "tests/common/TestEnvironment.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TNumberWidth)

namespace {

// A number that counts its notifications.
struct TCountedNumber
{
    TBinDecHexNumber Number;
    int Changes = 0;
    int Errors = 0;

    explicit TCountedNumber(TNumberWidth width = TNumberWidth::nw32Bits, quint32 value = 0, bool grouping = true)
    {
        Number.SetWidth(width);
        Number.SetGrouping(grouping);
        Number.SetValue(value);
        Number.OnChange = [this](TBinDecHexNumber *) { ++Changes; };
        Number.OnError = [this](TBinDecHexNumber *) { ++Errors; };
    }
};

// The start value of setText; kept when a text is refused.
constexpr quint32 Refused = 7;

// Each text form with its reader.
const std::pair<QString (TBinDecHexNumber::*)() const, void (TBinDecHexNumber::*)(const QString &)> TextAccessors[] = {
    {&TBinDecHexNumber::DecText, &TBinDecHexNumber::SetDecText},
    {&TBinDecHexNumber::HexText, &TBinDecHexNumber::SetHexText},
    {&TBinDecHexNumber::BinText, &TBinDecHexNumber::SetBinText}};

} // namespace

class tst_TBinDecHexNumber : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void createdState();
    void valueAssignment_data();
    void valueAssignment();
    void widthChange_data();
    void widthChange();
    void invert_data();
    void invert();
    void texts_data();
    void texts();
    void setText_data();
    void setText();
    void throwingChangeHandlerBecomesOneError();
    void roundTripAllBytes();
    void roundTripWidths_data();
    void roundTripWidths();
    void helpers();
    void insertSeparators_data();
    void insertSeparators();
    void stripSeparators_data();
    void stripSeparators();
    void characterClasses();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_TBinDecHexNumber::initTestCase()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
}

void tst_TBinDecHexNumber::createdState()
{
    TBinDecHexNumber number;
    // 32 bits, value 0, no grouping.
    QCOMPARE(number.HexText(), u"00000000"_s);
    number.SetValue(7); // no handlers: nothing to call
    QCOMPARE(number.Value(), 7u);
    TCountedNumber n(TNumberWidth::nw32Bits, 5, false);
    n.Number.SetGrouping(true);
    n.Number.SetGrouping(true);
    QCOMPARE(n.Changes, 1);
}

void tst_TBinDecHexNumber::valueAssignment_data()
{
    QTest::addColumn<TNumberWidth>("width");
    QTest::addColumn<quint32>("start");
    QTest::addColumn<quint32>("assigned");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("changes");
    QTest::addColumn<int>("errors");
    QTest::newRow("8 bits, 256 refused") << TNumberWidth::nw8Bits << 25u << 256u << 25u << 0 << 1;
    QTest::newRow("8 bits, 255 taken") << TNumberWidth::nw8Bits << 25u << 255u << 255u << 1 << 0;
    QTest::newRow("8 bits, 255 again") << TNumberWidth::nw8Bits << 255u << 255u << 255u << 0 << 0;
    QTest::newRow("16 bits, 65,536 refused") << TNumberWidth::nw16Bits << 1u << 65536u << 1u << 0 << 1;
    QTest::newRow("32 bits, top value") << TNumberWidth::nw32Bits << 0u << 4294967295u << 4294967295u << 1 << 0;
}

void tst_TBinDecHexNumber::valueAssignment()
{
    QFETCH(TNumberWidth, width);
    QFETCH(quint32, start);
    QFETCH(quint32, assigned);
    TCountedNumber n(width, start);
    n.Number.SetValue(assigned);
    QTEST(n.Number.Value(), "value");
    QTEST(n.Changes, "changes");
    QTEST(n.Errors, "errors");
}

void tst_TBinDecHexNumber::widthChange_data()
{
    QTest::addColumn<TNumberWidth>("from");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<TNumberWidth>("to");
    QTest::addColumn<quint32>("narrowed");
    QTest::addColumn<QString>("hexText");
    QTest::newRow("5 from 16 to 32") << TNumberWidth::nw16Bits << 5u << TNumberWidth::nw32Bits << 5u << u"00 00 00 05"_s;
    QTest::newRow("1,000 from 16 to 8") << TNumberWidth::nw16Bits << 1000u << TNumberWidth::nw8Bits << 232u << u"E8"_s;
    QTest::newRow("top from 32 to 16") << TNumberWidth::nw32Bits << 4294967295u << TNumberWidth::nw16Bits << 65535u << u"FF FF"_s;
    QTest::newRow("65,536 from 32 to 16") << TNumberWidth::nw32Bits << 65536u << TNumberWidth::nw16Bits << 0u << u"00 00"_s;
    QTest::newRow("small value unchanged") << TNumberWidth::nw32Bits << 200u << TNumberWidth::nw8Bits << 200u << u"C8"_s;
}

void tst_TBinDecHexNumber::widthChange()
{
    QFETCH(TNumberWidth, from);
    QFETCH(quint32, value);
    QFETCH(TNumberWidth, to);
    TCountedNumber n(from, value);
    n.Number.SetWidth(to);
    QTEST(n.Number.Value(), "narrowed");
    QTEST(n.Number.HexText(), "hexText");
    QCOMPARE(n.Changes, 1);
    n.Number.SetWidth(to);
    QCOMPARE(n.Changes, 1);
}

void tst_TBinDecHexNumber::invert_data()
{
    QTest::addColumn<TNumberWidth>("width");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<quint32>("inverted");
    QTest::newRow("5 at 8 bits") << TNumberWidth::nw8Bits << 5u << 250u;
    QTest::newRow("5 at 16 bits") << TNumberWidth::nw16Bits << 5u << 65530u;
    QTest::newRow("5 at 32 bits") << TNumberWidth::nw32Bits << 5u << 4294967290u;
    QTest::newRow("0 at 32 bits") << TNumberWidth::nw32Bits << 0u << 4294967295u;
}

void tst_TBinDecHexNumber::invert()
{
    QFETCH(TNumberWidth, width);
    QFETCH(quint32, value);
    TCountedNumber n(width, value);
    n.Number.Invert();
    QTEST(n.Number.Value(), "inverted");
    QCOMPARE(n.Errors, 0);
    n.Number.Invert();
    QCOMPARE(n.Number.Value(), value);
    QCOMPARE(n.Changes, 2);
}

void tst_TBinDecHexNumber::texts_data()
{
    QTest::addColumn<TNumberWidth>("width");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<bool>("grouping");
    QTest::addColumn<QString>("dec");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("bin");
    // Every 8-bit value is checked in roundTripAllBytes.
    QTest::newRow("255 at 16 bits") << TNumberWidth::nw16Bits << 255u << true << u"255"_s << u"00 FF"_s
                                    << u"00000000 11111111"_s;
    QTest::newRow("1,234 at 16 bits") << TNumberWidth::nw16Bits << 1234u << true << u"1,234"_s << u"04 D2"_s
                                      << u"00000100 11010010"_s;
    QTest::newRow("65,535 at 16 bits") << TNumberWidth::nw16Bits << 65535u << true << u"65,535"_s << u"FF FF"_s
                                       << u"11111111 11111111"_s;
    QTest::newRow("255 at 32 bits") << TNumberWidth::nw32Bits << 255u << true << u"255"_s << u"00 00 00 FF"_s
                                    << u"00000000 00000000 00000000 11111111"_s;
    QTest::newRow("top at 32 bits") << TNumberWidth::nw32Bits << 4294967295u << true << u"4,294,967,295"_s
                                    << u"FF FF FF FF"_s << QString(8, u'1') + u' ' + QString(8, u'1') + u' '
                                           + QString(8, u'1') + u' ' + QString(8, u'1');
    QTest::newRow("ungrouped 1,234,567") << TNumberWidth::nw32Bits << 1234567u << false << u"1234567"_s
                                         << u"0012D687"_s << u"00000000000100101101011010000111"_s;
}

void tst_TBinDecHexNumber::texts()
{
    QFETCH(TNumberWidth, width);
    QFETCH(quint32, value);
    QFETCH(bool, grouping);
    TCountedNumber n(width, value, grouping);
    QTEST(n.Number.DecText(), "dec");
    QTEST(n.Number.HexText(), "hex");
    QTEST(n.Number.BinText(), "bin");
}

void tst_TBinDecHexNumber::setText_data()
{
    QTest::addColumn<int>("base"); // index into TextAccessors
    QTest::addColumn<TNumberWidth>("width");
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("value"); // Refused: one error, no change
    const auto w8 = TNumberWidth::nw8Bits, w16 = TNumberWidth::nw16Bits, w32 = TNumberWidth::nw32Bits;
    const int dec = 0, hex = 1, bin = 2;
    QTest::newRow("dec grouped 65,535") << dec << w16 << u"65,535"_s << 65535u;
    QTest::newRow("dec 65,536 too large") << dec << w16 << u"65,536"_s << Refused;
    QTest::newRow("dec negative") << dec << w16 << u"-5"_s << Refused;
    QTest::newRow("dec minus zero") << dec << w16 << u"-0"_s << 0u;
    QTest::newRow("dec letter") << dec << w16 << u"12a"_s << Refused;
    QTest::newRow("dec empty") << dec << w16 << QString() << Refused;
    QTest::newRow("dec separators only") << dec << w16 << u" , "_s << Refused;
    QTest::newRow("dec plus sign") << dec << w16 << u"+5"_s << Refused;
    QTest::newRow("dec leading zeros") << dec << w16 << u"0012"_s << 12u;
    QTest::newRow("dec above signed range") << dec << w32 << u"2,147,483,648"_s << 2147483648u;
    QTest::newRow("dec unsigned top") << dec << w32 << u"4,294,967,295"_s << 4294967295u;
    QTest::newRow("dec one above top") << dec << w32 << u"4294967296"_s << Refused;
    QTest::newRow("dec far above 64 bits") << dec << w32 << u"123456789012345678901234567890"_s << Refused;
    QTest::newRow("hex lower case") << hex << w16 << u"1f"_s << 31u;
    QTest::newRow("hex space stripped") << hex << w16 << u"1 F"_s << 31u;
    QTest::newRow("hex shifted register text") << hex << w16 << u"0 0FA"_s << 250u;
    QTest::newRow("hex stray character is a 0") << hex << w16 << u"1G"_s << 16u;
    QTest::newRow("hex too large for 8 bits") << hex << w8 << u"100"_s << Refused;
    QTest::newRow("hex empty") << hex << w8 << QString() << Refused;
    QTest::newRow("hex zeros beyond 8 digits") << hex << w32 << u"000000000A"_s << 10u;
    QTest::newRow("hex more than 32 bits") << hex << w32 << u"1 00 00 00 00"_s << Refused;
    QTest::newRow("bin 2 is a 0 digit") << bin << w8 << u"1012"_s << 10u;
    QTest::newRow("bin grouped") << bin << w8 << u"0000 0101"_s << 5u;
    QTest::newRow("bin nine bits at 8") << bin << w8 << u"100000000"_s << Refused;
    QTest::newRow("bin 33 bits") << bin << w32 << u"1"_s + QString(32, u'0') << Refused;
    QTest::newRow("bin 33 digits, leading 0") << bin << w32 << u"0"_s + QString(32, u'1') << 4294967295u;
}

void tst_TBinDecHexNumber::setText()
{
    QFETCH(int, base);
    QFETCH(TNumberWidth, width);
    QFETCH(QString, text);
    QFETCH(quint32, value);
    TCountedNumber n(width, Refused);
    std::invoke(TextAccessors[base].second, n.Number, text);
    QCOMPARE(n.Number.Value(), value);
    QCOMPARE(n.Errors, value == Refused ? 1 : 0);
    QCOMPARE(n.Changes, value == Refused ? 0 : 1);
}

void tst_TBinDecHexNumber::throwingChangeHandlerBecomesOneError()
{
    TBinDecHexNumber number;
    int errors = 0;
    number.OnChange = [](TBinDecHexNumber *) { RaiseError(QStringLiteral("handler failed")); };
    number.OnError = [&errors](TBinDecHexNumber *) { ++errors; };
    number.SetDecText(u"42"_s);
    QCOMPARE(errors, 1);
    QCOMPARE(number.Value(), 42u);
}

void tst_TBinDecHexNumber::roundTripAllBytes()
{
    for (const bool grouping : {false, true}) {
        TCountedNumber n(TNumberWidth::nw8Bits, 0, grouping);
        TCountedNumber back(TNumberWidth::nw8Bits, 0, grouping);
        for (quint32 v = 0; v <= 255; ++v) {
            n.Number.SetValue(v);
            QCOMPARE(n.Number.DecText(), QString::number(v));
            QCOMPARE(n.Number.HexText(), QString::number(v, 16).toUpper().rightJustified(2, u'0'));
            QCOMPARE(n.Number.BinText(), QString::number(v, 2).rightJustified(8, u'0'));
            for (auto [get, set] : TextAccessors) {
                back.Number.SetValue(v ^ 0x55);
                (back.Number.*set)((n.Number.*get)());
                QCOMPARE(back.Number.Value(), v);
            }
        }
        QCOMPARE(back.Errors, 0);
    }
}

void tst_TBinDecHexNumber::roundTripWidths_data()
{
    QTest::addColumn<TNumberWidth>("width");
    QTest::addColumn<quint32>("value");
    // 8 bits: roundTripAllBytes.
    for (const auto width : {TNumberWidth::nw16Bits, TNumberWidth::nw32Bits}) {
        const quint32 max = MaxValueOf(width);
        const QByteArray name = QByteArray::number(BitCount(width)) + " bits, ";
        for (const quint32 v : {0u, 1u, 0x5Au, max / 2, max / 2 + 1, max - 1, max})
            QTest::newRow(QByteArray(name + QByteArray::number(v)).constData()) << width << v;
    }
}

void tst_TBinDecHexNumber::roundTripWidths()
{
    QFETCH(TNumberWidth, width);
    QFETCH(quint32, value);
    TCountedNumber n(width, value);
    QCOMPARE(n.Number.HexText().size(), HexDigitCount(width) + HexDigitCount(width) / 2 - 1);
    QCOMPARE(n.Number.BinText().size(), BitCount(width) + BitCount(width) / 8 - 1);
    for (auto [get, set] : TextAccessors) {
        TCountedNumber back(width, value ^ 1);
        (back.Number.*set)((n.Number.*get)());
        QCOMPARE(back.Number.Value(), value);
        QCOMPARE(back.Errors, 0);
    }
}

void tst_TBinDecHexNumber::helpers()
{
    QCOMPARE(BinStrToInt(QString()), 0u);
    QCOMPARE(BinStrToInt(QString(32, u'1')), 4294967295u);
    QCOMPARE(HexStrToInt(u"1G2"_s), 0x102u);
    QCOMPARE(HexStrToInt(u"FFFFFFFF"_s), 4294967295u);
    QCOMPARE(IntToBinStr(0x1FF, 8), u"11111111"_s);
    QCOMPARE(IntToBinStr(10, 4), u"1010"_s);
    QCOMPARE(IntToBinStr(0x80000001u, 32), u"1"_s + QString(30, u'0') + u"1"_s);
    QCOMPARE(IntToBinStr(7, 0), QString());
}

void tst_TBinDecHexNumber::insertSeparators_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("grouped");
    QTest::newRow("seven digits, commas") << u"1234567"_s << u","_s << 3 << u"1,234,567"_s;
    QTest::newRow("six digits, commas") << u"123456"_s << u","_s << 3 << u"123,456"_s;
    QTest::newRow("three digits") << u"123"_s << u","_s << 3 << u"123"_s;
    QTest::newRow("empty") << QString() << u","_s << 3 << QString();
    QTest::newRow("eight binary digits") << u"00000101"_s << u" "_s << 8 << u"00000101"_s;
    QTest::newRow("nine binary digits") << u"100000101"_s << u" "_s << 8 << u"1 00000101"_s;
    QTest::newRow("byte in fours") << u"00010000"_s << u" "_s << 4 << u"0001 0000"_s;
    QTest::newRow("no group size") << u"1234"_s << u","_s << 0 << u"1234"_s;
}

void tst_TBinDecHexNumber::insertSeparators()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(int, group);
    QTEST(InsertSeparators(text, separator.front(), group), "grouped");
    if (separator == u","_s && group == 3)
        QTEST(InsertCommas(text), "grouped");
    if (separator == u" "_s)
        QTEST(InsertSpaces(text, group), "grouped");
}

void tst_TBinDecHexNumber::stripSeparators_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stripped");
    QTest::newRow("commas") << u"4,294,967,295"_s << u"4294967295"_s;
    QTest::newRow("spaces and dots") << u"1 2.3"_s << u"123"_s;
    QTest::newRow("leading minus kept") << u"-1,234"_s << u"-1234"_s;
    QTest::newRow("inner minus dropped") << u"12-34"_s << u"1234"_s;
    QTest::newRow("many minus signs become one") << u"--5"_s << u"-5"_s;
    QTest::newRow("lone minus") << u"-"_s << QString();
    QTest::newRow("other characters stay") << u"1a,b"_s << u"1ab"_s;
}

void tst_TBinDecHexNumber::stripSeparators()
{
    QFETCH(QString, text);
    QTEST(StripSeparators(text), "stripped");
}

void tst_TBinDecHexNumber::characterClasses()
{
    for (int code = 0; code < 256; ++code) {
        const QChar c(code);
        QCOMPARE(IsBinDigit(c), code == '0' || code == '1');
        QCOMPARE(IsControlChar(c), code < 32);
        QCOMPARE(IsDecDigit(c), code >= '0' && code <= '9');
        QCOMPARE(IsHexDigit(c), (code >= '0' && code <= '9') || (code >= 'A' && code <= 'F') || (code >= 'a' && code <= 'f'));
    }
    QVERIFY(!IsDecDigit(QChar(0x0661))); // Arabic-Indic one
    QVERIFY(!IsControlChar(QChar(0x0085)));
}

QTEST_APPLESS_MAIN(tst_TBinDecHexNumber)
#include "tst_bindechexnumber.moc"
