#include <QTest>

#include "radix/NumMemoEdit.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TNumBase)
Q_DECLARE_METATYPE(TNumberWidth)

// EditNumMemoText: one typed character on a number display to the
// display's new text, or a refusal.
class tst_NumMemoEdit : public QObject
{
    Q_OBJECT
private slots:
    void editStep_data();
    void editStep();
    void everyCharacterThroughTheFilter_data();
    void everyCharacterThroughTheFilter();
    void limitIsTheWidestValue_data();
    void limitIsTheWidestValue();
    void digitsUpToAndAtTheLimit_data();
    void digitsUpToAndAtTheLimit();
};

namespace {

constexpr TNumBase Dec = TNumBase::nbDec;
constexpr TNumBase Hex = TNumBase::nbHex;
constexpr TNumBase Bin = TNumBase::nbBin;
constexpr TNumberWidth W8 = TNumberWidth::nw8Bits;
constexpr TNumberWidth W16 = TNumberWidth::nw16Bits;
constexpr TNumberWidth W32 = TNumberWidth::nw32Bits;

// The characters each display's filter lets through.
bool Accepted(TNumBase base, char16_t c)
{
    if (c < 32)
        return c != 10 && c != 27;
    switch (base) {
    case TNumBase::nbDec:
        return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-';
    case TNumBase::nbHex:
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
    case TNumBase::nbBin:
        return c == u'0' || c == u'1';
    }
    return false;
}

} // namespace

void tst_NumMemoEdit::editStep_data()
{
    QTest::addColumn<TNumBase>("base");
    QTest::addColumn<TNumberWidth>("width");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("edited");
    const QString bin16two = u"00000000 00000010"_s;
    const QString bin16five = u"00000000 00000101"_s;

    // Digits.
    QTest::newRow("1234 appends") << Dec << W16 << 123u << u"123"_s << u"4"_s << false << u"1234"_s;
    QTest::newRow("6th decimal digit refused") << Dec << W16 << 12345u << u"12,345"_s << u"6"_s << true << QString();
    QTest::newRow("hex shift register, first digit") << Hex << W16 << 0u << u"00 00"_s << u"F"_s << false
                                                     << u"0 00F"_s;
    QTest::newRow("hex shift register") << Hex << W16 << 15u << u"00 0F"_s << u"A"_s << false << u"0 0FA"_s;
    QTest::newRow("full hex refuses") << Hex << W16 << 0xFABCu << u"FA BC"_s << u"D"_s << true << QString();
    QTest::newRow("binary shifts in") << Bin << W16 << 2u << bin16two << u"1"_s << false << u"0000000 000000101"_s;
    QTest::newRow("full binary refuses at 8 bits") << Bin << W8 << 255u << u"11111111"_s << u"0"_s << true
                                                   << QString();
    QTest::newRow("binary shifts out its leading 0") << Bin << W8 << 127u << u"01111111"_s << u"1"_s << false
                                                     << u"11111111"_s;
    QTest::newRow("8-bit overflow is the model's") << Dec << W8 << 25u << u"25"_s << u"6"_s << false << u"256"_s;
    QTest::newRow("decimal zeros collapse in the model") << Dec << W16 << 0u << u"0"_s << u"0"_s << false
                                                         << u"00"_s;
    QTest::newRow("hex zeros") << Hex << W16 << 0u << u"00 00"_s << u"0"_s << false << u"0 000"_s;
    QTest::newRow("32-bit top by decimal") << Dec << W32 << 429496729u << u"429,496,729"_s << u"5"_s << false
                                           << u"429,496,7295"_s;
    QTest::newRow("one above 32-bit top is the model's") << Dec << W32 << 429496729u << u"429,496,729"_s
                                                         << u"6"_s << false << u"429,496,7296"_s;
    QTest::newRow("lower-case hex") << Hex << W16 << 10u << u"00 0A"_s << u"f"_s << false << u"0 0AF"_s;

    // Characters the filter refuses.
    QTest::newRow("G in hex") << Hex << W16 << 1u << u"00 01"_s << u"G"_s << true << QString();
    QTest::newRow("minus in hex") << Hex << W16 << 1u << u"00 01"_s << u"-"_s << true << QString();
    QTest::newRow("2 in binary") << Bin << W16 << 1u << u"00000000 00000001"_s << u"2"_s << true << QString();
    QTest::newRow("letter in decimal") << Dec << W16 << 1u << u"1"_s << u"a"_s << true << QString();
    QTest::newRow("space in decimal") << Dec << W16 << 1u << u"1"_s << u" "_s << true << QString();
    QTest::newRow("Escape in decimal") << Dec << W16 << 1u << u"1"_s << u"\x1b"_s << true << QString();
    QTest::newRow("Escape in hex") << Hex << W16 << 1u << u"00 01"_s << u"\x1b"_s << true << QString();
    QTest::newRow("Escape in binary") << Bin << W16 << 1u << u"00000000 00000001"_s << u"\x1b"_s << true
                                      << QString();
    QTest::newRow("Ctrl+Enter in hex") << Hex << W16 << 1u << u"00 01"_s << u"\n"_s << true << QString();

    // Control characters the filter lets through.
    QTest::newRow("backspace in hex") << Hex << W16 << 0xFAu << u"00 FA"_s << u"\b"_s << false << u"00 F"_s;
    QTest::newRow("backspace in binary") << Bin << W16 << 5u << bin16five << u"\b"_s << false
                                         << u"00000000 0000010"_s;
    QTest::newRow("backspace in decimal") << Dec << W16 << 1234u << u"1,234"_s << u"\b"_s << false << u"1,23"_s;
    QTest::newRow("backspace to empty") << Dec << W16 << 7u << u"7"_s << u"\b"_s << false << QString();
    QTest::newRow("backspace at zero") << Dec << W16 << 0u << u"0"_s << u"\b"_s << false << u"0"_s;
    QTest::newRow("Enter in decimal") << Dec << W16 << 1u << u"1"_s << u"\r"_s << false << u"1"_s;
    QTest::newRow("Enter in hex") << Hex << W16 << 1u << u"00 01"_s << u"\r"_s << false << u"00 01"_s;
    QTest::newRow("Enter in binary") << Bin << W16 << 1u << u"00000000 00000001"_s << u"\r"_s << false
                                     << u"00000000 00000001"_s;
    QTest::newRow("Ctrl+A in hex") << Hex << W16 << 1u << u"00 01"_s << u"\x01"_s << false << u"00 01"_s;
    QTest::newRow("Ctrl+V in decimal") << Dec << W16 << 1u << u"1"_s << u"\x16"_s << false << u"1"_s;
    QTest::newRow("NUL at the limit") << Dec << W8 << 255u << u"255"_s << QString(QChar(0)) << false << u"255"_s;

    // Signs, decimal display only.
    QTest::newRow("minus at zero") << Dec << W16 << 0u << u"0"_s << u"-"_s << false << u"0"_s;
    QTest::newRow("minus refused by the model") << Dec << W16 << 5u << u"5"_s << u"-"_s << false << u"-5"_s;
    QTest::newRow("minus at the limit") << Dec << W16 << 65535u << u"65,535"_s << u"-"_s << false << u"-65,535"_s;
    QTest::newRow("minus takes a leading minus away") << Dec << W16 << 5u << u"-5"_s << u"-"_s << false << u"5"_s;
    QTest::newRow("plus") << Dec << W16 << 5u << u"5"_s << u"+"_s << false << u"5"_s;
    QTest::newRow("plus takes a leading minus away") << Dec << W16 << 5u << u"-5"_s << u"+"_s << false << u"5"_s;
    QTest::newRow("plus at zero") << Dec << W16 << 0u << u"-0"_s << u"+"_s << false << u"0"_s;
}

void tst_NumMemoEdit::editStep()
{
    QFETCH(TNumBase, base);
    QFETCH(TNumberWidth, width);
    QFETCH(quint32, value);
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(bool, refused);
    QFETCH(QString, edited);
    QCOMPARE(key.size(), 1);
    const std::optional<QString> result = EditNumMemoText(base, width, value, text, key.front());
    QCOMPARE(!result.has_value(), refused);
    if (result)
        QCOMPARE(*result, edited);
}

void tst_NumMemoEdit::everyCharacterThroughTheFilter_data()
{
    QTest::addColumn<TNumBase>("base");
    QTest::newRow("decimal") << Dec;
    QTest::newRow("hexadecimal") << Hex;
    QTest::newRow("binary") << Bin;
}

// Every UTF-16 code unit on a display showing 0: what the filter refuses
// is refused, a digit is appended (hexadecimal ones upper-cased), and any
// other character that passes leaves the text as it is.
void tst_NumMemoEdit::everyCharacterThroughTheFilter()
{
    QFETCH(TNumBase, base);
    const QString zero = u"0"_s;
    for (int code = 0; code <= 0xFFFF; ++code) {
        const auto c = char16_t(code);
        const std::optional<QString> result = EditNumMemoText(base, W16, 0, zero, QChar(c));
        if (!Accepted(base, c)) {
            QVERIFY2(!result, qPrintable(QString::number(code)));
            continue;
        }
        QVERIFY2(result, qPrintable(QString::number(code)));
        const bool digit = c >= u'0'; // past the control characters, "+" and "-"
        QCOMPARE(*result, digit ? zero + QChar(c).toUpper() : zero);
    }
}

void tst_NumMemoEdit::limitIsTheWidestValue_data()
{
    QTest::addColumn<TNumberWidth>("width");
    QTest::addColumn<QList<int>>("limits"); // decimal, hexadecimal, binary
    QTest::newRow("8 bits") << W8 << QList<int>{3, 2, 8};
    QTest::newRow("16 bits") << W16 << QList<int>{6, 5, 17};
    QTest::newRow("32 bits") << W32 << QList<int>{13, 11, 35};
}

void tst_NumMemoEdit::limitIsTheWidestValue()
{
    QFETCH(TNumberWidth, width);
    QFETCH(QList<int>, limits);
    QCOMPARE((QList<int>{NumMemoMaxLength(width, Dec), NumMemoMaxLength(width, Hex), NumMemoMaxLength(width, Bin)}),
             limits);
    TBinDecHexNumber widest;
    widest.SetGrouping(true);
    widest.SetWidth(width);
    widest.SetValue(widest.MaxValue());
    QCOMPARE((QList<int>{int(widest.DecText().size()), int(widest.HexText().size()), int(widest.BinText().size())}),
             limits);
}

void tst_NumMemoEdit::digitsUpToAndAtTheLimit_data()
{
    QTest::addColumn<TNumBase>("base");
    QTest::addColumn<TNumberWidth>("width");
    QTest::addColumn<QChar>("digit");
    for (const auto &[name, width] : {std::pair{"8 bits", W8}, {"16 bits", W16}, {"32 bits", W32}}) {
        QTest::addRow("decimal, %s", name) << Dec << width << QChar(u'7');
        QTest::addRow("hexadecimal, %s", name) << Hex << width << QChar(u'E');
        QTest::addRow("binary, %s", name) << Bin << width << QChar(u'1');
    }
}

// For every length up to the limit: below it the digit is appended; at it
// a leading "0" is shifted out, and any other first character refuses.
void tst_NumMemoEdit::digitsUpToAndAtTheLimit()
{
    QFETCH(TNumBase, base);
    QFETCH(TNumberWidth, width);
    QFETCH(QChar, digit);
    const int limit = NumMemoMaxLength(width, base);
    for (int length = 1; length <= limit; ++length) {
        for (const QChar first : {QChar(u'0'), QChar(u'1')}) {
            const QString text = first + QString(length - 1, u'1');
            const std::optional<QString> result = EditNumMemoText(base, width, 1, text, digit);
            if (length < limit) {
                QCOMPARE(result, std::optional(text + digit));
            } else if (first == u'0') {
                QCOMPARE(result, std::optional(text.mid(1) + digit));
            } else {
                QVERIFY(!result);
            }
        }
    }
}

QTEST_APPLESS_MAIN(tst_NumMemoEdit)
#include "tst_nummemoedit.moc"
